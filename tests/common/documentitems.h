#ifndef DOCUMENTITEMS_H
#define DOCUMENTITEMS_H

#include "damlhandler.h"
#include "damlreader.h"
#include "ddocument.h"

#include <QList>
#include <QtDebug>

#include <algorithm>
#include <memory>

class DStyle;

// The document read from AML text, or null (with a warning) when the text
// cannot be read.
inline std::unique_ptr<DDocument> readAml(const QByteArray& aml, const QList<DStyle*>& styles = {})
{
    DAmlHandler handler;
    handler.setStyles(styles);
    DAmlReader reader;
    reader.setContentHandler(&handler);
    if (!reader.parse(aml)) {
        qWarning() << "AML not read:" << handler.errorString();
        return nullptr;
    }
    return handler.takeDocument();
}

// Every item from root down, in document order, walked with an explicit
// stack so that deep test documents do not recurse.
inline QList<DItem*> itemsOf(DItem* root)
{
    QList<DItem*> items;
    QList<DItem*> pending{root};
    QList<DItem*> children;
    while (!pending.isEmpty()) {
        DItem* item = pending.takeLast();
        items.append(item);
        if (DItemContainer* container = item->toContainer()) {
            children.clear();
            for (DItem* child = container->first(); child; child = child->next())
                children.append(child);
            std::reverse(children.begin(), children.end());
            pending.append(children);
        }
    }
    return items;
}

#endif
