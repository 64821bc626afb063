#ifndef QATRXPARSER_H
#define QATRXPARSER_H

#include "qaresultsink.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <vector>

class QAResultScopes;
class QAXmlCursor;
class QIODevice;

// Reads a Visual Studio TRX file (root <TestRun>) in one pass and feeds a
// sink: run -> one suite for the test run -> classes -> cases, a
// data-driven test as a suite of its rows after its class. A result's
// class comes from the test definitions, which may follow the results, so
// the results are kept until the end of the file (or of what could be
// read) and then handed out grouped by class in the order first met.
class QATrxParser
{
public:
    // head: the first bytes of the file.
    static bool recognises(const QByteArray& head);
    bool read(QIODevice* device, QAResultSink* sink);
    // Why read failed: "line N: what is wrong".
    QString errorString() const { return m_error; }

private:
    struct Result
    {
        QString testId;
        QAResultCase testCase;
        std::vector<QAResultCase> rows; // a data-driven test's inner results
    };

    void readElements(QAXmlCursor& cursor);
    void readResult(QAXmlCursor& cursor);
    void readCounters(const QAXmlCursor& cursor);
    void emitAll();
    void emitClass(const QString& className, const std::vector<const Result*>& results);

    QAResultScopes* m_scopes = nullptr;
    QAResultRunInfo m_info;
    QString m_runName;
    QString m_runUser;
    std::vector<Result> m_results;
    QHash<QString, QString> m_classOfTest; // test id -> class name
    QString m_testId;                      // the test definition being read
    qint64 m_totals[4] = {-1, 0, 0, 0};
    QStringList m_warnings;
    QString m_error;
};

#endif
