#pragma once

// Files for preview tests, made by the tests themselves: pictures in any format Qt can
// write, text, PDF documents and (where ffmpeg is installed) a short video.

#include <QByteArray>
#include <QColor>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QStandardPaths>
#include <QString>

namespace PreviewFixtures {

// How long a test waits for a decoder (image, PDF, video frame) to deliver: generous,
// because under a loaded machine a video frame can take many seconds; passing tests never
// wait that long.
constexpr int kDecodeWaitMs = 60000;

// A |size| picture, left half |left| and right half blue, saved as |format|.
inline bool writeImage(const QString& path, QSize size, const char* format,
                       QColor left = QColor(200, 40, 40)) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor(30, 60, 200));
    QPainter painter(&image);
    painter.fillRect(QRect(0, 0, size.width() / 2, size.height()), left);
    painter.end();
    return image.save(path, format);
}

// A PDF document of |pages| pages, each with a dark band across its top.
inline bool writePdf(const QString& path, int pages) {
    QPdfWriter writer(path);
    writer.setResolution(72);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter painter;
    if (!painter.begin(&writer))
        return false;
    for (int i = 0; i < pages; ++i) {
        if (i > 0)
            writer.newPage();
        painter.fillRect(QRect(0, 0, 500, 80), QColor(20, 20, 20));
        painter.drawText(QPoint(40, 140), QStringLiteral("Page %1").arg(i + 1));
    }
    return painter.end();
}

// A one-second 160 x 120 video made by ffmpeg; false when ffmpeg is missing or fails.
inline bool writeVideo(const QString& path) {
    const QString ffmpeg = QStandardPaths::findExecutable(QStringLiteral("ffmpeg"));
    if (ffmpeg.isEmpty())
        return false;
    QProcess process;
    process.start(ffmpeg, {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-y"),
                           QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                           QStringLiteral("testsrc=duration=1:size=160x120:rate=10"),
                           QStringLiteral("-c:v"), QStringLiteral("mpeg4"), path});
    return process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0 && QFile::exists(path);
}

// Bytes no type sniffing recognises.
inline QByteArray unknownBytes() {
    QByteArray bytes;
    for (int i = 0; i < 512; ++i)
        bytes.append(char((i * 37 + 11) % 256));
    bytes[0] = 0;
    return bytes;
}

} // namespace PreviewFixtures
