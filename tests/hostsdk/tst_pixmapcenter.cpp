#include "qapixmapcenter.h"

#include <QImage>
#include <QTest>

// The suite's resources stand in for a host's pixmap directories (see
// tests/CMakeLists.txt): ":/first" holds "testok_xpm" (the failed picture)
// and "testok_xpm.xpm" (the unknown picture); ":/second" holds
// "testok_xpm.png" (the complete picture), "testok_xpm.xpm" (the reload
// picture) and "other.xpm" (the next picture); ":/builtin"
// holds the pictures a program would compile in.
namespace {

QImage sourceImage(const char* file)
{
    return QImage(QString(XRD_SOURCE_DIR "/resources/pixmaps/") + file)
        .convertToFormat(QImage::Format_ARGB32);
}

QImage imageOf(const QPixmap& picture)
{
    return picture.toImage().convertToFormat(QImage::Format_ARGB32);
}

const QString BuiltInPassed = ":/builtin/testok.xpm";

} // namespace

class TestPixmapCenter : public QObject
{
    Q_OBJECT

private slots:
    void builtInPictureWhenNoHostFile();
    void hostFileReplacesBuiltInExactNameFirst();
    void firstDirectoryWins();
    void pathLookup();
    void directoryChangesAreSeenAtOnce();
};

void TestPixmapCenter::builtInPictureWhenNoHostFile()
{
    QAPixmapCenter center;
    const QPixmap passed = center.pixmap("testok_xpm", BuiltInPassed);
    QVERIFY(!passed.isNull());
    QCOMPARE(imageOf(passed), sourceImage("testok.xpm"));

    QVERIFY(center.pixmap("nothing", ":/builtin/missing.xpm").isNull());
    QVERIFY(center.pixmap("nothing", QString()).isNull());
}

void TestPixmapCenter::hostFileReplacesBuiltInExactNameFirst()
{
    QAPixmapCenter center;
    center.setPixmapDirectories({":/first"});
    QCOMPARE(imageOf(center.pixmap("testok_xpm", BuiltInPassed)), sourceImage("testsfailed.xpm"));

    center.setPixmapDirectories({":/second"}); // name.png before name.xpm
    QCOMPARE(imageOf(center.pixmap("testok_xpm", BuiltInPassed)), sourceImage("testscomplete.xpm"));
    QCOMPARE(imageOf(center.pixmap("other", BuiltInPassed)), sourceImage("nextKO.xpm"));
}

void TestPixmapCenter::firstDirectoryWins()
{
    QAPixmapCenter center;
    center.setPixmapDirectories({":/second", ":/first"});
    QCOMPARE(center.getPathByFileName("testok_xpm.xpm"), QString(":/second/testok_xpm.xpm"));
    QCOMPARE(imageOf(center.pixmap("testok_xpm.xpm", BuiltInPassed)), sourceImage("reload.xpm"));
    // An exact name anywhere comes before name.png and name.xpm.
    QCOMPARE(imageOf(center.pixmap("testok_xpm", BuiltInPassed)), sourceImage("testsfailed.xpm"));

    center.setPixmapDirectories({});
    center.addPixmapDirectory(":/first");
    center.addPixmapDirectory(":/second");
    QCOMPARE(center.pixmapDirectories(), QStringList({":/first", ":/second"}));
    QCOMPARE(imageOf(center.pixmap("testok_xpm.xpm", BuiltInPassed)),
             sourceImage("testunknow.xpm"));
}

void TestPixmapCenter::pathLookup()
{
    QAPixmapCenter center;
    center.setPixmapDirectories({":/first", ":/second"});
    QCOMPARE(center.getPathByFileName("other.xpm"), QString(":/second/other.xpm"));
    QCOMPARE(center.getPathByFileName(BuiltInPassed), BuiltInPassed); // taken as it stands
    QVERIFY(center.getPathByFileName("nosuch.png").isEmpty());
    QVERIFY(center.getPathByFileName(":/builtin/nosuch.png").isEmpty());
    QVERIFY(center.getPathByFileName(QString()).isEmpty());

    QCOMPARE(imageOf(center.getPixmapByFilePath(":/second/other.xpm")), sourceImage("nextKO.xpm"));
    QVERIFY(center.getPixmapByFilePath(QString()).isNull());
    QVERIFY(center.getPixmapByFilePath(":/builtin/nosuch.png").isNull());
}

void TestPixmapCenter::directoryChangesAreSeenAtOnce()
{
    QAPixmapCenter center;
    QCOMPARE(imageOf(center.pixmap("testok_xpm", BuiltInPassed)), sourceImage("testok.xpm"));
    QVERIFY(center.getPathByFileName("testok_xpm").isEmpty());

    center.addPixmapDirectory(":/first");
    QCOMPARE(center.getPathByFileName("testok_xpm"), QString(":/first/testok_xpm"));
    QCOMPARE(imageOf(center.pixmap("testok_xpm", BuiltInPassed)), sourceImage("testsfailed.xpm"));

    center.setPixmapDirectories({});
    QCOMPARE(imageOf(center.pixmap("testok_xpm", BuiltInPassed)), sourceImage("testok.xpm"));
}

QTEST_MAIN(TestPixmapCenter)
#include "tst_pixmapcenter.moc"
