#pragma once

#include <QString>

// Starting another program by its path, in a window of its own, without waiting for it.
class ProgramLauncher {
public:
    virtual ~ProgramLauncher() = default;
    // False when the program could not be started.
    virtual bool start(const QString& path) = 0;
};

class QtProgramLauncher : public ProgramLauncher {
public:
    bool start(const QString& path) override;
};
