#include "damlwriter.h"

#include "ditems.h"
#include "dstyle.h"

#include <QLocale>

namespace {

bool isSurrogate(char16_t c)
{
    return c >= 0xD800 && c <= 0xDFFF;
}

bool isPlainXmlChar(char16_t c)
{
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && !isSurrogate(c) && c < 0xFFFE);
}

// The text without the characters XML 1.0 cannot carry: control
// characters, U+FFFE, U+FFFF and surrogates that are not paired.
QString xmlText(const QString& text)
{
    QString result;
    bool changed = false;
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t c = text.at(i).unicode();
        if (isPlainXmlChar(c)) {
            if (changed)
                result.append(QChar(c));
            continue;
        }
        const bool pair = QChar::isHighSurrogate(c) && i + 1 < size &&
                          QChar::isLowSurrogate(text.at(i + 1).unicode());
        if (!changed) {
            result = text.left(i);
            changed = true;
        }
        if (pair) {
            result.append(text.at(i));
            result.append(text.at(++i));
        }
    }
    return changed ? result : text;
}

QString numberText(double value)
{
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

} // namespace

DAmlWriter::DAmlWriter(QIODevice* device) : m_xml(device) {}

DAmlWriter::DAmlWriter(QString* output) : m_xml(output) {}

DAmlWriter::~DAmlWriter() = default;

void DAmlWriter::setAutoFormatting(bool on)
{
    m_formatting = on;
    m_xml.setAutoFormatting(on);
}

QString DAmlWriter::toAml(DDocument* document)
{
    QString text;
    DAmlWriter writer(&text);
    writer.doAll(document);
    return text;
}

void DAmlWriter::doAll(DDocument* document)
{
    if (document)
        write(document);
}

void DAmlWriter::write(DItem* item)
{
    if (item)
        doItem(item);
}

void DAmlWriter::beforeStartTag(const DItem*) {}

void DAmlWriter::startItem(const DItem* item)
{
    beforeStartTag(item);
    m_xml.writeStartElement(QLatin1String(DItem::kindName(item->kind())));
    if (!item->name().isNull())
        attribute("name", item->name());
    if (item->style())
        attribute("style", item->style()->name());
}

void DAmlWriter::attribute(const char* name, const QString& value)
{
    if (!value.isNull())
        m_xml.writeAttribute(QLatin1String(name), xmlText(value));
}

void DAmlWriter::attribute(const char* name, double value)
{
    m_xml.writeAttribute(QLatin1String(name), numberText(value));
}

// Carriage returns are written as references: a reader would turn a
// literal one into a line feed.
void DAmlWriter::characters(const QString& text)
{
    const QString clean = xmlText(text);
    qsizetype from = 0;
    for (qsizetype at = clean.indexOf(u'\r'); at >= 0; at = clean.indexOf(u'\r', from)) {
        m_xml.writeCharacters(clean.mid(from, at - from));
        m_xml.writeEntityReference(QStringLiteral("#13"));
        from = at + 1;
    }
    m_xml.writeCharacters(clean.mid(from));
}

void DAmlWriter::enter(DItemContainer* item)
{
    enter(item, m_xml.autoFormatting());
}

void DAmlWriter::enter(DItemContainer* item, bool formatting)
{
    m_formattingToRestore.append(formatting);
    doItemChildren(item);
}

void DAmlWriter::leaveItemChildren(DItemContainer*)
{
    m_xml.writeEndElement();
    m_xml.setAutoFormatting(m_formattingToRestore.takeLast());
}

void DAmlWriter::visitItem(DItem* item)
{
    startItem(item);
    if (item->isContainer())
        enter(item->toContainer());
    else
        m_xml.writeEndElement();
}

void DAmlWriter::doDocument(DDocument* item)
{
    startItem(item);
    attribute("title", item->title());
    enter(item);
}

void DAmlWriter::doTitle(DTitle* item)
{
    startItem(item);
    attribute("level", QString::number(item->level()));
    enter(item);
}

void DAmlWriter::doLink(DLink* item)
{
    startItem(item);
    attribute("target", item->target());
    enter(item);
}

void DAmlWriter::doTable(DTable* item)
{
    startItem(item);
    attribute("frame", QString::number(item->frame()));
    if (!item->widths().isEmpty()) {
        QStringList widths;
        for (double width : item->widths())
            widths.append(numberText(width));
        attribute("widths", widths.join(u' '));
    }
    enter(item);
}

void DAmlWriter::spanAttributes(const DCell* cell)
{
    if (cell->hspan())
        attribute("hspan", QString::number(cell->hspan()));
    if (cell->vspan())
        attribute("vspan", QString::number(cell->vspan()));
}

void DAmlWriter::doCell(DCell* item)
{
    startItem(item);
    spanAttributes(item);
    enter(item);
}

// The cell's own text and its children share the element's content, so
// no formatting white space may go there.
void DAmlWriter::doCellText(DCellText* item)
{
    startItem(item);
    spanAttributes(item);
    const bool formatting = m_xml.autoFormatting();
    m_xml.setAutoFormatting(false);
    characters(item->text());
    enter(item, formatting);
}

void DAmlWriter::doPopupLink(DPopupLink* item)
{
    startItem(item);
    attribute("target", item->target());
    enter(item);
}

void DAmlWriter::doGraphic(DGraphic* item)
{
    startItem(item);
    attribute("title", item->title());
    attribute("width", QString::number(item->width()));
    attribute("height", QString::number(item->height()));
    enter(item);
}

void DAmlWriter::doCurve(DCurve* item)
{
    startItem(item);
    attribute("label", item->label());
    if (item->color().isValid()) {
        attribute("color", item->color().name(item->color().alpha() == 255 ? QColor::HexRgb
                                                                           : QColor::HexArgb));
    }
    enter(item);
}

void DAmlWriter::doText(DText* item)
{
    startItem(item);
    characters(item->text());
    m_xml.writeEndElement();
}

void DAmlWriter::doImage(DImage* item)
{
    startItem(item);
    attribute("src", item->source());
    m_xml.writeEndElement();
}

void DAmlWriter::doTagPointer(DTagPointer* item)
{
    startItem(item);
    attribute("target", item->target());
    m_xml.writeEndElement();
}

void DAmlWriter::doSEntry(DSEntry* item)
{
    startItem(item);
    attribute("target", item->target());
    characters(item->text());
    m_xml.writeEndElement();
}

void DAmlWriter::doIEntry(DIEntry* item)
{
    startItem(item);
    attribute("target", item->target());
    characters(item->text());
    m_xml.writeEndElement();
}

void DAmlWriter::doPoint(DPoint* item)
{
    startItem(item);
    attribute("x", item->x());
    attribute("y", item->y());
    m_xml.writeEndElement();
}

void DAmlWriter::doAxis(DAxis* item)
{
    startItem(item);
    attribute("orientation",
              item->orientation() == Qt::Vertical ? QStringLiteral("y") : QStringLiteral("x"));
    attribute("label", item->label());
    attribute("min", item->min());
    attribute("max", item->max());
    m_xml.writeEndElement();
}
