#pragma once

#include "ExchangeFormat.h"
#include "WordRecord.h"

#include <QVector>

class Connection;
class QIODevice;

// Writes every pair of the notebook, newest first, in one read of the table, so the file is one
// consistent moment of the notebook even while it is in use.
namespace WordExporter {

struct Report {
    int written = 0;
    // What the layout could not carry as it is (see WordFileWriter).
    QVector<WordRecord> tabsAsSpaces;
    QVector<WordRecord> leftOut;
    QVector<WordRecord> nulsReplaced;
};

// Throws StoreError or ExchangeError.
Report write(Connection& connection, QIODevice& device, ExchangeFormat format);

} // namespace WordExporter
