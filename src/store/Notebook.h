#pragma once

#include <QString>

// The notebook file: where it lives and how a new one is made.
namespace Notebook {

// The environment variable naming the user's data folder: APPDATA on Windows, XDG_DATA_HOME elsewhere.
extern const char* const kDataFolderVariable;

// The notebook in the user's data folder: %APPDATA%\Tessimor\word.mdb on Windows, where a standard user may
// write (the old design's C:\word.mdb is brought over by the launcher); elsewhere
// $XDG_DATA_HOME/tessimor/word.mdb, by default ~/.local/share/tessimor/word.mdb.
QString defaultPath();
// Where defaultPath() is when the data folder is the one given.
QString pathIn(const QString& dataFolder);

// Creates the file with the table wordDB and its indexes. Refuses a path that already exists.
// Throws StoreError on failure; a failed creation leaves no file behind.
void create(const QString& path);

} // namespace Notebook
