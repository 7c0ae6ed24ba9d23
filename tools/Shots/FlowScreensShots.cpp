#include "Shots.h"

#include "Categories/Settings.h"
#include "Results/DuplicatesManager.h"
#include "Screens/CongratulationsVC.h"
#include "Screens/InterimScreenVC.h"
#include "Screens/NoDuplicatesVC.h"
#include "Screens/ProgressBarRemover.h"
#include "Shell/AboutWC.h"
#include "Shell/SharingService.h"
#include "Shell/WindowBackgroundView.h"
#include "Toolkit/AnimationClock.h"
#include "Toolkit/Palette.h"

#include <QDir>
#include <QPainter>
#include <QTemporaryDir>

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
        Host host(kScanScreen);
        auto* view = new NoDuplicatesVC(&host);
        view->setGeometry(host.rect());
        view->showViewAnimatiedWithFoldersArrayAndScannedFiles(
            {QStringLiteral("/home/user/Pictures/Holidays in the mountains 2019 and 2020")},
            1234567);
        session.save(QStringLiteral("noduplicates-one-folder"), &host);
    }
    {
        // Stopped while comparing, before any group was confirmed.
        Host host(kScanScreen);
        auto* view = new NoDuplicatesVC(&host);
        view->setGeometry(host.rect());
        view->showViewAnimatiedWithFoldersArrayAndScannedFiles(
            {QStringLiteral("/home/user/Videos")}, 40, true);
        session.save(QStringLiteral("noduplicates-stopped"), &host);
    }
    {
        Settings::setDefineMinimalDuplicatesFileSizeAutomatically(false);
        Settings::setMinDuplicatesFileSize(1048576);
        Host host(kScanScreen);
        auto* view = new NoDuplicatesVC(&host);
        view->setGeometry(host.rect());
        view->showViewAnimatiedWithFoldersArrayAndScannedFiles(
            {QStringLiteral("/home/user/Documents"), QStringLiteral("/media/backup/Photo archive")},
            1);
        session.save(QStringLiteral("noduplicates-two-folders-minimal-size"), &host);
        Settings::setDefineMinimalDuplicatesFileSizeAutomatically(true);
    }
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

    {
        // The interim screen over the window's background, after a scan of three folders of
        // which one has gone since and a removal.
        QTemporaryDir root;
        QStringList folders;
        for (const char* name : {"Pictures", "Old backups", "Music"}) {
            folders << root.path() + QLatin1Char('/') + QLatin1String(name);
            QDir().mkpath(folders.last());
        }
        QDir(folders.at(1)).removeRecursively();
        DuplicatesManager& manager = DuplicatesManager::sharedManager();
        manager.setScannedFolders(folders);
        manager.setScanFinishDate(QDateTime(QDate(2026, 3, 5), QTime(9, 7, 3)));
        manager.setFoundSize(4830000000);
        manager.setRemovedSize(1250000000);
        WindowBackgroundView background;
        background.resize(740, 550);
        auto* interim = new InterimScreenVC(&background);
        interim->setGeometry(background.rect());
        interim->loadFolderFromArray(folders);
        session.save(QStringLiteral("interim-after-removal"), &background);
        manager.setRemovedSize(std::nullopt);
        interim->updateInformation();
        session.save(QStringLiteral("interim-nothing-removed"), &background);
        manager.clearScanBasicInformation();
    }
    {
        auto* about = new AboutWC;
        session.save(QStringLiteral("about"), about);
        delete about;
    }

    for (float value : {0.0f, 0.4f, 1.0f}) {
        Host host(QSize(260, 25));
        auto* bar = new ProgressBarRemover(&host);
        bar->setGeometry(10, 10, 240, 5);
        bar->setProgress(value);
        while (bar->isGliding())
            bar->tick();
        session.save(QStringLiteral("removal-progress-%1").arg(int(value * 100)), &host);
    }
}
