#include "EndChecks.h"

#include "RawSqlite.h"
#include "SoakFigures.h"
#include "Statements.h"
#include "Writer.h"

namespace {
constexpr qint64 kMaxJournalBytes = 8 * 1024 * 1024;
constexpr double kMaxGrowthMb = 15;

void writer(SoakFigures& figures)
{
    const WriterTally& writer = figures.writer;
    if (figures.done > 0 && writer.writes() == 0)
        figures.failures << QStringLiteral("the writer wrote nothing, so nothing ran beside the window");
    if (writer.failures > 0)
        figures.failures << QStringLiteral("the writer could not write %1 times (%2): the notebook was held "
                                           "longer than the busy timeout")
                                .arg(writer.failures)
                                .arg(writer.failureTexts.join(QStringLiteral("; ")));
    if (writer.missing > 0)
        figures.failures << QStringLiteral("%1 of the writer's pairs were gone before it deleted them")
                                .arg(writer.missing);
}
} // namespace

namespace EndChecks {

void gauges(SoakFigures& figures)
{
    if (figures.maxJournal > kMaxJournalBytes || figures.maxWal > kMaxJournalBytes)
        figures.failures << QStringLiteral("the journal grew to %1 bytes (-wal %2), above %3")
                                .arg(figures.maxJournal)
                                .arg(figures.maxWal)
                                .arg(kMaxJournalBytes);
    const double growth = figures.residentLast - figures.residentBaseline;
    if (figures.residentBaseline >= 0 && growth > kMaxGrowthMb)
        figures.failures << QStringLiteral(
                                "memory grew by %1 MB after warm-up (%2 MB to %3 MB), more than %4 MB")
                                .arg(growth, 0, 'f', 1)
                                .arg(figures.residentBaseline, 0, 'f', 1)
                                .arg(figures.residentLast, 0, 'f', 1)
                                .arg(kMaxGrowthMb);
    writer(figures);
}

void file(SoakFigures& figures, RawSqlite& raw)
{
    figures.integrity = QString::fromUtf8(raw.firstRow("pragma integrity_check").value(0));
    if (figures.integrity != QLatin1String("ok"))
        figures.failures << QStringLiteral("pragma integrity_check says: ") + figures.integrity;
    figures.finalRows = raw.number(Statements::kTotalCount);
    figures.writerRows = raw.number(Statements::kSearchCount, {Writer::kPrefix + QLatin1Char('%')});
    // A run stopped half way may have left an operation's tally short; its own failure says what.
    if (figures.done < figures.operations)
        return;
    if (figures.finalRows != figures.expectedRows())
        figures.failures << QStringLiteral("the file holds %1 pairs, expected %2")
                                .arg(figures.finalRows)
                                .arg(figures.expectedRows());
    if (figures.writerRows != figures.writer.net())
        figures.failures << QStringLiteral("the file holds %1 of the writer's pairs, expected %2")
                                .arg(figures.writerRows)
                                .arg(figures.writer.net());
}

} // namespace EndChecks
