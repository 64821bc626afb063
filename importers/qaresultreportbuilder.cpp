#include "qaresultreportbuilder.h"

#include "ditems.h"
#include "dstyle.h"
#include "qalinktarget.h"
#include "qareporterdata.h"
#include "qareporterdatatree.h"
#include "qareporternode.h"
#include "qasourcelocation.h"
#include "qatestcount.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QtAlgorithms>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iterator>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// Details longer than this many lines fold into a popup.
const int FoldedLines = 15;
const int MaxTitleLevel = 6;
const int MaxSharedLines = 4096;
// Counts below this share their strings in summaries and overview rows.
const qint64 MaxSharedCount = 1024;
// Labels of details up to this many lines are shared.
const size_t MaxSharedLabels = 1024;
// Blocks of up to this many characters, once written, go through the
// builder's buffer; larger ones are measured first instead.
const qsizetype MaxBufferedBlock = 1 << 14;
// The list of lines is kept from block to block up to this many lines; a
// longer one goes once used, so that a huge output costs no memory after
// its block is made.
const size_t MaxKeptLines = 1024;
// Times are shown up to this many seconds (more than thirty years): a file
// that claims more is wrong, and its figure must stay a short number.
const double MaxSeconds = 1e9;

// The translation context of the texts below, declared here so that
// lupdate files them under it too.
struct Texts
{
    Q_DECLARE_TR_FUNCTIONS(QAResultReportBuilder)
};

// The style of details and output when the viewer's styles have none.
DStyle* fallbackMonospace()
{
    static DStyle style = [] {
        DStyle made(QStringLiteral("Monospace"));
        made.setFamily(QStringLiteral("Monospace"));
        made.setPointSize(9);
        made.setColor(QColor(0x20, 0x21, 0x24));
        made.setBackground(QColor(0xf5, 0xf7, 0xfa));
        made.setAlignment(Qt::AlignLeft);
        made.setMargin(1);
        return made;
    }();
    return &style;
}

// One string per state, which every node shares.
const QString& stateText(int state)
{
    static const QString texts[] = {QStringLiteral("NE"), QStringLiteral("ok"),
                                    QStringLiteral("ko")};
    return texts[state];
}

// Whether two strings are equal, comparing their data only when they do
// not share it.
bool sameText(const QString& first, const QString& second)
{
    return first.size() == second.size() &&
           (first.constData() == second.constData() || first == second);
}

// first and second joined, made at their exact size: the texts stay in the
// record, and appending to a copy would give them room to grow.
QString joined(QStringView first, QStringView second)
{
    QString text;
    text.reserve(first.size() + second.size());
    text.append(first).append(second);
    return text;
}

QString seconds(double value)
{
    return QString::number(value, 'f', value < 10 ? 3 : 1) + QStringLiteral(" s");
}

// A case's time as shown and summed: -1 (no time) when not a number or
// negative, at most MaxSeconds.
double boundedSeconds(double value)
{
    return value >= 0 ? qMin(value, MaxSeconds) : -1;
}

// The first line feed from at, or end; eight units at a time with SSE2.
const char16_t* findNewline(const char16_t* at, const char16_t* end)
{
#if defined(__SSE2__)
    const __m128i newline = _mm_set1_epi16(u'\n');
    for (; end - at >= 8; at += 8) {
        const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
        const unsigned mask = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi16(units, newline)));
        if (mask != 0)
            return at + qCountTrailingZeroBits(mask) / 2;
    }
#endif
    return std::find(at, end, u'\n');
}

// The lines of a block of text, without carriage returns and without the
// empty lines that end it, into lines (cleared first: one buffer serves
// every block of the run).
void linesOf(const QString& text, std::vector<QStringView>& lines)
{
    lines.clear();
    if (text.isEmpty())
        return; // most cases have no output
    const char16_t* start = reinterpret_cast<const char16_t*>(text.constData());
    const char16_t* const end = start + text.size();
    while (true) {
        const char16_t* const newline = findNewline(start, end);
        const char16_t* lineEnd = newline;
        if (lineEnd > start && lineEnd[-1] == u'\r')
            --lineEnd;
        lines.emplace_back(start, lineEnd - start);
        if (newline == end)
            break;
        start = newline + 1;
    }
    while (!lines.empty() && lines.back().trimmed().isEmpty())
        lines.pop_back();
}

bool isBlank(char16_t c)
{
    return c == u' ' || c == u'\t';
}

// The width a blank takes in a monospace block: a tab four characters.
int blankWidth(char16_t c)
{
    return c == u'\t' ? 4 : 1;
}

// A line without the white space at its end, which blocks drop; its
// indentation stays, even on a line of blanks only.
QStringView withoutTrailingSpace(QStringView line)
{
    qsizetype indentation = 0;
    while (indentation < line.size() && isBlank(line.at(indentation).unicode()))
        ++indentation;
    qsizetype end = line.size();
    while (end > indentation && line.at(end - 1).isSpace())
        --end;
    return line.first(end);
}

// The length of a line as writeMonospaceLine writes it: a tab takes four
// characters, white space at the end none.
qsizetype monospaceWidth(QStringView line)
{
    line = withoutTrailingSpace(line);
    qsizetype width = line.size();
    for (QChar c : line)
        width += c == u'\t' ? 3 : 0;
    return width;
}

char16_t* fillNoBreak(char16_t* out, qsizetype count)
{
    return std::fill_n(out, count, char16_t(QChar::Nbsp));
}

#if defined(__SSE2__)
// Copies the units from at on, up to the first one below U+0021 (a blank
// or a control character) or end, to out, and returns how many it copied.
// Eight units go at a time: each block is stored whole, and the units
// stored past the one that stops the copy are written over by the rest of
// the line, which writes at least as many units as it reads.
qsizetype copyWord(const char16_t* at, const char16_t* end, char16_t* out)
{
    const char16_t* const start = at;
    const __m128i space = _mm_set1_epi16(0x20);
    const __m128i zero = _mm_setzero_si128();
    for (; end - at >= 8; at += 8) {
        const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + (at - start)), units);
        // The saturating subtraction leaves zero in the lanes up to 0x20.
        const __m128i low = _mm_cmpeq_epi16(_mm_subs_epu16(units, space), zero);
        const unsigned mask = unsigned(_mm_movemask_epi8(low));
        if (mask != 0)
            return (at - start) + qCountTrailingZeroBits(mask) / 2;
    }
    for (; at<end&& * at> 0x20; ++at)
        out[at - start] = *at;
    return at - start;
}
#else
// Whether one of the four UTF-16 units packed in block is below U+0021,
// that is a blank or a control character. Subtracting 0x21 from each lane
// sets a lane's high bit where the lane was below 0x21 and had that bit
// clear; a borrow only crosses into the next lane from a lane that is
// below, so the answer for the whole block is exact.
bool hasUnitBelow21(quint64 block)
{
    const quint64 lanes = 0x0001000100010001ULL;
    return ((block - lanes * 0x21) & ~block & (lanes << 15)) != 0;
}

// copyWord without vector instructions: four units at a time are tested.
qsizetype copyWord(const char16_t* at, const char16_t* end, char16_t* out)
{
    const char16_t* const start = at;
    quint64 block;
    while (end - at >= 4 && (std::memcpy(&block, at, sizeof block), !hasUnitBelow21(block)))
        at += 4;
    while (at<end&& * at> 0x20)
        ++at;
    std::copy(start, at, out);
    return at - start;
}
#endif

// Writes a line of a monospace block at out, as the document shows it
// unchanged, and returns the end of what it wrote: the indentation as
// no-break spaces (a tab as four), and each run of white space inside the
// line, when wider than one space, as no-break spaces followed by one
// space, where a long line may still wrap. White space at the end of the
// line is dropped. Writes monospaceWidth(line) characters.
char16_t* writeMonospaceLine(char16_t* out, QStringView line)
{
    line = withoutTrailingSpace(line);
    const char16_t* at = line.utf16();
    const char16_t* const end = at + line.size();
    for (; at < end && isBlank(*at); ++at)
        out = fillNoBreak(out, blankWidth(*at));
    while (at < end) {
        // Words are copied whole: most lines have blanks only between them.
        const qsizetype copied = copyWord(at, end, out);
        at += copied;
        out += copied;
        if (at == end)
            break;
        if (!isBlank(*at)) {
            *out++ = *at++; // a control character, which stays in its word
            continue;
        }
        const char16_t first = *at;
        int width = 0;
        for (; isBlank(*at); ++at) // the line ends with no blank
            width += blankWidth(*at);
        if (width > 1) {
            out = fillNoBreak(out, width - 1);
            *out++ = u' ';
        } else {
            *out++ = first;
        }
    }
    return out;
}

// Writes the lines of a block at begin, a line separator between two
// lines once one character is written; returns the length written.
qsizetype writeTextBlock(char16_t* begin, const std::vector<QStringView>& lines)
{
    char16_t* out = begin;
    for (QStringView line : lines) {
        if (out != begin)
            *out++ = QChar::LineSeparator;
        out = writeMonospaceLine(out, line);
    }
    return out - begin;
}

} // namespace

void QAResultReportBuilder::Counts::add(const Counts& other)
{
    passed = QATestCount::add(passed, other.passed);
    failed = QATestCount::add(failed, other.failed);
    inconclusive = QATestCount::add(inconclusive, other.inconclusive);
    seconds = qMin(seconds + other.seconds, MaxSeconds);
    timed = timed || other.timed;
}

qint64 QAResultReportBuilder::Counts::total() const
{
    return QATestCount::add(QATestCount::add(passed, failed), inconclusive);
}

QAResultReportBuilder::QAResultReportBuilder(const QList<DStyle*>& styles) : m_styles(styles)
{
    // Translated once: a case is short work. By state: timed, then untimed.
    static const char* const lines[] = {
        QT_TRANSLATE_NOOP("QAResultReportBuilder", "Passed in %1"),
        QT_TRANSLATE_NOOP("QAResultReportBuilder", "Failed after %1"),
        QT_TRANSLATE_NOOP("QAResultReportBuilder", "Not run (skipped)"),
        QT_TRANSLATE_NOOP("QAResultReportBuilder", "Passed"),
        QT_TRANSLATE_NOOP("QAResultReportBuilder", "Failed"),
        QT_TRANSLATE_NOOP("QAResultReportBuilder", "Not run (skipped)")};
    for (int i = 0; i < 6; ++i)
        m_stateLines[i] = Texts::tr(lines[i]);
    for (int state = 0; state < 2; ++state)
        splitTimedLine(state);
    for (int level = 1; level <= MaxTitleLevel; ++level) {
        const QString name = QStringLiteral("Title") + QString::number(level);
        m_titleStyles[level - 1][0] = style(name);
        m_titleStyles[level - 1][1] = style(name + QStringLiteral(" Passed"));
        m_titleStyles[level - 1][2] = style(name + QStringLiteral(" Failed"));
    }
    m_monospace = style(QStringLiteral("Monospace"));
    static const char* const lineStyles[] = {"Normal Passed", "Normal Failed", "Normal"};
    for (int state = 0; state < 3; ++state)
        m_lineStyles[state] = style(QLatin1String(lineStyles[state]));
    m_at = Texts::tr("At ");
    if (!m_monospace)
        m_monospace = fallbackMonospace();
    static const char* const named[NamedStyleCount] = {"Title0",       "Normal",      "Warning",
                                                       "Link",         "Array",       "Array Title",
                                                       "Array Passed", "Array Failed"};
    for (int index = 0; index < NamedStyleCount; ++index)
        m_named[index] = style(QLatin1String(named[index]));
    translateWords();
}

// The text around "%1" in a timed state line, for makeTimedLine; left null
// when the translation holds any other '%' or a longer "%12", which
// QString::arg would read otherwise.
void QAResultReportBuilder::splitTimedLine(int state)
{
    const QString& line = m_stateLines[state];
    const qsizetype at = line.indexOf(QLatin1String("%1"));
    if (at < 0 || line.count(u'%') != 1 || (at + 2 < line.size() && line.at(at + 2).isDigit()))
        return;
    m_words.timedPrefix[state] = line.left(at);
    m_words.timedSuffix[state] = line.mid(at + 2);
    if (m_words.timedPrefix[state].isNull())
        m_words.timedPrefix[state] = QLatin1String("");
}

void QAResultReportBuilder::translateWords()
{
    m_words.unnamed = Texts::tr("(unnamed)");
    m_words.resultsBySuite = Texts::tr("Results by suite");
    m_words.allSuites = Texts::tr("All suites");
    const char* const summary[] = {QT_TRANSLATE_NOOP("QAResultReportBuilder", "Passed"),
                                   QT_TRANSLATE_NOOP("QAResultReportBuilder", "Failed"),
                                   QT_TRANSLATE_NOOP("QAResultReportBuilder", "Inconclusive"),
                                   QT_TRANSLATE_NOOP("QAResultReportBuilder", "Time")};
    for (int column = 0; column < 4; ++column)
        m_words.summaryHeadings[column] = Texts::tr(summary[column]);
    m_words.overviewHeadings[0] = Texts::tr("Suite");
    std::copy(std::begin(m_words.summaryHeadings), std::end(m_words.summaryHeadings),
              m_words.overviewHeadings + 1);
    m_words.details = Texts::tr("Show the details (%1 lines)");
    m_words.classLine = Texts::tr("class %1");
    m_words.standardOutput = Texts::tr("Show the standard output");
    m_words.standardError = Texts::tr("Show the standard error");
    m_words.flaky =
        QStringLiteral(" \u00b7 ") + Texts::tr("flaky: passed on a rerun after failing");
}

QAResultReportBuilder::~QAResultReportBuilder() = default;

// Looked up while the builder is made only: a linear search is enough.
DStyle* QAResultReportBuilder::style(const QString& name) const
{
    for (DStyle* candidate : m_styles) {
        if (candidate->name() == name)
            return candidate;
    }
    return nullptr;
}

DStyle* QAResultReportBuilder::titleStyle(int level, int state) const
{
    return m_titleStyles[qBound(1, level, MaxTitleLevel) - 1][state];
}

int QAResultReportBuilder::stateOf(const Counts& counts)
{
    if (counts.failed > 0)
        return FailedState;
    if (counts.inconclusive > 0 || counts.passed == 0)
        return NotRunState;
    return PassedState;
}

DItem* QAResultReportBuilder::add(DItem* item)
{
    OpenItem& parent = m_open.back();
    parent.item->insertAfter(parent.lastChild, item);
    parent.lastChild = item;
    // The nodes begun since the last item start here, as the reader binds
    // them to the first item made inside them.
    for (QAReporterNode* node : std::as_const(m_pending))
        node->startItem = item;
    m_pending.clear();
    m_last = item;
    return item;
}

DItemContainer* QAResultReportBuilder::open(DItemContainer* item)
{
    add(item);
    m_open.push_back({item, nullptr});
    return item;
}

void QAResultReportBuilder::closeTo(int openItems)
{
    while (int(m_open.size()) > openItems)
        m_open.pop_back();
}

void QAResultReportBuilder::addParagraph(const QString& text, DStyle* style)
{
    DItemContainer* paragraph = open(new DParagraph);
    paragraph->setStyle(style);
    add(new DText(text));
    m_open.pop_back();
}

// One monospace paragraph holding one text: lines end with a line
// separator, and white space keeps its width through no-break spaces,
// which the document shows as they are while it collapses other white
// space (see writeMonospaceLine). Empty lines before the first character
// take no separator. The text is made at its exact size, in one
// allocation: written into the builder's buffer and copied when small
// (a character becomes four at most), measured first when large.
void QAResultReportBuilder::addTextBlock(const std::vector<QStringView>& lines)
{
    if (lines.empty())
        return;
    qsizetype bound = qsizetype(lines.size()) - 1; // the separators
    for (QStringView line : lines)
        bound += 4 * line.size();
    QString block;
    if (bound <= MaxBufferedBlock) {
        if (m_blockBuffer.size() < size_t(bound))
            m_blockBuffer.resize(size_t(bound));
        const qsizetype size = writeTextBlock(m_blockBuffer.data(), lines);
        if (size > 0)
            block = QString(reinterpret_cast<const QChar*>(m_blockBuffer.data()), size);
    } else {
        qsizetype size = qsizetype(lines.size()) - 1;
        for (QStringView line : lines)
            size += monospaceWidth(line);
        block = QString(size, Qt::Uninitialized);
        const qsizetype written = writeTextBlock(reinterpret_cast<char16_t*>(block.data()), lines);
        Q_ASSERT(written <= size);
        block.truncate(written);
    }
    if (block.isEmpty())
        return;
    DItemContainer* paragraph = open(new DParagraph);
    paragraph->setStyle(m_monospace);
    add(new DText(block));
    m_open.pop_back();
}

void QAResultReportBuilder::addPopup(const QString& label, const QString& anchor,
                                     const std::vector<QStringView>& lines)
{
    DItemContainer* link = open(new DPopupLink(anchor));
    link->setStyle(m_named[LinkStyle]);
    add(new DText(label));
    m_open.pop_back();
    DItemContainer* popup = open(new DPopup);
    popup->setName(anchor);
    addTextBlock(lines);
    m_open.pop_back();
}

void QAResultReportBuilder::addProperties(const QList<QPair<QString, QString>>& properties)
{
    if (properties.isEmpty())
        return;
    auto* table = new DTable(DTable::Outline);
    table->setWidths({0.3, 0.7});
    open(table);
    for (const auto& [name, value] : properties) {
        open(new DRow);
        add(new DCellText(0, 0, name))->setStyle(m_named[ArrayTitleStyle]);
        add(new DCellText(0, 0, value))->setStyle(m_named[ArrayStyle]);
        m_open.pop_back();
    }
    m_open.pop_back();
}

void QAResultReportBuilder::addSummaryTable(Level& level)
{
    auto* table = new DTable(DTable::Grid);
    table->setWidths({0.25, 0.25, 0.25, 0.25});
    open(table);
    open(new DRow);
    for (const QString& heading : m_words.summaryHeadings)
        add(new DCellText(0, 0, heading))->setStyle(m_named[ArrayTitleStyle]);
    m_open.pop_back();
    // The figures are known when the suite ends; their cells are made now
    // so that the suite's items stay in document order.
    open(new DRow);
    for (DCellText*& cell : level.summary) {
        cell = new DCellText;
        add(cell)->setStyle(m_named[ArrayStyle]);
    }
    m_open.pop_back();
    m_open.pop_back();
}

// The figures of a level as its summary and its overview row show them;
// small counts share one string per value.
QAResultReportBuilder::Figures QAResultReportBuilder::figuresOf(const Counts& counts)
{
    Figures figures;
    const qint64 values[] = {counts.passed, counts.failed, counts.inconclusive};
    for (int column = 0; column < 3; ++column)
        figures.texts[column] = countText(values[column]);
    figures.texts[3] = counts.timed ? seconds(counts.seconds) : QStringLiteral("-");
    return figures;
}

QString QAResultReportBuilder::countText(qint64 count)
{
    if (count < 0 || count >= MaxSharedCount)
        return QString::number(count);
    if (m_countTexts.empty())
        m_countTexts.resize(MaxSharedCount);
    QString& text = m_countTexts[size_t(count)];
    if (text.isNull())
        text = QString::number(count);
    return text;
}

void QAResultReportBuilder::fillSummary(const Level& level, const Figures& figures)
{
    const Counts& counts = level.counts;
    for (int column = 0; column < 4; ++column)
        level.summary[column]->setText(figures.texts[column]);
    if (counts.passed > 0)
        level.summary[0]->setStyle(m_named[ArrayPassedStyle]);
    if (counts.failed > 0)
        level.summary[1]->setStyle(m_named[ArrayFailedStyle]);
    if (counts.inconclusive > 0)
        level.summary[2]->setStyle(m_named[WarningStyle]);
}

QAReporterNode* QAResultReportBuilder::beginNode(const QString& name, NodeType type)
{
    QAReporterNode* node = appendNode(name, type);
    m_tree->toLastChild();
    return node;
}

// Appends a node to the tree's current one, the cursor staying there: a
// case's node has no children, so the cursor need not enter it.
QAReporterNode* QAResultReportBuilder::appendNode(const QString& name, NodeType type)
{
    static const QString types[NodeTypeCount] = {QStringLiteral("run"), QStringLiteral("suite"),
                                                 QStringLiteral("class"),
                                                 QStringLiteral("testcase")};
    auto* node = new QAReporterNode;
    m_tree->appendChild(node);
    node->name = name;
    // Nodes share one string per type, as the reader's do.
    int& known = m_typeIndex[type];
    if (known < 0) {
        known = int(m_types.size());
        m_types.append(types[type]);
    }
    node->type = m_types.at(known);
    node->setNumber(++m_nodeCount);
    m_pending.push_back(node);
    return node;
}

void QAResultReportBuilder::endNode(const QString& state)
{
    finishNode(m_tree->iterator()->current()->data, state);
    m_tree->toParent();
}

void QAResultReportBuilder::finishNode(QAReporterNode* node, const QString& state)
{
    node->state = state;
    const auto pending = std::find(m_pending.begin(), m_pending.end(), node);
    if (pending != m_pending.end())
        m_pending.erase(pending);
    node->endItem = m_last;
}

int QAResultReportBuilder::nextTitleLevel() const
{
    return m_levels.empty() ? 1 : qMin(m_levels.back().titleLevel + 1, MaxTitleLevel);
}

void QAResultReportBuilder::beginRun(const QAResultRunInfo& info)
{
    m_record.reset();
    m_overview = nullptr;
    m_overviewLastRow = nullptr;
    m_levels.clear();
    m_open.clear();
    m_pending.clear();
    m_types.clear();
    std::fill(std::begin(m_typeIndex), std::end(m_typeIndex), -1);
    m_nodeCount = 0;
    m_okTotal = 0;
    m_koTotal = 0;
    m_neTotal = -1;
    m_fileName = m_givenFileName.isEmpty() ? info.fileName : m_givenFileName;
    const QFileInfo file(m_fileName);
    m_document = std::make_unique<DDocument>(file.fileName(), file.completeBaseName());
    m_open.push_back({m_document.get(), nullptr});
    // The root stands for the whole file, as the reader's XROD element does.
    auto* root = new QAReporterNode;
    root->startItem = m_document.get();
    m_tree = std::make_unique<QAReporterDataTree>(root);

    DItemContainer* title = open(new DTitle(1));
    title->setStyle(m_named[TopTitleStyle]);
    add(new DText(file.fileName()));
    m_open.pop_back();
    QStringList facts{info.tool};
    if (!info.timestamp.isEmpty())
        facts.append(info.timestamp);
    if (!info.host.isEmpty())
        facts.append(Texts::tr("host %1").arg(info.host));
    facts.removeAll(QString());
    if (!facts.isEmpty())
        addParagraph(facts.join(QStringLiteral(" \u00b7 ")), m_named[NormalStyle]);

    beginLevel(RunLevel, file.fileName(), {});
    QAReporterNode* run = m_levels.back().node;
    if (!file.fileName().isEmpty())
        run->setBase(file.absolutePath() + QLatin1Char('/'));
}

void QAResultReportBuilder::beginLevel(LevelKind kind, const QString& name,
                                       const QList<QPair<QString, QString>>& properties)
{
    static const NodeType types[] = {RunType, SuiteType, ClassType};
    Level level;
    level.kind = kind;
    level.name = name;
    level.titleLevel = nextTitleLevel();
    level.node = beginNode(name, types[kind]);
    level.openItems = int(m_open.size());
    DItemContainer* section = open(new DSection);
    section->setName(level.node->id());
    level.title = static_cast<DTitle*>(open(new DTitle(level.titleLevel)));
    // The file's name already heads the document: the run's section is
    // the overview of its suites.
    if (kind == RunLevel)
        add(new DText(m_words.resultsBySuite));
    else
        add(new DText(name.isEmpty() ? m_words.unnamed : name));
    m_open.pop_back();
    if (kind == RunLevel)
        addOverviewTable();
    else if (kind == SuiteLevel)
        addSummaryTable(level);
    addProperties(properties);
    m_levels.push_back(level);
}

void QAResultReportBuilder::endLevel()
{
    Level level = m_levels.back();
    m_levels.pop_back();
    const int state = stateOf(level.counts);
    level.title->setStyle(titleStyle(level.titleLevel, state));
    const bool overviewRow =
        level.kind == RunLevel || (m_levels.size() == 1 && level.kind == SuiteLevel);
    const Figures figures = level.summary[0] || overviewRow ? figuresOf(level.counts) : Figures();
    if (level.summary[0])
        fillSummary(level, figures);
    checkDeclared(level);
    closeTo(level.openItems);
    endNode(stateText(state));
    if (level.kind == RunLevel)
        addOverviewRow(m_words.allSuites, QString(), level.counts, figures);
    else if (overviewRow)
        addOverviewRow(level.name, level.node->id(), level.counts, figures);
    if (!m_levels.empty())
        m_levels.back().counts.add(level.counts);
}

void QAResultReportBuilder::addOverviewTable()
{
    m_overview = new DTable(DTable::Grid);
    m_overview->setWidths({0.4, 0.15, 0.15, 0.15, 0.15});
    open(m_overview);
    open(new DRow);
    for (const QString& heading : m_words.overviewHeadings)
        add(new DCellText(0, 0, heading))->setStyle(m_named[ArrayTitleStyle]);
    m_overviewLastRow = m_open.back().item;
    m_open.pop_back();
    m_open.pop_back();
}

// A row of the run's overview, added when its suite has ended: the table
// stands before the suites, so the row goes in out of the reading order
// and binds no node.
void QAResultReportBuilder::addOverviewRow(const QString& name, const QString& anchor,
                                           const Counts& counts, const Figures& figures)
{
    if (!m_overview)
        return;
    auto* row = new DRow;
    m_overview->insertAfter(m_overviewLastRow, row);
    m_overviewLastRow = row;
    const bool total = anchor.isEmpty();
    DItem* last = nullptr;
    auto cell = [&](DItem* item, NamedStyle named) {
        item->setStyle(m_named[total ? ArrayTitleStyle : named]);
        row->insertAfter(last, item);
        last = item;
    };
    if (total) {
        cell(new DCellText(0, 0, name), ArrayTitleStyle);
    } else {
        // A place of this report: the viewer moves to it, a page has it.
        auto* link = new DLink(QALinkTarget::localLink(anchor));
        link->setStyle(m_named[LinkStyle]);
        link->insertAfter(nullptr, new DText(name.isEmpty() ? m_words.unnamed : name));
        auto* first = new DCell;
        first->insertAfter(nullptr, link);
        cell(first, ArrayStyle);
    }
    cell(new DCellText(0, 0, figures.texts[0]), counts.passed > 0 ? ArrayPassedStyle : ArrayStyle);
    cell(new DCellText(0, 0, figures.texts[1]), counts.failed > 0 ? ArrayFailedStyle : ArrayStyle);
    cell(new DCellText(0, 0, figures.texts[2]),
         counts.inconclusive > 0 ? WarningStyle : ArrayStyle);
    cell(new DCellText(0, 0, figures.texts[3]), ArrayStyle);
}

void QAResultReportBuilder::checkDeclared(const Level& level)
{
    const qint64* declared = level.declared;
    const Counts& counted = level.counts;
    QStringList differences;
    if (declared[0] >= 0 && declared[0] != counted.total())
        differences.append(Texts::tr("%1 tests (%2 read)").arg(declared[0]).arg(counted.total()));
    if (declared[1] >= 0 || declared[2] >= 0) {
        const qint64 failed =
            QATestCount::add(qMax<qint64>(declared[1], 0), qMax<qint64>(declared[2], 0));
        if (failed != counted.failed)
            differences.append(
                Texts::tr("%1 failures and errors (%2 read)").arg(failed).arg(counted.failed));
    }
    if (declared[3] >= 0 && declared[3] != counted.inconclusive)
        differences.append(
            Texts::tr("%1 skipped (%2 read)").arg(declared[3]).arg(counted.inconclusive));
    if (!differences.isEmpty())
        warning(
            Texts::tr("The file claims %1 for %2; the counts shown are those of the cases read.")
                .arg(differences.join(QStringLiteral(", ")), level.name));
}

void QAResultReportBuilder::beginSuite(const QString& name,
                                       const QList<QPair<QString, QString>>& properties)
{
    if (m_levels.empty())
        return;
    if (m_levels.back().kind == ClassLevel)
        endLevel();
    beginLevel(SuiteLevel, name, properties);
}

void QAResultReportBuilder::beginClass(const QString& name)
{
    if (m_levels.empty())
        return;
    if (m_levels.back().kind == ClassLevel)
        endLevel();
    beginLevel(ClassLevel, name, {});
}

void QAResultReportBuilder::endClass()
{
    if (!m_levels.empty() && m_levels.back().kind == ClassLevel)
        endLevel();
}

// A class left open ends with its suite.
void QAResultReportBuilder::endSuite()
{
    endClass();
    if (!m_levels.empty() && m_levels.back().kind == SuiteLevel)
        endLevel();
}

void QAResultReportBuilder::declaredTotals(qint64 tests, qint64 failures, qint64 errors,
                                           qint64 skipped)
{
    if (m_levels.empty())
        return;
    qint64* declared = m_levels.back().declared;
    declared[0] = tests;
    declared[1] = failures;
    declared[2] = errors;
    declared[3] = skipped;
}

void QAResultReportBuilder::warning(const QString& text)
{
    if (m_open.empty())
        return;
    addParagraph(text, m_named[WarningStyle]);
}

void QAResultReportBuilder::count(QAResultCase::State state)
{
    Counts& counts = m_levels.back().counts;
    switch (state) {
    case QAResultCase::Passed:
        counts.passed = QATestCount::add(counts.passed, 1);
        m_okTotal = QATestCount::add(m_okTotal, 1);
        break;
    case QAResultCase::Failed:
        counts.failed = QATestCount::add(counts.failed, 1);
        m_koTotal = QATestCount::add(m_koTotal, 1);
        break;
    case QAResultCase::Inconclusive:
        counts.inconclusive = QATestCount::add(counts.inconclusive, 1);
        m_neTotal = QATestCount::add(qMax<qint64>(m_neTotal, 0), 1);
        break;
    }
}

void QAResultReportBuilder::addCase(const QAResultCase& testCase)
{
    if (m_levels.empty())
        return;
    static const int states[] = {PassedState, FailedState, NotRunState};
    const int state = states[testCase.state];
    QAReporterNode* node = appendNode(testCase.name, CaseType);
    const int titleLevel = nextTitleLevel();
    // The node's id names its title: the string is shared, not copied.
    const QString anchor = node->id();
    auto* title = static_cast<DTitle*>(open(new DTitle(titleLevel)));
    title->setName(anchor);
    title->setStyle(this->titleStyle(titleLevel, state));
    add(new DText(testCase.name.isEmpty() ? m_words.unnamed : testCase.name));
    m_open.pop_back();
    const double seconds = boundedSeconds(testCase.seconds);
    node->seconds = seconds;
    addCaseBody(testCase, anchor, seconds);
    finishNode(node, stateText(state));

    count(testCase.state);
    if (seconds >= 0) {
        Counts& counts = m_levels.back().counts;
        counts.seconds = qMin(counts.seconds + seconds, MaxSeconds);
        counts.timed = true;
    }
}

// Runs repeat the same few times ("0.001 s") over and over: their lines are
// made once and shared. The key picks one slot of a fixed table, so a
// repeated time costs an index instead of a hash lookup and the pool stays
// small; times from 0 to 1.365 s have a slot each.
QString QAResultReportBuilder::timedLine(int state, double time)
{
    if (time >= 10)
        return m_stateLines[state].arg(seconds(time));
    const qint64 key = qint64(qRound64(time * 1000)) * 3 + state;
    if (m_timedLines.empty())
        m_timedLines.resize(MaxSharedLines);
    TimedLine& slot = m_timedLines[size_t(key % MaxSharedLines)];
    if (slot.key != key) {
        slot.key = key;
        slot.line = makeTimedLine(state, time);
    }
    return slot.line;
}

// The line of a time below ten seconds. A time of whole milliseconds (what
// the nearest double to "0.754" is) reads as its digits, written here
// without the general number formatter and QString::arg, which cost more
// than the rest of the case; any other time goes through them to be
// rounded as seconds() does.
QString QAResultReportBuilder::makeTimedLine(int state, double time) const
{
    const qint64 milliseconds = qRound64(time * 1000);
    const QStringView prefix = m_words.timedPrefix[state];
    if (prefix.isNull() || std::signbit(time) || milliseconds >= 10000 ||
        double(milliseconds) / 1000 != time)
        return m_stateLines[state].arg(seconds(time));
    const int value = int(milliseconds);
    const char16_t figure[] = {char16_t(u'0' + value / 1000),
                               u'.',
                               char16_t(u'0' + value / 100 % 10),
                               char16_t(u'0' + value / 10 % 10),
                               char16_t(u'0' + value % 10),
                               u' ',
                               u's'};
    const QStringView suffix = m_words.timedSuffix[state];
    QString line;
    line.reserve(prefix.size() + std::size(figure) + suffix.size());
    line.append(prefix).append(QStringView(figure, std::size(figure))).append(suffix);
    return line;
}

void QAResultReportBuilder::addCaseBody(const QAResultCase& testCase, const QString& anchor,
                                        double seconds)
{
    addParagraph(stateLine(testCase, seconds), m_lineStyles[testCase.state]);
    if (!testCase.failureType.isEmpty() || !testCase.message.isEmpty()) {
        addParagraph(failureLine(testCase), testCase.state == QAResultCase::Failed
                                                ? m_lineStyles[QAResultCase::Failed]
                                                : m_named[NormalStyle]);
    }
    addSourceLink(testCase);
    addOutputs(testCase, anchor);
    addProperties(testCase.properties);
}

// "type: message", or whichever of the two the case has.
QString QAResultReportBuilder::failureLine(const QAResultCase& testCase)
{
    if (testCase.message.isEmpty())
        return testCase.failureType;
    if (testCase.failureType.isEmpty())
        return testCase.message;
    QString line;
    line.reserve(testCase.failureType.size() + 2 + testCase.message.size());
    line.append(testCase.failureType).append(u": ").append(testCase.message);
    return line;
}

// "Passed in 0.012 s", with the class where no class node shows it and
// the flaky mark.
QString QAResultReportBuilder::stateLine(const QAResultCase& testCase, double seconds)
{
    const int state = testCase.state;
    const QString line = seconds >= 0 && state != QAResultCase::Inconclusive
                             ? timedLine(state, seconds)
                             : m_stateLines[3 + state];
    const Level& level = m_levels.back();
    const bool classShown = level.kind == ClassLevel && sameText(level.name, testCase.className);
    const QStringView classPart = testCase.className.isEmpty() || classShown
                                      ? QStringView()
                                      : classSuffix(testCase.className);
    const QStringView flakyPart = testCase.flaky ? QStringView(m_words.flaky) : QStringView();
    if (classPart.isEmpty() && flakyPart.isEmpty())
        return line;
    QString text;
    text.reserve(line.size() + classPart.size() + flakyPart.size());
    text.append(line).append(classPart).append(flakyPart);
    return text;
}

// " · class <name>" for the cases of a class that no class node shows;
// they come one after the other, so the last one made is kept.
const QString& QAResultReportBuilder::classSuffix(const QString& className)
{
    if (m_classSuffix.isNull() || !sameText(m_classSuffixName, className)) {
        m_classSuffixName = className;
        m_classSuffix = QStringLiteral(" \u00b7 ") + m_words.classLine.arg(className);
    }
    return m_classSuffix;
}

// Where a failure happened, when its text says, beats where the file says
// the test is.
void QAResultReportBuilder::addSourceLink(const QAResultCase& testCase)
{
    QASourceLocation location;
    if (testCase.state == QAResultCase::Failed) {
        location = QASourceLocation::find(testCase.message);
        if (!location.isValid())
            location = QASourceLocation::find(testCase.details);
    }
    if (!location.isValid()) {
        location.file = testCase.sourceFile;
        location.line = testCase.sourceLine;
    }
    if (!location.isValid())
        return;
    DItemContainer* paragraph = open(new DParagraph);
    paragraph->setStyle(m_named[NormalStyle]);
    add(new DText(m_at));
    // The link and its text share one string.
    const QString target = location.target();
    DItemContainer* link = open(new DLink(target));
    link->setStyle(m_named[LinkStyle]);
    add(new DText(target));
    m_open.pop_back();
    m_open.pop_back();
}

// The details in the page, or behind a popup link when long; the output
// always behind one.
void QAResultReportBuilder::addOutputs(const QAResultCase& testCase, const QString& anchor)
{
    linesOf(testCase.details, m_lines);
    if (m_lines.size() > FoldedLines)
        addPopup(detailsLabel(m_lines.size()), joined(anchor, u"-details"), m_lines);
    else
        addTextBlock(m_lines);
    linesOf(testCase.systemOut, m_lines);
    if (!m_lines.empty())
        addPopup(m_words.standardOutput, joined(anchor, u"-out"), m_lines);
    linesOf(testCase.systemErr, m_lines);
    if (!m_lines.empty())
        addPopup(m_words.standardError, joined(anchor, u"-err"), m_lines);
    if (m_lines.capacity() > MaxKeptLines)
        std::vector<QStringView>().swap(m_lines);
}

// Traces of a run mostly have the same few lengths: their labels are
// made once per length and shared.
QString QAResultReportBuilder::detailsLabel(size_t lines)
{
    if (lines >= MaxSharedLabels)
        return m_words.details.arg(lines);
    if (m_detailsLabels.size() <= lines)
        m_detailsLabels.resize(lines + 1);
    QString& label = m_detailsLabels[lines];
    if (label.isNull())
        label = m_words.details.arg(lines);
    return label;
}

void QAResultReportBuilder::endRun()
{
    if (!m_tree)
        return;
    while (!m_levels.empty())
        endLevel();
    m_pending.clear();
    m_open.clear();
    m_record = std::make_unique<QAReporterData>();
    m_record->fileName = m_fileName;
    m_record->tree = m_tree.release();
    m_record->document = std::move(m_document);
    m_record->types = m_types;
    m_record->okCount = m_okTotal;
    m_record->koCount = m_koTotal;
    m_record->neCount = m_neTotal;
}

std::unique_ptr<QAReporterData> QAResultReportBuilder::takeRecord()
{
    return std::move(m_record);
}
