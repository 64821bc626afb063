#ifndef XRDSOURCEVIEW_H
#define XRDSOURCEVIEW_H

#include <QPlainTextEdit>

// A read-only source file, with one line highlighted (the place a report
// link points to).
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

private:
    QString m_path;
    int m_line = 0;
};

#endif
