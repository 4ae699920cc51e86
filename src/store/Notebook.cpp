#include "Notebook.h"

#include "Connection.h"
#include "SearchIndex.h"
#include "StoreError.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUuid>

namespace {
// English compares as the learner expects ("Apple" and "apple" are one word). The two covering indexes
// serve the newest-first list, the English order and both Date views, and the pair lookup of register
// and delete, without touching the table. A search cannot use an index to find a text inside words, so
// its count walks the narrowest one that holds the English. The last index holds one tiny entry a row:
// counting the table walks it instead of a wide one, several times faster on a large notebook. Then the
// search's trigram index (SearchIndex).
const char* const kSchema[] = {
    "create table wordDB (UpDay text, English text collate nocase, Japanese text)",
    "create index wordDB_ByDay on wordDB(UpDay, English, Japanese)",
    "create index wordDB_ByEnglish on wordDB(English, Japanese, UpDay)",
    "create index wordDB_Search on wordDB(English)",
    "create index wordDB_Count on wordDB(UpDay is null)",
};

void build(const QString& path)
{
    Connection connection(path, Connection::Access::Create);
    connection.execute(QStringLiteral("begin"));
    for (const char* statement : kSchema)
        connection.execute(QString::fromLatin1(statement));
    for (const QString& statement : SearchIndex::schema())
        connection.execute(statement);
    connection.execute(QStringLiteral("commit"));
}
} // namespace

namespace Notebook {

#ifdef Q_OS_WIN
const char* const kDataFolderVariable = "APPDATA";
#else
const char* const kDataFolderVariable = "XDG_DATA_HOME";
#endif

QString defaultPath()
{
    QString base = qEnvironmentVariable(kDataFolderVariable);
    if (base.isEmpty() || !QDir::isAbsolutePath(base)) {
#ifdef Q_OS_WIN
        base = QDir::homePath() + QStringLiteral("/AppData/Roaming");
#else
        base = QDir::homePath() + QStringLiteral("/.local/share");
#endif
    }
    return pathIn(base);
}

QString pathIn(const QString& dataFolder)
{
#ifdef Q_OS_WIN
    return QDir::toNativeSeparators(dataFolder + QStringLiteral("/Tessimor/word.mdb"));
#else
    return dataFolder + QStringLiteral("/tessimor/word.mdb");
#endif
}

void create(const QString& path)
{
    const QFileInfo target(path);
    if (target.exists() || target.isSymLink())
        throw StoreError(QCoreApplication::translate("Notebook", "%1 already exists").arg(path));
    if (!QDir().mkpath(target.absolutePath()))
        throw StoreError(QCoreApplication::translate("Notebook", "cannot create the folder %1")
                             .arg(target.absolutePath()));

    // Built aside and renamed into place, so a failure never leaves a half-made notebook.
    const QString partial = target.absolutePath() + QStringLiteral("/.") + target.fileName() +
                            QStringLiteral(".") + QUuid::createUuid().toString(QUuid::Id128);
    try {
        build(partial);
    } catch (...) {
        QFile::remove(partial);
        throw;
    }
    if (!QFile::rename(partial, path)) {
        QFile::remove(partial);
        throw StoreError(QCoreApplication::translate("Notebook", "cannot create %1").arg(path));
    }
}

} // namespace Notebook
