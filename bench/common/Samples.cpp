#include "Samples.h"

#include <QElapsedTimer>

#include <algorithm>

double Samples::median() const
{
    if (m_ms.empty())
        return 0.0;
    std::vector<double> sorted = m_ms;
    std::sort(sorted.begin(), sorted.end());
    const size_t middle = sorted.size() / 2;
    return sorted.size() % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2.0;
}

double Samples::time(const std::function<void()>& action)
{
    QElapsedTimer timer;
    timer.start();
    action();
    return double(timer.nsecsElapsed()) / 1e6;
}
