#include "DataGrid.h"

#include "KeptCells.h"
#include "PagedResult.h"
#include "Twips.h"

#include <QEvent>
#include <QHeaderView>
#include <QPainter>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyleOptionSlider>

#include <algorithm>
#include <optional>

namespace {
// The rows' header, which keeps a section a row. Qt reckons the position of every row again whenever a list
// gets longer (about 1.2 ms for a million), and walks every row left when it gets shorter (about 2.5 ms).
// A grid's rows are never hidden and all of a height, so the header keeps the sections of the longest list
// it has held; the grid neither paints nor scrolls past the last row of the list it shows.
class RowHeader : public QHeaderView {
public:
    explicit RowHeader(QWidget* parent)
        : QHeaderView(Qt::Vertical, parent)
    {}
    void reset() override
    {
        if (holdsRows())
            QAbstractItemView::reset();
        else
            QHeaderView::reset();
    }
    void doItemsLayout() override
    {
        if (holdsRows())
            QAbstractItemView::doItemsLayout();
        else
            QHeaderView::doItemsLayout();
    }

private:
    bool holdsRows() const
    {
        return model() && model()->rowCount(rootIndex()) <= count() && hiddenSectionCount() == 0;
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

    // While held, changes leave the bar as it is; let go, it is drawn again if it would look different.
    void hold(bool held)
    {
        m_held = held;
        if (!held && (!m_drawn || look() != *m_drawn))
            update();
    }

protected:
    void sliderChange(SliderChange change) override
    {
        if (m_held && change != SliderOrientationChange)
            return;
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
    bool m_held = false;
};

int rowsOf(const QAbstractItemView& view)
{
    return view.model() ? view.model()->rowCount(view.rootIndex()) : 0;
}
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

void DataGrid::updateGeometries()
{
    auto* bar = static_cast<ListScrollBar*>(verticalScrollBar());
    bar->hold(true);
    QTableView::updateGeometries();
    // The rows' header may keep sections past the list's last row; the bar ends at that row, counted in
    // rows or in pixels as the style scrolls.
    const int rows = rowsOf(*this);
    if (verticalHeader()->count() > rows) {
        const int end =
            verticalScrollMode() == ScrollPerItem || rows == 0
                ? rows
                : verticalHeader()->sectionPosition(rows - 1) + verticalHeader()->sectionSize(rows - 1);
        bar->setRange(0, std::max(0, end - bar->pageStep()));
    }
    bar->hold(false);
}

void DataGrid::paintEvent(QPaintEvent* event)
{
    QTableView::paintEvent(event);
    // Past the list's last row, where the rows' header may keep sections, the grid shows nothing.
    const int rows = rowsOf(*this);
    if (verticalHeader()->count() <= rows)
        return;
    const int end = rows > 0 ? rowViewportPosition(rows - 1) + rowHeight(rows - 1) : 0;
    if (end < viewport()->height()) {
        QPainter painter(viewport());
        painter.fillRect(QRect(0, end, viewport()->width(), viewport()->height() - end),
                         viewport()->palette().brush(viewport()->backgroundRole()));
    }
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
