#ifndef QAXRODWRITER_H
#define QAXRODWRITER_H

#include "damlwriter.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

class QAReporterData;
class QAReporterNode;

// Writes loaded reports back as one report index file: the XROD:NODE
// elements of the test trees interleaved with the AML of the documents, so
// that reading the file gives the same trees, types and totals, each node
// bound to the equivalent items.
//
// A node opens right before the start tag of its first item and closes once
// its last item is written, at the first point where it is the innermost
// open element; that is where the reader binds it again. Nodes without items
// are written empty where they come in the tree. Bindings that no XML
// nesting can express (a node ending inside an item it did not enclose) are
// kept as near as the nesting allows; the tree itself is always kept.
//
// Several reports: one root document holds each report's document as a
// nested DOCUMENT item, in order, and their top-level nodes sit side by side
// under the file's root. Totals are carried by the "sum" attribute of the
// first node of each state. Characters XML cannot hold are replaced by
// U+FFFD in node attributes (document texts are DAmlWriter's: left out).
// Walks and nesting are iterative; time and memory grow linearly.
class QAXrodWriter : private DAmlWriter
{
public:
    explicit QAXrodWriter(QIODevice* device);
    ~QAXrodWriter() override;

    // Writes the whole file; false with errorString() when the reports
    // cannot be written so that they read back.
    bool write(const QList<QAReporterData*>& records);
    QString errorString() const { return m_error; }
    // Totals that no node of the reports could carry (no node in that
    // state): the file reads back with less.
    const QStringList& warnings() const { return m_warnings; }

    // Writes the reports to path through a temporary file that replaces
    // path only once complete: on failure path is left as it was.
    static bool writeFile(const QString& path, const QList<QAReporterData*>& records,
                          QString* error, QStringList* warnings = nullptr);

private:
    // One test node in tree order, with the positions (item numbers in
    // writing order, -1 for none) of its first and last item, widened to
    // cover its descendants.
    struct Node
    {
        const QAReporterNode* node;
        int parent; // index in m_nodes, -1 for a top-level node
        int end;    // index past the node's last descendant
        qint64 first;
        qint64 last;
        QString sum; // the totals this node carries, if any
    };

    void collectNodes(const QList<QAReporterData*>& records);
    void spreadSpans();
    int numberItems(const QList<QAReporterData*>& records);
    void assignTotals(const QList<QAReporterData*>& records);
    bool omitsDocument(const QList<QAReporterData*>& records) const;
    void writeDocuments(const QList<QAReporterData*>& records, bool omitDocument);
    void reset();
    qint64 position(const DItem* item) const;

    void beforeStartTag(const DItem* item) override;
    void leaveItemChildren(DItemContainer* container) override;

    void closeFinishedNodes(qint64 position);
    void openDueNodes(qint64 position);
    void closeNodesAboveItem();
    void closeNodeAndRest();
    void openNode(int index);
    void closeNode();
    void finishNodes();
    int innermostNode() const { return m_nodeChain.isEmpty() ? -1 : m_nodeChain.last(); }
    void checkDepth();

    QList<Node> m_nodes;
    QHash<const DItem*, qint64> m_positions; // first and last items of nodes
    QList<int> m_open;                       // open elements: node index, or -1 for an item
    QList<int> m_nodeChain;                  // open nodes, innermost last
    int m_nextNode = 0;
    qint64 m_nextPosition = 0;
    QString m_error;
    QStringList m_warnings;
};

#endif
