#include "qareporterdocumentbuilder.h"

#include "ditems.h"
#include "dstyle.h"

QAReporterDocumentBuilder::QAReporterDocumentBuilder(const QList<DStyle*>& styles)
{
    for (DStyle* style : styles) {
        if (style)
            m_styles.insert(style->name(), style);
    }
}

void QAReporterDocumentBuilder::appendItem(DItemContainer* parent, DItem* item)
{
    DItem*& last = m_lastChild[parent];
    parent->insertAfter(last, item);
    last = item;
}

void QAReporterDocumentBuilder::title(DItemContainer* parent, int level, const QString& text,
                                      const QString& styleName)
{
    auto* title = append(parent, new DTitle(level));
    title->setStyle(style(styleName));
    append(title, new DText(text));
}

void QAReporterDocumentBuilder::paragraph(DItemContainer* parent, const QString& text,
                                          const QString& styleName)
{
    auto* paragraph = append(parent, new DParagraph);
    paragraph->setStyle(style(styleName));
    append(paragraph, new DText(text));
}

DTable* QAReporterDocumentBuilder::table(DItemContainer* parent, const QList<double>& widths)
{
    auto* table = append(parent, new DTable(2));
    table->setStyle(style(QStringLiteral("Array")));
    table->setWidths(widths);
    return table;
}

DRow* QAReporterDocumentBuilder::row(DTable* table, const QString& styleName)
{
    auto* row = append(table, new DRow);
    if (!styleName.isEmpty())
        row->setStyle(style(styleName));
    return row;
}

void QAReporterDocumentBuilder::textCell(DRow* row, const QString& text, int hspan)
{
    append(row, new DCellText(hspan, 0, text));
}

void QAReporterDocumentBuilder::numberCell(DRow* row, qint64 number)
{
    auto* cell = append(row, new DCell(0, 0));
    append(cell, new DText(QString::number(number)));
}

void QAReporterDocumentBuilder::linkCell(DRow* row, const QString& text, const QString& target)
{
    auto* cell = append(row, new DCell(0, 0));
    if (target.isEmpty())
        append(cell, new DText(text));
    else
        link(cell, text, target);
}

void QAReporterDocumentBuilder::link(DItemContainer* parent, const QString& text,
                                     const QString& target)
{
    auto* link = append(parent, new DLink(target));
    link->setStyle(style(QStringLiteral("Link")));
    append(link, new DText(text));
}
