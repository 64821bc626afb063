#include "xrdconsoleprogress.h"

#include <cstdio>

void XrdConsoleProgress::setProgress(int progress, int totalSteps)
{
    m_total = totalSteps;
    setProgress(progress);
}

void XrdConsoleProgress::setProgress(int progress)
{
    m_progress = progress;
    if (m_total <= 0)
        return;
    const int tenth = int(qBound(qint64(0), qint64(progress) * 10 / m_total, qint64(10)));
    if (tenth == m_lastTenth)
        return;
    m_lastTenth = tenth;
    const QString label = m_label.isEmpty() ? QStringLiteral("xrdview:") : m_label;
    std::fprintf(stderr, "%s %d%%\n", label.toLocal8Bit().constData(), tenth * 10);
    std::fflush(stderr);
}

void XrdConsoleProgress::setLabelText(const QString& text)
{
    if (text == m_label)
        return;
    m_label = text;
    m_lastTenth = -1;
}
