#include "qalinktarget.h"

#include <QtTest>

class TestLinkTarget : public QObject
{
    Q_OBJECT

private slots:
    void readsAndWritesBothForms_data();
    void readsAndWritesBothForms();
};

namespace {

// The parts of a link as "kind|file|anchor|line|line number|local".
QString partsOf(const QALinkTarget& link)
{
    static const char* const kinds[] = {"other", "report", "source"};
    return QString("%1|%2|%3|%4|%5|%6")
        .arg(QLatin1String(kinds[link.kind()]), link.file(), link.anchor(), link.line())
        .arg(link.lineNumber())
        .arg(link.isLocal() ? "local" : "");
}

// written is what writing the parts back gives, empty for other targets.
void row(const char* name, const QString& target, const QString& parts, const QString& written)
{
    QTest::newRow(name) << target << parts << written;
}

} // namespace

void TestLinkTarget::readsAndWritesBothForms_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("parts");
    QTest::addColumn<QString>("written");
    const QString other = "other||||0|";
    row("source reference", "src/a.c line 12", "source|src/a.c||12|12|", "src/a.c line 12");
    row("file trimmed, spaces inside kept", "  a b/c.c \t line 7", "source|a b/c.c||7|7|",
        "a b/c.c line 7");
    row("text after the number ignored", "a.c line 3 (x)", "source|a.c||3|3|", "a.c line 3");
    row("the last line N counts", "D:\\work\\line 7 line 9", "source|D:\\work\\line 7||9|9|",
        "D:\\work\\line 7 line 9");
    row("no file", "line 5", "source|||5|5|", " line 5");
    row("word ending in line", "pipeline 2", "source|pipe||2|2|", "pipe line 2");
    row("number too big for an int", "a.c line 99999999999", "source|a.c||99999999999|0|",
        "a.c line 99999999999");
    row("line without digits", "a.c line x", other, "");
    row("line break before line", "a.c\nline 3", other, "");
    row("report and anchor", "xrdlink://sub/b.xrd#N42", "report|sub/b.xrd|N42||0|",
        "xrdlink://sub/b.xrd#N42");
    row("report alone", "xrdlink:///r/b.xrd", "report|/r/b.xrd|||0|", "xrdlink:///r/b.xrd");
    row("empty anchor", "xrdlink://b.xrd#", "report|b.xrd|||0|", "xrdlink://b.xrd");
    row("this report", "xrdlink://#t3", "report||t3||0|local", "xrdlink://#t3");
    row("first # ends the file", "xrdlink://a#b#c", "report|a|b#c||0|", "xrdlink://a#b#c");
    row("report before source", "xrdlink://baseline 2.xrd", "report|baseline 2.xrd|||0|",
        "xrdlink://baseline 2.xrd");
    row("scheme case", "XRDLINK://a.xrd", other, "");
    row("scheme not first", " xrdlink://a.xrd", other, "");
    row("document tag", "::index", other, "");
    row("empty", "", other, "");
}

void TestLinkTarget::readsAndWritesBothForms()
{
    QFETCH(QString, target);
    QFETCH(QString, parts);
    QFETCH(QString, written);
    const QALinkTarget link = QALinkTarget::parse(target);
    QCOMPARE(partsOf(link), parts);
    if (link.kind() == QALinkTarget::Other)
        return;
    const QString again = link.isReport() ? QALinkTarget::reportLink(link.file(), link.anchor())
                                          : QALinkTarget::sourceReference(link.file(), link.line());
    QCOMPARE(again, written);
    // Read back, the written form gives the same parts, but for a line
    // number too big to keep.
    QCOMPARE(partsOf(QALinkTarget::parse(again)).section('|', 0, 3), parts.section('|', 0, 3));
}

QTEST_GUILESS_MAIN(TestLinkTarget)
#include "tst_linktarget.moc"
