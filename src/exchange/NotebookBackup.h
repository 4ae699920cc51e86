#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

// A copy of the notebook's file made by the database itself, as one consistent moment even while the
// notebook is open and being written. The copy is built under a temporary name beside the target and
// moved into place whole.
namespace NotebookBackup {

// What a copy does to a file already at its target.
enum class Existing { Refuse, Replace };

// Throws ExchangeError or StoreError; on failure the target is as it was and no temporary file is left.
void copy(const QString& notebook, const QString& target, Existing existing);

struct Daily {
    QString made; // empty when day's copy was there already
    QStringList removed;
};

// The copy of one day in folder, word-YYYY-MM-DD.mdb, made when missing (the folder too); then of the
// notebooks so named for that day or before, those beyond the newest keep are deleted. Other files, and
// copies dated later, are left alone.
Daily daily(const QString& notebook, const QString& folder, const QDate& day, int keep);

// Puts a copy back as the notebook, once NotebookCheck finds the copy whole (an index out of step is made
// afresh after). The notebook's file stays the same file, written through the database under its write
// lock, so a window that has it open sees the restored pairs and keeps writing there. The notebook as it
// was goes beside it first, to "<notebook>.before-restore", which a later restore takes back. Refuses
// (StoreError, busy) while a writer holds the notebook, changing nothing.
void restore(const QString& copy, const QString& notebook);

} // namespace NotebookBackup
