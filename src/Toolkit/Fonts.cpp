#include "Toolkit/Fonts.h"

#include <QFontDatabase>
#include <QStringList>

#include <algorithm>

#include <cmath>

namespace Fonts {

QString family() {
    static const QString chosen = [] {
        const QStringList families = QFontDatabase::families();
        for (const char* wanted : {"Inter", "Liberation Sans"}) {
            if (families.contains(QLatin1String(wanted), Qt::CaseInsensitive))
                return QString::fromLatin1(wanted);
        }
        return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
    }();
    return chosen;
}

QFont font(qreal size, Weight weight) {
    QFont f(family());
    f.setPixelSize(std::max(1, static_cast<int>(std::lround(size))));
    switch (weight) {
    case Weight::Light:
        f.setWeight(QFont::Light);
        break;
    case Weight::Regular:
        f.setWeight(QFont::Normal);
        break;
    case Weight::Medium:
        f.setWeight(QFont::Medium);
        break;
    case Weight::Bold:
        f.setWeight(QFont::Bold);
        break;
    }
    f.setStyleStrategy(QFont::PreferAntialias);
    return f;
}

QFont fontWithName(const QString& name, qreal size) {
    const QString suffix = name.section(QLatin1Char('-'), 1).toLower();
    if (suffix.startsWith(QLatin1String("bold")))
        return font(size, Weight::Bold);
    if (suffix.startsWith(QLatin1String("medium")))
        return font(size, Weight::Medium);
    if (suffix.startsWith(QLatin1String("light")) || suffix.startsWith(QLatin1String("thin")))
        return font(size, Weight::Light);
    return font(size, Weight::Regular);
}

QFont systemFont(qreal size) {
    return font(size, Weight::Regular);
}

QFont boldSystemFont(qreal size) {
    return font(size, Weight::Bold);
}

} // namespace Fonts
