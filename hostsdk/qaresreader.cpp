#include "qaresreader.h"

#include "hostsdklogging.h"
#include "qaresboolean.h"
#include "qaresgroup.h"
#include "qaresint.h"
#include "qaresrgb.h"
#include "qaresstring.h"

#include <QCoreApplication>
#include <QFile>
#include <QXmlStreamReader>

#include <optional>
#include <vector>

namespace {

// The translation context of the texts below, declared here so that
// lupdate files them under it too.
struct Texts
{
    Q_DECLARE_TR_FUNCTIONS(QAResReader)
};

std::optional<int> intValue(const QXmlStreamAttributes& attributes, QLatin1String name)
{
    bool ok = false;
    const int value = attributes.value(name).toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

std::optional<bool> boolValue(const QXmlStreamAttributes& attributes)
{
    const QStringView value = attributes.value(QLatin1String("value"));
    if (value == u"true")
        return true;
    if (value == u"false")
        return false;
    return std::nullopt;
}

// Where the next resource read goes: after `last` inside `group` (or at the
// top level when `group` is null).
struct Level
{
    QAResGroup* group;
    QARes* last;
};

} // namespace

QARes* QAResReader::read(QIODevice* device)
{
    m_sourceName.clear();
    return readDevice(device);
}

QARes* QAResReader::readDevice(QIODevice* device)
{
    m_errorString.clear();
    m_version = 0;
    if (!device || !device->isReadable()) {
        m_errorString = Texts::tr("the resource file cannot be read");
        return nullptr;
    }
    QXmlStreamReader xml(device);
    return readAll(xml);
}

QARes* QAResReader::read(const QByteArray& data)
{
    m_sourceName.clear();
    m_errorString.clear();
    m_version = 0;
    QXmlStreamReader xml(data);
    return readAll(xml);
}

QARes* QAResReader::readFile(const QString& path)
{
    m_sourceName = path;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_version = 0;
        m_errorString = file.errorString();
        if (file.exists())
            qCWarning(lcResources).noquote()
                << Texts::tr("%1: %2").arg(m_sourceName, m_errorString);
        return nullptr;
    }
    return readDevice(&file);
}

// The reader keeps what it read before a fault; the log says that the rest
// was lost, and where.
void QAResReader::setError(const QXmlStreamReader& xml, const QString& message)
{
    m_errorString = Texts::tr("line %1, column %2: %3")
                        .arg(xml.lineNumber())
                        .arg(xml.columnNumber())
                        .arg(message);
    const QString source = m_sourceName.isEmpty() ? Texts::tr("resource data") : m_sourceName;
    qCWarning(lcResources).noquote() << Texts::tr("%1: %2").arg(source, m_errorString);
}

QARes* QAResReader::readAll(QXmlStreamReader& xml)
{
    if (!xml.readNextStartElement()) {
        setError(xml, xml.hasError() ? xml.errorString() : Texts::tr("no resources in the file"));
        return nullptr;
    }
    if (xml.name() != u"resources") {
        setError(xml, Texts::tr("not a resource file"));
        return nullptr;
    }
    m_version = intValue(xml.attributes(), QLatin1String("version")).value_or(0);

    QARes* first = nullptr;
    std::vector<Level> levels{{nullptr, nullptr}};
    auto append = [&](QARes* resource) {
        Level& level = levels.back();
        if (level.last)
            level.last->setNext(resource);
        else if (level.group)
            level.group->setChild(resource);
        else
            first = resource;
        level.last = resource;
    };

    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::EndElement) {
            if (levels.size() == 1)
                break; // end of "resources"
            levels.pop_back();
        } else if (token == QXmlStreamReader::StartElement) {
            if (xml.name() == u"group" && xml.attributes().hasAttribute(QLatin1String("tag"))) {
                auto* group = new QAResGroup(
                    xml.attributes().value(QLatin1String("tag")).toUtf8().constData());
                append(group);
                levels.push_back({group, nullptr});
            } else if (QARes* leaf = readLeaf(xml)) {
                append(leaf);
            }
        }
    }
    if (xml.hasError())
        setError(xml, xml.errorString());
    return first;
}

QARes* QAResReader::readLeaf(QXmlStreamReader& xml)
{
    const QXmlStreamAttributes attributes = xml.attributes();
    const QStringView name = xml.name();
    if (!attributes.hasAttribute(QLatin1String("tag"))) {
        xml.skipCurrentElement();
        return nullptr;
    }
    const QByteArray tag = attributes.value(QLatin1String("tag")).toUtf8();
    QARes* resource = nullptr;
    if (name == u"string") {
        const QString text = xml.readElementText(QXmlStreamReader::SkipChildElements);
        return xml.hasError() ? nullptr : new QAResString(tag.constData(), text);
    }
    if (name == u"rgb") {
        const auto red = intValue(attributes, QLatin1String("red"));
        const auto green = intValue(attributes, QLatin1String("green"));
        const auto blue = intValue(attributes, QLatin1String("blue"));
        if (red && green && blue)
            resource = new QAResRGB(tag.constData(), *red, *green, *blue);
    } else if (name == u"bool") {
        if (const auto value = boolValue(attributes))
            resource = new QAResBoolean(tag.constData(), *value);
    } else if (name == u"int") {
        if (const auto value = intValue(attributes, QLatin1String("value")))
            resource = new QAResInt(tag.constData(), *value);
    }
    xml.skipCurrentElement();
    if (xml.hasError()) {
        delete resource;
        return nullptr;
    }
    return resource;
}
