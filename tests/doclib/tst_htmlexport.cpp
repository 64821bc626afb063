#include "dexporthtml.h"
#include "dhtmlres.h"
#include "dhtmlstylesheet.h"
#include "dhtmlwriter.h"
#include "ditems.h"
#include "documentitems.h"
#include "dstyle.h"
#include "files.h"
#include "monitors.h"

#include <QDirIterator>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

#include <memory>
#include <vector>

namespace {

using Log = RecordingLog;
using Progress = RecordingProgress;

// Data rows of two strings; "same" when the second is the first.
void row(const char* name, const QString& first, const QString& second)
{
    QTest::newRow(name) << first << second;
}
void same(const char* name, const QString& text)
{
    row(name, text, text);
}

// One element of a page read back: its name, attributes, parent (index,
// -1 for the root), depth and the text directly inside it.
struct Node
{
    QString name;
    QXmlStreamAttributes attributes;
    int parent;
    int depth;
    QString text;
    QString attr(const char* name) const
    {
        return attributes.value(QLatin1String(name)).toString();
    }
};

struct Page
{
    QString error;
    std::vector<Node> nodes;

    // Elements of a name, optionally with a class among their classes.
    std::vector<const Node*> all(const QString& name, const QString& cls = QString()) const
    {
        std::vector<const Node*> found;
        for (const Node& node : nodes)
            if (node.name == name && (cls.isEmpty() || node.attr("class").split(' ').contains(cls)))
                found.push_back(&node);
        return found;
    }
    const Node* first(const QString& name, const QString& cls = QString()) const
    {
        const auto found = all(name, cls);
        return found.empty() ? nullptr : found.front();
    }
    const Node* parentOf(const Node* node) const
    {
        return node && node->parent >= 0 ? &nodes[size_t(node->parent)] : nullptr;
    }
    const Node* byId(const QString& id) const
    {
        for (const Node& node : nodes)
            if (node.attr("id") == id)
                return &node;
        return nullptr;
    }
    // The text of node, then of everything under it.
    QString allText(const Node* node) const
    {
        QString text = node->text;
        const int index = int(node - nodes.data());
        for (size_t i = size_t(index) + 1; i < nodes.size() && nodes[i].depth > node->depth; ++i)
            text += nodes[i].text;
        return text;
    }
};

// Reads an exported page as XML (it is written well-formed), without
// recursion, and keeps every element.
Page readPage(const QString& path)
{
    Page page;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        page.error = "cannot open " + path;
        return page;
    }
    QXmlStreamReader xml(&file);
    xml.setNamespaceProcessing(false);
    std::vector<int> open;
    while (!xml.atEnd()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::StartElement:
            page.nodes.push_back({xml.qualifiedName().toString(), xml.attributes(),
                                  open.empty() ? -1 : open.back(), int(open.size()), QString()});
            open.push_back(int(page.nodes.size()) - 1);
            break;
        case QXmlStreamReader::EndElement:
            open.pop_back();
            break;
        case QXmlStreamReader::Characters:
            if (!open.empty())
                page.nodes[size_t(open.back())].text += xml.text();
            break;
        default:
            break;
        }
    }
    if (xml.hasError())
        page.error = QString("line %1: %2").arg(xml.lineNumber()).arg(xml.errorString());
    return page;
}

// Every file under root, relative to it.
QStringList filesUnder(const QString& root)
{
    QStringList files;
    QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << QDir(root).relativeFilePath(it.next());
    files.sort();
    return files;
}

// A PNG of one pixel, as bytes.
QByteArray pictureBytes()
{
    return QByteArray::fromBase64("iVBORw0KGgoAAAANSUhEUgAAAAEAAAABCAYAAAAfFcSJAAAADUlEQVR42mP8"
                                  "z8BQDwAEhQGAhKmMIQAAAABJRU5ErkJggg==");
}

// Exports doc into dir, with the writer given, and reads the page back.
struct Export
{
    Export(DDocument* doc, const QString& dir, DHTMLWriter* writer = nullptr)
    {
        DExportHtml exporter(dir, QString());
        exporter.setHTMLWriter(writer);
        ok = exporter.generate(doc, nullptr, &log);
        page = readPage(QDir(dir).filePath(DExportHtml::pageFileName(doc->tag(), ".html")));
    }
    // Export errors, then the page's.
    QString errors() const { return (log.errors + QStringList{page.error}).join('\n'); }

    bool ok = false;
    Log log;
    Page page;
};

const QByteArray everyKind = R"(<DOCUMENT name="doc" title="All &amp; kinds">
  <HEADER>head text</HEADER>
  <SECTION name="s">
    <TITLE level="3" style="Title1 Failed">t</TITLE>
    <TITLE level="9" name="s">deep title</TITLE>
    <PARAGRAPH name="para">p <LINK target="::other">to other</LINK></PARAGRAPH>
    <PARAGRAPH name="trace">&gt;&#160;&#160;&#160; f()&#8232;E&#160;&#160; x</PARAGRAPH>
    <LIST><PARAGRAPH>first</PARAGRAPH><PARAGRAPH>second</PARAGRAPH></LIST>
    <TABLE frame="1" widths="3 1">
      <ROW><CELL hspan="1" vspan="2"><TEXT>c</TEXT></CELL><CELLTEXT>ct</CELLTEXT></ROW>
    </TABLE>
    <PARAGRAPH style="Normal Passed">Passed: 12 of 12.</PARAGRAPH>
    <POPUPLINK target="pop">more</POPUPLINK><POPUP name="pop">hidden</POPUP>
    <SUMMARY><SENTRY target="s">Section s</SENTRY></SUMMARY>
    <INDEX><IENTRY target="tag1">entry</IENTRY></INDEX>
    <GRAPHIC title="trend" width="320" height="200">
      <AXIS orientation="x" label="run" min="0" max="10"/>
      <AXIS orientation="y" label="ms" min="0" max="50"/>
      <CURVE label="build" color="#ff0000"><POINT x="1" y="5"/><POINT x="4" y="20"/></CURVE>
    </GRAPHIC>
    <PAGEBREAK/><TAG name="tag1"/><TAG/><TAGPOINTER target="tag1"/>
  </SECTION>
  <FOOTER>foot text</FOOTER>
</DOCUMENT>)";

} // namespace

class TestHtmlExport : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void configFile();
    void escaping_data();
    void escaping();
    void everyKindAsElements();
    void styleClassesAndSheet();
    void linkTargets_data();
    void linkTargets();
    void hostileTextStaysText();
    void writesOnlyInsideTheDirectory_data();
    void writesOnlyInsideTheDirectory();
    void picturesCopiedOrReported();
    void failedExportWritesNothing();
    void deepDocuments();
    void subclassLinksNest();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestHtmlExport::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestHtmlExport::configFile()
{
    QTemporaryDir& dir = *m_dir;
    DHTMLRes defaults;
    QVERIFY(!defaults.load(dir.filePath("missing.cfg")));
    QVERIFY(defaults.errorString().contains("missing.cfg"));

    const QString path = dir.filePath("dhtml.cfg");
    QVERIFY(writeFile(path, "# comment = ignored\n"
                            "fileExtension = htm\n"
                            "  styleSheet=look.css  \n"
                            "pageHeader = <div class=\"top\">a = b</div>\n"
                            "unknown = x\n"
                            "no equal sign\n"
                            "encoding =\n"));
    DHTMLRes config;
    QVERIFY(config.load(path));
    QCOMPARE(QStringList({config.fileExtension(), config.styleSheetName(), config.pageHeader(),
                          config.pageFooter(), config.encoding()})
                 .join('|'),
             QString(".htm|look.css|<div class=\"top\">a = b</div>||UTF-8"));
}

void TestHtmlExport::escaping_data()
{
    QTest::addColumn<QString>("raw");
    QTest::addColumn<QString>("read");
    same("markup", "<script>alert('x')</script>");
    same("quotes", "a \"b\" 'c' & d");
    same("entity-like", "&amp; &#0; &lt;");
    same("pair", QString::fromUtf8("\xf0\x9f\x98\x80"));
    same("tab", "a\tb");
    const QChar bad(0xfffd);
    row("nul", QString("a") + QChar(0) + "b", QString("a") + bad + "b");
    row("controls", "a\x01\x1b\x1f\x7f", QString("a") + QString(4, bad));
    row("lone high", QString("x") + QChar(0xd800) + "y", QString("x") + bad + "y");
    row("lone low", QString(QChar(0xdc00)), bad);
    row("nonchar", QString(QChar(0xffff)), bad);
}

void TestHtmlExport::escaping()
{
    QFETCH(QString, raw);
    QFETCH(QString, read);
    const QString text = DHTMLWriter::escapeText(raw);
    const QString attribute = DHTMLWriter::escapeAttribute(raw);
    for (const QString& escaped : {text, attribute}) {
        QVERIFY(!escaped.contains('<') && !escaped.contains('>') && !escaped.contains('"'));
        QVERIFY(!escaped.contains('\''));
    }
    QXmlStreamReader xml(QString("<e a=\"%1\">%2</e>").arg(attribute, text));
    QVERIFY(xml.readNextStartElement());
    QCOMPARE(xml.attributes().value("a").toString(), read);
    QCOMPARE(xml.readElementText(), read);
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
}

void TestHtmlExport::everyKindAsElements()
{
    QTemporaryDir& dir = *m_dir;
    auto doc = readAml(everyKind);
    QVERIFY(doc);
    const Export result(doc.get(), dir.path());
    QVERIFY2(result.ok && result.page.error.isEmpty(), qPrintable(result.errors()));
    const Page& page = result.page;
    auto parentName = [&page](const Node* node) { return page.parentOf(node)->name; };

    // Monospace spacing: the no-break spaces that a browser keeps, the
    // line separator as a line break.
    const Node* trace = page.byId("trace");
    QCOMPARE(page.parentOf(page.first("br")), trace);
    const auto items = page.all("li");
    QVERIFY(items.size() >= 2);
    QCOMPARE(QStringList({page.first("title")->text, page.first("meta")->attr("charset"),
                          page.first("link")->attr("href"), page.first("section")->attr("id"),
                          page.first("h3")->text, page.first("h6")->text, page.byId("para")->name,
                          trace->text, page.first("header")->text, page.first("footer")->text,
                          page.parentOf(items[0])->attr("class"), page.allText(items[1]).trimmed(),
                          page.first("article", "document")->attr("id")}),
             QStringList({"All & kinds", "UTF-8", "report.css", "s", "t", "deep title", "p",
                          ">\u00a0\u00a0\u00a0 f()E\u00a0\u00a0 x", "head text", "foot text",
                          "list", "second", "doc"}));

    // Table: column widths as percentages, spans as 1 + span, cells in rows.
    const auto cols = page.all("col");
    const auto cells = page.all("td");
    QVERIFY(cols.size() == 2 && cells.size() == 2);
    QCOMPARE(QStringList({cols[0]->attr("style"), cols[1]->attr("style"), cells[0]->attr("colspan"),
                          cells[0]->attr("rowspan"), parentName(cells[0]),
                          parentName(page.parentOf(cells[0])), cells[1]->text}),
             QStringList({"width: 75.00%", "width: 25.00%", "2", "3", "tr", "tbody", "ct"}));
    QVERIFY(page.first("table", "frame-outline"));

    // The popup link and its popup form one <details>.
    const Node* details = page.first("details");
    QCOMPARE(int(page.all("details").size()), 1);
    const Node* summary = page.first("summary");
    const Node* popup = page.byId("pop");
    QVERIFY(details && page.parentOf(summary) == details && page.parentOf(popup) == details);
    QCOMPARE(summary->text + "|" + popup->text, QString("more|hidden"));

    // Summary and index entries link to the items of this page.
    const Node* sentry = page.first("a", "entry");
    QCOMPARE(page.parentOf(page.parentOf(sentry))->attr("class"), QString("summary"));
    QCOMPARE(QStringList({sentry->attr("href"), page.all("a", "entry")[1]->attr("href"),
                          page.byId("tag1")->name, page.first("a", "tag-pointer")->attr("href"),
                          page.first("a", "link")->attr("href")}),
             QStringList({"#s", "#tag1", "span", "#tag1", "other.html"}));

    // The chart: an SVG with a polyline through the points, axis labels.
    const Node* svg = page.first("svg");
    QVERIFY(svg);
    QCOMPARE(parentName(svg) + "|" + svg->attr("width"), QString("figure|320"));
    const Node* polyline = page.first("polyline");
    QCOMPARE(polyline->attr("stroke"), QString("#ff0000"));
    QCOMPARE(polyline->attr("points").split(' ', Qt::SkipEmptyParts).size(), 2);
    QStringList labels;
    for (const Node* text : page.all("text"))
        labels << text->text;
    QVERIFY(labels.contains("run") && labels.contains("ms") && labels.contains("trend") &&
            labels.contains("50") && labels.contains("0"));
    QVERIFY(page.first("hr", "page-break"));
    // An id names one element only: the first item of a name takes it.
    QStringList ids;
    for (const Node& node : page.nodes)
        ids << node.attr("id");
    ids.removeAll(QString());
    QCOMPARE(ids.removeDuplicates(), 0);
}

void TestHtmlExport::styleClassesAndSheet()
{
    const QString failed = DHtmlStyleSheet::className("Title1 Failed");
    QCOMPARE(failed, QString("s-Title1_Failed"));
    // Distinct names, distinct classes; every class a plain CSS identifier.
    QStringList names{"a b", "a_b", "a-b", "a.b", "a\"b", "a{b}", "", QString(QChar(0xd800))};
    QSet<QString> classes;
    for (const QString& name : names) {
        const QString cls = DHtmlStyleSheet::className(name);
        classes.insert(cls);
        QVERIFY(QRegularExpression("^s-[A-Za-z0-9_-]*$").match(cls).hasMatch());
    }
    QCOMPARE(classes.size(), names.size());

    QTemporaryDir& dir = *m_dir;
    DStyle title("Title1 Failed");
    title.setColor(QColor("#b00020"));
    title.setBold(true);
    title.setPointSize(14);
    title.setFamily("Evil\"; } body { display:none");
    DStyle passed("Normal Passed");
    passed.setItalic(true);
    auto first =
        readAml(R"(<DOCUMENT name="one"><TITLE style="Title1 Failed">x</TITLE></DOCUMENT>)",
                {&title, &passed});
    auto second =
        readAml(R"(<DOCUMENT name="two"><PARAGRAPH style="Normal Passed">y</PARAGRAPH></DOCUMENT>)",
                {&title, &passed});
    DExportHtml exporter(dir.path(), QString());
    Log log;
    QVERIFY(exporter.generate(first.get(), nullptr, &log));
    QVERIFY(exporter.generate(second.get(), nullptr, &log));
    const Page page = readPage(dir.filePath("one.html"));
    QCOMPARE(page.first("h1")->attr("class"), failed);

    const QString css = QString::fromUtf8(readFile(dir.filePath("report.css")));
    const qsizetype rule = css.indexOf("." + failed + " {");
    QVERIFY(rule >= 0);
    const QString body = css.mid(rule, css.indexOf('}', rule) - rule);
    // The family cannot end the rule early.
    QVERIFY2(body.contains("color: #b00020") && body.contains("font-weight: bold") &&
                 body.contains("font-size: 14pt") && body.contains("display:none"),
             qPrintable(body));
    QVERIFY(!css.contains("} body {"));
    // Both documents' styles are in the shared sheet.
    QVERIFY(css.contains(".s-Normal_Passed { font-style: italic; }"));
}

void TestHtmlExport::linkTargets_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("href");
    const QString none; // no href at all
    same("http", "http://example.org/a?b=1&c=2");
    same("https", "HTTPS://example.org");
    same("mailto", "mailto:qa@example.org");
    same("anchor", "#results");
    same("relative", "sub/page.html");
    row("relative spaces", "my page.html", "my%20page.html");
    row("library tag", "::nightly", "nightly.html");
    row("bare tag", "unit.test", "unit.test.html");
    row("local name", "here", "#here");
    row("hostile tag", "::../../etc/x", DExportHtml::pageFileName("../../etc/x", ".html"));
    row("javascript", "javascript:alert(1)", none);
    row("javascript case", "JaVaScRiPt:alert(1)", none);
    row("javascript tab", "java\tscript:alert(1)", none);
    row("javascript space", " javascript:alert(1)", none);
    row("data", "data:text/html,<script>x</script>", none);
    row("viewer link", "xrdlink://open?x", none);
    row("place of this report", "xrdlink://#here", "#here");
    row("place this page lacks", "xrdlink://#gone", none);
    row("drive", "C:\\report.html", none);
    row("file:kind:tag", "a.xrd:k:t", none);
    row("source reference", "parser.c line 42", none);
    row("empty", "", none);
}

void TestHtmlExport::linkTargets()
{
    QFETCH(QString, target);
    QFETCH(QString, href);
    DDocument doc("links", "links");
    DItemContainer* paragraph = doc.insertAfter(nullptr, new DParagraph)->toContainer();
    doc.insertAfter(paragraph, new DTag("here"));
    paragraph->insertAfter(nullptr, new DLink(target))
        ->toContainer()
        ->insertAfter(nullptr, new DText("click"));
    QTemporaryDir& dir = *m_dir;
    const Export result(&doc, dir.path());
    QVERIFY2(result.ok && result.page.error.isEmpty(), qPrintable(result.errors()));
    const Node* a = result.page.first("a", "link");
    QVERIFY(a);
    QCOMPARE(a->text, QString("click"));
    QCOMPARE(a->attributes.hasAttribute("href"), !href.isNull());
    QCOMPARE(a->attr("href"), href.isNull() ? QString() : href);
}

void TestHtmlExport::hostileTextStaysText()
{
    const QString script = "<script>alert(\"x\")</script>";
    DStyle style("x\" onclick=\"alert(1)");
    DDocument doc(script, "hostile");
    DSection* section = static_cast<DSection*>(doc.insertAfter(nullptr, new DSection));
    section->setName("\"><script>alert(2)</script>");
    section->setStyle(&style);
    DItem* text = section->insertAfter(nullptr, new DText(script + QChar(0) + "&amp;"));
    DItem* image = section->insertAfter(text, new DImage("\"><b>x</b>.png"));
    section->insertAfter(image, new DGraphic(script))
        ->toContainer()
        ->insertAfter(nullptr, new DCurve(script));
    QTemporaryDir& dir = *m_dir;
    const Export result(&doc, dir.path());
    QVERIFY2(result.page.error.isEmpty(), qPrintable(result.page.error));
    const Page& page = result.page;
    QVERIFY(!page.first("script") && !page.first("b"));
    for (const Node& node : page.nodes)
        QVERIFY(!node.attributes.hasAttribute("onclick"));
    QCOMPARE(page.first("title")->text, script);
    QCOMPARE(page.first("section")->attr("id"), section->name());
    QVERIFY(page.first("section")->text.contains(script + QChar(0xfffd) + "&amp;"));
    // The missing picture reads as its name, and the export says so.
    QVERIFY(!result.ok);
    QCOMPARE(page.first("span", "missing-image")->text, QString("[\"><b>x</b>.png]"));
}

// Hostile page names, as a document's tag, and picture names.
void TestHtmlExport::writesOnlyInsideTheDirectory_data()
{
    QTest::addColumn<QString>("tag");
    QTest::addColumn<QString>("picture");
    QTest::addColumn<bool>("kept"); // as the page's file name
    auto hostile = [](const char* name, const QString& tag, const QString& picture, bool kept) {
        QTest::newRow(name) << tag << picture << kept;
    };
    const QString pic = "sub/pic.png";
    hostile("plain", "kestrel-nightly_2", pic, true);
    hostile("accented", QString::fromUtf8("r\u00e9sum\u00e9"), pic, true);
    hostile("parent", "../x", "../escape.png", false);
    hostile("absolute", "/abs/path", "/abs/pic.png", false);
    hostile("drive", "C:\\x", "C:\\pic.png", false);
    hostile("folder", "a/b", pic, false);
    hostile("nul", QString("x") + QChar(0) + "/../y", QString("p") + QChar(0) + ".png", false);
    hostile("controls", "x\n\r\t\x1b", "\n.png", false);
    hostile("long", QString(10000, 'L'), QString(10000, 'p') + ".png", false);
    hostile("long accented", QString(10000, QChar(0x4e2d)), pic, false);
    hostile("hidden", ".profile", ".profile", false);
    hostile("empty", "", "", false);
    hostile("lone surrogate", QString(QChar(0xd800)) + "x", pic, false);
}

void TestHtmlExport::writesOnlyInsideTheDirectory()
{
    QFETCH(QString, tag);
    QFETCH(QString, picture);
    QFETCH(bool, kept);
    const QString name = DExportHtml::pageFileName(tag, ".html");
    QCOMPARE(name == tag + ".html", kept);
    QVERIFY(name.endsWith(".html") && !name.startsWith('.'));
    QVERIFY(name.toUtf8().size() <= 200);
    for (QChar ch : name)
        QVERIFY2(ch.isLetterOrNumber() || QString("-_.").contains(ch), qPrintable(name));
    // A changed name never takes the file of the plain name it resembles.
    const QString lookalike = QString(tag).replace(QRegularExpression("[^\\w.-]"), "_");
    if (lookalike != tag && !lookalike.isEmpty() && !lookalike.startsWith('.') &&
        lookalike.size() < 100)
        QVERIFY(name != DExportHtml::pageFileName(lookalike, ".html"));

    // Pictures live in <root>/pics, with a picture one level up and one in
    // a folder below, so that every relative name finds something.
    QTemporaryDir& root = *m_dir;
    const QString pics = root.filePath("pics");
    QVERIFY(writeFile(root.filePath("escape.png"), pictureBytes()));
    QVERIFY(writeFile(pics + "/sub/pic.png", pictureBytes()));
    const QStringList before = filesUnder(root.path());
    DDocument doc("title", tag);
    doc.insertAfter(nullptr, new DImage(picture))->setName(tag);
    const QString out = root.filePath("out/inner");
    DExportHtml exporter(out, QString());
    exporter.setPixmapDir(pics);
    Log log;
    exporter.generate(&doc, nullptr, &log);

    QVERIFY2(QFile::exists(QDir(out).filePath(name)), qPrintable(log.errors.join('\n')));
    QStringList added = filesUnder(root.path());
    for (const QString& file : before)
        added.removeOne(file);
    for (const QString& file : std::as_const(added))
        QVERIFY2(file.startsWith("out/inner/") && file.count('/') == 2, qPrintable(file));
    const Page read = readPage(QDir(out).filePath(name));
    QVERIFY2(read.error.isEmpty(), qPrintable(read.error));
    // What the page shows is what was copied.
    if (const Node* img = read.first("img"))
        QVERIFY(added.contains("out/inner/" + img->attr("src")));
    else
        QVERIFY(!log.errors.isEmpty());
}

void TestHtmlExport::picturesCopiedOrReported()
{
    QTemporaryDir& root = *m_dir;
    const QString first = root.filePath("first");
    const QString second = root.filePath("second");
    QVERIFY(QDir().mkpath(first) && QDir().mkpath(second + "/icons"));
    QVERIFY(writeFile(first + "/logo.png", pictureBytes()));
    QVERIFY(writeFile(second + "/logo.png", "second"));
    QVERIFY(writeFile(second + "/icons/ok.png", pictureBytes() + "ok"));
    QVERIFY(writeFile(second + "/pics.html", pictureBytes()));
    auto doc = readAml(R"(<DOCUMENT name="pics"><IMAGE src="logo.png"/><IMAGE src="icons/ok.png"/>
                          <IMAGE src="logo.png"/><IMAGE src="pics.html"/></DOCUMENT>)");
    QVERIFY(doc);
    const QString out = root.filePath("out");
    // Links left in the folder, named like the files the export writes, are
    // replaced, not written through.
    const QStringList written{"pics.html", "report.css", "logo.png"};
    for (const QString& name : written) {
        QVERIFY(writeFile(root.filePath("outside-" + name), "outside"));
        QVERIFY(QDir().mkpath(out) &&
                QFile::link(root.filePath("outside-" + name), out + "/" + name));
    }
    DExportHtml exporter(out, QString());
    exporter.setPixmapDir(first);
    exporter.addImageFolder(second);
    Log log;
    QVERIFY2(exporter.generate(doc.get(), nullptr, &log), qPrintable(log.errors.join('\n')));
    for (const QString& name : written) {
        QCOMPARE(readFile(root.filePath("outside-" + name)), QByteArray("outside"));
        QVERIFY(!QFileInfo(out + "/" + name).isSymLink());
    }
    const Page page = readPage(out + "/pics.html");
    const auto images = page.all("img");
    QCOMPARE(int(images.size()), 4);
    // A picture never takes the place of a page.
    QVERIFY(images[3]->attr("src").endsWith(".img"));
    QVERIFY(QFile::exists(out + "/" + images[3]->attr("src")));
    QCOMPARE(images[0]->attr("src") + images[2]->attr("src") + images[1]->attr("alt"),
             QString("logo.pnglogo.pngicons/ok.png"));
    // The first folder that holds a picture wins.
    QCOMPARE(readFile(out + "/logo.png"), pictureBytes());
    QCOMPARE(readFile(out + "/" + images[1]->attr("src")), pictureBytes() + "ok");
}

// An export reports its progress; one that cannot write or is cancelled
// fails and leaves nothing.
void TestHtmlExport::failedExportWritesNothing()
{
    QTemporaryDir& root = *m_dir;
    const QString blocker = root.filePath("file");
    QVERIFY(writeFile(blocker, "x"));
    auto doc = readAml("<DOCUMENT name=\"big\">" + QByteArray("<TEXT>x</TEXT>").repeated(50000) +
                       "</DOCUMENT>");
    Log log;
    QVERIFY(!DExportHtml(blocker + "/out", QString()).generate(doc.get(), nullptr, &log));
    QVERIFY(log.errors.size() == 1 && log.errors[0].contains(blocker + "/out"));

    Progress progress;
    QVERIFY(DExportHtml(root.filePath("done"), QString()).generate(doc.get(), &progress, &log));
    QVERIFY(progress.calls >= 10 && progress.calls <= 50000 / 1000 + 2);
    QCOMPARE(progress.current, progress.steps);
    QVERIFY(QDir(root.filePath("done")).removeRecursively());

    DExportHtml exporter(root.filePath("out"), QString());
    Progress cancelling;
    cancelling.cancelAtFirst = true;
    QVERIFY(!exporter.generate(doc.get(), &cancelling, &log));
    QCOMPARE(cancelling.calls, 1);
    Progress already;
    already.cancel();
    QVERIFY(!exporter.generate(doc.get(), &already, &log));
    QCOMPARE(already.calls, 0);
    QCOMPARE(filesUnder(root.path()), QStringList{"file"});
}

void TestHtmlExport::deepDocuments()
{
    // The deepest nesting the reader takes, of sections, lists and links.
    auto deep = readAml("<DOCUMENT name=\"deep\">" +
                        QByteArray("<SECTION><LIST><LINK target=\"#x\">").repeated(666) +
                        "<TEXT>bottom</TEXT>" +
                        QByteArray("</LINK></LIST></SECTION>").repeated(666) + "</DOCUMENT>");
    QVERIFY(deep);
    const Export result(deep.get(), m_dir->path());
    QVERIFY2(result.ok && result.page.error.isEmpty(), qPrintable(result.errors()));
    QVERIFY(result.page.nodes.back().depth > 2000);
    QCOMPARE(result.page.nodes.back().text, QString("bottom"));
}

namespace {

// Writes links as <a class="jump" data-target="..."> itself, the way a
// viewer plug-in would.
class JumpWriter : public DHTMLWriter
{
public:
    using DHTMLWriter::doLink;
    void doLink(DItem* item) override
    {
        out() << "<a class=\"jump\" data-target=\""
              << escapeAttribute(static_cast<DLink*>(item)->target()) << "\">";
        doItemChildren(item->toContainer());
        closeChildrenWith("</a>");
    }
};

} // namespace

void TestHtmlExport::subclassLinksNest()
{
    auto doc = readAml(R"(<DOCUMENT name="nest">
      <LIST><LINK target="a"><PARAGRAPH>one<LINK target="b">two</LINK></PARAGRAPH></LINK>
            <LINK target="empty"/><LINK target="c">three</LINK></LIST>
      <TABLE><ROW><LINK target="d">in row</LINK></ROW></TABLE>
    </DOCUMENT>)");
    QVERIFY(doc);
    QTemporaryDir& dir = *m_dir;
    JumpWriter writer;
    const Export result(doc.get(), dir.path(), &writer);
    QVERIFY2(result.ok && result.page.error.isEmpty(), qPrintable(result.errors()));
    const Page& page = result.page;
    const auto links = page.all("a", "jump");
    QCOMPARE(int(links.size()), 5);
    QStringList targets;
    for (const Node* link : links)
        targets << link->attr("data-target") + ">" + page.parentOf(link)->name;
    QCOMPARE(targets, (QStringList{"a>li", "b>p", "empty>li", "c>li", "d>td"}));
    QCOMPARE(page.allText(links[0]).trimmed() + "|" + page.allText(links[2]) + "|" +
                 page.allText(links[3]) + "|" + page.parentOf(page.parentOf(links[4]))->name,
             QString("onetwo||three|tr"));
    QCOMPARE(page.parentOf(page.parentOf(links[1])), links[0]);
    QCOMPARE(int(page.all("li").size()), 3);
}

QTEST_GUILESS_MAIN(TestHtmlExport)
#include "tst_htmlexport.moc"
