#pragma once

#include <QString>
#include <QStringList>

// What the soak was asked to do.
struct SoakOptions {
    int operations = 10000;
    int pairs = 100000;
    quint64 seed = 1;
    QString cache;
    // Set in the writing process: the notebook it writes to, and the file it reports its progress in.
    QString writer;
    QString progress;

    // Parses the command line; prints the help or the problem and exits on a bad one.
    static SoakOptions parse(const QStringList& arguments);
    // Whether the command line starts the writer, which needs no window; read before any application
    // object exists.
    static bool writerMode(int argc, char* argv[]);
};
