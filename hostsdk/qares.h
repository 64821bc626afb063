#ifndef QARES_H
#define QARES_H

#include <QByteArray>

#include <memory>

class QIODevice;
class QAResGroup;
class QAResRGB;
class QAResBoolean;
class QAResInt;
class QAResString;

// One tagged node of a resource tree. Nodes are chained to their following
// siblings with next(); a node owns the chain that follows it, and a group
// owns the chain of its children. Trees of any depth and chains of any
// length are destroyed, searched and written without recursion.
class QARes
{
public:
    enum Kind { Group, RGB, Boolean, Int, String };

    virtual ~QARes();
    QARes(const QARes&) = delete;
    QARes& operator=(const QARes&) = delete;

    Kind kind() const { return m_kind; }
    const char* tag() const { return m_tag.constData(); }
    bool isTag(const char* tag) const;

    QARes* next() const { return m_next; }
    // Takes ownership of `next`; the chain that followed so far is deleted.
    void setNext(QARes* next);
    // Detaches the following chain and hands it to the caller.
    std::unique_ptr<QARes> takeNext();

    // Looks for the first element of `path` among this node and its
    // following siblings, then for each further element among the children
    // of the group found. Null when an element is missing or a node on the
    // way is not a group.
    QARes* search(const char* path, char separator) const;

    QAResGroup* toResGroup();
    const QAResGroup* toResGroup() const;
    QAResRGB* toResRGB();
    const QAResRGB* toResRGB() const;
    QAResBoolean* toResBoolean();
    const QAResBoolean* toResBoolean() const;
    QAResInt* toResInt();
    const QAResInt* toResInt() const;
    QAResString* toResString();
    const QAResString* toResString() const;

    // Writes this node and the nodes following it as an XML resource file.
    bool write(QIODevice* device) const;

    // Deletes a chain with everything below it.
    static void deleteChain(QARes* first);

protected:
    QARes(Kind kind, const char* tag);

private:
    QByteArray m_tag;
    QARes* m_next = nullptr;
    Kind m_kind;
};

#endif
