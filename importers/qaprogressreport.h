#ifndef QAPROGRESSREPORT_H
#define QAPROGRESSREPORT_H

#include <QString>

class QAStudioInterface;

// Tells the host's progress display how far the reading of a file got, as
// the report reader does: one position per 50 bytes. The display starts
// when the report is made and ends when it goes; with a null host nothing
// is shown.
class QAProgressReport
{
public:
    QAProgressReport(QAStudioInterface* host, qint64 totalBytes, const QString& label);
    ~QAProgressReport();
    QAProgressReport(const QAProgressReport&) = delete;
    QAProgressReport& operator=(const QAProgressReport&) = delete;

    // bytes: how many were read so far, in all.
    void setBytesRead(qint64 bytes);

private:
    QAStudioInterface* m_host;
    int m_totalSteps = 0;
    int m_lastStep = -1;
};

#endif
