#pragma once

#include <QString>
#include <QStringList>

// Whether the notebook's file is sound: the database's own integrity check finds no damage, the table
// wordDB has its columns UpDay, English and Japanese, and a search index there is in step with it.
class NotebookCheck {
public:
    // Throws StoreError only when another program keeps the file busy past the wait, or a journal left by
    // an interrupted write cannot be played back: the file is not damaged then.
    explicit NotebookCheck(const QString& path);

    bool sound() const { return problems().isEmpty(); }
    // Sound but perhaps for its search index, which can be made afresh from the table.
    bool whole() const { return m_problems.isEmpty(); }
    // One line per fault found, in the language of the translation the program installed (English without
    // one), with the database's words where no sentence says more.
    QStringList problems() const { return m_problems + m_indexProblems; }
    qint64 pairs() const { return m_pairs; }

private:
    void run(const QString& path);

    QStringList m_problems;
    QStringList m_indexProblems;
    qint64 m_pairs = 0;
};
