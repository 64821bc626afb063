#include "benchhost.h"

#include <algorithm>

bool BenchHost::queryInterface(const QUuid&, QUnknownInterface** iface)
{
    *iface = this;
    return true;
}

void BenchHost::startWatch()
{
    m_clock.start();
    m_last = 0;
    longestGapMs = 0;
}

void BenchHost::tick()
{
    if (!m_clock.isValid())
        return;
    const double now = m_clock.nsecsElapsed() / 1e6;
    longestGapMs = std::max(longestGapMs, now - m_last);
    m_last = now;
}
