#include "PagedResult.h"

#include "Connection.h"
#include "StoreError.h"

#include <algorithm>

namespace {
using Direction = Statements::List::Direction;
using From = Statements::List::From;

QVariantList usable(const QVariantList& key)
{
    for (const QVariant& value : key) {
        if (value.isNull() || value.toString().isEmpty())
            return {};
    }
    return key;
}
} // namespace

QVariantList Rows::first() const
{
    return keys.isEmpty() ? QVariantList() : usable(keys.constFirst());
}

QVariantList Rows::last() const
{
    return keys.isEmpty() ? QVariantList() : usable(keys.constLast());
}

PagedResult::PagedResult(std::shared_ptr<Connection> connection, Statements::List list, QVariantList values,
                         int rows, QObject* parent)
    : QAbstractTableModel(parent)
    , m_connection(std::move(connection))
    , m_list(std::move(list))
    , m_values(std::move(values))
    , m_pages(kCachedPages)
{
    auto first = std::make_unique<Rows>(read({}, kPageSize, &m_fields));
    // A short first page is the whole result; only a full one needs the rest counted.
    m_rows = int(first->rows.size());
    if (m_rows == kPageSize) {
        m_rows = rows;
        if (m_rows < 0) {
            auto counted = m_connection->execute(m_list.count(), m_values);
            m_rows = counted->next() ? counted->value(0).toInt() : kPageSize;
        }
    }
    m_pages.insert(0, first.release());
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
    if (role != Qt::DisplayRole || !index.isValid())
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
    const Rows& rows = page(row / kPageSize);
    const int inPage = row % kPageSize;
    return inPage < rows.rows.size() ? rows.rows.at(inPage).at(column) : QString();
}

const Rows& PagedResult::page(int number) const
{
    if (Rows* cached = m_pages.object(number))
        return *cached;
    const int first = number * kPageSize;
    const int size = std::min(kPageSize, m_rows - first);
    auto fresh = std::make_unique<Rows>(read(nearestStart(first, size), size));
    Rows* kept = fresh.get();
    m_pages.insert(number, fresh.release());
    return *kept;
}

// From the start, or (for an ordered list) back from the end, or from the nearest row of a page held,
// which at equal distance goes on from the rows on screen even if the table changed meanwhile.
PagedResult::Start PagedResult::nearestStart(int first, int size) const
{
    Start best{Direction::WithTheList, {}, first};
    if (m_list.order.isEmpty())
        return best;
    const int last = first + size - 1;
    if (m_rows - 1 - last < best.offset)
        best = {Direction::AgainstTheList, {}, m_rows - 1 - last};
    for (int held : m_pages.keys()) {
        const Rows* rows = m_pages.object(held);
        const int heldFirst = held * kPageSize;
        const int after = first - (heldFirst + int(rows->rows.size()));
        const int before = heldFirst - 1 - last;
        if (after >= 0 && after <= best.offset && !rows->last().isEmpty())
            best = {Direction::WithTheList, rows->last(), after};
        if (before >= 0 && before <= best.offset && !rows->first().isEmpty())
            best = {Direction::AgainstTheList, rows->first(), before};
    }
    return best;
}

// Up to `limit` rows of the list from `start`, in the list's order, and the names of the fields.
Rows PagedResult::read(const Start& start, int limit, QStringList* fields) const
{
    const bool keyed = !start.key.isEmpty();
    QVariantList values = m_values;
    if (keyed)
        values += Statements::List::keyValues(start.key);
    values << limit << start.offset;
    auto query =
        m_connection->execute(m_list.page(start.direction, keyed ? From::AKey : From::TheStart), values);
    const int keys = int(m_list.order.size());
    const int columns = query->columnCount() - keys;
    for (int i = 0; fields && i < columns; ++i)
        *fields << query->name(i);
    Rows read;
    while (query->next()) {
        QStringList row;
        row.reserve(columns);
        for (int i = 0; i < columns; ++i)
            row << query->text(i);
        QVariantList key;
        key.reserve(keys);
        for (int k = 0; k < keys; ++k)
            key << query->value(columns + k);
        read.rows.append(row);
        read.keys.append(key);
    }
    if (start.direction == Direction::AgainstTheList) {
        std::reverse(read.rows.begin(), read.rows.end());
        std::reverse(read.keys.begin(), read.keys.end());
    }
    return read;
}
