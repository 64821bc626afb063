#ifndef DCELLTEXT_H
#define DCELLTEXT_H

#include "dcell.h"

// A table cell that holds a text of its own.
class DCellText : public DCell
{
public:
    explicit DCellText(int hspan = 0, int vspan = 0, const QString& text = QString());
    DCellText(const DCellText& other) = default;

    const QString& text() const { return m_text; }
    void setText(const QString& text) { m_text = text; }
    void appendText(QStringView text) { m_text.append(text); }

private:
    QString m_text;
};

#endif
