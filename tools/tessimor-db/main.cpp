#include "Commands.h"
#include "ConsoleText.h"
#include "ExchangeError.h"
#include "Notebook.h"
#include "StoreError.h"
#include "Translations.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLocale>
#include <QMap>

namespace {
const char kDescription[] =
    QT_TRANSLATE_NOOP("TessimorDb", "The companion command of the Tessimor vocabulary notebook.\n"
                                    "\n"
                                    "Commands:\n"
                                    "  path     print where the notebook's file is\n"
                                    "  init     create the notebook's file with an empty word table;\n"
                                    "           refuses to touch a file that already exists\n"
                                    "  export   write every pair to a file or to standard output\n"
                                    "           (a flashcard deck, CSV for spreadsheets, or TSV)\n"
                                    "  import   add the pairs of a file, skipping those already there\n"
                                    "  backup   copy the notebook's file, consistently, even while in use;\n"
                                    "           with --daily, keep one copy a day in a folder\n"
                                    "  restore  put a backup back as the notebook\n"
                                    "  check    test the notebook's file for damage\n"
                                    "  convert  turn an Access word.mdb where the notebook lives into a\n"
                                    "           notebook, keeping the Access file as word.mdb.access\n"
                                    "  upgrade  add the search index to a notebook made without it\n"
                                    "\n"
                                    "'tessimor-db COMMAND --help' tells more of each command.\n"
                                    "Exit status: 0 success, 1 refused input, 2 usage error.");

// Made by each parser, not kept as a constant: its text is translated, and the translation is installed only
// once main runs.
QCommandLineOption helpOption()
{
    return {{QStringLiteral("h"), QStringLiteral("help")}, TessimorDb::tr("show this help")};
}

// "tessimor-db", or "tessimor-db COMMAND" for a command.
QString invocation(const QString& command)
{
    return command.isEmpty() ? QStringLiteral("tessimor-db") : QStringLiteral("tessimor-db ") + command;
}

// Qt's usage line names the program as it was started; this one names it as it is typed.
void printHelp(const QCommandLineParser& parser, const QString& command)
{
    QString help = parser.helpText();
    const QString started = QCoreApplication::arguments().constFirst();
    help.replace(help.indexOf(started), started.size(), invocation(command));
    print(stdout, help);
}
} // namespace

void print(std::FILE* stream, const QString& text)
{
    ConsoleText::write(stream, text);
}

int refuse(const QString& message)
{
    print(stderr, QStringLiteral("tessimor-db: %1\n").arg(message));
    return Exit::kRefused;
}

int usageError(const QString& command, const QString& problem)
{
    print(stderr, QStringLiteral("tessimor-db: %1\n").arg(problem) +
                      TessimorDb::tr("Try '%1 --help'.").arg(invocation(command)) + QLatin1Char('\n'));
    return Exit::kUsage;
}

std::optional<int> parse(QCommandLineParser& parser, const QStringList& args, const char* description,
                         int least, int most)
{
    const QString command = args.constFirst();
    parser.setApplicationDescription(TessimorDb::tr(description));
    const QCommandLineOption help = helpOption();
    parser.addOption(help);
    if (!parser.parse(args))
        return usageError(command, parser.errorText());
    if (parser.isSet(help)) {
        printHelp(parser, command);
        return Exit::kOk;
    }
    const qsizetype files = parser.positionalArguments().size();
    if (files < least)
        return usageError(command, TessimorDb::tr("'%1' needs FILE").arg(command));
    if (files > most)
        return usageError(command, most == 0 ? TessimorDb::tr("'%1' takes no arguments").arg(command)
                                             : TessimorDb::tr("'%1' takes one FILE").arg(command));
    return std::nullopt;
}

QString existingNotebook()
{
    const QString path = Notebook::defaultPath();
    if (!QFileInfo::exists(path))
        throw ExchangeError(
            ExchangeError::tr("there is no notebook at %1; 'tessimor-db init' creates one").arg(path));
    return path;
}

int refusing(const std::function<int()>& work, const QString& file)
{
    try {
        return work();
    } catch (const ExchangeError& error) {
        return refuse(file.isEmpty() ? error.message() : file + QStringLiteral(": ") + error.message());
    } catch (const StoreError& error) {
        return refuse(error.summary());
    }
}

int main(int argc, char* argv[])
{
    ConsoleText::useBinaryStreams();
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tessimor-db"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TESSIMOR_VERSION));
    const auto translations = Translations::install(QLocale::system());
    QCommandLineParser parser;
    parser.setApplicationDescription(TessimorDb::tr(kDescription));
    const QCommandLineOption help = helpOption();
    parser.addOption(help);
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("COMMAND"), TessimorDb::tr("the command and its own options"),
                                 QStringLiteral("COMMAND [OPTIONS]"));
    // The options after the command are the command's own.
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    if (!parser.parse(QCoreApplication::arguments()))
        return usageError(QString(), parser.errorText());
    if (parser.isSet(help)) {
        printHelp(parser, QString());
        return Exit::kOk;
    }
    if (parser.isSet(QStringLiteral("version")))
        parser.showVersion();
    const QStringList args = parser.positionalArguments();
    if (args.isEmpty())
        return usageError(QString(), TessimorDb::tr("a command is needed"));
    static const QMap<QString, int (*)(const QStringList&)> commands = {
        {QStringLiteral("path"), pathCommand},       {QStringLiteral("init"), initCommand},
        {QStringLiteral("export"), exportCommand},   {QStringLiteral("import"), importCommand},
        {QStringLiteral("backup"), backupCommand},   {QStringLiteral("check"), checkCommand},
        {QStringLiteral("convert"), convertCommand}, {QStringLiteral("restore"), restoreCommand},
        {QStringLiteral("upgrade"), upgradeCommand},
    };
    const auto command = commands.value(args.constFirst());
    if (!command)
        return usageError(QString(), TessimorDb::tr("unknown command '%1'").arg(args.constFirst()));
    return command(args);
}
