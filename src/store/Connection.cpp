#include "Connection.h"

#include "StoreError.h"

#include <QAtomicInt>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QUrl>

#include <sqlite3.h>

#include <sys/stat.h>

namespace {
QAtomicInt g_serial;

// A second or so: long enough to ride out another copy's short write, short enough that a command
// held up by a long lock reports it instead of freezing the window.
constexpr int kBusyTimeoutMs = 1000;

int engineCode(const QSqlError& error)
{
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok);
    return ok ? code : 0;
}

std::optional<std::array<qint64, 6>> fileStamp(const QByteArray& path)
{
    struct stat status {};
    if (stat(path.constData(), &status) != 0)
        return std::nullopt;
    return std::array<qint64, 6>{qint64(status.st_dev),         qint64(status.st_ino),
                                 qint64(status.st_mode),        qint64(status.st_size),
                                 qint64(status.st_mtim.tv_sec), qint64(status.st_mtim.tv_nsec)};
}

[[noreturn]] void throwFailure(const QSqlError& error)
{
    throw StoreError(error.databaseText().isEmpty() ? error.text() : error.databaseText(), engineCode(error));
}
} // namespace

Connection::Connection(const QString& path, Access access)
    : m_name(QStringLiteral("tessimor-%1").arg(g_serial.fetchAndAddRelaxed(1)))
    , m_path(QFile::encodeName(path))
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
    // mode=rw (or ro): a missing file is an error, never silently created empty.
    db.setDatabaseName(
        QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded) +
        (access == Access::ReadOnly ? QStringLiteral("?mode=ro") : QStringLiteral("?mode=rw")));
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyTimeoutMs));
    if (!db.open()) {
        const QSqlError error = db.lastError();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_name);
        throwFailure(error);
    }
    // Qt's driver is built on the same system library this program links, so its handle is one of ours.
    const QVariant handle = db.driver()->handle();
    if (qstrcmp(handle.typeName(), "sqlite3*") == 0)
        m_handle = *static_cast<sqlite3* const*>(handle.constData());
    if (!m_handle) {
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_name);
        throw StoreError(QStringLiteral("the database driver gives no SQLite handle"));
    }
}

Connection::~Connection()
{
    {
        QSqlDatabase db = QSqlDatabase::database(m_name, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_name);
}

std::unique_ptr<QSqlQuery> Connection::execute(const QString& sql, const QVariantList& values)
{
    auto query = prepare(sql);
    run(*query, values);
    return query;
}

std::unique_ptr<QSqlQuery> Connection::prepare(const QString& sql)
{
    auto query = std::make_unique<QSqlQuery>(QSqlDatabase::database(m_name, false));
    query->setForwardOnly(true);
    if (!query->prepare(sql))
        throwFailure(query->lastError());
    return query;
}

void Connection::run(QSqlQuery& query, const QVariantList& values)
{
    for (int i = 0; i < values.size(); ++i)
        query.bindValue(i, values.at(i));
    if (!query.exec())
        throwFailure(query.lastError());
}

void Connection::noteFile()
{
    m_noted = fileStamp(m_path);
    sqlite3_file_control(m_handle, "main", SQLITE_FCNTL_DATA_VERSION, &m_dataVersion);
}

bool Connection::fileAsNoted()
{
    const auto now = fileStamp(m_path);
    if (!m_noted || !now)
        return false;
    if (now == m_noted)
        return true;
    // The same file, changed since: by a program that uses SQLite, if a read sees a new version of it
    // (and this connection then reads it afresh), otherwise by one writing into the file behind its back.
    if (!std::equal(now->begin(), now->begin() + 3, m_noted->begin()))
        return false;
    unsigned int version = m_dataVersion;
    const bool read = sqlite3_exec(m_handle, "pragma schema_version", nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_file_control(m_handle, "main", SQLITE_FCNTL_DATA_VERSION, &version);
    if (!read || version == m_dataVersion)
        return false;
    noteFile();
    return true;
}
