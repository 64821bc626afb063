#include "qafileutil.h"

#include <QtTest>

class TestFileUtil : public QObject
{
    Q_OBJECT

private slots:
    void relativeToFolder_data();
    void relativeToFolder();
};

namespace {

void row(const char* name, const QString& dir, const QString& path, const QString& relative)
{
    QTest::newRow(name) << dir << path << relative;
}

} // namespace

void TestFileUtil::relativeToFolder_data()
{
    QTest::addColumn<QString>("dir");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("relative");
    row("sibling folder", "/srv/out", "/srv/src/a.c", "../src/a.c");
    row("inside", "/a/b", "/a/b/c/d", "c/d");
    row("the folder itself", "/a/b/", "/a/b", ".");
    row("only the root shared", "/x/y", "/z", "../../z");
    row("dots cleaned", "/a/./b/../c", "/a/c/../d/e", "../d/e");
    row("case matters", "/A/b", "/a/b", "../../a/b");
    row("windows, written on windows", "D:\\work\\html", "D:\\work\\src\\a.c", "..\\src\\a.c");
    row("drive letter case", "d:\\Work", "D:\\Work\\x", "x");
    row("mixed separators", "D:/work/html", "D:\\work\\src/a.c", "..\\src\\a.c");
    row("other drive", "D:\\work", "E:\\other\\b.c", "E:\\other\\b.c");
    row("relative path", "/srv/out", "src/a.c", "src/a.c");
    row("relative folder", "out", "/srv/a.c", "/srv/a.c");
    row("drive without root", "C:work", "C:work\\a", "C:work\\a");
}

void TestFileUtil::relativeToFolder()
{
    QFETCH(QString, dir);
    QFETCH(QString, path);
    QFETCH(QString, relative);
    QCOMPARE(QAFileUtil::absPathToRelative(dir, path), relative);
}

QTEST_MAIN(TestFileUtil)
#include "tst_fileutil.moc"
