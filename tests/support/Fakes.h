#pragma once

#include "Clock.h"
#include "ProgramExit.h"

#include <QList>

class RecordingExit : public ProgramExit {
public:
    void end(int status) override { statuses.append(status); }
    QList<int> statuses;
};

class FixedClock : public Clock {
public:
    QDateTime now() const override { return moment; }
    QDateTime moment{QDate(2024, 4, 1), QTime(9, 30, 0)};
};
