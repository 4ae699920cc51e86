#include "DisplayMissing.h"
#include "JapaneseFont.h"
#include "Launcher.h"
#include "MessageBox.h"
#include "Notebook.h"
#include "Translations.h"

#include <QApplication>
#include <QIcon>
#include <QProcess>

#include <cstdio>

namespace {
// Where tessimor and tessimor-db are: installed, in bin/ beside the launcher's libexec/tessimor/; on
// Windows, where the three programs sit side by side with their DLLs, in the launcher's own folder.
QString programsFolder()
{
#ifdef Q_OS_WIN
    return QCoreApplication::applicationDirPath();
#else
    return QCoreApplication::applicationDirPath() + QStringLiteral("/../../bin");
#endif
}
} // namespace

int main(int argc, char* argv[])
{
    if (displayMissing()) {
        std::fputs("tessimor-start: no display found (DISPLAY and WAYLAND_DISPLAY are unset), so neither "
                   "Tessimor's window nor the launcher's messages can be shown.\n"
                   "Start it from the desktop's menu, or work with the notebook here through tessimor-db.\n",
                   stderr);
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tessimor"));
    QApplication::setApplicationVersion(QStringLiteral(TESSIMOR_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral(TESSIMOR_APP_ID));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("tessimor")));
    // The dialogs in the window's face, so they read alike under a Japanese locale.
    QApplication::setFont(japaneseFont(9));
    const auto translations = Translations::install(QLocale());

    const QString folder = programsFolder();
    const QString window = folder + QStringLiteral("/tessimor");
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    QtMessageBox messages;
    Launcher launcher(messages, Notebook::defaultPath(), folder + QStringLiteral("/tessimor-db"),
                      [&] { return QProcess::startDetached(window, arguments); });
#ifdef Q_OS_WIN
    // Where the old design kept it, and where a standard user of today's Windows cannot write.
    launcher.setFormerNotebook(QStringLiteral("C:\\word.mdb"));
#endif
    return launcher.run(QDate::currentDate());
}
