#pragma once

#include "Operation.h"
#include "WriterTally.h"

#include <QString>
#include <QStringList>

#include <array>

// What one soak did and saw, and every check that failed.
struct SoakFigures {
    QString notebook;
    int pairs = 0;
    int operations = 0;
    quint64 seed = 0;
    std::array<int, Operations::kKinds> byKind{};
    int done = 0;
    double seconds = 0;

    WriterTally writer;
    qint64 maxJournal = 0;
    int journalSeen = 0;
    qint64 maxWal = 0;
    int walSeen = 0;
    double residentFirst = 0;
    // -1 when the run was too short to warm up.
    double residentBaseline = -1;
    double residentLast = 0;
    double residentMax = 0;

    int listsChecked = 0;
    int rechecks = 0;
    // What the first few checks made again had found.
    QStringList recheckExamples;
    qint64 cellsRead = 0;
    int noHitSearches = 0;

    QString integrity;
    qint64 startRows = 0;
    qint64 registered = 0;
    qint64 deleted = 0;
    qint64 finalRows = -1;
    qint64 writerRows = -1;

    QStringList failures;

    qint64 expectedRows() const { return startRows + registered - deleted + writer.net(); }
};
