#ifndef QAREPORTERHEADERSIZE_H
#define QAREPORTERHEADERSIZE_H

#include <QObject>

#include <functional>

class QDockWidget;
class QMainWindow;

// The height of a viewer window's header dock (the summary of its files).
// The first time it shows, the dock is as tall as its rows need, within a
// half of the window; from then on it keeps the height the user gives it,
// through reassemblies and reloads, and a height remembered from an
// earlier run comes first. A height asked for before the window shows is
// put in place once it does, since the window's layout ignores it before.
class QAReporterHeaderSize : public QObject
{
    Q_OBJECT

public:
    QAReporterHeaderSize(QMainWindow* window, QDockWidget* dock);

    // The height the dock's content needs at the width the dock has.
    using Measure = std::function<int()>;

    // Puts the dock into the window's top area and shows it; needed
    // measures its content once the window has laid the dock out, and
    // lineHeight is the least height worth showing.
    void show(const Measure& needed, int lineHeight);
    // Takes the dock out of the window, remembering its height.
    void hide();
    // The height to keep: the dock's own once it has been put in place,
    // else the one remembered; 0 when there is none yet.
    int height() const;
    // The height to give the dock (from an earlier run); applied at once
    // when the dock shows.
    void setHeight(int height);

    // The height for content of the needed height, within half of a
    // window of windowHeight (but never below two lines of lineHeight).
    static int fitting(int needed, int lineHeight, int windowHeight);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool shownInPlace() const;
    // To height, or to fit the rows when 0; once the window shows.
    void resize(int height);

    QMainWindow* m_window;
    QDockWidget* m_dock;
    int m_remembered = 0;
    Measure m_needed;
    int m_lineHeight = 0;
    bool m_pending = false;
    bool m_placed = false;
};

#endif
