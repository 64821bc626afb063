#ifndef PREFERENCEPAGEINTERFACE_H
#define PREFERENCEPAGEINTERFACE_H

#include <QString>

class QWidget;

// One page of the host's preferences dialog. Pages form a tree: child() is
// the first sub-page, next() the following page at the same level. The
// dialog builds the page widget with createWidget(), fills it with
// updateContents(), and on its buttons calls apply(), cancel() or
// defaults().
class PreferencePageInterface
{
public:
    virtual ~PreferencePageInterface();

    virtual QString tag() const = 0;
    virtual QString title() const = 0;
    virtual QString helpTag() const = 0;
    // The page widget, a child of `parent`; the dialog owns it.
    virtual QWidget* createWidget(QWidget* parent) = 0;
    // Shows the page's values in its widget.
    virtual void updateContents() = 0;
    // Takes the values shown in the widget.
    virtual void apply() = 0;
    virtual void cancel() = 0;
    // Resets the values to their defaults.
    virtual void defaults() = 0;
    virtual PreferencePageInterface* child() const = 0;
    virtual PreferencePageInterface* next() const = 0;
};

#endif
