#ifndef QATAPPARSER_H
#define QATAPPARSER_H

#include "qaresultsink.h"

#include <QString>

#include <memory>
#include <vector>

class QATapLine;
class QAResultScopes;
class QIODevice;

// Reads a TAP stream (versions 12, 13 and 14) line by line and feeds a
// sink: run -> subtest suites -> cases; TAP has no classes. A subtest is
// indented by 4 spaces a level and closed by a test point of its parent,
// which names the suite and adds no case; a subtest's events wait in a
// buffer until its closing line, since the name comes last. Lines that are
// not TAP are output of the case they follow. A plan the points run do not
// match, a missing plan and "Bail out!" each add one failed case saying so.
class QATapParser
{
public:
    static const int MaxDepth = 2000;

    // head: the first bytes of the file.
    static bool recognises(const QByteArray& head);
    bool read(QIODevice* device, QAResultSink* sink);
    // Why read failed: "line N: what is wrong".
    QString errorString() const { return m_error; }

private:
    struct Level
    {
        qint64 planned = -1;
        qint64 points = 0;
        bool hasPending = false;
        QAResultCase pending;  // the last case, which output may still follow
        QString name;          // from a "# Subtest:" line
        size_t suiteEvent = 0; // this subtest's begin in m_events
    };
    struct Event
    {
        enum Type { BeginSuite, Case, EndSuite } type;
        QString name;
        QAResultCase testCase;
    };

    bool readLines(QIODevice* device);
    bool handle(const QString& raw, const QATapLine& line);
    bool handleTestPoint(const QATapLine& line);
    bool handlePlan(const QATapLine& line);
    bool handleSubtest(const QATapLine& line);
    void handleOther(const QString& raw, const QATapLine& line);
    void bailOut(const QString& reason);
    bool open(int level);
    void closeLevel(const QString& name);
    void closeTo(int level);
    void finishTop();
    void checkPlan(const Level& level);
    void flushPending(Level& level);
    void emitCase(const QAResultCase& testCase);
    void beginRunOnce();
    void beginYaml(int indent, int level);
    void yamlLine(const QString& raw);
    void endYaml();
    int depth() const { return int(m_levels.size()) - 1; }

    QAResultScopes* m_scopes = nullptr;
    QString m_fileName;
    QString m_error;
    qint64 m_lineNumber = 0;
    qint64 m_version = 12; // as read: up to 18 digits
    std::vector<Level> m_levels;
    std::vector<Event> m_events; // open subtests' events, oldest first
    QString m_hint;              // a "# Subtest:" name for the next level opened
    int m_hintLevel = -1;
    int m_lastCaseLevel = -1;  // level of the case the next output line belongs to
    int m_lastPointLevel = -1; // level of a test point just read, for its YAML block
    bool m_inYaml = false;
    int m_yamlLevel = -1; // the level whose pending case gets the block; -1: none
    int m_yamlIndent = 0;
    QString m_yaml;
    bool m_bailed = false;
};

#endif
