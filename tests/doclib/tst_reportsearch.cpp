// Search over the blocks of a model, without a widget, against a plain
// scan of every block's item texts in wrap order.
#include "dblocktext.h"
#include "ditems.h"
#include "ditemwalk.h"
#include "dreportsearch.h"
#include "laidoutdocument.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>

#include <memory>
#include <optional>

namespace {

// A laid-out document with the searches of a view.
struct Searched : LaidOutDocument
{
    explicit Searched(const QByteArray& aml) : LaidOutDocument(aml, 600) {}

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

// A match as "block:start-end", or "none".
QString where(const std::optional<DTextRange>& range)
{
    return range ? QString("%1:%2-%3").arg(range->block).arg(range->start).arg(range->end)
                 : QString("none");
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
        QCOMPARE(where(found), where(before));
    }
}

void TestReportSearch::walksMatchesAcrossBlocksAndWrapsOnce()
{
    Searched searched("<DOCUMENT><PARAGRAPH>needle one</PARAGRAPH><PARAGRAPH>hay</PARAGRAPH>"
                      "<PARAGRAPH>hay needle two and needle three</PARAGRAPH>"
                      "<PARAGRAPH>hay</PARAGRAPH></DOCUMENT>");
    const QRegularExpression needle("needle");
    // From the end of each match to the next one, in the same block too,
    // and past the last match back to the first.
    QStringList found;
    DTextPos from{0, 0};
    for (int i = 0; i < 4; ++i) {
        const auto match = searched.next(needle, from);
        found << where(match);
        from = DTextPos{match->block, match->end};
    }
    QCOMPARE(found, QStringList({"0:0-6", "2:4-10", "2:19-25", "0:0-6"}));
    // A single match before the start in the same block is found on wrapping.
    Searched single("<DOCUMENT><PARAGRAPH>one needle here</PARAGRAPH></DOCUMENT>");
    QCOMPARE(where(single.next(needle, DTextPos{0, 10})), QString("0:4-10"));
    // The pattern's options hold; nothing, empty matches and bad patterns
    // find nothing.
    const auto caseless = QRegularExpression::CaseInsensitiveOption;
    QCOMPARE(where(searched.next(QRegularExpression("NEEDLE T", caseless), {0, 0})),
             QString("2:4-12"));
    for (const char* pattern : {"absent", "", "(unclosed", "q*"})
        QVERIFY2(!searched.next(QRegularExpression(pattern), {0, 0}), pattern);
    QVERIFY(!Searched("<DOCUMENT/>").next(QRegularExpression("text"), {0, 0}));
}

// Escaped text finds itself, not what it matches as an expression; case is
// ignored when asked; nothing, empty matches and bad patterns find nothing.
void TestReportSearch::matchInTheLastBlockOfALargeModel()
{
    QByteArray aml = "<DOCUMENT>";
    for (int i = 0; i < 5000; ++i)
        aml += "<PARAGRAPH>Text of case " + QByteArray::number(i) + ".</PARAGRAPH>";
    Searched searched(aml + "<PARAGRAPH>the last one</PARAGRAPH></DOCUMENT>");
    const int last = searched.model.blockCount() - 1;
    auto found = searched.next(QRegularExpression("last\\s+one"), {0, 0});
    QCOMPARE(where(found), QString("%1:4-12").arg(last));
    QCOMPARE(searched.shown(*found), QStringLiteral("last one"));
    // Only the blocks searched in place were laid out, not every block.
    QVERIFY(searched.layouts.count() <= 2);
    auto number = searched.next(QRegularExpression("case 4999\\b"), {last, 0});
    QVERIFY(number && number->block == last - 1);
    // Backwards, through many pieces of text, to the first block.
    auto first = searched.previous(QRegularExpression("case 0\\b"), {last, 0});
    QVERIFY(first && first->block == 0);
    QVERIFY(searched.layouts.count() <= 5);
}

QTEST_MAIN(TestReportSearch)
#include "tst_reportsearch.moc"
