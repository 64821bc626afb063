#include "qafileutil.h"

#include <QtTest>

class TestFileUtil : public QObject
{
    Q_OBJECT

private slots:
    void relativeToFolder_data();
    void relativeToFolder();
};

void TestFileUtil::relativeToFolder_data()
{
    QTest::addColumn<QString>("dir");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("relative");
    QTest::newRow("sibling folder") << "/srv/out"
                                    << "/srv/src/a.c"
                                    << "../src/a.c";
    QTest::newRow("inside") << "/a/b"
                            << "/a/b/c/d"
                            << "c/d";
    QTest::newRow("the folder itself") << "/a/b/"
                                       << "/a/b"
                                       << ".";
    QTest::newRow("only the root shared") << "/x/y"
                                          << "/z"
                                          << "../../z";
    QTest::newRow("dots cleaned") << "/a/./b/../c"
                                  << "/a/c/../d/e"
                                  << "../d/e";
    QTest::newRow("case matters") << "/A/b"
                                  << "/a/b"
                                  << "../../a/b";
    QTest::newRow("windows, written on windows") << "D:\\work\\html"
                                                 << "D:\\work\\src\\a.c"
                                                 << "..\\src\\a.c";
    QTest::newRow("drive letter case") << "d:\\Work"
                                       << "D:\\Work\\x"
                                       << "x";
    QTest::newRow("mixed separators") << "D:/work/html"
                                      << "D:\\work\\src/a.c"
                                      << "..\\src\\a.c";
    QTest::newRow("other drive") << "D:\\work"
                                 << "E:\\other\\b.c"
                                 << "E:\\other\\b.c";
    QTest::newRow("relative path") << "/srv/out"
                                   << "src/a.c"
                                   << "src/a.c";
    QTest::newRow("relative folder") << "out"
                                     << "/srv/a.c"
                                     << "/srv/a.c";
    QTest::newRow("drive without root") << "C:work"
                                        << "C:work\\a"
                                        << "C:work\\a";
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
