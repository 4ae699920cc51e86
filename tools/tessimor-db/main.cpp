#include "CommandLine.h"
#include "Commands.h"

#include <QCoreApplication>
#include <QStringList>

#include <functional>

namespace {
const char kUsageText[] = "Usage: tessimor-db COMMAND [OPTIONS]\n"
                          "\n"
                          "The companion command of the Tessimor vocabulary notebook.\n"
                          "\n"
                          "Commands:\n"
                          "  path     print where the notebook's file is\n"
                          "  init     create the notebook's file with an empty word table;\n"
                          "           refuses to touch a file that already exists\n"
                          "  export   write every pair to a file or to standard output\n"
                          "           (a flashcard deck, CSV for spreadsheets, or TSV)\n"
                          "  import   add the pairs of a file, skipping those already there\n"
                          "  backup   copy the notebook's file, consistently, even while in use\n"
                          "  check    test the notebook's file for damage\n"
                          "\n"
                          "'tessimor-db COMMAND --help' tells more of each command.\n"
                          "Exit status: 0 success, 1 refused input, 2 usage error.\n"
                          "\n"
                          "Options:\n"
                          "  -h, --help   show this help\n";

using Command = std::function<int(const QStringList&)>;

Command commandNamed(const QString& name)
{
    static const QMap<QString, Command> commands = {
        {QStringLiteral("path"), pathCommand},     {QStringLiteral("init"), initCommand},
        {QStringLiteral("export"), exportCommand}, {QStringLiteral("import"), importCommand},
        {QStringLiteral("backup"), backupCommand}, {QStringLiteral("check"), checkCommand},
    };
    return commands.value(name);
}
} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty())
        return usageError(QString(), QStringLiteral("a command is needed"));
    const QString name = args.takeFirst();
    if (name == QLatin1String("-h") || name == QLatin1String("--help")) {
        std::fputs(kUsageText, stdout);
        return Exit::kOk;
    }
    const Command command = commandNamed(name);
    if (!command)
        return usageError(QString(), QStringLiteral("unknown command '%1'").arg(name));
    return command(args);
}
