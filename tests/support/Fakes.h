#pragma once

#include "Clock.h"
#include "ProgramExit.h"

#include <QList>

class RecordingExit : public ProgramExit {
public:
    void end(int status) override { statuses.append(status); }
    QList<int> statuses;
};

// Every field of the stamp tells a fault apart: day from month, 21 from 9 PM, padded minutes, seconds.
class FixedClock : public Clock {
public:
    QDateTime now() const override { return moment; }
    QDateTime moment{QDate(2024, 4, 1), QTime(21, 5, 7)};
};
