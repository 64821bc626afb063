#include "dstyle.h"
#include "qacolorbutton.h"
#include "qareporterpref.h"
#include "qareporterprefgeneral.h"
#include "qareporterprefhistory.h"
#include "qareporterprefstyles.h"
#include "qares.h"
#include "qaresreader.h"
#include "recordingstudio.h"
#include "scopedpreferences.h"

#include <QBuffer>
#include <QCheckBox>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

namespace {

// The general values, then name, size, bold, underline and margin of every
// style.
QStringList state(QAReporterPref& pref)
{
    const QAReporterPrefGeneral* general = pref.general();
    QStringList lines{general->background().name(), QString::number(general->autoRaise()),
                      QString::number(general->depth())};
    const QAReporterPrefHistory* history = pref.historyPage();
    lines << QString("history %1 %2 %3")
                 .arg(history->recordsRuns())
                 .arg(history->database())
                 .arg(history->lastRuns());
    for (const DStyle* s : pref.stylesPage()->styles())
        lines << QString::asprintf("%s %d %d%d %d", qPrintable(s->name()), s->pointSize(),
                                   s->bold(), s->underline(), s->margin());
    return lines;
}

// Loads into pref what the resource file text gives.
void load(QAReporterPref& pref, const QByteArray& xml)
{
    std::unique_ptr<QARes> read(QAResReader().read(xml));
    pref.loadResources(read.get());
}

} // namespace

class TestPreferences : public QObject
{
    Q_OBJECT
private slots:
    void init() { m_studio.home = XRD_SOURCE_DIR "/resources"; }
    void styleFileProblemsAreWarnedAbout_data();
    void styleFileProblemsAreWarnedAbout();
    void loadTakesOnlyWhatFits_data();
    void loadTakesOnlyWhatFits();
    void savedValuesComeBack();

private:
    RecordingStudio m_studio; // installed with the project's style file
};

void TestPreferences::styleFileProblemsAreWarnedAbout_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("warning"); // a pattern
    QTest::addColumn<QString>("counts");  // styles, names, translated names
    QTest::addRow("missing") << ":/styles/nosuch.aml"
                             << "^Style file :/styles/nosuch.aml not found"
                             << "0 0 0";
    QTest::addRow("cut in the third style") << ":/brokenhome/lib/reporterstyle.aml"
                                            << "^Style file :/brokenhome/.*: line 1"
                                            << "2 0 28";
}

// Each read warns once, a read again too; the styles read before a fault
// are kept.
void TestPreferences::styleFileProblemsAreWarnedAbout()
{
    QFETCH(QString, file);
    QFETCH(QString, warning);
    QFETCH(QString, counts);
    QTest::failOnWarning(QRegularExpression("."));
    for (int read = 0; read < 2; ++read)
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(warning));
    QAReporterPrefStyles page("Styles", "pref-report", "help", file);
    page.defaults();
    QCOMPARE(QString::asprintf("%d %d %d", int(page.styles().size()), int(page.styleNames().size()),
                               int(page.styleNameTranslation().size())),
             counts);
}

void TestPreferences::loadTakesOnlyWhatFits_data()
{
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<QStringList>("changed"); // the lines of state() that change
    QTest::addRow("another group")
        << QByteArray("<group tag='OTHER'><int tag='auto_depth' value='2'/>") << QStringList();
    QTest::addRow("every value")
        << QByteArray("<group tag='REPORTER'><rgb tag='background' red='1' green='2' blue='3'/>"
                      "<bool tag='auto_raise' value='false'/><int tag='auto_depth' value='9'/>")
        << QStringList{"#010203", "0", "9"};
    QTest::addRow("history, runs bounded")
        << QByteArray("<group tag='REPORTER'><group tag='HISTORY'><bool tag='record' "
                      "value='true'/><string tag='database'> sqlite:/x </string><int "
                      "tag='last_runs' value='100000'/></group>")
        << QStringList{"history 1 sqlite:/x 100"};
    QTest::addRow("wrong types")
        << QByteArray("<group tag='REPORTER'><int tag='background' value='5'/><int "
                      "tag='auto_raise' value='0'/><string tag='auto_depth'>2</string>")
        << QStringList();
    QTest::addRow("no style of that name")
        << QByteArray("<group tag='REPORTER'><group tag='STYLES'><group tag='style'><bool "
                      "tag='bold' value='true'/></group><group tag='style'><string tag='name'>"
                      "Nope</string><bool tag='bold' value='true'/></group></group>")
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
    QAReporterPref pref(&m_studio);
    const QStringList before = state(pref);
    load(pref, "<resources version='1'>" + xml + "</group>");
    QStringList after = state(pref);
    after.removeIf([&before](const QString& line) { return before.contains(line); });
    QCOMPARE(after, changed);
}

// The process-wide object starts with the defaults; the general page shows
// its values on updateContents() and takes the shown ones on apply(); what
// the pages hold is saved and read back, and the dialog's OK is announced.
void TestPreferences::savedValuesComeBack()
{
    ScopedPreferences none(nullptr, ScopedPreferences::None);
    QAReporterPref& pref = *createReporterPreferences(&m_studio);
    QVERIFY(reporterPreferences() == &pref && createReporterPreferences(nullptr) == &pref);
    const QStringList defaults = state(pref);
    const QString base = QApplication::palette().color(QPalette::Base).name();
    QCOMPARE(defaults.mid(0, 3), QStringList({base, "1", "4"}));
    QCOMPARE(pref.stylesPage()->styleNames().size(), 28);

    std::unique_ptr<QWidget> page(pref.general()->createWidget(nullptr));
    pref.general()->updateContents();
    page->findChild<QAColorButton*>()->setColor(QColor(1, 2, 3), true);
    page->findChild<QCheckBox*>()->setChecked(false);
    pref.general()->apply();
    for (DStyle* style : pref.stylesPage()->styles())
        style->setMargin(style->margin() + 1);
    QAReporterPref restored(&m_studio);
    std::unique_ptr<QARes> saved(pref.produce(nullptr));
    QBuffer buffer;
    QVERIFY(buffer.open(QIODevice::WriteOnly) && saved->write(&buffer));
    load(restored, buffer.data());
    QCOMPARE(state(restored).mid(0, 3), QStringList({"#010203", "0", "4"}));
    QVERIFY(state(restored).last() != defaults.last());
    QCOMPARE(state(restored), state(pref));
    QVERIFY(std::unique_ptr<QARes>(pref.produce("OTHER"))->isTag("OTHER"));

    // defaults() rereads the file; an apply before updateContents() must not
    // write into the styles it replaced.
    pref.stylesPage()->defaults();
    pref.stylesPage()->apply();
    QCOMPARE(state(pref).mid(3), defaults.mid(3));
    QSignalSpy changed(&pref, &QAReporterPref::preferencesChanged);
    QVERIFY(QMetaObject::invokeMethod(&pref, "prefDialogAccepted"));
    QCOMPARE(changed.count(), 1);
}

QTEST_MAIN(TestPreferences)
#include "tst_preferences.moc"
