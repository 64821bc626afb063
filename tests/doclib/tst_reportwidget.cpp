#include "dblocklayout.h"
#include "dblocktext.h"
#include "dchartobject.h"
#include "ditems.h"
#include "documentitems.h"
#include "dreportwidget.h"
#include "dreportwidget_p.h"
#include "dstyle.h"
#include "files.h"

#include <QAbstractTextDocumentLayout>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextList>
#include <QTextTable>

#include <memory>

namespace {

// A document with every kind of item.
const QByteArray everyKind = R"(<DOCUMENT name="sample" title="Sample">
<HEADER>Nightly run, build 42</HEADER>
<TITLE level="1" name="top">Sample report</TITLE>
<PARAGRAPH name="intro">An introduction with a <LINK target="parser.c line 42">source link</LINK>,
   a tag <TAG name="anchor1"/> and a pointer <TAGPOINTER target="anchor1"/>.</PARAGRAPH>
<SUMMARY><SENTRY target="::unit">Unit tests</SENTRY><SENTRY target="::system">System tests</SENTRY></SUMMARY>
<SECTION name="lists"><TITLE level="2">Lists</TITLE>
<LIST><PARAGRAPH>first point</PARAGRAPH><PARAGRAPH>second point</PARAGRAPH><TEXT>third point</TEXT></LIST></SECTION>
<TABLE name="results" frame="2" widths="0.6 0.2 0.2">
<ROW><CELLTEXT>Check</CELLTEXT><CELLTEXT>Expected</CELLTEXT><CELLTEXT>Actual</CELLTEXT></ROW>
<ROW><CELLTEXT hspan="1">spanning two</CELLTEXT><CELLTEXT>3</CELLTEXT></ROW>
<ROW><CELL><PARAGRAPH>in a cell</PARAGRAPH></CELL><CELLTEXT vspan="1">tall</CELLTEXT><CELLTEXT>x</CELLTEXT></ROW>
<ROW><CELLTEXT>last</CELLTEXT><CELLTEXT>y</CELLTEXT></ROW>
</TABLE>
<PARAGRAPH>Details: <POPUPLINK target="more">show details</POPUPLINK></PARAGRAPH>
<POPUP name="more"><PARAGRAPH>Hidden details that expand in place.</PARAGRAPH></POPUP>
<PAGEBREAK/>
<TITLE level="3">Timing</TITLE>
<GRAPHIC name="chart" title="Run time" width="420" height="240">
<AXIS orientation="x" label="run"/><AXIS orientation="y" label="seconds" min="0" max="10"/>
<CURVE label="parser" color="#1f77b4"><POINT x="1" y="2"/><POINT x="2" y="3.5"/><POINT x="3" y="3"/></CURVE>
<CURVE label="query"><POINT x="1" y="6"/><POINT x="2" y="5"/><POINT x="3" y="7.5"/></CURVE>
</GRAPHIC>
<PARAGRAPH>Pictures: <IMAGE src="pixel.png"/> <IMAGE src="kestrel-logo.svg"/></PARAGRAPH>
<PARAGRAPH name="trace">E&#160;&#160;&#160; AssertionError&#8232;&#160;&#160;at f</PARAGRAPH>
<INDEX><IENTRY target="::parser">parser</IENTRY></INDEX>
<FOOTER>End of report</FOOTER>
</DOCUMENT>)";

// count sections, each a title, a paragraph and a small table.
QByteArray longDocument(int count, const QByteArray& special = QByteArray(), int specialAt = -1)
{
    QByteArray aml = "<DOCUMENT name=\"long\">";
    for (int i = 0; i < count; ++i) {
        const QByteArray n = QByteArray::number(i);
        aml += "<SECTION name=\"s" + n + "\"><TITLE level=\"2\">Case " + n +
               "</TITLE><PARAGRAPH>Text of case " + n +
               (i == specialAt ? " " + special : QByteArray()) + ".</PARAGRAPH>" +
               "<TABLE><ROW><CELLTEXT>a" + n +
               "</CELLTEXT><CELLTEXT>b</CELLTEXT></ROW></TABLE></SECTION>";
    }
    return aml + "</DOCUMENT>";
}

const DItem* named(const DItem* root, const QString& name)
{
    for (const DItem* item : itemsOf(const_cast<DItem*>(root)))
        if (item->name() == name)
            return item;
    return nullptr;
}

const DItem* ofKind(const DItem* root, DItem::Kind kind)
{
    for (const DItem* item : itemsOf(const_cast<DItem*>(root)))
        if (item->kind() == kind)
            return item;
    return nullptr;
}

// A view of the given size, showing doc when given.
struct View : DReportWidget
{
    explicit View(int width, int height, DDocument* doc = nullptr)
    {
        resize(width, height);
        if (doc)
            setDocument(doc, true);
    }
};

DReportWidgetPrivate& parts(DReportWidget& view)
{
    return *view.parts();
}

const DBlockLayout* layoutFor(DReportWidget& view, const DItem* item)
{
    return parts(view).layouts.layout(parts(view).model.blockOf(item));
}

// The first table in a block's layout.
QTextTable* tableOf(const DBlockLayout* layout)
{
    for (QTextFrame* frame : layout->document()->rootFrame()->childFrames()) {
        if (auto* table = qobject_cast<QTextTable*>(frame))
            return table;
    }
    return nullptr;
}

int pdfPages(const QString& path)
{
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?![s\\w])"));
    return int(QString::fromLatin1(readFile(path)).count(page));
}

} // namespace

class TestReportWidget : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void everyKindIsRendered();
    void stylesShapeTheFormats();
    void moveToLandsOnTheItem();
    void currentItemFollowsScrollingAndRebuilds();
    void clickingALinkEmitsIt();
    void linksByKeyboardAndPopupsInPlace();
    void selectionSpansBlocks();
    void printingHonoursPageBreaks();
    void deepNestingDoesNotOverflowAndSearchSelects();

private:
    std::unique_ptr<DDocument> m_sample;
};

void TestReportWidget::initTestCase()
{
    m_sample = readAml(everyKind);
    QVERIFY(m_sample);
}

void TestReportWidget::everyKindIsRendered()
{
    View view(700, 500);
    view.insertSearchPath(QStringLiteral(":/images"));
    view.insertSearchPath(XRD_SOURCE_DIR "/examples");
    view.setDocument(m_sample.get(), true);
    const DDocument* doc = m_sample.get();
    auto shown = [&](const DItem* item) {
        return layoutFor(view, item)->document()->toPlainText();
    };

    // Titles: bigger and bold by level, without any style.
    const QFont f1 = layoutFor(view, named(doc, "top"))->document()->begin().charFormat().font();
    const QFont f2 = layoutFor(view, ofKind(named(doc, "lists"), DItem::Title))
                         ->document()
                         ->begin()
                         .charFormat()
                         .font();
    QVERIFY(f1.bold() && f1.pointSizeF() > f2.pointSizeF());
    QVERIFY(f2.pointSizeF() > view.font().pointSizeF());

    // A paragraph folds white space and carries its link as an anchor;
    // no-break spaces and line separators stay, as monospace text has them.
    const DBlockLayout* intro = layoutFor(view, named(doc, "intro"));
    QVERIFY(shown(named(doc, "intro")).startsWith("An introduction with a source link, a tag"));
    QCOMPARE(shown(named(doc, "trace")), QString("E    AssertionError\n  at f"));
    QCOMPARE(int(intro->anchors().size()), 2); // the link and the tag pointer
    QCOMPARE(QList<int>({intro->anchors()[0].item->kind(), intro->anchors()[1].item->kind()}),
             QList<int>({DItem::Link, DItem::TagPointer}));
    QVERIFY(intro->positionOf(named(doc, "anchor1")) > 0);
    QVERIFY(shown(named(doc, "intro")).contains(QStringLiteral("\u2192 anchor1")));
    // Summary and index entries are clickable blocks of their own.
    QCOMPARE(layoutFor(view, ofKind(doc, DItem::SEntry))->anchors().size(), size_t(1));
    QCOMPARE(layoutFor(view, ofKind(doc, DItem::IEntry))->anchors().size(), size_t(1));

    // A list makes one list item per child.
    QTextList* textList = layoutFor(view, ofKind(doc, DItem::List))->document()->begin().textList();
    QVERIFY(textList);
    QCOMPARE(textList->count(), 3);

    // A table with relative widths, spans across columns and rows.
    QTextTable* textTable = tableOf(layoutFor(view, named(doc, "results")));
    QVERIFY(textTable);
    const QList<QTextLength> widths = textTable->format().columnWidthConstraints();
    QCOMPARE(widths.size(), 3);
    QCOMPARE(widths[0].type(), QTextLength::PercentageLength);
    QVERIFY(qAbs(widths[0].rawValue() - 60.0) < 0.01);
    QCOMPARE(QList<int>({textTable->rows(), textTable->columns(),
                         textTable->cellAt(1, 0).columnSpan(), textTable->cellAt(2, 1).rowSpan()}),
             QList<int>({4, 3, 2, 2}));
    QCOMPARE(textTable->cellAt(3, 2).firstCursorPosition().block().text(), QStringLiteral("y"));

    // The closed popup takes no room; the graphic is a chart object.
    QCOMPARE(layoutFor(view, named(doc, "more"))->height(), 0);
    const DBlockLayout* chart = layoutFor(view, named(doc, "chart"));
    const QTextCharFormat chartFormat = chart->document()->begin().begin().fragment().charFormat();
    QCOMPARE(chartFormat.objectType(), int(DChartObject::ObjectType));
    QCOMPARE(DChartObject::graphicOf(chartFormat), named(doc, "chart"));
    QVERIFY(chart->height() >= 240);

    // The pictures are found through the search path; an SVG one is drawn
    // too, not named in its place.
    int images = 0;
    const QTextBlock pictureBlock = layoutFor(view, ofKind(doc, DItem::Image))->document()->begin();
    for (QTextBlock::iterator it = pictureBlock.begin(); !it.atEnd(); ++it)
        images += it.fragment().charFormat().isImageFormat();
    QCOMPARE(images, 2);
    QVERIFY(!pictureBlock.text().contains("kestrel-logo.svg"));

    const QTextBlock pageBreak =
        layoutFor(view, ofKind(doc, DItem::PageBreak))->document()->begin();
    QVERIFY(pageBreak.blockFormat().hasProperty(QTextFormat::BlockTrailingHorizontalRulerWidth));
}

void TestReportWidget::stylesShapeTheFormats()
{
    DStyle failed("Normal Failed");
    failed.setColor(QColor("#b00020"));
    failed.setBold(true);
    failed.setAlignment(Qt::AlignRight);
    failed.setBackground(QColor("#fff0f0"));
    DStyle array("Array Title");
    array.setBackground(QColor("#dde4ee"));
    auto doc =
        readAml("<DOCUMENT><PARAGRAPH style=\"Normal Failed\">bad</PARAGRAPH>"
                "<TABLE><ROW style=\"Array Title\"><CELLTEXT>h</CELLTEXT></ROW></TABLE></DOCUMENT>",
                {&failed, &array});
    View view(500, 300, doc.get());
    const QTextBlock block = parts(view).layouts.layout(0)->document()->begin();
    QCOMPARE(block.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    QCOMPARE(block.blockFormat().background().color(), QColor("#fff0f0"));
    QCOMPARE(block.begin().fragment().charFormat().foreground().color(), QColor("#b00020"));
    QVERIFY(block.begin().fragment().charFormat().font().bold());
    QTextTable* textTable = tableOf(parts(view).layouts.layout(1));
    QVERIFY(textTable);
    QCOMPARE(textTable->cellAt(0, 0).format().background().color(), QColor("#dde4ee"));
}

void TestReportWidget::moveToLandsOnTheItem()
{
    auto doc = readAml(longDocument(3000));
    auto index = readAml(
        "<DOCUMENT name=\"index\"><PARAGRAPH name=\"s10\">other s10</PARAGRAPH></DOCUMENT>");
    View view(600, 400);
    view.show();
    view.setDocument(doc.get(), true);
    view.setDocument(index.get(), false);
    QVERIFY(parts(view).layouts.count() < 200);

    for (const char* name : {"s0", "s1500"}) {
        QVERIFY(view.moveTo(named(doc.get(), name)));
        QCOMPARE(parts(view).topOffset(), parts(view).itemOffset(named(doc.get(), name)));
        QCOMPARE(view.currentItemName(), QString::fromLatin1(name));
    }
    // An item inside a block: the paragraph of a middle case.
    const DItem* text = ofKind(named(doc.get(), "s1200"), DItem::Paragraph);
    QVERIFY(view.moveTo(text));
    QCOMPARE(parts(view).topOffset(), parts(view).itemOffset(text));
    const DBlockLayout* top = parts(view).layouts.layout(parts(view).topBlock());
    QVERIFY(top->document()->toPlainText().startsWith("Text of case 1200"));
    // By name: the first item of that name in document order; the end of the
    // documents cannot scroll higher, so the last one is only made visible.
    QVERIFY(view.moveTo("", "", "s10"));
    QCOMPARE(parts(view).topOffset(), parts(view).itemOffset(named(doc.get(), "s10")));
    QVERIFY(view.moveTo(QString(), QString(), "index"));
    const qint64 place = parts(view).itemOffset(index->first()) - parts(view).topOffset();
    QVERIFY(place >= 0 && place < view.viewport()->height());
    QCOMPARE(view.currentItemName(), QStringLiteral("index"));
    DText foreign("not shown");
    QVERIFY(!view.moveTo("", "", "nowhere") && !view.moveTo("", "", ""));
    QVERIFY(!view.moveTo(&foreign) && !view.moveTo(nullptr));

    // A long jump lays out what it lands on, not every block passed over.
    parts(view).layouts.setLimit(192);
    parts(view).scrollToTop();
    const int before = parts(view).layouts.count();
    parts(view).scrollBy(int(parts(view).itemOffset(named(doc.get(), "s2000"))));
    QVERIFY(parts(view).topBlock() > parts(view).model.blockOf(named(doc.get(), "s1000")));
    QVERIFY(parts(view).layouts.count() <= before + 2);
}

void TestReportWidget::currentItemFollowsScrollingAndRebuilds()
{
    auto doc = readAml(longDocument(400));
    View view(600, 300, doc.get());
    QCOMPARE(view.currentItemName(), QStringLiteral("s0")); // a section starts at its first block
    for (int page = 0; page < 30; ++page) {
        parts(view).scrollBy(view.viewport()->height());
        // The named item is at or above the top, and the next one below it.
        const QString name = view.currentItemName();
        QVERIFY(parts(view).itemOffset(view.currentItem()) <= parts(view).topOffset());
        const DItem* next = named(doc.get(), QStringLiteral("s%1").arg(name.mid(1).toInt() + 1));
        QVERIFY2(parts(view).itemOffset(next) > parts(view).topOffset(), qPrintable(name));
    }
    QVERIFY(view.currentItemName() != QStringLiteral("s0"));

    // A rebuild keeps the documents, the item at the top and the place in it.
    auto second = readAml(longDocument(20));
    view.setDocument(second.get(), false);
    const DItem* top = view.currentItem();
    QVERIFY(view.moveTo(top));
    parts(view).scrollBy(7);
    const QString name = view.currentItemName();
    const qint64 offset = parts(view).topOffset() - parts(view).itemOffset(top);
    view.setBackgroundColor(QColor("#fdf6e3"));
    view.rebuildDoc();
    QCOMPARE(view.documents().size(), 2);
    QCOMPARE(view.currentItemName(), name);
    QCOMPARE(parts(view).topOffset() - parts(view).itemOffset(top), offset);
    QCOMPARE(view.grab().toImage().pixelColor(2, 2), QColor("#fdf6e3"));
    // Room reserved on another thread, taken in a later turn, moves nothing.
    QList<int> blocks;
    for (int section = 0; section < 400; section += 7)
        blocks.append(
            parts(view).model.blockOf(named(doc.get(), QStringLiteral("s%1").arg(section))));
    view.reserveBlocks(100000);
    QTRY_VERIFY(!parts(view).reserver);
    for (int section = 0, at = 0; section < 400; section += 7, ++at)
        QCOMPARE(parts(view).model.blockOf(named(doc.get(), QStringLiteral("s%1").arg(section))),
                 blocks.at(at));
    view.reserveBlocks(100000); // dropped by the clear below
    // Cleared views remember the name, for a reload to come back to it.
    const QString before = view.currentItemName();
    view.clearDocs();
    QVERIFY(!parts(view).reserver);
    QCOMPARE(view.currentItem(), nullptr);
    QCOMPARE(view.currentItemName(), before);
}

void TestReportWidget::clickingALinkEmitsIt()
{
    View view(700, 500);
    view.setMargin(5, 5, 5, 5);
    view.setDocument(m_sample.get(), true);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    const DItem* link = ofKind(m_sample.get(), DItem::Link);
    const int block = parts(view).model.blockOf(link);
    const DBlockLayout* layout = parts(view).layouts.layout(block);
    const DBlockLayout::Anchor anchor = layout->anchors()[0];
    const QRectF rect = layout->rectOfRange(anchor.start, anchor.end);
    const qreal x =
        layout->document()->documentLayout()->blockBoundingRect(layout->document()->begin()).left();
    // The link's first character, in viewport coordinates.
    QTextCursor cursor(layout->document());
    cursor.setPosition(anchor.start + 1);
    const QTextLine line =
        cursor.block().layout()->lineForTextPosition(anchor.start + 1 - cursor.block().position());
    const QPoint at(
        int(5 + x + line.cursorToX(anchor.start + 1 - cursor.block().position()) + 2),
        int(parts(view).itemOffset(link) - parts(view).topOffset() + rect.height() / 2));
    QSignalSpy spy(&view, &DReportWidget::activatedLink);
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, at);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).value<DLink*>(), static_cast<const DLink*>(link));
    // Clicking plain text emits nothing.
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, QPoint(at.x(), 3));
    QCOMPARE(spy.count(), 1);
}

void TestReportWidget::linksByKeyboardAndPopupsInPlace()
{
    View view(700, 500, m_sample.get());
    view.show();
    view.setFocus();
    QSignalSpy spy(&view, &DReportWidget::activatedLink);
    QTest::keyClick(&view, Qt::Key_Tab);
    QTest::keyClick(&view, Qt::Key_Return);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).value<DLink*>()->target(), QStringLiteral("parser.c line 42"));
    // Tag pointer (moves inside the view), then the summary entries.
    QTest::keyClick(&view, Qt::Key_Tab);
    QTest::keyClick(&view, Qt::Key_Tab);
    QTest::keyClick(&view, Qt::Key_Enter);
    QCOMPARE(spy.count(), 2);
    QCOMPARE(spy.at(1).at(0).value<DLink*>()->target(), QStringLiteral("xrdlink://#unit"));
    QTest::keyClick(&view, Qt::Key_End);
    QVERIFY(parts(view).topOffset() > 0);
    QTest::keyClick(&view, Qt::Key_Home);
    QCOMPARE(parts(view).topOffset(), 0);

    // A popup link expands its popup in place and folds it again, without
    // a link for the caller.
    const int block = parts(view).model.blockOf(ofKind(m_sample.get(), DItem::PopupLink));
    const DItem* popup = named(m_sample.get(), "more");
    parts(view).interaction.activateAnchor(block, 0);
    QVERIFY(layoutFor(view, popup)->height() > 0);
    QVERIFY(layoutFor(view, popup)->document()->toPlainText().contains("Hidden details"));
    QVERIFY(parts(view).layouts.layout(block)->document()->toPlainText().contains(QChar(0x25BE)));
    parts(view).interaction.activateAnchor(block, 0);
    QCOMPARE(layoutFor(view, popup)->height(), 0);
    QCOMPARE(spy.count(), 2);
}

void TestReportWidget::selectionSpansBlocks()
{
    auto doc = readAml(longDocument(600, "E&#160;&#160;&#160; x", 1));
    View view(600, 300);
    parts(view).layouts.setLimit(16);
    view.setDocument(doc.get(), true);
    view.selectAll();
    const QString all = view.selectedText();
    QVERIFY(all.startsWith("Case 0\nText of case 0.\na0\tb"));
    QVERIFY(all.contains("\nText of case 1 E    x.\n")); // no-break spaces copied as spaces
    QVERIFY(all.endsWith("Case 599\nText of case 599.\na599\tb"));
    QCOMPARE(all.count("Text of case"), 600);
    QVERIFY(parts(view).layouts.count() <= 16); // whole blocks are taken from the items
}

void TestReportWidget::printingHonoursPageBreaks()
{
    auto doc =
        readAml("<DOCUMENT><TITLE>One</TITLE><PAGEBREAK/><PARAGRAPH>Two</PARAGRAPH><PAGEBREAK/>"
                "<PARAGRAPH>Three</PARAGRAPH></DOCUMENT>");
    View view(600, 400, doc.get());
    // Printing to a path is what is tested, so this needs real files.
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString pdf = dir.filePath("breaks.pdf");
    QVERIFY(view.printToPdf(pdf));
    QCOMPARE(pdfPages(pdf), 3);
    // A long document without breaks flows over several pages.
    auto longDoc = readAml(longDocument(120));
    view.setDocument(longDoc.get(), true);
    QVERIFY(view.printToPdf(pdf));
    QVERIFY(pdfPages(pdf) > 3);
    // A path that cannot be written fails, with the reason logged.
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("cannot write .*"));
    QVERIFY(!view.printToPdf(dir.filePath("breaks.pdf/inside.pdf")));
}

void TestReportWidget::deepNestingDoesNotOverflowAndSearchSelects()
{
    const QByteArray aml = "<DOCUMENT>" + QByteArray("<TABLE><ROW><CELL><SECTION>").repeated(495) +
                           "<TEXT>deep   inside</TEXT>" +
                           QByteArray("</SECTION></CELL></ROW></TABLE>").repeated(495);
    auto doc = readAml(aml + "</DOCUMENT>");
    QVERIFY(doc);
    View view(600, 300, doc.get());
    QVERIFY(!view.grab().isNull());
    // The match is selected as shown, white space folded, and kept when
    // nothing more is found.
    QVERIFY(view.search(QRegularExpression("deep\\s+inside")));
    QVERIFY(!view.search(QRegularExpression("absent text")));
    QCOMPARE(view.selectedText(), QStringLiteral("deep inside"));
}

QTEST_MAIN(TestReportWidget)
#include "tst_reportwidget.moc"
