#ifndef REPORTGENERATOR_H
#define REPORTGENERATOR_H

#include <QByteArray>
#include <QString>

class QIODevice;

// Writes a synthetic report index file (.xrd) of a workspace holding
// suites of tests of test cases, as a stream: only a small buffer is held,
// whatever the number of cases. The same options and seed always give the
// same bytes. Each case is one XROD:NODE holding a section with a title,
// one or two paragraphs, a small check/expected/actual table and a source
// link; suites and tests get their own section and title.
class ReportGenerator
{
public:
    ReportGenerator();

    // Number of test cases, split into tests of about ten cases and suites
    // of a few dozen tests. At least 1.
    void setCaseCount(int count);
    int caseCount() const { return m_caseCount; }
    // Share of failed ("ko") cases, 0 to 1; default 0.1.
    void setFailShare(double share);
    double failShare() const { return m_failShare; }
    // Share of cases not executed ("NE"), 0 to 1; default 0.02.
    void setNotExecutedShare(double share);
    double notExecutedShare() const { return m_notExecutedShare; }
    void setSeed(quint64 seed) { m_seed = seed; }
    quint64 seed() const { return m_seed; }

    int testCount() const;
    int suiteCount() const;

    // Case totals by state, as the written file declares them in "sum".
    int okCases() const { return countCases('o'); }
    int koCases() const { return countCases('k'); }
    int neCases() const { return countCases('N'); }

    // Writes the whole report to an open, writable device.
    bool write(QIODevice* out);
    // Writes the report to a file, replacing it.
    bool writeFile(const QString& path);
    QString errorString() const { return m_error; }

private:
    enum State : char { Passed = 'o', Failed = 'k', NotExecuted = 'N' };
    class CaseRandom;

    State caseState(int caseIndex) const;
    State rangeState(int firstCase, int endCase) const;
    int countCases(char state) const;
    int firstCaseOfTest(int test) const;
    int firstTestOfSuite(int suite) const;

    void writeSuite(int suite);
    void writeTest(int test);
    void writeCase(int caseIndex, int number);
    void writeCheckTable(CaseRandom& random, State state);
    void writeTitle(int level, State state, const QByteArray& text);
    void writeNodeStart(const QByteArray& name, const char* type, State state);

    void put(const char* text);
    void put(const QByteArray& text);
    void putNumber(qint64 number);
    bool flush();

    int m_caseCount = 1000;
    double m_failShare = 0.1;
    double m_notExecutedShare = 0.02;
    quint64 m_seed = 1;

    QIODevice* m_out = nullptr;
    QByteArray m_buffer;
    QString m_error;
};

#endif
