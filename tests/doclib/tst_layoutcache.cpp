// The bounded cache of laid-out blocks and the model's block heights.
#include "ditems.h"
#include "laidoutdocument.h"

#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

namespace {

QByteArray paragraphs(int count)
{
    QByteArray aml = "<DOCUMENT>";
    for (int i = 0; i < count; ++i)
        aml += "<PARAGRAPH name=\"p" + QByteArray::number(i) + "\">Paragraph " +
               QByteArray::number(i) + "</PARAGRAPH>";
    return aml + "</DOCUMENT>";
}

using Laid = LaidOutDocument;

} // namespace

class TestLayoutCache : public QObject
{
    Q_OBJECT

private slots:
    void evictsTheLeastRecentlyUsedAndSetsHeights();
    void decodedImagesAreBoundedBySize();
    void modelMapsItemsAndNamesToBlocks();
};

void TestLayoutCache::evictsTheLeastRecentlyUsedAndSetsHeights()
{
    Laid laid(paragraphs(40));
    laid.layouts.setLimit(3); // below the floor of 8
    QCOMPARE(laid.layouts.limit(), 8);
    for (int block = 0; block < 8; ++block)
        laid.layouts.layout(block);
    QCOMPARE(laid.layouts.count(), 8);
    laid.layouts.layout(0); // now the most recently used
    laid.layouts.layout(8);
    QCOMPARE(laid.layouts.count(), 8);
    QVERIFY(laid.layouts.contains(0));
    QVERIFY(!laid.layouts.contains(1)); // the least recently used went, only it
    for (int block = 2; block <= 8; ++block)
        QVERIFY(laid.layouts.contains(block));
    // A lower limit drops the oldest ones at once.
    laid.layouts.setLimit(20);
    for (int block = 9; block < 20; ++block)
        laid.layouts.layout(block);
    QCOMPARE(laid.layouts.count(), 19);
    laid.layouts.setLimit(10);
    QCOMPARE(laid.layouts.count(), 10);
    QVERIFY(laid.layouts.contains(19) && !laid.layouts.contains(9));
    laid.layouts.invalidate(19);
    QVERIFY(!laid.layouts.contains(19));
    laid.layouts.invalidate();
    QCOMPARE(laid.layouts.count(), 0);
    // Each layout replaces its block's estimated height.
    for (int block = 0; block < 30; block += 3)
        QCOMPARE(laid.model.heights().height(block), laid.layouts.layout(block)->height());
    QVERIFY(laid.layouts.widest() > 0);
}

void TestLayoutCache::decodedImagesAreBoundedBySize()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    // Each image decodes to 4 MB; the cache holds 64 MB of them.
    QByteArray aml = "<DOCUMENT>";
    for (int i = 0; i < 24; ++i) {
        QImage image(1024, 1024, QImage::Format_ARGB32);
        image.fill(QColor(i * 10, 0, 0));
        QVERIFY(image.save(dir.filePath(QStringLiteral("i%1.png").arg(i))));
        aml += "<PARAGRAPH><IMAGE src=\"i" + QByteArray::number(i) + ".png\"/></PARAGRAPH>";
    }
    Laid laid(aml + "</DOCUMENT>", 500,
              [&dir](const QString& source) { return dir.filePath(source); });
    for (int block = 0; block < 24; ++block)
        QVERIFY(laid.layouts.layout(block)->height() >= 100); // shown, scaled to the width
    QVERIFY(laid.layouts.imageCount() > 0);
    QVERIFY(laid.layouts.imageCount() * 4 * 1024 <= DLayoutCache::imageLimitKB);
    laid.layouts.clearImages();
    QCOMPARE(laid.layouts.imageCount(), 0);
}

void TestLayoutCache::modelMapsItemsAndNamesToBlocks()
{
    QByteArray aml = "<DOCUMENT name=\"doc\"><SECTION name=\"sec\"><TITLE>T</TITLE>"
                     "<TABLE name=\"long\" widths=\"3 1\">";
    for (int i = 0; i < 2 * DReportModel::rowsPerBlock + 5; ++i)
        aml += "<ROW name=\"r" + QByteArray::number(i) +
               "\"><CELLTEXT>c</CELLTEXT><CELLTEXT>d</CELLTEXT></ROW>";
    aml += "</TABLE></SECTION><PARAGRAPH name=\"after\">x</PARAGRAPH></DOCUMENT>";
    Laid laid(aml);
    const DReportModel& model = laid.model;
    QCOMPARE(model.blockCount(), 1 + 3 + 1); // the title, three runs of rows, the paragraph
    QList<int> blocks;
    for (const char* name : {"doc", "sec", "r0", "r48", "r100", "after"})
        blocks << model.blockOf(model.findNamed(name));
    QCOMPARE(blocks, QList<int>({0, 0, 1, 2, 3, 4}));
    QCOMPARE(model.block(3).rows, 5);
    // The last run of rows keeps the table's widths.
    const QList<QTextFrame*> frames =
        laid.layouts.layout(3)->document()->rootFrame()->childFrames();
    auto* table = frames.isEmpty() ? nullptr : qobject_cast<QTextTable*>(frames.first());
    QVERIFY(table);
    QCOMPARE(table->format().columnWidthConstraints().value(0).rawValue(), 75.0);
    // The last named item before each block, in document order.
    QCOMPARE(model.block(0).namedBefore, model.findNamed("sec"));
    QCOMPARE(model.block(2).namedBefore, model.findNamed("r47"));
    QCOMPARE(model.block(4).namedBefore, model.findNamed("r100"));
    QCOMPARE(model.findNamed("nowhere"), nullptr);
    DText foreign("not shown");
    QCOMPARE(model.blockOf(&foreign), -1);
}

QTEST_MAIN(TestLayoutCache)
#include "tst_layoutcache.moc"
