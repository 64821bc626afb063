#include "damlhandler.h"
#include "damlreader.h"
#include "damlwriter.h"
#include "ditems.h"
#include "documentitems.h"
#include "drecentcache.h"
#include "dstyle.h"
#include "dupdater.h"

#include <QBuffer>
#include <QtTest>

#include <memory>
#include <vector>

namespace {

struct Parsed
{
    bool ok = false;
    QString error;
    std::unique_ptr<DDocument> document;
    QStringList styleNames;
    std::vector<std::unique_ptr<DStyle>> localStyles;
};

Parsed parse(const QByteArray& xml, const QList<DStyle*>& styles = {}, bool localStyles = false)
{
    DAmlHandler handler;
    handler.setStyles(styles);
    handler.setEnabledLocalStyle(localStyles);
    DAmlReader reader;
    reader.setContentHandler(&handler);
    Parsed parsed;
    parsed.ok = reader.parse(xml);
    parsed.error = handler.errorString();
    parsed.document = handler.takeDocument();
    parsed.styleNames = handler.styleNames();
    for (DStyle* style : handler.takeStyles())
        parsed.localStyles.emplace_back(style);
    return parsed;
}

template <class T> T* firstOf(DItem* root, DItem::Kind kind)
{
    for (DItem* item : itemsOf(root)) {
        if (item->kind() == kind)
            return static_cast<T*>(item);
    }
    return nullptr;
}

QStringList childTexts(DItemContainer* container)
{
    QStringList texts;
    for (DItem* child = container->first(); child; child = child->next()) {
        if (child->kind() == DItem::Text)
            texts << static_cast<DText*>(child)->text();
        else
            texts << QString("<%1>").arg(DItem::kindName(child->kind()));
    }
    return texts;
}

QByteArray nestedSections(int depth)
{
    return QByteArray("<SECTION>").repeated(depth) + QByteArray("</SECTION>").repeated(depth);
}

const QByteArray everyKind =
    R"(<DOCUMENT name="doc&amp;1" title="A &lt;title&gt; &quot;q&quot; 'a'">
 <HEADER style="normal">h</HEADER>
 <SECTION name="" style="Normal">
  <TITLE level="3">Head</TITLE>
  <PARAGRAPH>Some <LINK name="lk" target="a.c line 3">link &amp; text</LINK></PARAGRAPH>
  <LIST><PARAGRAPH>i</PARAGRAPH></LIST>
  <TABLE frame="1" widths="0.6 0.1 0.30000000000000004">
   <ROW><CELL hspan="1" vspan="2"><TEXT>x</TEXT></CELL><CELLTEXT hspan="0" vspan="1">cell &lt;text&gt;<TEXT>child</TEXT></CELLTEXT></ROW>
  </TABLE>
  <POPUPLINK target="pop">more</POPUPLINK><POPUP name="pop">hidden</POPUP>
  <SUMMARY><SENTRY target="s">entry</SENTRY></SUMMARY><INDEX><IENTRY target="tag1">ientry</IENTRY></INDEX>
  <GRAPHIC title="trend" width="320" height="200"><AXIS orientation="y" label="ms" min="-1.5" max="50"/>
   <CURVE label="run" color="#80ff0000"><POINT x="1.25" y="-3"/></CURVE></GRAPHIC>
  <PAGEBREAK/><IMAGE src="logo.png"/><TAG name="tag1"/><TAG/><TAGPOINTER target="tag1"/>
  <TEXT>  spaced  </TEXT>
 </SECTION>
 <FOOTER>f</FOOTER>
</DOCUMENT>)";

// How an everyKind document reaches the checks: read, or read, written,
// and read back.
enum class Pass { Read, Written, Formatted };

std::unique_ptr<DDocument> passed(Pass pass, const QList<DStyle*>& styles)
{
    auto doc = readAml(everyKind, styles);
    if (!doc || pass == Pass::Read)
        return doc;
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    DAmlWriter writer(&buffer);
    writer.setAutoFormatting(pass == Pass::Formatted);
    writer.doAll(doc.get());
    if (writer.hasError() || (pass == Pass::Formatted) != buffer.data().contains("\n"))
        return nullptr;
    auto copy = readAml(buffer.data(), styles);
    // Written again, the copy gives the same text.
    if (!copy || DAmlWriter::toAml(copy.get()) != DAmlWriter::toAml(doc.get()))
        return nullptr;
    return copy;
}

} // namespace

Q_DECLARE_METATYPE(Pass)

class TestAmlReader : public QObject
{
    Q_OBJECT

private slots:
    void eachKindFromItsElement_data();
    void eachKindFromItsElement();
    void copiesKeepKindNameAndStyle();
    void implicitDocument();
    void textJoiningAndWhiteSpace();
    void repeatedValuesAreShared();
    void localStylesOnAndOff();
    void errorsNameLineAndColumn_data();
    void errorsNameLineAndColumn();
    void spansAreBoundedWhereRead();
    void updaterCompletesTables();
    void deepestAndHugeDocuments();
    void recentCacheAnswersOnlyForItsString();
};

void TestAmlReader::eachKindFromItsElement_data()
{
    QTest::addColumn<Pass>("pass");
    QTest::newRow("read") << Pass::Read;
    QTest::newRow("written") << Pass::Written;
    QTest::newRow("written with line breaks") << Pass::Formatted;
}

void TestAmlReader::eachKindFromItsElement()
{
    QFETCH(Pass, pass);
    DStyle normal(QStringLiteral("Normal"));
    const auto document = passed(pass, {&normal});
    QVERIFY(document);
    DDocument* doc = document.get();
    QSet<int> kinds;
    for (DItem* item : itemsOf(doc))
        kinds.insert(item->kind());
    QCOMPARE(kinds.size(), int(DItem::KindCount));

    auto* section = firstOf<DSection>(doc, DItem::Section);
    QVERIFY(!section->name().isNull() && section->name().isEmpty());
    QCOMPARE(section->style(), &normal);
    QVERIFY(!firstOf<DItem>(doc, DItem::Header)->style()); // names match exactly
    auto* table = firstOf<DTable>(doc, DItem::Table);
    QCOMPARE(table->widths(), (QList<double>{0.6, 0.1, 0.30000000000000004}));
    QVERIFY(firstOf<DItem>(doc, DItem::PopupLink)->toLink());
    QVERIFY(!firstOf<DItem>(doc, DItem::Popup)->toLink());
    auto* cell = firstOf<DCell>(doc, DItem::Cell);
    auto* cellText = firstOf<DCellText>(doc, DItem::CellText);
    auto* sentry = firstOf<DSEntry>(doc, DItem::SEntry);
    auto* ientry = firstOf<DIEntry>(doc, DItem::IEntry);
    auto* graphic = firstOf<DGraphic>(doc, DItem::Graphic);
    auto* axis = firstOf<DAxis>(doc, DItem::Axis);
    auto* curve = firstOf<DCurve>(doc, DItem::Curve);
    auto* point = firstOf<DPoint>(doc, DItem::Point);
    auto n = [](double value) { return QString::number(value); };
    const QStringList read =
        QStringList() << doc->tag() << doc->title()
                      << n(firstOf<DTitle>(doc, DItem::Title)->level())
                      << firstOf<DLink>(doc, DItem::Link)->target() << n(table->frame())
                      << n(cell->hspan()) << n(cell->vspan()) << cellText->text()
                      << n(cellText->vspan()) << static_cast<DText*>(cellText->first())->text()
                      << firstOf<DPopupLink>(doc, DItem::PopupLink)->target() << sentry->target()
                      << sentry->text() << ientry->target() << ientry->text() << graphic->title()
                      << n(graphic->width()) << n(graphic->height()) << n(axis->orientation())
                      << axis->label() << n(axis->min()) << n(axis->max()) << curve->label()
                      << curve->color().name(QColor::HexArgb) << n(point->x()) << n(point->y())
                      << firstOf<DImage>(doc, DItem::Image)->source()
                      << firstOf<DTagPointer>(doc, DItem::TagPointer)->target();
    QCOMPARE(read.join('|'),
             QString("doc&1|A <title> \"q\" 'a'|3|a.c line 3|1|1|2|cell <text>|1|child|pop|s|entry|"
                     "tag1|ientry|trend|320|200|2|ms|-1.5|50|run|#80ff0000|1.25|-3|logo.png|tag1"));
    // A tag without a name keeps a null name, a text its spaces; every child
    // points to its container.
    int nullTags = 0;
    int spaced = 0;
    for (DItem* item : itemsOf(doc)) {
        nullTags += item->kind() == DItem::Tag && item->name().isNull();
        spaced += item->kind() == DItem::Text && static_cast<DText*>(item)->text() == "  spaced  ";
        if (DItemContainer* container = item->toContainer()) {
            for (DItem* child = container->first(); child; child = child->next())
                QCOMPARE(child->parent(), container);
        }
    }
    QCOMPARE(QPoint(nullTags, spaced), QPoint(1, 1));
}

// Items have no virtual table: copies and deletion go by kind, and a name
// shares its slot with the style.
void TestAmlReader::copiesKeepKindNameAndStyle()
{
    DStyle normal(QStringLiteral("Normal"));
    const auto document = passed(Pass::Read, {&normal});
    QVERIFY(document);
    for (DItem* item : itemsOf(document.get())) {
        const std::unique_ptr<DItem, DItem::Deleter> copy(item->clone());
        QCOMPARE(copy->kind(), item->kind());
        QCOMPARE(copy->name().isNull(), item->name().isNull());
        QCOMPARE(copy->name(), item->name());
        QCOMPARE(copy->style(), item->style());
        QVERIFY(!copy->parent() && !copy->next());
        if (const DItemContainer* container = copy->toContainer())
            QVERIFY(!container->first());
    }
    const auto* text = firstOf<DCellText>(document.get(), DItem::CellText);
    const std::unique_ptr<DItem, DItem::Deleter> copy(text->clone());
    QCOMPARE(static_cast<DCellText*>(copy.get())->text(), text->text());

    DStyle other(QStringLiteral("Other"));
    DText named;
    named.setStyle(&normal);
    named.setName(QStringLiteral("n"));
    QCOMPARE(named.style(), &normal);
    named.setStyle(&other);
    named.setName(QStringLiteral("m"));
    QCOMPARE(named.name(), QStringLiteral("m"));
    QCOMPARE(named.style(), &other);
    named.setName(QString());
    QVERIFY(named.name().isNull());
    QCOMPARE(named.style(), &other);
    named.setName(QLatin1String(""));
    QVERIFY(!named.name().isNull() && named.name().isEmpty());
}

void TestAmlReader::implicitDocument()
{
    const Parsed implicit = parse("<SECTION name=\"a\"/><!-- tail -->");
    QVERIFY2(implicit.ok, qPrintable(implicit.error));
    QVERIFY(implicit.document->tag().isNull() && implicit.document->title().isNull());
    QCOMPARE(implicit.document->first()->kind(), DItem::Section);
    QCOMPARE(implicit.document->first()->name(), QString("a"));

    // Unknown elements are transparent: their items join the one document.
    const Parsed wrapped = parse("<X><TITLE>a</TITLE><Y><PARAGRAPH/></Y></X>");
    QVERIFY2(wrapped.ok, qPrintable(wrapped.error));
    QCOMPARE(childTexts(wrapped.document.get()), (QStringList{"<TITLE>", "<PARAGRAPH>"}));

    const Parsed empty = parse("<X/>");
    QVERIFY(empty.ok);
    QVERIFY(!empty.document);
}

// Text between two tags, split by entities, comments and CDATA, is one
// implicit text; runs of white space alone are dropped, except inside text
// items. A
// doctype that declares no entity is read.
void TestAmlReader::textJoiningAndWhiteSpace()
{
    const Parsed p =
        parse("<!DOCTYPE X>\n<X><PARAGRAPH>a &amp; b<!-- c --><![CDATA[ <d> ]]>\n  <LINK>x</LINK>"
              "  <TAG/>  tail  </PARAGRAPH>"
              "<TEXT>  </TEXT><CELLTEXT> one\n two </CELLTEXT>"
              "<PARAGRAPH>E&#160;&#160; x&#8232;\xC2\xA0\xC2\xA0"
              "at f</PARAGRAPH></X>");
    QVERIFY2(p.ok, qPrintable(p.error));
    auto* paragraph = static_cast<DParagraph*>(p.document->first());
    QCOMPARE(childTexts(paragraph), (QStringList{"a & b <d> \n  ", "<LINK>", "<TAG>", "  tail  "}));
    QCOMPARE(static_cast<DText*>(paragraph->next())->text(), QString("  "));
    QCOMPARE(static_cast<DCellText*>(paragraph->next()->next())->text(), QString(" one\n two "));
    // No-break spaces and line separators, as references or as they are.
    QCOMPARE(childTexts(static_cast<DParagraph*>(paragraph->next()->next()->next())),
             QStringList({"E\u00a0\u00a0 x\u2028\u00a0\u00a0at f"}));
}

// What repeats is kept once: a link that shows its target keeps one copy of
// the characters; tables of the same widths share one list.
void TestAmlReader::repeatedValuesAreShared()
{
    const Parsed links = parse("<X><PARAGRAPH><LINK target=\"a.c line 3\">a.c line 3</LINK>"
                               "<LINK target=\"a.c\">a.c line 4</LINK>"
                               "<LINK target=\"a &amp; b\">a &amp; b</LINK></PARAGRAPH></X>");
    QVERIFY2(links.ok, qPrintable(links.error));
    const QStringList expected{"a.c line 3", "a.c line 4", "a & b"};
    const DItem* item = static_cast<DParagraph*>(links.document->first())->first();
    for (const QString& text : expected) {
        const DLink* link = item->toLink();
        const auto* shown = static_cast<const DText*>(link->toContainer()->first());
        QCOMPARE(shown->text(), text);
        QCOMPARE(shown->text().isSharedWith(link->target()), link->target() == text);
        item = item->next();
    }

    const Parsed tables = parse("<X><TABLE widths=\"2 1\"/><TABLE widths=\"2 1\"/>"
                                "<TABLE widths=\"1 3\"/><TABLE/></X>");
    QVERIFY2(tables.ok, qPrintable(tables.error));
    QList<const DTable*> read;
    for (const DItem* table = tables.document->first(); table; table = table->next())
        read << static_cast<const DTable*>(table);
    QCOMPARE(read.size(), 4);
    QCOMPARE(read[0]->widths(), (QList<double>{2, 1}));
    QVERIFY(read[1]->widths().isSharedWith(read[0]->widths()));
    QCOMPARE(read[2]->widths(), (QList<double>{1, 3}));
    QVERIFY(read[3]->widths().isEmpty());

    const Parsed names = parse("<X><SECTION name=\"c1\"/><SECTION name=\"c2\"/>"
                               "<SECTION name=\"c1\"/></X>");
    QVERIFY2(names.ok, qPrintable(names.error));
    const DItem* first = names.document->first();
    const DItem* third = first->next()->next();
    QCOMPARE(first->next()->name(), QStringLiteral("c2"));
    QCOMPARE(third->name(), QStringLiteral("c1"));
    QVERIFY(third->name().isSharedWith(first->name()));
}

void TestAmlReader::localStylesOnAndOff()
{
    const QByteArray xml = R"(<DOCUMENT><STYLES>
        <STYLE name="Big" family="Serif" size="20" bold="true" italic="1" underline="no"
               color="#b00020" background="#ffffff" align="center" margin="7"/>
        <STYLE name="Small" size="8"/></STYLES><TITLE style="Big">t</TITLE></DOCUMENT>)";
    const Parsed off = parse(xml);
    QVERIFY(off.ok);
    QVERIFY(off.styleNames.isEmpty());
    QVERIFY(off.localStyles.empty());
    QVERIFY(!off.document->first()->style());

    const Parsed on = parse(xml, {}, true);
    QVERIFY2(on.ok, qPrintable(on.error));
    QCOMPARE(on.styleNames, (QStringList{"Big", "Small"}));
    DStyle* big = on.localStyles.at(0).get();
    QCOMPARE(on.document->first()->style(), big);
    QCOMPARE(big->family() + big->color().name() +
                 QString::number(big->pointSize() * big->margin()),
             QString("Serif#b00020140"));
    QVERIFY(big->bold() && big->italic() && !big->underline());
    QCOMPARE(big->alignment(), Qt::AlignHCenter);
    DStyle* small = on.localStyles.at(1).get();
    QVERIFY(!small->color().isValid() && small->margin() == -1);
}

// Each error starts with its place.
void TestAmlReader::errorsNameLineAndColumn_data()
{
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<QString>("error");
    auto row = [](const char* label, const QByteArray& xml, const QByteArray& error) {
        QTest::newRow(label) << xml << QString::fromUtf8(error);
    };
    row("mismatched", "<DOCUMENT>\n  <SECTION>\n</DOCUMENT>", "^line 3,");
    row("truncated", "<DOCUMENT>\n<SECTION>\n<TI", "^line 3,");
    row("leaf holding an element", "<DOCUMENT>\n<TAG>\n  <SECTION/></TAG></DOCUMENT>",
        "^line 3, column 3:");
    row("unnamed local style", "<STYLES><STYLE size=\"3\"/></STYLES>", "^line 1,");
    row("one level too deep", nestedSections(2001), "^line 1,.*nested deeper than 2000 levels");
    // Markup needs no entity of its own; declared ones would let a small file
    // expand into gigabytes of text. The refusal comes at the declaration,
    // before any of the body is read.
    const QByteArray refused = "^line [1-4],.*entity declarations are not allowed";
    row("one wide entity, many references",
        "<?xml version=\"1.0\"?>\n<!DOCTYPE DOCUMENT [\n<!ENTITY e \"" + QByteArray(4000, 'x') +
            "\">\n]>\n<DOCUMENT><PARAGRAPH>" + QByteArray("&e;").repeated(100000) +
            "</PARAGRAPH></DOCUMENT>",
        refused);
    row("unused entity", "<!DOCTYPE DOCUMENT [\n<!ENTITY e \"x\">\n]>\n<DOCUMENT/>", refused);
}

void TestAmlReader::errorsNameLineAndColumn()
{
    QFETCH(QByteArray, xml);
    QFETCH(QString, error);
    const Parsed p = parse(xml, {}, true);
    QVERIFY(!p.ok);
    QVERIFY2(p.error.contains(QRegularExpression(error)), qPrintable(p.error));
}

// A span is read from a few bytes but sizes per-column arrays: it is bounded
// where the cell takes it, whatever the source.
void TestAmlReader::spansAreBoundedWhereRead()
{
    const Parsed p = parse("<DOCUMENT><TABLE><ROW><CELL hspan=\"400000000\" vspan=\"2147483647\"/>"
                           "<CELLTEXT hspan=\"99999999999\" vspan=\"-4\">t</CELLTEXT>"
                           "<CELL hspan=\"3\" vspan=\"x\"/></ROW></TABLE></DOCUMENT>");
    QVERIFY2(p.ok, qPrintable(p.error));
    auto* row = static_cast<DRow*>(static_cast<DTable*>(p.document->first())->first());
    auto* huge = static_cast<DCell*>(row->first());
    auto* pastInt = static_cast<DCellText*>(huge->next());
    auto* small = static_cast<DCell*>(pastInt->next());
    const int max = DCell::MaxSpan;
    QCOMPARE((QList<int>{huge->hspan(), huge->vspan(), huge->columnSpan()}),
             (QList<int>{max, max, max + 1}));
    QCOMPARE((QList<int>{pastInt->hspan(), pastInt->vspan()}), (QList<int>{max, 0}));
    QCOMPARE((QList<int>{small->hspan(), small->vspan(), small->columnSpan(), small->rowSpan()}),
             (QList<int>{3, 0, 4, 1}));
}

// Widths are completed to the column count, which the widest row sets up
// to a bound, and copied rows get their parents back.
void TestAmlReader::updaterCompletesTables()
{
    const Parsed p = parse("<DOCUMENT><TABLE widths=\"2 x\"><ROW><CELL/><CELL hspan=\"1\"/></ROW>"
                           "<ROW><CELLTEXT/></ROW></TABLE><TABLE><ROW><CELL/><CELL/></ROW></TABLE>"
                           "<TABLE widths=\"1 1 1\"/><TABLE><ROW>" +
                           QByteArray("<CELL hspan=\"2147483647\"/>").repeated(40) +
                           "</ROW><ROW><CELL/></ROW></TABLE></DOCUMENT>");
    QVERIFY2(p.ok, qPrintable(p.error));
    auto* spanned = static_cast<DTable*>(p.document->first());
    auto* plain = static_cast<DTable*>(spanned->next());
    auto* empty = static_cast<DTable*>(plain->next());
    auto* wide = static_cast<DTable*>(empty->next());
    QCOMPARE(DUpdater::columnCount(spanned), 3);
    QCOMPARE(DUpdater::columnCount(wide), DTable::MaxColumns);

    // A copied row is linked but knows no parent until the update.
    auto* row = static_cast<DRow*>(plain->first()->clone());
    plain->insertAfter(plain->first(), row);
    row->insertAfter(nullptr, new DCell);
    row->first()->setParent(nullptr);
    DUpdater updater;
    updater.doAll(p.document.get());
    QCOMPARE(spanned->widths() + plain->widths() + empty->widths(),
             (QList<double>{2, 1, 1, 1, 1, 1, 1, 1}));
    QCOMPARE(wide->widths().size(), DTable::MaxColumns);
    QCOMPARE(row->first()->parent(), row);
}

// The deepest document the reader takes, and a million siblings, are read
// and destroyed without overflowing the stack.
void TestAmlReader::deepestAndHugeDocuments()
{
    Parsed deepest = parse(nestedSections(2000));
    QVERIFY2(deepest.ok, qPrintable(deepest.error));
    QCOMPARE(itemsOf(deepest.document.get()).size(), 2001);
    deepest.document.reset();

    auto* wide = new DDocument;
    DItem* last = nullptr;
    for (int i = 0; i < 1000000; ++i)
        last = wide->insertAfter(last, new DText(QStringLiteral("x")));
    delete wide;
}

// The cache in front of the text pool and the style index: with one slot
// every string competes for it, and only the string remembered last, in
// full, may be answered.
void TestAmlReader::recentCacheAnswersOnlyForItsString()
{
    DRecentCache<int, 1> cache;
    QVERIFY(!cache.find(u""));
    cache.remember("ab", 1);
    QCOMPARE(cache.find(u"ab") ? *cache.find(u"ab") : 0, 1);
    for (QStringView other : {u"ac", u"ba", u"abc", u"a", u""})
        QVERIFY2(!cache.find(other), qPrintable(other.toString()));
    cache.remember("", 2);
    QVERIFY(!cache.find(u"ab"));
    QCOMPARE(cache.find(u"") ? *cache.find(u"") : 0, 2);
    cache.clear();
    QVERIFY(!cache.find(u""));
}

QTEST_GUILESS_MAIN(TestAmlReader)
#include "tst_amlreader.moc"
