#include "Report.h"

#include "Machine.h"
#include "Targets.h"

#include <QDateTime>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>

#include <stdexcept>

namespace {
const QString kNone = QStringLiteral("—");

QString pairs(int size)
{
    QString digits = QString::number(size);
    for (int i = int(digits.size()) - 3; i > 0; i -= 3)
        digits.insert(i, QLatin1Char(' '));
    return digits;
}

QString number(double value)
{
    return QString::number(value, 'f', value < 10 ? 2 : 1);
}

QString row(const QStringList& cells)
{
    return QStringLiteral("| ") + cells.join(QStringLiteral(" | ")) + QStringLiteral(" |\n");
}
} // namespace

Report::Report(std::vector<SizeResult> sizes, int runs)
    : m_sizes(std::move(sizes))
    , m_runs(runs)
{}

QString Report::markdown() const
{
    QString text =
        QStringLiteral("Machine: %1\nMedian of %2 runs after one warm-up run, in ms; raw SQLite runs "
                       "the same statements (first page of 256 rows, counts) through its C API.\n\n")
            .arg(Machine::describe())
            .arg(m_runs);
    text += header();
    if (!m_sizes.empty()) {
        for (const CommandResult& command : m_sizes.front().commands)
            text += commandRow(command);
    }
    text += memoryRow();
    return text + searchHits();
}

QString Report::header() const
{
    QStringList cells{QStringLiteral("Command")};
    for (const SizeResult& size : m_sizes)
        cells << QStringLiteral("%1: Tessimor").arg(pairs(size.size))
              << QStringLiteral("%1: raw SQLite").arg(pairs(size.size));
    cells << QStringLiteral("Target at %1").arg(pairs(Targets::kTargetSize)) << QStringLiteral("Verdict");
    QStringList rule;
    for (int i = 0; i < cells.size(); ++i)
        rule << (i == 0 ? QStringLiteral("---") : QStringLiteral("---:"));
    return row(cells) + row(rule);
}

QString Report::commandRow(const CommandResult& command) const
{
    QStringList cells{command.label};
    for (const SizeResult& size : m_sizes) {
        const CommandResult* here = size.command(command.id);
        cells << (here ? number(here->tessimor.median()) : kNone);
        cells << (here && !here->raw.isEmpty() ? number(here->raw.median()) : kNone);
    }
    const std::optional<Targets::Target> target = Targets::of(command.id);
    cells << (target ? target->text : kNone) << (target ? Targets::verdict(command.id, m_sizes) : QString());
    return row(cells);
}

QString Report::memoryRow() const
{
    QStringList cells{QStringLiteral("Resident memory after the jump to the end (MB)")};
    for (const SizeResult& size : m_sizes)
        cells << number(size.residentMb) << kNone;
    cells << Targets::of(QLatin1String(Targets::kMemoryId))->text
          << Targets::verdict(QLatin1String(Targets::kMemoryId), m_sizes);
    return row(cells);
}

QString Report::searchHits() const
{
    QString text = QStringLiteral("\nSearch hits:");
    for (const SizeResult& size : m_sizes) {
        QStringList hits;
        for (auto it = size.searchHits.cbegin(); it != size.searchHits.cend(); ++it)
            hits << QStringLiteral("\"%1\" %2").arg(it.key()).arg(it.value());
        text += QStringLiteral(" %1 pairs: %2.").arg(pairs(size.size), hits.join(QStringLiteral(", ")));
    }
    return text + QLatin1Char('\n');
}

QJsonObject Report::json() const
{
    QJsonArray sizes;
    QJsonObject verdicts;
    for (const SizeResult& size : m_sizes)
        sizes.append(size.toJson());
    QStringList ids{QLatin1String(Targets::kMemoryId)};
    if (!m_sizes.empty()) {
        for (const CommandResult& command : m_sizes.front().commands)
            ids << command.id;
    }
    for (const QString& id : ids) {
        if (const std::optional<Targets::Target> target = Targets::of(id))
            verdicts.insert(
                id, QJsonObject{{"target", target->text}, {"verdict", Targets::verdict(id, m_sizes)}});
    }
    return {{"measured_at", QDateTime::currentDateTime().toString(Qt::ISODate)},
            {"machine", Machine::toJson()},
            {"runs", m_runs},
            {"sizes", sizes},
            {"targets_at_1000000", verdicts}};
}

void Report::write(const QString& path) const
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(QJsonDocument(json()).toJson()) < 0)
        throw std::runtime_error("cannot write " + path.toStdString());
}
