#ifndef QAREPORTERLINKINDEX_H
#define QAREPORTERLINKINDEX_H

#include <QHash>
#include <QList>

class DItem;
class DLink;
class QAReporterData;
class QAReporterNode;

// The report node that gives each link of a set of records its base
// directory: build costs O(items + nodes) when the nodes' ranges nest,
// nodeOf costs O(1); only link items are kept.
//
// A node's range runs from its start item over the following siblings (and
// everything under them) up to and including its end item with everything
// under it, or to the end of the start item's container when the end item
// is not met there; the end item itself always belongs to it. A link's node
// is the first node, children before their parent and siblings in order,
// whose range holds the link, replaced by its nearest ancestor-or-self with
// a non-empty base, else by the root's node; the first record that has one
// wins. The build assumes that ranges nest like XML elements, as the
// reader makes them: the node is then the innermost range open when the walk
// meets the link. Ranges that do not nest get the same answers at a higher
// cost; the filter makes a few, where a kept node whose first items were
// dropped starts at the item before them, the end of the previous sibling's
// range.
class QAReporterLinkIndex
{
public:
    // Replaces the content with the links of these records' documents.
    void build(const QList<QAReporterData*>& records);
    void clear();
    // Number of links that have a node.
    qsizetype size() const { return m_nodes.size(); }

    // Null when no node holds the link.
    QAReporterNode* nodeOf(const DLink* link) const;

private:
    QHash<const DItem*, QAReporterNode*> m_nodes;
};

#endif
