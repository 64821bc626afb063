#ifndef QTREE_H
#define QTREE_H

#include <QList>
#include <QStack>
#include <QtGlobal>

// A generic ordered tree of data pointers with one built-in cursor and a
// history of the elementary moves made by the last operation. Replaying the
// history of a walk on a second tree repeats the walk there.

enum IterateDirection { AddChild = 0, Up = 1, Down = 2, Next = 3, Previous = 4 };
enum IterateMode { PreOrder = 0, ReversePreOrder = 1, SiblingOnly = 2 };

template <class T> class QTreeNode final
{
public:
    explicit QTreeNode(T* data = nullptr) : data(data) {}
    QTreeNode(const QTreeNode&) = delete;
    QTreeNode& operator=(const QTreeNode&) = delete;

    // Deletes the data when auto-delete is on, then the children when the
    // child list owns them. The subtree is released with an explicit work
    // list, so neither long sibling chains nor deep trees recurse.
    ~QTreeNode()
    {
        if (autoDelete)
            delete data;
        if (!childrenAutoDelete)
            return;
        QList<QTreeNode*> pending;
        pending.swap(children);
        while (!pending.isEmpty()) {
            QTreeNode* node = pending.takeLast();
            if (node->childrenAutoDelete) {
                pending.append(node->children);
                node->children.clear();
            }
            delete node;
        }
    }

    // Sets the flag on this node, its child list and the whole subtree.
    void setAutoDelete(bool flag)
    {
        QList<QTreeNode*> pending{this};
        while (!pending.isEmpty()) {
            QTreeNode* node = pending.takeLast();
            node->autoDelete = flag;
            node->childrenAutoDelete = flag;
            pending.append(node->children);
        }
    }

    // No virtual table, and the flags last: a node takes 40 bytes, and
    // report trees have hundreds of thousands of them.
    T* data = nullptr;
    QList<QTreeNode*> children;
    bool autoDelete = false;
    bool childrenAutoDelete = false;
};

template <class T> class QTreeIterator
{
public:
    explicit QTreeIterator(QTreeNode<T>* node) : m_current(node)
    {
        if (!node)
            qWarning("QTreeIterator<type>::QTreeIterator<type> : Null parameter");
    }

    T* toFirstChild() { return toChild(0); }
    T* toLastChild() { return m_current ? toChild(int(m_current->children.size()) - 1) : nullptr; }
    T* toNextSibling() { return toSibling(+1); }
    T* toPrevSibling() { return toSibling(-1); }

    T* toRoot()
    {
        if (m_ancestors.isEmpty() && !m_current)
            return nullptr;
        if (!m_ancestors.isEmpty()) {
            m_current = m_ancestors.first();
            m_ancestors.clear();
            m_positions.clear();
        }
        return m_current->data;
    }

    // Moves to the parent; false on the root.
    bool toParent()
    {
        if (m_ancestors.isEmpty())
            return false;
        m_current = m_ancestors.pop();
        m_positions.pop();
        return true;
    }

    bool hasParent() const { return !m_ancestors.isEmpty(); }
    int depth() const { return int(m_ancestors.size()); }
    QTreeNode<T>* current() const { return m_current; }

private:
    T* toChild(int index)
    {
        if (!m_current || m_current->children.isEmpty())
            return nullptr;
        m_ancestors.push(m_current);
        m_positions.push(index);
        m_current = m_current->children.at(index);
        return m_current->data;
    }

    T* toSibling(int step)
    {
        if (m_ancestors.isEmpty())
            return nullptr;
        const QList<QTreeNode<T>*>& siblings = m_ancestors.top()->children;
        const int index = m_positions.top() + step;
        if (index < 0 || index >= siblings.size())
            return nullptr;
        m_positions.top() = index;
        m_current = siblings.at(index);
        return m_current->data;
    }

    QTreeNode<T>* m_current;
    QStack<QTreeNode<T>*> m_ancestors; // top = parent of m_current
    QStack<int> m_positions;           // index of each node of the path in its parent
};

template <class T> class QTree
{
public:
    QTree() = default;
    explicit QTree(T* rootData)
        : m_root(new QTreeNode<T>(rootData)), m_iterator(new QTreeIterator<T>(m_root))
    {
    }
    QTree(const QTree&) = delete;
    QTree& operator=(const QTree&) = delete;

    virtual ~QTree()
    {
        delete m_iterator;
        if (!m_root)
            return;
        // The nodes always belong to the tree; the flag only decides about
        // the data, and is given to each node as it goes, in the one walk
        // that deletes them. Each node is detached from its children first.
        QList<QTreeNode<T>*> pending{m_root};
        while (!pending.isEmpty()) {
            QTreeNode<T>* node = pending.takeLast();
            pending.append(node->children);
            node->children.clear();
            node->autoDelete = m_autoDelete;
            node->childrenAutoDelete = m_autoDelete;
            delete node;
        }
    }

    QTreeNode<T>* rootNode() const { return m_root; }
    void setAutoDelete(bool flag) { m_autoDelete = flag; }
    bool autoDelete() const { return m_autoDelete; }

    // Appends a child to the cursor's node; the cursor stays.
    void appendChild(T* data)
    {
        if (!m_iterator)
            return;
        m_history.clear();
        m_history.append(AddChild);
        m_iterator->current()->children.append(new QTreeNode<T>(data));
    }

    T* toLastChild()
    {
        if (!m_iterator)
            return nullptr;
        m_history.clear();
        m_history.append(Down);
        return m_iterator->toLastChild();
    }

    T* toParent()
    {
        if (!m_iterator)
            return nullptr;
        m_history.clear();
        m_history.append(Up);
        return m_iterator->toParent() ? m_iterator->current()->data : nullptr;
    }

    // One step of a walk; returns the data reached or null at the end.
    T* next(IterateMode mode)
    {
        if (!m_iterator)
            return nullptr;
        m_history.clear();
        switch (mode) {
        case PreOrder:
            return step(&QTreeIterator<T>::toFirstChild, &QTreeIterator<T>::toNextSibling, Next);
        case ReversePreOrder:
            return step(&QTreeIterator<T>::toLastChild, &QTreeIterator<T>::toPrevSibling, Previous);
        case SiblingOnly:
            qWarning("Not implemented...");
            return m_iterator->toNextSibling();
        }
        return nullptr;
    }

    const QList<IterateDirection>& history() const { return m_history; }
    QTreeNode<T>* root() const { return m_root; }
    QTreeIterator<T>* iterator() const { return m_iterator; }

private:
    using Move = T* (QTreeIterator<T>::*)();

    T* step(Move toChild, Move toSibling, IterateDirection siblingMove)
    {
        QTreeIterator<T>& it = *m_iterator;
        if (T* child = (it.*toChild)()) {
            m_history.append(Down);
            return child;
        }
        if (T* sibling = (it.*toSibling)()) {
            m_history.append(siblingMove);
            return sibling;
        }
        while (it.toParent()) {
            m_history.append(Up);
            if (!it.current()->data)
                return nullptr;
            if (it.hasParent()) {
                if (T* sibling = (it.*toSibling)()) {
                    m_history.append(siblingMove);
                    return sibling;
                }
            }
        }
        return nullptr;
    }

    QList<IterateDirection> m_history;
    QTreeNode<T>* m_root = nullptr;
    QTreeIterator<T>* m_iterator = nullptr;
    bool m_autoDelete = false;
};

#endif
