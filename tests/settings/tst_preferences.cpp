#include "dstyle.h"
#include "dstyleview.h"
#include "qacolorbutton.h"
#include "qareporterpref.h"
#include "qareporterprefgeneral.h"
#include "qareporterprefstyles.h"
#include "qares.h"
#include "qaresreader.h"
#include "recordingstudio.h"
#include "scopedpreferences.h"

#include <QBuffer>
#include <QCheckBox>
#include <QMainWindow>
#include <QSignalSpy>
#include <QSpinBox>
#include <QtTest>

#include <memory>

namespace {

const QString resourcesHome = QStringLiteral(XRD_SOURCE_DIR "/resources");

// A host whose installation holds the project's default style file.
struct Host
{
    Host() { studio.home = resourcesHome; }
    RecordingStudio studio;
};

// The general values, then name, size, bold, underline and margin of every
// style.
QStringList state(QAReporterPref& pref)
{
    const QAReporterPrefGeneral* general = pref.general();
    QStringList lines{general->background().name(), QString::number(general->autoRaise()),
                      QString::number(general->depth())};
    for (const DStyle* s : pref.stylesPage()->styles()) {
        lines << QStringList{s->name(), QString::number(s->pointSize()),
                             QString::number(s->bold()) + QString::number(s->underline()),
                             QString::number(s->margin())}
                     .join(' ');
    }
    return lines;
}

// Loads into pref what the resource file text gives.
void load(QAReporterPref& pref, const QByteArray& xml)
{
    QAResReader reader;
    std::unique_ptr<QARes> read(reader.read(xml));
    pref.loadResources(read.get());
}

} // namespace

class TestPreferences : public QObject
{
    Q_OBJECT
private slots:
    void styleFileProblemsAreWarnedAbout_data();
    void styleFileProblemsAreWarnedAbout();
    void loadTakesOnlyWhatFits_data();
    void loadTakesOnlyWhatFits();
    void pagesShowAndApplyAndSavedValuesComeBack();
    void processWideObjectHasTheDefaults();
};

void TestPreferences::styleFileProblemsAreWarnedAbout_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("warning");   // a pattern; none when empty
    QTest::addColumn<QList<int>>("counts"); // styles, names, translated names
    QTest::addRow("sound") << resourcesHome + "/lib/reporterstyle.aml"
                           << "" << QList<int>{28, 28, 28};
    QTest::addRow("missing") << ":/styles/nosuch.aml"
                             << "^Style file :/styles/nosuch.aml not found" << QList<int>{0, 0, 0};
    QTest::addRow("cut short") << ":/styles/cutshort.aml"
                               << "^Style file :/styles/cutshort.aml: line 3, column 19: Premature"
                               << QList<int>{1, 0, 28};
    QTest::addRow("nameless style")
        << ":/styles/nameless.aml"
        << "^Style file :/styles/nameless.aml: line 3, .*without a name" << QList<int>{1, 0, 28};
    QTest::addRow("cut in the third style")
        << ":/brokenhome/lib/reporterstyle.aml"
        << "^Style file :/brokenhome/.*: line 1" << QList<int>{2, 0, 28};
}

// Each read warns once, a read again too; the styles read before a fault
// are kept.
void TestPreferences::styleFileProblemsAreWarnedAbout()
{
    QFETCH(QString, file);
    QFETCH(QString, warning);
    QFETCH(QList<int>, counts);
    QTest::failOnWarning(QRegularExpression("."));
    for (int read = 0; read < 2 && !warning.isEmpty(); ++read)
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(warning));
    QAReporterPrefStyles page("Styles", "pref-report", "help", file);
    page.defaults();
    QCOMPARE(QList<int>({int(page.styles().size()), int(page.styleNames().size()),
                         int(page.styleNameTranslation().size())}),
             counts);
}

void TestPreferences::loadTakesOnlyWhatFits_data()
{
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<QStringList>("changed"); // the lines of state() that change
    QTest::addRow("every value")
        << QByteArray("<group tag='REPORTER'><rgb tag='background' red='1' green='2' blue='3'/>"
                      "<bool tag='auto_raise' value='false'/><int tag='auto_depth' value='9'/>")
        << QStringList{"#010203", "0", "9"};
    QTest::addRow("wrong types")
        << QByteArray("<group tag='REPORTER'><int tag='background' value='5'/><int "
                      "tag='auto_raise' value='0'/>"
                      "<string tag='auto_depth'>2</string><int tag='STYLES' value='1'/>")
        << QStringList();
    QTest::addRow("another group")
        << QByteArray("<group tag='OTHER'><int tag='auto_depth' value='2'/>") << QStringList();
    QTest::addRow("no style of that name")
        << QByteArray("<group tag='REPORTER'><group tag='STYLES'><group tag='style'><bool "
                      "tag='bold' value='true'/></group><group tag='style'><string tag='name'>"
                      "Nope</string><bool tag='bold' value='true'/></group></group><group "
                      "tag='OTHER'><group tag='style'><string tag='name'>Link</string><bool "
                      "tag='bold' value='true'/></group></group>")
        << QStringList();
    // A saved style changes the attributes it has, of the right type; a
    // file cut short gives what was read before the cut.
    QTest::addRow("part of a style, cut short")
        << QByteArray("<group tag='REPORTER'><int tag='auto_depth' value='2'/><group "
                      "tag='STYLES'><group tag='style'><bool tag='underline' value='false'/>"
                      "<string tag='name'>Link</string><string tag='size'>12</string></group>"
                      "<group tag='style'><int t")
        << QStringList{"2", "Link 10 00 0"};
}

void TestPreferences::loadTakesOnlyWhatFits()
{
    QFETCH(QByteArray, xml);
    QFETCH(QStringList, changed);
    Host host;
    QAReporterPref pref(&host.studio);
    const QStringList before = state(pref);
    load(pref, "<resources version='1'>" + xml + "</group>");
    QStringList after = state(pref);
    for (qsizetype i = before.size() - 1; i >= 0; --i) {
        if (after.at(i) == before.at(i))
            after.removeAt(i);
    }
    QCOMPARE(after, changed);
}

// The pages show the values on updateContents() only and change them on
// apply(); the general page keeps values outside its range until applied.
// What is applied is saved and read back.
void TestPreferences::pagesShowAndApplyAndSavedValuesComeBack()
{
    Host host;
    QAReporterPref pref(&host.studio);
    const QStringList defaults = state(pref);
    QAReporterPrefGeneral* general = pref.general();
    QWidget parent;
    QWidget* page = general->createWidget(&parent);
    auto* button = page->findChild<QAColorButton*>();
    auto* check = page->findChild<QCheckBox*>();
    auto* spin = page->findChild<QSpinBox*>();
    QVERIFY(button && check && spin && !check->isEnabled()); // no main window to raise
    general->setDepth(9);
    general->setBackground(QColor(50, 60, 70));
    general->setAutoRaise(false);
    general->updateContents();
    QVERIFY(button->color() == QColor(50, 60, 70) && !check->isChecked() && spin->value() == 6);
    general->defaults();
    QCOMPARE(state(pref), defaults);
    general->updateContents();
    QVERIFY(button->color() == general->background() && check->isChecked() && spin->value() == 4);
    button->setColor(QColor(1, 2, 3), true);
    check->setChecked(false);
    general->apply();

    // Link, the last style, made bold on the styles page.
    QAReporterPrefStyles* styles = pref.stylesPage();
    auto* view = styles->createWidget(&parent)->findChild<DStyleView*>();
    QVERIFY(view);
    styles->updateContents();
    QVERIFY(view->selectStyle("Link"));
    QCheckBox* bold = nullptr;
    for (QCheckBox* box : view->findChildren<QCheckBox*>())
        bold = box->text() == DStyleView::tr("Bold") ? box : bold;
    QVERIFY(bold && !bold->isChecked());
    bold->setChecked(true);
    QCOMPARE(state(pref).mid(3), defaults.mid(3));
    styles->apply();
    for (DStyle* style : styles->styles())
        style->setMargin(style->margin() + 1);

    Host other;
    QAReporterPref restored(&other.studio);
    std::unique_ptr<QARes> saved(pref.produce(nullptr));
    QBuffer buffer;
    QVERIFY(buffer.open(QIODevice::WriteOnly) && saved->write(&buffer));
    load(restored, buffer.data());
    QCOMPARE(state(restored).mid(0, 3), QStringList({"#010203", "0", "4"}));
    QVERIFY(state(restored).last().startsWith("Link 10 11 "));
    QCOMPARE(state(restored), state(pref));
    QVERIFY(std::unique_ptr<QARes>(pref.produce("OTHER"))->isTag("OTHER"));

    // defaults() rereads the file; an apply before updateContents() must not
    // write into the styles it replaced.
    styles->defaults();
    styles->apply();
    QCOMPARE(state(pref).mid(3), defaults.mid(3));
    QMainWindow window;
    host.studio.window = &window;
    QVERIFY(general->createWidget(&parent)->findChild<QCheckBox*>()->isEnabled());
}

void TestPreferences::processWideObjectHasTheDefaults()
{
    Host host;
    ScopedPreferences none(nullptr, ScopedPreferences::None);
    QVERIFY(!reporterPreferences());
    QAReporterPref* created = createReporterPreferences(&host.studio);
    QVERIFY(created && reporterPreferences() == created);
    QCOMPARE(createReporterPreferences(nullptr), created);
    QCOMPARE(created->general()->child(), created->stylesPage());
    QCOMPARE(created->general()->background(), QApplication::palette().color(QPalette::Base));
    QCOMPARE(state(*created).mid(1, 2), QStringList({"1", "4"}));
    QCOMPARE(created->stylesPage()->styleNames().size(), 28);
    for (int i = 0; i < 28; ++i)
        QCOMPARE(created->stylesPage()->styles().at(i)->name(),
                 created->stylesPage()->styleNames().at(i));

    QSignalSpy changed(created, &QAReporterPref::preferencesChanged);
    QVERIFY(QMetaObject::invokeMethod(created, "prefDialogAccepted"));
    QCOMPARE(changed.count(), 1);
}

QTEST_MAIN(TestPreferences)
#include "tst_preferences.moc"
