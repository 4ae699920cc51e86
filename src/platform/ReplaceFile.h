#pragma once

#include <QString>

// Renames from to to in one step, replacing a file already at to: readers of to see the old file or the
// new one, never neither. Both must be on the same file system. QFile::rename refuses an existing target
// and, where it cannot rename, copies, which is not one step.
bool replaceFile(const QString& from, const QString& to);

// Whether both names reach one file, through a symbolic or a hard link too; false when either is missing.
bool sameFile(const QString& one, const QString& other);
