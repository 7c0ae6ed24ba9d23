// The main window and its secondary windows as they lie on the screen: the whole screen
// with a margin round it, so a window that runs off an edge or overlaps another shows.
#include "Shots.h"

#include "Browser/Frame/SelectDuplicatesVC.h"
#include "Browser/Review/SelectedFilesVC.h"
#include "Categories/Settings.h"
#include "Preferences/PreferencesWC.h"
#include "Promo/ZembrookDialogWC.h"
#include "Screens/ScanScreenVC.h"
#include "Shell/AboutWC.h"
#include "Shell/WindowController.h"
#include "Toolkit/AnimationClock.h"
#include "Toolkit/PreviewPanel.h"
#include "Toolkit/QuickLookController.h"
#include "Toolkit/WindowPlacement.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QPainter>
#include <QScreen>
#include <QTemporaryDir>

namespace {

constexpr int kMargin = 40;

void writeFile(const QString& path, int size, char fill) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(QByteArray(size, fill));
}

void spinUntil(const std::function<bool()>& done, int limitMs = 20000) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < limitMs) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
        AnimationClock::instance().flush();
    }
}

void settle() {
    for (int i = 0; i < 20; ++i) {
        QApplication::processEvents();
        AnimationClock::instance().flush();
    }
}

// The screen, its free area outlined, and every visible window at its place, the main
// window first and the others above it in the order they opened.
QImage desktop(const QList<QWidget*>& windows, qreal scale) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect area = screen->availableGeometry();
    const QRect all = area.adjusted(-kMargin, -kMargin, kMargin, kMargin);
    QImage image(all.size() * scale, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(scale);
    image.fill(QColor(40, 40, 44));
    QPainter painter(&image);
    painter.translate(-all.topLeft());
    painter.fillRect(area, QColor(70, 90, 110));
    for (QWidget* window : windows) {
        if (!window || !window->isVisible())
            continue;
        const QPixmap picture = window->grab();
        painter.drawPixmap(window->geometry().topLeft(), picture);
        painter.setPen(QColor(255, 210, 0));
        painter.drawRect(window->geometry().adjusted(0, 0, -1, -1));
    }
    painter.setPen(QPen(QColor(255, 60, 60), 1, Qt::DashLine));
    painter.drawRect(area.adjusted(0, 0, -1, -1));
    return image;
}

} // namespace

SORVANTA_SHOT_AREA(desktop) {
    QTemporaryDir root;
    const int kb = 1000;
    for (const char* folder : {"/Pictures", "/Desktop", "/Downloads"})
        writeFile(root.path() + folder + QStringLiteral("/IMG_0412.jpg"), 300 * kb, 'a');
    for (const char* folder : {"/Documents", "/Downloads"})
        writeFile(root.path() + folder + QStringLiteral("/annual report.pdf"), 150 * kb, 'f');
    Settings::setDefineMinimalDuplicatesFileSizeAutomatically(false);
    Settings::setMinDuplicatesFileSize(1024);
    Settings::setShowNewScanMessage(true);
    Settings::setShowRestartScanMessage(true);
    // The first-time help would lie over everything; the hints area has its own pictures.
    Settings::setShowOverlayOverviewScreen(false);
    Settings::setShowOverlayCategoryScreen(false);
    Settings::setShowOverlaySimilarsScreen(false);

    WindowController window;
    window.setTerminateHandler([] {});
    window.show();
    window.windowDidLoad();
    settle();
    const auto shot = [&](const QString& name, QList<QWidget*> others = {}) {
        settle();
        others.prepend(&window);
        session.save(name, desktop(others, session.scale()));
    };
    shot(QStringLiteral("welcome"));

    // (The scan screen has its own pictures in the screens area: here it passes too fast.)
    window.startScanFolders({root.path()});
    spinUntil([&] {
        return window.selectDuplicatesController() &&
               window.selectDuplicatesController()->resultsViewShown();
    });
    // The window arrives at its minimum size, the largest the screen allows up to the
    // results screen's own minimum.
    shot(QStringLiteral("results-minimum-size"));

    window.performMenuCommand(MenuCommand::ShowAllFiles, nullptr);
    settle();
    window.performMenuCommand(MenuCommand::SelectAnyCopies, nullptr);
    window.performMenuCommand(MenuCommand::ShowSelectedDuplicates, nullptr);
    spinUntil([&] {
        SelectedFilesVC* panel = window.selectDuplicatesController()->selectedFilesVC();
        return panel && !panel->animating();
    });
    spinUntil([] { return false; }, 500); // the panel's rows fill in
    shot(QStringLiteral("results-review-panel"));
    if (SelectedFilesVC* panel = window.selectDuplicatesController()->selectedFilesVC())
        panel->hideAnimation();
    spinUntil([&] { return !window.selectDuplicatesController()->selectedFilesVC(); }, 3000);

    window.showPreferences();
    shot(QStringLiteral("preferences-over-main"), {window.preferencesController()});
    window.preferencesController()->close();

    window.showAboutScreen();
    shot(QStringLiteral("about-over-main"), {window.aboutWindowController()});
    window.aboutWindowController()->close();

    auto& quickLook = QuickLookController::sharedQuickLookController();
    quickLook.setFileItemByPath(QFile::encodeName(root.path() + "/Pictures/IMG_0412.jpg"));
    QuickLookController::showPreviewPanel();
    shot(QStringLiteral("preview-over-main"), {PreviewPanel::sharedPreviewPanel()});
    PreviewPanel::sharedPreviewPanel()->orderOut();

    ZembrookDialogWC::pleaseShowWindow();
    shot(QStringLiteral("promotion-over-main"), {ZembrookDialogWC::currentPanel()});
    ZembrookDialogWC::closeZembrookWC();

    window.selectDuplicatesInFoldersPressed();
    shot(QStringLiteral("folder-chooser-over-main"), {window.folderChooser()});
    if (QFileDialog* chooser = window.folderChooser())
        chooser->reject();

    const auto alertShot = [&](const QString& name, const QString& objectName,
                               const std::function<void()>& open) {
        open();
        settle();
        auto* alert = window.findChild<QMessageBox*>(objectName);
        shot(name, {alert});
        if (alert) {
            alert->setObjectName(QString());
            alert->done(QMessageBox::Cancel);
        }
    };
    alertShot(QStringLiteral("alert-quit"), QStringLiteral("quitConfirmation"), [&] {
        QApplication::setActiveWindow(&window);
        window.tryToQuitApplication();
    });
    alertShot(QStringLiteral("alert-rescan"), QStringLiteral("rescanConfirmation"),
              [&] { window.restartScan(); });
    alertShot(QStringLiteral("alert-new-scan"), QStringLiteral("newScanConfirmation"),
              [&] { window.newScan(); });
    alertShot(QStringLiteral("alert-updates"), QStringLiteral("updatesNotice"),
              [&] { window.checkForUpdates(); });
    settle();
}
