#pragma once

#include <QPixmap>
#include <QString>
#include <QWidget>

// A folder or heap icon with up to two count badges at its top: the red badge of selected
// copies and the light badge of selected copies in the similar folder. A badge shows only
// for a count above 0. Setting the counts resizes the view to fit its badges (39 points
// wide without them; the height never changes).
class ImageWithBadgeView : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ImageWithBadgeView)

public:
    explicit ImageWithBadgeView(QWidget* parent = nullptr) : QWidget(parent) {}

    // |image| (a folder's workspace icon) is drawn at its own size at the bottom left.
    void setImageWithSelectedBadgeNumberAndSimilarSelectedBadgeNumber(const QPixmap& image,
                                                                      int selected, int similar);

    QPixmap image() const { return m_image; }
    int selectedNumber() const { return m_selectedNumber; }
    int similarSelectedNumber() const { return m_similarSelectedNumber; }
    qreal badgeLabelWidth() const { return m_badgeLabelWidth; }
    qreal similarBadgeLabelWidth() const { return m_similarBadgeLabelWidth; }

    // Layout rules, pure so they can be checked with plain numbers.
    // A badge's width for |count| whose label is |labelWidth| points wide; 0 for no badge.
    static qreal badgeWidth(int count, qreal labelWidth);
    // The view's width for the two badge widths.
    static qreal viewWidth(qreal similarWidth, qreal selectedWidth);
    // Left edge of the selected badge in a view |width| wide.
    static qreal selectedBadgeX(qreal width, qreal selectedWidth, bool similarShown);

    // The label font: "HelveticaNeue-Medium" at |size|.
    static QFont labelFont(qreal size);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap m_image;
    int m_selectedNumber = 0;
    qreal m_badgeLabelWidth = 0;
    QString m_badgeLabel;
    int m_similarSelectedNumber = 0;
    qreal m_similarBadgeLabelWidth = 0;
    QString m_similarBadgeLabel;
};
