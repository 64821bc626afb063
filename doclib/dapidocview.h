#ifndef DAPIDOCVIEW_H
#define DAPIDOCVIEW_H

#include <QAbstractScrollArea>
#include <QColor>
#include <QMargins>
#include <QStringList>

// Base of the document views: a scroll area with the presentation settings
// every view shares (page margins, word wrap, where images are looked up,
// background colour). Subclasses re-render in settingsChanged().
class DApidocView : public QAbstractScrollArea
{
    Q_OBJECT
public:
    explicit DApidocView(QWidget* parent = nullptr);
    ~DApidocView() override;

    void setMargin(int margin);
    void setMargin(int left, int top, int right, int bottom);
    const QMargins& pageMargins() const { return m_margins; }

    void setWordWrap(bool on);
    bool wordWrap() const { return m_wordWrap; }

    // Adds a directory where image sources are looked up, before the
    // directories given earlier.
    void insertSearchPath(const QString& path);
    const QStringList& searchPaths() const { return m_searchPaths; }
    // The file an image source names: itself when absolute and existing,
    // else the first search path that holds it; empty when none does.
    QString findFile(const QString& source) const;

    void setBackgroundColor(const QColor& color);
    const QColor& backgroundColor() const { return m_background; }

protected:
    // Called after a setting changed; the default repaints.
    virtual void settingsChanged();

private:
    QStringList m_searchPaths;
    QMargins m_margins{8, 8, 8, 8};
    QColor m_background;
    bool m_wordWrap = true;
};

#endif
