#pragma once

// Ending the program on a fatal failure. The real one stops the event loop, or, before the loop has
// started, leaves a note that main reads instead of showing the window.
class ProgramExit {
public:
    virtual ~ProgramExit() = default;
    virtual void end(int status) = 0;
};

class QtProgramExit : public ProgramExit {
public:
    void end(int status) override;
    bool requested() const { return m_requested; }
    int status() const { return m_status; }

private:
    bool m_requested = false;
    int m_status = 0;
};
