#include "SoakReport.h"

#include "Machine.h"

namespace {
QString line(const char* label, const QString& text)
{
    return QStringLiteral("  %1 %2\n").arg(QLatin1String(label), -12).arg(text);
}

QString megabytes(double mb)
{
    return QStringLiteral("%1 MB").arg(mb, 0, 'f', 1);
}

QString kilobytes(qint64 bytes)
{
    return QStringLiteral("%1 KB").arg(double(bytes) / 1024.0, 0, 'f', 1);
}
} // namespace

SoakReport::SoakReport(SoakFigures figures)
    : m_figures(std::move(figures))
{}

QString SoakReport::text() const
{
    const SoakFigures& f = m_figures;
    QString out = QStringLiteral("Soak: %1 of %2 operations on %3 pairs, seed %4\n")
                      .arg(f.done)
                      .arg(f.operations)
                      .arg(f.pairs)
                      .arg(f.seed);
    out += line("Machine", Machine::describe());
    out += line("Operations", operations());
    out += line("Elapsed", QStringLiteral("%1 s, %2 operations/s")
                               .arg(f.seconds, 0, 'f', 1)
                               .arg(f.seconds > 0 ? f.done / f.seconds : 0.0, 0, 'f', 1));
    out += line("Writer", writer());
    out += line("Journal", journal());
    out += line("Memory", memory());
    out +=
        line("Lists", QStringLiteral("%1 checked against the count and the file, %2 checked again after the "
                                     "writer wrote; %3 cells read in view")
                          .arg(f.listsChecked)
                          .arg(f.rechecks)
                          .arg(f.cellsRead));
    if (!f.recheckExamples.isEmpty())
        out += line("Rechecked", QStringLiteral("first: ") + f.recheckExamples.join(QStringLiteral("; ")));
    out += line("Searches", QStringLiteral("%1 without a hit").arg(f.noHitSearches));
    out += line("Integrity", f.integrity.isEmpty() ? QStringLiteral("not checked") : f.integrity);
    out += line("Pairs", pairs());
    return out + verdict();
}

QString SoakReport::operations() const
{
    QStringList parts;
    for (int kind = 0; kind < Operations::kKinds; ++kind)
        parts << QStringLiteral("%1 %2")
                     .arg(QLatin1String(Operations::name(Operation(kind))))
                     .arg(m_figures.byKind[size_t(kind)]);
    return parts.join(QStringLiteral(", "));
}

QString SoakReport::writer() const
{
    const WriterTally& w = m_figures.writer;
    QString text = QStringLiteral("%1 writes (%2 inserts, %3 deletes), %4 failures")
                       .arg(w.writes())
                       .arg(w.inserts)
                       .arg(w.deletes)
                       .arg(w.failures);
    if (!w.failureTexts.isEmpty())
        text += QStringLiteral(": ") + w.failureTexts.join(QStringLiteral("; "));
    if (w.missing > 0)
        text += QStringLiteral(", %1 of its pairs gone before it deleted them").arg(w.missing);
    return text;
}

QString SoakReport::journal() const
{
    const SoakFigures& f = m_figures;
    const QString wal =
        f.walSeen > 0
            ? QStringLiteral("-wal max %1 (present in %2 samples)").arg(kilobytes(f.maxWal)).arg(f.walSeen)
            : QStringLiteral("-wal never present");
    return QStringLiteral("-journal max %1 (present in %2 of %3 samples); %4")
        .arg(kilobytes(f.maxJournal))
        .arg(f.journalSeen)
        .arg(f.done)
        .arg(wal);
}

QString SoakReport::memory() const
{
    const SoakFigures& f = m_figures;
    const QString after = f.residentBaseline < 0 ? QStringLiteral("too few operations to measure growth")
                                                 : QStringLiteral("after warm-up %1, growth %2")
                                                       .arg(megabytes(f.residentBaseline),
                                                            megabytes(f.residentLast - f.residentBaseline));
    return QStringLiteral("VmRSS first %1, last %2, max %3; %4")
        .arg(megabytes(f.residentFirst), megabytes(f.residentLast), megabytes(f.residentMax), after);
}

QString SoakReport::pairs() const
{
    const SoakFigures& f = m_figures;
    return QStringLiteral(
               "%1 + %2 registered - %3 deleted %4 %5 by the writer = %6; the file holds %7, %8 of "
               "them the writer's")
        .arg(f.startRows)
        .arg(f.registered)
        .arg(f.deleted)
        .arg(f.writer.net() < 0 ? QLatin1Char('-') : QLatin1Char('+'))
        .arg(qAbs(f.writer.net()))
        .arg(f.expectedRows())
        .arg(f.finalRows)
        .arg(f.writerRows);
}

QString SoakReport::verdict() const
{
    if (m_figures.failures.isEmpty())
        return QStringLiteral("Verdict: PASS\n");
    QString text;
    for (const QString& failure : m_figures.failures)
        text += QStringLiteral("FAIL: ") + failure + QLatin1Char('\n');
    return text +
           QStringLiteral("Verdict: FAIL (again with: scripts/soak --pairs %1 --operations %2 --seed %3; "
                          "the notebook is kept at %4)\n")
               .arg(m_figures.pairs)
               .arg(m_figures.operations)
               .arg(m_figures.seed)
               .arg(m_figures.notebook);
}
