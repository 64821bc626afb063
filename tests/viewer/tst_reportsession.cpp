#include "ddocument.h"
#include "qareporterdata.h"
#include "qareportsession.h"
#include "qarlistview.h"
#include "qarlistviewitem.h"
#include "qatestcount.h"
#include "scopedpreferences.h"

#include <QDirIterator>
#include <QtTest>

namespace {

const QString reports = QStringLiteral(":/reports/");

// Every report shipped with the project, and the other tools' results.
QStringList exampleFiles()
{
    QStringList files;
    for (QDirIterator it(XRD_SOURCE_DIR "/examples", {"*.xrd", "*.xml", "*.tap", "*.trx"},
                         QDir::Files, QDirIterator::Subdirectories);
         it.hasNext();)
        files << it.next();
    files.sort();
    return files;
}

QStringList walkedLines(const QAReportSession& session)
{
    QStringList lines;
    session.walkTree([&lines](const QAReportSession::TreeEntry& entry) {
        lines << QString(entry.depth * 2, ' ') + entry.status + ' ' + entry.name;
    });
    return lines;
}

// The same lines read from a tree view filled as a window fills it.
QStringList viewLines(const QAReportSession& session)
{
    QARListView view;
    const QList<QAReporterData*>& records = session.filteredRecords();
    for (auto record = records.crbegin(); record != records.crend(); ++record)
        (*record)->tree->fillListView(&view, (*record)->fileName);
    QStringList lines;
    for (QTreeWidgetItemIterator it(&view); *it; ++it) {
        int depth = 0;
        for (QTreeWidgetItem* parent = (*it)->parent(); parent; parent = parent->parent())
            ++depth;
        const QString status = (*it)->data(1, QARListViewItem::StatusRole).toString();
        lines << QString(depth * 2, ' ') + (status.isEmpty() ? "--" : status) + ' ' +
                     (*it)->text(0);
    }
    return lines;
}

} // namespace

class TestReportSession : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_preferences = std::make_unique<ScopedPreferences>(); }
    void cleanup() { m_preferences.reset(); }

    void walkedTreeIsTheViewersTree_data();
    void walkedTreeIsTheViewersTree();
    void criteriaFollowTheChoices();
    void loadsKeepOneRecordPerFile();

private:
    std::unique_ptr<ScopedPreferences> m_preferences;
};

void TestReportSession::walkedTreeIsTheViewersTree_data()
{
    QTest::addColumn<bool>("failedOnly");
    QTest::addColumn<bool>("hideFirstType");
    QTest::addRow("complete") << false << false;
    QTest::addRow("failed only") << true << false;
    QTest::addRow("first type hidden") << false << true;
    QTest::addRow("failed only, first type hidden") << true << true;
}

// The command line prints the walked tree: it must be, line for line, what
// the window's tree shows for the same reports and choices.
void TestReportSession::walkedTreeIsTheViewersTree()
{
    QFETCH(bool, failedOnly);
    QFETCH(bool, hideFirstType);
    QAReportSession session;
    const QStringList files = exampleFiles();
    QVERIFY(files.size() >= 5);
    QVERIFY(session.load(files, nullptr, {}).missing.isEmpty());
    session.setFailedOnly(failedOnly);
    if (hideFirstType)
        session.setTypeHidden(session.nodeTypes().value(0), true);
    session.assemble();
    const QStringList walked = walkedLines(session);
    QVERIFY(walked.size() > files.size());
    QCOMPARE(walked, viewLines(session));
}

void TestReportSession::criteriaFollowTheChoices()
{
    QAReportSession session;
    session.load({reports + "main.xrd"}, nullptr, {});
    QCOMPARE(session.nodeTypes(), QStringList({"suite", "testcase", "check"}));
    session.assemble();
    session.setTypeHidden("check", true);
    session.setFailedOnly(true);
    QVERIFY(!session.isAssembled());
    session.assemble();
    const QString walked = walkedLines(session).join('\n');
    QVERIFY2(walked.contains("failing") && !walked.contains("elsewhere") &&
                 !walked.contains("passing"),
             qPrintable(walked));
    // A new load shows every type again.
    session.load({reports + "passed.xrd"}, nullptr, {});
    QVERIFY(session.criteria().typePatterns().isEmpty() && !session.isAssembled());
}

void TestReportSession::loadsKeepOneRecordPerFile()
{
    // Unreadable files are listed with their reasons.
    QAReportSession session;
    const QAReportSession::LoadErrors errors = session.load(
        {reports + "nowhere.xrd", reports + "broken.xrd", reports + "main.xrd"}, nullptr, {});
    QCOMPARE(errors.missing, QStringList({reports + "nowhere.xrd", reports + "broken.xrd"}));
    QVERIFY(errors.reasons.size() == 2 && !errors.reasons.at(1).isEmpty());
    QVERIFY(errors.outOfMemoryPath.isEmpty());
    QCOMPARE(session.passedTotal() * 10 + session.failedTotal(), 31);
    // A file loaded again stays once; main.xrd and passed.xrd both name
    // their document "main", which becomes unique.
    session.load({reports + "passed.xrd", reports + "main.xrd"}, nullptr, {});
    QCOMPARE(session.loadedFiles(), QStringList({reports + "main.xrd", reports + "passed.xrd"}));
    QCOMPARE(session.records().at(1)->document->name(), QString("main_1"));
    session.clear();
    QVERIFY(session.records().isEmpty());
    QCOMPARE(session.nodeTypes().size(), 3);
    // Totals past the largest count stop there instead of wrapping round.
    session.load({reports + "huge1.xrd", reports + "huge2.xrd"}, nullptr, {});
    QCOMPARE(session.failedTotal(), QATestCount::Max);
}

QTEST_MAIN(TestReportSession)
#include "tst_reportsession.moc"
