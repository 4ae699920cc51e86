#include "Clock.h"
#include "DisplayMissing.h"
#include "FileSearch.h"
#include "Form1.h"
#include "HostRegistry.h"
#include "MessageBox.h"
#include "Notebook.h"
#include "ProgramExit.h"
#include "ProgramLauncher.h"
#include "Registry.h"
#include "SharedAbout.h"

#include <QApplication>

#include <cstdio>
#include <memory>

int main(int argc, char* argv[])
{
    if (displayMissing()) {
        std::fputs(
            "tessimor: no display found (DISPLAY and WAYLAND_DISPLAY are unset), so the window cannot be "
            "shown.\nTo see it anyway, run it under a virtual display and take a screenshot:\n"
            "  scripts/screenshot            (writes build/screenshot.png)\n"
            "or: xvfb-run -a tessimor\n",
            stderr);
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tessimor"));
    QApplication::setApplicationVersion(QStringLiteral(TESSIMOR_VERSION));
    // Docks and Wayland compositors find the menu entry, and so the icon, by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral(TESSIMOR_APP_ID));

    QtMessageBox messages;
    QtProgramExit programExit;
    SystemClock clock;
    Form1 form(Notebook::defaultPath(), messages, programExit, clock);
    if (programExit.requested())
        return programExit.status();

    const std::unique_ptr<Registry> registry = HostRegistry::open();
    QtProgramLauncher launcher;
    QtFileSearch files;
    SharedAbout about({*registry, launcher, files, messages});
    QObject::connect(&form, &Form1::aboutRequested, &about, &SharedAbout::show);

    form.show();
    return QApplication::exec();
}
