#pragma once

#include <QJsonObject>
#include <QString>

// What the figures were measured on, and how much memory this process holds.
namespace Machine {

// Processor, cores, kernel, Qt and SQLite versions, as one line.
QString describe();
QJsonObject toJson();
// VmRSS of this process in MB (10^6 bytes), from /proc/self/status; 0 where there is none.
double residentMb();

} // namespace Machine
