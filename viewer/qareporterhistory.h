#ifndef QAREPORTERHISTORY_H
#define QAREPORTERHISTORY_H

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// Where the reader has been in a viewer window, kept as a browser keeps it:
// a place is the files shown and the item the view was on. Leaving a place
// for a new one (following a link) drops the places one had gone back
// from; back and forward step through the others.
class QAReporterHistory
{
public:
    struct Place
    {
        QStringList files;
        QString position;
    };

    // The reader leaves current for a new place.
    void visit(const Place& current);
    // The place before (after) current, which is kept to come back to;
    // none when there is no such place.
    std::optional<Place> back(const Place& current);
    std::optional<Place> forward(const Place& current);
    bool canGoBack() const { return !m_back.isEmpty(); }
    bool canGoForward() const { return !m_forward.isEmpty(); }

private:
    QList<Place> m_back;
    QList<Place> m_forward;
};

#endif
