// Search over the blocks of a model, without a widget, against a plain
// scan of every block's item texts in wrap order.
#include "dblocktext.h"
#include "ditems.h"
#include "ditemwalk.h"
#include "dlayoutcache.h"
#include "documentitems.h"
#include "dreportmodel.h"
#include "dreportsearch.h"

#include <QApplication>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>

#include <memory>
#include <optional>

namespace {

// A model and its layouts, as a view would set them up.
struct Searched
{
    std::unique_ptr<DDocument> doc;
    DReportModel model;
    DLayoutCache layouts{model};

    explicit Searched(const QByteArray& aml) : doc(readAml(aml))
    {
        DBlockLayout::Context context;
        context.font = QApplication::font();
        context.width = 600;
        context.expanded = &model.expanded();
        layouts.setContext(context);
        model.setMetrics(DReportModel::Metrics::of(context.font, 600));
        model.addDocument(doc.get());
    }

    std::optional<DTextRange> next(const QRegularExpression& pattern, DTextPos from)
    {
        return DReportSearch(model, layouts).next(pattern, from);
    }

    std::optional<DTextRange> previous(const QRegularExpression& pattern, DTextPos before)
    {
        return DReportSearch(model, layouts).previous(pattern, before);
    }

    // The text of a range as the layout shows it.
    QString shown(const DTextRange& range)
    {
        QTextCursor cursor(layouts.layout(range.block)->document());
        cursor.setPosition(range.start);
        cursor.setPosition(range.end, QTextCursor::KeepAnchor);
        return cursor.selectedText();
    }

    // The obvious version: the first block, from the block of from on and
    // then from the top, where one item's text holds a match.
    int referenceBlock(const QRegularExpression& pattern, int fromBlock) const
    {
        const int count = model.blockCount();
        for (int i = 0; i < count; ++i) {
            const int block = (fromBlock + i) % count;
            bool found = false;
            const DReportModel::Block& blockInfo = model.block(block);
            DItemWalk::walkBlock(blockInfo.item, blockInfo.rows, [&](const DItem* item) {
                const QString* text = DBlockText::searchableText(item);
                if (text && pattern.match(*text).capturedLength() > 0)
                    found = true;
            });
            if (found)
                return block;
        }
        return -1;
    }
};

const char* const words[] = {"alpha", "beta", "gamma", "delta", "needle", "a.c", "abc", "case"};

// count paragraphs of random words, some with runs of white space.
QByteArray randomDocument(QRandomGenerator& random, int count)
{
    QByteArray aml = "<DOCUMENT>";
    for (int i = 0; i < count; ++i) {
        aml += i % 7 == 3 ? "<TABLE><ROW><CELLTEXT>" : "<PARAGRAPH>";
        for (int w = int(random.bounded(1, 6)); w > 0; --w) {
            aml += words[random.bounded(int(std::size(words)))];
            aml += random.bounded(4) == 0 ? "  \n " : " ";
        }
        aml += i % 7 == 3 ? "</CELLTEXT></ROW></TABLE>" : "</PARAGRAPH>";
    }
    return aml + "</DOCUMENT>";
}

} // namespace

class TestReportSearch : public QObject
{
    Q_OBJECT

private slots:
    void findsLikeAPlainScan_data();
    void findsLikeAPlainScan();
    void previousWalksTheMatchesOfNextBackwards_data() { findsLikeAPlainScan_data(); }
    void previousWalksTheMatchesOfNextBackwards();
    void walksMatchesAcrossBlocksAndWrapsOnce();
    void plainTextAgainstRegularExpression();
    void nothingToFind();
    void matchInTheLastBlockOfALargeModel();
};

void TestReportSearch::findsLikeAPlainScan_data()
{
    QTest::addColumn<quint32>("seed");
    QTest::addColumn<QString>("pattern");
    for (quint32 seed = 1; seed <= 12; ++seed) {
        QTest::addRow("needle %u", seed) << seed << QStringLiteral("needle");
        QTest::addRow("regex %u", seed) << seed << QStringLiteral("gam+a\\s+(delta|case)");
        QTest::addRow("dot %u", seed) << seed << QStringLiteral("a\\.c");
    }
}

void TestReportSearch::findsLikeAPlainScan()
{
    QFETCH(quint32, seed);
    QFETCH(QString, pattern);
    QRandomGenerator random(seed);
    Searched searched(randomDocument(random, 60));
    QVERIFY(searched.doc);
    const QRegularExpression regex(pattern);
    for (int i = 0; i < 10; ++i) {
        const int from = int(random.bounded(searched.model.blockCount()));
        const std::optional<DTextRange> found = searched.next(regex, DTextPos{from, 0});
        const int expected = searched.referenceBlock(regex, from);
        QCOMPARE(found ? found->block : -1, expected);
        if (!found)
            continue;
        // The range is the match as shown, white space folded.
        QVERIFY(found->end > found->start);
        const QString shown = searched.shown(*found);
        QVERIFY2(regex.match(shown).capturedLength() == shown.size(), qPrintable(shown));
    }
}

void TestReportSearch::previousWalksTheMatchesOfNextBackwards()
{
    QFETCH(quint32, seed);
    QFETCH(QString, pattern);
    QRandomGenerator random(seed);
    Searched searched(randomDocument(random, 60));
    const QRegularExpression regex(pattern);
    // Every match, in order, as next() walks them once round.
    QList<DTextRange> matches;
    for (auto found = searched.next(regex, {0, 0}); found;
         found = searched.next(regex, {found->block, found->end})) {
        if (!matches.isEmpty() && found->block == matches.first().block &&
            found->start == matches.first().start)
            break;
        matches << *found;
    }
    if (matches.isEmpty()) {
        QVERIFY(!searched.previous(regex, {searched.model.blockCount() - 1, 0}));
        return;
    }
    // From each match, previous() gives the one before it, wrapping to the last.
    for (int i = 0; i < matches.size(); ++i) {
        const DTextRange& before = matches.at((i + int(matches.size()) - 1) % int(matches.size()));
        const auto found = searched.previous(regex, {matches.at(i).block, matches.at(i).start});
        QVERIFY(found);
        QCOMPARE(found->block, before.block);
        QCOMPARE(found->start, before.start);
        QCOMPARE(found->end, before.end);
    }
}

void TestReportSearch::walksMatchesAcrossBlocksAndWrapsOnce()
{
    Searched searched("<DOCUMENT><PARAGRAPH>needle one</PARAGRAPH><PARAGRAPH>hay</PARAGRAPH>"
                      "<PARAGRAPH>hay needle two and needle three</PARAGRAPH>"
                      "<PARAGRAPH>hay</PARAGRAPH></DOCUMENT>");
    const QRegularExpression needle("needle");
    auto first = searched.next(needle, DTextPos{0, 0});
    QVERIFY(first);
    QCOMPARE(first->block, 0);
    QCOMPARE(first->start, 0);
    // From the end of each match to the next one, in the same block too.
    auto second = searched.next(needle, DTextPos{first->block, first->end});
    QVERIFY(second);
    QCOMPARE(second->block, 2);
    auto third = searched.next(needle, DTextPos{second->block, second->end});
    QVERIFY(third);
    QCOMPARE(third->block, 2);
    QVERIFY(third->start > second->end);
    QCOMPARE(searched.shown(*third), QStringLiteral("needle"));
    // Past the last match: wraps to the first one.
    auto wrapped = searched.next(needle, DTextPos{third->block, third->end});
    QVERIFY(wrapped);
    QCOMPARE(wrapped->block, 0);
    QCOMPARE(wrapped->start, 0);
    // A single match before the start in the same block is found on wrapping.
    Searched single("<DOCUMENT><PARAGRAPH>one needle here</PARAGRAPH></DOCUMENT>");
    auto again = single.next(needle, DTextPos{0, 10});
    QVERIFY(again);
    QCOMPARE(again->start, 4);
}

void TestReportSearch::plainTextAgainstRegularExpression()
{
    Searched searched("<DOCUMENT><PARAGRAPH>abc</PARAGRAPH><PARAGRAPH>a.c</PARAGRAPH></DOCUMENT>");
    auto regex = searched.next(QRegularExpression("a.c"), DTextPos{0, 0});
    QVERIFY(regex);
    QCOMPARE(regex->block, 0);
    auto plain = searched.next(QRegularExpression(QRegularExpression::escape("a.c")), {0, 0});
    QVERIFY(plain);
    QCOMPARE(plain->block, 1);
    QCOMPARE(searched.shown(*plain), QStringLiteral("a.c"));
    auto caseless =
        searched.next(QRegularExpression("ABC", QRegularExpression::CaseInsensitiveOption), {1, 0});
    QVERIFY(caseless);
    QCOMPARE(caseless->block, 0);
}

void TestReportSearch::nothingToFind()
{
    Searched searched("<DOCUMENT><PARAGRAPH>some text</PARAGRAPH></DOCUMENT>");
    QVERIFY(!searched.next(QRegularExpression("absent"), {0, 0}));
    QVERIFY(!searched.next(QRegularExpression(""), {0, 0}));
    QVERIFY(!searched.next(QRegularExpression("(unclosed"), {0, 0}));
    QVERIFY(!searched.next(QRegularExpression("q*"), {0, 0})); // only empty matches
    Searched empty("<DOCUMENT/>");
    QVERIFY(!empty.next(QRegularExpression("text"), {0, 0}));
}

void TestReportSearch::matchInTheLastBlockOfALargeModel()
{
    QByteArray aml = "<DOCUMENT>";
    for (int i = 0; i < 5000; ++i)
        aml += "<PARAGRAPH>Text of case " + QByteArray::number(i) + ".</PARAGRAPH>";
    Searched searched(aml + "<PARAGRAPH>the last one</PARAGRAPH></DOCUMENT>");
    const int last = searched.model.blockCount() - 1;
    auto found = searched.next(QRegularExpression("last\\s+one"), {0, 0});
    QVERIFY(found);
    QCOMPARE(found->block, last);
    QCOMPARE(searched.shown(*found), QStringLiteral("last one"));
    // Only the blocks searched in place were laid out, not every block.
    QVERIFY(searched.layouts.count() <= 2);
    auto number = searched.next(QRegularExpression("case 4999\\b"), {last, 0});
    QVERIFY(number);
    QCOMPARE(number->block, last - 1);
    // Backwards, through many pieces of text, to the first block.
    auto first = searched.previous(QRegularExpression("case 0\\b"), {last, 0});
    QVERIFY(first);
    QCOMPARE(first->block, 0);
    QVERIFY(searched.layouts.count() <= 5);
}

QTEST_MAIN(TestReportSearch)
#include "tst_reportsearch.moc"
