#include "qareportercases.h"

#include "dblocktext.h"
#include "ditem.h"
#include "ditemcontainer.h"
#include "ditemwalk.h"
#include "dstyle.h"
#include "qareporterdata.h"
#include "qareporternode.h"

#include <QHash>

#include <functional>
#include <vector>

namespace {

bool isCaseType(const QString& type)
{
    return type.compare(QLatin1String("testcase"), Qt::CaseInsensitive) == 0;
}

QAReporterCase::State stateOf(const QAReporterNode& node)
{
    if (node.state == QLatin1String("ko"))
        return QAReporterCase::Failed;
    if (node.state == QLatin1String("ok"))
        return QAReporterCase::Passed;
    return QAReporterCase::Inconclusive;
}

bool hasCaseType(const QTreeNode<QAReporterNode>* root)
{
    std::vector<const QTreeNode<QAReporterNode>*> pending{root};
    while (!pending.empty()) {
        const QTreeNode<QAReporterNode>* node = pending.back();
        pending.pop_back();
        if (node->data && isCaseType(node->data->type))
            return true;
        pending.insert(pending.end(), node->children.cbegin(), node->children.cend());
    }
    return false;
}

// The item of the case's own items that holds the last one: the ancestor
// of last (or last itself) that is a sibling of first; null when none is.
const DItem* lastSibling(const DItem* first, const DItem* last)
{
    if (!first || !last)
        return nullptr;
    for (const DItem* item = last; item; item = item->parent())
        if (item->parent() == first->parent())
            return item;
    return nullptr;
}

// The first named item of the case's own items, as a place to link to.
QString anchorOf(const QAReporterNode& node)
{
    const DItem* end = lastSibling(node.startItem, node.endItem);
    for (const DItem* item = node.startItem; item; item = item->next()) {
        if (!item->name().isEmpty())
            return item->name();
        if (item == end)
            break;
    }
    return QString();
}

using TreeNode = QTreeNode<QAReporterNode>;
// Called with each case's tree node and path.
using CaseVisit = std::function<void(const TreeNode&, const QString&)>;

// Walks one record's tree depth first, keeping the path of names, and
// visits its cases in document order.
void walkCases(const TreeNode* root, const CaseVisit& visit)
{
    if (!root)
        return;
    const bool byType = hasCaseType(root);
    struct Step
    {
        const TreeNode* node;
        int pathLength; // the path's length before this node's name
    };
    // The tree's root stands for the file; a single node below it is
    // the run (a workspace, a result file's run) and no part of a path.
    const TreeNode* top = root;
    if (top->children.size() == 1 && !top->children.first()->children.isEmpty())
        top = top->children.first();
    std::vector<Step> pending;
    for (auto it = top->children.crbegin(); it != top->children.crend(); ++it)
        pending.push_back({*it, 0});
    QString path;
    while (!pending.empty()) {
        const Step step = pending.back();
        pending.pop_back();
        path.truncate(step.pathLength);
        const QAReporterNode* data = step.node->data;
        if (!path.isEmpty())
            path += QLatin1Char('/');
        path += data ? data->name : QString();
        const bool isCase =
            data && (byType ? isCaseType(data->type) : step.node->children.isEmpty());
        if (isCase) {
            visit(*step.node, path);
            continue;
        }
        const int length = int(path.size());
        for (auto it = step.node->children.crbegin(); it != step.node->children.crend(); ++it)
            pending.push_back({*it, length});
    }
}

void walkCases(const QList<QAReporterData*>& records,
               const std::function<void(const TreeNode&, const QString&, const QString&)>& visit)
{
    for (const QAReporterData* record : records) {
        if (record && record->tree)
            walkCases(record->tree->root(), [&](const TreeNode& node, const QString& path) {
                visit(node, path, record->fileName);
            });
    }
}

// The case of a node; count says how many cases of its path came so far,
// this one included.
QAReporterCase caseOf(const TreeNode& treeNode, const QString& path, int count, const QString& file)
{
    const QAReporterNode& node = *treeNode.data;
    QAReporterCase testCase;
    testCase.file = file;
    testCase.path = count == 1 ? path : path + QStringLiteral(" [%1]").arg(count);
    testCase.state = stateOf(node);
    if (testCase.state == QAReporterCase::Failed)
        testCase.message = QAReporterCases::failureMessage(treeNode);
    testCase.seconds = node.seconds;
    testCase.node = &node;
    testCase.anchor = anchorOf(node);
    return testCase;
}

} // namespace

QList<QAReporterCase> QAReporterCases::collect(const QList<QAReporterData*>& records)
{
    QList<QAReporterCase> cases;
    QHash<QString, int> seen;
    walkCases(records, [&](const TreeNode& node, const QString& path, const QString& file) {
        cases.append(caseOf(node, path, ++seen[path], file));
    });
    return cases;
}

QList<QAReporterCase> QAReporterCases::collect(const QAReporterData& record)
{
    QList<QAReporterCase> cases;
    QHash<QString, int> seen;
    if (record.tree)
        walkCases(record.tree->root(), [&](const TreeNode& node, const QString& path) {
            cases.append(caseOf(node, path, ++seen[path], record.fileName));
        });
    return cases;
}

// A failed case's number among the cases of its path counts the others
// before it too, so the cases are walked twice: first for the paths of the
// failed ones, then to count only those paths. Nothing is kept of the
// others, which are most of a large report.
QList<QAReporterCase> QAReporterCases::collectFailed(const QList<QAReporterData*>& records)
{
    QHash<QString, int> failedPaths;
    walkCases(records, [&](const TreeNode& node, const QString& path, const QString&) {
        if (stateOf(*node.data) == QAReporterCase::Failed)
            failedPaths.insert(path, 0);
    });
    QList<QAReporterCase> cases;
    if (failedPaths.isEmpty())
        return cases;
    walkCases(records, [&](const TreeNode& node, const QString& path, const QString& file) {
        const auto found = failedPaths.find(path);
        if (found == failedPaths.end())
            return;
        const int count = ++found.value();
        if (stateOf(*node.data) == QAReporterCase::Failed)
            cases.append(caseOf(node, path, count, file));
    });
    return cases;
}

QString QAReporterCases::failureMessage(const QTreeNode<QAReporterNode>& treeNode)
{
    if (!treeNode.data)
        return QString();
    const QAReporterNode& node = *treeNode.data;
    const DItem* end = lastSibling(node.startItem, node.endItem);
    const DItem* nested = nullptr;
    for (const QTreeNode<QAReporterNode>* child : treeNode.children) {
        if (child->data && child->data->startItem) {
            nested = child->data->startItem;
            break;
        }
    }
    // The case's items and what they hold (a section, a list), paragraphs
    // not entered, up to the first item of a nested node.
    QString message;
    bool reachedNested = false;
    for (const DItem* item = node.startItem; item && !reachedNested; item = item->next()) {
        DItemWalk::walk(item, [&](const DItem* each) {
            reachedNested = reachedNested || each == nested;
            if (reachedNested)
                return false;
            if (each->kind() != DItem::Paragraph)
                return each->kind() != DItem::Popup;
            if (each->style() && each->style()->name().endsWith(QLatin1String(" Failed")))
                message = DBlockText::collapse(DBlockText::plainText(each, 0), true).trimmed();
            return false;
        });
        if (item == end)
            break;
    }
    return message;
}
