#pragma once

#include <QString>

// Notebooks of a given number of pairs, made with the store's own schema and kept in a folder, so a
// rerun reuses them. A file's name carries its size, the generator's version and a digest of the
// schema, so a change to either makes a new one.
class NotebookCache {
public:
    explicit NotebookCache(QString folder);

    // The kept notebook of this many pairs, made first when missing. Never to be written to.
    QString notebook(int size);
    // A fresh copy of that notebook, which the caller may write to; `purpose` names it, so programs
    // sharing the folder do not replace each other's copies.
    QString workingCopy(int size, const QString& purpose);

private:
    QString schemaTag();
    void generate(const QString& path, int size);
    void removeStale(int size, const QString& keep);

    QString m_folder;
    QString m_schemaTag;
};
