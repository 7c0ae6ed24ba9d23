// The previews: each kind of file in the results screen's pane and in the preview window.
#include "Shots.h"

#include "FileTree/FolderSystemItem.h"
#include "FileTree/ScanTree.h"
#include "FileTree/VolumeSystemItem.h"
#include "Toolkit/PreviewPanel.h"
#include "Toolkit/PreviewView.h"
#include "Toolkit/QLPreviewViewMod.h"
#include "Toolkit/QuickLookController.h"
#include "Toolkit/QuickLookVC.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QLinearGradient>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {

void waitUntil(const std::function<bool()>& done) {
    QDeadlineTimer deadline(20000);
    while (!done() && !deadline.hasExpired())
        QApplication::processEvents(QEventLoop::AllEvents, 20);
}

void writePicture(const QString& path) {
    QImage image(1200, 800, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient sky(0, 0, 0, 800);
    sky.setColorAt(0, QColor(70, 110, 170));
    sky.setColorAt(1, QColor(240, 190, 130));
    painter.fillRect(image.rect(), sky);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(QColor(255, 230, 150));
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(QPointF(850, 300), 90, 90);
    painter.setBrush(QColor(50, 70, 60));
    painter.drawPolygon(
        QPolygonF({QPointF(0, 800), QPointF(0, 560), QPointF(300, 380), QPointF(560, 600),
                   QPointF(800, 450), QPointF(1200, 640), QPointF(1200, 800)}));
    painter.end();
    image.save(path, "JPG");
}

void writeText(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return;
    file.write("Trip to the coast, June\n"
               "=======================\n\n"
               "- Train leaves at 07:42 from platform 3\n"
               "- Hotel: two nights, breakfast included\n"
               "- Pack: camera, spare batteries, charger\n\n"
               "Photos go to Pictures/Coast 2026, copies of the best ones\n"
               "to the shared album. Delete the blurry ones before backing up.\n");
}

void writeDocument(const QString& path) {
    QPdfWriter writer(path);
    writer.setResolution(72);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter painter(&writer);
    for (int page = 0; page < 2; ++page) {
        if (page > 0)
            writer.newPage();
        painter.fillRect(QRect(0, 0, 595, 90), QColor(40, 70, 110));
        painter.setPen(Qt::white);
        QFont heading = painter.font();
        heading.setPixelSize(28);
        heading.setBold(true);
        painter.setFont(heading);
        painter.drawText(QPoint(48, 58),
                         page == 0 ? QStringLiteral("Annual report") : QStringLiteral("Figures"));
        QFont body = heading;
        body.setPixelSize(12);
        body.setBold(false);
        painter.setFont(body);
        painter.setPen(QColor(40, 40, 40));
        for (int line = 0; line < 30; ++line)
            painter.drawText(
                QRect(48, 130 + line * 20, 500, 18),
                QStringLiteral("Line %1 of the report, with enough words to fill the width.")
                    .arg(line + 1));
    }
}

bool writeVideo(const QString& path) {
    const QString ffmpeg = QStandardPaths::findExecutable(QStringLiteral("ffmpeg"));
    if (ffmpeg.isEmpty())
        return false;
    QProcess process;
    process.start(ffmpeg, {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-y"),
                           QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                           QStringLiteral("testsrc=duration=2:size=640x360:rate=10"),
                           QStringLiteral("-c:v"), QStringLiteral("mpeg4"), path});
    return process.waitForFinished(60000) && process.exitCode() == 0;
}

struct Sample {
    const char* shot;
    const char* file;
};

} // namespace

SORVANTA_SHOT_AREA(previews) {
    QTemporaryDir dir;
    const QString base = dir.filePath(QStringLiteral("Holiday"));
    QDir().mkpath(base + QStringLiteral("/Album"));
    writePicture(base + QStringLiteral("/Coast at dusk.jpg"));
    writeText(base + QStringLiteral("/Trip notes.txt"));
    writeDocument(base + QStringLiteral("/Annual report.pdf"));
    const bool video = writeVideo(base + QStringLiteral("/Harbour.mp4"));
    QFile blob(base + QStringLiteral("/backup.dat"));
    if (blob.open(QIODevice::WriteOnly))
        blob.write(QByteArray(40000, '\x01'));
    blob.close();
    writePicture(base + QStringLiteral("/Album/one.jpg"));
    writePicture(base + QStringLiteral("/Album/two.jpg"));

    auto tree = ScanTree::create();
    VolumeSystemItem* root = VolumeSystemItem::initWithPath(*tree, QFile::encodeName(base), 0, 0);
    const auto fileItem = [&](const char* name) {
        const qint64 size = QFileInfo(base + QLatin1Char('/') + QString::fromUtf8(name)).size();
        return FileSystemItem::initWithPathSize(*tree, name, root, size, 0, false, size);
    };
    FolderSystemItem* album =
        FolderSystemItem::initWithPathSize(*tree, "Album", root, 0, false, 0, false, 0);
    for (const char* name : {"one.jpg", "two.jpg"}) {
        const qint64 size =
            QFileInfo(base + QStringLiteral("/Album/") + QString::fromUtf8(name)).size();
        FileSystemItem::initWithPathSize(*tree, name, album, size, 0, false, size);
    }
    root->calctotalsize();

    std::vector<Sample> samples = {
        {"image", "Coast at dusk.jpg"}, {"text", "Trip notes.txt"}, {"pdf", "Annual report.pdf"},
        {"other", "backup.dat"},        {"folder", "Album"},        {"missing", "Old scans.zip"}};
    if (video)
        samples.insert(samples.begin() + 3, Sample{"video", "Harbour.mp4"});

    for (const Sample& sample : samples) {
        FileSystemItem* item = std::string(sample.file) == "Album" ? album : fileItem(sample.file);
        QuickLookVC pane;
        pane.resize(360, 300);
        pane.loadFileByItem(item);
        // A folder's caption counts its files on a worker: the shot shows the count.
        waitUntil([&] {
            return !pane.isLoading() && !pane.isCountingCaption() &&
                   (!pane.previewView() || pane.previewView()->hasContent());
        });
        session.save(QStringLiteral("pane-%1").arg(QString::fromLatin1(sample.shot)), &pane,
                     QSize(360, 300));

        auto& controller = QuickLookController::sharedQuickLookController();
        controller.setFileItemByPath(
            QFile::encodeName(base + QLatin1Char('/') + QString::fromUtf8(sample.file)));
        PreviewPanel* panel = PreviewPanel::sharedPreviewPanel();
        if (!panel->isVisible())
            QuickLookController::showPreviewPanel();
        waitUntil([&] { return !panel->previewView()->isLoading(); });
        session.save(QStringLiteral("panel-%1").arg(QString::fromLatin1(sample.shot)), panel,
                     PreviewPanel::kDefaultSize);
    }
    PreviewPanel::sharedPreviewPanel()->orderOut();

    // A pane too low for a preview: only the caption remains.
    QuickLookVC low;
    low.resize(360, 80);
    low.loadFileByItem(fileItem("Coast at dusk.jpg"));
    waitUntil([&] { return !low.isLoading(); });
    session.save(QStringLiteral("pane-collapsed"), &low, QSize(360, 80));
}
