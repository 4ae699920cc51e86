#include "NotebookBackup.h"

#include "Connection.h"
#include "ExchangeError.h"
#include "NotebookCheck.h"
#include "ReplaceFile.h"
#include "SearchIndex.h"
#include "StoreError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUuid>

#include <algorithm>
#include <functional>

namespace {
void refuseTarget(const QString& notebook, const QFileInfo& target, NotebookBackup::Existing existing)
{
    if (sameFile(target.filePath(), notebook))
        throw ExchangeError(ExchangeError::tr("the backup cannot replace the notebook itself"));
    if (target.isDir())
        throw ExchangeError(ExchangeError::tr("%1 is a folder").arg(target.filePath()));
    if (target.exists() && existing == NotebookBackup::Existing::Refuse)
        throw ExchangeError(
            ExchangeError::tr("%1 exists already (--force replaces it)").arg(target.filePath()));
    if (!target.absoluteDir().exists())
        throw ExchangeError(ExchangeError::tr("there is no folder %1").arg(target.absolutePath()));
    if (!QFileInfo(target.absolutePath()).isWritable())
        throw ExchangeError(ExchangeError::tr("cannot write in the folder %1").arg(target.absolutePath()));
}

// A file still being written, and the journal the engine may keep beside it.
void discard(const QString& partial)
{
    QFile::remove(partial);
    QFile::remove(partial + QStringLiteral("-journal"));
}

// Each try waits out the connection's busy timeout; a notebook written without pause can hold the
// file past one wait, and a later try slips in between two writes.
constexpr int kTries = 5;

void vacuumInto(const QString& notebook, const QString& partial)
{
    Connection connection(notebook, Connection::Access::ReadOnly);
    for (int attempt = 1;; ++attempt) {
        try {
            connection.execute(QStringLiteral("vacuum into ?"), {partial});
            return;
        } catch (const StoreError& error) {
            if (!error.isBusy() || attempt == kTries)
                throw;
            discard(partial);
        }
    }
}

// A hidden name beside target for a file still being written.
QString partialName(const QFileInfo& target)
{
    return target.absolutePath() + QStringLiteral("/.") + target.fileName() + QLatin1Char('.') +
           QUuid::createUuid().toString(QUuid::Id128) + QStringLiteral(".partial");
}

QString dailyName(const QDate& day)
{
    return QStringLiteral("word-%1.mdb").arg(day.toString(Qt::ISODate));
}

// A database file holding the table wordDB; another file is no backup of a notebook.
bool isNotebook(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.read(16) != QByteArray("SQLite format 3\0", 16))
        return false;
    try {
        Connection connection(path, Connection::Access::ReadOnly);
        return connection.execute(QStringLiteral("select 1 from sqlite_master where name = 'wordDB'"))
            ->next();
    } catch (const StoreError&) {
        return false;
    }
}

// A hidden name of its own beside `file`.
QString scratchName(const QString& file, const QString& kind)
{
    const QFileInfo info(file);
    return info.absolutePath() + QStringLiteral("/.") + info.fileName() + QLatin1Char('.') + kind;
}

// Every page of the database at `from`, damaged or not, into a new file at `to`.
void snapshot(const QString& from, const QString& to)
{
    discard(to);
    Connection source(from, Connection::Access::ReadOnly);
    Connection(to, Connection::Access::Create).overwriteWith(source);
}

// A write that failed (a full disk) leaves its journal for the next reader to play back; this reader does it
// at once, so the notebook is back at its former size.
void playBackJournal(const QString& notebook)
{
    try {
        Connection(notebook).execute(QStringLiteral("pragma schema_version"));
    } catch (const StoreError&) {
    }
}

// Replacing renames over the old file in one step; otherwise the rename itself refuses a file that
// appeared meanwhile.
bool moveIntoPlace(const QString& partial, const QString& target, NotebookBackup::Existing existing)
{
    if (existing == NotebookBackup::Existing::Replace)
        return replaceFile(partial, target);
    return QFile::rename(partial, target);
}
} // namespace

namespace NotebookBackup {

void copy(const QString& notebook, const QString& target, Existing existing)
{
    const QFileInfo info(target);
    refuseTarget(notebook, info, existing);
    const QString partial = partialName(info);
    try {
        vacuumInto(notebook, partial);
    } catch (...) {
        discard(partial);
        throw;
    }
    if (!moveIntoPlace(partial, info.absoluteFilePath(), existing)) {
        discard(partial);
        throw ExchangeError(ExchangeError::tr("cannot write %1").arg(target));
    }
}

Daily daily(const QString& notebook, const QString& folder, const QDate& day, int keep)
{
    if (!QDir().mkpath(folder))
        throw ExchangeError(ExchangeError::tr("cannot create the folder %1").arg(folder));
    const QDir dir(folder);
    Daily result;
    const QString today = dir.absoluteFilePath(dailyName(day));
    if (!QFileInfo::exists(today)) {
        try {
            copy(notebook, today, Existing::Refuse);
            result.made = today;
        } catch (const ExchangeError&) {
            // Another run made the day's copy meanwhile.
            if (!QFileInfo::exists(today))
                throw;
        }
    }
    // Only copies of days up to this one are counted: a clock once set ahead never pushes out today's.
    QList<QDate> days;
    for (const QString& name : dir.entryList(QDir::Files)) {
        const QDate named = QDate::fromString(name, QStringLiteral("'word-'yyyy-MM-dd'.mdb'"));
        if (named.isValid() && named <= day && dailyName(named) == name &&
            isNotebook(dir.absoluteFilePath(name)))
            days << named;
    }
    std::sort(days.begin(), days.end(), std::greater<>());
    for (const QDate& old : days.mid(keep)) {
        const QString path = dir.absoluteFilePath(dailyName(old));
        // Another run may have removed it first.
        if (!QFile::remove(path) && QFileInfo::exists(path))
            throw ExchangeError(ExchangeError::tr("cannot delete %1").arg(path));
        result.removed << path;
    }
    return result;
}

void restore(const QString& copy, const QString& notebook)
{
    if (!QFileInfo::exists(copy))
        throw ExchangeError(ExchangeError::tr("%1 does not exist").arg(copy));
    if (sameFile(copy, notebook))
        throw ExchangeError(ExchangeError::tr("%1 is the notebook itself").arg(copy));
    const NotebookCheck check(copy);
    if (!check.whole())
        throw ExchangeError(
            ExchangeError::tr("%1 is not a sound notebook: %2").arg(copy, check.problems().join("; ")));
    // The notebook as it is goes to ".before-restore" before anything of it changes, so that at every
    // step the documented undo brings it back. Scratch files have fixed names, so one an interrupted run
    // left is taken again by the next, not piled up.
    const QString before = notebook + QStringLiteral(".before-restore");
    const QString saved = scratchName(before, QStringLiteral("partial"));
    QString source = copy;
    try {
        // A writer holding the notebook refuses the restore before anything is changed.
        Connection target(notebook);
        target.execute(QStringLiteral("begin immediate"));
        target.execute(QStringLiteral("rollback"));
        // Undoing a restore takes back ".before-restore" itself, which must be read before it is replaced.
        if (sameFile(copy, before)) {
            source = scratchName(before, QStringLiteral("restoring"));
            snapshot(copy, source);
        }
        snapshot(notebook, saved);
        if (!replaceFile(saved, before))
            throw ExchangeError(ExchangeError::tr("cannot write %1").arg(before));
        Connection restored(source, Connection::Access::ReadOnly);
        target.overwriteWith(restored);
    } catch (...) {
        discard(saved);
        if (source != copy)
            discard(source);
        playBackJournal(notebook);
        throw;
    }
    if (source != copy)
        discard(source);
    if (!check.sound())
        SearchIndex::rebuild(notebook);
}

} // namespace NotebookBackup
