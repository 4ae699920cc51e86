#include "PagedResult.h"

#include "Connection.h"
#include "StoreError.h"

#include <sqlite3.h>

#include <algorithm>

namespace {
// Where a page read starts: after the key (none: at the top or the end), skipping `offset` rows.
struct Start {
    bool reverse = false;
    QVariantList key;
    int offset = 0;
};

// One statement prepared on the engine's own handle, bound to its values as Qt binds them.
class Statement {
public:
    Statement(Connection& connection, const QString& sql, const QVariantList& values)
        : m_db(connection.handle())
    {
        const QByteArray text = sql.toUtf8();
        check(sqlite3_prepare_v2(m_db, text.constData(), int(text.size()), &m_statement, nullptr));
        for (int i = 0; i < values.size(); ++i)
            check(bind(i + 1, values.at(i)));
    }
    ~Statement() { sqlite3_finalize(m_statement); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    // Whether a row came; throws StoreError when the engine fails.
    bool step()
    {
        const int code = sqlite3_step(m_statement);
        if (code != SQLITE_DONE)
            check(code == SQLITE_ROW ? SQLITE_OK : code);
        return code == SQLITE_ROW;
    }
    int columns() const { return sqlite3_column_count(m_statement); }
    bool isText(int column) const { return sqlite3_column_type(m_statement, column) == SQLITE_TEXT; }
    // The name a field is read back by, without a table's name before it.
    QString name(int column) const
    {
        const QString name = QString::fromUtf8(sqlite3_column_name(m_statement, column)).remove(u'"');
        return name.mid(name.lastIndexOf(u'.') + 1);
    }
    // A value as Qt's driver reads it: null, a whole number, a real number, bytes, or text.
    QVariant value(int column) const
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
    QString text(int column) const
    {
        if (sqlite3_column_type(m_statement, column) != SQLITE_TEXT)
            return value(column).toString();
        const void* text = sqlite3_column_text16(m_statement, column);
        return QString(static_cast<const QChar*>(text), sqlite3_column_bytes16(m_statement, column) / 2);
    }

private:
    int bind(int at, const QVariant& value)
    {
        if (value.isNull())
            return sqlite3_bind_null(m_statement, at);
        switch (value.userType()) {
        case QMetaType::Int:
        case QMetaType::LongLong:
        case QMetaType::Bool:
        case QMetaType::UInt:
            return sqlite3_bind_int64(m_statement, at, value.toLongLong());
        case QMetaType::Double:
            return sqlite3_bind_double(m_statement, at, value.toDouble());
        case QMetaType::QByteArray: {
            const QByteArray bytes = value.toByteArray();
            return sqlite3_bind_blob(m_statement, at, bytes.constData(), int(bytes.size()), SQLITE_TRANSIENT);
        }
        default: {
            const QString text = value.toString();
            return sqlite3_bind_text16(m_statement, at, text.utf16(), int(text.size() * 2), SQLITE_TRANSIENT);
        }
        }
    }
    void check(int code) const
    {
        if (code != SQLITE_OK)
            throw StoreError(QString::fromUtf8(sqlite3_errmsg(m_db)), code);
    }

    sqlite3* m_db;
    sqlite3_stmt* m_statement = nullptr;
};

// Reads up to `limit` rows of the list from `start`, in the list's order; the first read also learns the
// field names. The rows are read on the engine's own handle: through QSqlQuery each cell would pass
// through a value object of its own first, which costs more than the engine's read of the page.
Rows readRows(Connection& connection, const Statements::List& list, const QVariantList& values,
              const Start& start, int limit, QStringList* fields)
{
    Statement query(connection, list.page(start.reverse, !start.key.isEmpty()),
                    values + (start.key.isEmpty() ? QVariantList() : Statements::List::keyValues(start.key)) +
                        QVariantList{limit, start.offset});
    const int keys = int(list.order.size());
    const int columns = query.columns() - keys;
    if (fields) {
        for (int i = 0; i < columns; ++i)
            *fields << query.name(i);
    }
    // A key that is also a column shown takes the text already read for it, when it is text.
    QVector<int> shown(keys, -1);
    for (int k = 0; k < keys; ++k) {
        for (int i = 0; i < columns; ++i) {
            if (query.name(columns + k).compare(query.name(i), Qt::CaseInsensitive) == 0)
                shown[k] = i;
        }
    }
    Rows read;
    while (query.step()) {
        QStringList row;
        row.reserve(columns);
        for (int i = 0; i < columns; ++i)
            row << query.text(i);
        QVariantList key;
        key.reserve(keys);
        for (int k = 0; k < keys; ++k)
            key << (shown[k] >= 0 && query.isText(columns + k) ? QVariant(row.at(shown[k]))
                                                               : query.value(columns + k));
        read.rows.append(row);
        read.keys.append(key);
    }
    if (start.reverse) {
        std::reverse(read.rows.begin(), read.rows.end());
        std::reverse(read.keys.begin(), read.keys.end());
    }
    return read;
}
} // namespace

QVariantList Rows::key(bool last) const
{
    const QVariantList row = keys.isEmpty() ? QVariantList() : last ? keys.constLast() : keys.constFirst();
    for (const QVariant& value : row) {
        if (value.isNull() || value.toString().isEmpty())
            return {};
    }
    return row;
}

FirstPage FirstPage::read(Connection& connection, const Statements::List& list, const QVariantList& values)
{
    FirstPage first{list, values, {}, {}};
    first.page = readRows(connection, list, values, {}, PagedResult::kPageSize, &first.fields);
    return first;
}

PagedResult::PagedResult(std::shared_ptr<Connection> connection, Statements::List list, QVariantList values,
                         const RowCount& count, std::optional<FirstPage> ahead, QObject* parent)
    : QAbstractTableModel(parent)
    , m_connection(std::move(connection))
    , m_list(std::move(list))
    , m_values(std::move(values))
    , m_pages(std::make_unique<QCache<int, Rows>>(kCachedPages))
{
    std::unique_ptr<Rows> first;
    if (ahead && ahead->list.plain() == m_list.plain() && ahead->values == m_values) {
        m_fields = ahead->fields;
        first = std::make_unique<Rows>(std::move(ahead->page));
    } else {
        first = std::make_unique<Rows>(readRows(*m_connection, m_list, m_values, {}, kPageSize, &m_fields));
    }

    // A short first page is the whole result; only a full one needs the database to count the rest.
    m_rows = first->rows.size() < kPageSize ? int(first->rows.size()) : countRows(count);
    m_pages->insert(0, first.release());
}

int PagedResult::countRows(const RowCount& count) const
{
    if (count.known >= 0)
        return count.known;
    auto counted = count.sql.isEmpty() ? m_connection->execute(QStringLiteral("select count(*) from (") +
                                                                   m_list.plain() + QLatin1Char(')'),
                                                               m_values)
                                       : m_connection->execute(count.sql, count.values);
    if (!counted->next())
        throw StoreError(QStringLiteral("the count returned no row"));
    return counted->value(0).toInt();
}

PagedResult::~PagedResult() = default;

int PagedResult::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int PagedResult::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_fields.size());
}

QVariant PagedResult::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= m_rows ||
        index.column() >= m_fields.size())
        return {};
    try {
        return text(index.row(), index.column());
    } catch (const StoreError&) {
        // Painting cannot report; the cell stays blank and the next command reports the fault.
        return {};
    }
}

QVariant PagedResult::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role == Qt::DisplayRole && orientation == Qt::Horizontal && section >= 0 && section < m_fields.size())
        return m_fields.at(section);
    return QAbstractTableModel::headerData(section, orientation, role);
}

int PagedResult::columnOf(const QString& field) const
{
    for (int i = 0; i < m_fields.size(); ++i) {
        if (m_fields.at(i).compare(field, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

void PagedResult::swapWith(PagedResult& other)
{
    beginResetModel();
    std::swap(m_connection, other.m_connection);
    std::swap(m_list, other.m_list);
    std::swap(m_values, other.m_values);
    std::swap(m_fields, other.m_fields);
    std::swap(m_rows, other.m_rows);
    std::swap(m_pages, other.m_pages);
    endResetModel();
}

QString PagedResult::text(int row, int column) const
{
    if (row < 0 || row >= m_rows || column < 0 || column >= m_fields.size())
        return {};
    const Rows& rows = page(row / kPageSize);
    const int inPage = row % kPageSize;
    return inPage < rows.rows.size() ? rows.rows.at(inPage).at(column) : QString();
}

const Rows& PagedResult::page(int number) const
{
    if (Rows* cached = m_pages->object(number))
        return *cached;
    auto fresh = std::make_unique<Rows>(readPage(number));
    Rows* kept = fresh.get();
    m_pages->insert(number, fresh.release());
    return *kept;
}

Rows PagedResult::readPage(int number) const
{
    const int first = number * kPageSize;
    const int size = std::min(kPageSize, m_rows - first);
    // From the top, or (for an ordered list) back from the end, or from the nearest row of a page held,
    // which at equal distance goes on from the rows on screen even if the table changed meanwhile.
    Start best{false, {}, first};
    if (!m_list.order.isEmpty()) {
        const int last = first + size - 1;
        if (m_rows - 1 - last < best.offset)
            best = {true, {}, m_rows - 1 - last};
        for (int held : m_pages->keys()) {
            const Rows* rows = m_pages->object(held);
            const int after = first - (held * kPageSize + int(rows->rows.size()));
            const int before = held * kPageSize - 1 - last;
            if (held < number && after <= best.offset && !rows->key(true).isEmpty())
                best = {false, rows->key(true), after};
            if (held > number && before <= best.offset && !rows->key(false).isEmpty())
                best = {true, rows->key(false), before};
        }
    }
    return readRows(*m_connection, m_list, m_values, best, size, nullptr);
}
