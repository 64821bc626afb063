#ifndef XRDLINENUMBERAREA_H
#define XRDLINENUMBERAREA_H

#include <QWidget>

class XrdSourceView;

// The gutter at the left of a source view: it takes the width the view asks
// for and lets the view paint the numbers of the lines it shows.
class XrdLineNumberArea : public QWidget
{
    Q_OBJECT

public:
    explicit XrdLineNumberArea(XrdSourceView* view);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    XrdSourceView* m_view;
};

#endif
