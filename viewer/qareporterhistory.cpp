#include "qareporterhistory.h"

namespace {

// Places kept each way; the oldest go first.
constexpr int maxPlaces = 100;

void push(QList<QAReporterHistory::Place>& places, const QAReporterHistory::Place& place)
{
    places.append(place);
    if (places.size() > maxPlaces)
        places.removeFirst();
}

} // namespace

void QAReporterHistory::visit(const Place& current)
{
    push(m_back, current);
    m_forward.clear();
}

std::optional<QAReporterHistory::Place> QAReporterHistory::back(const Place& current)
{
    if (m_back.isEmpty())
        return std::nullopt;
    push(m_forward, current);
    return m_back.takeLast();
}

std::optional<QAReporterHistory::Place> QAReporterHistory::forward(const Place& current)
{
    if (m_forward.isEmpty())
        return std::nullopt;
    push(m_back, current);
    return m_forward.takeLast();
}
