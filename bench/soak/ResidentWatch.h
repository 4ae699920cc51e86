#pragma once

// The process's resident memory every so many operations. Growth is measured from the sample after a
// warm-up, once caches and fonts have settled, to the last one.
class ResidentWatch {
public:
    ResidentWatch(int every, int warmUp);

    // Samples before the first operation, after every `every`, and at the end (`last`).
    void after(int operations, bool last = false);

    double first() const { return m_first; }
    bool warmedUp() const { return m_baseline >= 0; }
    double baseline() const { return m_baseline; }
    double last() const { return m_last; }
    double largest() const { return m_largest; }
    double growth() const { return m_last - m_baseline; }

private:
    int m_every;
    int m_warmUp;
    double m_first = -1;
    double m_baseline = -1;
    double m_last = 0;
    double m_largest = 0;
};
