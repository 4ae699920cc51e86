#include "PagedResult.h"

#include "Connection.h"
#include "Statements.h"
#include "StoreError.h"

#include <QSqlRecord>

namespace {
// Reads one page of rows; the first read also learns the field names.
QVector<QStringList> readRows(Connection& connection, const QString& sql, const QVariantList& values,
                              int offset, QStringList* fields)
{
    auto query =
        connection.execute(sql + Statements::kPage, values + QVariantList{PagedResult::kPageSize, offset});
    const int columns = query->record().count();
    if (fields) {
        for (int i = 0; i < columns; ++i)
            *fields << query->record().fieldName(i);
    }
    QVector<QStringList> rows;
    while (query->next()) {
        QStringList row;
        for (int i = 0; i < columns; ++i)
            row << query->value(i).toString();
        rows.append(row);
    }
    return rows;
}
} // namespace

FirstPage FirstPage::read(Connection& connection, const QString& sql, const QVariantList& values)
{
    FirstPage page{sql, values, {}, {}};
    page.rows = readRows(connection, sql, values, 0, &page.fields);
    return page;
}

PagedResult::PagedResult(std::shared_ptr<Connection> connection, QString sql, QVariantList values,
                         const RowCount& count, std::optional<FirstPage> ahead, QObject* parent)
    : QAbstractTableModel(parent)
    , m_connection(std::move(connection))
    , m_sql(std::move(sql))
    , m_values(std::move(values))
    , m_pages(kCachedPages)
{
    std::unique_ptr<Page> first;
    if (ahead && ahead->sql == m_sql && ahead->values == m_values) {
        m_fields = ahead->fields;
        first = std::make_unique<Page>(std::move(ahead->rows));
    } else {
        first = std::make_unique<Page>(readRows(*m_connection, m_sql, m_values, 0, &m_fields));
    }

    // A short first page is the whole result; only a full one needs the database to count the rest.
    m_rows = first->size() < kPageSize ? int(first->size()) : countRows(count);
    m_pages.insert(0, first.release());
}

int PagedResult::countRows(const RowCount& count) const
{
    if (count.known >= 0)
        return count.known;
    auto counted = count.sql.isEmpty()
                       ? m_connection->execute(
                             QStringLiteral("select count(*) from (") + m_sql + QLatin1Char(')'), m_values)
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

QString PagedResult::text(int row, int column) const
{
    if (row < 0 || row >= m_rows || column < 0 || column >= m_fields.size())
        return {};
    const Page& rows = page(row / kPageSize);
    const int inPage = row % kPageSize;
    return inPage < rows.size() ? rows.at(inPage).at(column) : QString();
}

const PagedResult::Page& PagedResult::page(int number) const
{
    if (Page* cached = m_pages.object(number))
        return *cached;
    auto fresh = std::make_unique<Page>(readPage(number));
    Page* kept = fresh.get();
    m_pages.insert(number, fresh.release());
    return *kept;
}

PagedResult::Page PagedResult::readPage(int number) const
{
    return readRows(*m_connection, m_sql, m_values, number * kPageSize, nullptr);
}
