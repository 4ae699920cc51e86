#include "ProgramExit.h"

#include <QApplication>
#include <QWidget>

void QtProgramExit::end(int status)
{
    m_requested = true;
    m_status = status;
    // A modeless about dialog must not keep the program alive after a fatal failure.
    for (QWidget* window : QApplication::topLevelWidgets())
        window->hide();
    QCoreApplication::exit(status);
}
