#pragma once

#include <QString>
#include <QStringList>

#include <vector>

// What the benchmark was asked to do.
struct BenchOptions {
    std::vector<int> sizes{10000, 100000, 1000000};
    int runs = 5;
    QString out;
    QString cache;
    // Set in the process that measures one size on its own, so its memory figure is its own.
    int childSize = 0;
    QString childNotebook;

    // Parses the command line; prints the help or the problem and exits on a bad one.
    static BenchOptions parse(const QStringList& arguments);
};
