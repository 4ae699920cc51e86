#include "CommandLine.h"
#include "Commands.h"
#include "ExchangeError.h"
#include "Notebook.h"
#include "NotebookBackup.h"
#include "NotebookCheck.h"
#include "NotebookFile.h"
#include "StoreError.h"

#include <QFileInfo>

namespace {
const char kPathHelp[] = "Usage: tessimor-db path\n"
                         "\n"
                         "Prints where the notebook's file is: $XDG_DATA_HOME/tessimor/word.mdb,\n"
                         "by default ~/.local/share/tessimor/word.mdb.\n";

const char kInitHelp[] = "Usage: tessimor-db init\n"
                         "\n"
                         "Creates the notebook's file with an empty word table. Refuses to touch a file\n"
                         "that already exists.\n";

const char kBackupHelp[] = "Usage: tessimor-db backup [--force] FILE\n"
                           "\n"
                           "Copies the notebook's file to FILE as one consistent moment, also while\n"
                           "Tessimor has it open and is writing to it. The copy is itself a notebook file.\n"
                           "\n"
                           "  --force      replace FILE if it exists\n"
                           "  -h, --help   show this help\n";

const char kCheckHelp[] = "Usage: tessimor-db check\n"
                          "\n"
                          "Tests the notebook's file: the database's integrity check, and the table\n"
                          "wordDB with its columns UpDay, English and Japanese. Exit status 0 only when\n"
                          "the file is sound; each fault found is printed on standard error.\n";

// Throws StoreError when the notebook is busy.
int checkNotebook(const QString& path)
{
    const NotebookCheck check(path);
    if (!check.sound()) {
        refuse(QStringLiteral("単語帳のファイルに問題があります (the notebook is not sound): %1").arg(path));
        for (const QString& problem : check.problems())
            print(stderr, QStringLiteral("  %1\n").arg(problem));
        return Exit::kRefused;
    }
    print(stdout, QStringLiteral("ok: %1 (%2 pairs)\n").arg(path).arg(check.pairs()));
    return Exit::kOk;
}
} // namespace

int pathCommand(const QStringList& args)
{
    CommandLine line(QStringLiteral("path"), {}, {});
    if (const int status = line.read(args, kPathHelp, 0, 0); status != CommandLine::kGoOn)
        return status;
    print(stdout, Notebook::defaultPath() + QLatin1Char('\n'));
    return Exit::kOk;
}

int initCommand(const QStringList& args)
{
    CommandLine line(QStringLiteral("init"), {}, {});
    if (const int status = line.read(args, kInitHelp, 0, 0); status != CommandLine::kGoOn)
        return status;
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

int backupCommand(const QStringList& args)
{
    CommandLine line(QStringLiteral("backup"), {QStringLiteral("--force")}, {});
    if (const int status = line.read(args, kBackupHelp, 1, 1); status != CommandLine::kGoOn)
        return status;
    const QString target = line.positional().constFirst();
    try {
        NotebookBackup::copy(NotebookFile::existingPath(), target, line.has(QStringLiteral("--force")));
    } catch (const ExchangeError& error) {
        return NotebookFile::refuse(error);
    } catch (const StoreError& error) {
        return NotebookFile::refuse(error);
    }
    print(stdout, QStringLiteral("backed up to %1\n").arg(QFileInfo(target).absoluteFilePath()));
    return Exit::kOk;
}

int checkCommand(const QStringList& args)
{
    CommandLine line(QStringLiteral("check"), {}, {});
    if (const int status = line.read(args, kCheckHelp, 0, 0); status != CommandLine::kGoOn)
        return status;
    try {
        return checkNotebook(NotebookFile::existingPath());
    } catch (const ExchangeError& error) {
        return NotebookFile::refuse(error);
    } catch (const StoreError& error) {
        return NotebookFile::refuse(error);
    }
}
