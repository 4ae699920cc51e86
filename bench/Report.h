#pragma once

#include "SizeResult.h"

#include <QJsonObject>
#include <QString>

#include <vector>

// The figures of every size as a Markdown table, with the target and the verdict at a million pairs,
// and the same figures as JSON.
class Report {
public:
    Report(std::vector<SizeResult> sizes, int runs);

    QString markdown() const;
    QJsonObject json() const;
    // Writes the JSON; throws std::runtime_error when it cannot.
    void write(const QString& path) const;

private:
    QString header() const;
    QString commandRow(const CommandResult& command) const;
    QString memoryRow() const;
    QString searchHits() const;

    std::vector<SizeResult> m_sizes;
    int m_runs;
};
