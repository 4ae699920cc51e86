#pragma once

#include <QJsonObject>
#include <QStringList>

// What the writer did, handed to the soak on the writer's standard output when it stops.
struct WriterTally {
    int inserts = 0;
    int deletes = 0;
    int failures = 0;
    // Deletes of one of its own pairs that found it gone: someone else removed it.
    int missing = 0;
    // The engine's texts of the first few failures.
    QStringList failureTexts;

    int writes() const { return inserts + deletes; }
    int net() const { return inserts - deletes; }

    QJsonObject toJson() const;
    static WriterTally fromJson(const QJsonObject& json);
};
