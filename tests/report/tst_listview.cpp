#include "qareporterdatatree.h"
#include "qareporterprefgeneral.h"
#include "qarlistview.h"
#include "qarlistviewitem.h"
#include "recordingstudio.h"
#include "scopedpreferences.h"

#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

#include <memory>

namespace {

// A report tree from lines "name state [icon]", two spaces of indent per
// level below the root; "-" stands for a missing state.
std::unique_ptr<QAReporterDataTree> makeTree(const QStringList& lines)
{
    auto tree = std::make_unique<QAReporterDataTree>(new QAReporterNode);
    for (const QString& line : lines) {
        const int depth = int(line.indexOf(QRegularExpression("\\S"))) / 2 + 1;
        while (tree->iterator()->depth() >= depth)
            tree->toParent();
        const QStringList fields = line.split(' ', Qt::SkipEmptyParts);
        auto* node = new QAReporterNode;
        node->name = fields.at(0);
        node->type = "test";
        if (fields.value(1) != "-")
            node->state = fields.value(1);
        node->setIcon(fields.value(2));
        tree->appendChild(node);
        tree->toLastChild();
    }
    return tree;
}

QImage image(const QIcon& icon)
{
    return icon.isNull() ? QImage()
                         : icon.pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32);
}

QImage builtIn(const QString& file)
{
    return QImage(XRD_SOURCE_DIR "/resources/pixmaps/" + file)
        .convertToFormat(QImage::Format_ARGB32);
}

QStringList texts(QTreeWidgetItem* parent)
{
    QStringList names;
    for (int i = 0; i < parent->childCount(); ++i)
        names << parent->child(i)->text(0);
    return names;
}

} // namespace

class TestListView : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { m_host.home = XRD_SOURCE_DIR "/resources"; }
    void itemsFollowTreeOrderWithStatusIcons();
    void opensToPreferredDepth_data();
    void opensToPreferredDepth();
    void failedItemsAreFoundInClosedBranchesWithoutWrapping();

private:
    // A host installed with the project's resources, so that preferences
    // find the default style file.
    RecordingStudio m_host;
};

void TestListView::itemsFollowTreeOrderWithStatusIcons()
{
    auto tree = makeTree({"suite ko", "  a ok", "  b ko", "  c ne", "  d NE", "  e -", "other ok"});
    QARListView view;
    tree->fillListView(&view, "/some/dir/run.xrd");

    QARListViewItem* file = QARListViewItem::cast(view.topLevelItem(0));
    QCOMPARE(file->text(0), QString("run.xrd"));
    QCOMPARE(file->fileInfo().filePath(), QString("/some/dir/run.xrd"));
    QCOMPARE(image(file->icon(0)), builtIn("reporter_16_bis.xpm"));
    QCOMPARE(texts(file), QStringList({"suite", "other"}));

    QARListViewItem* suite = QARListViewItem::cast(file->child(0));
    QCOMPARE(texts(suite), QStringList({"a", "b", "c", "d", "e"}));
    QVERIFY(suite->failed());
    // Per child: failed, status picture and status word.
    const QStringList expected{"0 testok.xpm ok", "1 testsfailed.xpm KO", "0 testunknow.xpm ne",
                               "0", "0"};
    for (int i = 0; i < 5; ++i) {
        QARListViewItem* child = QARListViewItem::cast(suite->child(i));
        const QStringList fields = expected.at(i).split(' ');
        QCOMPARE(child->failed(), fields.at(0) == "1");
        QCOMPARE(image(child->icon(1)), fields.size() > 1 ? builtIn(fields.at(1)) : QImage());
        QCOMPARE(child->data(1, QARListViewItem::StatusRole).toString(), fields.value(2));
    }
}

void TestListView::opensToPreferredDepth_data()
{
    QTest::addColumn<int>("depth");        // -1: no preferences
    QTest::addColumn<QList<bool>>("open"); // file, suite, test, case
    QTest::newRow("no preferences") << -1 << QList<bool>{true, true, true, true};
    QTest::newRow("0") << 0 << QList<bool>{true, false, false, false};
    QTest::newRow("2") << 2 << QList<bool>{true, true, false, false};
    QTest::newRow("4") << 4 << QList<bool>{true, true, true, true};
}

// Both suites hold a chain one level deeper than the default depth, four.
void TestListView::opensToPreferredDepth()
{
    QFETCH(int, depth);
    QFETCH(QList<bool>, open);
    ScopedPreferences preferences(&m_host,
                                  depth < 0 ? ScopedPreferences::None : ScopedPreferences::Fresh);
    if (depth >= 0)
        preferences->general()->setDepth(depth);

    auto tree = makeTree({"suite1 ok", "  test1 ok", "    c1 ok", "      d1 ok", "        e1 ok",
                          "suite2 ok", "  test2 ok", "    c2 ok", "      d2 ok", "        e2 ok"});
    QARListView view;
    tree->fillListView(&view, "r.xrd");
    QTreeWidgetItem* file = view.topLevelItem(0);
    QCOMPARE(file->isExpanded(), open[0]);
    for (QTreeWidgetItem* suite : {file->child(0), file->child(1)}) {
        QCOMPARE(suite->isExpanded(), open[1]);
        QCOMPARE(suite->child(0)->isExpanded(), open[2]);
        QCOMPARE(suite->child(0)->child(0)->isExpanded(), open[3]);
        QVERIFY(!suite->child(0)->child(0)->child(0)->isExpanded());
    }
}

void TestListView::failedItemsAreFoundInClosedBranchesWithoutWrapping()
{
    ScopedPreferences preferences(&m_host);
    preferences->general()->setDepth(1);
    auto tree =
        makeTree({"suite1 ko", "  test1 ok", "    c1 ok", "    c2 ko", "  test2 ok", "    c3 ok",
                  "suite2 ok", "  test3 ok", "    c4 ok", "suite3 ko", "  test4 ko", "    c5 ko"});
    auto other = makeTree({"s ok", "  t ko"});
    QARListView view;
    other->fillListView(&view, "b.xrd");
    tree->fillListView(&view, "a.xrd");
    QSignalSpy announced(&view, &QAListView::doubleClicked);
    QTreeWidgetItem* a = view.topLevelItem(0);
    QCOMPARE(a->text(0), QString("a.xrd")); // the file filled last comes first
    view.setCurrentItem(a);
    auto visit = [&view](void (QARListView::*step)()) {
        QStringList visited;
        for (int i = 0; i < 6; ++i) {
            (view.*step)();
            visited << view.currentItem()->text(0);
        }
        return visited;
    };
    QCOMPARE(visit(&QARListView::selectNextFailed),
             QStringList({"suite1", "c2", "suite3", "test4", "c5", "t"}));
    QCOMPARE(announced.count(), 5 + 1);
    QCOMPARE(announced.last().at(0).value<QTreeWidgetItem*>(), view.currentItem());
    QVERIFY(a->child(0)->isExpanded()); // a failed branch found is opened

    QCOMPARE(visit(&QARListView::selectPreviousFailed),
             QStringList({"c5", "test4", "suite3", "c2", "suite1", "suite1"}));
    QCOMPARE(announced.count(), 6 + 5);
    QCOMPARE(view.selectedItems(), QList<QTreeWidgetItem*>{view.currentItem()});
}

QTEST_MAIN(TestListView)
#include "tst_listview.moc"
