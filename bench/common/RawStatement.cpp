#include "RawStatement.h"

#include <sqlite3.h>

#include <stdexcept>
#include <string>

RawStatement::RawStatement(sqlite3* db, const QByteArray& sql)
    : m_db(db)
{
    check(sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &m_statement, nullptr));
}

RawStatement::~RawStatement()
{
    sqlite3_finalize(m_statement);
}

void RawStatement::bind(const QVariantList& values)
{
    for (int i = 0; i < values.size(); ++i) {
        const QVariant& value = values.at(i);
        if (value.typeId() == QMetaType::Int || value.typeId() == QMetaType::LongLong) {
            check(sqlite3_bind_int64(m_statement, i + 1, value.toLongLong()));
        } else {
            const QByteArray text = value.toString().toUtf8();
            check(
                sqlite3_bind_text(m_statement, i + 1, text.constData(), int(text.size()), SQLITE_TRANSIENT));
        }
    }
}

bool RawStatement::step()
{
    const int code = sqlite3_step(m_statement);
    if (code == SQLITE_ROW)
        return true;
    if (code == SQLITE_DONE)
        return false;
    check(code);
    return false;
}

void RawStatement::reset()
{
    sqlite3_reset(m_statement);
    sqlite3_clear_bindings(m_statement);
}

int RawStatement::columnCount() const
{
    return sqlite3_column_count(m_statement);
}

QByteArray RawStatement::text(int column) const
{
    const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(m_statement, column));
    return QByteArray(bytes, sqlite3_column_bytes(m_statement, column));
}

qint64 RawStatement::number(int column) const
{
    return sqlite3_column_int64(m_statement, column);
}

void RawStatement::check(int code) const
{
    if (code != SQLITE_OK)
        throw std::runtime_error(std::string("sqlite: ") + sqlite3_errmsg(m_db));
}
