#pragma once

#include <QString>

// The notebook file: where it lives and how a new one is made.
namespace Notebook {

// C:\word.mdb on Windows; elsewhere word.mdb in the user's data folder ($XDG_DATA_HOME/tessimor).
QString defaultPath();

// Creates the file with the table wordDB and its indexes. Refuses a path that already exists.
// Throws StoreError on failure; a failed creation leaves no file behind.
void create(const QString& path);

} // namespace Notebook
