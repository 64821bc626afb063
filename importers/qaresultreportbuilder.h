#ifndef QARESULTREPORTBUILDER_H
#define QARESULTREPORTBUILDER_H

#include "qaresultsink.h"

#include <QList>
#include <QStringList>

#include <memory>
#include <vector>

class DCellText;
class DDocument;
class DItem;
class DItemContainer;
class DStyle;
class DTable;
class DTitle;
class QAReporterData;
class QAReporterDataTree;
class QAReporterNode;

// Turns a test run, as a result parser reads it, into one report record of
// the same shape the report reader makes: a tree of test nodes (run, suite,
// class, testcase) bound to the items of a report document written in the
// viewer's styles. Each case counts once, by its state ("ok", "ko", "NE");
// a parent's state follows its children: "ko" when one failed, else "NE"
// when one was not run, else "ok" ("NE" when it holds no case at all).
// Everything streams into the document except the titles' styles and the
// per-suite summary tables, which are made at the start of their suite and
// filled when it ends.
class QAResultReportBuilder : public QAResultSink
{
public:
    // styles are those the items refer to by name; the caller keeps them.
    explicit QAResultReportBuilder(const QList<DStyle*>& styles);
    ~QAResultReportBuilder() override;
    QAResultReportBuilder(const QAResultReportBuilder&) = delete;
    QAResultReportBuilder& operator=(const QAResultReportBuilder&) = delete;

    // The file's path, for runs whose parser does not know it (it reads a
    // device); it names the document and the run.
    void setFileName(const QString& path) { m_givenFileName = path; }

    void beginRun(const QAResultRunInfo& info) override;
    void beginSuite(const QString& name, const QList<QPair<QString, QString>>& properties) override;
    void beginClass(const QString& name) override;
    void addCase(const QAResultCase& testCase) override;
    void endClass() override;
    // Also accepted before the first suite: the claims of the run itself.
    void declaredTotals(qint64 tests, qint64 failures, qint64 errors, qint64 skipped) override;
    void endSuite() override;
    void warning(const QString& text) override;
    void endRun() override;

    // The record of the run read, once endRun was called; null before that
    // and on a second call.
    std::unique_ptr<QAReporterData> takeRecord();

    // The monospace style of details and output blocks: the one named
    // "Monospace" among the styles given, else one that lives as long as
    // the program (records outlive their builder).
    DStyle* monospaceStyle() const { return m_monospace; }

private:
    struct Counts
    {
        qint64 passed = 0;
        qint64 failed = 0;
        qint64 inconclusive = 0;
        double seconds = 0;
        bool timed = false;
        void add(const Counts& other);
        qint64 total() const;
    };
    enum LevelKind { RunLevel, SuiteLevel, ClassLevel };
    struct Level
    {
        LevelKind kind = RunLevel;
        QAReporterNode* node = nullptr;
        DTitle* title = nullptr;
        int titleLevel = 1;
        int openItems = 0; // the item stack's size when the level began
        DCellText* summary[4] = {};
        Counts counts;
        qint64 declared[4] = {-1, -1, -1, -1};
        QString name;
    };
    struct OpenItem
    {
        DItemContainer* item;
        DItem* lastChild;
    };

    // The styles the tables and paragraphs of levels use, looked up once.
    enum NamedStyle {
        TopTitleStyle,
        NormalStyle,
        WarningStyle,
        LinkStyle,
        ArrayStyle,
        ArrayTitleStyle,
        ArrayPassedStyle,
        ArrayFailedStyle,
        NamedStyleCount
    };
    // The node types, in no particular order: the record lists them in
    // the order first used.
    enum NodeType { RunType, SuiteType, ClassType, CaseType, NodeTypeCount };

    DStyle* style(const QString& name) const;
    void translateWords();
    // A node's state, as the columns of m_titleStyles and the texts "NE",
    // "ok" and "ko" number it.
    enum NodeState { NotRunState, PassedState, FailedState };
    DStyle* titleStyle(int level, int state) const;
    static int stateOf(const Counts& counts);

    // Document building: add() appends to the innermost open container,
    // open() appends and makes the item the innermost one.
    DItem* add(DItem* item);
    DItemContainer* open(DItemContainer* item);
    void closeTo(int openItems);
    void addParagraph(const QString& text, DStyle* style);
    void addTextBlock(const std::vector<QStringView>& lines);
    void addPopup(const QString& label, const QString& anchor,
                  const std::vector<QStringView>& lines);
    void addProperties(const QList<QPair<QString, QString>>& properties);
    // Passed, failed, inconclusive and time, as cells show them.
    struct Figures
    {
        QString texts[4];
    };
    Figures figuresOf(const Counts& counts);
    QString countText(qint64 count);
    void addSummaryTable(Level& level);
    void fillSummary(const Level& level, const Figures& figures);
    void addOverviewTable();
    void addOverviewRow(const QString& name, const QString& anchor, const Counts& counts,
                        const Figures& figures);
    // seconds: the case's time as shown, -1 when it has none.
    void addCaseBody(const QAResultCase& testCase, const QString& anchor, double seconds);
    static QString failureLine(const QAResultCase& testCase);
    QString stateLine(const QAResultCase& testCase, double seconds);
    const QString& classSuffix(const QString& className);
    void addSourceLink(const QAResultCase& testCase);
    void addOutputs(const QAResultCase& testCase, const QString& anchor);
    QString timedLine(int state, double seconds);
    QString detailsLabel(size_t lines);
    QString makeTimedLine(int state, double seconds) const;
    void splitTimedLine(int state);
    void checkDeclared(const Level& level);

    // Tree building, as the reader does it.
    QAReporterNode* beginNode(const QString& name, NodeType type);
    QAReporterNode* appendNode(const QString& name, NodeType type);
    void endNode(const QString& state);
    void finishNode(QAReporterNode* node, const QString& state);
    void beginLevel(LevelKind kind, const QString& name,
                    const QList<QPair<QString, QString>>& properties);
    void endLevel();
    void count(QAResultCase::State state);
    int nextTitleLevel() const;

    QList<DStyle*> m_styles;
    DStyle* m_monospace = nullptr;
    DStyle* m_titleStyles[6][3] = {}; // by level, then plain, passed, failed
    std::unique_ptr<DDocument> m_document;
    std::unique_ptr<QAReporterDataTree> m_tree;
    std::unique_ptr<QAReporterData> m_record;
    QString m_fileName;
    QString m_givenFileName;
    std::vector<OpenItem> m_open;
    std::vector<Level> m_levels;
    std::vector<QAReporterNode*> m_pending; // begun, not yet bound to an item
    DItem* m_last = nullptr;
    DTable* m_overview = nullptr; // the run's table of suites
    DItem* m_overviewLastRow = nullptr;
    QStringList m_types;
    int m_typeIndex[NodeTypeCount] = {}; // in m_types; -1: not used yet
    DStyle* m_named[NamedStyleCount] = {};
    QString m_stateLines[6]; // translated: timed by state, then untimed
    // Texts translated once and shared by every item that shows them.
    struct Words
    {
        QString unnamed;
        QString resultsBySuite;
        QString allSuites;
        QString summaryHeadings[4];
        QString overviewHeadings[5];
        QString details;   // "... (%1 lines)"
        QString classLine; // "class %1"
        QString standardOutput;
        QString standardError;
        QString flaky;
        // A timed state line around its figure, by state; null prefix:
        // the line is made by QString::arg.
        QString timedPrefix[2];
        QString timedSuffix[2];
    };
    Words m_words;
    // Looked up once: every case needs them, and a lookup by name costs
    // more than the rest of a passed case's paragraph.
    DStyle* m_lineStyles[3] = {}; // a case's state line, by state
    QString m_at;                 // translated "At " before a source link
    // Timed state lines by time and state, each slot holding the last line
    // made for its key; made on the first timed case.
    struct TimedLine
    {
        qint64 key = -1;
        QString line;
    };
    std::vector<TimedLine> m_timedLines;
    QString m_classSuffixName; // the class m_classSuffix names
    QString m_classSuffix;
    std::vector<QString> m_countTexts;    // by count, made when first needed
    std::vector<QString> m_detailsLabels; // by line count, made when first needed
    std::vector<QStringView> m_lines;     // of the block being added
    std::vector<char16_t> m_blockBuffer;  // where small blocks are written
    int m_nodeCount = 0;
    qint64 m_okTotal = 0;
    qint64 m_koTotal = 0;
    qint64 m_neTotal = -1;
};

#endif
