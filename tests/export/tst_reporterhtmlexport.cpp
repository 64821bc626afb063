#include "ddocument.h"
#include "dhtmlres.h"
#include "documentitems.h"
#include "files.h"
#include "monitors.h"
#include "qareporterdata.h"
#include "qareporterhtmlexport.h"
#include "qareporterhtmlwriter.h"
#include "qareportsession.h"
#include "reporterhost.h"

#include <QDirIterator>
#include <QTemporaryDir>
#include <QTextStream>
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
    void linksPointToPagesOrItemsAndAreEscaped();
    void summaryPageDrawsTheTrend();
    void sourceLinksStartFromTheNodeBaseAndTheExportFolder();
    void linkedReportsAreExportedInsideTheFolder_data();
    void linkedReportsAreExportedInsideTheFolder();

private:
    ReporterHost<> m_host;
};

void TestReporterHtmlExport::linksPointToPagesOrItemsAndAreEscaped()
{
    QAReporterData first;
    first.document = std::make_shared<DDocument>(QStringLiteral("First"), "first.run");
    QAReporterData empty;
    QAReporterData untagged;
    untagged.document = std::make_shared<DDocument>(QStringLiteral("Untagged"), QString());
    QAReporterHTMLWriter writer({&empty, &untagged, &first}, nullptr, nullptr, nullptr);
    // "links" is the tag of the page written, which is not a loaded report;
    // no tag names no report, not even one without a tag.
    const QStringList targets =
        QString("xrdlink://sub/b.xrd#N42|xrdlink://sub/b.xrd|xrdlink://b.xrd#|"
                "xrdlink://c.test.xrd#a b|xrdlink://b.xrd#x&y|xrdlink://#links|xrdlink://#nowhere|"
                "::first.run|a:b:first.run|a:b:|nowhere|links|javascript:alert(1)")
            .split('|');
    QString aml = "<DOCUMENT name=\"links\" title=\"links\"><PARAGRAPH>";
    for (const QString& target : targets)
        aml += QString("<LINK target=\"%1\">text</LINK>").arg(target.toHtmlEscaped());
    const std::unique_ptr<DDocument> document = readAml((aml + "</PARAGRAPH></DOCUMENT>").toUtf8());
    const QString html = writePage(writer, document.get());
    // What leads nowhere is its text alone; a report is recorded once.
    QCOMPARE(hrefs(html),
             QStringList({"b.html#N42", "b.html", "b.html", "c.html#a%20b", "b.html#x&amp;y",
                          "#links", "first.html", "first.html", "#links"}));
    QCOMPARE(writer.xrdLinkedFiles(), QStringList({"sub/b.xrd", "b.xrd", "c.test.xrd"}));
    QCOMPARE(html.count("text"), targets.size());
}

void TestReporterHtmlExport::sourceLinksStartFromTheNodeBaseAndTheExportFolder()
{
    QTemporaryDir dir;
    QVERIFY(writeFile(dir.filePath("src.xrd"),
                      "<XROD><DOCUMENT name='s' title='s'><XROD:NODE name='suite' type='suite' "
                      "state='ko' sum='0'><XROD:NODE name='case' type='testcase' state='ko' "
                      "sum='1' base='D:\\work\\'><PARAGRAPH>at <LINK target='src/a.c line 12'>a"
                      "</LINK> <LINK target='E:\\other\\b.c line 3'>b</LINK> <LINK "
                      "target='D:\\work\\html\\line 7 line 9'>c</LINK></PARAGRAPH></XROD:NODE>"
                      "</XROD:NODE><PARAGRAPH><LINK target='lib/c.c line 1'>outside any node</LINK>"
                      "</PARAGRAPH></DOCUMENT></XROD>"));
    QAReportSession session;
    session.load({dir.filePath("src.xrd")}, nullptr, {});
    session.assemble();
    QAReporterHTMLWriter writer(session.records(), &session, nullptr, nullptr);
    writer.setBaseForLink(QStringLiteral("D:\\work\\html"));
    const QString html = writePage(writer, session.filteredRecords().first()->document.get());
    // The last "line N" ends the path; a path on another drive stays
    // absolute; a link outside every node keeps its relative path.
    QCOMPARE(hrefs(html),
             QStringList({"../src/a.c", "file:///E:/other/b.c", "line%207", "lib/c.c"}));
    // Absolute paths are told by their first characters.
    for (const char* path : {"/a", "\\a", "C:\\a"})
        QVERIFY2(!QAReporterHTMLWriter::isRelativePath(path), path);
    for (const char* path : {"a", "", "C:a", "C:/a", "C:"})
        QVERIFY2(QAReporterHTMLWriter::isRelativePath(path), path);
}

// The trend of the runs the summary starts with is drawn on its page.
void TestReporterHtmlExport::summaryPageDrawsTheTrend()
{
    QTemporaryDir dir;
    QVERIFY(writeFile(dir.filePath("r.xrd"),
                      "<XROD><XROD:NODE name='s' type='suite' state='ok' "
                      "sum='1'><PARAGRAPH>p</PARAGRAPH></XROD:NODE></XROD>"));
    QAReportSession session;
    session.load({dir.filePath("r.xrd")}, nullptr, {});
    session.setTrend({{"first.xrd", 3, 1, 0}, {"second.xrd", 4, 0, 0}});
    session.assemble();
    RecordingProgress progress;
    RecordingLog log;
    QVERIFY(QAReporterHTMLExport(session, &progress, &log).run(dir.filePath("html")));
    const QString index = QString::fromUtf8(readFile(dir.filePath("html/index.html")));
    QVERIFY2(index.contains("Trend of the last 2 runs") && index.contains("<svg") &&
                 index.contains("second.xrd"),
             qPrintable(index));
}

void TestReporterHtmlExport::linkedReportsAreExportedInsideTheFolder_data()
{
    // Reports as "file: name link...", the first opened ("%1" is their
    // folder); the pages written, the error, one page's links and texts (+)
    // or not (-).
    QTest::addColumn<QStringList>("reports");
    QTest::addColumn<bool>("cancelAtError");
    QTest::addColumn<QString>("pages");
    QTest::addColumn<QString>("error");
    QTest::addColumn<QStringList>("page");
    // c.xrd, named in deep/b.xrd, is found next to the first report; a
    // links to itself and to b twice, spelled two ways.
    QTest::addRow("to any depth")
        << QStringList{"a.xrd: alpha a.xrd deep/b.xrd#beta-red %1/deep/b.xrd",
                       "deep/b.xrd: beta c.xrd#gamma-red", "c.xrd: gamma"}
        << false << "a alpha b c index"
        << "" << QStringList{"b.html", "c.html#gamma-red", "+red case of beta"};
    const QStringList missing{"a.xrd: alpha missing.xrd b.xrd", "b.xrd: beta"};
    const QString unopened = "Unable to open the report file '%1/missing.xrd'";
    QTest::addRow("cancelled at an error") << missing << true << "alpha index" << unopened
                                           << QStringList{"alpha.html", "missing.html", "b.html"};
    // The filter drops the green case the red one links to: the link leads
    // to the page of the whole report, exported for it.
    QTest::addRow("failed only") << QStringList{"a.xrd: alpha b.xrd #alpha-green", "b.xrd: beta"}
                                 << false << "a alpha b index"
                                 << ""
                                 << QStringList{"alpha.html", "b.html", "a.html#alpha-green",
                                                "+red case of alpha", "-green case of alpha"};
}

void TestReporterHtmlExport::linkedReportsAreExportedInsideTheFolder()
{
    QFETCH(QStringList, reports);
    QFETCH(bool, cancelAtError);
    QFETCH(QString, error);
    QFETCH(QStringList, page);
    QTemporaryDir dir;
    QStringList written;
    for (const QString& spec : reports) {
        QStringList words = QString(spec).replace("%1", dir.path()).split(' ');
        written << dir.filePath(words.takeFirst().chopped(1));
        QVERIFY(writeFile(written.last(), report(words.takeFirst(), words)));
    }
    QAReportSession session;
    session.load({written.first()}, nullptr, {});
    session.setFailedOnly(QTest::currentDataTag() == QByteArray("failed only"));
    session.assemble();
    RecordingLog log;
    RecordingProgress progress;
    if (cancelAtError)
        log.onError = [&progress](const QString&) { progress.cancel(); };
    const QString out = dir.filePath("out");
    QCOMPARE(QAReporterHTMLExport(session, &progress, &log).run(out), error.isEmpty());
    QCOMPARE(log.errors.join('\n'), QString(error).replace("%1", dir.path()));

    // Only pages, in the folder.
    QStringList pages;
    for (QDirIterator it(dir.path(), QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
        const QString file = it.next();
        if (!written.contains(file))
            pages << QDir(out).relativeFilePath(file);
    }
    pages.sort();
    QTEST(pages.filter(".html").join(' ').remove(".html"), "pages");
    QVERIFY2(pages.filter("../").isEmpty(), qPrintable(pages.join(' ')));
    const QString html = readText(out + '/' + page.takeFirst());
    QCOMPARE(hrefs(html), page.filter(QRegularExpression("^[^+-]")));
    for (const QString& text : page.filter(QRegularExpression("^[+-]")))
        QVERIFY2(html.contains(text.mid(1)) == text.startsWith('+'), qPrintable(text));
    // Without an error, every link of every page leads to a page written,
    // and to an id on it.
    for (const QString& from : error.isEmpty() ? pages.filter(".html") : QStringList()) {
        for (const QString& href : hrefs(readText(out + '/' + from))) {
            const QString target =
                out + '/' + (href.startsWith('#') ? from : href.section('#', 0, 0));
            const QString id = QUrl::fromPercentEncoding(href.section('#', 1).toUtf8());
            QVERIFY2(QFile::exists(target) &&
                         (id.isEmpty() || readText(target).contains("id=\"" + id + '"')),
                     qPrintable(from + ": " + href));
        }
    }
}

QTEST_MAIN(TestReporterHtmlExport)
#include "tst_reporterhtmlexport.moc"
