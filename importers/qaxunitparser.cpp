#include "qaxunitparser.h"

#include "qaresultscopes.h"
#include "qasourcelocation.h"
#include "qaxmlcursor.h"

#include <QFileDevice>
#include <QHash>

namespace {

qint64 count(const QAXmlCursor& cursor, const char* name)
{
    return cursor.count(QLatin1String(name));
}

void readTotals(const QAXmlCursor& cursor, qint64* totals)
{
    if (!cursor.hasAttribute(QLatin1String("total")))
        return;
    totals[0] = count(cursor, "total");
    totals[1] = count(cursor, "failed");
    totals[2] = 0;
    totals[3] = count(cursor, "skipped");
}

QAResultCase::State stateOf(const QString& result)
{
    if (result == QLatin1String("Pass"))
        return QAResultCase::Passed;
    if (result == QLatin1String("Fail"))
        return QAResultCase::Failed;
    return QAResultCase::Inconclusive;
}

// "Calc.AdderTests.Adds(x: 1)" in class Calc.AdderTests shows as "Adds(x: 1)".
QString shortName(const QString& name, const QString& type)
{
    if (!type.isEmpty() && name.size() > type.size() + 1 && name.startsWith(type) &&
        name.at(type.size()) == QLatin1Char('.'))
        return name.mid(type.size() + 1);
    return name;
}

QString fileNameOf(const QString& path)
{
    const qsizetype slash =
        qMax(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    return path.mid(slash + 1);
}

} // namespace

bool QAXUnitParser::recognises(const QByteArray& head)
{
    QString name, namespaceUri;
    return QAXmlCursor::rootOf(head, &name, &namespaceUri) && name == QLatin1String("assemblies") &&
           namespaceUri.isEmpty();
}

bool QAXUnitParser::read(QIODevice* device, QAResultSink* sink)
{
    *this = QAXUnitParser();
    QAResultScopes scopes(sink);
    m_scopes = &scopes;
    QAXmlCursor cursor(device, false);
    if (!cursor.next()) {
        m_error = cursor.hasError()
                      ? cursor.errorString()
                      : QStringLiteral("not an xUnit.net v2 result file: no root element");
    } else if (cursor.name() != QLatin1String("assemblies")) {
        m_error = QStringLiteral("not an xUnit.net v2 result file: root element <%1>")
                      .arg(cursor.name().toString());
    } else {
        if (auto* file = qobject_cast<QFileDevice*>(device))
            m_info.fileName = file->fileName();
        m_info.tool = QStringLiteral("xUnit.net v2");
        m_info.timestamp = cursor.attribute(QLatin1String("timestamp"));
        readElements(cursor);
        if (cursor.hasError())
            m_error = cursor.errorString();
        while (!m_units.empty())
            closeUnit();
        beginRun(m_info.timestamp);
    }
    scopes.finish();
    m_scopes = nullptr;
    return m_error.isEmpty();
}

void QAXUnitParser::readElements(QAXmlCursor& cursor)
{
    while (cursor.next()) {
        const QStringView name = cursor.name();
        const bool unit = name == QLatin1String("assembly") || name == QLatin1String("collection");
        if (cursor.isEnd()) {
            if (unit && !m_units.empty())
                closeUnit();
        } else if (name == QLatin1String("assembly")) {
            openAssembly(cursor);
        } else if (name == QLatin1String("collection")) {
            openCollection(cursor);
        } else if (name == QLatin1String("test")) {
            readTest(cursor);
        } else if (name == QLatin1String("error")) {
            readError(cursor);
        }
    }
}

// The first assembly's date and time stamp the run when the file has no
// timestamp of its own.
void QAXUnitParser::openAssembly(QAXmlCursor& cursor)
{
    const QString date = cursor.attribute(QLatin1String("run-date"));
    const QString time = cursor.attribute(QLatin1String("run-time"));
    beginRun(m_info.timestamp.isEmpty() ? (date + QLatin1Char(' ') + time).trimmed()
                                        : m_info.timestamp);
    const QString path = cursor.attribute(QLatin1String("name"));
    QList<QPair<QString, QString>> properties;
    if (fileNameOf(path) != path)
        properties.append({QStringLiteral("path"), path});
    for (const char* key : {"environment", "test-framework", "run-date", "run-time"}) {
        const QString value = cursor.attribute(QLatin1String(key));
        if (!value.isEmpty())
            properties.append({QLatin1String(key), value});
    }
    m_scopes->beginSuite(fileNameOf(path), properties);
    m_units.emplace_back();
    readTotals(cursor, m_units.back().totals);
}

void QAXUnitParser::openCollection(QAXmlCursor& cursor)
{
    beginRun(m_info.timestamp);
    m_scopes->beginSuite(cursor.attribute(QLatin1String("name")));
    m_units.emplace_back();
    readTotals(cursor, m_units.back().totals);
}

// Hands the unit's tests to the sink, a class node for each type in the
// order first met; tests without a type stay in the suite.
void QAXUnitParser::closeUnit()
{
    Unit unit = std::move(m_units.back());
    m_units.pop_back();
    QHash<QString, qsizetype> indexOfClass;
    std::vector<std::vector<const QAResultCase*>> classes;
    std::vector<QString> classNames;
    for (const QAResultCase& testCase : unit.cases) {
        auto found = indexOfClass.constFind(testCase.className);
        if (found == indexOfClass.constEnd()) {
            found = indexOfClass.insert(testCase.className, qsizetype(classes.size()));
            classes.emplace_back();
            classNames.push_back(testCase.className);
        }
        classes[size_t(*found)].push_back(&testCase);
    }
    for (size_t index = 0; index < classes.size(); ++index) {
        if (!classNames[index].isEmpty())
            m_scopes->beginClass(classNames[index]);
        for (const QAResultCase* testCase : classes[index])
            m_scopes->addCase(*testCase);
        if (!classNames[index].isEmpty())
            m_scopes->close();
    }
    if (unit.totals[0] >= 0)
        m_scopes->declaredTotals(unit.totals[0], unit.totals[1], unit.totals[2], unit.totals[3]);
    m_scopes->close();
}

void QAXUnitParser::readTest(QAXmlCursor& cursor)
{
    QAResultCase testCase;
    testCase.className = cursor.attribute(QLatin1String("type"));
    testCase.name = shortName(cursor.attribute(QLatin1String("name")), testCase.className);
    testCase.state = stateOf(cursor.attribute(QLatin1String("result")));
    bool timed = false;
    const double seconds = cursor.attribute(QLatin1String("time")).toDouble(&timed);
    if (timed && seconds >= 0)
        testCase.seconds = seconds;

    const int depth = cursor.depth();
    while (cursor.next() && !(cursor.isEnd() && cursor.depth() == depth)) {
        if (cursor.isEnd())
            continue;
        const QStringView name = cursor.name();
        if (name == QLatin1String("failure"))
            testCase.failureType = cursor.attribute(QLatin1String("exception-type"));
        else if (name == QLatin1String("message") || name == QLatin1String("reason"))
            testCase.message = cursor.readText().trimmed();
        else if (name == QLatin1String("stack-trace"))
            testCase.details = cursor.readText();
        else if (name == QLatin1String("output"))
            testCase.systemOut = cursor.readText();
        else if (name == QLatin1String("trait"))
            testCase.properties.append({cursor.attribute(QLatin1String("name")),
                                        cursor.attribute(QLatin1String("value"))});
    }
    if (cursor.hasError())
        return;
    QASourceLocation::fill(testCase, testCase.details);
    if (m_units.empty()) {
        beginRun(m_info.timestamp);
        m_scopes->addCase(testCase);
    } else {
        m_units.back().cases.push_back(std::move(testCase));
    }
}

void QAXUnitParser::readError(QAXmlCursor& cursor)
{
    const QString where = (cursor.attribute(QLatin1String("type")) + QLatin1Char(' ') +
                           cursor.attribute(QLatin1String("name")))
                              .trimmed();
    QString message;
    const int depth = cursor.depth();
    while (cursor.next() && !(cursor.isEnd() && cursor.depth() == depth)) {
        if (cursor.isStart() && cursor.name() == QLatin1String("message"))
            message = cursor.readText().trimmed();
    }
    beginRun(m_info.timestamp);
    m_scopes->warning(QStringLiteral("%1: %2").arg(where, message));
}

void QAXUnitParser::beginRun(const QString& timestamp)
{
    if (m_scopes->runBegun())
        return;
    m_info.timestamp = timestamp;
    m_scopes->beginRun(m_info);
}
