#include "damlwriter.h"
#include "ddocument.h"
#include "dreportmodel.h"
#include "qareporter.h"
#include "qareporterdata.h"
#include "qareporterrowindex.h"
#include "qareportertreegrower.h"
#include "qareportstream.h"
#include "qarlistview.h"
#include "qarlistviewitem.h"
#include "qastoutputwidget.h"
#include "reporterhost.h"
#include "xrodrecords.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QtTest>

namespace {

// A report of a few megabytes, so that it comes in many batches and
// slices: suites of tests of cases, each with a section, a paragraph with
// a link, a table (one of them long enough to be cut into runs of rows)
// and text between elements.
QByteArray generatedReport(int suites)
{
    QByteArray xml = "<?xml version='1.0'?>\n<XROD><DOCUMENT name='run'>\n"
                     "<XROD:NODE name='ws' type='workspace' state='ko'><SECTION name='top'>"
                     "<TITLE level='1'>Run</TITLE>\n";
    for (int suite = 0; suite < suites; ++suite) {
        const QByteArray s = QByteArray::number(suite);
        xml += "<XROD:NODE name='suite" + s + "' type='suite' state='ko'><SECTION name='s" + s +
               "'>free text " + s + "<TITLE level='2'>Suite " + s + "</TITLE>\n";
        for (int test = 0; test < 40; ++test) {
            const QByteArray t = s + "_" + QByteArray::number(test);
            const bool failed = test % 7 == 3;
            xml += "<XROD:NODE name='case" + t + "' type='testcase' state='" +
                   (failed ? "ko" : "ok") + "' sum='1'><SECTION name='c" + t +
                   "'><TITLE level='3'>Case " + t +
                   "</TITLE><PARAGRAPH>Checks <LINK target='src/a.c line 3'>a.c</LINK> &amp; "
                   "more.</PARAGRAPH><TABLE>";
            const int rows = test == 5 ? 120 : 3;
            for (int row = 0; row < rows; ++row)
                xml += "<ROW><CELLTEXT>value " + QByteArray::number(row) + "</CELLTEXT><CELLTEXT>" +
                       t + "</CELLTEXT></ROW>";
            xml += "</TABLE></SECTION></XROD:NODE>\n";
        }
        xml += "</SECTION></XROD:NODE>\n";
    }
    return xml + "</SECTION></XROD:NODE></DOCUMENT></XROD>\n";
}

QString writeReport(const QTemporaryDir& dir, const QByteArray& bytes)
{
    const QString path = dir.filePath(QStringLiteral("report.xrd"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return QString();
    return path;
}

// The blocks of a model as (item, rows) pairs, and the tree items of a view
// as lines of depth, name and status.
QList<QPair<const DItem*, int>> blocksOf(const DReportModel& model)
{
    QList<QPair<const DItem*, int>> blocks;
    for (int index = 0; index < model.blockCount(); ++index)
        blocks.append({model.block(index).item, model.block(index).rows});
    return blocks;
}

// The block of every item of the document, in document order.
QList<int> blockOfEachItem(const DReportModel& model, const DDocument* document)
{
    QList<int> blocks;
    QList<const DItem*> pending{document};
    while (!pending.isEmpty()) {
        const DItem* item = pending.takeLast();
        blocks.append(model.blockOf(item));
        if (item->next() && item != document)
            pending.append(item->next());
        if (const DItemContainer* container = item->toContainer(); container && container->first())
            pending.append(container->first());
    }
    return blocks;
}

QStringList linesOf(QTreeWidget& view)
{
    QStringList lines;
    for (QTreeWidgetItemIterator it(&view); *it; ++it) {
        QARListViewItem* item = QARListViewItem::cast(*it);
        int depth = 0;
        for (QTreeWidgetItem* parent = (*it)->parent(); parent; parent = parent->parent())
            ++depth;
        const QString name = item && item->node ? item->node->name : (*it)->text(0);
        lines.append(QStringLiteral("%1 %2 %3 %4")
                         .arg(depth)
                         .arg(name)
                         .arg((*it)->data(1, QARListViewItem::StatusRole).toString())
                         .arg(item && item->startItem ? 1 : 0));
    }
    return lines;
}

} // namespace

class TestReportStream : public QObject
{
    Q_OBJECT

private slots:
    void growsIntoWhatTheReaderReads();
    void cutShortOrCancelledKeepsWhatWasRead();
    void windowShowsTheReportWhileItIsRead();
    void rowIndexAnswersAsOneHash();
    void cleanup() { QAReporter::setStreamingThreshold(DefaultThreshold); }

private:
    const qint64 DefaultThreshold = QAReporter::streamingThreshold();
};

// Streamed, the report gives the document, tree and totals the reader
// gives; the model extended and the tree grown at every step end as the
// ones made at once from the complete report.
void TestReportStream::growsIntoWhatTheReaderReads()
{
    QTemporaryDir dir;
    const QByteArray bytes = generatedReport(20);
    const QString path = writeReport(dir, bytes);
    QVERIFY(!path.isEmpty());
    const std::unique_ptr<QAReporterData> expected = readRecord(bytes);
    QVERIFY(expected);

    QAReportStream stream(path, {});
    stream.setSliceMilliseconds(0);
    DReportModel grownModel;
    QTreeWidget grownView;
    std::unique_ptr<QAReporterTreeGrower> grower;
    QList<qint64> progress;
    // The model's index is made larger as a window does it: begun at the
    // second step, made aside; two steps later the entries that came
    // meanwhile are added aside too, and two steps after that it is taken.
    DReportModel::IndexEntries reservedEntries;
    DReportModel::BlockIndex reservedIndex;
    size_t secondRound = 0;
    connect(&stream, &QAReportStream::grew, this, [&] {
        QAReporterData* record = stream.record();
        if (!grower)
            grower =
                std::make_unique<QAReporterTreeGrower>(&grownView, path, record->tree.data(), 2);
        grownModel.extend(record->document.get(), stream.openItems());
        grower->grow();
        progress.append(stream.bytesRead());
        if (progress.size() == 2) {
            reservedEntries = grownModel.beginReserve();
            reservedIndex = DReportModel::reservedIndex(10000, reservedEntries);
        }
        if (progress.size() == 4) {
            const DReportModel::IndexEntries since = grownModel.takeIndexedAside();
            secondRound = since.size();
            DReportModel::addEntries(reservedIndex, since);
        }
        if (progress.size() == 6)
            grownModel.reserve(10000, std::move(reservedIndex));
    });
    QSignalSpy finished(&stream, &QAReportStream::finished);
    stream.start();
    QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, 60000);
    QVERIFY2(stream.errorString().isEmpty(), qPrintable(stream.errorString()));
    QVERIFY2(progress.size() > 6, "the report came in few pieces: the test shows little");
    QVERIFY(secondRound > 0 && grownModel.indexedAsideCount() == 0);
    QVERIFY(std::is_sorted(progress.cbegin(), progress.cend()));
    QCOMPARE(progress.last(), qint64(bytes.size()));

    std::unique_ptr<QAReporterData> record(stream.takeRecord());
    QVERIFY(record && record->complete);
    QCOMPARE(DAmlWriter::toAml(record->document.get()),
             DAmlWriter::toAml(expected->document.get()));
    QCOMPARE((QList<qint64>{record->okCount, record->koCount}),
             (QList<qint64>{expected->okCount, expected->koCount}));
    QCOMPARE(record->types, expected->types);

    DReportModel wholeModel;
    wholeModel.addDocument(record->document.get());
    QCOMPARE(blocksOf(grownModel), blocksOf(wholeModel));
    QVERIFY(!reservedEntries.empty());
    QCOMPARE(blockOfEachItem(grownModel, record->document.get()),
             blockOfEachItem(wholeModel, record->document.get()));
    QTreeWidget wholeView;
    record->tree->fillListView(&wholeView, path);
    QCOMPARE(linesOf(grownView), linesOf(wholeView));
}

void TestReportStream::cutShortOrCancelledKeepsWhatWasRead()
{
    QTemporaryDir dir;
    const QByteArray bytes = generatedReport(60);
    const QString path = writeReport(dir, bytes.left(bytes.size() * 2 / 3));
    QAReportStream cut(path, {});
    QSignalSpy cutFinished(&cut, &QAReportStream::finished);
    cut.start();
    QTRY_COMPARE_WITH_TIMEOUT(cutFinished.size(), 1, 60000);
    QVERIFY2(cut.errorString().contains(QLatin1String("truncated")), qPrintable(cut.errorString()));
    QVERIFY(cut.record() && !cut.record()->complete);
    QVERIFY(cut.record()->okCount > 0);
    // Every node read has an end, so that the tree can be shown and cut.
    QTreeWidget view;
    cut.record()->tree->fillListView(&view, path);
    QVERIFY(view.topLevelItemCount() == 1);

    QAReportStream cancelled(writeReport(dir, bytes), {});
    cancelled.setSliceMilliseconds(0); // a first slice that cannot read it all
    QSignalSpy cancelledFinished(&cancelled, &QAReportStream::finished);
    connect(&cancelled, &QAReportStream::grew, &cancelled, &QAReportStream::cancel);
    cancelled.start();
    QTRY_COMPARE_WITH_TIMEOUT(cancelledFinished.size(), 1, 60000);
    QVERIFY(cancelled.record() && !cancelled.record()->complete);
    QVERIFY(cancelled.errorString().contains(QLatin1String("cancelled")));
    QVERIFY(cancelled.record()->okCount < readRecord(bytes)->okCount);
}

// The window shows the report before it is read through; the failed-only
// view asked for meanwhile comes once it is read; a cancelled read keeps
// its file, marked incomplete, and says so in the output pane.
void TestReportStream::windowShowsTheReportWhileItIsRead()
{
    ReporterHost<> host;
    QAStOutputWidget output;
    host.studio.output = &output;
    QTemporaryDir dir;
    const QString path = writeReport(dir, generatedReport(60));
    QAReporter::setStreamingThreshold(0);

    std::unique_ptr<QAReporter> window = host.open({path});
    QVERIFY(window->isStreaming());
    window->failedtests();
    QTRY_VERIFY_WITH_TIMEOUT(!window->isStreaming(), 60000);
    QVERIFY(window->records().first()->complete);
    int items = 0;
    for (QTreeWidgetItemIterator it(window->reportTree()); *it; ++it, ++items) {
        const QString status = (*it)->data(1, QARListViewItem::StatusRole).toString();
        QVERIFY2(status.isEmpty() || status == QLatin1String("KO"), qPrintable(status));
    }
    QVERIFY(items > 60);

    // Large enough to be still read when the first items show.
    QTemporaryDir largeDir;
    std::unique_ptr<QAReporter> cancelled =
        host.open({writeReport(largeDir, generatedReport(1500))});
    QTRY_COMPARE_WITH_TIMEOUT(cancelled->reportTree()->topLevelItemCount(), 1, 60000);
    cancelled->cancelReading();
    QVERIFY(!cancelled->isStreaming());
    QVERIFY(!cancelled->records().first()->complete);
    QVERIFY(
        cancelled->reportTree()->topLevelItem(0)->text(0).endsWith(QLatin1String("(incomplete)")));
    QVERIFY(output.toPlainText().contains(QLatin1String("read only in part")));
}

QTEST_MAIN(TestReportStream)
// The window's rows of report items, kept in parts, answer as one hash of
// the same entries; addresses a few bytes apart, as allocated items are,
// fall into different parts.
void TestReportStream::rowIndexAnswersAsOneHash()
{
    QAReporterRowIndex index;
    QHash<const DItem*, QTreeWidgetItem*> expected;
    QRandomGenerator random(7);
    const auto* base = reinterpret_cast<const char*>(quintptr(0x7f0000000000));
    for (int step = 0; step < 20000; ++step) {
        const auto* item = reinterpret_cast<const DItem*>(base + 16 * random.bounded(30000));
        auto* row = reinterpret_cast<QTreeWidgetItem*>(quintptr(8 * (step + 1)));
        if (!index.contains(item))
            index.insert(item, row);
        expected.insert(item, expected.value(item, row));
        QCOMPARE(index.value(item), expected.value(item));
    }
    QCOMPARE(index.size(), expected.size());
    for (auto entry = expected.cbegin(); entry != expected.cend(); ++entry)
        QCOMPARE(index.value(entry.key()), entry.value());
    QVERIFY(!index.value(reinterpret_cast<const DItem*>(base - 16)));
    index.clear();
    QCOMPARE(index.size(), 0);
}

#include "tst_reportstream.moc"
