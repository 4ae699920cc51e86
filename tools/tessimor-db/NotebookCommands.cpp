#include "AccessReader.h"
#include "Commands.h"
#include "Notebook.h"
#include "NotebookBackup.h"
#include "NotebookCheck.h"
#include "SearchIndex.h"
#include "StoreError.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>

namespace {
#ifdef Q_OS_WIN
const char kPathHelp[] =
    QT_TRANSLATE_NOOP("TessimorDb", "Prints where the notebook's file is: %APPDATA%\\Tessimor\\word.mdb.");
#else
const char kPathHelp[] =
    QT_TRANSLATE_NOOP("TessimorDb", "Prints where the notebook's file is: $XDG_DATA_HOME/tessimor/word.mdb,\n"
                                    "by default ~/.local/share/tessimor/word.mdb.");
#endif

const char kInitHelp[] = QT_TRANSLATE_NOOP(
    "TessimorDb", "Creates the notebook's file with an empty word table. Refuses to touch a file\n"
                  "that already exists.");

const char kUpgradeHelp[] = QT_TRANSLATE_NOOP(
    "TessimorDb", "Adds the search index and the triggers that keep it in step to a notebook made\n"
                  "without them, or makes them afresh when they are out of date or out of step,\n"
                  "in one transaction; refuses while another program writes to it. With\n"
                  "--rebuild, makes the index afresh whatever its state.");

const char kBackupHelp[] = QT_TRANSLATE_NOOP(
    "TessimorDb", "Copies the notebook's file to FILE as one consistent moment, also while\n"
                  "Tessimor has it open and is writing to it. The copy is itself a notebook file.\n"
                  "\n"
                  "With --daily DIR, makes DIR/word-YYYY-MM-DD.mdb for today when it is missing,\n"
                  "then deletes the oldest notebooks so named for today or before beyond the\n"
                  "newest N (--keep, 14). Other files are left alone.");

const char kRestoreHelp[] = QT_TRANSLATE_NOOP(
    "TessimorDb", "Puts FILE, a backup, back as the notebook once a check finds it whole, also while\n"
                  "Tessimor has the notebook open. The notebook as it was is first saved beside it\n"
                  "as word.mdb.before-restore; restoring that undoes it. Refused while another\n"
                  "program is writing the notebook.");

const char kCheckHelp[] = QT_TRANSLATE_NOOP(
    "TessimorDb", "Tests the notebook's file: the database's integrity check, and the table\n"
                  "wordDB with its columns UpDay, English and Japanese. Exit status 0 only when\n"
                  "the file is sound; each fault found is printed on standard error.");
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
        return refuse(TessimorDb::tr("cannot create the notebook: %1").arg(error.engineText()));
    }
    print(stdout, TessimorDb::tr("created %1").arg(path) + QLatin1Char('\n'));
    return Exit::kOk;
}

int upgradeCommand(const QStringList& args)
{
    QCommandLineParser parser;
    const QCommandLineOption rebuild(QStringLiteral("rebuild"), TessimorDb::tr("make the index afresh"));
    parser.addOption(rebuild);
    if (const auto status = parse(parser, args, kUpgradeHelp, 0, 0))
        return *status;
    return refusing([&] {
        const QString path = existingNotebook();
        QElapsedTimer timer;
        timer.start();
        QString done = TessimorDb::tr("rebuilt the search index of %1 in %2 s");
        if (parser.isSet(rebuild)) {
            SearchIndex::rebuild(path);
        } else {
            const SearchIndex::Upgrade upgrade = SearchIndex::upgrade(path);
            if (upgrade == SearchIndex::Upgrade::UpToDate) {
                print(stdout, TessimorDb::tr("up to date: %1").arg(path) + QLatin1Char('\n'));
                return Exit::kOk;
            }
            if (upgrade == SearchIndex::Upgrade::Added)
                done = TessimorDb::tr("added the search index to %1 in %2 s");
        }
        const QString seconds = QString::number(double(timer.elapsed()) / 1000.0, 'f', 1);
        print(stdout, done.arg(path, seconds) + QLatin1Char('\n'));
        return Exit::kOk;
    });
}

int backupCommand(const QStringList& args)
{
    QCommandLineParser parser;
    const QCommandLineOption daily(QStringLiteral("daily"), TessimorDb::tr("keep a copy a day in DIR"),
                                   QStringLiteral("DIR"));
    const QCommandLineOption keep(QStringLiteral("keep"),
                                  TessimorDb::tr("with --daily: the copies kept (14)"), QStringLiteral("N"),
                                  QStringLiteral("14"));
    parser.addOptions({{QStringLiteral("force"), TessimorDb::tr("replace FILE if it exists")}, daily, keep});
    parser.addPositionalArgument(QStringLiteral("FILE"), TessimorDb::tr("where the copy goes"));
    if (const auto status = parse(parser, args, kBackupHelp, 0, 1))
        return *status;
    const QString command = args.constFirst();
    if (parser.isSet(daily) == !parser.positionalArguments().isEmpty())
        return usageError(command, parser.isSet(daily) ? TessimorDb::tr("--daily takes no FILE")
                                                       : TessimorDb::tr("'%1' needs FILE").arg(command));
    if (parser.isSet(keep) && !parser.isSet(daily))
        return usageError(command, TessimorDb::tr("--keep goes with --daily"));
    if (parser.isSet(daily)) {
        bool number = false;
        const int copies = parser.value(keep).toInt(&number);
        if (!number || copies < 1)
            return usageError(
                command, TessimorDb::tr("--keep wants a number from 1, not '%1'").arg(parser.value(keep)));
        return refusing([&] {
            const auto done =
                NotebookBackup::daily(existingNotebook(), parser.value(daily), QDate::currentDate(), copies);
            if (!done.made.isEmpty())
                print(stdout, TessimorDb::tr("backed up to %1").arg(QDir::toNativeSeparators(done.made)) +
                                  QLatin1Char('\n'));
            for (const QString& removed : done.removed)
                print(stdout, TessimorDb::tr("removed %1").arg(QDir::toNativeSeparators(removed)) +
                                  QLatin1Char('\n'));
            return Exit::kOk;
        });
    }
    const QString target = parser.positionalArguments().constFirst();
    return refusing([&] {
        const auto existing = parser.isSet(QStringLiteral("force")) ? NotebookBackup::Existing::Replace
                                                                    : NotebookBackup::Existing::Refuse;
        NotebookBackup::copy(existingNotebook(), target, existing);
        print(stdout, TessimorDb::tr("backed up to %1")
                              .arg(QDir::toNativeSeparators(QFileInfo(target).absoluteFilePath())) +
                          QLatin1Char('\n'));
        return Exit::kOk;
    });
}

int restoreCommand(const QStringList& args)
{
    QCommandLineParser parser;
    parser.addPositionalArgument(QStringLiteral("FILE"), TessimorDb::tr("the backup"));
    if (const auto status = parse(parser, args, kRestoreHelp, 1, 1))
        return *status;
    return refusing([&] {
        const QString notebook = existingNotebook();
        NotebookBackup::restore(parser.positionalArguments().constFirst(), notebook);
        print(stdout, TessimorDb::tr("restored %1; the notebook as it was is in %2.before-restore")
                              .arg(parser.positionalArguments().constFirst(), notebook) +
                          QLatin1Char('\n'));
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
        if (AccessReader::recognises(path))
            return refuse(
                TessimorDb::tr("%1 is an Access file; 'tessimor-db convert' turns it into a notebook")
                    .arg(path));
        // Throws StoreError when the notebook is busy.
        const NotebookCheck check(path);
        if (check.sound()) {
            print(stdout,
                  TessimorDb::tr("ok: %1 (%2 pairs)").arg(path).arg(check.pairs()) + QLatin1Char('\n'));
            return Exit::kOk;
        }
        refuse(TessimorDb::tr("the notebook is not sound: %1").arg(path));
        for (const QString& problem : check.problems())
            print(stderr, QStringLiteral("  %1\n").arg(problem));
        return Exit::kRefused;
    });
}
