#pragma once

#include "WordRecord.h"

#include <QVector>

class Clock;
class Connection;

struct ImportReport {
    int added = 0;
    int alreadyInNotebook = 0;
    int repeatedInFile = 0;
    // Added pairs that carried no valid time of their own and got the import's.
    int stamped = 0;

    int skipped() const { return alreadyInNotebook + repeatedInFile; }
};

// Adds pairs to the notebook in one transaction, skipping every pair the notebook already holds by the
// rule Register uses: both texts equal, compared by the database as the table's columns compare.
class WordImporter {
public:
    WordImporter(Connection& connection, const Clock& clock);

    // A dry run's transaction is rolled back, so the report tells what an import would do.
    // Throws StoreError; nothing is written then.
    enum class Mode { Add, DryRun };
    ImportReport import(const QVector<WordRecord>& words, Mode mode);

private:
    void addAll(const QVector<WordRecord>& words, ImportReport& report);
    qint64 lastRowId();
    void rollBack();

    Connection& m_connection;
    const Clock& m_clock;
};
