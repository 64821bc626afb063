#include "qanunitparser.h"

#include "qaresultscopes.h"
#include "qasourcelocation.h"
#include "qatestcount.h"
#include "qaxmlcursor.h"

#include <QFileDevice>

namespace {

qint64 count(const QAXmlCursor& cursor, const char* name)
{
    return cursor.count(QLatin1String(name));
}

// What an element claims: tests, failures, errors and skipped, where the
// skipped are every case neither passed nor failed.
void readTotals(const QAXmlCursor& cursor, qint64* totals)
{
    const char* total = cursor.hasAttribute(QLatin1String("total")) ? "total" : "testcasecount";
    if (!cursor.hasAttribute(QLatin1String(total)))
        return;
    totals[0] = count(cursor, total);
    totals[1] = count(cursor, "failed");
    totals[2] = 0;
    totals[3] =
        QATestCount::add(QATestCount::add(count(cursor, "skipped"), count(cursor, "inconclusive")),
                         count(cursor, "warnings"));
}

QAResultCase::State stateOf(const QString& result)
{
    if (result == QLatin1String("Passed"))
        return QAResultCase::Passed;
    if (result == QLatin1String("Failed"))
        return QAResultCase::Failed;
    return QAResultCase::Inconclusive;
}

bool isFixture(const QString& type)
{
    return type == QLatin1String("TestFixture") || type == QLatin1String("GenericFixture");
}

} // namespace

bool QANUnitParser::recognises(const QByteArray& head)
{
    QString name, namespaceUri;
    return QAXmlCursor::rootOf(head, &name, &namespaceUri) && name == QLatin1String("test-run") &&
           namespaceUri.isEmpty();
}

bool QANUnitParser::read(QIODevice* device, QAResultSink* sink)
{
    *this = QANUnitParser();
    QAResultScopes scopes(sink);
    m_scopes = &scopes;
    QAXmlCursor cursor(device, false);
    if (!cursor.next()) {
        m_error = cursor.hasError() ? cursor.errorString()
                                    : QStringLiteral("not an NUnit 3 result file: no root element");
    } else if (cursor.name() != QLatin1String("test-run")) {
        m_error = QStringLiteral("not an NUnit 3 result file: root element <%1>")
                      .arg(cursor.name().toString());
    } else {
        if (auto* file = qobject_cast<QFileDevice*>(device))
            m_info.fileName = file->fileName();
        m_info.tool = QStringLiteral("NUnit 3");
        m_info.timestamp = cursor.attribute(QLatin1String("start-time"));
        readElements(cursor);
        if (cursor.hasError())
            m_error = cursor.errorString();
        while (!m_frames.empty())
            closeSuite();
        beginPending();
    }
    scopes.finish();
    m_scopes = nullptr;
    return m_error.isEmpty();
}

void QANUnitParser::readElements(QAXmlCursor& cursor)
{
    while (cursor.next()) {
        const QStringView name = cursor.name();
        if (cursor.isEnd()) {
            if (name == QLatin1String("test-suite"))
                closeSuite();
            continue;
        }
        if (name == QLatin1String("test-suite")) {
            openSuite(cursor);
        } else if (name == QLatin1String("test-case")) {
            readCase(cursor);
        } else if (name == QLatin1String("environment") && !m_scopes->runBegun()) {
            m_info.host = cursor.attribute(QLatin1String("machine-name"));
        } else if (name == QLatin1String("properties") && !m_frames.empty() &&
                   !m_frames.back().begun && m_frames.back().depth + 1 == cursor.depth()) {
            m_frames.back().properties = readProperties(cursor);
        }
    }
}

void QANUnitParser::openSuite(QAXmlCursor& cursor)
{
    if (!m_frames.empty())
        beginPending();
    Frame frame;
    const QString type = cursor.attribute(QLatin1String("type"));
    const bool inClass = m_classFrame >= 0;
    if (inClass) {
        frame.kind = Kind::Flat;
    } else if (isFixture(type)) {
        frame.kind = Kind::Class;
        frame.name = cursor.attribute(QLatin1String("classname"));
        if (frame.name.isEmpty())
            frame.name = cursor.attribute(QLatin1String("fullname"));
    }
    if (frame.name.isEmpty())
        frame.name = cursor.attribute(QLatin1String("name"));
    frame.depth = cursor.depth();
    readTotals(cursor, frame.totals);
    if (frame.kind == Kind::Class)
        m_classFrame = int(m_frames.size());
    m_frames.push_back(std::move(frame));
}

void QANUnitParser::closeSuite()
{
    beginPending();
    const Frame frame = std::move(m_frames.back());
    m_frames.pop_back();
    m_begun = m_frames.size();
    if (m_classFrame == int(m_frames.size()))
        m_classFrame = -1;
    if (frame.kind == Kind::Flat)
        return;
    if (frame.kind == Kind::Suite && frame.totals[0] >= 0)
        m_scopes->declaredTotals(frame.totals[0], frame.totals[1], frame.totals[2],
                                 frame.totals[3]);
    m_scopes->close();
}

// Hands the run and the suites not yet begun to the sink, outermost first;
// the frames before m_begun already are.
void QANUnitParser::beginPending()
{
    m_scopes->beginRun(m_info);
    for (; m_begun < m_frames.size(); ++m_begun) {
        Frame& frame = m_frames[m_begun];
        frame.begun = true;
        if (frame.kind == Kind::Suite)
            m_scopes->beginSuite(frame.name, frame.properties);
        else if (frame.kind == Kind::Class)
            m_scopes->beginClass(frame.name);
    }
}

QList<QPair<QString, QString>> QANUnitParser::readProperties(QAXmlCursor& cursor)
{
    QList<QPair<QString, QString>> properties;
    const int depth = cursor.depth();
    while (cursor.next() && !(cursor.isEnd() && cursor.depth() == depth)) {
        if (cursor.isStart() && cursor.name() == QLatin1String("property"))
            properties.append({cursor.attribute(QLatin1String("name")),
                               cursor.attribute(QLatin1String("value"))});
    }
    return properties;
}

void QANUnitParser::readCase(QAXmlCursor& cursor)
{
    QAResultCase testCase;
    testCase.name = cursor.attribute(QLatin1String("name"));
    testCase.className = cursor.attribute(QLatin1String("classname"));
    if (testCase.className.isEmpty())
        testCase.className = className();
    testCase.state = stateOf(cursor.attribute(QLatin1String("result")));
    testCase.failureType = cursor.attribute(QLatin1String("label"));
    bool timed = false;
    const double seconds = cursor.attribute(QLatin1String("duration")).toDouble(&timed);
    if (timed && seconds >= 0)
        testCase.seconds = seconds;
    if (cursor.hasAttribute(QLatin1String("start-time")))
        testCase.properties.append(
            {QStringLiteral("start-time"), cursor.attribute(QLatin1String("start-time"))});

    const int depth = cursor.depth();
    QString section; // failure, reason, or an element whose messages are not the case's
    while (cursor.next() && !(cursor.isEnd() && cursor.depth() == depth)) {
        const QStringView name = cursor.name();
        if (cursor.isEnd()) {
            if (cursor.depth() == depth + 1)
                section.clear();
        } else if (cursor.depth() == depth + 1) {
            section = name.toString();
            if (name == QLatin1String("output"))
                testCase.systemOut = cursor.readText();
            else if (name == QLatin1String("properties"))
                testCase.properties += readProperties(cursor);
        } else if (cursor.depth() == depth + 2 && name == QLatin1String("message") &&
                   (section == QLatin1String("failure") || section == QLatin1String("reason"))) {
            testCase.message = cursor.readText().trimmed();
        } else if (cursor.depth() == depth + 2 && name == QLatin1String("stack-trace") &&
                   section == QLatin1String("failure")) {
            testCase.details = cursor.readText();
        }
    }
    if (cursor.hasError())
        return;
    QASourceLocation::fill(testCase, testCase.details);
    beginPending();
    m_scopes->addCase(testCase);
}

QString QANUnitParser::className() const
{
    return m_classFrame >= 0 ? m_frames[size_t(m_classFrame)].name : QString();
}
