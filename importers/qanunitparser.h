#ifndef QANUNITPARSER_H
#define QANUNITPARSER_H

#include "qaresultsink.h"

#include <QString>

#include <vector>

class QAResultScopes;
class QAXmlCursor;
class QIODevice;

// Reads an NUnit 3 result file (root <test-run>) in one pass and feeds a
// sink: assemblies, namespaces and other suites as suites, fixtures as
// classes, test cases with their failure, skip reason, output and
// properties. A suite is handed to the sink when its first child comes,
// once its properties and the environment (the run's host) are read.
class QANUnitParser
{
public:
    // head: the first bytes of the file.
    static bool recognises(const QByteArray& head);
    bool read(QIODevice* device, QAResultSink* sink);
    // Why read failed: "line N: what is wrong".
    QString errorString() const { return m_error; }

private:
    enum class Kind { Suite, Class, Flat }; // Flat: a suite inside a class, not shown
    struct Frame
    {
        Kind kind = Kind::Suite;
        QString name;
        QList<QPair<QString, QString>> properties;
        int depth = 0;
        bool begun = false;
        qint64 totals[4] = {-1, 0, 0, 0}; // tests, failures, errors, skipped
    };

    void readElements(QAXmlCursor& cursor);
    void openSuite(QAXmlCursor& cursor);
    void closeSuite();
    void beginPending();
    QList<QPair<QString, QString>> readProperties(QAXmlCursor& cursor);
    void readCase(QAXmlCursor& cursor);
    QString className() const;

    QAResultScopes* m_scopes = nullptr;
    QAResultRunInfo m_info;
    std::vector<Frame> m_frames; // the suites open, outermost first
    size_t m_begun = 0;          // how many of them the sink has been given
    int m_classFrame = -1;       // the frame of the class open, -1: none
    QString m_error;
};

#endif
