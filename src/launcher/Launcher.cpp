#include "Launcher.h"

#include "AccessReader.h"
#include "ExchangeError.h"
#include "MessageBox.h"
#include "Notebook.h"
#include "NotebookBackup.h"
#include "NotebookCheck.h"
#include "ReplaceFile.h"
#include "StoreError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

namespace {
// tessimor-db convert's exit statuses for the refusals the learner can answer (its manual's EXIT STATUS).
constexpr int kReplacements = 3;
constexpr int kNoWordTable = 4;

// As many daily copies as tessimor-db backup --daily keeps by default.
constexpr int kKeptBackups = 14;

// The value of the line "key: value" that tessimor-db prints for the launcher.
QString valueOf(const QString& output, const QString& key)
{
    const QString start = key + QStringLiteral(": ");
    for (const QString& line : output.split(QLatin1Char('\n'))) {
        if (line.startsWith(start))
            return line.mid(start.size());
    }
    return {};
}

// The database cannot restore into a file it cannot open at all (its header overwritten): that file goes
// aside whole, with a journal it may have, and a copy of the backup takes its place. False, with the file
// back in place, when the copy fails.
bool restoreWhole(const QString& backup, const QString& notebook)
{
    const QString before = notebook + QStringLiteral(".before-restore");
    const QString journal = QStringLiteral("-journal");
    QFile::remove(before + journal);
    if (!replaceFile(notebook, before))
        return false;
    replaceFile(notebook + journal, before + journal);
    try {
        NotebookBackup::copy(backup, notebook, NotebookBackup::Existing::Refuse);
        return true;
    } catch (const std::exception&) {
        replaceFile(before + journal, notebook + journal);
        replaceFile(before, notebook);
        return false;
    }
}
} // namespace

struct Launcher::Convert {
    enum class End { Finished, Crashed, TimedOut };
    End end = End::Finished;
    int status = 0;
    QString output;
    QString errors;
};

Launcher::Launcher(MessageBox& messages, const QString& notebook, const QString& tessimorDb,
                   StartWindow startWindow, std::chrono::milliseconds convertLimit)
    : m_messages(messages)
    , m_notebook(notebook)
    , m_tessimorDb(tessimorDb)
    , m_startWindow(std::move(startWindow))
    , m_convertLimit(convertLimit)
{}

int Launcher::run(const QDate& today)
{
    if (!bringOver() || !convert(false))
        return 1;
    if (notebookThere() && !backUp(today))
        return 1;
    if (!m_startWindow()) {
        m_messages.information(tr("Tessimor could not be started."));
        return 1;
    }
    return 0;
}

bool Launcher::bringOver()
{
    if (m_former.isEmpty() || QFileInfo::exists(m_notebook) || !QFileInfo::exists(m_former))
        return true;
    const bool access = AccessReader::recognises(m_former);
    if (access && !AccessReader::available()) {
        const QString saidBefore = tr("Tessimor now keeps its notebook in %1, where Windows lets it write. "
                                      "The old notebook %2 is an Access file, which this build of Tessimor "
                                      "cannot read.")
                                       .arg(m_notebook, m_former);
        const QString howToBring =
            tr("To bring its words over, either convert it with Tessimor for Linux (tessimor-db convert) and "
               "put the notebook made there in place of %1, or save its table wordDB from Access as CSV in "
               "UTF-8 and import that with tessimor-db import.")
                .arg(m_notebook);
        m_messages.information(saidBefore + QStringLiteral("\n\n") + howToBring + QStringLiteral("\n\n") +
                               tr("%1 is left as it is. Tessimor starts with a new notebook.").arg(m_former));
        return true;
    }
    // The old file is only read: an Access file goes over as it is, to be converted next; a notebook is
    // copied by the database, which takes in a journal a cut-short write left beside it.
    QString failure;
    try {
        QDir().mkpath(QFileInfo(m_notebook).absolutePath());
        if (!access)
            NotebookBackup::copy(m_former, m_notebook, NotebookBackup::Existing::Refuse);
        else if (!QFile::copy(m_former, m_notebook))
            failure = tr("the copy could not be written");
    } catch (const StoreError& error) {
        failure = error.summary();
    } catch (const ExchangeError& error) {
        failure = error.message();
    }
    if (failure.isEmpty())
        return true;
    m_messages.information(
        tr("The old notebook %1 could not be brought over to %2:").arg(m_former, m_notebook) +
        QStringLiteral("\n\n") + failure + QStringLiteral("\n\n") +
        tr("%1 is left as it is. Tessimor does not start.").arg(m_former));
    return false;
}

Launcher::Convert Launcher::runConvert(bool acceptReplacements) const
{
    QStringList arguments = {QStringLiteral("convert"), QStringLiteral("--if-access")};
    if (acceptReplacements)
        arguments << QStringLiteral("--accept-replacements");
    QProcess process;
    process.start(m_tessimorDb, arguments);
    Convert run;
    const bool finished = process.waitForFinished(int(m_convertLimit.count()));
    if (!finished && process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished();
        run.end = Convert::End::TimedOut;
        return run;
    }
    // Not started at all counts as crashed: either way the conversion never ran its course.
    if (!finished || process.exitStatus() == QProcess::CrashExit) {
        run.end = Convert::End::Crashed;
        run.errors = process.errorString();
        return run;
    }
    run.status = process.exitCode();
    run.output = QString::fromUtf8(process.readAllStandardOutput());
    run.errors = QString::fromUtf8(process.readAllStandardError()).trimmed();
    return run;
}

QString Launcher::convertLimitText() const
{
    const auto minutes = std::chrono::duration_cast<std::chrono::minutes>(m_convertLimit);
    if (minutes.count() > 0)
        return tr("%1 min").arg(minutes.count());
    return tr("%1 s").arg(std::chrono::duration_cast<std::chrono::seconds>(m_convertLimit).count());
}

bool Launcher::convert(bool acceptReplacements)
{
    const Convert run = runConvert(acceptReplacements);
    const QString kept = m_notebook + QStringLiteral(".access");
    const QString unchanged = tr("The Access file is unchanged. Tessimor does not start.");
    if (run.end == Convert::End::Crashed) {
        m_messages.information(tr("Converting the Access file %1 into a notebook stopped unexpectedly (%2).")
                                   .arg(m_notebook, run.errors) +
                               QStringLiteral("\n\n") + unchanged);
        return false;
    }
    if (run.end == Convert::End::TimedOut) {
        m_messages.information(tr("Converting the Access file %1 into a notebook did not finish within %2, "
                                  "so it was stopped.")
                                   .arg(m_notebook, convertLimitText()) +
                               QStringLiteral("\n\n") + unchanged);
        return false;
    }
    if (run.status == 0)
        return true;
    if (run.status == kReplacements) {
        const int rows = valueOf(run.output, QStringLiteral("replaced rows")).toInt();
        const bool anyway = m_messages.question(
            tr("The notebook %1 is an Access file of the old design, to be converted into a new "
               "notebook. Characters that cannot be read from it (such as 𠮟 or emoji) are in %n of "
               "its words: each would become \"?\".",
               nullptr, rows)
                .arg(m_notebook) +
            QStringLiteral("\n\n") +
            tr("Convert it anyway? The Access file is kept unchanged as %1.\n"
               "No quits and leaves everything as it is.")
                .arg(kept));
        return anyway && convert(true);
    }
    if (run.status == kNoWordTable) {
        QString tables = valueOf(run.output, QStringLiteral("tables"));
        tables.replace(QLatin1Char('\t'), QStringLiteral(", "));
        m_messages.information(
            tr("%1 is an Access file, but not a notebook: it has no table wordDB. The tables it holds: %2.")
                .arg(m_notebook, tables.isEmpty() ? tr("none") : tables) +
            QStringLiteral("\n\n") +
            tr("Nothing was changed. Tessimor does not start; with the file moved elsewhere, it starts "
               "with a new notebook."));
        return false;
    }
    m_messages.information(tr("The Access file %1 could not be converted:").arg(m_notebook) +
                           QStringLiteral("\n\n") + run.errors + QStringLiteral("\n\n") + unchanged);
    return false;
}

bool Launcher::notebookThere()
{
    if (QFileInfo::exists(m_notebook))
        return true;
    // Should this fail, the window still starts and says the notebook cannot be found.
    try {
        Notebook::create(m_notebook);
        return true;
    } catch (const StoreError& error) {
        m_messages.information(tr("The notebook %1 could not be created:").arg(m_notebook) +
                               QStringLiteral("\n\n") + error.engineText());
        return false;
    }
}

bool Launcher::backUp(const QDate& today)
{
    const QString folder = QFileInfo(m_notebook).absolutePath() + QStringLiteral("/backups");
    // A damaged notebook is never copied: its copies would push the sound ones out of the folder. The check
    // reads the whole notebook, as the copy does, so it comes with the day's copy (named as daily names it).
    const bool copyDue =
        !QFileInfo::exists(folder + QStringLiteral("/word-%1.mdb").arg(today.toString(Qt::ISODate)));
    QString failure;
    try {
        if (copyDue && !NotebookCheck(m_notebook).whole() && !restore(folder))
            return false;
        NotebookBackup::daily(m_notebook, folder, today, kKeptBackups);
        return true;
    } catch (const StoreError& error) {
        if (error.isDamage())
            return restore(folder);
        failure = error.summary();
    } catch (const ExchangeError& error) {
        failure = error.message();
    }
    m_messages.information(tr("Today's backup of the notebook could not be made:") + QStringLiteral("\n\n") +
                           failure + QStringLiteral("\n\n") + tr("Tessimor starts anyway."));
    return true;
}

bool Launcher::restore(const QString& folder)
{
    const std::optional<Backup> backup = newestSoundBackup(folder);
    if (!backup) {
        m_messages.information(tr("The notebook %1 is damaged, and there is no sound backup of it in %2.")
                                   .arg(m_notebook, folder) +
                               QStringLiteral("\n\n") + tr("Nothing was changed. Tessimor does not start."));
        return false;
    }
    const QString before = m_notebook + QStringLiteral(".before-restore");
    if (!m_messages.question(tr("The notebook %1 is damaged.").arg(m_notebook) + QStringLiteral("\n\n") +
                             tr("Restore its backup of %1? The damaged notebook is kept as %2.\n"
                                "No quits and leaves everything as it is.")
                                 .arg(QLocale().toString(backup->day, QLocale::LongFormat), before)))
        return false;
    QString failure;
    try {
        NotebookBackup::restore(backup->path, m_notebook);
        return true;
    } catch (const StoreError& error) {
        if (error.isDamage() && restoreWhole(backup->path, m_notebook))
            return true;
        failure = error.summary();
    } catch (const ExchangeError& error) {
        failure = error.message();
    }
    m_messages.information(tr("The backup %1 could not be restored:").arg(backup->path) +
                           QStringLiteral("\n\n") + failure + QStringLiteral("\n\n") +
                           tr("The notebook is as it was. Tessimor does not start."));
    return false;
}

std::optional<Launcher::Backup> Launcher::newestSoundBackup(const QString& folder) const
{
    const QDir dir(folder);
    // ISO dates: newest first by name.
    const QStringList names =
        dir.entryList({QStringLiteral("word-*.mdb")}, QDir::Files, QDir::Name | QDir::Reversed);
    for (const QString& name : names) {
        const QDate day = QDate::fromString(name, QStringLiteral("'word-'yyyy-MM-dd'.mdb'"));
        if (!day.isValid())
            continue;
        try {
            if (NotebookCheck(dir.filePath(name)).whole())
                return Backup{dir.filePath(name), day};
        } catch (const StoreError&) {
        }
    }
    return std::nullopt;
}
