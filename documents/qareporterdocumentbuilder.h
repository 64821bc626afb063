#ifndef QAREPORTERDOCUMENTBUILDER_H
#define QAREPORTERDOCUMENTBUILDER_H

#include <QHash>
#include <QList>
#include <QString>

class DCell;
class DItem;
class DItemContainer;
class DRow;
class DStyle;
class DTable;

// Appends items to the containers of a document the viewer makes (the
// summary, a comparison of runs), each in one step: it keeps every
// container's last child, so a document of n items is built in O(n).
// Styles are looked up by name among those given.
class QAReporterDocumentBuilder
{
public:
    explicit QAReporterDocumentBuilder(const QList<DStyle*>& styles);

    DStyle* style(const QString& name) const { return m_styles.value(name); }
    template <class T> T* append(DItemContainer* parent, T* item)
    {
        appendItem(parent, item);
        return item;
    }
    // A title of the level, a paragraph of one text, both in a style.
    void title(DItemContainer* parent, int level, const QString& text, const QString& styleName);
    void paragraph(DItemContainer* parent, const QString& text, const QString& styleName);
    DTable* table(DItemContainer* parent, const QList<double>& widths);
    DRow* row(DTable* table, const QString& styleName);
    void textCell(DRow* row, const QString& text, int hspan = 0);
    void numberCell(DRow* row, qint64 number);
    // A cell whose text is a link to target (no link when target is empty).
    void linkCell(DRow* row, const QString& text, const QString& target);
    // A link with its text, appended to parent.
    void link(DItemContainer* parent, const QString& text, const QString& target);

private:
    void appendItem(DItemContainer* parent, DItem* item);

    QHash<QString, DStyle*> m_styles;
    QHash<DItemContainer*, DItem*> m_lastChild;
};

#endif
