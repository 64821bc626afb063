#include "../importers/samples.h"
#include "ddocument.h"
#include "dhtmlres.h"
#include "ditemtraits.h"
#include "dlink.h"
#include "documentitems.h"
#include "files.h"
#include "monitors.h"
#include "qailogmonitor.h"
#include "qaiprogressmonitor.h"
#include "qalinktarget.h"
#include "qamessagebox.h"
#include "qareporter.h"
#include "qareporterdata.h"
#include "qareporterexportcommands.h"
#include "qareporterfilter.h"
#include "qareporterhtmlwriter.h"
#include "qareportsession.h"
#include "recordingstudio.h"
#include "scopedpreferences.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMainWindow>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextStream>
#include <QUrl>
#include <QtTest>

#include <functional>

namespace {

using Log = RecordingLog;
using Progress = RecordingProgress;

// A report of one suite named name holding a passed and a failed case; the
// failed case's paragraph holds links, given as AML.
QByteArray report(const QString& name, const QString& links = QString())
{
    static const char text[] =
        "<XROD>\n"
        "  <DOCUMENT name='%1' title='%1'>\n"
        "    <TITLE level='1' name='%1-top'>%1</TITLE>\n"
        "    <XROD:NODE name='%1-suite' type='suite' state='ko' sum='0'>\n"
        "      <XROD:NODE name='%1-green' type='testcase' state='ok' sum='1'>\n"
        "        <PARAGRAPH name='%1-green'>green case of %1</PARAGRAPH>\n"
        "      </XROD:NODE>\n"
        "      <XROD:NODE name='%1-red' type='testcase' state='ko' sum='1'>\n"
        "        <PARAGRAPH name='%1-red'>red case of %1 %2</PARAGRAPH>\n"
        "      </XROD:NODE>\n"
        "    </XROD:NODE>\n"
        "  </DOCUMENT>\n"
        "</XROD>\n";
    return QString::fromUtf8(text).arg(name, links).toUtf8();
}

QString xrdLink(const QString& target)
{
    return QStringLiteral("<LINK target='xrdlink://%1'>to %1</LINK>").arg(target);
}

QStringList hrefs(const QString& html)
{
    static const QRegularExpression href(QStringLiteral("<a href=\"([^\"]*)\""));
    QStringList found;
    for (const QRegularExpressionMatch& match : href.globalMatch(html))
        found << match.captured(1);
    return found;
}

QStringList pageNames(const QString& dir)
{
    QStringList names = QDir(dir).entryList({QStringLiteral("*.html")}, QDir::Files);
    names.sort();
    return names;
}

// Writes a document made of one paragraph of links to targets, with writer.
QString writeLinks(QAReporterHTMLWriter& writer, const QStringList& targets)
{
    QString aml = QStringLiteral("<DOCUMENT name=\"links\" title=\"links\"><PARAGRAPH>");
    for (const QString& target : targets)
        aml += QStringLiteral("<LINK target=\"%1\">text</LINK>").arg(target.toHtmlEscaped());
    aml += QStringLiteral("</PARAGRAPH></DOCUMENT>");
    const std::unique_ptr<DDocument> document = readAml(aml.toUtf8());
    if (!document)
        return QString();
    QString html;
    QTextStream stream(&html);
    DHTMLRes config;
    writer.setConfig(&config);
    writer.setStream(&stream);
    writer.doAll(document.get());
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
    void reportLinksPointToTheirPagesAndAreRecordedOnce();
    void otherLinksPointToDocumentsOrItemsOfThePage();
    void sourceLinksStartFromTheNodeBaseAndTheExportFolder();
    void htmlFileNameIsTheBaseNameAndExtension();

    void linkedReportsAreFollowedToAnyDepth();
    void missingLinkedReportIsLoggedAndTheExportGoesOn();
    void cancelWhileFollowingLinksStillWritesTheSummary();
    void cancelBeforeTheFirstReportWritesNothing();
    void failedOnlyViewExportsLinkedReportsWhole();
    void everyLinkLeadsSomewhere_data();
    void everyLinkLeadsSomewhere();

private:
    std::unique_ptr<QAReporter> openWindow(const QStringList& paths);
    QString path(const QString& name) const { return m_dir->filePath(name); }
    QString outPath(const QString& name) const { return m_dir->filePath("out/" + name); }

    RecordingStudio m_studio;
    std::unique_ptr<ScopedPreferences> m_preferences;
    std::unique_ptr<QMainWindow> m_hostWindow;
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<QAReporterCommands> m_previousCommands;
};

void TestReporterHtmlExport::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_studio = RecordingStudio();
    m_studio.home = QStringLiteral(XRD_SOURCE_DIR "/resources");
    m_studio.config = QStringLiteral(XRD_SOURCE_DIR "/resources");
    m_studio.pixmaps = QStringLiteral(XRD_SOURCE_DIR "/resources/pixmaps");
    m_hostWindow = std::make_unique<QMainWindow>();
    m_studio.window = m_hostWindow.get();
    m_preferences = std::make_unique<ScopedPreferences>(&m_studio);
    m_previousCommands = installReporterCommands(std::make_unique<QAReporterExportCommands>());
}

void TestReporterHtmlExport::cleanup()
{
    installReporterCommands(std::move(m_previousCommands));
    m_preferences.reset();
    m_hostWindow.reset();
    m_dir.reset();
}

std::unique_ptr<QAReporter> TestReporterHtmlExport::openWindow(const QStringList& paths)
{
    auto window = std::make_unique<QAReporter>(QStringLiteral("Test Report"), QPixmap());
    window->setAttribute(Qt::WA_DeleteOnClose, false);
    QStringList files = paths;
    window->setFiles(&files, nullptr, QAStViewerWindow::Interactive);
    return window;
}

void TestReporterHtmlExport::relativePathsByTheirFirstCharacters_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("relative");
    QTest::newRow("slash") << "/a" << false;
    QTest::newRow("backslash") << "\\a" << false;
    QTest::newRow("drive and backslash") << "C:\\a" << false;
    QTest::newRow("plain") << "a" << true;
    QTest::newRow("empty") << "" << true;
    QTest::newRow("drive alone") << "C:a" << true;
    QTest::newRow("drive and slash") << "C:/a" << true;
    QTest::newRow("drive letter only") << "C:" << true;
}

void TestReporterHtmlExport::relativePathsByTheirFirstCharacters()
{
    QFETCH(QString, path);
    QFETCH(bool, relative);
    QCOMPARE(QAReporterHTMLWriter::isRelativePath(path), relative);
}

void TestReporterHtmlExport::reportLinksPointToTheirPagesAndAreRecordedOnce()
{
    QAReporterHTMLWriter writer({}, nullptr, nullptr, nullptr);
    const QString html =
        writeLinks(writer, {"xrdlink://sub/b.xrd#N42", "xrdlink://sub/b.xrd", "xrdlink://b.xrd#",
                            "xrdlink://c.test.xrd#a b", "xrdlink://#links", "xrdlink://#nowhere"});
    // An anchor alone stays in the page, when the page has it.
    QCOMPARE(hrefs(html),
             QStringList({"b.html#N42", "b.html", "b.html", "c.html#a%20b", "#links"}));
    QCOMPARE(writer.xrdLinkedFiles(), QStringList({"sub/b.xrd", "b.xrd", "c.test.xrd"}));
    QVERIFY2(html.contains("<a href=\"b.html#N42\">text</a>"), qPrintable(html));
    QCOMPARE(html.count("text"), 6);
}

void TestReporterHtmlExport::otherLinksPointToDocumentsOrItemsOfThePage()
{
    QAReporterData first;
    first.document =
        std::make_shared<DDocument>(QStringLiteral("First"), QStringLiteral("first.run"));
    QAReporterData empty;
    QAReporterHTMLWriter writer({&empty, &first}, nullptr, nullptr, nullptr);
    // "links" is the tag of the page written, which is not a loaded report.
    const QString html = writeLinks(
        writer, {"::first.run", "a:b:first.run", "nowhere", "links", "javascript:alert(1)"});
    // What leads nowhere is its text alone.
    QCOMPARE(hrefs(html), QStringList({"first.html", "first.html", "#links"}));
    QCOMPARE(html.count("text"), 5);
    QVERIFY(writer.xrdLinkedFiles().isEmpty());
}

void TestReporterHtmlExport::sourceLinksStartFromTheNodeBaseAndTheExportFolder()
{
    const QByteArray bytes =
        "<XROD><DOCUMENT name='src' title='src'>\n"
        "  <XROD:NODE name='suite' type='suite' state='ko' sum='0'>\n"
        "    <XROD:NODE name='case' type='testcase' state='ko' sum='1' base='D:\\work\\'>\n"
        "      <PARAGRAPH>at <LINK target='src/a.c line 12'>a</LINK>\n"
        "        <LINK target='E:\\other\\b.c line 3'>b</LINK>\n"
        "        <LINK target='D:\\work\\html\\line 7 line 9'>c</LINK></PARAGRAPH>\n"
        "    </XROD:NODE>\n"
        "  </XROD:NODE>\n"
        "  <PARAGRAPH><LINK target='lib/c.c line 1'>outside any node</LINK></PARAGRAPH>\n"
        "</DOCUMENT></XROD>";
    QVERIFY(writeFile(path("src.xrd"), bytes));
    auto window = openWindow({path("src.xrd")});
    QCOMPARE(window->records().size(), 1);
    QAReporterHTMLWriter writer(window->records(), &window->session(), nullptr, nullptr);
    writer.setBaseForLink(QStringLiteral("/srv/./out/"));
    QCOMPARE(writer.baseForLink(), QStringLiteral("/srv/out"));
    writer.setBaseForLink(QStringLiteral("D:\\work\\html"));

    QString html;
    QTextStream stream(&html);
    DHTMLRes config;
    writer.setConfig(&config);
    writer.setStream(&stream);
    writer.doAll(window->session().filteredRecords().first()->document.get());
    stream.flush();
    // The last "line N" ends the path; a path on another drive stays
    // absolute; a link outside every node keeps its relative path.
    QCOMPARE(hrefs(html),
             QStringList({"../src/a.c", "file:///E:/other/b.c", "line%207", "lib/c.c"}));
}

void TestReporterHtmlExport::htmlFileNameIsTheBaseNameAndExtension()
{
    QAReporterHTMLWriter writer({}, nullptr, nullptr, nullptr);
    DHTMLRes config;
    writer.setConfig(&config);
    QCOMPARE(writer.getHtmlFilenameForXrd("C:/runs/unit.test.xrd"), QStringLiteral("unit.html"));
    QCOMPARE(writer.getHtmlFilenameForXrd("/runs/plain"), QStringLiteral("plain.html"));
    writer.setXrdLinkedFiles({"a", "b"});
    QCOMPARE(writer.xrdLinkedFiles(), QStringList({"a", "b"}));
}

void TestReporterHtmlExport::linkedReportsAreFollowedToAnyDepth()
{
    // deep/b.xrd names c.xrd, which is found next to the first report, not
    // next to b; a links to itself and to b twice, spelled two ways.
    QVERIFY(writeFile(path("a.xrd"), report("alpha", xrdLink("a.xrd") + xrdLink("deep/b.xrd#x") +
                                                         xrdLink(path("deep/b.xrd")))));
    QVERIFY(writeFile(path("deep/b.xrd"), report("beta", xrdLink("c.xrd#gamma-red"))));
    QVERIFY(writeFile(path("c.xrd"), report("gamma")));
    auto window = openWindow({path("a.xrd")});
    Log log;
    Progress progress;
    QVERIFY(window->exportHTML(path("out"), "ignored.html", &progress, &log));
    QVERIFY2(log.errors.isEmpty(), qPrintable(log.errors.join('\n')));
    QCOMPARE(pageNames(path("out")),
             QStringList({"a.html", "alpha.html", "b.html", "c.html", "index.html"}));
    QVERIFY(readText(outPath("c.html")).contains("red case of gamma"));
    QCOMPARE(hrefs(readText(outPath("b.html"))), QStringList({"c.html#gamma-red"}));
    // The summary is the index page whatever name the caller passes.
    QVERIFY(!QFile::exists(outPath("ignored.html")));
}

void TestReporterHtmlExport::missingLinkedReportIsLoggedAndTheExportGoesOn()
{
    QVERIFY(writeFile(path("a.xrd"), report("alpha", xrdLink("missing.xrd") + xrdLink("b.xrd"))));
    QVERIFY(writeFile(path("b.xrd"), report("beta")));
    auto window = openWindow({path("a.xrd")});
    Log log;
    Progress progress;
    QVERIFY(!window->exportHTML(path("out"), "index.html", &progress, &log));
    QCOMPARE(log.errors, QStringList({"Unable to open the report file '" + m_dir->path() +
                                      QDir::separator() + "missing.xrd'"}));
    QCOMPARE(pageNames(path("out")), QStringList({"alpha.html", "b.html", "index.html"}));
}

void TestReporterHtmlExport::cancelWhileFollowingLinksStillWritesTheSummary()
{
    QVERIFY(writeFile(path("a.xrd"), report("alpha", xrdLink("missing.xrd") + xrdLink("b.xrd"))));
    QVERIFY(writeFile(path("b.xrd"), report("beta")));
    auto window = openWindow({path("a.xrd")});
    Log log;
    Progress progress;
    log.onError = [&progress](const QString&) { progress.cancel(); };
    QVERIFY(!window->exportHTML(path("out"), "index.html", &progress, &log));
    QCOMPARE(pageNames(path("out")), QStringList({"alpha.html", "index.html"}));
}

void TestReporterHtmlExport::cancelBeforeTheFirstReportWritesNothing()
{
    QVERIFY(writeFile(path("a.xrd"), report("alpha", xrdLink("b.xrd"))));
    QVERIFY(writeFile(path("b.xrd"), report("beta")));
    auto window = openWindow({path("a.xrd"), path("b.xrd")});
    Log log;
    Progress progress;
    progress.cancel();
    QVERIFY(!window->exportHTML(path("out"), "index.html", &progress, &log));
    QVERIFY(pageNames(path("out")).isEmpty());
}

void TestReporterHtmlExport::failedOnlyViewExportsLinkedReportsWhole()
{
    // The filter drops the green case the red one links to: the link leads
    // to the page of the whole report, exported for it.
    QVERIFY(writeFile(path("a.xrd"), report("alpha", xrdLink("b.xrd") + xrdLink("#alpha-green"))));
    QVERIFY(writeFile(path("b.xrd"), report("beta")));
    auto window = openWindow({path("a.xrd")});
    QVERIFY(QMetaObject::invokeMethod(window.get(), "failedtests"));
    Log log;
    Progress progress;
    QVERIFY(window->exportHTML(path("out"), "index.html", &progress, &log));
    const QString alpha = readText(outPath("alpha.html"));
    QVERIFY(alpha.contains("red case of alpha"));
    QVERIFY(!alpha.contains("green case of alpha"));
    QCOMPARE(hrefs(alpha), QStringList({"b.html", "a.html#alpha-green"}));
    QVERIFY(readText(outPath("a.html")).contains("id=\"alpha-green\""));
    const QString beta = readText(outPath("b.html"));
    QVERIFY(beta.contains("red case of beta"));
    QVERIFY(beta.contains("green case of beta"));
}

void TestReporterHtmlExport::everyLinkLeadsSomewhere_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<bool>("failedOnly");
    const QDir examples(QStringLiteral(XRD_SOURCE_DIR "/examples"));
    QStringList files;
    for (const QString& name : examples.entryList({"*.xrd"}, QDir::Files))
        files << examples.filePath(name);
    const QDir results(examples.filePath("results"));
    for (const QString& name : results.entryList(QDir::Files))
        files << results.filePath(name);
    QTest::addRow("examples") << files << false;
    QTest::addRow("examples, failed only") << files << true;
    // The samples are written into the test's folder by the test function.
    for (const auto& [format, bytes] : Samples::all()) {
        if (qstrcmp(format, "text") == 0)
            continue;
        QTest::addRow("%s run", format) << QStringList{QString::fromLatin1(format)} << false;
        QTest::addRow("%s run, failed only", format)
            << QStringList{QString::fromLatin1(format)} << true;
    }
}

// In the window, a link moves the view to a place of its report, names a
// report file that exists or is a source line; in the pages, an href names
// a page written and an id on it, or a source file.
void TestReporterHtmlExport::everyLinkLeadsSomewhere()
{
    QFETCH(QStringList, files);
    QFETCH(bool, failedOnly);
    for (QString& file : files) {
        for (const auto& [format, bytes] : Samples::all()) {
            if (file == QLatin1String(format)) {
                file = path(file + ".result");
                QVERIFY(writeFile(file, bytes));
            }
        }
    }
    auto window = openWindow(files);
    QCOMPARE(window->records().size(), files.size());
    int links = 0;
    for (const QAReporterData* record : window->records()) {
        QSet<QString> names{record->document->tag()};
        for (const DItem* item : itemsOf(record->document.get()))
            names.insert(item->name());
        for (const DItem* item : itemsOf(record->document.get())) {
            const QString target = DItemTraits::linkTarget(item);
            if (target.isEmpty() || item->kind() == DItem::PopupLink)
                continue;
            const QALinkTarget link = QALinkTarget::parse(target);
            const QString where = record->fileName + ": " + target;
            const QDir dir = QFileInfo(record->fileName).dir();
            if (link.isLocal())
                QVERIFY2(names.contains(link.anchor()), qPrintable(where));
            else if (link.isReport())
                QVERIFY2(QFileInfo::exists(dir.filePath(link.file())), qPrintable(where));
            else if (link.isSource())
                QVERIFY2(!link.file().isEmpty(), qPrintable(where));
            else // an entry moves the view; a link would go to the host
                QVERIFY2(item->kind() != DItem::Link && names.contains(target), qPrintable(where));
            ++links;
        }
    }
    QVERIFY(links > 0);
    // The summary's links move to the reports' documents.
    QSet<QString> tags;
    for (const QAReporterData* record : window->records())
        tags.insert(record->document->tag());
    for (const DItem* item : itemsOf(window->summary())) {
        QString file, kind, tag;
        if (item->kind() == DItem::Link)
            DLink::split(DItemTraits::linkTarget(item), file, kind, tag);
        QVERIFY(item->kind() != DItem::Link || tags.contains(tag));
    }

    if (failedOnly) {
        // A run without failures asks whether to show it whole: no.
        QAMessageBox::setResponder([](QMessageBox::Icon, const QString&, const QString&,
                                      QMessageBox::StandardButtons) { return QMessageBox::No; });
        window->failedtests();
        QAMessageBox::setResponder({});
    }
    Log log;
    Progress progress;
    QVERIFY2(window->exportHTML(path("out"), "index.html", &progress, &log),
             qPrintable(log.errors.join('\n')));
    static const QRegularExpression reference(QStringLiteral("(?:href|src)=\"([^\"]*)\""));
    static const QRegularExpression id(QStringLiteral(" id=\"([^\"]*)\""));
    int pages = 0;
    int checked = 0;
    for (const QString& page : pageNames(path("out"))) {
        ++pages;
        const QString html = readText(outPath(page));
        for (const QRegularExpressionMatch& match : reference.globalMatch(html)) {
            const QString href = match.captured(1).replace("&amp;", "&");
            const QUrl url(href);
            const QString where = page + ": " + href;
            ++checked;
            if (url.scheme() == "http" || url.scheme() == "https" || url.scheme() == "mailto")
                continue;
            const QString file =
                url.path().isEmpty() ? page : QUrl::fromPercentEncoding(url.path().toUtf8());
            const bool written = url.path().isEmpty() || file.endsWith(".html") ||
                                 file.endsWith(".css") || match.captured(0).startsWith("src");
            if (!written) {
                // A source file, which need not be on this machine: a path
                // relative to the folder, or an absolute file URL.
                QVERIFY2(url.scheme().isEmpty() ||
                             (url.scheme() == "file" && !href.startsWith("file:////")),
                         qPrintable(where));
                continue;
            }
            QVERIFY2(url.scheme().isEmpty(), qPrintable(where));
            const QString target = QDir::cleanPath(path("out") + '/' + file);
            QVERIFY2(QFile::exists(target), qPrintable(where));
            if (url.hasFragment()) {
                QStringList ids;
                for (const QRegularExpressionMatch& each : id.globalMatch(readText(target)))
                    ids << each.captured(1);
                QVERIFY2(ids.contains(url.fragment(QUrl::FullyDecoded)), qPrintable(where));
            }
        }
    }
    // At least the stylesheet, the summary's link and one more.
    QVERIFY(pages >= 2);
    QVERIFY2(checked >= 3, qPrintable(QString::number(checked)));
}

QTEST_MAIN(TestReporterHtmlExport)
#include "tst_reporterhtmlexport.moc"
