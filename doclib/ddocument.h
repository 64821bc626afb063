#ifndef DDOCUMENT_H
#define DDOCUMENT_H

#include "ditemcontainer.h"

// The root of a document. Its tag (the item name) identifies it among the
// documents of a view and names its exported file.
class DDocument : public DItemContainer
{
public:
    explicit DDocument(const QString& title = QString(), const QString& tag = QString());
    DDocument(const DDocument& other) = default;

    const QString& tag() const { return name(); }
    void setTag(const QString& tag) { setName(tag); }
    const QString& title() const { return m_title; }
    void setTitle(const QString& title) { m_title = title; }

private:
    QString m_title;
};

#endif
