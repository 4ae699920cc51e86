#include "PagedResult.h"

#include "Connection.h"
#include "StoreError.h"

#include <QSqlRecord>

PagedResult::PagedResult(std::shared_ptr<Connection> connection, QString sql, QVariantList values,
                         QObject* parent)
    : QAbstractTableModel(parent)
    , m_connection(std::move(connection))
    , m_sql(std::move(sql))
    , m_values(std::move(values))
    , m_pages(kCachedPages) {
    auto first = std::make_unique<Page>(readPage(0, &m_fields));

    // A short first page is the whole result; only a full one needs the database to count the rest.
    m_rows = first->size();
    if (m_rows == kPageSize) {
        auto count = m_connection->execute(
            QStringLiteral("select count(*) from (") + m_sql + QLatin1Char(')'), m_values);
        if (!count->next())
            throw StoreError(QStringLiteral("count returned no row"));
        m_rows = count->value(0).toInt();
    }
    m_pages.insert(0, first.release());
}

PagedResult::~PagedResult() = default;

int PagedResult::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_rows;
}

int PagedResult::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_fields.size());
}

QVariant PagedResult::data(const QModelIndex& index, int role) const {
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

QVariant PagedResult::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role == Qt::DisplayRole && orientation == Qt::Horizontal && section >= 0 && section < m_fields.size())
        return m_fields.at(section);
    return QAbstractTableModel::headerData(section, orientation, role);
}

int PagedResult::columnOf(const QString& field) const {
    for (int i = 0; i < m_fields.size(); ++i) {
        if (m_fields.at(i).compare(field, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QString PagedResult::text(int row, int column) const {
    if (row < 0 || row >= m_rows || column < 0 || column >= m_fields.size())
        return {};
    const Page& rows = page(row / kPageSize);
    const int inPage = row % kPageSize;
    return inPage < rows.size() ? rows.at(inPage).at(column) : QString();
}

const PagedResult::Page& PagedResult::page(int number) const {
    if (Page* cached = m_pages.object(number))
        return *cached;
    auto fresh = std::make_unique<Page>(readPage(number, nullptr));
    Page* kept = fresh.get();
    m_pages.insert(number, fresh.release());
    return *kept;
}

PagedResult::Page PagedResult::readPage(int number, QStringList* fields) const {
    auto query = m_connection->execute(m_sql + QStringLiteral(" limit ? offset ?"),
                                       m_values + QVariantList{kPageSize, number * kPageSize});
    if (fields) {
        const QSqlRecord record = query->record();
        for (int i = 0; i < record.count(); ++i)
            *fields << record.fieldName(i);
    }
    Page rows;
    while (query->next()) {
        QStringList row;
        for (int i = 0; i < m_fields.size(); ++i)
            row << query->value(i).toString();
        rows.append(row);
    }
    return rows;
}
