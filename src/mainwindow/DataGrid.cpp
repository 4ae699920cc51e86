#include "DataGrid.h"

#include "KeptCells.h"
#include "PagedResult.h"
#include "Twips.h"

#include <QEvent>
#include <QHeaderView>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyleOptionSlider>

#include <optional>

namespace {
// The rows' header, which keeps a section a row. When a list becomes shorter Qt walks every row left to
// renumber the hidden ones (about 2.5 ms for a million); no row of a grid is ever hidden, so that walk is
// left out and only the sections past the new end go.
class RowHeader : public QHeaderView {
public:
    explicit RowHeader(QWidget* parent)
        : QHeaderView(Qt::Vertical, parent)
    {}
    void reset() override
    {
        const int rows = model() ? model()->rowCount(rootIndex()) : 0;
        if (rows <= 0 || rows >= count() || hiddenSectionCount() > 0) {
            QHeaderView::reset();
            return;
        }
        QAbstractItemView::reset();
        initializeSections(rows - 1, rows - 1);
    }
};

// The columns' header. A new result with the same columns under the same names leaves it as it is, and as
// drawn.
class ColumnHeader : public QHeaderView {
public:
    explicit ColumnHeader(QWidget* parent)
        : QHeaderView(Qt::Horizontal, parent)
    {}
    void reset() override
    {
        QStringList labels;
        for (int column = 0; model() && column < model()->columnCount(rootIndex()); ++column)
            labels << model()->headerData(column, Qt::Horizontal).toString();
        if (labels == m_labels)
            return;
        m_labels = labels;
        QHeaderView::reset();
    }

private:
    QStringList m_labels;
};

// The list's scroll bar. Drawing it costs as much as drawing the rows, and in a long list a command that
// adds, removes or scrolls a few rows seldom moves the handle by a whole pixel: then the bar is left as
// drawn. A style that fades its bars in when they change is told of every change.
class ListScrollBar : public QScrollBar {
public:
    explicit ListScrollBar(QWidget* parent)
        : QScrollBar(Qt::Vertical, parent)
    {}

protected:
    void sliderChange(SliderChange change) override
    {
        if (change == SliderOrientationChange || !m_drawn || look() != *m_drawn ||
            style()->styleHint(QStyle::SH_ScrollBar_Transient, nullptr, this))
            QScrollBar::sliderChange(change);
    }
    void paintEvent(QPaintEvent* event) override
    {
        QScrollBar::paintEvent(event);
        m_drawn = look();
    }

private:
    // What the range and the value decide of the bar's look.
    struct Look {
        QRect handle;
        bool atMinimum = false, atMaximum = false;
        bool operator!=(const Look& other) const
        {
            return handle != other.handle || atMinimum != other.atMinimum || atMaximum != other.atMaximum;
        }
    };
    Look look() const
    {
        QStyleOptionSlider option;
        initStyleOption(&option);
        return {style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, this),
                value() == minimum(), value() == maximum()};
    }

    std::optional<Look> m_drawn;
};
} // namespace

DataGrid::DataGrid(QWidget* parent)
    : QTableView(parent)
{
    setHorizontalHeader(new ColumnHeader(this));
    setVerticalHeader(new RowHeader(this));
    setItemDelegate(new KeptCells(this));
    setVerticalScrollBar(new ListScrollBar(this));
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
    // Columns come in at the width they are shown at, with the header's signals held: the grid is laid out
    // again after the reset anyway, and told of each column resized it would paint them all once more.
    const int width = m_defaultColumnWidth > 0 ? Twips::toPixels(this, m_defaultColumnWidth) : 0;
    if (width > 0 && width != horizontalHeader()->defaultSectionSize()) {
        const QSignalBlocker quiet(horizontalHeader());
        horizontalHeader()->setDefaultSectionSize(width);
    }
    if (m_result) {
        // The old result, and the connection under it, go at the end of this scope.
        m_result->swapWith(*result);
    } else {
        m_result = std::move(result);
        QItemSelectionModel* oldSelection = selectionModel();
        setModel(m_result.get());
        delete oldSelection;
        connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, &DataGrid::SelChange);
    }
    if (width > 0) {
        const QSignalBlocker quiet(horizontalHeader());
        for (int column = 0; column < m_result->columnCount(); ++column)
            setColumnWidth(column, width);
    }
    scrollToTop();
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
