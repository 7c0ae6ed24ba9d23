#include "Shots.h"

#include "Categories/Settings.h"
#include "Results/DuplicatesContainer.h"
#include "Scanner/FoldersScanner.h"
#include "Scanner/FoldersScannerListener.h"
#include "Screens/ProgressBarScanner.h"
#include "Screens/ScanChartView.h"
#include "Screens/ScanScreenVC.h"
#include "Screens/WelcomeScreenVC.h"
#include "Shell/WindowBackgroundView.h"
#include "Toolkit/AnimationClock.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

namespace {

// A screen on the window's background, as the main window shows it.
struct Stage {
    WindowBackgroundView background;
    explicit Stage(QSize size) { background.resize(size); }
};

void writeFile(const QString& path, const QByteArray& contents) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(contents);
}

// A small tree with copies of every kind: pictures, a movie, documents, a copied folder.
void makeFixture(const QString& root) {
    const QByteArray big(2 * 1024 * 1024, 'x');
    for (const char* folder : {"/a", "/b"}) {
        writeFile(root + folder + "/photo.jpg", big + "1");
        writeFile(root + folder + "/clip.mov", big + big + "2");
        writeFile(root + folder + "/notes.pdf", big + "3");
        writeFile(root + folder + "/tools.zip", big + "4");
        writeFile(root + folder + "/song.mp3", big + "5");
    }
    writeFile(root + "/c/unique.txt", QByteArray(1500000, 'u'));
    writeFile(root + "/c/photo copy.jpg", big + "1");
    writeFile(root + "/d/clip.mov", big + big + "2");
    writeFile(root + "/d/report.pdf", big + "3");
}

struct Listener final : FoldersScannerListener {
    std::shared_ptr<DuplicatesContainer> result;
    void onScanCompleteWithResult(const std::shared_ptr<DuplicatesContainer>& container) override {
        result = container;
    }
};

void spinUntil(const std::function<bool()>& done) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < 20000) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
        AnimationClock::instance().flush();
    }
}

// Lets every glide of the chart arrive (the clock runs a repeating tick every turn).
void settleGlides() {
    for (int i = 0; i < 120; ++i) {
        QApplication::processEvents();
        AnimationClock::instance().flush();
    }
}

} // namespace

SORVANTA_SHOT_AREA(screens) {
    {
        Stage stage(QSize(740, 550));
        WelcomeScreenVC welcome(&stage.background);
        welcome.awakeFromNib();
        session.save(QStringLiteral("welcome-empty"), &stage.background);
    }
    QTemporaryDir folders;
    {
        Stage stage(QSize(740, 550));
        WelcomeScreenVC welcome(&stage.background);
        welcome.awakeFromNib();
        for (const char* name : {"/Pictures", "/Documents", "/Music"}) {
            QDir().mkpath(folders.path() + name);
            welcome.loadFilesByPath(folders.path() + name);
        }
        session.save(QStringLiteral("welcome-folders"), &stage.background);
    }

    // The scan screen right after set-up: phantom bars, Stop disabled.
    {
        Stage stage(QSize(990, 590));
        ScanScreenVC scan(&stage.background);
        scan.awakeFromNib();
        session.save(QStringLiteral("scan-phantom"), &stage.background);
    }
    // The chart during the walk (stripes over every bar) and during the comparison (some
    // categories confirmed and done).
    {
        Stage stage(QSize(990, 590));
        ScanScreenVC scan(&stage.background);
        scan.awakeFromNib();
        ScanChartView& chart = *scan.scanChartView();
        const int64_t sizes[8] = {820'000'000, 2'400'000'000, 310'000'000, 150'000'000,
                                  640'000'000, 90'000'000,    500'000'000, 260'000'000};
        for (int i = 0; i < 8; ++i)
            chart.setSize(i, sizes[i]);
        chart.updateScannedFilesValuesAnimated();
        chart.setState(1);
        settleGlides();
        session.save(QStringLiteral("scan-chart-walking"), &stage.background);

        const int64_t confirmed[8] = {
            410'000'000, 1'900'000'000, 0, 150'000'000, 120'000'000, 0, 0, 0};
        for (int i = 0; i < 8; ++i)
            chart.setDuplicatesSize(i, confirmed[i]);
        chart.setDuplicatesProcessed(1, true);
        chart.setDuplicatesProcessed(3, true);
        chart.updateScannedFilesValuesAnimated();
        chart.updateDuplicatesValuesAnimated();
        chart.setState(2);
        scan.progressBar()->setProgress(0.42f);
        scan.progressBar()->show();
        settleGlides();
        session.save(QStringLiteral("scan-chart-comparing"), &stage.background);
    }
    // A whole scan of a small tree, shown when it is done.
    {
        QTemporaryDir tree;
        makeFixture(tree.path());
        Stage stage(QSize(990, 590));
        ScanScreenVC scan(&stage.background);
        scan.awakeFromNib();
        auto listener = std::make_shared<Listener>();
        auto scanner = FoldersScanner::create({QFile::encodeName(tree.path())}, listener);
        scanner->enableSearchDuplicatesFoldersAndSimilars(true);
        scanner->startScanAndUseMinimalFileSize(1024);
        scan.setScanner(scanner);
        spinUntil([&] { return listener->result != nullptr; });
        if (listener->result) {
            scan.setDisabled(true);
            scan.setScanner(nullptr);
            scan.updateInformationUsingDuplicatesContainer(*listener->result);
        }
        settleGlides();
        session.save(QStringLiteral("scan-done"), &stage.background);
    }
    // The progress bar empty, half and full, at twice its size.
    for (float progress : {0.0f, 0.5f, 1.0f}) {
        ProgressBarScanner bar;
        bar.setProgress(progress);
        session.save(QStringLiteral("progress-%1").arg(int(progress * 100)), &bar, QSize(206, 5));
    }
}
