#include "ScreenAnimation.h"

#include "Toolkit/AnimationClock.h"

#include <QGraphicsOpacityEffect>
#include <QParallelAnimationGroup>
#include <QPropertyAnimation>
#include <QVariantAnimation>
#include <QWidget>

namespace ScreenAnimation {

namespace {

QGraphicsOpacityEffect* opacityEffectOf(const QWidget* view) {
    return qobject_cast<QGraphicsOpacityEffect*>(view->graphicsEffect());
}

} // namespace

qreal alphaValue(const QWidget* view) {
    const auto* effect = opacityEffectOf(view);
    return effect ? effect->opacity() : 1.0;
}

void setAlphaValue(QWidget* view, qreal alpha) {
    auto* effect = opacityEffectOf(view);
    if (alpha >= 1.0) {
        // Fully opaque needs no effect at all. A disabled effect left installed is not enough:
        // Qt still routes the view's repaints through it, and a pane hidden or shown beside it
        // leaves the old pixels on screen until something repaints the whole window.
        if (effect)
            view->setGraphicsEffect(nullptr);
        return;
    }
    if (!effect) {
        effect = new QGraphicsOpacityEffect(view);
        view->setGraphicsEffect(effect);
    }
    effect->setOpacity(alpha);
}

void animate(QWidget* view, qreal alpha, std::optional<QPoint> origin, int durationMs,
             std::function<void()> done) {
    auto* group = new QParallelAnimationGroup(view);
    auto* fade = new QVariantAnimation(group);
    fade->setStartValue(alphaValue(view));
    fade->setEndValue(alpha);
    fade->setDuration(durationMs);
    QObject::connect(fade, &QVariantAnimation::valueChanged, view,
                     [view](const QVariant& value) { setAlphaValue(view, value.toReal()); });
    group->addAnimation(fade);
    if (origin) {
        auto* slide = new QPropertyAnimation(view, "pos", group);
        slide->setStartValue(view->pos());
        slide->setEndValue(*origin);
        slide->setDuration(durationMs);
        group->addAnimation(slide);
    }
    QObject::connect(group, &QAbstractAnimation::finished, view, [group, done = std::move(done)] {
        group->deleteLater();
        if (done)
            done();
    });
    AnimationClock::instance().start(group);
}

void slideDownIntoPlace(QWidget* view, int durationMs) {
    auto* slide = new QPropertyAnimation(view, "pos", view);
    slide->setDuration(durationMs);
    slide->setStartValue(QPoint(0, -view->height()));
    slide->setEndValue(QPoint(0, 0));
    QObject::connect(slide, &QAbstractAnimation::finished, slide, &QObject::deleteLater);
    view->move(0, -view->height());
    AnimationClock::instance().start(slide);
}

} // namespace ScreenAnimation
