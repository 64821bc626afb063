// The walk without recursion against the library's iterator, and on
// documents far deeper than any stack would allow recursing over.
#include "ditems.h"
#include "ditemtraits.h"
#include "ditemwalk.h"
#include "diterator.h"
#include "documentitems.h"

#include <QRandomGenerator>
#include <QTest>

#include <memory>

namespace {

QString walkEvent(char sign, const DItem* item)
{
    return sign + QString(DItem::kindName(item->kind())) + item->name();
}

// Item order as the iterator visits it, with its leave calls.
class Recorder : public DIterator
{
public:
    QList<QString> events;
    void visitItem(DItem* item) override
    {
        events.append(walkEvent('+', item));
        DIterator::visitItem(item);
    }

protected:
    void leaveItemChildren(DItemContainer* container) override
    {
        events.append(walkEvent('-', container));
    }
};

// Sections opened and closed at random, holding paragraphs and breaks.
QByteArray randomDocument(QRandomGenerator& random, int items)
{
    static const char* const pieces[] = {"<SECTION name=\"s%1\">",
                                         "<PARAGRAPH name=\"p%1\"><TEXT>t%1</TEXT></PARAGRAPH>",
                                         "<PAGEBREAK name=\"b%1\"/>", "</SECTION>"};
    QString aml = "<DOCUMENT>";
    int open = 0;
    for (int i = 0; i < items; ++i) {
        const int piece = int(random.bounded(4));
        if (piece == 3 && open == 0)
            continue;
        open += piece == 0 ? 1 : piece == 3 ? -1 : 0;
        aml += QString(pieces[piece]).arg(i);
    }
    return (aml + QString("</SECTION>").repeated(open) + "</DOCUMENT>").toUtf8();
}

} // namespace

class TestItemWalk : public QObject
{
    Q_OBJECT

private slots:
    void visitsLikeTheIterator_data();
    void visitsLikeTheIterator();
    void skipsChildrenWhenAsked();
    void deepDocumentsDoNotRecurse();
};

void TestItemWalk::visitsLikeTheIterator_data()
{
    QTest::addColumn<quint32>("seed");
    for (quint32 seed = 1; seed <= 20; ++seed)
        QTest::addRow("seed %u", seed) << seed;
}

void TestItemWalk::visitsLikeTheIterator()
{
    QFETCH(quint32, seed);
    QRandomGenerator random(seed);
    auto doc = readAml(randomDocument(random, 80));
    QVERIFY(doc);
    Recorder recorder;
    recorder.doAll(doc.get());
    // The iterator reports leaving containers only; the walk every item.
    QList<QString> events;
    DItemWalk::walk(
        static_cast<const DItem*>(doc.get()),
        [&](const DItem* item) { events.append(walkEvent('+', item)); },
        [&](const DItem* item) {
            if (item->isContainer())
                events.append(walkEvent('-', item));
        });
    QCOMPARE(events, recorder.events);
}

void TestItemWalk::skipsChildrenWhenAsked()
{
    auto doc = readAml("<DOCUMENT><SECTION name=\"a\"><PARAGRAPH name=\"in\"/></SECTION>"
                       "<PARAGRAPH name=\"b\"><TEXT>x</TEXT></PARAGRAPH></DOCUMENT>");
    QStringList entered;
    int left = 0;
    DItemWalk::walk(
        static_cast<const DItem*>(doc.get()),
        [&](const DItem* item) {
            entered << item->name();
            return DItemTraits::of(item).grouping; // enter grouping items only
        },
        [&](const DItem*) { ++left; });
    QCOMPARE(entered, QStringList({"", "a", "in", "b"}));
    QCOMPARE(left, 4);
}

void TestItemWalk::deepDocumentsDoNotRecurse()
{
    // Deeper than the reader or a test stack would survive recursing on.
    auto doc = std::make_unique<DDocument>();
    DItemContainer* parent = doc.get();
    const int depth = 200000;
    for (int i = 0; i < depth; ++i)
        parent = parent->insertAfter(nullptr, new DSection)->toContainer();
    int entered = 0;
    int deepest = 0;
    int level = 0;
    DItemWalk::walk(
        static_cast<const DItem*>(doc.get()),
        [&](const DItem*) {
            ++entered;
            deepest = qMax(deepest, ++level);
        },
        [&](const DItem*) { --level; });
    QCOMPARE(QList<int>({entered, deepest, level}), QList<int>({depth + 1, depth + 1, 0}));
}

QTEST_APPLESS_MAIN(TestItemWalk)
#include "tst_itemwalk.moc"
