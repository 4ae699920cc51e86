#pragma once

#include "ExchangeFormat.h"

class Connection;
class QIODevice;

// Writes every pair of the notebook, newest first, in one read of the table, so the file is one
// consistent moment of the notebook even while it is in use.
namespace WordExporter {

// Returns how many pairs were written. Throws StoreError or ExchangeError.
int write(Connection& connection, QIODevice& device, ExchangeFormat format);

} // namespace WordExporter
