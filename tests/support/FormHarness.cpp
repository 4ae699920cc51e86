#include "FormHarness.h"

#include "PagedResult.h"

#include <QItemSelectionModel>
#include <QtTest>

QStringList FormHarness::list() const
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

QStringList FormHarness::columns() const
{
    const PagedResult* result = grid("DataGrid1")->result();
    return result ? result->fieldNames() : QStringList();
}

void FormHarness::selectRows(const QList<int>& rows, int current) const
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

void FormHarness::type(const QString& english, const QString& japanese) const
{
    text("Text1")->setText(english);
    text("Text2")->setText(japanese);
}

void FormHarness::search(const QString& words) const
{
    text("Text3")->setText(words);
    click("Command5");
}

QStringList FormHarness::deleteRows(const QList<int>& rows, int current)
{
    selectRows(rows, current);
    messages.answerNext(MessageBox::Answer::Yes);
    click("Command2");
    QStringList shown = messages.takeTexts();
    if (shown.value(0) == QStringLiteral("選択中のレコードを削除しますか"))
        shown.removeFirst();
    else
        shown.prepend(QStringLiteral("<no question>"));
    return shown;
}

void FormHarness::expectQuiet()
{
    QCOMPARE(messages.takeTexts(), QStringList());
    QCOMPARE(messages.unexpected(), QStringList());
    QCOMPARE(messages.pendingAnswers(), 0);
    QVERIFY(exit.statuses.isEmpty());
}
