#include "Connection.h"

#include "StoreError.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QThread>

#include <sqlite3.h>

Statement::Statement(sqlite3* db, const QString& sql)
    : m_db(db)
{
    const QByteArray text = sql.toUtf8();
    check(sqlite3_prepare_v2(m_db, text.constData(), int(text.size()), &m_statement, nullptr));
}

Statement::~Statement()
{
    sqlite3_finalize(m_statement);
}

void Statement::exec(const QVariantList& values)
{
    sqlite3_reset(m_statement);
    sqlite3_clear_bindings(m_statement);
    for (int i = 0; i < values.size(); ++i)
        bind(i + 1, values.at(i));
    m_pending = false;
    m_row = next();
    m_pending = true;
}

bool Statement::next()
{
    if (m_pending) {
        m_pending = false;
        return m_row;
    }
    const int code = sqlite3_step(m_statement);
    if (code == SQLITE_ROW)
        return true;
    if (code != SQLITE_DONE)
        check(code);
    return false;
}

int Statement::columnCount() const
{
    return sqlite3_column_count(m_statement);
}

QString Statement::name(int column) const
{
    return QString::fromUtf8(sqlite3_column_name(m_statement, column));
}

QVariant Statement::value(int column) const
{
    switch (sqlite3_column_type(m_statement, column)) {
    case SQLITE_NULL:
        return {};
    case SQLITE_INTEGER:
        return qlonglong(sqlite3_column_int64(m_statement, column));
    case SQLITE_FLOAT:
        return sqlite3_column_double(m_statement, column);
    case SQLITE_BLOB:
        return QByteArray(static_cast<const char*>(sqlite3_column_blob(m_statement, column)),
                          sqlite3_column_bytes(m_statement, column));
    default:
        return text(column);
    }
}

QString Statement::text(int column) const
{
    if (sqlite3_column_type(m_statement, column) != SQLITE_TEXT)
        return value(column).toString();
    const void* text = sqlite3_column_text16(m_statement, column);
    return QString(static_cast<const QChar*>(text), sqlite3_column_bytes16(m_statement, column) / 2);
}

void Statement::bind(int at, const QVariant& value)
{
    if (value.isNull()) {
        check(sqlite3_bind_null(m_statement, at));
        return;
    }
    switch (value.userType()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::Bool:
        check(sqlite3_bind_int64(m_statement, at, value.toLongLong()));
        return;
    case QMetaType::Double:
        check(sqlite3_bind_double(m_statement, at, value.toDouble()));
        return;
    case QMetaType::QByteArray: {
        const QByteArray bytes = value.toByteArray();
        check(sqlite3_bind_blob(m_statement, at, bytes.constData(), int(bytes.size()), SQLITE_TRANSIENT));
        return;
    }
    default: {
        // As UTF-8: the engine takes a byte-order mark opening UTF-16 text for its own and drops it.
        const QByteArray text = value.toString().toUtf8();
        check(sqlite3_bind_text(m_statement, at, text.constData(), int(text.size()), SQLITE_TRANSIENT));
        return;
    }
    }
}

void Statement::check(int code) const
{
    if (code != SQLITE_OK)
        throw StoreError(QString::fromUtf8(sqlite3_errmsg(m_db)), sqlite3_extended_errcode(m_db));
}

Connection::Connection(const QString& path, Access access, LockPatience patience)
    : m_patience(std::move(patience))
{
    open(path, access);
    if (access != Access::ReadOnly)
        return;
    try {
        execute(QStringLiteral("pragma schema_version"));
    } catch (const StoreError& error) {
        sqlite3_close(m_db);
        m_db = nullptr;
        if (error.engineCode() != SQLITE_READONLY_ROLLBACK)
            throw;
        try {
            Connection(path, Access::ReadWrite, m_patience).execute(QStringLiteral("pragma schema_version"));
        } catch (const StoreError& recovery) {
            if (recovery.isBusy())
                throw;
            throw StoreError(QCoreApplication::translate(
                                 "Connection",
                                 "%1-journal, left by a write that was cut short, must be played back by a "
                                 "program that may write the notebook: open it once in Tessimor or run "
                                 "tessimor-db upgrade (%2)")
                                 .arg(path, recovery.engineText()),
                             SQLITE_READONLY_ROLLBACK);
        }
        open(path, access);
    }
}

void Connection::open(const QString& path, Access access)
{
    const int flags = access == Access::ReadOnly ? SQLITE_OPEN_READONLY
                      : access == Access::Create ? SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE
                                                 : SQLITE_OPEN_READWRITE;
    // UTF-8 on every system: on Windows the name in the system's code page would lose what it cannot hold.
    const int code = sqlite3_open_v2(path.toUtf8().constData(), &m_db, flags, nullptr);
    if (code != SQLITE_OK)
        fail(code);
    sqlite3_extended_result_codes(m_db, 1);
    sqlite3_busy_handler(m_db, &Connection::waitForLock, this);
}

int Connection::waitForLock(void* connection, int tries)
{
    auto* self = static_cast<Connection*>(connection);
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    if (tries == 0) {
        self->m_waitingSince = now;
        if (self->m_patience.waiting)
            self->m_patience.waiting();
    }
    if (now - self->m_waitingSince >= self->m_patience.ms)
        return 0;
    QThread::msleep(10);
    return 1;
}

Connection::~Connection()
{
    sqlite3_close(m_db);
}

std::unique_ptr<Statement> Connection::execute(const QString& sql, const QVariantList& values)
{
    auto statement = prepare(sql);
    statement->exec(values);
    return statement;
}

std::unique_ptr<Statement> Connection::prepare(const QString& sql)
{
    return std::make_unique<Statement>(m_db, sql);
}

void Connection::overwriteWith(Connection& source)
{
    sqlite3_backup* backup = sqlite3_backup_init(m_db, "main", source.m_db, "main");
    if (!backup)
        throw StoreError(QString::fromUtf8(sqlite3_errmsg(m_db)), sqlite3_extended_errcode(m_db));
    const int code = sqlite3_backup_step(backup, -1);
    sqlite3_backup_finish(backup);
    if (code != SQLITE_DONE)
        throw StoreError(QString::fromUtf8(sqlite3_errstr(code)), code);
}

void Connection::fail(int code)
{
    const QString text = QString::fromUtf8(m_db ? sqlite3_errmsg(m_db) : sqlite3_errstr(code));
    sqlite3_close(m_db);
    m_db = nullptr;
    throw StoreError(text, code);
}
