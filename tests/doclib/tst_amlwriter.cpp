#include "damlhandler.h"
#include "damlreader.h"
#include "damlwriter.h"
#include "ditems.h"
#include "documentitems.h"
#include "dstyle.h"

#include <QBuffer>
#include <QtTest>

#include <memory>

namespace {

template <class T> T* findNamed(DDocument* document, const QString& name)
{
    for (DItem* item : itemsOf(document)) {
        if (item->name() == name)
            return static_cast<T*>(item);
    }
    return nullptr;
}

const char* everyKind = R"(<DOCUMENT name="doc&amp;1" title="A &lt;title&gt; &quot;q&quot; 'a'">
 <SECTION name="" style="Normal">
  <TITLE level="3">Head</TITLE>
  <PARAGRAPH>Some <LINK name="lk" target="a.c line 3">link &amp; text</LINK></PARAGRAPH>
  <TABLE name="tb" frame="1" widths="0.6 0.1 0.30000000000000004">
   <ROW><CELL hspan="1" vspan="2"><TEXT>x</TEXT></CELL><CELLTEXT name="ct">cell &lt;text&gt;<TEXT>child</TEXT></CELLTEXT></ROW>
  </TABLE>
  <HEADER/><FOOTER/><LIST/><POPUPLINK target="p"/><POPUP/>
  <SUMMARY><SENTRY target="s">entry</SENTRY></SUMMARY><INDEX><IENTRY target="i">ientry</IENTRY></INDEX>
  <GRAPHIC title="g" width="300" height="200"><AXIS name="ax" orientation="y" label="l" min="-1.5" max="2"/>
   <CURVE name="cv" label="c" color="#80ff0000"><POINT name="pt" x="1.25" y="-3"/></CURVE></GRAPHIC>
  <PAGEBREAK/><IMAGE src="i.png"/><TAG name="t"/><TAG/><TAGPOINTER target="t"/>
  <TEXT name="sp">  spaced  </TEXT>
 </SECTION>
</DOCUMENT>)";

} // namespace

class TestAmlWriter : public QObject
{
    Q_OBJECT

private slots:
    void roundTripKeepsEveryKind();
    void escapesTextsAndAttributes();
    void formattedOutputReadsBackTheSame();
    void writesDocumentsNestedToTheReaderLimit();
};

void TestAmlWriter::roundTripKeepsEveryKind()
{
    DStyle normal(QStringLiteral("Normal"));
    const QList<DStyle*> styles{&normal};
    auto source = readAml(everyKind, styles);
    QVERIFY(source);
    const QString written = DAmlWriter::toAml(source.get());
    auto copy = readAml(written.toUtf8(), styles);
    QVERIFY(copy);
    QCOMPARE(DAmlWriter::toAml(copy.get()), written);
    QCOMPARE(itemsOf(copy.get()).size(), itemsOf(source.get()).size());

    // Spot checks of what the comparison above cannot see when the writer
    // drops a field on both passes.
    QCOMPARE(copy->tag(), QStringLiteral("doc&1"));
    QCOMPARE(copy->title(), QStringLiteral("A <title> \"q\" 'a'"));
    auto* section = static_cast<DSection*>(copy->first());
    QVERIFY(!section->name().isNull());
    QVERIFY(section->name().isEmpty());
    QCOMPARE(section->style(), &normal);
    auto* table = findNamed<DTable>(copy.get(), "tb");
    QCOMPARE(table->frame(), 1);
    QCOMPARE(table->widths(), (QList<double>{0.6, 0.1, 0.30000000000000004}));
    auto* cellText = findNamed<DCellText>(copy.get(), "ct");
    QCOMPARE(cellText->text(), QStringLiteral("cell <text>"));
    QCOMPARE(static_cast<DText*>(cellText->first())->text(), QStringLiteral("child"));
    QCOMPARE(static_cast<DCell*>(cellText->parent()->first())->vspan(), 2);
    QCOMPARE(findNamed<DLink>(copy.get(), "lk")->target(), QStringLiteral("a.c line 3"));
    auto* axis = findNamed<DAxis>(copy.get(), "ax");
    QCOMPARE(axis->orientation(), Qt::Vertical);
    QCOMPARE(axis->min(), -1.5);
    QCOMPARE(axis->max(), 2.0);
    QCOMPARE(findNamed<DCurve>(copy.get(), "cv")->color(), QColor(255, 0, 0, 0x80));
    QCOMPARE(findNamed<DPoint>(copy.get(), "pt")->y(), -3.0);
    QCOMPARE(findNamed<DText>(copy.get(), "sp")->text(), QStringLiteral("  spaced  "));
    int nullTags = 0;
    for (DItem* item : itemsOf(copy.get()))
        nullTags += item->kind() == DItem::Tag && item->name().isNull();
    QCOMPARE(nullTags, 1);
}

void TestAmlWriter::escapesTextsAndAttributes()
{
    DDocument document(QStringLiteral("t\"<>&"), QStringLiteral("d"));
    auto* paragraph = static_cast<DItemContainer*>(document.insertAfter(nullptr, new DParagraph));
    auto* link = new DLink(QStringLiteral("x\ny\tz\r'\""));
    paragraph->insertAfter(nullptr, link);
    const QString text = QStringLiteral("a\r\nb\tc]]>d\u00e9\U0001F600") + QChar(0x1) +
                         QChar(0xD800) + QStringLiteral("e");
    link->insertAfter(nullptr, new DText(text));
    paragraph->insertAfter(link, new DText(QStringLiteral("\n  ")));

    const QString written = DAmlWriter::toAml(&document);
    auto copy = readAml(written.toUtf8());
    QVERIFY2(copy, qPrintable(written));
    QCOMPARE(copy->title(), document.title());
    auto* copiedLink = static_cast<DLink*>(static_cast<DItemContainer*>(copy->first())->first());
    QCOMPARE(copiedLink->target(), link->target());
    // Characters XML cannot carry are left out; everything else comes back.
    QCOMPARE(static_cast<DText*>(copiedLink->first())->text(),
             QStringLiteral("a\r\nb\tc]]>d\u00e9\U0001F600e"));
    QCOMPARE(static_cast<DText*>(copiedLink->next())->text(), QStringLiteral("\n  "));
}

void TestAmlWriter::formattedOutputReadsBackTheSame()
{
    auto source = readAml(everyKind);
    QVERIFY(source);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    DAmlWriter writer(&buffer);
    writer.setAutoFormatting(true);
    writer.doAll(source.get());
    QVERIFY(!writer.hasError());
    QVERIFY(buffer.data().count('\n') > 10);
    auto copy = readAml(buffer.data());
    QVERIFY(copy);
    QCOMPARE(DAmlWriter::toAml(copy.get()), DAmlWriter::toAml(source.get()));
}

void TestAmlWriter::writesDocumentsNestedToTheReaderLimit()
{
    const int sections = DAmlReader::maxDepth() - 2; // DOCUMENT and TEXT take two levels
    const QByteArray aml = "<DOCUMENT>" + QByteArray("<SECTION>").repeated(sections) +
                           "<TEXT>bottom</TEXT>" + QByteArray("</SECTION>").repeated(sections) +
                           "</DOCUMENT>";
    auto source = readAml(aml);
    QVERIFY(source);
    const QString written = DAmlWriter::toAml(source.get());
    QCOMPARE(written.toUtf8(), aml);
}

QTEST_GUILESS_MAIN(TestAmlWriter)
#include "tst_amlwriter.moc"
