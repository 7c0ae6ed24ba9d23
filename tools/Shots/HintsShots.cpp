// The help overlay over a sample results screen: the category view's screen with its holes
// and pictures, an overview screen, and the similar-folders picture screen.
#include "Shots.h"

#include "Hints/OverlayInfoController.h"
#include "Hints/OverlayInfoView.h"
#include "Results/DuplicatesManager.h"
#include "Toolkit/Fonts.h"
#include "Toolkit/Palette.h"

#include <QPainter>

namespace {

// A stand-in results window: a toolbar, a group list, a preview and a table of copies,
// and a bottom bar with a remove button. Rectangles are given y-up, as the overlay reads.
class SampleScreen final : public QWidget {
public:
    SampleScreen() { resize(960, 620); }

    QRectF yUp(const QRectF& r) const {
        return {r.x(), height() - r.y() - r.height(), r.width(), r.height()};
    }
    QRectF groupList() const { return {0, 60, 380, 500}; }
    QRectF preview() const { return {381, 60, 579, 300}; }
    QRectF copies() const { return {381, 361, 579, 199}; }
    QRectF bottomBar() const { return {0, 560, 960, 60}; }
    QRectF removeButton() const { return {820, 574, 120, 32}; }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), Palette::commonBackgroundColor());
        p.fillRect(QRectF(0, 0, width(), 60), Palette::toolbarTopBackgroundColor());
        p.fillRect(groupList(), Palette::commonRowColor());
        for (int i = 0; i < 12; ++i)
            p.fillRect(QRectF(0, 60 + 40 * i, 380, 40),
                       i % 2 ? Palette::evenRowColor() : Palette::commonRowColor());
        p.fillRect(preview(), Palette::quicklookBackgroundColor());
        p.fillRect(copies(), Palette::commonRowColor());
        p.fillRect(bottomBar(), Palette::toolbarBottomBackgroundColor());
        p.setPen(Palette::commonTextColor());
        p.setFont(Fonts::font(13, Fonts::Weight::Medium));
        const char* tabs[] = {"Overview", "Pictures", "Music", "Movies", "Documents"};
        for (int i = 0; i < 5; ++i)
            p.drawText(QRectF(20 + 110 * i, 0, 100, 60), Qt::AlignCenter, tabs[i]);
        p.fillRect(removeButton(), Palette::dupViewSelectedFilesRedColor());
        p.drawText(removeButton(), Qt::AlignCenter, QStringLiteral("Remove"));
        p.setPen(Palette::sizeLabelColor());
        for (int i = 0; i < 12; ++i)
            p.drawText(QRectF(16, 60 + 40 * i, 340, 40), Qt::AlignVCenter,
                       QStringLiteral("IMG_%1.jpg  —  3 copies").arg(4100 + i * 7));
    }
};

void fillCategoryFrames(const SampleScreen& screen) {
    auto& m = DuplicatesManager::sharedManager();
    for (int hint = 0; hint < 4; ++hint)
        m.getFramesArrayForScreenAndHint(10, hint).clear();
    const QRectF list = screen.yUp(screen.groupList());
    m.getFramesArrayForScreenAndHint(10, 0).append(
        QRectF(list.x(), list.y() + list.height() - 50, list.width(), 50));
    const QRectF copies = screen.yUp(screen.copies());
    m.getFramesArrayForScreenAndHint(10, 1).append(
        QRectF(copies.x(), copies.y() + copies.height() - 77, copies.width(), 34));
    const QRectF preview = screen.yUp(screen.preview());
    m.getFramesArrayForScreenAndHint(10, 2).append(preview.adjusted(15, 15, -15, -15));
    m.getFramesArrayForScreenAndHint(10, 3).append(screen.yUp(screen.removeButton()));
}

} // namespace

SORVANTA_SHOT_AREA(hints) {
    {
        SampleScreen screen;
        fillCategoryFrames(screen);
        OverlayInfoController overlay;
        overlay.setScreensArray({10});
        overlay.showOverlayOnView(&screen);
        session.save(QStringLiteral("overlay-category"), &screen);
    }
    {
        SampleScreen screen;
        OverlayInfoController overlay;
        overlay.setScreensArray({1, 2, 3, 4, 5});
        overlay.showOverlayOnView(&screen);
        session.save(QStringLiteral("overlay-overview-first"), &screen);
    }
    {
        SampleScreen screen;
        OverlayInfoController overlay;
        overlay.setScreensArray({6, 7, 8, 9});
        overlay.showNextScreen(1);
        overlay.showOverlayOnView(&screen);
        session.save(QStringLiteral("overlay-similars-pictures"), &screen);
    }
    for (int hint = 0; hint < 4; ++hint)
        DuplicatesManager::sharedManager().getFramesArrayForScreenAndHint(10, hint).clear();
    DuplicatesManager::sharedManager().setOverlayOnScreen(false);
}
