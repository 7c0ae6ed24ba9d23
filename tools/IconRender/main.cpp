// sorvanta_icon_render SVG OUTPUT_FOLDER FILE_NAME SIZE...
// Writes OUTPUT_FOLDER/SIZE/FILE_NAME for every SIZE: the SVG drawn into a transparent
// square of SIZE x SIZE pixels. Exits 1 on any failure.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 5) {
        std::fprintf(stderr, "usage: %s SVG OUTPUT_FOLDER FILE_NAME SIZE...\n", argv[0]);
        return 1;
    }
    QSvgRenderer renderer(args[1]);
    if (!renderer.isValid()) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(args[1]));
        return 1;
    }
    for (qsizetype i = 4; i < args.size(); ++i) {
        bool ok = false;
        const int size = args[i].toInt(&ok);
        if (!ok || size <= 0 || size > 4096)
            return 1;
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        {
            QPainter painter(&image);
            painter.setRenderHint(QPainter::Antialiasing);
            renderer.render(&painter, QRectF(0, 0, size, size));
        }
        const QString folder = args[2] + QLatin1Char('/') + QString::number(size);
        if (!QDir().mkpath(folder) || !image.save(folder + QLatin1Char('/') + args[3], "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(folder));
            return 1;
        }
    }
    return 0;
}
