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

// The picture shown for name, with the built-in passed picture as fallback.
QImage shown(QAPixmapCenter& center, const QString& name)
{
    return imageOf(center.pixmap(name, BuiltInPassed));
}

} // namespace

class TestPixmapCenter : public QObject
{
    Q_OBJECT

private slots:
    void builtInPictureUntilAHostFileReplacesIt();
};

// Directory changes are seen at once, with no cache in between.
void TestPixmapCenter::builtInPictureUntilAHostFileReplacesIt()
{
    QAPixmapCenter center;
    QCOMPARE(shown(center, "testok_xpm"), sourceImage("testok.xpm"));
    QVERIFY(center.getPathByFileName("testok_xpm").isEmpty());
    QVERIFY(center.pixmap("nothing", ":/builtin/missing.xpm").isNull());
    QVERIFY(center.pixmap("nothing", QString()).isNull());

    center.addPixmapDirectory(":/first");
    QCOMPARE(center.getPathByFileName("testok_xpm"), QString(":/first/testok_xpm"));
    QCOMPARE(shown(center, "testok_xpm"), sourceImage("testsfailed.xpm"));
    center.setPixmapDirectories({":/second"}); // name.png before name.xpm
    QCOMPARE(shown(center, "testok_xpm"), sourceImage("testscomplete.xpm"));
    QCOMPARE(shown(center, "other"), sourceImage("nextKO.xpm"));
    center.setPixmapDirectories({});
    QCOMPARE(shown(center, "testok_xpm"), sourceImage("testok.xpm"));

    // The first directory and an exact name win.
    center.setPixmapDirectories({":/second", ":/first"});
    QCOMPARE(center.getPathByFileName("testok_xpm.xpm"), QString(":/second/testok_xpm.xpm"));
    QCOMPARE(shown(center, "testok_xpm.xpm"), sourceImage("reload.xpm"));
    // An exact name anywhere comes before name.png and name.xpm.
    QCOMPARE(shown(center, "testok_xpm"), sourceImage("testsfailed.xpm"));

    center.setPixmapDirectories({});
    center.addPixmapDirectory(":/first");
    center.addPixmapDirectory(":/second");
    QCOMPARE(shown(center, "testok_xpm.xpm"), sourceImage("testunknow.xpm"));
    QCOMPARE(center.getPathByFileName("other.xpm"), QString(":/second/other.xpm"));
    QCOMPARE(center.getPathByFileName(BuiltInPassed), BuiltInPassed); // taken as it stands
    for (const QString missing : {"nosuch.png", ":/builtin/nosuch.png", ""}) {
        QVERIFY(center.getPathByFileName(missing).isEmpty());
        QVERIFY(center.getPixmapByFilePath(missing).isNull());
    }
    QCOMPARE(imageOf(center.getPixmapByFilePath(":/second/other.xpm")), sourceImage("nextKO.xpm"));
}

QTEST_MAIN(TestPixmapCenter)
#include "tst_pixmapcenter.moc"
