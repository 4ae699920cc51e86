#include "ProgramLauncher.h"

#include <QProcess>

bool QtProgramLauncher::start(const QString& path)
{
    // Detached: the program outlives this one and is never tracked.
    return !path.isEmpty() && QProcess::startDetached(path, {});
}
