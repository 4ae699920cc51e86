#pragma once

#include "Connection.h"

#include <QString>

#include <memory>

class ExchangeError;
class StoreError;

// The notebook's file as the commands reach it, and the words they use when that fails.
namespace NotebookFile {

// The notebook's path; throws ExchangeError when there is no file there.
QString existingPath();
// Opens the notebook at its usual place. Throws ExchangeError when there is no file, StoreError when
// the database refuses it.
std::unique_ptr<Connection> open(Connection::Access access);

// "tessimor-db: ..." on standard error for each kind of failure; return Exit::kRefused.
int refuse(const StoreError& error);
int refuse(const ExchangeError& error, const QString& file = {});

} // namespace NotebookFile
