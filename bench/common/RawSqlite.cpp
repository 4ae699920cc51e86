#include "RawSqlite.h"

#include "RawStatement.h"

#include <sqlite3.h>

#include <stdexcept>
#include <string>

RawSqlite::RawSqlite(const QString& path, int busyTimeoutMs)
{
    const int code = sqlite3_open_v2(path.toUtf8().constData(), &m_db, SQLITE_OPEN_READWRITE, nullptr);
    if (code != SQLITE_OK) {
        const std::string message = m_db ? sqlite3_errmsg(m_db) : sqlite3_errstr(code);
        sqlite3_close(m_db);
        throw std::runtime_error("cannot open " + path.toStdString() + ": " + message);
    }
    sqlite3_busy_timeout(m_db, busyTimeoutMs);
}

RawSqlite::~RawSqlite()
{
    sqlite3_close(m_db);
}

void RawSqlite::exec(const QByteArray& sql, const QVariantList& values)
{
    RawStatement statement(m_db, sql);
    statement.bind(values);
    while (statement.step()) {
    }
}

int RawSqlite::read(const QByteArray& sql, const QVariantList& values, int maxRows)
{
    RawStatement statement(m_db, sql);
    statement.bind(values);
    const int columns = statement.columnCount();
    int rows = 0;
    qsizetype bytes = 0;
    while (rows < maxRows && statement.step()) {
        for (int column = 0; column < columns; ++column)
            bytes += statement.text(column).size();
        ++rows;
    }
    // Uses the texts, so the compiler cannot drop the reads.
    if (bytes < 0)
        throw std::logic_error("negative size");
    return rows;
}

qint64 RawSqlite::number(const QByteArray& sql, const QVariantList& values)
{
    RawStatement statement(m_db, sql);
    statement.bind(values);
    if (!statement.step())
        throw std::runtime_error("no row from: " + sql.toStdString());
    return statement.number(0);
}

QList<QByteArray> RawSqlite::firstRow(const QByteArray& sql, const QVariantList& values)
{
    RawStatement statement(m_db, sql);
    statement.bind(values);
    QList<QByteArray> row;
    if (statement.step()) {
        for (int column = 0; column < statement.columnCount(); ++column)
            row << statement.text(column);
    }
    return row;
}
