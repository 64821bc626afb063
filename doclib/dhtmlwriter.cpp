#include "dhtmlwriter.h"

#include "dexporthtml.h"
#include "dhtmlchart.h"
#include "dhtmlres.h"
#include "dhtmlstylesheet.h"
#include "ditems.h"
#include "ditemtraits.h"
#include "dstyle.h"
#include "qalinktarget.h"

#include <QTextStream>

#include "qaiprogressmonitor.h"

#include <cmath>
#include <limits>
#include <vector>

namespace {

// Items between two progress reports.
constexpr qint64 progressStep = 4096;

const QChar replacement(0xFFFD);

bool isListLike(DItem::Kind kind)
{
    return kind == DItem::List || kind == DItem::Summary || kind == DItem::Index;
}

bool isCellKind(DItem::Kind kind)
{
    return kind == DItem::Cell || kind == DItem::CellText;
}

// A <p> closes itself before block elements when a browser reads it: a
// paragraph holding one is written as a <div>.
bool holdsBlock(const DItemContainer* container)
{
    for (const DItem* child = container->first(); child; child = child->next())
        if (DItemTraits::of(child).block || child->kind() == DItem::PopupLink)
            return true;
    return false;
}

bool isWebScheme(const QString& scheme)
{
    const QString lower = scheme.toLower();
    return lower == QLatin1String("http") || lower == QLatin1String("https") ||
           lower == QLatin1String("mailto");
}

// The scheme of target, when it starts with one ("name:"), else empty.
QString schemeOf(const QString& target)
{
    const qsizetype colon = target.indexOf(QLatin1Char(':'));
    if (colon <= 0)
        return QString();
    for (qsizetype i = 0; i < colon; ++i) {
        const ushort c = target[i].unicode();
        const bool alpha = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        if (!alpha && (i == 0 || !((c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.')))
            return QString();
    }
    return target.left(colon);
}

QString escape(const QString& text, bool attribute)
{
    QString out;
    out.reserve(text.size() + text.size() / 8);
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar ch = text[i];
        const ushort code = ch.unicode();
        switch (code) {
        case '&':
            out += QLatin1String("&amp;");
            continue;
        case '<':
            out += QLatin1String("&lt;");
            continue;
        case '>':
            out += QLatin1String("&gt;");
            continue;
        case '"':
            out += QLatin1String("&quot;");
            continue;
        case '\'':
            out += QLatin1String("&#39;");
            continue;
        case '\t':
            out += attribute ? QLatin1String("&#9;") : QLatin1String("\t");
            continue;
        case '\n':
        case '\r':
            out += attribute ? QLatin1String("&#10;") : QLatin1String("\n");
            continue;
        case 0x2028: // a forced line break inside a text
            out += attribute ? QLatin1String("&#10;") : QLatin1String("<br/>");
            continue;
        default:
            break;
        }
        if (ch.isHighSurrogate() && i + 1 < size && text[i + 1].isLowSurrogate()) {
            out += ch;
            out += text[++i];
        } else if (code < 0x20 || (code >= 0x7F && code <= 0x9F) || ch.isSurrogate() ||
                   code == 0xFFFE || code == 0xFFFF) {
            // Not allowed in HTML or XML, even as a reference.
            out += replacement;
        } else {
            out += ch;
        }
    }
    return out;
}

} // namespace

DHTMLWriter::DHTMLWriter() = default;

DHTMLWriter::~DHTMLWriter() = default;

QString DHTMLWriter::escapeText(const QString& text)
{
    return escape(text, false);
}

QString DHTMLWriter::escapeAttribute(const QString& text)
{
    return escape(text, true);
}

void DHTMLWriter::reset()
{
    m_open.clear();
    m_closable = -1;
    m_itemCount = 0;
    m_totalItems = 0;
    m_canceled = false;
    m_pictures.clear();
    m_usedIds.clear();
    m_names.clear();
    m_documentTag.clear();
    m_pairedPopups.clear();
}

void DHTMLWriter::collectNames(DDocument* document)
{
    std::vector<DItem*> pending{document};
    qint64 count = 0;
    while (!pending.empty()) {
        DItem* item = pending.back();
        pending.pop_back();
        ++count;
        if (!item->name().isEmpty() && item != document)
            m_names.insert(item->name());
        if (const DItemContainer* container = item->toContainer())
            for (DItem* child = container->first(); child; child = child->next())
                pending.push_back(child);
    }
    m_totalItems += count;
}

void DHTMLWriter::doAll(DDocument* document)
{
    if (!document || !m_stream)
        return;
    collectNames(document);
    m_documentTag = document->tag();
    if (m_progressMonitor && m_progressMonitor->wasCanceled())
        m_canceled = true;
    DIterator::doAll(document);
}

void DHTMLWriter::countItem()
{
    ++m_itemCount;
    if (m_canceled || !m_progressMonitor || m_itemCount % progressStep != 0)
        return;
    const qint64 limit = std::numeric_limits<int>::max();
    m_progressMonitor->setProgress(int(qMin(m_itemCount, limit)),
                                   int(qMin(qMax(m_totalItems, m_itemCount), limit)));
    if (m_progressMonitor->wasCanceled())
        m_canceled = true;
}

DItem::Kind DHTMLWriter::parentKind() const
{
    return m_open.isEmpty() ? DItem::KindCount : m_open.last().container->kind();
}

DHTMLWriter::Wrap DHTMLWriter::beginItem(DItem* item)
{
    Wrap wrap;
    wrap.depth = m_open.size();
    m_closable = -1;
    countItem();
    if (m_canceled) {
        wrap.write = false;
        return wrap;
    }
    const auto paired = m_pairedPopups.find(item);
    if (paired != m_pairedPopups.end()) {
        // Its link already opened the wrapping.
        wrap.after = *paired;
        m_pairedPopups.erase(paired);
        return wrap;
    }
    const DItem::Kind kind = item->kind();
    if (DItemTraits::of(kind).chartPart)
        return wrap;
    const DItem::Kind parent = parentKind();
    QString before;
    if (isListLike(parent)) {
        before = QStringLiteral("<li>");
        wrap.after = QStringLiteral("</li>");
    } else if (parent == DItem::Table && kind != DItem::Row) {
        // A stray item among the rows takes a row and a cell of its own.
        const bool cell = isCellKind(kind);
        before = cell ? QStringLiteral("<tr>") : QStringLiteral("<tr><td>");
        wrap.after = cell ? QStringLiteral("</tr>") : QStringLiteral("</td></tr>");
    } else if (parent == DItem::Row && !isCellKind(kind)) {
        before = QStringLiteral("<td>");
        wrap.after = QStringLiteral("</td>");
    }
    out() << before;
    return wrap;
}

void DHTMLWriter::endItem(const Wrap& wrap)
{
    if (wrap.after.isEmpty())
        return;
    // Once the item's children are written when it entered them: the first
    // container it entered is left last.
    if (m_open.size() > wrap.depth)
        m_open[wrap.depth].closing += wrap.after;
    else
        out() << wrap.after;
}

void DHTMLWriter::doItemChildren(DItemContainer* container)
{
    m_open.append({container, QString()});
    m_closable = m_open.size() - 1;
    DIterator::doItemChildren(container);
}

void DHTMLWriter::closeChildrenWith(const QString& html)
{
    if (m_closable >= 0 && m_closable < m_open.size())
        m_open[m_closable].closing += html;
    else
        out() << html;
}

void DHTMLWriter::leaveItemChildren(DItemContainer* container)
{
    m_closable = -1;
    if (m_open.isEmpty())
        return;
    // A subclass may enter containers without this writer's bookkeeping:
    // only the matching frame is closed.
    if (m_open.last().container == container) {
        out() << m_open.last().closing;
        m_open.removeLast();
    }
}

QString DHTMLWriter::attributes(DItem* item, const QString& kindClass)
{
    QString attributes;
    const QString& name = item->name();
    if (!name.isEmpty() && !m_usedIds.contains(name)) {
        m_usedIds.insert(name);
        attributes += QStringLiteral(" id=\"") + escapeAttribute(name) + QLatin1Char('"');
    }
    QString classes = kindClass;
    if (item->style() && !item->style()->name().isEmpty()) {
        if (!classes.isEmpty())
            classes += QLatin1Char(' ');
        classes += DHtmlStyleSheet::className(item->style()->name());
    }
    if (!classes.isEmpty())
        attributes += QStringLiteral(" class=\"") + escapeAttribute(classes) + QLatin1Char('"');
    return attributes;
}

void DHTMLWriter::openContainer(DItemContainer* item, const QString& tag, const QString& kindClass)
{
    out() << '<' << tag << attributes(item, kindClass) << '>';
    doItemChildren(item);
    // A line break after each block keeps the page readable as text; a
    // browser ignores it there.
    static const QSet<QString> blocks{"article", "section", "header", "footer", "p",  "div", "ul",
                                      "tr",      "h1",      "h2",     "h3",     "h4", "h5",  "h6"};
    closeChildrenWith(QStringLiteral("</") + tag + (blocks.contains(tag) ? ">\n" : ">"));
}

QString DHTMLWriter::hrefFor(const QString& target)
{
    if (target.isEmpty())
        return QString();
    if (target.startsWith(QLatin1Char('#')))
        return target;
    // A link to a report or a place in a source file: only the viewer opens
    // other reports and sources; a place of this report is an item here.
    const QALinkTarget link = QALinkTarget::parse(target);
    if (link.isLocal())
        return hrefForItem(link.anchor());
    if (link.kind() != QALinkTarget::Other)
        return QString();
    const QString scheme = schemeOf(target);
    if (!scheme.isEmpty())
        return isWebScheme(scheme) ? target : QString();
    if (target.contains(QLatin1Char(':')) && !target.startsWith(QLatin1String("::")))
        return QString();
    const QString ext = m_config ? m_config->fileExtension() : QStringLiteral(".html");
    QString file;
    QString kind;
    QString tag;
    DLink::split(target, file, kind, tag);
    if (!target.startsWith(QLatin1String("::"))) {
        // A relative path: a folder in it, or a page's extension.
        if (target.contains(QLatin1Char('/')) || target.endsWith(ext, Qt::CaseInsensitive) ||
            target.endsWith(QLatin1String(".html"), Qt::CaseInsensitive) ||
            target.endsWith(QLatin1String(".htm"), Qt::CaseInsensitive)) {
            QString path = target;
            return path.replace(QLatin1Char(' '), QLatin1String("%20"));
        }
    }
    if (tag.isEmpty())
        return QString();
    // An item of this page, or else the page of the document with that tag,
    // or else where the item is when this page is without it.
    if (tag != m_documentTag && m_names.contains(tag))
        return QLatin1Char('#') + tag;
    const QString page = hrefForDocument(tag);
    return page.isEmpty() ? hrefForAbsentItem(tag) : page;
}

QString DHTMLWriter::hrefForItem(const QString& name)
{
    if (name.isEmpty())
        return QString();
    return isOnPage(name) ? QLatin1Char('#') + name : hrefForAbsentItem(name);
}

QString DHTMLWriter::hrefForDocument(const QString& tag)
{
    return DExportHtml::pageFileName(tag, m_config ? m_config->fileExtension()
                                                   : QStringLiteral(".html"));
}

QString DHTMLWriter::hrefForAbsentItem(const QString&)
{
    return QString();
}

// Containers ----------------------------------------------------------------

void DHTMLWriter::doDocument(DDocument* item)
{
    const Wrap wrap = beginItem(item);
    if (wrap.write)
        openContainer(item, QStringLiteral("article"), QStringLiteral("document"));
    endItem(wrap);
}

void DHTMLWriter::doSection(DSection* item)
{
    const Wrap wrap = beginItem(item);
    if (wrap.write)
        openContainer(item, QStringLiteral("section"));
    endItem(wrap);
}

void DHTMLWriter::doTitle(DTitle* item)
{
    const Wrap wrap = beginItem(item);
    if (wrap.write)
        openContainer(item, QStringLiteral("h%1").arg(qBound(1, item->level(), 6)));
    endItem(wrap);
}

void DHTMLWriter::doHeader(DHeader* item)
{
    const Wrap wrap = beginItem(item);
    if (wrap.write)
        openContainer(item, QStringLiteral("header"), QStringLiteral("header"));
    endItem(wrap);
}

void DHTMLWriter::doFooter(DFooter* item)
{
    const Wrap wrap = beginItem(item);
    if (wrap.write)
        openContainer(item, QStringLiteral("footer"), QStringLiteral("footer"));
    endItem(wrap);
}

void DHTMLWriter::doParagraph(DParagraph* item)
{
    const Wrap wrap = beginItem(item);
    if (wrap.write) {
        if (holdsBlock(item))
            openContainer(item, QStringLiteral("div"), QStringLiteral("paragraph"));
        else
            openContainer(item, QStringLiteral("p"));
    }
    endItem(wrap);
}

void DHTMLWriter::doList(DList* item)
{
    const Wrap wrap = beginItem(item);
    if (wrap.write)
        openContainer(item, QStringLiteral("ul"), QStringLiteral("list"));
    endItem(wrap);
}

void DHTMLWriter::doSummary(DSummary* item)
{
    const Wrap wrap = beginItem(item);
    if (wrap.write)
        openContainer(item, QStringLiteral("ul"), QStringLiteral("summary"));
    endItem(wrap);
}

void DHTMLWriter::doIndex(DIndex* item)
{
    const Wrap wrap = beginItem(item);
    if (wrap.write)
        openContainer(item, QStringLiteral("ul"), QStringLiteral("index"));
    endItem(wrap);
}

void DHTMLWriter::doTable(DTable* item)
{
    const Wrap wrap = beginItem(item);
    if (wrap.write) {
        const char* frames[] = {"frame-none", "frame-outline", "frame-grid"};
        const QString frame = QLatin1String(frames[qBound(0, item->frame(), 2)]);
        out() << "<table" << attributes(item, frame) << '>';
        // Relative widths as percentages; a missing or unusable width takes
        // the mean of the others, as in the view.
        const QList<double>& widths = item->widths();
        const qsizetype columns = qMin<qsizetype>(widths.size(), DTable::MaxColumns);
        auto usable = [](double w) { return std::isfinite(w) && w > 0; };
        double sum = 0;
        for (qsizetype c = 0; c < columns; ++c)
            sum += usable(widths[c]) ? widths[c] : 0;
        if (sum > 0 && std::isfinite(sum)) {
            const double missing = sum / double(columns);
            double total = 0;
            for (qsizetype c = 0; c < columns; ++c)
                total += usable(widths[c]) ? widths[c] : missing;
            out() << "<colgroup>";
            for (qsizetype c = 0; c < columns; ++c) {
                const double w = usable(widths[c]) ? widths[c] : missing;
                out() << "<col style=\"width: " << QString::number(100.0 * w / total, 'f', 2)
                      << "%\"/>";
            }
            out() << "</colgroup>";
        }
        out() << "<tbody>";
        doItemChildren(item);
        closeChildrenWith(QStringLiteral("</tbody></table>\n"));
    }
    endItem(wrap);
}

void DHTMLWriter::doRow(DRow* item)
{
    const Wrap wrap = beginItem(item);
    if (wrap.write) {
        if (parentKind() == DItem::Table)
            openContainer(item, QStringLiteral("tr"));
        else
            openContainer(item, QStringLiteral("div"), QStringLiteral("row"));
    }
    endItem(wrap);
}

void DHTMLWriter::doCell(DCell* item)
{
    const Wrap wrap = beginItem(item);
    if (!wrap.write) {
        endItem(wrap);
        return;
    }
    const DItem::Kind parent = parentKind();
    if (parent == DItem::Row || parent == DItem::Table) {
        out() << "<td" << attributes(item);
        if (item->columnSpan() > 1)
            out() << " colspan=\"" << item->columnSpan() << '"';
        if (item->rowSpan() > 1)
            out() << " rowspan=\"" << item->rowSpan() << '"';
        out() << '>';
        doItemChildren(item);
        closeChildrenWith(QStringLiteral("</td>"));
    } else {
        openContainer(item, QStringLiteral("div"), QStringLiteral("cell"));
    }
    endItem(wrap);
}

void DHTMLWriter::doCellText(DCellText* item)
{
    // The cell's element, then its own text before its children.
    DHTMLWriter::doCell(item);
    if (!m_canceled && !m_open.isEmpty() && m_open.last().container == item)
        out() << escapeText(item->text());
}

void DHTMLWriter::doPopupLink(DPopupLink* item)
{
    Wrap wrap = beginItem(item);
    if (wrap.write) {
        const bool paired = item->next() && item->next()->kind() == DItem::Popup;
        out() << "<details" << attributes(item, QStringLiteral("popup")) << "><summary>";
        doItemChildren(item);
        if (item->first())
            closeChildrenWith(QStringLiteral("</summary>"));
        else
            closeChildrenWith(escapeText(item->target()) + QStringLiteral("</summary>"));
        if (paired) {
            // The popup that follows writes its content inside these
            // details, then closes them and the wrapping.
            m_pairedPopups.insert(item->next(), wrap.after);
            wrap.after.clear();
        } else {
            closeChildrenWith(QStringLiteral("</details>\n"));
        }
    }
    endItem(wrap);
}

void DHTMLWriter::doPopup(DPopup* item)
{
    const bool paired = m_pairedPopups.contains(item);
    const Wrap wrap = beginItem(item);
    if (wrap.write) {
        if (!paired)
            out() << "<details class=\"popup\"><summary>"
                  << escapeText(item->name().isEmpty() ? QStringLiteral("\u2026") : item->name())
                  << "</summary>";
        out() << "<div" << attributes(item, QStringLiteral("popup-body")) << '>';
        doItemChildren(item);
        closeChildrenWith(QStringLiteral("</div></details>\n"));
    } else if (paired) {
        // Canceled: the details the link opened are closed all the same.
        out() << "</details>";
    }
    endItem(wrap);
}

void DHTMLWriter::doGraphic(DGraphic* item)
{
    const Wrap wrap = beginItem(item);
    if (wrap.write) {
        // Axes, curves and points are read by the chart: not entered.
        out() << "<figure" << attributes(item, QStringLiteral("graphic")) << '>';
        DHtmlChart::write(out(), item);
        out() << "</figure>\n";
    }
    endItem(wrap);
}

void DHTMLWriter::doCurve(DCurve* item)
{
    // Outside a graphic a curve shows nothing, as in the view.
    endItem(beginItem(item));
}

void DHTMLWriter::doPoint(DPoint* item)
{
    endItem(beginItem(item));
}

void DHTMLWriter::doAxis(DAxis* item)
{
    endItem(beginItem(item));
}

void DHTMLWriter::doLink(DLink* link)
{
    const Wrap wrap = beginItem(link);
    if (wrap.write)
        doLink(static_cast<DItem*>(link));
    endItem(wrap);
}

void DHTMLWriter::doLink(DItem* item)
{
    const DLink* link = item->toLink();
    const QString href = link ? hrefFor(link->target()) : QString();
    out() << "<a" << attributes(item, QStringLiteral("link"));
    if (!href.isEmpty())
        out() << " href=\"" << escapeAttribute(href) << '"';
    out() << '>';
    if (!item->isContainer()) {
        out() << "</a>";
        return;
    }
    DItemContainer* container = item->toContainer();
    doItemChildren(container);
    // A link without children shows its target, as in the view.
    if (!container->first() && link)
        closeChildrenWith(escapeText(link->target()) + QStringLiteral("</a>"));
    else
        closeChildrenWith(QStringLiteral("</a>"));
}

// Leaves ----------------------------------------------------------------------

void DHTMLWriter::doPageBreak(DPageBreak* item)
{
    const Wrap wrap = beginItem(item);
    if (wrap.write)
        out() << "<hr" << attributes(item, QStringLiteral("page-break")) << "/>\n";
    endItem(wrap);
}

void DHTMLWriter::doText(DText* item)
{
    const Wrap wrap = beginItem(item);
    if (wrap.write) {
        const QString attrs = attributes(item);
        if (attrs.isEmpty())
            out() << escapeText(item->text());
        else
            out() << "<span" << attrs << '>' << escapeText(item->text()) << "</span>";
    }
    endItem(wrap);
}

void DHTMLWriter::doImage(DImage* item)
{
    const Wrap wrap = beginItem(item);
    if (wrap.write) {
        const QString file = m_pictures.add(item->source(), m_imageFolders);
        if (file.isEmpty())
            out() << "<span" << attributes(item, QStringLiteral("missing-image")) << '>'
                  << escapeText(QLatin1Char('[') + item->source() + QLatin1Char(']')) << "</span>";
        else
            out() << "<img" << attributes(item) << " src=\"" << escapeAttribute(file) << "\" alt=\""
                  << escapeAttribute(item->source()) << "\"/>";
    }
    endItem(wrap);
}

void DHTMLWriter::doTag(DTag* item)
{
    const Wrap wrap = beginItem(item);
    if (wrap.write) {
        const QString attrs = attributes(item, QStringLiteral("tag"));
        if (attrs.contains(QLatin1String(" id=")))
            out() << "<span" << attrs << "></span>";
    }
    endItem(wrap);
}

void DHTMLWriter::doTagPointer(DTagPointer* item)
{
    const Wrap wrap = beginItem(item);
    if (wrap.write) {
        out() << "<a" << attributes(item, QStringLiteral("tag-pointer"));
        const QString href = hrefForItem(item->target());
        if (!href.isEmpty())
            out() << " href=\"" << escapeAttribute(href) << '"';
        out() << '>' << escapeText(QStringLiteral("\u2192 ") + item->target()) << "</a>";
    }
    endItem(wrap);
}

void DHTMLWriter::writeEntry(DItem* item, const QString& target, const QString& text)
{
    const bool inList = isListLike(parentKind());
    if (!inList)
        out() << "<div class=\"entry\">";
    out() << "<a" << attributes(item, QStringLiteral("entry"));
    const QString href = hrefFor(target);
    if (!href.isEmpty())
        out() << " href=\"" << escapeAttribute(href) << '"';
    out() << '>' << escapeText(text.isEmpty() ? target : text) << "</a>";
    if (!inList)
        out() << "</div>";
}

void DHTMLWriter::doSEntry(DSEntry* item)
{
    const Wrap wrap = beginItem(item);
    if (wrap.write)
        writeEntry(item, item->target(), item->text());
    endItem(wrap);
}

void DHTMLWriter::doIEntry(DIEntry* item)
{
    const Wrap wrap = beginItem(item);
    if (wrap.write)
        writeEntry(item, item->target(), item->text());
    endItem(wrap);
}
