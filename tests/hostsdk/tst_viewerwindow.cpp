#include "capturedoutput.h"
#include "files.h"
#include "qafilewatcher.h"
#include "qamessagebox.h"
#include "qaprogresspulse.h"
#include "qastoutputwidget.h"
#include "qastviewerwindow.h"
#include "qaviewerfinddialog.h"
#include "recordingstudio.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <memory>

namespace {

// Short enough to keep the suite quick, long enough to merge a burst.
constexpr int watchDelay = 50;
// How long a test waits for a signal that must come.
constexpr int signalTimeout = 3000;

// A burst as a writer makes it: truncate, then several writes, each flushed.
void writeInBurst(const QString& path)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QVERIFY(file.flush());
    for (int i = 0; i < 5; ++i) {
        file.write("<line/>\n");
        QVERIFY(file.flush());
    }
}

// Written elsewhere, then renamed over the path, as many editors save.
void replaceByRename(const QString& path, const QByteArray& content)
{
    const QString temporary = path + QStringLiteral(".tmp~");
    QVERIFY(writeFile(temporary, content));
    QCOMPARE(std::rename(QFile::encodeName(temporary), QFile::encodeName(path)), 0);
}

// Lets the changes already made reach the watcher, and every change it
// holds back come out: no signal for them can come afterwards.
void settle(const QAFileWatcher& watcher)
{
    QCoreApplication::processEvents();
    QTRY_VERIFY_WITH_TIMEOUT(!watcher.hasPendingChanges(), signalTimeout);
}

QStringList reportedPaths(const QSignalSpy& spy)
{
    QStringList paths;
    for (const QList<QVariant>& arguments : spy)
        paths.append(arguments.at(0).toString());
    return paths;
}

// The child of the given type that shows text.
template <class T> T* childNamed(QWidget* parent, const QString& text)
{
    for (T* child : parent->findChildren<T*>()) {
        if (child->text() == text)
            return child;
    }
    qFatal("no child %s", qPrintable(text));
}

} // namespace

class TestViewerWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void watcherMergesBurstsAndFollowsRenamesAndRemovals();
    void watcherForgetsPathsLeftOutOfSetFiles();

    void viewerWindowReloadsChangedFilesWhileAutoReloadIsOn();

    void findDialogSearchesWhatIsTyped();
    void findDialogFillsItsFieldsBackFromAPattern_data();
    void findDialogFillsItsFieldsBackFromAPattern();
    void outputWidgetAppendsAndShowsTheEnd();
    void messageBoxAnswersWithoutAWindow();

    void progressPulseStepsTheCurrentRunOnly();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_first;
    QString m_second;
};

void TestViewerWindow::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    // A space and non-ASCII letters in both the folder and the file names.
    const QString folder = m_dir->filePath(QStringLiteral("dossier à voir"));
    m_first = folder + QStringLiteral("/rapport été.xrd");
    m_second = folder + QStringLiteral("/second report.xrd");
    QVERIFY(writeFile(m_first, "<XROD/>\n"));
    QVERIFY(writeFile(m_second, "<XROD/>\n"));
}

void TestViewerWindow::cleanup()
{
    QAMessageBox::setResponder({});
    QAMessageBox::setCommandLineMode(false);
}

// A burst of writes is one change; files created and removed beside the
// watched ones are no change of them; a file replaced by rename, removed or
// made again is reported once and the file then at the path is watched.
void TestViewerWindow::watcherMergesBurstsAndFollowsRenamesAndRemovals()
{
    QAFileWatcher watcher;
    watcher.setDelay(watchDelay);
    watcher.setFiles({m_first, m_second});
    QSignalSpy changed(&watcher, &QAFileWatcher::fileChanged);

    writeInBurst(m_first);
    QVERIFY(writeFile(m_first + QStringLiteral(".bak"), "x"));
    QVERIFY(QFile::remove(m_first + QStringLiteral(".bak")));
    QVERIFY(changed.wait(signalTimeout));
    settle(watcher);
    QCOMPARE(reportedPaths(changed), QStringList{m_first});

    replaceByRename(m_first, "<XROD>new</XROD>\n");
    QTRY_COMPARE_WITH_TIMEOUT(changed.count(), 2, signalTimeout);
    QVERIFY(QFile::remove(m_first));
    QTRY_COMPARE_WITH_TIMEOUT(changed.count(), 3, signalTimeout);
    // Changes beside it do not report the missing file again.
    QVERIFY(writeFile(m_first + QStringLiteral(".other"), "x"));
    settle(watcher);
    QCOMPARE(changed.count(), 3);
    QVERIFY(writeFile(m_first, "<XROD/>\n"));
    QTRY_COMPARE_WITH_TIMEOUT(changed.count(), 4, signalTimeout);
    writeInBurst(m_first);
    QTRY_COMPARE_WITH_TIMEOUT(changed.count(), 5, signalTimeout);
    settle(watcher);
    QCOMPARE(reportedPaths(changed), QStringList(5, m_first));

    // Nothing breaks when the whole folder goes.
    QVERIFY(QDir(QFileInfo(m_first).absolutePath()).removeRecursively());
    QTRY_COMPARE_WITH_TIMEOUT(changed.count(), 7, signalTimeout);
    settle(watcher);
    QCOMPARE(changed.count(), 7);
}

void TestViewerWindow::watcherForgetsPathsLeftOutOfSetFiles()
{
    QAFileWatcher watcher;
    // Long enough that the change of the first file is still pending when
    // its path is dropped; the short delay set then would report it soon.
    watcher.setDelay(60 * 1000);
    watcher.setFiles({m_first, m_second});
    QSignalSpy changed(&watcher, &QAFileWatcher::fileChanged);

    writeInBurst(m_first);
    QTRY_VERIFY_WITH_TIMEOUT(watcher.hasPendingChanges(), signalTimeout);
    watcher.setFiles({m_second});
    watcher.setDelay(watchDelay);

    writeInBurst(m_second);
    QVERIFY(changed.wait(signalTimeout));
    writeInBurst(m_first);
    replaceByRename(m_first, "<XROD/>\n");
    settle(watcher);
    QCOMPARE(reportedPaths(changed), QStringList{m_second});

    watcher.clear();
    writeInBurst(m_second);
    settle(watcher);
    QCOMPARE(changed.count(), 1);
}

void TestViewerWindow::viewerWindowReloadsChangedFilesWhileAutoReloadIsOn()
{
    QAStViewerWindow window;
    window.setReloadDelay(watchDelay);
    QStringList files{m_first};
    QStringList other{m_second};
    window.setFiles(&files, &other, QAStViewerWindow::Batch);
    QSignalSpy reload(&window, &QAStViewerWindow::reloadFile);

    writeInBurst(m_first);
    QVERIFY(reload.wait(signalTimeout));
    QCOMPARE(reportedPaths(reload), QStringList{m_first});

    window.setAutoReload(false);
    writeInBurst(m_first);
    settle(*window.findChild<QAFileWatcher*>());
    QCOMPARE(reload.count(), 1);

    window.setAutoReload(true);
    replaceByRename(m_first, "<XROD/>\n");
    QVERIFY(reload.wait(signalTimeout));
    QCOMPARE(reportedPaths(reload), QStringList({m_first, m_first}));
}

// The find button needs a pattern; plain text is escaped, caseless unless
// asked; an invalid expression is shown; Escape closes the dialog.
void TestViewerWindow::findDialogSearchesWhatIsTyped()
{
    QAViewerFindDialog dialog(nullptr, QStringLiteral("finder"), false);
    auto* pattern = dialog.findChild<QLineEdit*>();
    QPushButton* find = childNamed<QPushButton>(&dialog, QStringLiteral("&Find"));
    QVERIFY(find->isDefault() && !find->isEnabled());
    QSignalSpy search(&dialog, &QAViewerFindDialog::search);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTest::keyClick(pattern, Qt::Key_Return);
    QCOMPARE(search.count(), 0);

    pattern->setText(QStringLiteral("a.b (c)*"));
    QVERIFY(find->isEnabled());
    QTest::keyClick(pattern, Qt::Key_Enter);
    QCOMPARE(search.count(), 1);
    const auto plain = search.at(0).at(0).value<QRegularExpression>();
    QVERIFY(plain.match(QStringLiteral("x A.B (C)* y")).hasMatch());
    QVERIFY(!plain.match(QStringLiteral("axb (c)")).hasMatch());
    QVERIFY(dialog.isVisible());

    // An invalid expression is shown instead of searched for.
    childNamed<QCheckBox>(&dialog, QStringLiteral("Regular expression"))->setChecked(true);
    pattern->setText(QStringLiteral("fail(ed"));
    find->click();
    QCOMPARE(search.count(), 1);
    const QString error = QRegularExpression(QStringLiteral("fail(ed")).errorString();
    bool shown = false;
    for (const QLabel* label : dialog.findChildren<QLabel*>())
        shown = shown || (!label->isHidden() && label->text().contains(error));
    QVERIFY2(shown, qPrintable(error));
    pattern->setText(QStringLiteral("fail(ed)?"));
    find->click();
    QCOMPARE(search.count(), 2);
    QVERIFY(search.at(1).at(0).value<QRegularExpression>().match("FAIL").hasMatch());

    pattern->clear();
    QVERIFY(!find->isEnabled());
    QTest::keyClick(pattern, Qt::Key_Escape);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(search.count(), 2);
}

void TestViewerWindow::findDialogFillsItsFieldsBackFromAPattern_data()
{
    QTest::addColumn<QRegularExpression>("pattern");
    QTest::addColumn<QString>("shownText");
    QTest::addColumn<bool>("regularExpression");
    QTest::addColumn<bool>("caseSensitive");
    const auto insensitive = QRegularExpression::CaseInsensitiveOption;
    const QString plain = QStringLiteral("1+1 = [2] \\ é?");
    const QString escaped = QRegularExpression::escape(plain);
    QTest::newRow("escaped plain text")
        << QRegularExpression(escaped, insensitive) << plain << false << false;
    QTest::newRow("regular expression")
        << QRegularExpression("test\\d+$") << QString("test\\d+$") << true << true;
    QTest::newRow("ends in a lone backslash")
        << QRegularExpression("a\\") << QString("a\\") << true << true;
    QTest::newRow("unescaped metacharacter")
        << QRegularExpression("a.b", insensitive) << QString("a.b") << true << false;
}

void TestViewerWindow::findDialogFillsItsFieldsBackFromAPattern()
{
    QFETCH(QRegularExpression, pattern);
    QFETCH(QString, shownText);
    QFETCH(bool, regularExpression);
    QFETCH(bool, caseSensitive);
    QAViewerFindDialog dialog;
    dialog.setRegExp(pattern);
    QCOMPARE(dialog.findChild<QLineEdit*>()->text(), shownText);
    QCOMPARE(childNamed<QCheckBox>(&dialog, "Case sensitive")->isChecked(), caseSensitive);
    QCOMPARE(childNamed<QCheckBox>(&dialog, "Regular expression")->isChecked(), regularExpression);
    QCOMPARE(dialog.regExp(), pattern);
}

// Text is appended as given, log lines end a line; errors are counted; the
// end stays in view.
void TestViewerWindow::outputWidgetAppendsAndShowsTheEnd()
{
    QAStOutputWidget output;
    QVERIFY(output.isReadOnly());
    output.append(QStringLiteral("Running suite"));
    output.append(QStringLiteral(" ... ok\nnext"));
    output.log(QStringLiteral(" line"));
    QCOMPARE(output.toPlainText(), QStringLiteral("Running suite ... ok\nnext line\n"));

    QAILogMonitor& monitor = output;
    monitor.error(QStringLiteral("cannot read a.xrd"));
    monitor.log(QStringLiteral("still going"));
    monitor.error(QStringLiteral("cannot read b.xrd"));
    QCOMPARE(monitor.errorCount(), 2);
    QVERIFY(output.toPlainText().endsWith("cannot read a.xrd\nstill going\ncannot read b.xrd\n"));

    output.resize(300, 100);
    output.show();
    QVERIFY(QTest::qWaitForWindowExposed(&output));
    for (int i = 0; i < 200; ++i)
        output.log(QStringLiteral("line %1").arg(i));
    const QScrollBar* bar = output.verticalScrollBar();
    QTRY_VERIFY(bar->maximum() > 0 && bar->value() == bar->maximum());
}

// A responder answers first, even in command-line mode, and nothing is
// printed; without one, the command line gets the message on stderr and the
// default button, or the first of the buttons.
void TestViewerWindow::messageBoxAnswersWithoutAWindow()
{
    QStringList asked;
    QAMessageBox::setResponder([&asked](QMessageBox::Icon icon, const QString& caption,
                                        const QString& text, QMessageBox::StandardButtons buttons) {
        asked << QStringLiteral("%1 %2: %3 %4").arg(icon).arg(caption, text).arg(buttons.toInt());
        return QMessageBox::No;
    });
    QAMessageBox::setCommandLineMode(true);
    CapturedOutput answered(2);
    QCOMPARE(QAMessageBox::question(nullptr, "Reload", "Again?"), QMessageBox::No);
    QCOMPARE(answered.text(), QByteArray());
    QCOMPARE(asked, QStringList(QStringLiteral("%1 Reload: Again? %2")
                                    .arg(QMessageBox::Question)
                                    .arg((QMessageBox::Yes | QMessageBox::No).toInt())));

    QAMessageBox::setResponder({});
    CapturedOutput capture(2);
    QCOMPARE(QAMessageBox::warning(nullptr, "Rapport", "Fichier illisible\nété",
                                   QMessageBox::Yes | QMessageBox::No, QMessageBox::No),
             QMessageBox::No);
    QCOMPARE(QAMessageBox::information(nullptr, "I", "Done", QMessageBox::Cancel | QMessageBox::No),
             QMessageBox::No);
    QCOMPARE(QString::fromLocal8Bit(capture.text()),
             QStringLiteral("Rapport: Fichier illisible\nété\nI: Done\n"));
}

// A pulse steps its own run once its interval has passed, lends the slot to
// an inner pulse and takes it back; ticks without a pulse do nothing.
void TestViewerWindow::progressPulseStepsTheCurrentRunOnly()
{
    RecordingStudio studio;
    auto ticks = [](int count) {
        for (int i = 0; i < count; ++i)
            QAProgressPulse::tick();
    };
    {
        QAProgressPulse outer(&studio, "outer", 0);
        ticks(255);
        QVERIFY(studio.steps.isEmpty());
        ticks(1);
        {
            QAProgressPulse inner(&studio, "inner", 3600 * 1000);
            ticks(1024);
        }
        ticks(256);
    }
    ticks(1024);
    QCOMPARE(studio.steps, QList<int>({1, 2}));
    QCOMPARE(studio.calls,
             QStringList({"progressStart 0 outer Cancel", "progressStart 0 inner Cancel",
                          "progressEnd", "progressEnd"}));
}

QTEST_MAIN(TestViewerWindow)
#include "tst_viewerwindow.moc"
