#ifndef PREFERENCEITEM_H
#define PREFERENCEITEM_H

#include "preferencepageinterface.h"

#include <QObject>

// Base of a preferences page: keeps its title, tags and its links in the
// page tree. The links do not own the pages they point to.
class PreferenceItem : public QObject, public PreferencePageInterface
{
    Q_OBJECT
public:
    PreferenceItem(const QString& title, const QString& tag, const QString& helpTag,
                   QObject* parent = nullptr);

    QString tag() const override { return m_tag; }
    QString title() const override { return m_title; }
    QString helpTag() const override { return m_helpTag; }
    void cancel() override {}
    PreferencePageInterface* child() const override { return m_child; }
    PreferencePageInterface* next() const override { return m_next; }

    void setChild(PreferencePageInterface* child) { m_child = child; }
    void setNext(PreferencePageInterface* next) { m_next = next; }

private:
    QString m_title;
    QString m_tag;
    QString m_helpTag;
    PreferencePageInterface* m_child = nullptr;
    PreferencePageInterface* m_next = nullptr;
};

#endif
