#include "ResidentWatch.h"

#include "Machine.h"

#include <algorithm>

ResidentWatch::ResidentWatch(int every, int warmUp)
    : m_every(every)
    , m_warmUp(warmUp)
{}

void ResidentWatch::after(int operations, bool last)
{
    if (operations % m_every != 0 && !last)
        return;
    const double mb = Machine::residentMb();
    if (m_first < 0)
        m_first = mb;
    if (operations == m_warmUp)
        m_baseline = mb;
    m_last = mb;
    m_largest = std::max(m_largest, mb);
}
