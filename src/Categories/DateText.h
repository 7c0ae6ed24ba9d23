#pragma once

#include <QDateTime>
#include <QString>

// The short date-and-time text of the copies lists and the selected-files panel.
namespace DateText {

// "Mar 5, 2016, 09:07:03": the month's short name in the user's locale, then day, year
// and a 24-hour time, in the local time zone. A date of zero seconds since 1970 (how an
// unreadable file date is kept) and an invalid date answer "".
QString shortStringDate(const QDateTime& date);

} // namespace DateText
