#pragma once

#include "WordGenerator.h"
#include "WriterProgress.h"
#include "WriterTally.h"

#include <QString>
#include <QVariantList>

#include <sys/types.h>

#include <vector>

class Connection;

// The second process of the soak: now and then it opens a connection of its own, as another copy of the
// program would, and inserts a pair or deletes one of its own earlier pairs. It stops when its standard
// input closes (the soak tells it so, or has gone) and prints its tally as JSON on standard output.
class Writer {
public:
    // English of the writer's pairs starts with this; no generated or registered word does.
    static const QString kPrefix;

    Writer(QString notebook, const QString& progress, quint64 seed);
    int run();

private:
    // Waits that long; true when it is time to stop.
    bool stopRequested(int ms);
    void writeOnce();
    void insert(Connection& connection);
    void removeOne(Connection& connection);

    QString m_notebook;
    WriterProgress m_progress;
    WordGenerator m_random;
    pid_t m_parent;
    std::vector<QVariantList> m_pairs;
    int m_serial = 0;
    WriterTally m_tally;
};
