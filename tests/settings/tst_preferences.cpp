#include "dstyle.h"
#include "dstyleview.h"
#include "qacolorbutton.h"
#include "qareporterpref.h"
#include "qareporterprefgeneral.h"
#include "qareporterprefstyles.h"
#include "qaresboolean.h"
#include "qaresgroup.h"
#include "qaresint.h"
#include "qaresreader.h"
#include "qaresrgb.h"
#include "qaresstring.h"
#include "recordingstudio.h"
#include "scopedpreferences.h"
#include "screenshots.h"

#include <QBuffer>
#include <QCheckBox>
#include <QDir>
#include <QListWidget>
#include <QMainWindow>
#include <QSignalSpy>
#include <QSpinBox>
#include <QVBoxLayout>
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

QStringList childTags(const QARes* group)
{
    QStringList tags;
    for (const QARes* res = group->toResGroup()->child(); res; res = res->next())
        tags << QString::fromLatin1(res->tag());
    return tags;
}

// Every attribute of every style changed to a value no style file uses.
void editEveryStyle(const QList<DStyle*>& styles)
{
    int i = 0;
    for (DStyle* style : styles) {
        style->setFamily(QStringLiteral("Family %1").arg(i));
        style->setPointSize(30 + i);
        style->setBold(i % 2);
        style->setItalic(i % 3 == 0);
        style->setUnderline(i % 5 == 0);
        style->setColor(QColor(i, 2 * i, 3 * i));
        style->setBackground(QColor(255 - i, 250 - i, 7));
        style->setAlignment(i % 2 ? Qt::AlignRight : Qt::AlignJustify);
        style->setMargin(40 + i);
        ++i;
    }
}

QString describe(const DStyle* s)
{
    return QStringLiteral("%1|%2|%3|%4%5%6|%7|%8|%9|%10")
        .arg(s->name(), s->family())
        .arg(s->pointSize())
        .arg(s->bold())
        .arg(s->italic())
        .arg(s->underline())
        .arg(s->color().name(), s->background().name(), DStyle::alignmentToText(s->alignment()))
        .arg(s->margin());
}

QStringList describeAll(const QList<DStyle*>& styles)
{
    QStringList lines;
    for (const DStyle* style : styles)
        lines << describe(style);
    return lines;
}

// The preferences as they would be saved.
QByteArray savedXml(QAReporterPref& pref)
{
    std::unique_ptr<QARes> saved(pref.produce(nullptr));
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    return saved->write(&buffer) ? buffer.data() : QByteArray();
}

// Records the warnings given while it lives, as "category: message",
// instead of letting them through.
class WarningLog
{
public:
    WarningLog() : m_previous(qInstallMessageHandler(&WarningLog::record)) { s_current = this; }
    ~WarningLog()
    {
        qInstallMessageHandler(m_previous);
        s_current = nullptr;
    }
    WarningLog(const WarningLog&) = delete;
    WarningLog& operator=(const WarningLog&) = delete;

    QStringList lines;

private:
    static void record(QtMsgType type, const QMessageLogContext& context, const QString& message)
    {
        if (type == QtWarningMsg && s_current)
            s_current->lines << QString::fromLatin1(context.category) + ": " + message;
    }

    static inline WarningLog* s_current = nullptr;
    QtMessageHandler m_previous;
};

} // namespace

class TestPreferences : public QObject
{
    Q_OBJECT
private slots:
    void defaultsComeFromPaletteAndStyleFile();
    void missingOrBrokenStyleFile();
    void styleFileProblemsAreWarnedAbout_data();
    void styleFileProblemsAreWarnedAbout();
    void produceGivesFourChildrenInOrder();
    void savedValuesComeBack();
    void wrongTypesAndOtherGroupsAreSkipped();
    void truncatedResourceFileRestoresWhatWasRead();
    void generalPage();
    void stylesPageEditsAndDefaults();
    void acceptAndCancel();
    void processWideObjectIsCreatedOnce();
    void screenshots();
};

void TestPreferences::defaultsComeFromPaletteAndStyleFile()
{
    Host host;
    QAReporterPref pref(&host.studio);
    QCOMPARE(pref.general()->background(),
             QApplication::palette().color(QPalette::Active, QPalette::Base));
    QCOMPARE(pref.general()->autoRaise(), true);
    QCOMPARE(pref.general()->depth(), 4);
    QCOMPARE(pref.general()->child(), pref.stylesPage());

    const QAReporterPrefStyles* styles = pref.stylesPage();
    QCOMPARE(styles->styleFile(),
             resourcesHome + QDir::separator() + "lib" + QDir::separator() + "reporterstyle.aml");
    QCOMPARE(styles->styles().size(), 28);
    QCOMPARE(styles->styleNameTranslation().size(), 28);
    for (int i = 0; i < 28; ++i) {
        QCOMPARE(styles->styles().at(i)->name(), styles->styleNames().at(i));
        QVERIFY(styles->styleNameTranslation().contains(styles->styleNames().at(i)));
    }
}

void TestPreferences::missingOrBrokenStyleFile()
{
    RecordingStudio studio;
    studio.home = QStringLiteral(XRD_SOURCE_DIR "/tests/settings/no-such-home");
    WarningLog log; // each failure is warned about
    {
        QAReporterPref pref(&studio);
        QCOMPARE(log.lines.size(), 1);
        QVERIFY(pref.stylesPage()->styles().isEmpty());
        QVERIFY(pref.stylesPage()->styleNames().isEmpty());
        QVERIFY(pref.stylesPage()->styleNameTranslation().isEmpty());
        std::unique_ptr<QARes> saved(pref.produce(nullptr));
        QVERIFY(!saved->search("REPORTER.STYLES", '.')->toResGroup()->child());
    }
    // An installation whose style file stops inside its third style.
    studio.home = QStringLiteral(":/brokenhome");
    QAReporterPref pref(&studio);
    QCOMPARE(log.lines.size(), 2);
    QVERIFY(pref.stylesPage()->styleNames().isEmpty());
    QCOMPARE(pref.stylesPage()->styles().size(), 2);
    QVERIFY(!pref.stylesPage()->styleFileError().isEmpty());
    QCOMPARE(pref.stylesPage()->styleNameTranslation().size(), 28);
}

void TestPreferences::styleFileProblemsAreWarnedAbout_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("warnings");
    QTest::addColumn<int>("styles");
    const QString kept = " (the styles read before are kept)";
    QTest::newRow("sound") << resourcesHome + "/lib/reporterstyle.aml" << QStringList() << 28;
    QTest::newRow("missing") << ":/styles/nosuch.aml"
                             << QStringList("xrd.settings: Style file :/styles/nosuch.aml not "
                                            "found: reports are shown without styles")
                             << 0;
    QTest::newRow("cut short") << ":/styles/cutshort.aml"
                               << QStringList("xrd.settings: Style file :/styles/cutshort.aml: "
                                              "line 3, column 19: Premature end of document." +
                                              kept)
                               << 1;
    QTest::newRow("nameless style")
        << ":/styles/nameless.aml"
        << QStringList("xrd.settings: Style file :/styles/nameless.aml: line 3, column 20: a "
                       "STYLE without a name" +
                       kept)
        << 1;
}

void TestPreferences::styleFileProblemsAreWarnedAbout()
{
    QFETCH(QString, file);
    QFETCH(QStringList, warnings);
    QFETCH(int, styles);

    WarningLog log;
    QAReporterPrefStyles page("Styles", "pref-report", "help", file);
    QCOMPARE(log.lines, warnings);
    QCOMPARE(page.styles().size(), styles);

    page.defaults(); // reading again warns again
    QCOMPARE(log.lines, warnings + warnings);
}

void TestPreferences::produceGivesFourChildrenInOrder()
{
    Host host;
    QAReporterPref pref(&host.studio);
    std::unique_ptr<QARes> saved(pref.produce(nullptr));
    QVERIFY(saved->toResGroup() && saved->isTag("REPORTER"));
    QVERIFY(!saved->next());
    QCOMPARE(childTags(saved.get()),
             QStringList({"background", "auto_raise", "auto_depth", "STYLES"}));
    const QARes* first = saved->toResGroup()->child();
    QVERIFY(first->toResRGB() && first->next()->toResBoolean() &&
            first->next()->next()->toResInt());

    const QARes* styles = saved->search("REPORTER.STYLES", '.');
    QCOMPARE(childTags(styles), QStringList(28, "style"));
    QStringList names;
    for (const QARes* style = styles->toResGroup()->child(); style; style = style->next())
        names << style->search("style.name", '.')->toResString()->value();
    QCOMPARE(names, pref.stylesPage()->styleNames());

    std::unique_ptr<QARes> tagged(pref.produce("OTHER"));
    QVERIFY(tagged->isTag("OTHER"));
}

void TestPreferences::savedValuesComeBack()
{
    Host host;
    QAReporterPref edited(&host.studio);
    edited.general()->setBackground(QColor(1, 2, 3));
    edited.general()->setAutoRaise(false);
    edited.general()->setDepth(9); // outside the editor's range, kept as it is
    editEveryStyle(edited.stylesPage()->styles());

    QAResReader reader;
    std::unique_ptr<QARes> back(reader.read(savedXml(edited)));
    QVERIFY(back && !reader.hasError());

    QAReporterPref restored(&host.studio);
    QVERIFY(describeAll(restored.stylesPage()->styles()) !=
            describeAll(edited.stylesPage()->styles()));
    restored.loadResources(back.get());
    QCOMPARE(restored.general()->background(), QColor(1, 2, 3));
    QCOMPARE(restored.general()->autoRaise(), false);
    QCOMPARE(restored.general()->depth(), 9);
    QCOMPARE(describeAll(restored.stylesPage()->styles()),
             describeAll(edited.stylesPage()->styles()));
}

void TestPreferences::wrongTypesAndOtherGroupsAreSkipped()
{
    Host host;
    QAReporterPref pref(&host.studio);
    const QColor background = pref.general()->background();
    const QStringList styles = describeAll(pref.stylesPage()->styles());

    auto* wrongTypes = new QAResInt("background", 0x102030);
    wrongTypes->setNext(new QAResInt("auto_raise", 0));
    wrongTypes->next()->setNext(new QAResString("auto_depth", "2"));
    auto* savedStyles = new QAResGroup("STYLES", new QAResGroup("style")); // no name
    auto* unknown = new QAResGroup("style", new QAResString("name", "No Such Style"));
    unknown->child()->setNext(new QAResBoolean("bold", true));
    savedStyles->child()->setNext(unknown);
    wrongTypes->next()->next()->setNext(savedStyles);
    QAResGroup reporter("REPORTER", wrongTypes);
    pref.loadResources(&reporter);
    QCOMPARE(pref.general()->background(), background);
    QCOMPARE(pref.general()->autoRaise(), true);
    QCOMPARE(pref.general()->depth(), 4);
    QCOMPARE(describeAll(pref.stylesPage()->styles()), styles);

    // Only a group tagged REPORTER is read.
    QAResGroup other("OTHER", new QAResInt("auto_depth", 2));
    pref.loadResources(&other);
    QAResInt notAGroup("REPORTER", 2);
    pref.loadResources(&notAGroup);
    pref.loadResources(nullptr);
    QCOMPARE(pref.general()->depth(), 4);

    // A saved style with some attributes changes only those.
    DStyle* link = pref.stylesPage()->styles().last();
    const DStyle before = *link;
    auto* partial = new QAResGroup("style", new QAResBoolean("underline", !before.underline()));
    partial->child()->setNext(new QAResString("name", link->name()));
    partial->child()->next()->setNext(new QAResString("size", "12")); // wrong type
    QAResGroup onlyUnderline("REPORTER", new QAResGroup("STYLES", partial));
    pref.loadResources(&onlyUnderline);
    QCOMPARE(link->underline(), !before.underline());
    QCOMPARE(link->pointSize(), before.pointSize());
    QCOMPARE(link->color(), before.color());
}

void TestPreferences::truncatedResourceFileRestoresWhatWasRead()
{
    Host host;
    QAReporterPref edited(&host.studio);
    edited.general()->setBackground(QColor(9, 8, 7));
    edited.general()->setDepth(2);
    editEveryStyle(edited.stylesPage()->styles());
    // Cut inside the third saved style.
    const QByteArray xml = savedXml(edited);
    qsizetype cut = 0;
    for (int i = 0; i < 3; ++i)
        cut = xml.indexOf("<group tag=\"style\"", cut + 1);
    QAResReader reader;
    std::unique_ptr<QARes> part(reader.read(xml.left(cut + 80)));
    QVERIFY(reader.hasError());

    QAReporterPref restored(&host.studio);
    const QList<DStyle*>& styles = restored.stylesPage()->styles();
    const QString untouched = describe(styles[5]);
    restored.loadResources(part.get());
    QCOMPARE(restored.general()->background(), QColor(9, 8, 7));
    QCOMPARE(restored.general()->depth(), 2);
    QCOMPARE(describe(styles[0]), describe(edited.stylesPage()->styles()[0]));
    QCOMPARE(describe(styles[1]), describe(edited.stylesPage()->styles()[1]));
    QCOMPARE(describe(styles[5]), untouched);
}

// The page shows the values on updateContents() only, keeps values outside
// its range until applied, and its defaults leave the widgets alone.
void TestPreferences::generalPage()
{
    Host host;
    QAReporterPref pref(&host.studio);
    QAReporterPrefGeneral* general = pref.general();
    QWidget parent;
    QWidget* page = general->createWidget(&parent);
    auto* button = page->findChild<QAColorButton*>();
    auto* check = page->findChild<QCheckBox*>();
    auto* spin = page->findChild<QSpinBox*>();
    QVERIFY(button && check && spin);
    QVERIFY(!check->isEnabled()); // the recording host has no main window

    general->setDepth(9);
    general->setBackground(QColor(50, 60, 70));
    general->setAutoRaise(false);
    general->updateContents();
    QCOMPARE(button->color(), QColor(50, 60, 70));
    QVERIFY(!check->isChecked());
    QCOMPARE(spin->value(), 6); // 9 is past the spin box's range, 1 to 6
    QCOMPARE(general->depth(), 9);

    general->defaults();
    QCOMPARE(general->background(), QApplication::palette().color(QPalette::Base));
    QCOMPARE(general->autoRaise(), true);
    QCOMPARE(general->depth(), 4);
    QCOMPARE(button->color(), QColor(50, 60, 70));
    general->updateContents();
    QCOMPARE(button->color(), general->background());
    QVERIFY(check->isChecked());
    QCOMPARE(spin->value(), 4);

    button->setColor(Qt::red, true);
    check->setChecked(false);
    spin->setValue(3);
    general->apply();
    QCOMPARE(general->background(), QColor(Qt::red));
    QCOMPARE(general->autoRaise(), false);
    QCOMPARE(general->depth(), 3);

    QMainWindow window;
    host.studio.window = &window;
    QAReporterPref withWindow(&host.studio);
    QVERIFY(withWindow.general()->createWidget(&parent)->findChild<QCheckBox*>()->isEnabled());
}

void TestPreferences::stylesPageEditsAndDefaults()
{
    Host host;
    QAReporterPref pref(&host.studio);
    QAReporterPrefStyles* page = pref.stylesPage();
    QWidget parent;
    QWidget* widget = page->createWidget(&parent);
    auto* view = widget->findChild<DStyleView*>();
    QVERIFY(view);
    QCOMPARE(view->styleNames(), page->styleNames());
    page->updateContents();

    // Edit the "Link" style through the widgets; nothing changes before apply.
    DStyle* link = page->styles().last();
    QCOMPARE(link->name(), QStringLiteral("Link"));
    const bool wasBold = link->bold();
    QVERIFY(view->selectStyle("Link"));
    QCheckBox* bold = nullptr;
    for (QCheckBox* box : view->findChildren<QCheckBox*>())
        bold = box->text() == DStyleView::tr("Bold") ? box : bold;
    QVERIFY(bold);
    QCOMPARE(bold->isChecked(), wasBold);
    bold->setChecked(!wasBold);
    QCOMPARE(link->bold(), wasBold);
    QVERIFY(!view->selectStyle("No Such Style"));
    page->apply();
    QCOMPARE(link->bold(), !wasBold);

    // Switching styles shows each one's values.
    QVERIFY(view->selectStyle("Normal"));
    QCOMPARE(bold->isChecked(), page->styles().first()->bold());
    page->cancel();

    // defaults() rereads the file; an apply before updateContents() must not
    // write into the styles it replaced.
    page->defaults();
    QCOMPARE(page->styles().last()->bold(), wasBold);
    page->apply();
    QCOMPARE(page->styles().last()->bold(), wasBold);
}

void TestPreferences::acceptAndCancel()
{
    Host host;
    QAReporterPref pref(&host.studio);
    QSignalSpy changed(&pref, &QAReporterPref::preferencesChanged);
    const QByteArray before = savedXml(pref);
    pref.prefDialogRejected();
    QCOMPARE(changed.count(), 0);
    QCOMPARE(savedXml(pref), before);
    QVERIFY(QMetaObject::invokeMethod(&pref, "prefDialogAccepted"));
    QCOMPARE(changed.count(), 1);
}

void TestPreferences::processWideObjectIsCreatedOnce()
{
    Host host;
    ScopedPreferences none(nullptr, ScopedPreferences::None);
    QVERIFY(!reporterPreferences());
    QAReporterPref* created = createReporterPreferences(&host.studio);
    QVERIFY(created);
    QCOMPARE(reporterPreferences(), created);
    QCOMPARE(createReporterPreferences(nullptr), created);
    QCOMPARE(created->stylesPage()->styles().size(), 28);
}

void TestPreferences::screenshots()
{
    const QString dir = screenshotDir();
    if (dir.isEmpty())
        QSKIP(XRD_SCREENSHOT_SKIP_REASON);
    Host host;
    QMainWindow window;
    host.studio.window = &window;
    QAReporterPref pref(&host.studio);
    const struct
    {
        PreferenceItem* page;
        const char* file;
        QSize size;
    } pages[] = {{pref.general(), "prefs_general.png", QSize(460, 260)},
                 {pref.stylesPage(), "prefs_styles.png", QSize(640, 440)}};
    for (const auto& shot : pages) {
        QWidget frame;
        auto* layout = new QVBoxLayout(&frame);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(shot.page->createWidget(&frame));
        shot.page->updateContents();
        frame.resize(shot.size);
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        QVERIFY(frame.grab().save(dir + "/" + shot.file));
    }
}

QTEST_MAIN(TestPreferences)
#include "tst_preferences.moc"
