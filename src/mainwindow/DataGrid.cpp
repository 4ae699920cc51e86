#include "DataGrid.h"

#include "PagedResult.h"
#include "Twips.h"

#include <QEvent>
#include <QHeaderView>

DataGrid::DataGrid(QWidget* parent)
    : QTableView(parent)
{
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setHighlightSections(false);
}

DataGrid::~DataGrid()
{
    // The view must let go of the model before the model goes.
    setModel(nullptr);
}

void DataGrid::changeEvent(QEvent* event)
{
    QTableView::changeEvent(event);
    // Rows as tall as the text needs, like a spreadsheet's, so more of the list is in view.
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
}

void DataGrid::setDefaultColumnWidth(float twips)
{
    m_defaultColumnWidth = twips;
}

void DataGrid::setDataSource(std::unique_ptr<PagedResult> result)
{
    if (m_defaultColumnWidth > 0)
        horizontalHeader()->setDefaultSectionSize(Twips::toPixels(this, m_defaultColumnWidth));
    QItemSelectionModel* oldSelection = selectionModel();
    setModel(result.get());
    delete oldSelection;
    // The old result, and the connection under it, go once the view has let go of it.
    m_result = std::move(result);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, &DataGrid::SelChange);
    if (m_result->rowCount() > 0)
        selectionModel()->setCurrentIndex(m_result->index(0, 0), QItemSelectionModel::NoUpdate);
}

QString DataGrid::columnText(const QString& field) const
{
    if (!m_result)
        return {};
    const int column = m_result->columnOf(field);
    const QModelIndex current = currentIndex();
    if (column < 0 || !current.isValid())
        return {};
    return m_result->text(current.row(), column);
}

int DataGrid::selectedRowCount() const
{
    return selectionModel() ? int(selectionModel()->selectedRows().size()) : 0;
}
