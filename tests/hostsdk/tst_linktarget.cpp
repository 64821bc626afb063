#include "qalinktarget.h"

#include <QtTest>

class TestLinkTarget : public QObject
{
    Q_OBJECT

private slots:
    void readsAndWritesBothForms_data();
    void readsAndWritesBothForms();
};

void TestLinkTarget::readsAndWritesBothForms_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("anchor");
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("lineNumber");
    // What writing the parts back gives (empty for Other).
    QTest::addColumn<QString>("written");
    const int other = QALinkTarget::Other;
    const int report = QALinkTarget::Report;
    const int source = QALinkTarget::Source;

    QTest::addRow("source reference") << "src/a.c line 12" << source << "src/a.c"
                                      << ""
                                      << "12" << 12 << "src/a.c line 12";
    QTest::addRow("file trimmed, spaces inside kept")
        << "  a b/c.c \t line 7" << source << "a b/c.c"
        << ""
        << "7" << 7 << "a b/c.c line 7";
    QTest::addRow("text after the number ignored") << "a.c line 3 (x)" << source << "a.c"
                                                   << ""
                                                   << "3" << 3 << "a.c line 3";
    QTest::addRow("the last line N counts")
        << "D:\\work\\line 7 line 9" << source << "D:\\work\\line 7"
        << ""
        << "9" << 9 << "D:\\work\\line 7 line 9";
    QTest::addRow("no file") << "line 5" << source << ""
                             << ""
                             << "5" << 5 << " line 5";
    QTest::addRow("word ending in line") << "pipeline 2" << source << "pipe"
                                         << ""
                                         << "2" << 2 << "pipe line 2";
    QTest::addRow("number too big for an int") << "a.c line 99999999999" << source << "a.c"
                                               << ""
                                               << "99999999999" << 0 << "a.c line 99999999999";
    QTest::addRow("Line capitalised") << "a.c Line 3" << other << ""
                                      << ""
                                      << "" << 0 << "";
    QTest::addRow("line without digits") << "a.c line x" << other << ""
                                         << ""
                                         << "" << 0 << "";
    QTest::addRow("line break before line") << "a.c\nline 3" << other << ""
                                            << ""
                                            << "" << 0 << "";

    QTest::addRow("report and anchor") << "xrdlink://sub/b.xrd#N42" << report << "sub/b.xrd"
                                       << "N42"
                                       << "" << 0 << "xrdlink://sub/b.xrd#N42";
    QTest::addRow("report alone") << "xrdlink:///r/b.xrd" << report << "/r/b.xrd"
                                  << ""
                                  << "" << 0 << "xrdlink:///r/b.xrd";
    QTest::addRow("empty anchor") << "xrdlink://b.xrd#" << report << "b.xrd"
                                  << ""
                                  << "" << 0 << "xrdlink://b.xrd";
    QTest::addRow("this report") << "xrdlink://#t3" << report << ""
                                 << "t3"
                                 << "" << 0 << "xrdlink://#t3";
    QTest::addRow("first # ends the file") << "xrdlink://a#b#c" << report << "a"
                                           << "b#c"
                                           << "" << 0 << "xrdlink://a#b#c";
    QTest::addRow("report before source")
        << "xrdlink://baseline 2.xrd" << report << "baseline 2.xrd"
        << ""
        << "" << 0 << "xrdlink://baseline 2.xrd";
    QTest::addRow("scheme case") << "XRDLINK://a.xrd" << other << ""
                                 << ""
                                 << "" << 0 << "";
    QTest::addRow("scheme not first") << " xrdlink://a.xrd" << other << ""
                                      << ""
                                      << "" << 0 << "";
    QTest::addRow("one slash") << "xrdlink:/a.xrd" << other << ""
                               << ""
                               << "" << 0 << "";
    QTest::addRow("document tag") << "::index" << other << ""
                                  << ""
                                  << "" << 0 << "";
    QTest::addRow("empty") << "" << other << ""
                           << ""
                           << "" << 0 << "";
}

void TestLinkTarget::readsAndWritesBothForms()
{
    QFETCH(QString, target);
    QFETCH(int, kind);
    QFETCH(QString, file);
    QFETCH(QString, anchor);
    QFETCH(QString, line);
    QFETCH(int, lineNumber);
    QFETCH(QString, written);
    const QALinkTarget link = QALinkTarget::parse(target);
    QCOMPARE(int(link.kind()), kind);
    QCOMPARE(link.file(), file);
    QCOMPARE(link.anchor(), anchor);
    QCOMPARE(link.line(), line);
    QCOMPARE(link.lineNumber(), lineNumber);
    QCOMPARE(link.isLocal(), kind == QALinkTarget::Report && file.isEmpty());
    if (kind == QALinkTarget::Other)
        return;
    const QString again = link.isReport() ? QALinkTarget::reportLink(file, anchor)
                                          : QALinkTarget::sourceReference(file, line);
    QCOMPARE(again, written);
    const QALinkTarget reread = QALinkTarget::parse(again);
    QCOMPARE(int(reread.kind()), kind);
    QCOMPARE(reread.file(), file);
    QCOMPARE(reread.anchor(), anchor);
    QCOMPARE(reread.line(), line);
}

QTEST_GUILESS_MAIN(TestLinkTarget)
#include "tst_linktarget.moc"
