#pragma once

#include <QString>

// One pair as a file carries it. upDay is empty when the file gives no valid registration time.
struct WordRecord {
    QString upDay;
    QString english;
    QString japanese;
};
