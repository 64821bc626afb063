#ifndef DLINK_H
#define DLINK_H

#include "ditemcontainer.h"

// A link; its children are what the reader clicks on.
class DLink : public DItemContainer
{
public:
    explicit DLink(const QString& target = QString());
    DLink(const DLink& other) = default;

    const QString& target() const { return m_target; }
    void setTarget(const QString& target) { m_target = target; }

    // Cuts the target at its last two ':' into file, kind and tag; missing
    // leading parts are empty ("::index" and "index" both give tag "index").
    void split(QString& file, QString& kind, QString& tag) const;
    static void split(const QString& target, QString& file, QString& kind, QString& tag);

protected:
    DLink(Kind kind, const QString& target);
    // A link may be a subclass: deleted through DItem::destroy() only.
    ~DLink() = default;
    friend class DItem;

private:
    QString m_target;
};

#endif
