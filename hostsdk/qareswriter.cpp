#include "qareswriter.h"

#include "qaresboolean.h"
#include "qaresgroup.h"
#include "qaresint.h"
#include "qaresrgb.h"
#include "qaresstring.h"

#include <QCoreApplication>
#include <QFile>
#include <QXmlStreamWriter>

#include <vector>

namespace {

// XML reads a carriage return, alone or before a line feed, as a line feed:
// each one is written as a character reference so that it comes back. Tabs
// and line feeds survive in element text as they are; attributes (the tags)
// have theirs escaped by the stream writer.
void writeText(QXmlStreamWriter& xml, const QString& text)
{
    qsizetype start = 0;
    for (qsizetype cr = text.indexOf(QLatin1Char('\r')); cr >= 0;
         cr = text.indexOf(QLatin1Char('\r'), start)) {
        xml.writeCharacters(text.mid(start, cr - start));
        xml.writeEntityReference(QStringLiteral("#13"));
        start = cr + 1;
    }
    xml.writeCharacters(text.mid(start));
}

void writeLeaf(QXmlStreamWriter& xml, const QARes* resource)
{
    const QString tag = QString::fromUtf8(resource->tag());
    if (const QAResRGB* rgb = resource->toResRGB()) {
        xml.writeEmptyElement(QStringLiteral("rgb"));
        xml.writeAttribute(QStringLiteral("tag"), tag);
        xml.writeAttribute(QStringLiteral("red"), QString::number(rgb->red()));
        xml.writeAttribute(QStringLiteral("green"), QString::number(rgb->green()));
        xml.writeAttribute(QStringLiteral("blue"), QString::number(rgb->blue()));
    } else if (const QAResBoolean* boolean = resource->toResBoolean()) {
        xml.writeEmptyElement(QStringLiteral("bool"));
        xml.writeAttribute(QStringLiteral("tag"), tag);
        xml.writeAttribute(QStringLiteral("value"),
                           boolean->value() ? QStringLiteral("true") : QStringLiteral("false"));
    } else if (const QAResInt* integer = resource->toResInt()) {
        xml.writeEmptyElement(QStringLiteral("int"));
        xml.writeAttribute(QStringLiteral("tag"), tag);
        xml.writeAttribute(QStringLiteral("value"), QString::number(integer->value()));
    } else if (const QAResString* string = resource->toResString()) {
        xml.writeStartElement(QStringLiteral("string"));
        xml.writeAttribute(QStringLiteral("tag"), tag);
        writeText(xml, string->value());
        xml.writeEndElement();
    }
}

// Starts a new line indented by the nesting depth. The indentation stops
// growing after a few levels so that deep trees stay linear in size.
void newLine(QXmlStreamWriter& xml, std::size_t depth)
{
    const int indent = 2 * int(qMin<std::size_t>(depth, 16));
    xml.writeCharacters(QLatin1Char('\n') + QString(indent, QLatin1Char(' ')));
}

} // namespace

bool QAResWriter::write(const QARes* first, QIODevice* device)
{
    m_errorString.clear();
    if (!device || !device->isWritable()) {
        m_errorString = QCoreApplication::translate("QAResWriter", "the device is not writable");
        return false;
    }
    QXmlStreamWriter xml(device);
    xml.writeStartDocument();
    xml.writeCharacters(QStringLiteral("\n"));
    xml.writeStartElement(QStringLiteral("resources"));
    xml.writeAttribute(QStringLiteral("version"), QString::number(formatVersion));

    // Depth-first walk with an explicit stack: for every open group, the
    // sibling that follows it.
    std::vector<const QARes*> resumeAfterGroup;
    const QARes* node = first;
    while (node || !resumeAfterGroup.empty()) {
        if (!node) {
            newLine(xml, resumeAfterGroup.size());
            xml.writeEndElement();
            node = resumeAfterGroup.back();
            resumeAfterGroup.pop_back();
            continue;
        }
        newLine(xml, resumeAfterGroup.size() + 1);
        if (const QAResGroup* group = node->toResGroup()) {
            xml.writeStartElement(QStringLiteral("group"));
            xml.writeAttribute(QStringLiteral("tag"), QString::fromUtf8(group->tag()));
            resumeAfterGroup.push_back(group->next());
            node = group->child();
            continue;
        }
        writeLeaf(xml, node);
        node = node->next();
    }
    newLine(xml, 0);
    xml.writeEndElement();
    xml.writeEndDocument();
    if (xml.hasError()) {
        m_errorString = device->errorString();
        return false;
    }
    return true;
}

bool QAResWriter::writeFile(const QARes* first, const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        m_errorString = file.errorString();
        return false;
    }
    return write(first, &file);
}
