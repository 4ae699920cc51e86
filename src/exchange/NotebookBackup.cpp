#include "NotebookBackup.h"

#include "Connection.h"
#include "ExchangeError.h"
#include "StoreError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUuid>

#include <cstdio>

namespace {
void refuseTarget(const QString& notebook, const QFileInfo& target, bool overwrite)
{
    if (target.exists() && target.canonicalFilePath() == QFileInfo(notebook).canonicalFilePath())
        throw ExchangeError(QStringLiteral("単語帳そのものには上書きできません"),
                            QStringLiteral("the backup cannot replace the notebook itself"));
    if (target.isDir())
        throw ExchangeError(QStringLiteral("%1 はフォルダです").arg(target.filePath()),
                            QStringLiteral("%1 is a folder").arg(target.filePath()));
    if (target.exists() && !overwrite)
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

// Replacing renames over the old file in one step; otherwise the rename itself refuses a file that
// appeared meanwhile.
bool moveIntoPlace(const QString& partial, const QString& target, bool overwrite)
{
    if (overwrite)
        return std::rename(QFile::encodeName(partial).constData(), QFile::encodeName(target).constData()) ==
               0;
    return QFile::rename(partial, target);
}
} // namespace

namespace NotebookBackup {

void copy(const QString& notebook, const QString& target, bool overwrite)
{
    const QFileInfo info(target);
    refuseTarget(notebook, info, overwrite);
    const QString partial = info.absolutePath() + QStringLiteral("/.") + info.fileName() + QLatin1Char('.') +
                            QUuid::createUuid().toString(QUuid::Id128) + QStringLiteral(".partial");
    try {
        vacuumInto(notebook, partial);
    } catch (...) {
        QFile::remove(partial);
        throw;
    }
    if (!moveIntoPlace(partial, info.absoluteFilePath(), overwrite)) {
        QFile::remove(partial);
        throw ExchangeError(QStringLiteral("%1 に書き込めません").arg(target),
                            QStringLiteral("cannot write %1").arg(target));
    }
}

} // namespace NotebookBackup
