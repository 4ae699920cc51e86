#pragma once

#include "ProgramExit.h"

// The program asked to end (a failed start-up list): the benchmark stops instead of timing a window
// that would be gone.
class BenchExit : public ProgramExit {
public:
    void end(int status) override
    {
        m_requested = true;
        m_status = status;
    }
    bool requested() const { return m_requested; }
    int status() const { return m_status; }

private:
    bool m_requested = false;
    int m_status = 0;
};
