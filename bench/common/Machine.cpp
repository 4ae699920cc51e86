#include "Machine.h"

#include <QFile>
#include <QSysInfo>
#include <QThread>

#include <sqlite3.h>

namespace {
// The value of the first "key: value" line of a /proc file that starts with key.
QString procField(const char* file, const char* key)
{
    QFile proc{QString::fromLatin1(file)};
    if (!proc.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    const QList<QByteArray> lines = proc.readAll().split('\n');
    for (const QByteArray& line : lines) {
        if (line.startsWith(key)) {
            const int colon = int(line.indexOf(':'));
            return QString::fromUtf8(line.mid(colon + 1)).trimmed();
        }
    }
    return {};
}

QString processor()
{
    const QString model = procField("/proc/cpuinfo", "model name");
    return model.isEmpty() ? QSysInfo::currentCpuArchitecture() : model;
}
} // namespace

namespace Machine {

QString describe()
{
    return QStringLiteral("%1, %2 cores, %3 %4, Qt %5, SQLite %6")
        .arg(processor())
        .arg(QThread::idealThreadCount())
        .arg(QSysInfo::kernelType(), QSysInfo::kernelVersion(), QString::fromLatin1(qVersion()),
             QString::fromLatin1(sqlite3_libversion()));
}

QJsonObject toJson()
{
    return {{"processor", processor()},
            {"cores", QThread::idealThreadCount()},
            {"kernel", QSysInfo::kernelType() + QLatin1Char(' ') + QSysInfo::kernelVersion()},
            {"os", QSysInfo::prettyProductName()},
            {"qt", QString::fromLatin1(qVersion())},
            {"sqlite", QString::fromLatin1(sqlite3_libversion())}};
}

double residentMb()
{
    // "123456 kB"
    const QString value = procField("/proc/self/status", "VmRSS");
    return value.section(QLatin1Char(' '), 0, 0).toDouble() * 1024.0 / 1e6;
}

} // namespace Machine
