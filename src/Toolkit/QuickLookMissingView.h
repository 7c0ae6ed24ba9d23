#pragma once

#include <QByteArray>
#include <QWidget>

class QLabel;

// The "moved or deleted" message of a preview: a view filling its parent with an inner
// view, centred in it, that holds a picture and a label. Which picture and text depend on
// whether the missing path looks like a file (its last component has an extension) or a
// folder.
class QuickLookMissingView final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(QuickLookMissingView)

public:
    // The inner view's size in points.
    static constexpr int kInnerWidth = 300;
    static constexpr int kInnerHeight = 160;

    explicit QuickLookMissingView(QWidget* parent = nullptr);

    // Shows the message for |path|.
    void showMessageForPath(const QByteArray& path);

    // True when the last component of |path| has a non-empty extension: a dot that is
    // neither its first nor its last character.
    static bool pathHasExtension(const QByteArray& path);
    // The picture's base name and the message for |path|.
    static QString imageBaseNameForPath(const QByteArray& path);
    static QString messageForPath(const QByteArray& path);

    QWidget* innerView() const { return m_innerView; }
    QWidget* imageView() const { return m_imageView; }
    QLabel* label() const { return m_label; }
    // The picture's full name now shown ("dark_notfound2", ...).
    QString imageName() const;

    // Centres the inner view in this view: each origin coordinate half the difference of
    // the sizes, truncated, worked out in the upward y of the layout rules.
    void centreInnerView();
    static QPoint centredOrigin(QSize outer, QSize inner);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QWidget* m_innerView = nullptr;
    QWidget* m_imageView = nullptr;
    QLabel* m_label = nullptr;
};
