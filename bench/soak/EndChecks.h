#pragma once

struct SoakFigures;
class RawSqlite;

// The checks made once the operations are over. Each adds what failed to the figures' failures.
namespace EndChecks {

// The journal and memory stayed bounded, and the writer wrote, and never failed to.
void gauges(SoakFigures& figures);
// The file is sound and holds exactly the pairs the tallies say; fills in what it read. Throws
// std::runtime_error when it cannot read the file.
void file(SoakFigures& figures, RawSqlite& raw);

} // namespace EndChecks
