#pragma once

#include <functional>
#include <vector>

// The times of one measurement's runs, in milliseconds.
class Samples {
public:
    void add(double ms) { m_ms.push_back(ms); }
    const std::vector<double>& values() const { return m_ms; }
    bool isEmpty() const { return m_ms.empty(); }
    double median() const;

    // Milliseconds that action takes, by the monotonic clock.
    static double time(const std::function<void()>& action);

private:
    std::vector<double> m_ms;
};
