#include "Commands.h"
#include "Notebook.h"
#include "NotebookBackup.h"
#include "NotebookCheck.h"
#include "StoreError.h"

#include <QElapsedTimer>
#include <QFileInfo>

namespace {
const char kPathHelp[] = "Prints where the notebook's file is: $XDG_DATA_HOME/tessimor/word.mdb,\n"
                         "by default ~/.local/share/tessimor/word.mdb.";

const char kInitHelp[] = "Creates the notebook's file with an empty word table. Refuses to touch a file\n"
                         "that already exists.";

const char kUpgradeHelp[] = "Adds the search index and the triggers that keep it in step to a notebook made\n"
                            "without them, in one transaction; refuses while another program writes to it.";

const char kBackupHelp[] = "Copies the notebook's file to FILE as one consistent moment, also while\n"
                           "Tessimor has it open and is writing to it. The copy is itself a notebook file.";

const char kCheckHelp[] = "Tests the notebook's file: the database's integrity check, and the table\n"
                          "wordDB with its columns UpDay, English and Japanese. Exit status 0 only when\n"
                          "the file is sound; each fault found is printed on standard error.";
} // namespace

int pathCommand(const QStringList& args)
{
    QCommandLineParser parser;
    if (const auto status = parse(parser, args, kPathHelp, 0, 0))
        return *status;
    print(stdout, Notebook::defaultPath() + QLatin1Char('\n'));
    return Exit::kOk;
}

int initCommand(const QStringList& args)
{
    QCommandLineParser parser;
    if (const auto status = parse(parser, args, kInitHelp, 0, 0))
        return *status;
    const QString path = Notebook::defaultPath();
    try {
        Notebook::create(path);
    } catch (const StoreError& error) {
        return refuse(QStringLiteral("単語帳を作成できません (cannot create the notebook): %1")
                          .arg(error.engineText()));
    }
    print(stdout, QStringLiteral("created %1\n").arg(path));
    return Exit::kOk;
}

int upgradeCommand(const QStringList& args)
{
    QCommandLineParser parser;
    if (const auto status = parse(parser, args, kUpgradeHelp, 0, 0))
        return *status;
    return refusing([] {
        const QString path = existingNotebook();
        QElapsedTimer timer;
        timer.start();
        if (!Notebook::addSearchIndex(path)) {
            print(stdout, QStringLiteral("up to date: %1\n").arg(path));
            return Exit::kOk;
        }
        print(stdout, QStringLiteral("added the search index to %1 in %2 s\n")
                          .arg(path)
                          .arg(double(timer.elapsed()) / 1000.0, 0, 'f', 1));
        return Exit::kOk;
    });
}

int backupCommand(const QStringList& args)
{
    QCommandLineParser parser;
    parser.addOption({QStringLiteral("force"), QStringLiteral("replace FILE if it exists")});
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("where the copy goes"));
    if (const auto status = parse(parser, args, kBackupHelp, 1, 1))
        return *status;
    const QString target = parser.positionalArguments().constFirst();
    return refusing([&] {
        NotebookBackup::copy(existingNotebook(), target, parser.isSet(QStringLiteral("force")));
        print(stdout, QStringLiteral("backed up to %1\n").arg(QFileInfo(target).absoluteFilePath()));
        return Exit::kOk;
    });
}

int checkCommand(const QStringList& args)
{
    QCommandLineParser parser;
    if (const auto status = parse(parser, args, kCheckHelp, 0, 0))
        return *status;
    return refusing([] {
        const QString path = existingNotebook();
        // Throws StoreError when the notebook is busy.
        const NotebookCheck check(path);
        if (check.sound()) {
            print(stdout, QStringLiteral("ok: %1 (%2 pairs)\n").arg(path).arg(check.pairs()));
            return Exit::kOk;
        }
        refuse(QStringLiteral("単語帳のファイルに問題があります (the notebook is not sound): %1").arg(path));
        for (const QString& problem : check.problems())
            print(stderr, QStringLiteral("  %1\n").arg(problem));
        return Exit::kRefused;
    });
}
