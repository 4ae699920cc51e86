#include "ListCheck.h"

#include "FormDriver.h"
#include "PagedResult.h"
#include "RawSqlite.h"
#include "Statements.h"
#include "StoreError.h"

#include <QTableView>

#include <stdexcept>

namespace {
const QString kCountSuffix = QStringLiteral("件");
} // namespace

ListCheck::ListCheck(FormDriver& form, RawSqlite& raw)
    : m_form(form)
    , m_raw(raw)
{}

qint64 ListCheck::tableCount()
{
    return m_raw.number(Statements::kTotalCount);
}

qint64 ListCheck::searchCount(const QString& text)
{
    // The soak searches letters only, which need no escaping.
    return m_raw.number(Statements::kSearchCount, {QLatin1Char('%') + text + QLatin1Char('%')});
}

qint64 ListCheck::pairCount(const QVariantList& pair)
{
    return m_raw.number(Statements::kCheckPair, pair);
}

QString ListCheck::listProblem(qint64 stored)
{
    ++m_listsChecked;
    const qint64 rows = m_form.list()->model()->rowCount();
    const qint64 shown = shownCount();
    if (rows != shown)
        return QStringLiteral("the list has %1 rows but the count shows %2").arg(rows).arg(shown);
    if (rows != stored)
        return QStringLiteral("the list and the count show %1 but the file holds %2").arg(rows).arg(stored);
    return cellsProblem();
}

QString ListCheck::cellsProblem()
{
    const QTableView* list = m_form.list();
    const int rows = list->model()->rowCount();
    const int first = list->rowAt(0);
    if (first < 0)
        return {};
    int last = list->rowAt(list->viewport()->height() - 1);
    if (last < 0)
        last = rows - 1;
    const int columns = list->model()->columnCount();
    for (int row = first; row <= last; ++row) {
        for (int column = 0; column < columns; ++column) {
            ++m_cellsRead;
            if (cell(row, column).isEmpty())
                return QStringLiteral("row %1 of the list's %2 is blank").arg(row).arg(rows);
        }
    }
    return {};
}

QVariantList ListCheck::pairAt(int row)
{
    const PagedResult* result = m_form.listResult();
    return {cell(row, result->columnOf(QStringLiteral("English"))),
            cell(row, result->columnOf(QStringLiteral("Japanese")))};
}

qint64 ListCheck::shownCount() const
{
    const QString label = m_form.count();
    bool ok = false;
    const qint64 count = label.endsWith(kCountSuffix) ? label.chopped(1).toLongLong(&ok) : 0;
    if (!ok)
        throw std::runtime_error("the count label shows \"" + label.toStdString() + "\", not a count");
    return count;
}

QString ListCheck::cell(int row, int column) const
{
    try {
        return m_form.listResult()->text(row, column);
    } catch (const StoreError& error) {
        // The list swallows this and paints the row blank: a grid cut short without a word.
        throw std::runtime_error("reading row " + std::to_string(row) +
                                 " of the list failed, which the list shows as a blank row: " + error.what());
    }
}
