#pragma once

#include <QIcon>
#include <QPixmap>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>

class QPainter;

// Every picture of the interface, looked up by the name the screens use ("dark_bg_menu",
// "dark_close_hover", ...). Pictures live in the application's resources under
// ":/images/", one file per name, SVG preferred (rendered sharp at any device pixel
// ratio), PNG accepted. Rendered pixmaps are cached per name, size and ratio.
//
// Every name asked for is remembered, so a test can exercise the interface and then check
// that each name it looked up resolves. Main thread only.
//
// Write every picture name in the code as one string literal: the full name
// ("dark_bg_menu"), the base name that gets the dark prefix ("checkbox0"), or, for a name
// built at run time, one literal with placeholders (QStringLiteral("checkbox%1").arg(n)).
// A test (ImageFilesTest) fails for a file in resources/images that no literal names.
class ImageStore final {
public:
    ImageStore() = delete;

    // True when a file for |name| exists in the resources.
    static bool contains(const QString& name);
    // The picture's own size in points (an SVG's view box, a PNG's pixels); empty when
    // |name| does not resolve.
    static QSizeF naturalSize(const QString& name);
    // |name| rendered at |size| points (its natural size when empty) for a device pixel
    // ratio of |ratio|; a null pixmap when |name| does not resolve.
    static QPixmap pixmap(const QString& name, QSizeF size = {}, qreal ratio = 1.0);
    // An icon that renders |name| at whatever size it is drawn.
    static QIcon icon(const QString& name);
    // Draws |name| into |target| (in the painter's coordinates), at the painter's ratio.
    static void draw(QPainter& painter, const QString& name, const QRectF& target);

    // Every name with a file in the resources, without extension, sorted.
    static QStringList availableNames();
    // Every name looked up since the start (or the last reset), resolved or not.
    static QStringList requestedNames();
    static void resetRequestedNames();

private:
    static QString pathFor(const QString& name);
};
