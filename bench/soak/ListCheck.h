#pragma once

#include <QString>
#include <QVariantList>

class FormDriver;
class RawSqlite;

// What the soak checks the list against: the count label, and the file read through a connection of the
// soak's own. A problem comes back as a sentence (empty when there is none), so the soak can tell one
// the writer may have caused from one it cannot have; failures no writer can cause throw at once.
class ListCheck {
public:
    ListCheck(FormDriver& form, RawSqlite& raw);

    qint64 tableCount();
    // Pairs whose English contains the text, as Search counts them.
    qint64 searchCount(const QString& text);
    // How many pairs the file holds exactly like this one.
    qint64 pairCount(const QVariantList& pair);

    // The list's rows, the count shown and `stored` disagree, or a cell in view is blank.
    QString listProblem(qint64 stored);
    // A cell in view is blank. Reads every cell in view as the list paints them.
    QString cellsProblem();
    // The English and Japanese of a row of the list.
    QVariantList pairAt(int row);

    int listsChecked() const { return m_listsChecked; }
    qint64 cellsRead() const { return m_cellsRead; }

private:
    qint64 shownCount() const;
    QString cell(int row, int column) const;

    FormDriver& m_form;
    RawSqlite& m_raw;
    int m_listsChecked = 0;
    qint64 m_cellsRead = 0;
};
