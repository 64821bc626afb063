#include "ditems.h"
#include "documentitems.h"
#include "qareporterfilter.h"
#include "qareporterlinkindex.h"
#include "xrodrecords.h"

#include <QRandomGenerator>
#include <QtTest>

namespace {

using TreeNode = QTreeNode<QAReporterNode>;
const auto load = [](const QByteArray& xrod) { return readRecord(xrod); };

QAReporterFilterCriteria failedOnly()
{
    QAReporterFilterCriteria criteria;
    criteria.addPattern(QAReporterFilterCriteria::StateField, QRegularExpression("ko"));
    return criteria;
}

// The plain search the index replaces: every node's range is walked again
// for every link. The nested walks share reachedEnd: meeting the end item
// at any depth ends the range.
const DItem* itemInRange(const DItem* start, const DItem* end, const DItem* target,
                         bool& reachedEnd)
{
    if (target == start || target == end)
        return target;
    for (const DItem* item = start; item; item = item->next()) {
        if (item == target)
            return item;
        const DItemContainer* container = item->toContainer();
        if (container && container->first()) {
            const DItem* found = itemInRange(container->first(), end, target, reachedEnd);
            if (reachedEnd)
                return nullptr;
            if (found)
                return found;
        }
        if (item == end) {
            reachedEnd = true;
            return nullptr;
        }
    }
    return nullptr;
}

QAReporterNode* search(const TreeNode* treeNode, const DItem* link)
{
    for (const TreeNode* child : treeNode->children) {
        if (QAReporterNode* found = search(child, link))
            return found->base().isEmpty() ? treeNode->data : found;
    }
    const QAReporterNode* node = treeNode->data;
    if (!node)
        return nullptr;
    bool reachedEnd = false;
    return itemInRange(node->startItem, node->endItem, link, reachedEnd) ? treeNode->data : nullptr;
}

// Random items and nodes nested up to six levels: nodes with and without
// base, passed and failed, some empty; links anywhere, some empty.
QByteArray randomContent(QRandomGenerator& random, int& count, int depth)
{
    // %1: a number, %2: nested content.
    static const QString forms[] = {"<TEXT>t%1</TEXT>",
                                    "<LINK name=\"l%1\"/>",
                                    "<POPUPLINK name=\"l%1\">x</POPUPLINK>",
                                    "<LINK name=\"l%1\">%2</LINK>",
                                    "<SECTION>%2</SECTION>",
                                    "<PARAGRAPH>p%2</PARAGRAPH>"};
    static const QString states[] = {"", " state=\"ok\"", " state=\"ko\""};
    QString text;
    for (int i = int(random.bounded(depth < 5 ? 5 : 2)); i > 0; --i) {
        const QString number = QString::number(++count);
        const int form = int(random.bounded(depth < 5 ? 8 : 3));
        const QString inner = form < 3 ? QString() : randomContent(random, count, depth + 1);
        if (form < 6)
            text += forms[form].arg(number, inner);
        else
            text +=
                QString("<XROD:NODE name=\"n%1\" type=\"case\"%2%3>%4</XROD:NODE>")
                    .arg(number, states[random.bounded(3)],
                         random.bounded(3) == 0 ? " base=\"/b" + number + "\"" : QString(), inner);
    }
    return text.toUtf8();
}

QByteArray randomReport(quint32 seed)
{
    QRandomGenerator random(seed);
    int count = 0;
    return "<XROD><DOCUMENT name=\"d\">" + randomContent(random, count, 0) + "</DOCUMENT></XROD>";
}

// Whether the index agrees with the plain search on every link of the
// records, and knows none once cleared; warns about the first that fails.
bool agrees(const QList<QAReporterData*>& records, int (&counts)[2])
{
    QAReporterLinkIndex index;
    index.build(records);
    qsizetype withNode = 0;
    for (const QAReporterData* record : records) {
        for (const DItem* item : itemsOf(record->document.get())) {
            const DLink* link = item->toLink();
            if (!link)
                continue;
            const QAReporterNode* expected = nullptr;
            for (const QAReporterData* other : records)
                expected = expected ? expected : search(other->tree->root(), link);
            if (index.nodeOf(link) != expected) {
                qWarning("link %s", qPrintable(link->name()));
                return false;
            }
            withNode += expected ? 1 : 0;
            ++counts[expected ? 0 : 1]; // links with a node, without
        }
    }
    const bool sized = index.size() == withNode;
    index.clear();
    bool forgotten = index.size() == 0;
    for (const DItem* item : itemsOf(records.first()->document.get()))
        forgotten = forgotten && !(item->toLink() && index.nodeOf(item->toLink()));
    return sized && forgotten;
}

// Moves starts and ends of nodes to random items of the document, or to
// none: ranges that end before they start, around their start, in another
// container, or overlap.
void rebindAtRandom(QAReporterData* record, quint32 seed)
{
    QRandomGenerator random(seed);
    const QList<DItem*> items = itemsOf(record->document.get());
    auto anyItem = [&]() -> DItem* {
        const qsizetype pick = random.bounded(items.size() + 2);
        return pick < items.size() ? items.at(pick) : nullptr;
    };
    QList<TreeNode*> pending{record->tree->root()};
    while (!pending.isEmpty()) {
        TreeNode* treeNode = pending.takeLast();
        pending.append(treeNode->children);
        if (random.bounded(2))
            treeNode->data->startItem = anyItem();
        if (random.bounded(2))
            treeNode->data->endItem = anyItem();
    }
}

} // namespace

class TestLinkIndex : public QObject
{
    Q_OBJECT

private slots:
    void agreesWithPlainSearch();
};

// Random reports, their failed-only copies, both together, and the reports
// with nodes bound anywhere: the index must give what the plain search
// gives for every link (the nearest node with a base, or the root; in a
// filtered copy, none after the root's last kept child).
void TestLinkIndex::agreesWithPlainSearch()
{
    int counts[2] = {0, 0};
    for (quint32 seed = 1; seed <= 150; ++seed) {
        std::unique_ptr<QAReporterData> record(load(randomReport(seed)));
        QVERIFY(record);
        QAReporterFilter filter;
        filter.setCriteria(failedOnly());
        filter.apply({record.get()});
        const QString where = QString("seed %1").arg(seed);
        QVERIFY2(agrees({record.get()}, counts), qPrintable(where));
        if (QAReporterData* filtered = filter.filteredRecords().value(0)) {
            QVERIFY2(agrees({filtered}, counts), qPrintable(where + " filtered"));
            QVERIFY2(agrees({filtered, record.get()}, counts), qPrintable(where + " both"));
        }
        rebindAtRandom(record.get(), seed);
        QVERIFY2(agrees({record.get()}, counts), qPrintable(where + " rebound"));
    }
    QVERIFY(counts[0] > 1000 && counts[1] > 100); // the reports exercise both answers
}

QTEST_GUILESS_MAIN(TestLinkIndex)
#include "tst_linkindex.moc"
