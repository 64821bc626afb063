#include "qacolorbutton.h"
#include "qaresboolean.h"
#include "qaresgroup.h"
#include "qaresint.h"
#include "qaresreader.h"
#include "qaresrgb.h"
#include "qaresstring.h"
#include "qareswriter.h"

#include "files.h"

#include <QBuffer>
#include <QColorDialog>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

namespace {

// REPORTER { background, auto_raise, STYLES { style { name } } }, then "last".
QARes* sampleTree()
{
    auto* name = new QAResString("name", QStringLiteral("Title1 <Failed> & \"é\""));
    auto* styles = new QAResGroup("STYLES", new QAResGroup("style", name));
    auto* background = new QAResRGB("background", 12, 34, 255);
    auto* autoRaise = new QAResBoolean("auto_raise", false);
    auto* depth = new QAResInt("auto_depth", -7);
    background->setNext(autoRaise);
    autoRaise->setNext(depth);
    depth->setNext(styles);
    auto* top = new QAResGroup("REPORTER", background);
    top->setNext(new QAResString("last", QString()));
    return top;
}

QByteArray written(const QARes* first)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (!first->write(&buffer))
        return QByteArray();
    return buffer.data();
}

// Closes the colour dialog the button opens, picking `color` when valid.
void answerColorDialog(const QColor& color)
{
    QTimer::singleShot(0, [color] {
        auto* dialog = qobject_cast<QColorDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        dialog->setCurrentColor(color);
        color.isValid() ? dialog->accept() : dialog->reject();
    });
}

} // namespace

class TestResources : public QObject
{
    Q_OBJECT
private slots:
    void searchFollowsSiblingsThenGroups();
    void writeFileThenReadFileKeepsEveryValue();
    void writeThenReadKeepsWhiteSpaceControls_data();
    void writeThenReadKeepsWhiteSpaceControls();
    void faultsAreLoggedOnTheResourcesCategory();
    void deepAndLongTreesNeedNoRecursion();
    void malformedFilesKeepThePartRead_data();
    void malformedFilesKeepThePartRead();
    void unreadableValuesAndUnknownElementsAreSkipped();
    void colorButtonShowsAndPicksItsColor();
};

void TestResources::searchFollowsSiblingsThenGroups()
{
    std::unique_ptr<QARes> tree(sampleTree());
    QARes* name = tree->search("REPORTER.STYLES.style.name", '.');
    QVERIFY(name && name->toResString());
    QCOMPARE(name->toResString()->value(), QStringLiteral("Title1 <Failed> & \"é\""));
    QCOMPARE(tree->search("last", '.'), tree->next());
    QCOMPARE(tree->search("REPORTER/auto_depth", '/')->toResInt()->value(), -7);

    // The search starts at the node it is asked on, never before it.
    QVERIFY(!tree->next()->search("REPORTER", '.'));
    QVERIFY(!tree->search("REPORTER.missing", '.'));
    QVERIFY(!tree->search("REPORTER.background.red", '.')); // not a group
    QVERIFY(!tree->search("STYLES", '.'));                  // not at the top level
    QVERIFY(!tree->search(nullptr, '.'));
}

void TestResources::writeFileThenReadFileKeepsEveryValue()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath("res.xml");
    std::unique_ptr<QARes> tree(sampleTree());
    QAResWriter writer;
    QVERIFY2(writer.writeFile(tree.get(), path), qPrintable(writer.errorString()));
    const QByteArray xml = written(tree.get());
    QCOMPARE(readFile(path), xml);
    // Indented by depth, for people who edit the file by hand.
    QVERIFY(xml.contains("\n      <group tag=\"style\">\n        <string tag=\"name\""));

    QAResReader reader;
    std::unique_ptr<QARes> back(reader.readFile(path));
    QVERIFY2(!reader.hasError(), qPrintable(reader.errorString()));
    QCOMPARE(reader.version(), QAResWriter::formatVersion);
    QVERIFY(back && back->isTag("REPORTER") && back->toResGroup());
    QCOMPARE(back->search("REPORTER.background", '.')->toResRGB()->color(), QColor(12, 34, 255));
    QCOMPARE(back->search("REPORTER.auto_raise", '.')->toResBoolean()->value(), false);
    QCOMPARE(back->search("REPORTER.auto_depth", '.')->toResInt()->value(), -7);
    QVERIFY(back->next() && back->next()->toResString()->value().isEmpty());
    // Writing what was read gives the same file.
    QCOMPARE(written(back.get()), xml);
    QCOMPARE(QAResRGB("c", -5, 300, 128).color(), QColor(0, 255, 128)); // channels clamped

    // A directory, and a file in a folder that does not exist, cannot be written.
    for (const QString& unwritable : {dir.path(), dir.filePath("no-such-dir/res.xml")}) {
        QAResWriter failing;
        QVERIFY(!failing.writeFile(tree.get(), unwritable) && !failing.errorString().isEmpty());
    }
}

// XML turns CR and CR LF into LF and, in attributes, tabs and line ends into
// spaces; string values and tags must come back exactly as they were.
void TestResources::writeThenReadKeepsWhiteSpaceControls_data()
{
    QTest::addColumn<QString>("value");
    QTest::newRow("CR LF pair") << QStringLiteral("one\r\ntwo\r\n");
    QTest::newRow("lone CR at the ends") << QStringLiteral("\rmiddle\r");
    QTest::newRow("tabs and line feeds") << QStringLiteral("\tcol1\tcol2\n\nnext");
    QTest::newRow("every kind") << QStringLiteral(" \t\r\n\r \n\t ");
}

void TestResources::writeThenReadKeepsWhiteSpaceControls()
{
    QFETCH(QString, value);
    const QByteArray tag = value.toUtf8();
    auto* group = new QAResGroup(tag.constData(), new QAResString(tag.constData(), value));
    std::unique_ptr<QARes> tree(group);
    const QByteArray xml = written(tree.get());
    QAResReader reader;
    std::unique_ptr<QARes> back(reader.read(xml));
    QVERIFY2(!reader.hasError(), qPrintable(reader.errorString()));
    QVERIFY(back && back->toResGroup() && back->isTag(tag.constData()));
    const QARes* child = back->toResGroup()->child();
    QVERIFY(child && child->toResString() && child->isTag(tag.constData()));
    QCOMPARE(child->toResString()->value(), value);
    QCOMPARE(written(back.get()), xml);
}

// A fault goes to the log with its place; a missing file is a first start,
// not a fault worth a warning.
void TestResources::faultsAreLoggedOnTheResourcesCategory()
{
    QTest::failOnWarning(QRegularExpression(".*"));
    QAResReader reader;
    const QString picture = QString(XRD_SOURCE_DIR) + "/examples/kestrel-logo.svg";
    QTest::ignoreMessage(QtWarningMsg,
                         QRegularExpression("^" + QRegularExpression::escape(picture) +
                                            ": line .*not a resource file"));
    QVERIFY(!reader.readFile(picture));
    QVERIFY(!reader.readFile(QString(XRD_SOURCE_DIR) + "/no-such-file.xml"));
    QVERIFY(reader.hasError());
}

// Read, written and destroyed without overflowing the stack.
void TestResources::deepAndLongTreesNeedNoRecursion()
{
    const int depth = 200000;
    const QByteArray xml =
        "<resources version=\"1\">" + QByteArray("<group tag=\"level\">").repeated(depth) +
        "<int tag=\"bottom\" value=\"42\"/>" + QByteArray("</group>").repeated(depth) +
        QByteArray("<bool tag=\"sibling\" value=\"true\"/>").repeated(depth) + "</resources>";
    QAResReader reader;
    std::unique_ptr<QARes> back(reader.read(xml));
    QVERIFY2(!reader.hasError(), qPrintable(reader.errorString()));
    const QARes* node = back.get();
    int levels = 0;
    for (; node && node->toResGroup(); node = node->toResGroup()->child())
        ++levels;
    QCOMPARE(levels, depth);
    QVERIFY(node && node->isTag("bottom"));
    QVERIFY(back->search("sibling", '.'));
    const QByteArray again = written(back.get());
    std::unique_ptr<QARes> copy(reader.read(again));
    QCOMPARE(written(copy.get()), again);
}

void TestResources::malformedFilesKeepThePartRead_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QString>("kept"); // the search path of the last value kept
    std::unique_ptr<QARes> tree(sampleTree());
    const QByteArray xml = written(tree.get());
    QTest::newRow("cut in a group tag")
        << xml.left(xml.indexOf("<group tag=\"STYLES\"") + 5) << "REPORTER.auto_depth";
    QTest::newRow("not xml") << QByteArray("not xml at all") << "";
    QTest::newRow("other root") << QByteArray("<settings><int tag=\"a\" value=\"1\"/></settings>")
                                << "";
    QTest::newRow("group not closed")
        << QByteArray("<resources><group tag=\"g\"><int tag=\"a\" value=\"1\"/></resources>")
        << "g.a";
    QTest::newRow("value not closed")
        << QByteArray("<resources><int tag=\"a\" value=\"1\"></resources>") << "";
    // Every shorter prefix of a whole file is refused too.
    const qsizetype complete = xml.lastIndexOf("</resources>") + qsizetype(strlen("</resources>"));
    for (qsizetype length = 0; length < complete; length += 7)
        QTest::addRow("prefix %d", int(length)) << xml.left(length) << "?";
}

void TestResources::malformedFilesKeepThePartRead()
{
    QFETCH(QByteArray, data);
    QFETCH(QString, kept);
    QAResReader reader;
    std::unique_ptr<QARes> result(reader.read(data));
    QVERIFY(reader.hasError());
    QVERIFY(reader.errorString().contains("line"));
    if (kept == "?")
        return;
    QCOMPARE(result != nullptr, !kept.isEmpty());
    if (result) {
        QVERIFY(result->search(kept.toUtf8().constData(), '.'));
        QVERIFY(!result->search("REPORTER.STYLES", '.') && !result->next());
    }
}

void TestResources::unreadableValuesAndUnknownElementsAreSkipped()
{
    const QByteArray data = "<resources version=\"0\"><int tag=\"bad\" value=\"4x\"/>"
                            "<rgb tag=\"partial\" red=\"1\" green=\"2\"/><int value=\"3\"/>"
                            "<bool tag=\"odd\" value=\"maybe\"/>"
                            "<future tag=\"x\"><int tag=\"inside\" value=\"1\"/></future>"
                            "<bool tag=\"kept\" value=\"true\"/></resources>";
    QAResReader reader;
    std::unique_ptr<QARes> result(reader.read(data));
    QVERIFY(!reader.hasError());
    QVERIFY(result && result->isTag("kept") && result->toResBoolean()->value());
    QVERIFY(!result->next());
}

// The button paints its colour, notifies only when asked and changed, and
// takes the colour picked in its dialog, none when the dialog is cancelled.
void TestResources::colorButtonShowsAndPicksItsColor()
{
    QAColorButton button;
    QSignalSpy changed(&button, &QAColorButton::colorChanged);
    button.resize(button.sizeHint());
    button.setColor(QColor(200, 30, 60), false);
    QCOMPARE(changed.count(), 0);
    const QImage image = button.grab().toImage();
    QCOMPARE(image.pixelColor(image.rect().center()), QColor(200, 30, 60));

    button.setColor(Qt::blue, true);
    button.setColor(Qt::blue, true); // unchanged: no notification
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.at(0).at(0).value<QColor>(), QColor(Qt::blue));

    answerColorDialog(QColor(10, 120, 30));
    QTest::mouseClick(&button, Qt::LeftButton);
    QCOMPARE(button.color(), QColor(10, 120, 30));
    QCOMPARE(changed.count(), 2);

    answerColorDialog(QColor()); // cancelled
    button.click();
    QCOMPARE(button.color(), QColor(10, 120, 30));
    QCOMPARE(changed.count(), 2);
}

QTEST_MAIN(TestResources)
#include "tst_resources.moc"
