#include "ProgressBarScanner.h"

#include "Toolkit/DarkImageName.h"
#include "Toolkit/ImageStore.h"

#include <QPainter>

#include <cmath>

namespace {

constexpr qreal kCapWidth = 3;
constexpr qreal kStartCapHeight = 5;
constexpr float kFull = 0.99f;

QString dark(const char* name) {
    return DarkImageName::prependDarkPrefixIfNeeded(QLatin1String(name));
}

} // namespace

ProgressBarScanner::ProgressBarScanner(QWidget* parent) : QWidget(parent) {
    initImages();
}

void ProgressBarScanner::initImages() {
    m_progressValue = 0;
    m_startFull = dark("ProgressStart2");
    m_startEmpty = dark("ProgressStart1");
    m_middleFull = dark("ProgressMiddle2");
    m_middleEmpty = dark("ProgressMiddle1");
    m_endFull = dark("ProgressEnd2");
    m_endEmpty = dark("ProgressEnd1");
}

void ProgressBarScanner::setProgress(float progress) {
    m_progressValue = (!std::isnan(progress) && progress >= kFull) ? 1.0f : progress;
    update();
}

std::vector<ProgressBarScanner::Piece> ProgressBarScanner::piecesFor(float progress, qreal width,
                                                                     qreal height) {
    if (std::isnan(progress))
        return {};
    const float p = progress >= kFull ? 1.0f : progress;
    const qreal middle = width - 2 * kCapWidth;
    std::vector<Piece> pieces;
    pieces.push_back({p != 0 ? dark("ProgressStart2") : dark("ProgressStart1"),
                      QRectF(0, height - kStartCapHeight, kCapWidth, kStartCapHeight)});
    pieces.push_back({dark("ProgressMiddle1"), QRectF(kCapWidth, 0, middle, height)});
    pieces.push_back({dark("ProgressMiddle2"), QRectF(kCapWidth, 0, p * middle, height)});
    pieces.push_back({dark("ProgressEnd1"), QRectF(width - kCapWidth, 0, kCapWidth, height)});
    if (p >= kFull)
        pieces.push_back({dark("ProgressEnd2"), QRectF(width - kCapWidth, 0, kCapWidth, height)});
    return pieces;
}

void ProgressBarScanner::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    for (const Piece& piece : piecesFor(m_progressValue, width(), height())) {
        if (piece.rect.width() > 0)
            ImageStore::draw(painter, piece.image, piece.rect);
    }
}
