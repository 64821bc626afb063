#ifndef DBLOCKLAYOUT_H
#define DBLOCKLAYOUT_H

#include "dblockformats.h"

#include <QCache>
#include <QFont>
#include <QImage>
#include <QSet>
#include <QString>
#include <QTextCharFormat>

#include <functional>
#include <memory>
#include <vector>

class DItem;
class DTable;
class QObject;
class QTextCursor;
class QTextDocument;

// One flow block of a document laid out on its own: a title, a paragraph,
// a table (or a run of rows of a long table), a graphic... It is built as a
// small QTextDocument and remembers where each item landed, so that the view
// can place items, links and search matches without looking at other blocks.
class DBlockLayout
{
public:
    struct Context
    {
        QFont font;        // base font of the view
        qreal width = 600; // text width in pixels
        bool wordWrap = true;
        QObject* chartHandler = nullptr;                 // draws graphics
        std::function<QString(const QString&)> findFile; // image sources
        const QSet<const DItem*>* expanded = nullptr;    // open popups
        QCache<QString, QImage>* images = nullptr;       // decoded images, cost in KB
    };

    // What the reader can click: links, popup links, tag pointers and
    // summary/index entries, with their character range.
    struct Anchor
    {
        const DItem* item;
        int start;
        int end;
    };

    struct ItemPosition
    {
        const DItem* item;
        int position;
    };

    // Where the searchable text of an item starts; dropped is set when its
    // leading white space was folded into the text before it.
    struct TextRun
    {
        const DItem* item;
        int position;
        bool dropped;
    };

    // Lays out root, or when rows > 0 the rows from root on (root is then a
    // row of a table) as a table of its own.
    DBlockLayout(const DItem* root, int rows, const Context& context);
    ~DBlockLayout();
    DBlockLayout(const DBlockLayout&) = delete;
    DBlockLayout& operator=(const DBlockLayout&) = delete;

    QTextDocument* document() const { return m_doc.get(); }
    int height() const { return m_height; }
    qreal idealWidth() const;

    // Items in document order with the position where each starts.
    const std::vector<ItemPosition>& items() const { return m_items; }
    const std::vector<Anchor>& anchors() const { return m_anchors; }
    const std::vector<TextRun>& textRuns() const { return m_runs; }
    // Start position of an item of this block; -1 when not rendered here.
    int positionOf(const DItem* item) const;
    const TextRun* runOf(const DItem* item) const;
    // Top of the line that holds a position.
    qreal yOfPosition(int position) const;
    QRectF rectOfRange(int start, int end) const;
    // The anchor at a point, as an index into anchors(); -1 when none.
    int anchorAt(const QPointF& point) const;
    int hitTest(const QPointF& point) const;
    int endPosition() const;

    static constexpr int maxNesting = 40;
    static constexpr int maxTableNesting = 4;

private:
    struct State;

    void emitBlock(const DItem* item, QTextCursor& cursor, const QTextCharFormat& format,
                   int depth);
    void emitInline(const DItem* item, QTextCursor& cursor, const QTextCharFormat& format,
                    int depth);
    void emitChildren(const DItem* item, QTextCursor& cursor, const QTextCharFormat& format,
                      int depth);
    void emitFlat(const DItem* item, QTextCursor& cursor, const QTextCharFormat& format);
    void emitTable(const DTable* table, const DItem* firstRow, int rows, QTextCursor& cursor,
                   const QTextCharFormat& format, int depth);
    void emitList(const DItem* list, QTextCursor& cursor, const QTextCharFormat& format, int depth);
    void emitFrame(const DItem* item, QTextCursor& cursor, const QTextCharFormat& format,
                   int depth);
    void emitEntry(const DItem* item, QTextCursor& cursor, const QTextCharFormat& format);
    void emitImage(const DItem* item, QTextCursor& cursor, const QTextCharFormat& format);
    void insertText(const DItem* item, const QString& text, QTextCursor& cursor,
                    const QTextCharFormat& format);
    void startBlock(QTextCursor& cursor, const QTextBlockFormat& block,
                    const QTextCharFormat& format);
    void ensureInlineBlock(QTextCursor& cursor, const QTextCharFormat& format);
    QTextCharFormat linkFormat(const DItem* item, const QTextCharFormat& format);
    QImage loadImage(const QString& path);
    void record(const DItem* item, const QTextCursor& cursor);
    void setTopMargin(qreal margin);

    Context m_context;
    DBlockFormats m_formats;
    std::unique_ptr<QTextDocument> m_doc;
    std::vector<ItemPosition> m_items;
    std::vector<Anchor> m_anchors;
    std::vector<TextRun> m_runs;
    int m_height = 0;
    // Building state: whether the current text block is taken by an item,
    // whether inline content may join it, and whether it ends in a space.
    bool m_claimed = false;
    bool m_inlineOpen = false;
    bool m_lastSpace = true;
    int m_tableDepth = 0;
    Qt::Alignment m_defaultAlign; // of anonymous blocks in the current cell
};

#endif
