#ifndef QASTXMLRODHANDLER_H
#define QASTXMLRODHANDLER_H

#include "damlhandler.h"
#include "drecentcache.h"

#include <QHash>
#include <QStack>
#include <QStringList>

#include <memory>

class QFile;
class QAReporterDataTree;
class QAReporterNode;
class QAStudioInterface;

// Reads a report index file: the XROD and XROD:NODE elements build the tree
// of test nodes, everything else is AML and builds the report document.
// The root element must be XROD: other XML (a picture, tags in the wrong
// case) holds no test node and is refused, never read as an empty report.
// Each node is bound to the first document item made inside it and to the
// last item made before it closes. Test counts are summed by state.
class QAstXmlRodHandler : public DAmlHandler
{
public:
    QAstXmlRodHandler();
    ~QAstXmlRodHandler() override;

    void setFile(QFile* file) { m_file = file; }
    QFile* file() const { return m_file; }
    void setProgress(QAStudioInterface* progress) { m_progress = progress; }
    QAStudioInterface* progress() const { return m_progress; }
    // The name messages give the input; empty for input without a name.
    void setSourceName(const QString& name) { m_sourceName = name; }

    bool startDocument() override;
    bool startElement(const QString& namespaceURI, const QString& localName, QStringView qName,
                      const DXmlAttributes& attributes) override;
    bool endElement(const QString& namespaceURI, const QString& localName,
                    QStringView qName) override;

    // The tree built by the last parse; null before its root was read.
    QAReporterDataTree* tree() const { return m_tree; }
    // Hands the tree over to the caller; a second call returns null.
    std::unique_ptr<QAReporterDataTree> takeTree();
    // Hands the tree over to the caller and goes on adding to it while the
    // parse lasts: the caller keeps it alive until then. Null before the
    // root was read.
    QAReporterDataTree* shareTree();
    const QStringList& types() const { return m_types; }
    // Totals saturate at QATestCount::Max instead of wrapping round.
    qint64 okTotal() const { return m_okTotal; }
    qint64 koTotal() const { return m_koTotal; }
    // -1 when the file gives no inconclusive count.
    qint64 neTotal() const { return m_neTotal; }

    // Ends the nodes still open when the input was cut short: each ends with
    // the last item read.
    void endOpenNodes();

    // Sets the error string for a failure found outside the parse itself.
    void setFailure(const QString& text) { setErrorString(text); }

    // Progress is counted per element, across all handlers: only one file
    // is read at a time.
    static void resetSteps() { s_step = 0; }
    static void setTotalSteps(int total) { s_totalSteps = total; }
    static int step() { return s_step; }
    static int totalSteps() { return s_totalSteps; }

private:
    bool refuseRoot(QStringView qName);
    bool startRoot();
    bool startNode(const DXmlAttributes& attributes);
    bool endNode();
    bool startAml(QStringView qName, const DXmlAttributes& attributes);
    void addToTotals(QStringView state, QStringView sum);
    void reportProgress();
    // One QString per distinct value, so that nodes share the data.
    using RecentValues = DRecentCache<QString, 16>;
    static QString shared(QHash<QStringView, QString>& pool, RecentValues& recent,
                          QStringView value);

    QFile* m_file = nullptr;
    QAStudioInterface* m_progress = nullptr;
    QString m_sourceName;
    QAReporterDataTree* m_tree = nullptr;
    bool m_treeShared = false;         // owned by whoever shareTree() gave it to
    QStack<QAReporterNode*> m_pending; // begun, not yet bound to an item
    QStringList m_types;
    QHash<QStringView, QString> m_typePool;
    QHash<QStringView, QString> m_valuePool;
    // In front of the pools: nodes repeat the same few types and states.
    RecentValues m_recentTypes;
    RecentValues m_recentValues;
    // Case names repeat from test to test ("case_01", "setUp"): short ones
    // are shared.
    TextPool m_namePool;
    int m_nodeCount = 0;
    qint64 m_okTotal = 0;
    qint64 m_koTotal = 0;
    qint64 m_neTotal = -1;
    bool m_rootOpen = false;
    bool m_rootSeen = false; // the document element was met

    static int s_step;
    static int s_totalSteps;
};

#endif
