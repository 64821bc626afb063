#ifndef DTEXT_H
#define DTEXT_H

#include "ditem.h"

// A run of text.
class DText : public DItem
{
public:
    explicit DText(const QString& text = QString());
    DText(const DText& other) = default;

    const QString& text() const { return m_text; }
    void setText(const QString& text) { m_text = text; }
    void appendText(QStringView text) { m_text.append(text); }

private:
    QString m_text;
};

#endif
