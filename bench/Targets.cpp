#include "Targets.h"

#include <QHash>

namespace {
const SizeResult* sized(const std::vector<SizeResult>& sizes, int pairs)
{
    for (const SizeResult& size : sizes) {
        if (size.size == pairs)
            return &size;
    }
    return nullptr;
}
} // namespace

namespace Targets {

std::optional<Target> of(const QString& id)
{
    static const QHash<QString, Target> targets = {
        {"startup", {QStringLiteral("≤ 300 ms"), 300, {}}},
        {"normal", {QStringLiteral("≤ 20 ms"), 20, {}}},
        {"alphabet", {QStringLiteral("≤ 20 ms"), 20, {}}},
        {"date", {QStringLiteral("≤ 20 ms"), 20, {}}},
        {"register_new", {QStringLiteral("≤ 30 ms"), 30, {}}},
        {"register_duplicate", {QStringLiteral("≤ 30 ms"), 30, {}}},
        {"delete", {QStringLiteral("≤ 30 ms"), 30, {}}},
        {"search_rare", {QStringLiteral("≤ 150 ms (≤ 20 ms at 100 000)"), 150, 20}},
        {"search_none", {QStringLiteral("≤ 150 ms (≤ 20 ms at 100 000)"), 150, 20}},
        {"jump_end", {QStringLiteral("≤ 50 ms"), 50, {}}},
        {"page_down_top", {QStringLiteral("≤ 16 ms"), 16, {}}},
        {"page_down_middle", {QStringLiteral("≤ 16 ms"), 16, {}}},
        {kMemoryId, {QStringLiteral("≤ 100 MB"), 100, {}}},
    };
    const auto it = targets.find(id);
    if (it == targets.end())
        return std::nullopt;
    return *it;
}

std::optional<double> figure(const QString& id, const SizeResult& size)
{
    if (id == QLatin1String(kMemoryId))
        return size.residentMb;
    const CommandResult* command = size.command(id);
    if (!command)
        return std::nullopt;
    return command->tessimor.median();
}

QString verdict(const QString& id, const std::vector<SizeResult>& sizes)
{
    const std::optional<Target> target = of(id);
    if (!target)
        return {};
    const SizeResult* full = sized(sizes, kTargetSize);
    const std::optional<double> value = full ? figure(id, *full) : std::nullopt;
    if (!value)
        return QStringLiteral("not measured");
    bool met = *value <= target->limit;
    if (target->smallerLimit) {
        const SizeResult* smaller = sized(sizes, kSmallerSize);
        const std::optional<double> smallerValue = smaller ? figure(id, *smaller) : std::nullopt;
        if (!smallerValue)
            return met ? QStringLiteral("pass at 1M; 100k not measured") : QStringLiteral("FAIL");
        met = met && *smallerValue <= *target->smallerLimit;
    }
    return met ? QStringLiteral("pass") : QStringLiteral("FAIL");
}

} // namespace Targets
