#include "Shots.h"

#include "Categories/Settings.h"
#include "Screens/CongratulationsVC.h"
#include "Screens/ProgressBarRemover.h"
#include "Shell/SharingService.h"
#include "Toolkit/AnimationClock.h"
#include "Toolkit/Palette.h"

#include <QPainter>

namespace {

// The flow screens lay over a screen of the main window; a plain dark host stands for it.
class Host final : public QWidget {
public:
    explicit Host(QSize size) { resize(size); }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter(this).fillRect(rect(), Palette::commonBackgroundColor());
    }
};

constexpr QSize kScanScreen(990, 590);

} // namespace

SORVANTA_SHOT_AREA(flow) {
    // The share row as it looks with a mail application, and with every service.
    SharingService::setServicesForTesting(
        [](SharingService::Name name) { return name == SharingService::Name::ComposeEmail; });

    {
        Settings::setCleanedFileSize(12400000000);
        Host host(kScanScreen);
        auto* view = new CongratulationsVC(&host);
        view->setGeometry(host.rect());
        view->showViewAnimatiedWithRemovedSizeAndScannedFolders(1500000000, {});
        session.save(QStringLiteral("congratulations-after-removal"), &host);
    }
    {
        SharingService::setServicesForTesting([](SharingService::Name) { return true; });
        Host host(kScanScreen);
        auto* view = new CongratulationsVC(&host);
        view->setGeometry(host.rect());
        view->showViewAnimatiedWithRemovedSizeAndScannedFolders(1500000000, {});
        session.save(QStringLiteral("congratulations-every-share-service"), &host);
    }
    {
        Host host(kScanScreen);
        auto* view = new CongratulationsVC(&host);
        view->setGeometry(host.rect());
        view->showViewAnimatiedWithRemovedSizeAndScannedFolders(
            0, {QStringLiteral("/home/user/Music"), QStringLiteral("/home/user/Downloads")});
        session.save(QStringLiteral("congratulations-nothing-removed"), &host);
    }
    SharingService::setServicesForTesting(std::nullopt);

    for (float value : {0.0f, 0.4f, 1.0f}) {
        Host host(QSize(260, 25));
        auto* bar = new ProgressBarRemover(&host);
        bar->setGeometry(10, 10, 240, 5);
        bar->setProgress(value);
        AnimationClock::instance().flush();
        session.save(QStringLiteral("removal-progress-%1").arg(int(value * 100)), &host);
    }
}
