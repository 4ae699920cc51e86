#include "NotebookBackup.h"

#include "Connection.h"
#include "ExchangeError.h"
#include "NotebookCheck.h"
#include "ReplaceFile.h"
#include "StoreError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUuid>

namespace {
void refuseTarget(const QString& notebook, const QFileInfo& target, NotebookBackup::Existing existing)
{
    if (target.exists() && target.canonicalFilePath() == QFileInfo(notebook).canonicalFilePath())
        throw ExchangeError(QStringLiteral("単語帳そのものには上書きできません"),
                            QStringLiteral("the backup cannot replace the notebook itself"));
    if (target.isDir())
        throw ExchangeError(QStringLiteral("%1 はフォルダです").arg(target.filePath()),
                            QStringLiteral("%1 is a folder").arg(target.filePath()));
    if (target.exists() && existing == NotebookBackup::Existing::Refuse)
        throw ExchangeError(QStringLiteral("%1 は既にあります (--force で上書き)").arg(target.filePath()),
                            QStringLiteral("%1 exists already (--force replaces it)").arg(target.filePath()));
    if (!target.absoluteDir().exists())
        throw ExchangeError(QStringLiteral("フォルダ %1 がありません").arg(target.absolutePath()),
                            QStringLiteral("there is no folder %1").arg(target.absolutePath()));
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
            QFile::remove(partial);
        }
    }
}

// A hidden name beside target for a file still being written.
QString partialName(const QFileInfo& target)
{
    return target.absolutePath() + QStringLiteral("/.") + target.fileName() + QLatin1Char('.') +
           QUuid::createUuid().toString(QUuid::Id128) + QStringLiteral(".partial");
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
        QFile::remove(partial);
        throw;
    }
    if (!moveIntoPlace(partial, info.absoluteFilePath(), existing)) {
        QFile::remove(partial);
        throw ExchangeError(QStringLiteral("%1 に書き込めません").arg(target),
                            QStringLiteral("cannot write %1").arg(target));
    }
}

Daily daily(const QString& notebook, const QString& folder, const QDate& day, int keep)
{
    if (!QDir().mkpath(folder))
        throw ExchangeError(QStringLiteral("フォルダ %1 を作成できません").arg(folder),
                            QStringLiteral("cannot create the folder %1").arg(folder));
    const QDir dir(folder);
    Daily result;
    const QString today = dir.absoluteFilePath(QStringLiteral("word-%1.mdb").arg(day.toString(Qt::ISODate)));
    if (!QFileInfo::exists(today)) {
        copy(notebook, today, Existing::Refuse);
        result.made = today;
    }
    // The dates in the names sort as the days do.
    static const QRegularExpression kName(QStringLiteral("^word-\\d{4}-\\d{2}-\\d{2}\\.mdb$"));
    const QStringList names = dir.entryList(QDir::Files, QDir::Name | QDir::Reversed).filter(kName);
    for (const QString& name : names.mid(keep)) {
        if (!QFile::remove(dir.absoluteFilePath(name)))
            throw ExchangeError(QStringLiteral("%1 を削除できません").arg(dir.absoluteFilePath(name)),
                                QStringLiteral("cannot delete %1").arg(dir.absoluteFilePath(name)));
        result.removed << dir.absoluteFilePath(name);
    }
    return result;
}

void restore(const QString& copy, const QString& notebook)
{
    const NotebookCheck check(copy);
    if (!check.sound())
        throw ExchangeError(
            QStringLiteral("%1 は単語帳として使えません: %2").arg(copy, check.problems().join("; ")),
            QStringLiteral("%1 is not a sound notebook: %2").arg(copy, check.problems().join("; ")));
    Connection target(notebook);
    // The notebook as it is, page by page so that a damaged one is kept too, under a name of its own
    // until the restore is done: restoring the previous ".before-restore" itself then swaps the two.
    const QString before = notebook + QStringLiteral(".before-restore");
    const QString saved = partialName(QFileInfo(before));
    try {
        Connection(saved, Connection::Access::Create).overwriteWith(target);
        Connection source(copy, Connection::Access::ReadOnly);
        target.overwriteWith(source);
    } catch (...) {
        QFile::remove(saved);
        throw;
    }
    if (!moveIntoPlace(saved, before, Existing::Replace))
        throw ExchangeError(
            QStringLiteral("%1 に書き込めません (元の単語帳は %2 にあります)").arg(before, saved),
            QStringLiteral("cannot write %1 (the notebook as it was is in %2)").arg(before, saved));
}

} // namespace NotebookBackup
