#pragma once

#include <QtGlobal>

// Without a display the toolkit would abort with a message few learners could act on, so the programs say
// so themselves first.
inline bool displayMissing()
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    return qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
           qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
#else
    return false;
#endif
}
