#ifndef DIENTRY_H
#define DIENTRY_H

#include "ditem.h"

// An entry of a index: a text that leads to a target.
class DIEntry : public DItem
{
public:
    explicit DIEntry(const QString& target = QString(), const QString& text = QString());
    DIEntry(const DIEntry& other) = default;

    const QString& target() const { return m_target; }
    void setTarget(const QString& target) { m_target = target; }
    const QString& text() const { return m_text; }
    void setText(const QString& text) { m_text = text; }
    void appendText(QStringView text) { m_text.append(text); }

private:
    QString m_target;
    QString m_text;
};

#endif
