#pragma once

#include <QString>

// A copy of the notebook's file made by the database itself, as one consistent moment even while the
// notebook is open and being written. The copy is built under a temporary name beside the target and
// moved into place whole.
namespace NotebookBackup {

// Refuses an existing target unless overwrite is set. Throws ExchangeError or StoreError; on failure
// the target is as it was and no temporary file is left.
void copy(const QString& notebook, const QString& target, bool overwrite);

} // namespace NotebookBackup
