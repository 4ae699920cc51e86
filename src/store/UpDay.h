#pragma once

#include <QDateTime>
#include <QString>

// The registration time as the notebook stores it: "yyyy/MM/dd HH:mm:ss", zero-padded, 24-hour clock.
namespace UpDay {

QString format(const QDateTime& moment);

// The stored form of a time read from a file, or an empty text when it is not a real date and time.
// Spreadsheets rewrite the stored form as they display it ("2024/3/1 9:05", "2024-03-01 09:05:00"), so
// unpadded fields, "-" between the date's parts and a missing seconds field are taken as well.
QString normalized(const QString& text);

} // namespace UpDay
