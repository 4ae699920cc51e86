#pragma once

#include <QString>
#include <QStringList>

// Whether the notebook's file is sound: the database's own integrity check finds no damage and the
// table wordDB has its columns UpDay, English and Japanese.
class NotebookCheck {
public:
    // Throws StoreError only when another program keeps the file busy past the wait.
    explicit NotebookCheck(const QString& path);

    bool sound() const { return m_problems.isEmpty(); }
    // One line per fault found, in the database's words where it found them.
    QStringList problems() const { return m_problems; }
    qint64 pairs() const { return m_pairs; }

private:
    void run(const QString& path);

    QStringList m_problems;
    qint64 m_pairs = 0;
};
