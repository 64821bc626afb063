#ifndef QAJUNITPARSER_H
#define QAJUNITPARSER_H

#include "qaresultsink.h"

#include "dxmlsink.h"
#include <QByteArray>
#include <QString>

#include <functional>
#include <vector>

class QIODevice;
class DXmlAttributes;
class DXmlLocator;

// Reads JUnit-style XML results (<testsuites>, <testsuite>, <testcase>, as
// most test tools write them) in one streaming pass, without recursion,
// and hands the run to a sink. A case failed when it holds <failure> or
// <error>, else it is inconclusive when it holds <skipped> (or its status
// attribute says it did not run), else it passed;
// one that passed on a rerun after <flakyFailure>/<flakyError> passed and is
// marked flaky. A <failure> or <error> right inside a <testsuite> is a suite
// that could not start: one failed case named after the suite. Consecutive
// cases of one classname form a class under their suite (none when the
// classname is the suite's name). The totals the file claims go to the
// sink, which checks them against the cases.
class QAJUnitParser : private DXmlSink
{
public:
    // Whether head, the first bytes of a file, starts a JUnit XML document.
    static bool recognises(const QByteArray& head);

    // Reads the whole device; false with errorString() on input that is
    // not JUnit XML, is malformed or truncated, nests too deep or declares
    // entities. The sink may have received part of the run by then.
    bool read(QIODevice* device, QAResultSink* sink);
    // The same for the file at path, tokenized on a second thread while
    // this one reads the run from it. progress, when given, hears how many
    // bytes of the file were read each time the reading moves on.
    bool readFile(const QString& path, QAResultSink* sink,
                  const std::function<void(qint64)>& progress = {});
    QString errorString() const { return m_error; }

private:
    enum Kind {
        Root,
        Suite,
        SuiteFailure,
        Case,
        Failure,
        Skipped,
        Flaky,
        Output,
        Properties,
        Property,
        Ignored
    };
    struct Open
    {
        Kind kind;
        QString* text; // where character data inside goes; null: dropped
    };
    struct SuiteInfo
    {
        QString name;
        QString timestamp;
        QString host;
        qint64 declared[4] = {-1, -1, -1, -1};
        QList<QPair<QString, QString>> properties;
        bool begun = false;
        bool classOpen = false;
        QString className;
    };

    bool startElement(QStringView name, const DXmlAttributes& attributes) override;
    bool endElement(QStringView name) override;
    bool characters(QStringView text, bool whitespace) override;
    Kind startInRoot(QStringView name);
    Kind startInSuite(QStringView name);
    Kind startInCase(QStringView name);
    void startSuite();
    void endSuite();
    void startCase(bool suiteFailure);
    void endCase();
    QString sharedClassName(QStringView name);
    void startFailure(bool forCase);
    void startProperty(Open& open);
    void endProperty();
    void beginRun();
    void beginSuite(SuiteInfo& suite);
    void enterClass(const QString& className);
    void leaveClass();
    void begin(QAResultSink* sink, const QString& fileName);
    bool finish();
    void readDeclared(qint64* declared) const;
    QString attribute(QLatin1String name) const;
    bool fail(const QString& message);

    const DXmlLocator* m_locator = nullptr;       // during a read
    const DXmlAttributes* m_attributes = nullptr; // of the start tag being read
    QAResultSink* m_sink = nullptr;
    QString m_error;
    std::vector<Open> m_open;
    std::vector<SuiteInfo> m_suites;
    qint64 m_runDeclared[4] = {-1, -1, -1, -1};
    bool m_runBegun = false;
    // The case being read, and what its children said.
    QAResultCase m_case;
    bool m_caseFailed = false;
    bool m_caseSkipped = false;
    bool m_caseFlaky = false;
    QString m_skipMessage;
    QString m_fileAttribute;
    int m_lineAttribute = 0;
    QString m_propertyName;
    QString m_propertyValue;
    QString m_fileName;
    QString m_className; // of the latest case
};

#endif
