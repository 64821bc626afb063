#include "qajunitparser.h"

#include "dxmlattributes.h"
#include "dxmlbatchqueue.h"
#include "dxmleventbatch.h"
#include "dxmltokenizer.h"
#include "qatestcount.h"

#include <QCoreApplication>
#include <QFile>
#include <QXmlStreamReader>

#include <algorithm>
#include <cmath>

namespace {

// The tokenizing thread reads ahead by a few small batches: the two
// threads then overlap to the end of the file, and little memory is in
// flight.
const int ReadAheadBatches = 8;
const qsizetype BatchBytes = 128 * 1024;

// The translation context of the texts below, declared here so that
// lupdate files them under it too.
struct Texts
{
    Q_DECLARE_TR_FUNCTIONS(QAJUnitParser)
};

// Seconds as tools write them: "0.25", "1,234.5" (thousands separated);
// -1 when missing or not a usable number.
double secondsOf(QStringView text)
{
    text = text.trimmed();
    if (text.isEmpty())
        return -1;
    // Most times are plain decimals ("0.123"): read without the general
    // number parser, which costs more than the rest of a passed case.
    qint64 digits = 0;
    int count = 0;
    int fraction = -1;
    bool plain = true;
    for (QChar c : text) {
        if (c == u'.' && fraction < 0) {
            fraction = 0;
        } else if (c >= u'0' && c <= u'9' && ++count <= 15) {
            digits = digits * 10 + (c.unicode() - u'0');
            if (fraction >= 0)
                ++fraction;
        } else {
            plain = false;
            break;
        }
    }
    // A plain time has at most 15 digits, so its fraction too: the power of
    // ten is exact as a double and comes from a table instead of std::pow.
    static const double powersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                         1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    if (plain && count > 0)
        return double(digits) / powersOfTen[qMax(0, fraction)];
    QString digitsText = text.toString();
    digitsText.remove(QLatin1Char(','));
    bool ok = false;
    const double value = digitsText.toDouble(&ok);
    return ok && std::isfinite(value) && value >= 0 ? value : -1;
}

// A literal as a view whose size the compiler knows: a view made from the
// literal itself would measure it at each comparison.
template <size_t N> constexpr QStringView word(const char16_t (&text)[N])
{
    return QStringView(text, qsizetype(N - 1));
}

// Names compared often, measured once instead of at each comparison.
namespace Attribute {
constexpr QStringView Name = u"name";
constexpr QStringView ClassName = u"classname";
constexpr QStringView Time = u"time";
constexpr QStringView File = u"file";
constexpr QStringView Line = u"line";
constexpr QStringView Status = u"status";
} // namespace Attribute

// Whether key is word, compared inline: attribute names are short, and
// most comparisons are decided by their length.
bool isKey(QStringView key, QStringView word)
{
    return key.size() == word.size() && std::equal(word.begin(), word.end(), key.begin());
}

// The attributes of a <testcase>, read in one pass; a view is null when its
// attribute is absent.
struct CaseAttributes
{
    explicit CaseAttributes(const DXmlAttributes& attributes)
    {
        for (int index = 0; index < attributes.count(); ++index) {
            const QStringView key = attributes.name(index);
            if (QStringView* value = slotOf(key))
                *value = attributes.value(index);
        }
    }

    QStringView* slotOf(QStringView key)
    {
        if (isKey(key, Attribute::Name))
            return &name;
        if (isKey(key, Attribute::ClassName))
            return &className;
        if (isKey(key, Attribute::Time))
            return &time;
        if (isKey(key, Attribute::File))
            return &file;
        if (isKey(key, Attribute::Line))
            return &line;
        if (isKey(key, Attribute::Status))
            return &status;
        return nullptr;
    }

    QStringView name, className, time, file, line, status;
};

bool isFailure(QStringView name)
{
    return name == word(u"failure") || name == word(u"error");
}

bool isFlaky(QStringView name)
{
    return name == word(u"flakyFailure") || name == word(u"flakyError") ||
           name == word(u"rerunFailure") || name == word(u"rerunError");
}

} // namespace

bool QAJUnitParser::recognises(const QByteArray& head)
{
    QXmlStreamReader xml(head);
    xml.setNamespaceProcessing(false);
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement)
            return xml.qualifiedName() == u"testsuites" || xml.qualifiedName() == u"testsuite";
    }
    return false;
}

void QAJUnitParser::begin(QAResultSink* sink, const QString& fileName)
{
    m_error.clear();
    m_open.clear();
    m_suites.clear();
    m_runBegun = false;
    std::fill(std::begin(m_runDeclared), std::end(m_runDeclared), -1);
    m_sink = sink;
    m_case = QAResultCase();
    m_fileName = fileName;
    m_className.clear();
}

bool QAJUnitParser::finish()
{
    if (!m_runBegun)
        return fail(Texts::tr("no test result found"));
    m_sink->endRun();
    return true;
}

bool QAJUnitParser::read(QIODevice* device, QAResultSink* sink)
{
    auto* file = qobject_cast<QFile*>(device);
    begin(sink, file ? file->fileName() : QString());
    if (!device || !sink)
        return fail(Texts::tr("nothing to read"));
    DXmlTokenizer tokenizer(device, this);
    m_locator = &tokenizer;
    const bool ok = tokenizer.run();
    // When the parser stopped the tokenizer, it has said why.
    if (!ok && tokenizer.error() != DXmlTokenizer::Stopped)
        fail(tokenizer.errorMessage());
    m_locator = nullptr;
    return ok && finish();
}

bool QAJUnitParser::readFile(const QString& path, QAResultSink* sink,
                             const std::function<void(qint64)>& progress)
{
    begin(sink, path);
    if (!sink)
        return fail(Texts::tr("nothing to read"));
    DXmlBatchQueue queue(ReadAheadBatches, BatchBytes, DXmlBatchQueue::KeptThread);
    queue.start(path);
    const auto noTimeLimit = [] { return false; };
    while (std::unique_ptr<DXmlEventBatch> batch = queue.next()) {
        m_locator = batch.get();
        const bool ok = batch->replay(this, noTimeLimit);
        m_locator = nullptr;
        if (!ok)
            return false; // the parser said why; the queue stops its worker
        if (progress)
            progress(batch->inputEnd());
    }
    m_error = queue.errorString();
    if (!m_error.isEmpty())
        return false;
    return finish();
}

bool QAJUnitParser::fail(const QString& message)
{
    if (m_locator && m_locator->lineNumber() > 0)
        m_error = Texts::tr("line %1, column %2: %3")
                      .arg(m_locator->lineNumber())
                      .arg(m_locator->columnNumber())
                      .arg(message);
    else
        m_error = message;
    return false;
}

QString QAJUnitParser::attribute(QLatin1String name) const
{
    return m_attributes->value(name).toString();
}

void QAJUnitParser::readDeclared(qint64* declared) const
{
    const DXmlAttributes& attributes = *m_attributes;
    auto count = [&attributes](const char* name) {
        const QStringView text = attributes.value(QLatin1String(name));
        return text.isNull() ? qint64(-1) : QATestCount::parse(text);
    };
    declared[0] = count("tests");
    declared[1] = count("failures");
    declared[2] = count("errors");
    // Disabled cases are written as cases that did not run.
    const qint64 skipped = count("skipped");
    const qint64 disabled = count("disabled");
    declared[3] =
        skipped < 0 || disabled < 0 ? qMax(skipped, disabled) : QATestCount::add(skipped, disabled);
}

bool QAJUnitParser::startElement(QStringView name, const DXmlAttributes& attributes)
{
    m_attributes = &attributes;
    const Kind parent = m_open.empty() ? Root : m_open.back().kind;
    Kind kind = Ignored;
    switch (parent) {
    case Root:
        if (m_open.empty()) {
            if (name != word(u"testsuites") && name != word(u"testsuite"))
                return fail(Texts::tr("not a JUnit XML file: root element <%1>").arg(name));
            kind = name == word(u"testsuites") ? Root : Suite;
            if (kind == Root)
                readDeclared(m_runDeclared);
        } else {
            kind = startInRoot(name);
        }
        break;
    case Suite:
        kind = startInSuite(name);
        break;
    case Case:
        kind = startInCase(name);
        break;
    case Properties:
        kind = name == word(u"property") ? Property : Ignored;
        break;
    default:
        break;
    }
    // Text inside a child of a text element (markup in a failure) still
    // belongs to that text.
    const bool inText = parent == Failure || parent == SuiteFailure || parent == Skipped ||
                        parent == Output || parent == Property;
    Open open{kind, inText && kind == Ignored ? m_open.back().text : nullptr};
    switch (kind) {
    case Suite:
        startSuite();
        break;
    case Case:
        startCase(false);
        break;
    case SuiteFailure:
        startCase(true);
        startFailure(false);
        open.text = &m_case.details;
        break;
    case Failure:
        startFailure(true);
        open.text = &m_case.details;
        break;
    case Skipped:
        m_caseSkipped = true;
        if (m_skipMessage.isEmpty())
            m_skipMessage = attribute(QLatin1String("message"));
        break;
    case Flaky:
        m_caseFlaky = true;
        break;
    case Output:
        open.text = name == word(u"system-out") ? &m_case.systemOut : &m_case.systemErr;
        break;
    case Property:
        startProperty(open);
        break;
    default:
        break;
    }
    m_open.push_back(open);
    return true;
}

QAJUnitParser::Kind QAJUnitParser::startInRoot(QStringView name)
{
    return name == word(u"testsuite") ? Suite : Ignored;
}

QAJUnitParser::Kind QAJUnitParser::startInSuite(QStringView name)
{
    if (name == word(u"testsuite"))
        return Suite;
    if (name == word(u"testcase"))
        return Case;
    if (isFailure(name))
        return SuiteFailure;
    // Properties come before the cases: they go with the suite's start.
    if (name == word(u"properties") && !m_suites.back().begun)
        return Properties;
    return Ignored;
}

QAJUnitParser::Kind QAJUnitParser::startInCase(QStringView name)
{
    if (isFailure(name))
        return Failure;
    if (name == word(u"skipped"))
        return Skipped;
    if (isFlaky(name))
        return Flaky;
    if (name == word(u"system-out") || name == word(u"system-err"))
        return Output;
    if (name == word(u"properties"))
        return Properties;
    return Ignored;
}

bool QAJUnitParser::characters(QStringView text, bool)
{
    if (!m_open.empty() && m_open.back().text)
        m_open.back().text->append(text);
    return true;
}

bool QAJUnitParser::endElement(QStringView)
{
    if (m_open.empty())
        return true;
    const Kind kind = m_open.back().kind;
    switch (kind) {
    case Root:
        // An empty run is a run.
        beginRun();
        break;
    case Suite:
        endSuite();
        break;
    case Case:
    case SuiteFailure:
        endCase();
        break;
    case Property:
        endProperty();
        break;
    default:
        break;
    }
    m_open.pop_back();
    return true;
}

void QAJUnitParser::beginRun()
{
    if (m_runBegun)
        return;
    m_runBegun = true;
    QAResultRunInfo info;
    info.fileName = m_fileName;
    info.tool = QStringLiteral("JUnit XML");
    if (!m_suites.empty()) {
        info.timestamp = m_suites.front().timestamp;
        info.host = m_suites.front().host;
    }
    m_sink->beginRun(info);
    if (m_runDeclared[0] >= 0)
        m_sink->declaredTotals(m_runDeclared[0], m_runDeclared[1], m_runDeclared[2],
                               m_runDeclared[3]);
}

void QAJUnitParser::beginSuite(SuiteInfo& suite)
{
    if (suite.begun)
        return;
    beginRun();
    suite.begun = true;
    m_sink->beginSuite(suite.name, suite.properties);
    suite.properties.clear();
    if (suite.declared[0] >= 0 || suite.declared[1] >= 0 || suite.declared[2] >= 0 ||
        suite.declared[3] >= 0)
        m_sink->declaredTotals(suite.declared[0], suite.declared[1], suite.declared[2],
                               suite.declared[3]);
}

void QAJUnitParser::startSuite()
{
    if (!m_suites.empty()) {
        beginSuite(m_suites.back());
        leaveClass();
    }
    SuiteInfo suite;
    suite.name = attribute(QLatin1String("name"));
    suite.timestamp = attribute(QLatin1String("timestamp"));
    suite.host = attribute(QLatin1String("hostname"));
    readDeclared(suite.declared);
    m_suites.push_back(std::move(suite));
}

void QAJUnitParser::endSuite()
{
    beginSuite(m_suites.back());
    leaveClass();
    m_sink->endSuite();
    m_suites.pop_back();
}

void QAJUnitParser::enterClass(const QString& className)
{
    SuiteInfo& suite = m_suites.back();
    if (className.isEmpty() || className == suite.name) {
        leaveClass();
        return;
    }
    // Cases of one class share its name's string: most comparisons end at
    // the pointers.
    if (suite.classOpen && suite.className.size() == className.size() &&
        (suite.className.constData() == className.constData() || suite.className == className))
        return;
    leaveClass();
    suite.classOpen = true;
    suite.className = className;
    m_sink->beginClass(className);
}

void QAJUnitParser::leaveClass()
{
    SuiteInfo& suite = m_suites.back();
    if (!suite.classOpen)
        return;
    suite.classOpen = false;
    suite.className.clear();
    m_sink->endClass();
}

void QAJUnitParser::startCase(bool suiteFailure)
{
    SuiteInfo& suite = m_suites.back();
    beginSuite(suite);
    // m_case was emptied when the last case ended (or the read began).
    m_caseFailed = false;
    m_caseSkipped = false;
    m_caseFlaky = false;
    m_skipMessage.clear();
    m_fileAttribute.clear();
    m_lineAttribute = 0;
    if (suiteFailure) {
        m_case.name = suite.name;
        return;
    }
    const CaseAttributes attributes(*m_attributes);
    m_case.name = attributes.name.toString();
    m_case.className = sharedClassName(attributes.className);
    m_case.seconds = secondsOf(attributes.time);
    m_fileAttribute = attributes.file.toString();
    bool ok = false;
    const int line = attributes.line.toInt(&ok);
    m_lineAttribute = ok && line > 0 ? line : 0;
    // A case some tools list without running it (disabled, filtered out).
    const QStringView status = attributes.status;
    if (status == word(u"notrun") || status == word(u"disabled") || status == word(u"skipped"))
        m_caseSkipped = true;
}

// Cases of one class follow each other: they share one copy of its name.
QString QAJUnitParser::sharedClassName(QStringView name)
{
    if (name != m_className || name.isNull() != m_className.isNull())
        m_className = name.toString();
    return m_className;
}

void QAJUnitParser::startFailure(bool forCase)
{
    // A second failure of one case adds its text to the details.
    if (!m_caseFailed || !forCase) {
        m_case.failureType = attribute(QLatin1String("type"));
        m_case.message = attribute(QLatin1String("message"));
    } else if (!m_case.details.isEmpty()) {
        m_case.details += QStringLiteral("\n\n");
    }
    m_caseFailed = true;
}

void QAJUnitParser::endCase()
{
    QAResultCase& testCase = m_case;
    if (m_caseFailed) {
        testCase.state = QAResultCase::Failed;
    } else if (m_caseSkipped) {
        testCase.state = QAResultCase::Inconclusive;
        testCase.message = m_skipMessage;
    } else {
        testCase.state = QAResultCase::Passed;
        testCase.flaky = m_caseFlaky;
    }
    // Where the test is written; the builder prefers where a failure
    // happened, when its text says.
    if (!m_fileAttribute.isEmpty() && m_lineAttribute > 0) {
        testCase.sourceFile = m_fileAttribute;
        testCase.sourceLine = m_lineAttribute;
    }
    enterClass(testCase.className);
    m_sink->addCase(testCase);
    // The texts can be large; they are not kept past their case.
    m_case = QAResultCase();
}

void QAJUnitParser::startProperty(Open& open)
{
    m_propertyName = attribute(QLatin1String("name"));
    const QStringView value = m_attributes->value(QLatin1String("value"));
    m_propertyValue = value.toString();
    // Some tools write the value as the element's text.
    if (value.isNull())
        open.text = &m_propertyValue;
}

void QAJUnitParser::endProperty()
{
    // m_open holds ... owner, <properties>, <property>.
    if (m_open.size() < 3)
        return;
    const Kind owner = m_open[m_open.size() - 3].kind;
    const QPair<QString, QString> property(m_propertyName, m_propertyValue.trimmed());
    if (owner == Case)
        m_case.properties.append(property);
    else if (owner == Suite && !m_suites.empty() && !m_suites.back().begun)
        m_suites.back().properties.append(property);
    m_propertyName.clear();
    m_propertyValue.clear();
}
