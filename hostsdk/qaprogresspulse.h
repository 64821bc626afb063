#ifndef QAPROGRESSPULSE_H
#define QAPROGRESSPULSE_H

#include <QElapsedTimer>
#include <QString>

class QAStudioInterface;

// Keeps the host's progress display moving during long work that has no
// count of steps known in advance (building views of a large report). While
// a pulse lives it is the current one: code deep in that work calls tick()
// per item, and every interval of work a step goes to the host. Pulses nest;
// an inner one only lends the current slot to its own label.
class QAProgressPulse
{
public:
    // Starts a progress run without a known total on host (nothing is
    // reported when host is null).
    QAProgressPulse(QAStudioInterface* host, const QString& label, int intervalMs = 50);
    // Ends the run; the pulse that was current before is current again.
    ~QAProgressPulse();
    QAProgressPulse(const QAProgressPulse&) = delete;
    QAProgressPulse& operator=(const QAProgressPulse&) = delete;

    // One item of work done. Costs an increment; the clock is read once per
    // 256 items, so items must be short (micro-seconds) for steps to stay
    // within the interval.
    static void tick()
    {
        if (s_current && (++s_current->m_items & 255) == 0)
            s_current->check();
    }

    int steps() const { return m_steps; }

private:
    void check();

    // Per thread: work on another thread never reports to this one's host.
    static thread_local QAProgressPulse* s_current;
    QAProgressPulse* m_previous;
    QAStudioInterface* m_host;
    QElapsedTimer m_clock;
    qint64 m_lastStepMs = 0;
    int m_intervalMs;
    unsigned m_items = 0;
    int m_steps = 0;
};

#endif
