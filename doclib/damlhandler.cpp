#include "damlhandler.h"

#include "ditems.h"
#include "ditemtraits.h"
#include "dstyle.h"
#include "dxmllocator.h"

#include <QCoreApplication>

#include <algorithm>

namespace {

const int NoKind = -1;

// Whether name, as long as latin1, has its characters.
bool sameName(QLatin1String latin1, QStringView name)
{
    for (qsizetype i = 0; i < name.size(); ++i) {
        if (name.at(i).unicode() != uchar(latin1.at(i).toLatin1()))
            return false;
    }
    return true;
}

// Kind of an element name, or NoKind. The names are grouped by length,
// so that an element is compared with a few names only.
int kindOf(QStringView name)
{
    static const int MaxLength = 16;
    static const struct Names
    {
        QLatin1String text[DItem::KindCount];
        std::vector<int> byLength[MaxLength + 1];
        Names()
        {
            for (int kind = 0; kind < DItem::KindCount; ++kind) {
                text[kind] = QLatin1String(DItem::kindName(DItem::Kind(kind)));
                Q_ASSERT(text[kind].size() <= MaxLength);
                byLength[text[kind].size()].push_back(kind);
            }
        }
    } names;
    if (name.size() > MaxLength)
        return NoKind;
    for (int kind : names.byLength[name.size()]) {
        if (sameName(names.text[kind], name))
            return kind;
    }
    return NoKind;
}

bool holdsText(const DItem* item)
{
    return DItemTraits::of(item).holdsText;
}

// The first run of an item's text is copied at its exact size (appending to
// an empty string would reserve a power-of-two capacity) or shared when
// short: tables repeat the same few words and numbers in cell after cell.
template <typename TextItem>
void addText(TextItem* item, QStringView text, DAmlHandler::TextPool& pool)
{
    if (text.isEmpty())
        return;
    if (item->text().isEmpty())
        item->setText(pool.text(text));
    else
        item->appendText(text);
}

void appendText(DItem* item, QStringView text, DAmlHandler::TextPool& pool)
{
    switch (item->kind()) {
    case DItem::Text:
        addText(static_cast<DText*>(item), text, pool);
        break;
    case DItem::CellText:
        addText(static_cast<DCellText*>(item), text, pool);
        break;
    case DItem::SEntry:
        addText(static_cast<DSEntry*>(item), text, pool);
        break;
    case DItem::IEntry:
        addText(static_cast<DIEntry*>(item), text, pool);
        break;
    default:
        break;
    }
}

int intAttribute(QStringView value, int fallback)
{
    bool ok = false;
    const int number = value.toInt(&ok);
    return ok ? number : fallback;
}

int intAttribute(const DXmlAttributes& attributes, QLatin1String name, int fallback)
{
    return intAttribute(attributes.value(name), fallback);
}

// A cell span: DCell bounds it, and digits past the range of int still
// mean as wide as a table goes rather than no span at all.
int spanAttribute(QStringView value)
{
    if (value.isEmpty())
        return 0; // most cells span nothing
    const QStringView text = value.trimmed();
    if (text.isEmpty())
        return 0;
    bool ok = false;
    const int span = text.toInt(&ok);
    if (ok)
        return span;
    const bool digitsOnly = !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) {
        return c >= u'0' && c <= u'9';
    });
    return digitsOnly ? DCell::MaxSpan : 0;
}

double doubleAttribute(QStringView value)
{
    bool ok = false;
    const double number = value.toDouble(&ok);
    return ok && qIsFinite(number) ? number : 0.0;
}

bool boolAttribute(const DXmlAttributes& attributes, QLatin1String name)
{
    const QStringView value = attributes.value(name);
    return value == u"true" || value == u"1" || value == u"yes";
}

// The attributes items are made from, read in one pass over the start
// tag: an item looks up several of them, and a search by name for each
// would cost more than the item. A view is null when its attribute is
// absent, empty (not null) when the attribute is empty.
class ItemAttributes
{
public:
    enum Name {
        ItemName,
        Style,
        Level,
        Frame,
        Widths,
        HSpan,
        VSpan,
        Target,
        Title,
        Width,
        Height,
        Label,
        Color,
        Src,
        X,
        Y,
        Orientation,
        Min,
        Max,
        NameCount
    };

    explicit ItemAttributes(const DXmlAttributes& attributes)
    {
        for (int index = 0; index < attributes.count(); ++index) {
            const int name = nameOf(attributes.name(index));
            if (name >= 0)
                m_values[name] = attributes.value(index);
        }
    }

    QStringView operator[](Name name) const { return m_values[name]; }
    QString text(Name name) const { return m_values[name].toString(); }

private:
    static int nameOf(QStringView name)
    {
        static const QLatin1String names[NameCount] = {
            QLatin1String("name"),  QLatin1String("style"),       QLatin1String("level"),
            QLatin1String("frame"), QLatin1String("widths"),      QLatin1String("hspan"),
            QLatin1String("vspan"), QLatin1String("target"),      QLatin1String("title"),
            QLatin1String("width"), QLatin1String("height"),      QLatin1String("label"),
            QLatin1String("color"), QLatin1String("src"),         QLatin1String("x"),
            QLatin1String("y"),     QLatin1String("orientation"), QLatin1String("min"),
            QLatin1String("max")};
        for (int index = 0; index < NameCount; ++index) {
            if (names[index].size() == name.size() && sameName(names[index], name))
                return index;
        }
        return -1;
    }

    QStringView m_values[NameCount];
};

// Plain decimals ("2", "0.25") as tables write them, without the general
// number parser: the digits form an integer below 2^53 and the division by
// an exact power of ten is correctly rounded, so the value is the one
// toDouble() gives. Anything else is left to toDouble().
bool plainDecimal(QStringView text, double* value)
{
    static const double powersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                         1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    qint64 digits = 0;
    int digitCount = 0;
    int fractionDigits = -1;
    for (QChar c : text) {
        if (c == u'.' && fractionDigits < 0) {
            fractionDigits = 0;
            continue;
        }
        if (c < u'0' || c > u'9' || ++digitCount > 15)
            return false;
        digits = digits * 10 + (c.unicode() - u'0');
        if (fractionDigits >= 0)
            ++fractionDigits;
    }
    if (digitCount == 0)
        return false;
    *value = double(digits) / powersOfTen[qMax(0, fractionDigits)];
    return true;
}

QList<double> widthList(QStringView text)
{
    QList<double> widths;
    qsizetype at = 0;
    while (at < text.size()) {
        if (text.at(at) == u' ') {
            ++at;
            continue;
        }
        qsizetype end = text.indexOf(u' ', at);
        if (end < 0)
            end = text.size();
        const QStringView part = text.sliced(at, end - at);
        double width = 0.0;
        bool ok = plainDecimal(part, &width);
        if (!ok)
            width = part.toDouble(&ok);
        widths.append(ok && qIsFinite(width) && width > 0.0 ? width : 0.0);
        at = end;
    }
    return widths;
}

} // namespace

QString DAmlHandler::TextPool::text(QStringView text)
{
    if (text.size() > MaxShared)
        return text.toString();
    if (const QString* recent = m_recent.find(text))
        return *recent;
    const auto found = m_texts.constFind(text);
    if (found != m_texts.constEnd()) {
        m_recent.remember(found.value(), found.value());
        return found.value();
    }
    const QString copy = text.toString();
    // The key views the data of the stored value, which the pool keeps alive.
    if (m_texts.size() < MaxCount)
        m_texts.insert(QStringView(copy), copy);
    m_recent.remember(copy, copy);
    return copy;
}

void DAmlHandler::TextPool::clear()
{
    m_texts.clear();
    m_recent.clear();
}

DAmlHandler::DAmlHandler() = default;

DAmlHandler::~DAmlHandler()
{
    clear();
}

void DAmlHandler::clear()
{
    if (!m_documentShared)
        delete m_document;
    m_document = nullptr;
    m_documentShared = false;
    qDeleteAll(m_localStyles);
    m_localStyles.clear();
    m_styleNames.clear();
    m_open.clear();
    m_elementOpened.clear();
    m_current = nullptr;
    m_last = nullptr;
    m_textPool.clear();
    m_styleIndex.clear();
    m_styleIndexNames.clear();
    m_recentStyles.clear();
}

void DAmlHandler::setStyles(const QList<DStyle*>& styles)
{
    m_styles = styles;
    m_styleIndex.clear();
    m_styleIndexNames.clear();
    m_recentStyles.clear();
}

void DAmlHandler::setEnabledLocalStyle(bool enabled)
{
    m_localStyleEnabled = enabled;
}

void DAmlHandler::setDocumentLocator(const DXmlLocator* locator)
{
    m_locator = locator;
}

bool DAmlHandler::startDocument()
{
    clear();
    m_errorString.clear();
    return true;
}

bool DAmlHandler::endDocument()
{
    return true;
}

std::unique_ptr<DDocument> DAmlHandler::takeDocument()
{
    std::unique_ptr<DDocument> document(m_documentShared ? nullptr : m_document);
    m_document = nullptr;
    m_documentShared = false;
    m_open.clear();
    m_current = nullptr;
    m_last = nullptr;
    return document;
}

DDocument* DAmlHandler::shareDocument()
{
    m_documentShared = m_document != nullptr;
    return m_document;
}

QList<const DItem*> DAmlHandler::openItems() const
{
    QList<const DItem*> items;
    items.reserve(m_open.size());
    for (const OpenItem& open : m_open)
        items.append(open.item);
    return items;
}

QList<DStyle*> DAmlHandler::takeStyles()
{
    QList<DStyle*> styles;
    styles.swap(m_localStyles);
    return styles;
}

QString DAmlHandler::attributeText(const DXmlAttributes& attributes, QLatin1String name)
{
    const int index = attributes.indexOf(name);
    if (index < 0)
        return QString();
    const QStringView value = attributes.value(index);
    return value.isEmpty() ? QString(QLatin1String("")) : value.toString();
}

bool DAmlHandler::startElement(const QString&, const QString&, QStringView qName,
                               const DXmlAttributes& attributes)
{
    const int kind = kindOf(qName);
    if (kind == NoKind) {
        m_elementOpened.push_back(false);
        return openStyleElement(qName, attributes);
    }
    DItem* item = nullptr;
    if (kind == DItem::Document && !m_document) {
        m_document = static_cast<DDocument*>(createItem(kind, attributes));
        item = m_document;
    } else {
        ensureOpenDocument();
        DItem* parent = m_open.back().item;
        if (!parent->isContainer()) {
            m_elementOpened.push_back(false);
            return fail(QCoreApplication::translate("DAmlReader", "%1 cannot hold the element %2")
                            .arg(QLatin1String(DItem::kindName(parent->kind())), qName));
        }
        item = createItem(kind, attributes);
        append(item);
    }
    m_open.push_back({item, nullptr, nullptr});
    m_elementOpened.push_back(true);
    m_current = item;
    m_last = item;
    return true;
}

bool DAmlHandler::openStyleElement(QStringView qName, const DXmlAttributes& attributes)
{
    if (qName != u"STYLE" || !m_localStyleEnabled)
        return true;
    const QString name = attributeText(attributes, QLatin1String("name"));
    if (name.isEmpty())
        return fail(QCoreApplication::translate("DAmlReader", "a STYLE without a name"));
    auto* style = new DStyle(name);
    style->setFamily(attributes.value(QLatin1String("family")).toString());
    style->setPointSize(qBound(0, intAttribute(attributes, QLatin1String("size"), 0), 200));
    style->setBold(boolAttribute(attributes, QLatin1String("bold")));
    style->setItalic(boolAttribute(attributes, QLatin1String("italic")));
    style->setUnderline(boolAttribute(attributes, QLatin1String("underline")));
    style->setColor(QColor(attributes.value(QLatin1String("color"))));
    style->setBackground(QColor(attributes.value(QLatin1String("background"))));
    style->setAlignment(DStyle::alignmentFromText(attributes.value(QLatin1String("align"))));
    style->setMargin(qBound(-1, intAttribute(attributes, QLatin1String("margin"), -1), 200));
    m_localStyles.append(style);
    m_styleNames.append(name);
    m_styleIndex.clear();
    m_styleIndexNames.clear();
    m_recentStyles.clear();
    return true;
}

DItem* DAmlHandler::createItem(int kind, const DXmlAttributes& xmlAttributes)
{
    using A = ItemAttributes;
    const ItemAttributes attributes(xmlAttributes);
    DItem* item = nullptr;
    switch (kind) {
    case DItem::Document:
        item = new DDocument(attributes.text(A::Title));
        break;
    case DItem::Section:
        item = new DSection;
        break;
    case DItem::Title:
        item = new DTitle(intAttribute(attributes[A::Level], 1));
        break;
    case DItem::Header:
        item = new DHeader;
        break;
    case DItem::Footer:
        item = new DFooter;
        break;
    case DItem::Paragraph:
        item = new DParagraph;
        break;
    case DItem::List:
        item = new DList;
        break;
    case DItem::Link:
        item = new DLink(attributes.text(A::Target));
        break;
    case DItem::Table: {
        auto* table = new DTable(intAttribute(attributes[A::Frame], DTable::Grid));
        table->setWidths(widthsOf(attributes[A::Widths]));
        item = table;
        break;
    }
    case DItem::Row:
        item = new DRow;
        break;
    case DItem::Cell:
        item = new DCell(spanAttribute(attributes[A::HSpan]), spanAttribute(attributes[A::VSpan]));
        break;
    case DItem::CellText:
        item =
            new DCellText(spanAttribute(attributes[A::HSpan]), spanAttribute(attributes[A::VSpan]));
        break;
    case DItem::PopupLink:
        item = new DPopupLink(attributes.text(A::Target));
        break;
    case DItem::Popup:
        item = new DPopup;
        break;
    case DItem::Summary:
        item = new DSummary;
        break;
    case DItem::Index:
        item = new DIndex;
        break;
    case DItem::Graphic:
        item = new DGraphic(attributes.text(A::Title), intAttribute(attributes[A::Width], 400),
                            intAttribute(attributes[A::Height], 250));
        break;
    case DItem::Curve:
        item = new DCurve(attributes.text(A::Label), QColor(attributes[A::Color]));
        break;
    case DItem::PageBreak:
        item = new DPageBreak;
        break;
    case DItem::Text:
        item = new DText;
        break;
    case DItem::Image:
        item = new DImage(attributes.text(A::Src));
        break;
    case DItem::Tag:
        item = new DTag;
        break;
    case DItem::TagPointer:
        item = new DTagPointer(attributes.text(A::Target));
        break;
    case DItem::SEntry:
        item = new DSEntry(attributes.text(A::Target));
        break;
    case DItem::IEntry:
        item = new DIEntry(attributes.text(A::Target));
        break;
    case DItem::Point:
        item = new DPoint(doubleAttribute(attributes[A::X]), doubleAttribute(attributes[A::Y]));
        break;
    case DItem::Axis:
    default:
        item = new DAxis(attributes[A::Orientation] == u"y" ? Qt::Vertical : Qt::Horizontal,
                         attributes.text(A::Label), doubleAttribute(attributes[A::Min]),
                         doubleAttribute(attributes[A::Max]));
        break;
    }
    // Names repeat from one part of a report to the next ("c1", "setUp"...).
    const QStringView name = attributes[A::ItemName];
    if (!name.isNull())
        item->setName(name.isEmpty() ? QString(QLatin1String("")) : m_textPool.text(name));
    const QStringView style = attributes[A::Style];
    if (!style.isEmpty())
        item->setStyle(findStyle(style));
    return item;
}

// Looked up for most items: a hash of the names, built on the first lookup
// after the styles changed, the first of two styles of one name winning.
DStyle* DAmlHandler::findStyle(QStringView name) const
{
    if (m_styleIndexNames.isEmpty() && !(m_styles.isEmpty() && m_localStyles.isEmpty())) {
        for (const QList<DStyle*>* list : {&m_styles, &m_localStyles}) {
            for (DStyle* style : *list) {
                m_styleIndexNames.append(style->name());
                if (!m_styleIndex.contains(m_styleIndexNames.last()))
                    m_styleIndex.insert(m_styleIndexNames.last(), style);
            }
        }
    }
    if (DStyle* const* recent = m_recentStyles.find(name))
        return *recent;
    DStyle* const style = m_styleIndex.value(name, nullptr);
    m_recentStyles.remember(name.toString(), style);
    return style;
}

// Content outside any element of the document goes into the document: the
// one from the markup, or an implicit one when the markup has none.
void DAmlHandler::ensureOpenDocument()
{
    if (!m_open.empty())
        return;
    if (!m_document)
        m_document = new DDocument;
    DItem* last = m_document->first();
    while (last && last->next())
        last = last->next();
    m_open.push_back({m_document, last, nullptr});
}

void DAmlHandler::append(DItem* item)
{
    OpenItem& parent = m_open.back();
    static_cast<DItemContainer*>(parent.item)->insertAfter(parent.lastChild, item);
    parent.lastChild = item;
    parent.openText = nullptr;
}

bool DAmlHandler::endElement(const QString&, const QString&, QStringView)
{
    if (m_elementOpened.empty())
        return true;
    const bool opened = m_elementOpened.back();
    m_elementOpened.pop_back();
    if (opened && !m_open.empty())
        m_open.pop_back();
    return true;
}

// The tables of a report mostly have the same widths: they share one list.
// (At first, no text and no widths: what an empty attribute gives.)
const QList<double>& DAmlHandler::widthsOf(QStringView text) const
{
    if (m_lastWidthsText != text) {
        m_lastWidthsText = text.toString();
        m_lastWidths = widthList(text);
    }
    return m_lastWidths;
}

// Short texts between items (the ")." after a link) repeat as much as cell
// texts: they are shared too. A link that shows its own target (a source
// line, a file) shares the target's characters.
QString DAmlHandler::textBetweenItems(const DItem* container, QStringView text)
{
    if (container->kind() == DItem::Link) {
        const QString& target = static_cast<const DLink*>(container)->target();
        if (target == text)
            return target;
    }
    return m_textPool.text(text);
}

bool DAmlHandler::characters(QStringView text)
{
    if (text.isEmpty())
        return true;
    ensureOpenDocument();
    OpenItem& top = m_open.back();
    if (holdsText(top.item)) {
        appendText(top.item, text, m_textPool);
    } else if (top.item->isContainer()) {
        if (top.openText) {
            static_cast<DText*>(top.openText)->appendText(text);
        } else {
            auto* implicitText = new DText(textBetweenItems(top.item, text));
            append(implicitText);
            top.openText = implicitText;
            m_last = implicitText;
        }
    }
    return true;
}

bool DAmlHandler::ignorableWhitespace(QStringView text)
{
    if (!m_open.empty() && holdsText(m_open.back().item))
        appendText(m_open.back().item, text, m_textPool);
    return true;
}

bool DAmlHandler::warning(const DAmlParseException&)
{
    return true;
}

bool DAmlHandler::error(const DAmlParseException& exception)
{
    m_errorString = exception.text();
    return false;
}

bool DAmlHandler::fatalError(const DAmlParseException& exception)
{
    m_errorString = exception.text();
    return false;
}

QString DAmlHandler::errorString() const
{
    return m_errorString;
}

bool DAmlHandler::fail(const QString& message)
{
    m_errorString = DAmlParseException(message, lineNumber(), columnNumber()).text();
    return false;
}

qint64 DAmlHandler::lineNumber() const
{
    return m_locator ? m_locator->lineNumber() : 0;
}

qint64 DAmlHandler::columnNumber() const
{
    return m_locator ? m_locator->columnNumber() : 0;
}
