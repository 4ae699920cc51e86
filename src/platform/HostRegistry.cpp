#include "HostRegistry.h"

#include "MemoryRegistry.h"

#include <QStandardPaths>

#ifdef Q_OS_WIN
#include "WindowsRegistry.h"
#else
#include <QDir>
#endif

std::unique_ptr<Registry> HostRegistry::open()
{
#if defined(Q_OS_WIN)
    return std::make_unique<WindowsRegistry>();
#elif defined(Q_OS_LINUX)
    return fromFolders(qEnvironmentVariable("PATH").split(QDir::listSeparator(), Qt::SkipEmptyParts));
#else
    return std::make_unique<MemoryRegistry>();
#endif
}

std::unique_ptr<MemoryRegistry> HostRegistry::fromFolders(const QStringList& folders)
{
    auto hive = std::make_unique<MemoryRegistry>();
    if (folders.isEmpty())
        return hive;
    for (const QString& name : candidates()) {
        const QString program = QStandardPaths::findExecutable(name, folders);
        if (!program.isEmpty()) {
            hive->setString(Registry::kLocalMachine, SysInfoKeys::kPath, SysInfoKeys::kPathValue,
                            program.toLocal8Bit().toStdString());
            break;
        }
    }
    return hive;
}

QStringList HostRegistry::candidates()
{
    return {QStringLiteral("hardinfo"),
            QStringLiteral("hardinfo2"),
            QStringLiteral("kinfocenter"),
            QStringLiteral("gnome-system-monitor"),
            QStringLiteral("mate-system-monitor"),
            QStringLiteral("xfce4-taskmanager"),
            QStringLiteral("lxtask")};
}
