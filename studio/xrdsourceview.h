#ifndef XRDSOURCEVIEW_H
#define XRDSOURCEVIEW_H

#include <QPlainTextEdit>

class XrdLineNumberArea;

// A read-only source file, with its line numbers in a gutter on the left and
// one line highlighted (the place a report link points to).
class XrdSourceView : public QPlainTextEdit
{
    Q_OBJECT

public:
    explicit XrdSourceView(QWidget* parent = nullptr);

    // False when the file cannot be read.
    bool load(const QString& path);
    QString path() const { return m_path; }

    // Highlights line (1-based) and scrolls to it; 0 highlights nothing.
    void showLine(int line);
    int highlightedLine() const { return m_line; }

    // The gutter, wide enough for the number of the last line.
    QWidget* lineNumberArea() const;
    int lineNumberAreaWidth() const;
    // Paints the numbers of the lines in view into the gutter.
    void paintLineNumbers(QPaintEvent* event);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void updateLineNumberAreaWidth();
    void updateLineNumberArea(const QRect& rect, int dy);

    XrdLineNumberArea* m_lineNumbers;
    QString m_path;
    int m_line = 0;
};

#endif
