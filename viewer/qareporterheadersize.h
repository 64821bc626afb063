#ifndef QAREPORTERHEADERSIZE_H
#define QAREPORTERHEADERSIZE_H

#include <QObject>

class QDockWidget;
class QMainWindow;

// The height of a viewer window's header dock (the summary of its files).
// The first time it shows, the dock is as tall as its rows need, within a
// third of the window; from then on it keeps the height the user gives it,
// through reassemblies and reloads, and a height remembered from an
// earlier run comes first. A height asked for before the window shows is
// put in place once it does, since the window's layout ignores it before.
class QAReporterHeaderSize : public QObject
{
    Q_OBJECT

public:
    QAReporterHeaderSize(QMainWindow* window, QDockWidget* dock);

    // Puts the dock into the window's top area and shows it; rows lines of
    // lineHeight pixels are what its content needs.
    void show(int rows, int lineHeight);
    // Takes the dock out of the window, remembering its height.
    void hide();
    // The height to keep: the dock's own once it has been put in place,
    // else the one remembered; 0 when there is none yet.
    int height() const;
    // The height to give the dock (from an earlier run); applied at once
    // when the dock shows.
    void setHeight(int height);

    // The height for rows lines of lineHeight, within a third of a window
    // of windowHeight (but never below two lines).
    static int fitting(int rows, int lineHeight, int windowHeight);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool shownInPlace() const;
    // To height, or to fit the rows when 0; once the window shows.
    void resize(int height);

    QMainWindow* m_window;
    QDockWidget* m_dock;
    int m_remembered = 0;
    int m_rows = 0;
    int m_lineHeight = 0;
    bool m_pending = false;
    bool m_placed = false;
};

#endif
