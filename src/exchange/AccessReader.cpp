#include "AccessReader.h"

#include "ExchangeError.h"

#include <QFile>

#include <memory>
#include <vector>

// mdbtools.h includes glib.h inside its extern "C" block, where glib's C++ templates cannot compile:
// included first, glib's include guard keeps it out of that block.
#include <glib.h>
#include <mdbtools.h>

namespace AccessReader {
namespace {
struct Free {
    void operator()(MdbHandle* handle) const { mdb_close(handle); }
    void operator()(MdbTableDef* table) const { mdb_free_tabledef(table); }
};

// Whether a Jet 4 text as stored holds half of a UTF-16 surrogate pair, which the library's UCS-2
// conversion turns into "?". The stored form is UCS-2, or, after the bytes 0xff 0xfe, a compressed form
// in which each 0x00 byte switches between one-byte characters and two-byte ones.
bool holdsSurrogate(const unsigned char* bytes, int size)
{
    const bool compressed = size >= 2 && bytes[0] == 0xff && bytes[1] == 0xfe;
    bool oneByte = compressed;
    for (int at = compressed ? 2 : 0; at < size;) {
        if (compressed && bytes[at] == 0) {
            oneByte = !oneByte;
            ++at;
        } else if (oneByte) {
            ++at;
        } else {
            if (at + 1 < size && (bytes[at + 1] & 0xf8) == 0xd8)
                return true;
            at += 2;
        }
    }
    return false;
}

// Whether the row the table fetched last holds such a text in one of the columns read.
bool lastRowLosesCharacters(MdbTableDef* table, const std::vector<int>& columns)
{
    MdbHandle* handle = table->entry->mdb;
    // Jet 3 stores texts in a code page, without surrogates to lose.
    if (IS_JET3(handle))
        return false;
    int start = 0;
    size_t size = 0;
    if (mdb_find_row(handle, int(table->cur_row) - 1, &start, &size) != 0)
        return false;
    std::vector<MdbField> fields(table->num_cols);
    mdb_crack_row(table, start & 0x1fff, size, fields.data());
    for (const MdbField& field : fields) {
        const auto* column = static_cast<MdbColumn*>(g_ptr_array_index(table->columns, field.colnum));
        if (!field.is_null && column->col_type == MDB_TEXT &&
            std::find(columns.begin(), columns.end(), field.colnum) != columns.end() &&
            holdsSurrogate(handle->pg_buf + field.start, field.siz))
            return true;
    }
    return false;
}

// The file with its catalog of tables read.
std::unique_ptr<MdbHandle, Free> open(const QString& path)
{
    std::unique_ptr<MdbHandle, Free> handle(mdb_open(QFile::encodeName(path).constData(), MDB_NOFLAGS));
    if (!handle || !mdb_read_catalog(handle.get(), MDB_TABLE))
        throw ExchangeError(ExchangeError::tr("cannot read it as an Access file"));
    return handle;
}
} // namespace

bool available()
{
    return true;
}

QStringList tables(const QString& path)
{
    const std::unique_ptr<MdbHandle, Free> handle = open(path);
    QStringList names;
    for (guint i = 0; i < handle->num_catalog; ++i) {
        auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(handle->catalog, i));
        if (entry->object_type == MDB_TABLE && !mdb_is_system_table(entry))
            names << QString::fromUtf8(entry->object_name);
    }
    return names;
}

Table read(const QString& path, const QString& tableName, const QStringList& columns)
{
    const std::unique_ptr<MdbHandle, Free> handle = open(path);
    mdb_set_date_fmt(handle.get(), "%Y/%m/%d %H:%M:%S");
    QByteArray name = tableName.toUtf8();
    const std::unique_ptr<MdbTableDef, Free> table(
        mdb_read_table_by_name(handle.get(), name.data(), MDB_TABLE));
    if (!table || !mdb_read_columns(table.get()))
        throw ExchangeError(ExchangeError::tr("there is no table %1").arg(tableName));
    std::vector<std::vector<char>> values(columns.size(), std::vector<char>(handle->bind_size));
    std::vector<int> bound;
    for (int i = 0; i < columns.size(); ++i) {
        QByteArray column = columns.at(i).toUtf8();
        const int number = mdb_bind_column_by_name(table.get(), column.data(), values[i].data(), nullptr);
        if (number < 1)
            throw ExchangeError(ExchangeError::tr("table %1 has no column %2").arg(tableName, columns.at(i)));
        bound.push_back(number - 1);
    }
    Table read;
    mdb_rewind_table(table.get());
    while (mdb_fetch_row(table.get())) {
        QStringList row;
        for (const std::vector<char>& value : values)
            row << QString::fromUtf8(value.data());
        read.rows << row;
        if (lastRowLosesCharacters(table.get(), bound))
            read.replacedRows << read.rows.size();
    }
    if (read.rows.size() != qsizetype(table->num_rows))
        throw ExchangeError(
            ExchangeError::tr("read %3 of the %2 rows that table %1 counts: the file was not closed cleanly; "
                              "compact and repair it in Access first")
                .arg(tableName)
                .arg(table->num_rows)
                .arg(read.rows.size()));
    return read;
}

} // namespace AccessReader
