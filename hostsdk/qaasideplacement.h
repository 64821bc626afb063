#ifndef QAASIDEPLACEMENT_H
#define QAASIDEPLACEMENT_H

#include <QRect>

// Where to put a window so that it leaves a rectangle of the screen in
// sight (a find dialog and the match it selected): where it is when it does
// not cover the rectangle; else above or below it, on the side with more
// room, else left or right of it; always inside the available area.
class QAAsidePlacement
{
public:
    static QRect aside(const QRect& window, const QRect& keepClear, const QRect& area);
};

#endif
