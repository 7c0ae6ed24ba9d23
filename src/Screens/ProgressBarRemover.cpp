#include "ProgressBarRemover.h"

#include "Toolkit/DarkImageName.h"
#include "Toolkit/ImageStore.h"

#include <QPainter>

#include <cmath>

ProgressBarRemover::ProgressBarRemover(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TranslucentBackground);
}

void ProgressBarRemover::setProgress(float value) {
    m_progressValueFinal = value;
    m_progressValueStep = (value - m_progressValueCurrent) / kSteps;
    stopTimer();
    // Nothing to glide: a timer started now would never pass the target and would tick
    // for ever.
    if (m_progressValueStep == 0.0f) {
        update();
        return;
    }
    m_progressTimer = AnimationClock::instance().every(kTickMs, this, [this] { tick(); });
}

void ProgressBarRemover::tick() {
    m_progressValueCurrent += m_progressValueStep;
    // A glide down passes its target on the first step, which ends it there.
    if (m_progressValueCurrent > m_progressValueFinal) {
        m_progressValueCurrent = m_progressValueFinal;
        stopTimer();
    }
    update();
}

void ProgressBarRemover::stopTimer() {
    AnimationClock::instance().cancel(m_progressTimer);
    m_progressTimer = 0;
}

QList<ProgressBarRemover::Piece> ProgressBarRemover::pieces(float current, qreal width,
                                                            qreal height) {
    using DarkImageName::prependDarkPrefixIfNeeded;
    QList<Piece> result;
    if (std::isnan(current))
        return result;
    const qreal middle = width - 6;
    result.append({prependDarkPrefixIfNeeded(current != 0.0f ? QStringLiteral("ProgressStart2")
                                                             : QStringLiteral("ProgressStart1")),
                   QRectF(0, 0, 3, 5)});
    result.append({prependDarkPrefixIfNeeded(QStringLiteral("ProgressMiddle1")),
                   QRectF(3, 0, middle, height)});
    result.append({prependDarkPrefixIfNeeded(QStringLiteral("ProgressMiddle2")),
                   QRectF(3, 0, current * middle, height)});
    result.append({prependDarkPrefixIfNeeded(QStringLiteral("ProgressEnd1")),
                   QRectF(width - 3, 0, 3, height)});
    if (current >= 0.99f) {
        result.append({prependDarkPrefixIfNeeded(QStringLiteral("ProgressEnd2")),
                       QRectF(width - 3, 0, 3, height)});
    }
    return result;
}

void ProgressBarRemover::paintEvent(QPaintEvent*) {
    if (std::isnan(m_progressValueCurrent))
        return;
    // Close enough to the end counts as the end, so the bar shows exactly full.
    if (m_progressValueCurrent >= 0.99f)
        m_progressValueCurrent = 1.0f;
    QPainter painter(this);
    const qreal height = this->height();
    for (const Piece& piece : pieces(m_progressValueCurrent, width(), height)) {
        if (piece.frame.width() <= 0)
            continue;
        // The pieces are placed from the bottom edge up.
        const QRectF target(piece.frame.x(), height - piece.frame.y() - piece.frame.height(),
                            piece.frame.width(), piece.frame.height());
        ImageStore::draw(painter, piece.image, target);
    }
}
