#include "Toolkit/ImageStore.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QImageReader>
#include <QPainter>
#include <QSet>
#include <QSvgRenderer>

#include <cmath>

namespace {

const QString kRoot = QStringLiteral(":/images/");

QSet<QString>& requested() {
    static QSet<QString> names;
    return names;
}

QHash<QString, QString>& pathCache() {
    static QHash<QString, QString> cache;
    return cache;
}

QHash<QString, QPixmap>& pixmapCache() {
    static QHash<QString, QPixmap> cache;
    return cache;
}

} // namespace

// The pictures are compiled into the interface library, a static library, so their
// registration is pulled in by hand rather than by a static initialiser the linker may drop.
static void ensureImagesRegistered() {
    static const bool registered = [] {
        Q_INIT_RESOURCE(images);
        return true;
    }();
    (void)registered;
}

QString ImageStore::pathFor(const QString& name) {
    ensureImagesRegistered();
    requested().insert(name);
    auto& cache = pathCache();
    if (const auto it = cache.constFind(name); it != cache.constEnd())
        return *it;
    QString found;
    for (const char* ext : {".svg", ".png"}) {
        const QString candidate = kRoot + name + QLatin1String(ext);
        if (QFileInfo::exists(candidate)) {
            found = candidate;
            break;
        }
    }
    cache.insert(name, found);
    return found;
}

bool ImageStore::contains(const QString& name) {
    return !pathFor(name).isEmpty();
}

QSizeF ImageStore::naturalSize(const QString& name) {
    const QString path = pathFor(name);
    if (path.isEmpty())
        return {};
    if (path.endsWith(QLatin1String(".svg"))) {
        QSvgRenderer renderer(path);
        const QRectF box = renderer.viewBoxF();
        return box.isEmpty() ? QSizeF(renderer.defaultSize()) : box.size();
    }
    return QSizeF(QImageReader(path).size());
}

QPixmap ImageStore::pixmap(const QString& name, QSizeF size, qreal ratio) {
    const QString path = pathFor(name);
    if (path.isEmpty())
        return {};
    if (size.isEmpty())
        size = naturalSize(name);
    if (size.isEmpty())
        return {};
    const QSize pixels(static_cast<int>(std::ceil(size.width() * ratio)),
                       static_cast<int>(std::ceil(size.height() * ratio)));
    const QString key =
        QStringLiteral("%1@%2x%3").arg(name).arg(pixels.width()).arg(pixels.height());
    auto& cache = pixmapCache();
    if (const auto it = cache.constFind(key); it != cache.constEnd()) {
        QPixmap cached = *it;
        cached.setDevicePixelRatio(ratio);
        return cached;
    }
    QPixmap result;
    if (path.endsWith(QLatin1String(".svg"))) {
        QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QSvgRenderer renderer(path);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(pixels)));
        painter.end();
        result = QPixmap::fromImage(image);
    } else {
        QImageReader reader(path);
        reader.setScaledSize(pixels);
        result = QPixmap::fromImage(reader.read());
    }
    cache.insert(key, result);
    result.setDevicePixelRatio(ratio);
    return result;
}

void ImageStore::draw(QPainter& painter, const QString& name, const QRectF& target) {
    if (target.isEmpty())
        return;
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    const QPixmap pm = pixmap(name, target.size(), ratio);
    if (!pm.isNull())
        painter.drawPixmap(target, pm, QRectF(QPointF(0, 0), QSizeF(pm.size())));
}

QIcon ImageStore::icon(const QString& name) {
    const QString path = pathFor(name);
    return path.isEmpty() ? QIcon() : QIcon(path);
}

QStringList ImageStore::availableNames() {
    ensureImagesRegistered();
    QStringList names;
    const QFileInfoList files = QDir(kRoot).entryInfoList(QDir::Files, QDir::Name);
    for (const QFileInfo& file : files)
        names << file.completeBaseName();
    names.removeDuplicates();
    return names;
}

QStringList ImageStore::requestedNames() {
    QStringList names(requested().cbegin(), requested().cend());
    names.sort();
    return names;
}

void ImageStore::resetRequestedNames() {
    requested().clear();
}
