#ifndef DAMLHANDLER_H
#define DAMLHANDLER_H

#include "damlparseexception.h"
#include "drecentcache.h"
#include "dxmlattributes.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class DXmlLocator;
class DDocument;
class DItem;
class DStyle;

// Builds one document from AML markup, event by event, as DAmlReader
// reports them. Elements name item kinds (SECTION makes a DSection, ...);
// STYLES/STYLE define styles when local styles are enabled; unknown
// elements are transparent (their content goes to the enclosing item).
class DAmlHandler
{
public:
    // One copy of each short text read, shared by the items that hold it;
    // bounded, so that a report of unique short texts costs no more.
    class TextPool
    {
    public:
        static const int MaxShared = 16;
        static const int MaxCount = 1 << 16;
        QString text(QStringView text);
        void clear();

    private:
        QHash<QStringView, QString> m_texts;
        // Most lookups end here, without hashing the text.
        DRecentCache<QString, 256> m_recent;
    };

    DAmlHandler();
    virtual ~DAmlHandler();
    DAmlHandler(const DAmlHandler&) = delete;
    DAmlHandler& operator=(const DAmlHandler&) = delete;

    // Styles that items refer to by name; the caller keeps ownership.
    void setStyles(const QList<DStyle*>& styles);
    void setEnabledLocalStyle(bool enabled);
    void setDocumentLocator(const DXmlLocator* locator);

    virtual bool startDocument();
    virtual bool endDocument();
    virtual bool startElement(const QString& namespaceURI, const QString& localName,
                              QStringView qName, const DXmlAttributes& attributes);
    virtual bool endElement(const QString& namespaceURI, const QString& localName,
                            QStringView qName);
    virtual bool characters(QStringView text);
    // White space alone between elements: kept only inside text items.
    virtual bool ignorableWhitespace(QStringView text);
    virtual bool warning(const DAmlParseException& exception);
    virtual bool error(const DAmlParseException& exception);
    virtual bool fatalError(const DAmlParseException& exception);
    virtual QString errorString() const;

    // The item made by the latest start tag that made one.
    DItem* currentItem() const { return m_current; }
    // The item made most recently, implicit texts included.
    DItem* lastItem() const { return m_last; }
    DDocument* document() const { return m_document; }
    // Hands the document over to the caller.
    std::unique_ptr<DDocument> takeDocument();
    // Hands the document over to the caller and goes on adding to it while
    // the parse lasts: the caller keeps it alive until then. Null before
    // the document exists.
    DDocument* shareDocument();
    // The items whose element is open, outermost first: they may still get
    // children (or text).
    QList<const DItem*> openItems() const;

    // Styles read from STYLE elements (local styles enabled), in order.
    const QStringList& styleNames() const { return m_styleNames; }
    const QList<DStyle*>& styles() const { return m_localStyles; }
    // Hands the local styles over to the caller.
    QList<DStyle*> takeStyles();

    // The attribute's text: null when absent, empty (not null) when empty.
    static QString attributeText(const DXmlAttributes& attributes, QLatin1String name);

protected:
    void setErrorString(const QString& text) { m_errorString = text; }
    // Sets the error string, with the current position, and returns false.
    bool fail(const QString& message);
    qint64 lineNumber() const;
    qint64 columnNumber() const;

private:
    struct OpenItem
    {
        DItem* item;
        DItem* lastChild;
        DItem* openText; // implicit text that further character data joins
    };

    void clear();
    bool openStyleElement(QStringView qName, const DXmlAttributes& attributes);
    DItem* createItem(int kind, const DXmlAttributes& attributes);
    DStyle* findStyle(QStringView name) const;
    void ensureOpenDocument();
    void append(DItem* item);
    const QList<double>& widthsOf(QStringView text) const;
    // The text of character data met directly inside a container.
    QString textBetweenItems(const DItem* container, QStringView text);

    const DXmlLocator* m_locator = nullptr;
    QList<DStyle*> m_styles;
    QList<DStyle*> m_localStyles;
    QStringList m_styleNames;
    std::vector<OpenItem> m_open;
    std::vector<bool> m_elementOpened; // per open element: whether it pushed an item
    DDocument* m_document = nullptr;
    bool m_documentShared = false; // owned by whoever shareDocument() gave it to
    DItem* m_current = nullptr;
    DItem* m_last = nullptr;
    QString m_errorString;
    bool m_localStyleEnabled = false;
    TextPool m_textPool;
    // Style names (copies that keep the keys' data alive) and their styles.
    mutable QStringList m_styleIndexNames;
    mutable QHash<QStringView, DStyle*> m_styleIndex;
    mutable DRecentCache<DStyle*, 32> m_recentStyles; // in front of the index
    mutable QString m_lastWidthsText;                 // the last table's widths, and what they gave
    mutable QList<double> m_lastWidths;
};

#endif
