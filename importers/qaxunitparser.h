#ifndef QAXUNITPARSER_H
#define QAXUNITPARSER_H

#include "qaresultsink.h"

#include <QString>

#include <vector>

class QAResultScopes;
class QAXmlCursor;
class QIODevice;

// Reads an xUnit.net v2 result file (root <assemblies>) in one pass and
// feeds a sink: assemblies and collections as suites, each test's type as
// its class. Tests of one class may be interleaved with others, so a
// collection's tests wait until its end tag, then go out grouped by class
// in the order the classes were met. Errors outside tests (a failed
// fixture cleanup) become warnings.
class QAXUnitParser
{
public:
    // head: the first bytes of the file.
    static bool recognises(const QByteArray& head);
    bool read(QIODevice* device, QAResultSink* sink);
    // Why read failed: "line N: what is wrong".
    QString errorString() const { return m_error; }

private:
    // An assembly or a collection, with the tests read in it so far.
    struct Unit
    {
        qint64 totals[4] = {-1, 0, 0, 0}; // tests, failures, errors, skipped
        std::vector<QAResultCase> cases;
    };

    void readElements(QAXmlCursor& cursor);
    void openAssembly(QAXmlCursor& cursor);
    void openCollection(QAXmlCursor& cursor);
    void closeUnit();
    void readTest(QAXmlCursor& cursor);
    void readError(QAXmlCursor& cursor);
    void beginRun(const QString& timestamp);

    QAResultScopes* m_scopes = nullptr;
    QAResultRunInfo m_info;
    std::vector<Unit> m_units;
    QString m_error;
};

#endif
