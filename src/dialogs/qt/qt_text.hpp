// Conversions between the models' types (UTF-8 strings, date-times as days since 30.12.1899) and
// Qt's.
#pragma once

#include "tlcommon/date_time.hpp"

#include <QDate>
#include <QString>
#include <QTime>
#include <string>
#include <string_view>

namespace tl::dialogs {

inline QString Q(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Line breaks of the system's texts ("\r\n") as Qt shows them.
inline QString QLines(std::string_view text) {
    return Q(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

inline std::string S(const QString& text) {
    return text.toStdString();
}

inline QDate ToQDate(DateTime date) {
    return QDate(1899, 12, 30).addDays(ToMillis(date) / kMsPerDay);
}

inline QTime ToQTime(DateTime time_of_day) {
    return QTime::fromMSecsSinceStartOfDay(static_cast<int>(ToMillis(time_of_day) % kMsPerDay));
}

inline DateTime FromQDate(const QDate& date) {
    return static_cast<DateTime>(QDate(1899, 12, 30).daysTo(date));
}

inline DateTime FromQTime(const QTime& time) {
    return FromMillis(time.msecsSinceStartOfDay());
}

} // namespace tl::dialogs
