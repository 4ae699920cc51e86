#pragma once

#include <QDateTime>

// The moment a pair is registered comes from here, so tests can stand at any date.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
};

class SystemClock : public Clock {
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};
