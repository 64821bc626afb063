#ifndef QASTUDIOWINDOW_H
#define QASTUDIOWINDOW_H

#include <QMainWindow>

class QAILogMonitor;
class QAIProgressMonitor;

// A document window of the host. The host asks it what it can do (the
// capability queries), calls its commands from the host's standard menus,
// and shows its outline widget in the host's outline pane. The base answers
// "cannot" and does nothing; windows override what they support.
class QAStudioWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit QAStudioWindow(QWidget* parent = nullptr, Qt::WindowFlags flags = {});
    ~QAStudioWindow() override;

    // Set while the host has this window active (between activated() and
    // desactivated()).
    bool isActivated() const { return m_activated; }

    // The capability queries, in the order the host asks them.
    virtual bool hasContentOutline() const;
    virtual QWidget* contentOutlineWidget();
    virtual bool canSave() const;
    virtual bool canSaveAs() const;
    virtual bool canPrint() const;
    virtual bool canCopy() const;
    virtual bool canPaste() const;
    virtual bool canCut() const;
    virtual bool canUndo() const;
    virtual bool canRedo() const;
    virtual bool canDelete() const;
    virtual bool canSelectAll() const;
    virtual bool canFind() const;
    virtual bool canReplace() const;
    virtual bool canGoTo() const;
    virtual bool canExport() const;
    virtual bool canZoom() const;
    virtual bool canExportHTML() const;
    virtual bool canFilter() const;
    virtual bool canRunMacro() const;

    // Writes the window's content as HTML files into dir; true on success.
    virtual bool exportHTML(const QString& dir, const QString& indexName,
                            QAIProgressMonitor* progress, QAILogMonitor* log);

public slots:
    // The host made this window the active one, or another one.
    virtual void activated();
    virtual void desactivated();
    virtual void save();
    virtual void saveAs();
    virtual void print();
    virtual void copy();
    virtual void paste();
    virtual void cut();
    virtual void undo();
    virtual void redo();
    virtual void del();
    virtual void selectAll();
    virtual void find(const QString& text);
    // Find Next and Find Previous: the next or previous match of the last
    // search. The base asks for a search (find() with a null text).
    virtual void findNext();
    virtual void findPrevious();
    virtual void replace();
    virtual void goTo();
    virtual void reload();
    virtual void zoomIn();
    virtual void zoomOut();
    virtual void zoom(int percent);
    virtual void mnFilter();
    virtual void exportDoc();
    // Reads the window's files again.
    virtual void reloadFiles();

signals:
    // What the window can do changed; the host asks the queries again.
    void stateChanged();
    // The window's caption changed.
    void captionChanged(QWidget* window);

protected:
    void setActivated(bool activated) { m_activated = activated; }

private:
    bool m_activated = false;
};

#endif
