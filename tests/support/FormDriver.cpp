#include "FormDriver.h"

#include <QItemSelectionModel>
#include <QtTest>

QStringList FormDriver::list() const
{
    const QAbstractItemModel* model = grid("DataGrid1")->model();
    QStringList rows;
    for (int row = 0; model && row < model->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < model->columnCount(); ++column)
            cells << model->index(row, column).data().toString();
        rows << cells.join(QLatin1Char('|'));
    }
    return rows;
}

void FormDriver::selectRows(const QList<int>& rows, int current) const
{
    DataGrid* list = grid("DataGrid1");
    QItemSelectionModel* selection = list->selectionModel();
    const auto flags = QItemSelectionModel::Select | QItemSelectionModel::Rows;
    selection->clearSelection();
    for (int row : rows)
        selection->select(list->model()->index(row, 0), flags);
    if (!rows.isEmpty())
        selection->setCurrentIndex(list->model()->index(current < 0 ? rows.first() : current, 0),
                                   QItemSelectionModel::NoUpdate);
}

void FormDriver::type(const QString& english, const QString& japanese) const
{
    text("Text1")->setText(english);
    text("Text2")->setText(japanese);
}

void FormDriver::search(const QString& words) const
{
    text("Text3")->setText(words);
    QTest::keyClick(text("Text3"), Qt::Key_Return); // the list's own Search button is clicked in window_test
}

void FormDriver::expectQuiet()
{
    QCOMPARE(messages.takeTexts(), QStringList());
    QCOMPARE(messages.unexpected(), QStringList());
    QCOMPARE(messages.pendingAnswers(), 0);
    QVERIFY(exit.statuses.isEmpty());
}
