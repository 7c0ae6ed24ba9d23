#include "DateText.h"

#include <QLocale>

#include <algorithm>

namespace DateText {

namespace {

QString monthName(int month) {
    const QLocale locale;
    const int clamped = std::clamp(month, 1, 12);
    const QString shortName = locale.monthName(clamped, QLocale::ShortFormat);
    if (!shortName.isEmpty())
        return shortName;
    const QString longName = locale.monthName(clamped, QLocale::LongFormat);
    if (longName.size() >= 4)
        return longName.left(3);
    return QString::number(month);
}

} // namespace

QString shortStringDate(const QDateTime& date) {
    // Only the reference date itself: a file dated half a second after it has a real date
    // (whole seconds would lose that).
    if (!date.isValid() || date.toMSecsSinceEpoch() == 0)
        return QString();
    const QDateTime local = date.toLocalTime();
    const QDate day = local.date();
    const QTime time = local.time();
    return QStringLiteral("%1 %2, %3, %4:%5:%6")
        .arg(monthName(day.month()))
        .arg(day.day())
        .arg(day.year())
        .arg(time.hour(), 2, 10, QLatin1Char('0'))
        .arg(time.minute(), 2, 10, QLatin1Char('0'))
        .arg(time.second(), 2, 10, QLatin1Char('0'));
}

} // namespace DateText
