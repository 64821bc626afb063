#include "qtree.h"

#include <QtTest>

#include <memory>

namespace {

// Data that counts its living instances, to see what a tree destroys.
struct Counted
{
    explicit Counted(QString name = QString()) : name(std::move(name)) { ++alive; }
    ~Counted() { --alive; }
    Counted(const Counted&) = delete;
    Counted& operator=(const Counted&) = delete;

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
    void buildsInOrderAndStaysAtTheRootOnFailedMoves();
    void walks_data();
    void walks();
    void iteratorMovesAndCopies();
    void nullIteratorAndRootlessTreeNeverMove();
    void autoDeleteDecidesWhoOwnsTheData();
    void wideAndDeepTreesAreDestroyed();
};

void TestQTree::buildsInOrderAndStaysAtTheRootOnFailedMoves()
{
    Tree tree(new Counted("root"));
    tree.setAutoDelete(true);
    QVERIFY(!tree.next(PreOrder));
    QVERIFY(!tree.toParent());
    QVERIFY(!tree.toLastChild());
    QCOMPARE(tree.iterator()->current(), tree.root());
    QCOMPARE(tree.iterator()->depth(), 0);
    tree.appendChild(new Counted("a"));
    QCOMPARE(tree.iterator()->current(), tree.root());
    QCOMPARE(nameOf(tree.toLastChild()), QString("a"));
    QCOMPARE(tree.iterator()->depth(), 1);
    QCOMPARE(nameOf(tree.toParent()), QString("root"));
    tree.appendChild(new Counted("b"));
    QCOMPARE(nameOf(tree.root()->children.at(0)->data), QString("a"));
    QCOMPARE(nameOf(tree.root()->children.at(1)->data), QString("b"));
}

// Each step of a walk of root(A(A1, A2), B) from the root: the data reached
// and the depth; the walk ends at the root and can start again.
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

void TestQTree::iteratorMovesAndCopies()
{
    std::unique_ptr<Tree> tree(sampleTree());
    QTreeIterator<Counted> it(tree->root());
    QVERIFY(!it.toNextSibling());
    QVERIFY(!it.toPrevSibling());
    QCOMPARE(nameOf(it.toFirstChild()), QString("A"));
    QVERIFY(!it.toPrevSibling());
    QCOMPARE(nameOf(it.toLastChild()), QString("A2"));
    QCOMPARE(nameOf(it.toPrevSibling()), QString("A1"));
    QVERIFY(!it.toFirstChild());
    QCOMPARE(it.depth(), 2);

    QTreeIterator<Counted> copy(it);
    QCOMPARE(nameOf(copy.toNextSibling()), QString("A2"));
    QCOMPARE(nameOf(it.current()->data), QString("A1"));
    QCOMPARE(nameOf(copy.toRoot()), QString("root"));
    QCOMPARE(copy.depth(), 0);
    QCOMPARE(it.depth(), 2);
    // Walking on from a sibling-only step reaches the next sibling.
    tree->iterator()->toRoot();
    tree->next(PreOrder);
    QCOMPARE(nameOf(tree->next(SiblingOnly)), QString("B"));
    QVERIFY(!tree->next(IterateMode(7))); // no such mode
}

void TestQTree::nullIteratorAndRootlessTreeNeverMove()
{
    QTreeIterator<Counted> it(nullptr);
    QVERIFY(!it.toFirstChild());
    QVERIFY(!it.toLastChild());
    QVERIFY(!it.toNextSibling());
    QVERIFY(!it.toPrevSibling());
    QVERIFY(!it.toRoot());
    QVERIFY(!it.current());
    QCOMPARE(it.depth(), 0);

    Tree tree;
    tree.appendChild(nullptr);
    QVERIFY(!tree.toLastChild());
    QVERIFY(!tree.toParent());
    QVERIFY(!tree.next(PreOrder));
    QVERIFY(!tree.root());
}

// A tree that owns its data destroys it: cleanup() checks that after every
// test. One that does not own it leaves it alive.
void TestQTree::autoDeleteDecidesWhoOwnsTheData()
{
    auto* root = new Counted("root");
    auto* child = new Counted("child");
    {
        Tree tree(root);
        tree.appendChild(child);
    }
    QCOMPARE(Counted::alive, 2);
    delete root;
    delete child;
}

void TestQTree::wideAndDeepTreesAreDestroyed()
{
    {
        Tree wide(new Counted);
        wide.setAutoDelete(true);
        for (int i = 0; i < 1000000; ++i)
            wide.appendChild(new Counted);
        QCOMPARE(Counted::alive, 1000001);
    }
    QCOMPARE(Counted::alive, 0);
    const int depth = 200000;
    Tree deep(new Counted);
    deep.setAutoDelete(true);
    for (int i = 0; i < depth; ++i) {
        deep.appendChild(new Counted);
        deep.toLastChild();
    }
    QCOMPARE(deep.iterator()->depth(), depth);
    int visited = 0;
    deep.iterator()->toRoot();
    while (deep.next(PreOrder))
        ++visited;
    QCOMPARE(visited, depth);
}

QTEST_GUILESS_MAIN(TestQTree)
#include "tst_qtree.moc"
