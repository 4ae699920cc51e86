#include "FormDriver.h"

#include "DataGrid.h"
#include "Form1.h"
#include "Samples.h"

#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <stdexcept>

namespace {
template <typename T> T* child(const QWidget* form, const char* name)
{
    T* found = form->findChild<T*>(QLatin1String(name));
    if (!found)
        throw std::runtime_error(std::string("the window has no ") + name);
    return found;
}
} // namespace

FormDriver::FormDriver(const QString& notebook)
    : m_form(std::make_unique<Form1>(notebook, m_messages, m_exit, m_clock))
{
    if (m_exit.requested())
        throw std::runtime_error("the program ended at start-up: " +
                                 m_messages.takeTexts().join(' ').toStdString());
    list()->viewport()->installEventFilter(this);
    m_form->show();
    paint();
    if (m_listPaints == 0)
        throw std::runtime_error("the first frame did not paint the list");
}

FormDriver::~FormDriver() = default;

void FormDriver::click(const char* button)
{
    child<QPushButton>(m_form.get(), button)->click();
}

void FormDriver::setText(const char* box, const QString& text)
{
    child<QLineEdit>(m_form.get(), box)->setText(text);
}

QString FormDriver::text(const char* box) const
{
    return child<QLineEdit>(m_form.get(), box)->text();
}

QString FormDriver::count() const
{
    return child<QLabel>(m_form.get(), "Label3")->text();
}

QTableView* FormDriver::list() const
{
    return child<QTableView>(m_form.get(), "DataGrid1");
}

PagedResult* FormDriver::listResult() const
{
    PagedResult* result = child<DataGrid>(m_form.get(), "DataGrid1")->result();
    if (!result)
        throw std::runtime_error("the list shows no result");
    return result;
}

void FormDriver::clickRow(int row)
{
    QTableView* grid = list();
    const QRect cell = grid->visualRect(grid->model()->index(row, 0));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
}

void FormDriver::key(int key, Qt::KeyboardModifiers modifiers)
{
    QTest::keyClick(list(), Qt::Key(key), modifiers);
}

void FormDriver::showRowAtBottom(int row)
{
    QTableView* grid = list();
    const QModelIndex index = grid->model()->index(row, 0);
    grid->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    grid->scrollTo(index, QAbstractItemView::PositionAtBottom);
}

void FormDriver::paint()
{
    if (m_exit.requested())
        throw std::runtime_error("the program asked to end");
    // Twice, for what the first pass posts (an update after a delayed layout). Then the objects let go
    // with deleteLater (a replaced list's selection models): the running event loop deletes them, but
    // processEvents() outside one never does, and they would pile up.
    m_paintMs += Samples::time([] {
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    });
}

bool FormDriver::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Paint)
        ++m_listPaints;
    return QObject::eventFilter(watched, event);
}
