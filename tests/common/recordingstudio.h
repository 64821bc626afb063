#ifndef RECORDINGSTUDIO_H
#define RECORDINGSTUDIO_H

#include "qastudiointerface.h"

#include <QStringList>

// A host application interface for tests: records the calls it receives
// as lines of text and answers with configurable values.
class RecordingStudio : public QAStudioInterface
{
public:
    bool queryInterface(const QUuid& id, QUnknownInterface** iface) override
    {
        *iface = id == IID_QAStudioInterface ? this : nullptr;
        return *iface != nullptr;
    }
    QMainWindow* mainWindow() const override { return window; }
    QAILogMonitor* logMonitor() const override { return log; }
    QAStOutputWidget* outputWidget() const override { return output; }
    void showOutputWidget(QAStOutputWidget*) override { calls << "showOutputWidget"; }
    QString homeDir() const override { return home; }
    QString configDirectory() const override { return config; }
    QString pixmapDirectory() const override { return pixmaps; }
    void progressStart(int total, const QString& label, const QString& cancel) override
    {
        calls << QString("progressStart %1 %2 %3").arg(total).arg(label, cancel);
    }
    void progressStep(int step) override { steps << step; }
    void progressEnd() override { calls << "progressEnd"; }
    void openLocation(const QString& location, int line, bool activate) override
    {
        calls << QString("openLocation %1 %2 %3").arg(location).arg(line).arg(activate);
    }
    void addResProducer(QAResProducer* producer) override
    {
        producers << producer;
        calls << "addResProducer";
    }
    int insertMenu(const QString& title, QMenu*) override
    {
        calls << "insertMenu " + title;
        return ++lastMenuId;
    }
    void removeMenu(int id) override { calls << QString("removeMenu %1").arg(id); }
    TallyvaneInterface* defectTracker() const override { return nullptr; }
    QString productName() const override { return "xrdview"; }

    QMainWindow* window = nullptr;
    QAILogMonitor* log = nullptr;
    QAStOutputWidget* output = nullptr;
    QString home = ".";
    QString config = ".";
    QString pixmaps = ".";
    QStringList calls;
    QList<int> steps;
    QList<QAResProducer*> producers;
    int lastMenuId = 0;
};

#endif
