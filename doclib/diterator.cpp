#include "diterator.h"

#include "ditems.h"

DIterator::DIterator(QAIProgressMonitor* progress) : m_progress(progress) {}

DIterator::~DIterator() = default;

void DIterator::doAll(DDocument* document)
{
    if (document)
        doItem(document);
}

void DIterator::doItem(DItem* item)
{
    visit(item);
    if (m_walking)
        return;
    m_walking = true;
    while (!m_frames.isEmpty()) {
        Frame& top = m_frames.last();
        if (DItem* child = top.nextChild) {
            top.nextChild = child->next();
            visit(child);
        } else {
            DItemContainer* container = top.container;
            m_frames.removeLast();
            leaveItemChildren(container);
        }
    }
    m_walking = false;
}

void DIterator::visit(DItem* item)
{
    switch (item->kind()) {
    case DItem::Document:
        doDocument(static_cast<DDocument*>(item));
        break;
    case DItem::Section:
        doSection(static_cast<DSection*>(item));
        break;
    case DItem::Title:
        doTitle(static_cast<DTitle*>(item));
        break;
    case DItem::Header:
        doHeader(static_cast<DHeader*>(item));
        break;
    case DItem::Footer:
        doFooter(static_cast<DFooter*>(item));
        break;
    case DItem::Paragraph:
        doParagraph(static_cast<DParagraph*>(item));
        break;
    case DItem::List:
        doList(static_cast<DList*>(item));
        break;
    case DItem::Link:
        doLink(static_cast<DLink*>(item));
        break;
    case DItem::Table:
        doTable(static_cast<DTable*>(item));
        break;
    case DItem::Row:
        doRow(static_cast<DRow*>(item));
        break;
    case DItem::Cell:
        doCell(static_cast<DCell*>(item));
        break;
    case DItem::CellText:
        doCellText(static_cast<DCellText*>(item));
        break;
    case DItem::PopupLink:
        doPopupLink(static_cast<DPopupLink*>(item));
        break;
    case DItem::Popup:
        doPopup(static_cast<DPopup*>(item));
        break;
    case DItem::Summary:
        doSummary(static_cast<DSummary*>(item));
        break;
    case DItem::Index:
        doIndex(static_cast<DIndex*>(item));
        break;
    case DItem::Graphic:
        doGraphic(static_cast<DGraphic*>(item));
        break;
    case DItem::Curve:
        doCurve(static_cast<DCurve*>(item));
        break;
    case DItem::PageBreak:
        doPageBreak(static_cast<DPageBreak*>(item));
        break;
    case DItem::Text:
        doText(static_cast<DText*>(item));
        break;
    case DItem::Image:
        doImage(static_cast<DImage*>(item));
        break;
    case DItem::Tag:
        doTag(static_cast<DTag*>(item));
        break;
    case DItem::TagPointer:
        doTagPointer(static_cast<DTagPointer*>(item));
        break;
    case DItem::SEntry:
        doSEntry(static_cast<DSEntry*>(item));
        break;
    case DItem::IEntry:
        doIEntry(static_cast<DIEntry*>(item));
        break;
    case DItem::Point:
        doPoint(static_cast<DPoint*>(item));
        break;
    case DItem::Axis:
        doAxis(static_cast<DAxis*>(item));
        break;
    case DItem::KindCount:
        break;
    }
}

void DIterator::doItemChildren(DItemContainer* container)
{
    m_frames.append({container, container->first()});
}

void DIterator::leaveItemChildren(DItemContainer*) {}

void DIterator::visitItem(DItem* item)
{
    if (item->isContainer())
        doItemChildren(item->toContainer());
}

void DIterator::doDocument(DDocument* item)
{
    visitItem(item);
}

void DIterator::doSection(DSection* item)
{
    visitItem(item);
}

void DIterator::doTitle(DTitle* item)
{
    visitItem(item);
}

void DIterator::doHeader(DHeader* item)
{
    visitItem(item);
}

void DIterator::doFooter(DFooter* item)
{
    visitItem(item);
}

void DIterator::doParagraph(DParagraph* item)
{
    visitItem(item);
}

void DIterator::doList(DList* item)
{
    visitItem(item);
}

void DIterator::doLink(DLink* item)
{
    visitItem(item);
}

void DIterator::doTable(DTable* item)
{
    visitItem(item);
}

void DIterator::doRow(DRow* item)
{
    visitItem(item);
}

void DIterator::doCell(DCell* item)
{
    visitItem(item);
}

void DIterator::doCellText(DCellText* item)
{
    visitItem(item);
}

void DIterator::doPopupLink(DPopupLink* item)
{
    visitItem(item);
}

void DIterator::doPopup(DPopup* item)
{
    visitItem(item);
}

void DIterator::doSummary(DSummary* item)
{
    visitItem(item);
}

void DIterator::doIndex(DIndex* item)
{
    visitItem(item);
}

void DIterator::doGraphic(DGraphic* item)
{
    visitItem(item);
}

void DIterator::doCurve(DCurve* item)
{
    visitItem(item);
}

void DIterator::doPageBreak(DPageBreak* item)
{
    visitItem(item);
}

void DIterator::doText(DText* item)
{
    visitItem(item);
}

void DIterator::doImage(DImage* item)
{
    visitItem(item);
}

void DIterator::doTag(DTag* item)
{
    visitItem(item);
}

void DIterator::doTagPointer(DTagPointer* item)
{
    visitItem(item);
}

void DIterator::doSEntry(DSEntry* item)
{
    visitItem(item);
}

void DIterator::doIEntry(DIEntry* item)
{
    visitItem(item);
}

void DIterator::doPoint(DPoint* item)
{
    visitItem(item);
}

void DIterator::doAxis(DAxis* item)
{
    visitItem(item);
}
