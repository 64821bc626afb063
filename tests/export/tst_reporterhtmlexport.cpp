#include "../importers/samples.h"
#include "answeredboxes.h"
#include "ddocument.h"
#include "dhtmlres.h"
#include "documentitems.h"
#include "files.h"
#include "monitors.h"
#include "qareporter.h"
#include "qareporterdata.h"
#include "qareporterexportcommands.h"
#include "qareporterhtmlwriter.h"
#include "qareportsession.h"
#include "reporterhost.h"

#include <QDirIterator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextStream>
#include <QUrl>
#include <QtTest>

namespace {

// A report of one suite named name holding a passed and a failed case; the
// failed case's paragraph holds links to the targets.
QByteArray report(const QString& name, const QStringList& targets)
{
    QString links;
    for (const QString& target : targets)
        links += QString("<LINK target='xrdlink://%1'>to %1</LINK>").arg(target);
    return QString("<XROD><DOCUMENT name='%1' title='%1'><TITLE level='1' name='%1-top'>%1</TITLE>"
                   "<XROD:NODE name='%1-suite' type='suite' state='ko' sum='0'>"
                   "<XROD:NODE name='%1-green' type='testcase' state='ok' sum='1'>"
                   "<PARAGRAPH name='%1-green'>green case of %1</PARAGRAPH></XROD:NODE>"
                   "<XROD:NODE name='%1-red' type='testcase' state='ko' sum='1'>"
                   "<PARAGRAPH name='%1-red'>red case of %1 %2</PARAGRAPH></XROD:NODE>"
                   "</XROD:NODE></DOCUMENT></XROD>")
        .arg(name, links)
        .toUtf8();
}

QStringList hrefs(const QString& html)
{
    static const QRegularExpression href(QStringLiteral("<a href=\"([^\"]*)\""));
    QStringList found;
    for (const QRegularExpressionMatch& match : href.globalMatch(html))
        found << match.captured(1);
    return found;
}

// The page of document written by writer.
QString writePage(QAReporterHTMLWriter& writer, DDocument* document)
{
    QString html;
    QTextStream stream(&html);
    static DHTMLRes config; // the writer keeps it
    writer.setConfig(&config);
    writer.setStream(&stream);
    writer.doAll(document);
    stream.flush();
    return html;
}

} // namespace

class TestReporterHtmlExport : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void relativePathsByTheirFirstCharacters_data();
    void relativePathsByTheirFirstCharacters();
    void linksPointToPagesOrItemsAndAreEscaped();
    void sourceLinksStartFromTheNodeBaseAndTheExportFolder();
    void linkedReportsAreExportedInsideTheFolder_data();
    void linkedReportsAreExportedInsideTheFolder();
    void everyLinkLeadsSomewhere_data();
    void everyLinkLeadsSomewhere();

private:
    std::unique_ptr<QAReporter> openWindow(const QStringList& files) { return m_host->open(files); }
    QString path(const QString& name) const { return m_dir->filePath(name); }

    std::unique_ptr<ReporterHost<>> m_host;
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<QAReporterCommands> m_previousCommands;
};

void TestReporterHtmlExport::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_host = std::make_unique<ReporterHost<>>();
    m_host->studio.config = m_host->studio.home;
    m_host->studio.pixmaps = m_host->studio.home + "/pixmaps";
    m_previousCommands = installReporterCommands(std::make_unique<QAReporterExportCommands>());
}

void TestReporterHtmlExport::cleanup()
{
    installReporterCommands(std::move(m_previousCommands));
    m_host.reset();
    m_dir.reset();
}

void TestReporterHtmlExport::relativePathsByTheirFirstCharacters_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("relative");
    for (const char* path : {"/a", "\\a", "C:\\a"})
        QTest::addRow("%s", path) << path << false;
    for (const char* path : {"a", "", "C:a", "C:/a", "C:"})
        QTest::addRow("%s", path) << path << true;
}

void TestReporterHtmlExport::relativePathsByTheirFirstCharacters()
{
    QFETCH(QString, path);
    QTEST(QAReporterHTMLWriter::isRelativePath(path), "relative");
}

void TestReporterHtmlExport::linksPointToPagesOrItemsAndAreEscaped()
{
    QAReporterData first;
    first.document = std::make_shared<DDocument>(QStringLiteral("First"), "first.run");
    QAReporterData empty;
    QAReporterHTMLWriter writer({&empty, &first}, nullptr, nullptr, nullptr);
    // "links" is the tag of the page written, which is not a loaded report.
    const QStringList targets{"xrdlink://sub/b.xrd#N42",
                              "xrdlink://sub/b.xrd",
                              "xrdlink://b.xrd#",
                              "xrdlink://c.test.xrd#a b",
                              "xrdlink://b.xrd#x&y",
                              "xrdlink://#links",
                              "xrdlink://#nowhere",
                              "::first.run",
                              "a:b:first.run",
                              "nowhere",
                              "links",
                              "javascript:alert(1)"};
    QString aml = "<DOCUMENT name=\"links\" title=\"links\"><PARAGRAPH>";
    for (const QString& target : targets)
        aml += QString("<LINK target=\"%1\">text</LINK>").arg(target.toHtmlEscaped());
    const std::unique_ptr<DDocument> document = readAml((aml + "</PARAGRAPH></DOCUMENT>").toUtf8());
    QVERIFY(document);
    const QString html = writePage(writer, document.get());
    // What leads nowhere is its text alone; a report is recorded once.
    QCOMPARE(hrefs(html),
             QStringList({"b.html#N42", "b.html", "b.html", "c.html#a%20b", "b.html#x&amp;y",
                          "#links", "first.html", "first.html", "#links"}));
    QCOMPARE(writer.xrdLinkedFiles(), QStringList({"sub/b.xrd", "b.xrd", "c.test.xrd"}));
    QVERIFY2(html.contains("<a href=\"b.html#N42\">text</a>"), qPrintable(html));
    QCOMPARE(html.count("text"), targets.size());
}

void TestReporterHtmlExport::sourceLinksStartFromTheNodeBaseAndTheExportFolder()
{
    QVERIFY(writeFile(
        path("src.xrd"),
        "<XROD><DOCUMENT name='src' title='src'>\n"
        "  <XROD:NODE name='suite' type='suite' state='ko' sum='0'>\n"
        "    <XROD:NODE name='case' type='testcase' state='ko' sum='1' base='D:\\work\\'>\n"
        "      <PARAGRAPH>at <LINK target='src/a.c line 12'>a</LINK>\n"
        "        <LINK target='E:\\other\\b.c line 3'>b</LINK>\n"
        "        <LINK target='D:\\work\\html\\line 7 line 9'>c</LINK></PARAGRAPH>\n"
        "    </XROD:NODE>\n"
        "  </XROD:NODE>\n"
        "  <PARAGRAPH><LINK target='lib/c.c line 1'>outside any node</LINK></PARAGRAPH>\n"
        "</DOCUMENT></XROD>"));
    auto window = openWindow({path("src.xrd")});
    QCOMPARE(window->records().size(), 1);
    QAReporterHTMLWriter writer(window->records(), &window->session(), nullptr, nullptr);
    writer.setBaseForLink(QStringLiteral("/srv/./out/"));
    QCOMPARE(writer.baseForLink(), QStringLiteral("/srv/out"));
    writer.setBaseForLink(QStringLiteral("D:\\work\\html"));
    const QString html =
        writePage(writer, window->session().filteredRecords().first()->document.get());
    // The last "line N" ends the path; a path on another drive stays
    // absolute; a link outside every node keeps its relative path.
    QCOMPARE(hrefs(html),
             QStringList({"../src/a.c", "file:///E:/other/b.c", "line%207", "lib/c.c"}));
    QCOMPARE(writer.getHtmlFilenameForXrd("C:/runs/unit.test.xrd"), QStringLiteral("unit.html"));
}

void TestReporterHtmlExport::linkedReportsAreExportedInsideTheFolder_data()
{
    // Reports as "file: name link...", the first opened ("%1" is the test's
    // folder); the pages written, the errors, and for one page its links and
    // texts it has (+) or has not (-).
    QTest::addColumn<QStringList>("reports");
    QTest::addColumn<bool>("failedOnly");
    QTest::addColumn<QString>("cancel");
    QTest::addColumn<QString>("pages");
    QTest::addColumn<QString>("errors");
    QTest::addColumn<QStringList>("page");
    // c.xrd, named in deep/b.xrd, is found next to the first report; a
    // links to itself and to b twice, spelled two ways.
    QTest::addRow("to any depth") << QStringList{"a.xrd: alpha a.xrd deep/b.xrd#x %1/deep/b.xrd",
                                                 "deep/b.xrd: beta c.xrd#gamma-red", "c.xrd: gamma"}
                                  << false << ""
                                  << "a alpha b c index"
                                  << ""
                                  << QStringList{"b.html", "c.html#gamma-red", "+red case of beta"};
    const QStringList missing{"a.xrd: alpha missing.xrd b.xrd", "b.xrd: beta"};
    QTest::addRow("a missing report")
        << missing << false << ""
        << "alpha b index"
        << "Unable to open the report file '%1/missing.xrd'" << QStringList{"b.html"};
    QTest::addRow("cancelled at an error") << missing << false << "at error"
                                           << "alpha index"
                                           << "Unable to open the report file '%1/missing.xrd'"
                                           << QStringList{"alpha.html", "missing.html", "b.html"};
    QTest::addRow("cancelled first") << missing << false << "first"
                                     << ""
                                     << "" << QStringList{"alpha.html"};
    // The filter drops the green case the red one links to: the link leads
    // to the page of the whole report, exported for it.
    QTest::addRow("failed only") << QStringList{"a.xrd: alpha b.xrd #alpha-green", "b.xrd: beta"}
                                 << true << ""
                                 << "a alpha b index"
                                 << ""
                                 << QStringList{"alpha.html", "b.html", "a.html#alpha-green",
                                                "+red case of alpha", "-green case of alpha"};
}

void TestReporterHtmlExport::linkedReportsAreExportedInsideTheFolder()
{
    QFETCH(QStringList, reports);
    QFETCH(QStringList, page);
    QFETCH(QString, cancel);
    QFETCH(QString, errors);
    QStringList written;
    for (const QString& spec : reports) {
        QStringList words = spec.arg(m_dir->path()).split(' ');
        written << path(words.takeFirst().chopped(1));
        QVERIFY(writeFile(written.last(), report(words.takeFirst(), words)));
    }
    auto window = openWindow({written.first()});
    if (QTest::currentDataTag() == QByteArray("failed only"))
        window->failedtests();
    RecordingLog log;
    RecordingProgress progress;
    if (cancel == "first")
        progress.cancel();
    if (cancel == "at error")
        log.onError = [&progress](const QString&) { progress.cancel(); };
    const bool done = window->exportHTML(path("out"), "ignored.html", &progress, &log);
    QCOMPARE(done, cancel.isEmpty() && log.errors.isEmpty());
    QCOMPARE(log.errors.join('\n'), errors.arg(m_dir->path()));

    // Only pages, in the folder; the summary is the index page whatever
    // name the caller passes.
    QStringList pages;
    for (QDirIterator it(m_dir->path(), QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
        const QString file = it.next();
        if (!written.contains(file))
            pages << QDir(path("out")).relativeFilePath(file);
    }
    pages.sort();
    QTEST(pages.filter(".html").join(' ').remove(".html"), "pages");
    QVERIFY2(pages.filter("../").isEmpty(), qPrintable(pages.join(' ')));
    const QString html = readText(path("out/" + page.takeFirst()));
    QCOMPARE(hrefs(html), page.filter(QRegularExpression("^[^+-]")));
    for (const QString& text : page.filter(QRegularExpression("^[+-]")))
        QVERIFY2(html.contains(text.mid(1)) == text.startsWith('+'), qPrintable(text));
}

void TestReporterHtmlExport::everyLinkLeadsSomewhere_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<bool>("failedOnly");
    const QDir examples(QStringLiteral(XRD_SOURCE_DIR "/examples"));
    QStringList files;
    for (const QString& name : examples.entryList({"*.xrd"}, QDir::Files))
        files << examples.filePath(name);
    for (const QString& name : QDir(examples.filePath("results")).entryList(QDir::Files))
        files << examples.filePath("results/" + name);
    QTest::addRow("examples") << files << false;
    QTest::addRow("examples, failed only") << files << true;
    // The samples are written into the test's folder by the test function.
    for (const auto& [format, bytes] : Samples::all()) {
        if (qstrcmp(format, "text") != 0) {
            QTest::addRow("%s run", format) << QStringList{format} << false;
            QTest::addRow("%s run, failed only", format) << QStringList{format} << true;
        }
    }
}

// In the pages, an href names a page written in the folder and an id on it,
// or a source file.
void TestReporterHtmlExport::everyLinkLeadsSomewhere()
{
    QFETCH(QStringList, files);
    QFETCH(bool, failedOnly);
    for (const auto& [format, bytes] : Samples::all()) {
        if (files.first() == QLatin1String(format)) {
            files = QStringList{path(files.first() + ".result")};
            QVERIFY(writeFile(files.first(), bytes));
        }
    }
    auto window = openWindow(files);
    QCOMPARE(window->records().size(), files.size());
    if (failedOnly) {
        AnsweredBoxes boxes({QMessageBox::No}); // a run without failures stays filtered
        window->failedtests();
    }
    RecordingLog log;
    RecordingProgress progress;
    QVERIFY2(window->exportHTML(path("out"), "index.html", &progress, &log),
             qPrintable(log.errors.join('\n')));
    static const QRegularExpression reference(QStringLiteral("(?:href|src)=\"([^\"]*)\""));
    static const QRegularExpression id(QStringLiteral(" id=\"([^\"]*)\""));
    int checked = 0;
    for (const QString& page : QDir(path("out")).entryList({"*.html"}, QDir::Files)) {
        for (const QRegularExpressionMatch& match :
             reference.globalMatch(readText(path("out/" + page)))) {
            const QString href = match.captured(1).replace("&amp;", "&");
            const QUrl url(href);
            const QString where = page + ": " + href;
            ++checked;
            if (url.scheme() == "http" || url.scheme() == "https" || url.scheme() == "mailto")
                continue;
            const QString file =
                url.path().isEmpty() ? page : QUrl::fromPercentEncoding(url.path().toUtf8());
            if (!url.path().isEmpty() && !file.endsWith(".html") && !file.endsWith(".css") &&
                !match.captured(0).startsWith("src")) {
                // A source file, which need not be on this machine: a path
                // relative to the folder, or an absolute file URL.
                QVERIFY2(url.scheme().isEmpty() ||
                             (url.scheme() == "file" && !href.startsWith("file:////")),
                         qPrintable(where));
                continue;
            }
            // Pages, pictures and the stylesheet are in the folder.
            const QString target = QDir::cleanPath(path("out") + '/' + file);
            QVERIFY2(url.scheme().isEmpty() && QFile::exists(target) && !file.startsWith("../"),
                     qPrintable(where));
            QStringList ids;
            for (const QRegularExpressionMatch& each : id.globalMatch(readText(target)))
                ids << each.captured(1);
            QVERIFY2(!url.hasFragment() || ids.contains(url.fragment(QUrl::FullyDecoded)),
                     qPrintable(where));
        }
    }
    // At least the stylesheet, the summary's link and one more.
    QVERIFY2(checked >= 3, qPrintable(QString::number(checked)));
}

QTEST_MAIN(TestReporterHtmlExport)
#include "tst_reporterhtmlexport.moc"
