#pragma once

#include <QAbstractButton>
#include <QColor>
#include <QString>

#include <optional>

// The borderless button every text and image button of the dark interface is drawn with.
// A title is drawn in the button's own title colour with the class's extra attributes
// (baseline offset, underline, font) instead of the platform's look; an image is looked
// up by name in the ImageStore (the alternate image shows while the state is 1).
//
// The family members (ButtonWithTrackingArea, WhiteTitleButton, ...) derive from this and
// re-apply their colour whenever the title changes, through titleDidChange().
// Buttons take no keyboard focus, as on the platform the screens were designed for.
class TitleButton : public QAbstractButton {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TitleButton)

public:
    enum class ImagePosition { ImageLeft, ImageOnly, ImageOverlaps };
    // Momentary: a push button. Toggle: the state flips on every click (an image button
    // with an alternate image). Switch: a check box drawn with the check-box pictures.
    enum class ButtonType { Momentary, Toggle, Switch };

    explicit TitleButton(QWidget* parent = nullptr);

    QString title() const { return text(); }
    // Sets the title and re-applies the class's colour and attributes.
    void setTitle(const QString& title);

    // Picture names as the ImageStore knows them (callers pass them through the dark
    // prefix themselves where their Part says so). An empty name shows no image.
    QString image() const { return m_image; }
    void setImage(const QString& name);
    QString alternateImage() const { return m_alternateImage; }
    void setAlternateImage(const QString& name);
    void setImagePosition(ImagePosition position);
    ImagePosition imagePosition() const { return m_imagePosition; }

    void setButtonType(ButtonType type);
    ButtonType buttonType() const { return m_buttonType; }
    // 0 or 1, as the platform's button state.
    int state() const { return isChecked() ? 1 : 0; }
    void setState(int state) { setChecked(state != 0); }

    // The title's attributes as currently applied; nullopt colour draws the default
    // title colour (commonTextColor).
    std::optional<QColor> titleColor() const { return m_titleColor; }
    qreal baselineOffset() const { return m_baselineOffset; }
    bool underlined() const { return m_underline; }
    // The title's point size; the font's weight comes from the class.
    qreal pointSize() const { return m_pointSize; }
    void setPointSize(qreal size);
    QString fontName() const { return m_fontName; }
    void setTitleAlignment(Qt::Alignment alignment);

    // Resizes the button to fit its image and title.
    void sizeToFit();
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

    // The platform's performClick: shows the press and sends the click, whatever the
    // class's own click-swallowing flag says.
    void performClick() { click(); }

protected:
    // Applying a title colour: the colour over the whole title plus the class's extras.
    // Only the parts given change; the others keep their values.
    struct TitleAttributes {
        std::optional<QColor> color = std::nullopt;
        std::optional<qreal> baselineOffset = std::nullopt;
        std::optional<bool> underline = std::nullopt;
        std::optional<QString> fontName = std::nullopt;
    };
    void applyTitleAttributes(const TitleAttributes& attributes);
    // Called after every setTitle(); the family members re-apply their colour here.
    virtual void titleDidChange() {}

    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void drawContent(QPainter& painter) const;
    QString shownImage() const;
    QSizeF imageSize() const;
    QFont titleFont() const;

    QString m_image;
    QString m_alternateImage;
    ImagePosition m_imagePosition = ImagePosition::ImageLeft;
    ButtonType m_buttonType = ButtonType::Momentary;
    std::optional<QColor> m_titleColor;
    qreal m_baselineOffset = 0;
    bool m_underline = false;
    QString m_fontName = QStringLiteral("HelveticaNeue");
    qreal m_pointSize = 13;
    Qt::Alignment m_titleAlignment = Qt::AlignCenter;
};
