#pragma once

#include "Samples.h"

#include <QJsonObject>
#include <QMap>
#include <QString>

#include <vector>

// One command's figures at one size: the window's (and the part of it after the handler: layout and
// painting), and raw SQLite's for the same statements (none when the command needs no statement of
// its own).
struct CommandResult {
    QString id;
    QString label;
    Samples tessimor;
    Samples painting;
    Samples raw;
};

// Everything measured on one notebook size; travels as JSON from the process that measured it.
struct SizeResult {
    int size = 0;
    std::vector<CommandResult> commands;
    // Resident memory after the jump to the end of the list, and before the window was first built.
    double residentMb = 0;
    double residentBeforeWindowMb = 0;
    QMap<QString, qint64> searchHits;

    const CommandResult* command(const QString& id) const;
    QJsonObject toJson() const;
    static SizeResult fromJson(const QJsonObject& json);
};
