#include "Toolkit/QuickLookMissingView.h"

#include "Platform/FileManager.h"
#include "Toolkit/DarkImageName.h"
#include "Toolkit/Fonts.h"
#include "Toolkit/ImageStore.h"
#include "Toolkit/Palette.h"

#include <QLabel>
#include <QPainter>

#include <cmath>

namespace {

constexpr int kImageSide = 96;
constexpr int kLabelTop = 108;

// Draws one picture of the image store, sharp at any device pixel ratio.
class PictureView final : public QWidget {
public:
    explicit PictureView(QWidget* parent) : QWidget(parent) {}
    void setImageName(const QString& name) {
        m_name = name;
        update();
    }
    const QString& imageName() const { return m_name; }

protected:
    void paintEvent(QPaintEvent*) override {
        if (m_name.isEmpty())
            return;
        QPainter painter(this);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        ImageStore::draw(painter, m_name, QRectF(rect()));
    }

private:
    QString m_name;
};

} // namespace

QuickLookMissingView::QuickLookMissingView(QWidget* parent) : QWidget(parent) {
    m_innerView = new QWidget(this);
    m_innerView->resize(kInnerWidth, kInnerHeight);
    m_imageView = new PictureView(m_innerView);
    m_imageView->setGeometry((kInnerWidth - kImageSide) / 2, 0, kImageSide, kImageSide);
    m_label = new QLabel(m_innerView);
    m_label->setGeometry(0, kLabelTop, kInnerWidth, kInnerHeight - kLabelTop);
    m_label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_label->setWordWrap(true);
    m_label->setTextFormat(Qt::PlainText);
    m_label->setFont(Fonts::fontWithName(QStringLiteral("HelveticaNeue"), 13.0));
    QPalette palette = m_label->palette();
    palette.setColor(QPalette::WindowText, Palette::properColorWithRedGreenBlueAlpha(
                                               0.2901961f, 0.2901961f, 0.2901961f, 1.0f));
    m_label->setPalette(palette);
}

bool QuickLookMissingView::pathHasExtension(const QByteArray& path) {
    const QString name = FileManager::displayNameAtPath(path);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot > 0 && dot < name.size() - 1;
}

QString QuickLookMissingView::imageBaseNameForPath(const QByteArray& path) {
    return pathHasExtension(path) ? QStringLiteral("notfound2") : QStringLiteral("notfound1");
}

QString QuickLookMissingView::messageForPath(const QByteArray& path) {
    const QString name = FileManager::displayNameAtPath(path);
    return pathHasExtension(path)
               ? QStringLiteral("Oops! The file \"%1\" has been moved or deleted.").arg(name)
               : QStringLiteral("Oops! The folder \"%1\" has been moved or deleted.").arg(name);
}

void QuickLookMissingView::showMessageForPath(const QByteArray& path) {
    static_cast<PictureView*>(m_imageView)
        ->setImageName(DarkImageName::prependDarkPrefixIfNeeded(imageBaseNameForPath(path)));
    m_label->setText(messageForPath(path));
    centreInnerView();
}

QString QuickLookMissingView::imageName() const {
    return static_cast<const PictureView*>(m_imageView)->imageName();
}

QPoint QuickLookMissingView::centredOrigin(QSize outer, QSize inner) {
    // Worked out with y upward, then flipped: an odd difference leaves the spare point
    // below in the upward frame, which is above on screen.
    const int x = int(std::trunc((outer.width() - inner.width()) / 2.0));
    const int yUp = int(std::trunc((outer.height() - inner.height()) / 2.0));
    return QPoint(x, outer.height() - yUp - inner.height());
}

void QuickLookMissingView::centreInnerView() {
    m_innerView->move(centredOrigin(size(), m_innerView->size()));
}

void QuickLookMissingView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    centreInnerView();
}
