#include "qtree.h"

#include <QtTest>

#include <memory>

namespace {

// Data that counts its living instances, to see what a tree destroys.
struct Counted
{
    explicit Counted(QString name = QString()) : name(std::move(name)) { ++alive; }
    ~Counted() { --alive; }

    QString name;
    static int alive;
};

int Counted::alive = 0;

using Tree = QTree<Counted>;

// root(A(A1, A2), B), owning its data.
Tree* sampleTree()
{
    auto* tree = new Tree(new Counted("root"));
    tree->setAutoDelete(true);
    tree->appendChild(new Counted("A"));
    tree->toLastChild();
    tree->appendChild(new Counted("A1"));
    tree->appendChild(new Counted("A2"));
    tree->toParent();
    tree->appendChild(new Counted("B"));
    return tree;
}

QString nameOf(Counted* data)
{
    return data ? data->name : QStringLiteral("null");
}

} // namespace

class TestQTree : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { QCOMPARE(Counted::alive, 0); }
    void buildsInOrderAndFailedMovesStay();
    void walks_data();
    void walks();
    void deepTreesAreWalkedAndDestroyed();
};

void TestQTree::buildsInOrderAndFailedMovesStay()
{
    Tree tree(new Counted("root"));
    tree.setAutoDelete(true);
    QVERIFY(!tree.toParent());
    QVERIFY(!tree.toLastChild());
    tree.appendChild(new Counted("a"));
    QCOMPARE(tree.iterator()->current(), tree.root());
    QCOMPARE(nameOf(tree.toLastChild()), QString("a"));
    QCOMPARE(nameOf(tree.toParent()), QString("root"));
    tree.appendChild(new Counted("b"));
    QCOMPARE(nameOf(tree.toLastChild()), QString("b"));
    // A tree that does not own its data leaves it alone.
    Counted root;
    Counted child;
    Tree(&root).appendChild(&child);
    Tree rootless;
    rootless.appendChild(nullptr);
    QVERIFY(!rootless.toLastChild());
    QVERIFY(!rootless.next(PreOrder));
}

// Each step's data and depth from the root; the walk ends there and restarts.
void TestQTree::walks_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QList<int>>("depths");
    QTest::newRow("pre-order") << int(PreOrder) << QStringList{"A", "A1", "A2", "B", "null"}
                               << QList<int>{1, 2, 2, 1, 0};
    QTest::newRow("reverse") << int(ReversePreOrder) << QStringList{"B", "A", "A2", "A1", "null"}
                             << QList<int>{1, 1, 2, 2, 0};
}

void TestQTree::walks()
{
    QFETCH(int, mode);
    QFETCH(QStringList, names);
    QFETCH(QList<int>, depths);
    std::unique_ptr<Tree> tree(sampleTree());
    QCOMPARE(nameOf(tree->iterator()->toRoot()), QString("root"));
    for (int step = 0; step < names.size(); ++step) {
        QCOMPARE(nameOf(tree->next(IterateMode(mode))), names.at(step));
        QCOMPARE(tree->iterator()->depth(), depths.at(step));
    }
    QCOMPARE(tree->iterator()->current(), tree->root());
    QCOMPARE(nameOf(tree->next(IterateMode(mode))), names.first());
}

// Far deeper than a call stack could recurse; cleanup() checks the data went.
void TestQTree::deepTreesAreWalkedAndDestroyed()
{
    const int depth = 200000;
    Tree deep(new Counted);
    deep.setAutoDelete(true);
    for (int i = 0; i < depth; ++i) {
        deep.appendChild(new Counted);
        deep.toLastChild();
    }
    int visited = 0;
    deep.iterator()->toRoot();
    while (deep.next(PreOrder))
        ++visited;
    QCOMPARE(visited, depth);
}

QTEST_GUILESS_MAIN(TestQTree)
#include "tst_qtree.moc"
