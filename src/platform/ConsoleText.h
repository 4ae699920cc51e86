#pragma once

#include <QString>

#include <cstdio>

// A command-line program's standard streams.
namespace ConsoleText {

// Bytes go through unchanged, so an export written to standard output is the file itself. Windows would
// otherwise write each "\n" as "\r\n".
void useBinaryStreams();

// Text for the person at a console: on Windows, as its characters whatever the console's code page;
// everywhere else, and into a file or pipe, as UTF-8.
void write(std::FILE* stream, const QString& text);

} // namespace ConsoleText
