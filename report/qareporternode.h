#ifndef QAREPORTERNODE_H
#define QAREPORTERNODE_H

#include <QString>

#include <memory>

class DItem;

// One test node of a report (workspace, suite, test, test case...), bound to
// the document items where its part of the report begins and ends. The
// items belong to the document.
class QAReporterNode
{
public:
    QAReporterNode() = default;
    QAReporterNode(const QAReporterNode& other);
    QAReporterNode& operator=(const QAReporterNode& other);
    QAReporterNode(QAReporterNode&& other) noexcept = default;
    QAReporterNode& operator=(QAReporterNode&& other) noexcept = default;
    ~QAReporterNode();

    // The word of the status icon a tree shows for the node: "ok", "KO" or
    // "ne"; states compare exactly, so any other state ("NE" included)
    // shows none and gives "--".
    QString statusWord() const;
    // The id of a reader's or an importer's number-th node: the number in
    // decimal, written without the general number formatter, which costs
    // more than the rest of a node.
    static QString idOf(int number);

    DItem* startItem = nullptr;
    DItem* endItem = nullptr;
    QString name;
    QString type;
    QString state;
    // The case's time in seconds; negative when the report gives none.
    double seconds = -1;

    // The node's id: its number among the nodes of its report, in decimal
    // ("1", "2"...), or a text given in its place (a view's root takes its
    // document's name); null when the node has neither. Kept as a number,
    // as nearly every node has one, and made into text when asked for.
    QString id() const;
    void setNumber(int number);
    void setId(const QString& id);

    // The icon's name and the folder that relative sources start from; null
    // when the report gives none.
    const QString& icon() const { return m_rare ? m_rare->icon : noText(); }
    const QString& base() const { return m_rare ? m_rare->base : noText(); }
    void setIcon(const QString& icon) { rare().icon = icon; }
    void setBase(const QString& base) { rare().base = base; }

private:
    // Few nodes carry these: apart, they keep a node at 112 bytes.
    struct Rare
    {
        QString icon;
        QString base;
        QString id;
    };
    static const QString& noText();
    Rare& rare();

    std::unique_ptr<Rare> m_rare;
    int m_number = 0; // none below 1
};

#endif
