#include "qaxrodwriter.h"

#include "damlreader.h"
#include "ddocument.h"
#include "qareporterdata.h"
#include "qareporterdatatree.h"
#include "qareporternode.h"
#include "qatestcount.h"

#include <QCoreApplication>
#include <QSaveFile>

#include <algorithm>
#include <limits>
#include <utility>

namespace {

// A position after every item: what is still open closes, what is still
// to come opens.
constexpr qint64 AfterAllItems = std::numeric_limits<qint64>::max();

QString reporterText(const char* text)
{
    return QCoreApplication::translate("Reporter", text);
}

bool isXmlChar(char16_t c)
{
    return c == 0x9 || c == 0xA || c == 0xD ||
           (c >= 0x20 && !QChar::isSurrogate(c) && c != 0xFFFE && c != 0xFFFF);
}

// The text with every character that XML 1.0 cannot hold (control
// characters, U+FFFE, U+FFFF, unpaired surrogates) replaced by U+FFFD, so
// that a hostile name still gives a readable file.
QString xmlSafe(const QString& text)
{
    QString result = text;
    const qsizetype size = result.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t c = result.at(i).unicode();
        if (isXmlChar(c))
            continue;
        if (QChar::isHighSurrogate(c) && i + 1 < size &&
            QChar::isLowSurrogate(result.at(i + 1).unicode())) {
            ++i;
            continue;
        }
        result[i] = QChar::ReplacementCharacter;
    }
    return result;
}

QList<DDocument*> documentsOf(const QList<QAReporterData*>& records)
{
    QList<DDocument*> documents;
    for (const QAReporterData* record : records) {
        if (record && record->document)
            documents.append(record->document.get());
    }
    return documents;
}

} // namespace

QAXrodWriter::QAXrodWriter(QIODevice* device) : DAmlWriter(device) {}

QAXrodWriter::~QAXrodWriter() = default;

bool QAXrodWriter::writeFile(const QString& path, const QList<QAReporterData*>& records,
                             QString* error, QStringList* warnings)
{
    QSaveFile file(path);
    QString problem;
    if (!file.open(QIODevice::WriteOnly)) {
        problem = reporterText(QT_TRANSLATE_NOOP("Reporter", "%1 cannot be written: %2."))
                      .arg(path, file.errorString());
    } else {
        QAXrodWriter writer(&file);
        const bool written = writer.write(records);
        if (warnings)
            *warnings = writer.warnings();
        if (!written) {
            file.cancelWriting();
            problem = reporterText(QT_TRANSLATE_NOOP("Reporter", "%1 was not written: %2"))
                          .arg(path, writer.errorString());
        } else if (!file.commit()) {
            problem = reporterText(QT_TRANSLATE_NOOP("Reporter", "%1 cannot be written: %2."))
                          .arg(path, file.errorString());
        }
    }
    if (error)
        *error = problem;
    return problem.isEmpty();
}

void QAXrodWriter::reset()
{
    m_nodes.clear();
    m_positions.clear();
    m_open.clear();
    m_nodeChain.clear();
    m_nextNode = 0;
    m_nextPosition = 0;
    m_error.clear();
    m_warnings.clear();
}

bool QAXrodWriter::write(const QList<QAReporterData*>& records)
{
    reset();
    collectNodes(records);
    const int deepest = numberItems(records);
    for (Node& node : m_nodes) {
        node.first = node.node ? position(node.node->startItem) : -1;
        node.last = node.node ? position(node.node->endItem) : -1;
    }
    spreadSpans();
    assignTotals(records);

    const bool omitDocument = omitsDocument(records);
    const int around = documentsOf(records).size() > 1 ? 2 : omitDocument ? 0 : 1;
    if (around + deepest > DAmlReader::maxDepth()) {
        m_error = reporterText(QT_TRANSLATE_NOOP("Reporter",
                                                 "the report would nest elements %1 levels deep, "
                                                 "deeper than the %2 levels a report may have"))
                      .arg(around + deepest)
                      .arg(DAmlReader::maxDepth());
        return false;
    }

    setAutoFormatting(true);
    // Line breaks only: indentation would grow with the square of the depth.
    xml().setAutoFormattingIndent(0);
    xml().writeStartDocument();
    xml().writeStartElement(QStringLiteral("XROD"));
    writeDocuments(records, omitDocument);
    finishNodes();
    xml().writeEndElement();
    xml().writeEndDocument();
    if (m_error.isEmpty() && hasError()) {
        const QIODevice* device = xml().device();
        m_error = device ? device->errorString()
                         : reporterText(QT_TRANSLATE_NOOP("Reporter", "the output failed"));
    }
    return m_error.isEmpty();
}

// The nodes of every tree below its root, in tree order, walked with an
// explicit stack.
void QAXrodWriter::collectNodes(const QList<QAReporterData*>& records)
{
    using TreeNode = QTreeNode<QAReporterNode>;
    QList<std::pair<const TreeNode*, int>> pending;
    for (const QAReporterData* record : records) {
        if (!record || !record->tree || !record->tree->root())
            continue;
        const QList<TreeNode*>& roots = record->tree->root()->children;
        for (auto child = roots.crbegin(); child != roots.crend(); ++child)
            pending.append({*child, -1});
        while (!pending.isEmpty()) {
            const auto [treeNode, parent] = pending.takeLast();
            const int index = int(m_nodes.size());
            m_nodes.append({treeNode->data, parent, index + 1, -1, -1, QString()});
            for (auto child = treeNode->children.crbegin(); child != treeNode->children.crend();
                 ++child)
                pending.append({*child, index});
        }
    }
    for (const Node& node : std::as_const(m_nodes)) {
        if (!node.node)
            continue;
        if (node.node->startItem)
            m_positions.insert(node.node->startItem, -1);
        if (node.node->endItem)
            m_positions.insert(node.node->endItem, -1);
    }
}

// Numbers the items the nodes refer to in writing order (each document
// first, then its items in document order) and returns the depth of the
// deepest item, a document being at depth 1.
int QAXrodWriter::numberItems(const QList<QAReporterData*>& records)
{
    qint64 number = 0;
    int deepest = 0;
    QList<std::pair<const DItem*, int>> pending;
    for (const DDocument* document : documentsOf(records)) {
        pending.append({document, 1});
        while (!pending.isEmpty()) {
            const auto [item, depth] = pending.takeLast();
            deepest = qMax(deepest, depth);
            const auto found = m_positions.find(item);
            if (found != m_positions.end())
                *found = number;
            ++number;
            if (item != document && item->next())
                pending.append({item->next(), depth});
            if (item->isContainer() && item->toContainer()->first())
                pending.append({item->toContainer()->first(), depth + 1});
        }
    }
    return deepest;
}

qint64 QAXrodWriter::position(const DItem* item) const
{
    return item ? m_positions.value(item, -1) : -1;
}

// Widens each node's span to cover its descendants' (a child cannot open
// before its parent nor close after it) and sets where each subtree ends.
// Children come after their parent, so one backward pass does it.
void QAXrodWriter::spreadSpans()
{
    for (Node& node : m_nodes) {
        if (node.first < 0)
            node.first = node.last;
        node.last = qMax(node.last, node.first);
    }
    for (qsizetype i = m_nodes.size() - 1; i >= 0; --i) {
        const Node& node = m_nodes.at(i);
        if (node.parent < 0)
            continue;
        Node& parent = m_nodes[node.parent];
        parent.end = qMax(parent.end, node.end);
        if (node.first >= 0 && (parent.first < 0 || node.first < parent.first))
            parent.first = node.first;
        parent.last = qMax(parent.last, node.last);
    }
}

// The reader sums the "sum" attributes by the node's state: the first node
// of each state carries the reports' total for it.
void QAXrodWriter::assignTotals(const QList<QAReporterData*>& records)
{
    qint64 ok = 0;
    qint64 ko = 0;
    qint64 ne = -1;
    for (const QAReporterData* record : records) {
        if (!record)
            continue;
        ok = QATestCount::add(ok, qMax<qint64>(record->okCount, 0));
        ko = QATestCount::add(ko, qMax<qint64>(record->koCount, 0));
        if (record->neCount >= 0)
            ne = QATestCount::add(qMax<qint64>(ne, 0), record->neCount);
    }
    const std::pair<const char*, qint64> totals[] = {{"ok", ok}, {"ko", ko}, {"NE", ne}};
    for (const auto& [state, total] : totals) {
        if (total < 0 || (total == 0 && qstrcmp(state, "NE") != 0))
            continue;
        const QLatin1String name(state);
        auto carrier = std::find_if(m_nodes.begin(), m_nodes.end(), [&name](const Node& node) {
            return node.node && node.node->state == name;
        });
        if (carrier != m_nodes.end())
            carrier->sum = QString::number(total);
        else if (total > 0)
            m_warnings.append(
                reporterText(QT_TRANSLATE_NOOP("Reporter", "no test node is in state \"%1\": its "
                                                           "total of %2 is not kept"))
                    .arg(name)
                    .arg(total));
    }
}

// A single document without name, title or style that no node starts or
// ends on is left implicit, as the reader makes it for a file whose first
// element is not DOCUMENT: its items then sit right in the file's root, and
// so does the tree's root binding.
bool QAXrodWriter::omitsDocument(const QList<QAReporterData*>& records) const
{
    const QList<DDocument*> documents = documentsOf(records);
    if (documents.size() != 1)
        return false;
    const DDocument* document = documents.first();
    if (!document->name().isNull() || !document->title().isNull() || document->style() ||
        !document->first() || document->first()->kind() == DItem::Document)
        return false;
    for (const QAReporterData* record : records) {
        if (record && record->tree && record->tree->root() && record->tree->root()->data &&
            record->tree->root()->data->startItem == document)
            return false;
    }
    return std::none_of(m_nodes.begin(), m_nodes.end(),
                        [](const Node& node) { return node.first == 0 || node.last == 0; });
}

void QAXrodWriter::writeDocuments(const QList<QAReporterData*>& records, bool omitDocument)
{
    const QList<DDocument*> documents = documentsOf(records);
    if (documents.size() == 1 && omitDocument) {
        m_nextPosition = 1;
        for (DItem* item = documents.first()->first(); item; item = item->next())
            DAmlWriter::write(item);
    } else if (documents.size() == 1) {
        DAmlWriter::write(documents.first());
    } else if (documents.size() > 1) {
        // The root document that holds the reports' documents: no name nor
        // title, which would stand for one of them only.
        xml().writeStartElement(QStringLiteral("DOCUMENT"));
        m_open.append(-1);
        for (DDocument* document : documents)
            DAmlWriter::write(document);
        closeNodesAboveItem();
        m_open.removeLast();
        xml().writeEndElement();
    }
}

void QAXrodWriter::beforeStartTag(const DItem* item)
{
    const qint64 here = m_nextPosition++;
    closeFinishedNodes(here);
    openDueNodes(here);
    // Nodes just opened that do not reach this item (nodes without items)
    // close before it, or the reader would bind them to it.
    closeFinishedNodes(here);
    checkDepth();
    if (item->isContainer())
        m_open.append(-1);
}

void QAXrodWriter::leaveItemChildren(DItemContainer* container)
{
    closeNodesAboveItem();
    m_open.removeLast();
    DAmlWriter::leaveItemChildren(container);
}

// Closes the innermost open nodes whose last item is written.
void QAXrodWriter::closeFinishedNodes(qint64 position)
{
    while (!m_open.isEmpty() && m_open.last() >= 0 && m_nodes.at(m_open.last()).last < position)
        closeNodeAndRest();
}

// Opens, in tree order, the nodes whose first item comes at position (or
// came already) and the nodes without items. A node opens inside its parent
// node only: the earlier siblings still open close first, unless an item
// element opened inside them is still open; then the node waits, and so do
// the nodes after it.
void QAXrodWriter::openDueNodes(qint64 position)
{
    while (m_nextNode < m_nodes.size()) {
        const Node& node = m_nodes.at(m_nextNode);
        if (node.first > position)
            return;
        while (innermostNode() != node.parent) {
            // A node without items can wait for its open siblings to end;
            // one with items cannot, or it would lose them.
            if (node.first < 0 || m_open.isEmpty() || m_open.last() < 0)
                return;
            closeNodeAndRest();
        }
        openNode(m_nextNode++);
    }
}

// Before an item's end tag: the nodes opened inside it close there.
void QAXrodWriter::closeNodesAboveItem()
{
    while (!m_open.isEmpty() && m_open.last() >= 0)
        closeNodeAndRest();
}

// Closes the innermost open element, a node, after writing (empty) those of
// its descendants that are not written yet, so that the tree stays whole.
void QAXrodWriter::closeNodeAndRest()
{
    const int closing = m_open.last();
    while (true) {
        const int top = m_open.last();
        // The next node belongs to top's subtree: being next in tree order
        // with every ancestor open, top is its parent.
        if (m_nextNode < m_nodes.at(top).end) {
            openNode(m_nextNode++);
            continue;
        }
        closeNode();
        if (top == closing)
            return;
    }
}

void QAXrodWriter::openNode(int index)
{
    checkDepth();
    const Node& entry = m_nodes.at(index);
    xml().writeStartElement(QStringLiteral("XROD:NODE"));
    static const QAReporterNode empty;
    const QAReporterNode& node = entry.node ? *entry.node : empty;
    // The reader requires name and type.
    xml().writeAttribute(QStringLiteral("name"), xmlSafe(node.name));
    xml().writeAttribute(QStringLiteral("type"), xmlSafe(node.type));
    if (!node.state.isNull())
        xml().writeAttribute(QStringLiteral("state"), xmlSafe(node.state));
    if (!node.icon().isNull())
        xml().writeAttribute(QStringLiteral("icone"), xmlSafe(node.icon()));
    if (!entry.sum.isEmpty())
        xml().writeAttribute(QStringLiteral("sum"), entry.sum);
    if (!node.base().isNull())
        xml().writeAttribute(QStringLiteral("base"), xmlSafe(node.base()));
    m_open.append(index);
    m_nodeChain.append(index);
}

void QAXrodWriter::closeNode()
{
    xml().writeEndElement();
    m_open.removeLast();
    m_nodeChain.removeLast();
}

// After the documents: the nodes still open close, those still to come
// follow in the file's root, without items.
void QAXrodWriter::finishNodes()
{
    while (true) {
        closeNodesAboveItem();
        if (m_nextNode >= m_nodes.size())
            return;
        openDueNodes(AfterAllItems);
        if (m_open.isEmpty())
            openNode(m_nextNode++); // cannot happen with whole trees; ensures progress
    }
}

// The reader refuses elements nested deeper than its limit: a file that
// would have them is not written.
void QAXrodWriter::checkDepth()
{
    // The file's root, the open elements and the one about to open.
    const qsizetype depth = 1 + m_open.size() + 1;
    if (depth > DAmlReader::maxDepth() && m_error.isEmpty())
        m_error =
            reporterText(QT_TRANSLATE_NOOP("Reporter", "the report would nest elements deeper than "
                                                       "the %1 levels a report may have"))
                .arg(DAmlReader::maxDepth());
}
