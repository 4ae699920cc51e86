#pragma once

#include "SizeResult.h"

#include <QString>

#include <optional>
#include <vector>

// The speed and memory the notebook must reach at a million pairs on a two-core machine, warm cache.
namespace Targets {

constexpr int kTargetSize = 1000000;
constexpr int kSmallerSize = 100000;
inline const char kMemoryId[] = "memory";

struct Target {
    QString text;
    double limit = 0;
    // A further limit at 100 000 pairs, where the target has one.
    std::optional<double> smallerLimit;
};

// The target of a command (or of kMemoryId), if it has one.
std::optional<Target> of(const QString& id);

// "pass" or "FAIL" against the target, or why there is no verdict.
QString verdict(const QString& id, const std::vector<SizeResult>& sizes);

// The figure a target is checked against: a command's median, or the memory.
std::optional<double> figure(const QString& id, const SizeResult& size);

} // namespace Targets
