#include "UpDay.h"

#include <QRegularExpression>

namespace UpDay {
namespace {
// Formatted as a date and a clock reading, not as a moment, so a time skipped by a clock change stays.
QString stored(const QDate& date, const QTime& time)
{
    return date.toString(QStringLiteral("yyyy/MM/dd")) + QLatin1Char(' ') +
           time.toString(QStringLiteral("HH:mm:ss"));
}
} // namespace

QString format(const QDateTime& moment)
{
    return stored(moment.date(), moment.time());
}

QString normalized(const QString& text)
{
    static const QRegularExpression pattern(
        QStringLiteral(R"(^(\d{4})([/-])(\d{1,2})\2(\d{1,2}) (\d{1,2}):(\d{2})(?::(\d{2}))?$)"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return {};
    const QDate date(match.captured(1).toInt(), match.captured(3).toInt(), match.captured(4).toInt());
    const QTime time(match.captured(5).toInt(), match.captured(6).toInt(), match.captured(7).toInt());
    if (!date.isValid() || !time.isValid())
        return {};
    return stored(date, time);
}

} // namespace UpDay
