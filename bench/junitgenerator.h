#ifndef JUNITGENERATOR_H
#define JUNITGENERATOR_H

#include <QString>

class QIODevice;

// Writes a synthetic JUnit-style XML result file as a stream: suites of
// about fifty cases in classes of ten, most passing on one line, a share
// failing with a message and a twenty-line stack trace, a few skipped and
// a few with captured output. The same options and seed always give the
// same bytes.
class JUnitGenerator
{
public:
    void setCaseCount(int count) { m_caseCount = qMax(1, count); }
    int caseCount() const { return m_caseCount; }
    // Share of failed cases, 0 to 1; default 0.1.
    void setFailShare(double share) { m_failShare = qBound(0.0, share, 1.0); }
    void setSeed(quint64 seed) { m_seed = seed; }

    // Case totals by state, as the written file holds them.
    int failedCases() const { return countCases(Failed); }
    int skippedCases() const { return countCases(Skipped); }
    int passedCases() const { return m_caseCount - failedCases() - skippedCases(); }

    // Writes the whole file to an open, writable device.
    bool write(QIODevice* out);
    QString errorString() const { return m_error; }

private:
    enum State { Passed, Failed, Skipped };
    State caseState(int index) const;
    int countCases(State state) const;
    quint64 hash(quint64 value) const;

    int m_caseCount = 1000;
    double m_failShare = 0.1;
    quint64 m_seed = 1;
    QString m_error;
};

#endif
