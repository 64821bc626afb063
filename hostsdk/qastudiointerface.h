#ifndef QASTUDIOINTERFACE_H
#define QASTUDIOINTERFACE_H

#include "qunknowninterface.h"

#include <QString>

class QMainWindow;
class QMenu;
class QAILogMonitor;
class QAStOutputWidget;
class QAResProducer;
class TallyvaneInterface;

// Interface id under which the host hands out its application interface.
#define IID_QAStudioInterface QUuid("{cedeb1c6-d23b-431d-a038-1275cd056913}")

// The host application as plug-ins see it.
class QAStudioInterface : public QUnknownInterface
{
public:
    virtual QMainWindow* mainWindow() const = 0;
    virtual QAILogMonitor* logMonitor() const = 0;
    virtual QAStOutputWidget* outputWidget() const = 0;
    virtual void showOutputWidget(QAStOutputWidget* widget) = 0;
    virtual QString homeDir() const = 0;
    virtual QString configDirectory() const = 0;
    virtual QString pixmapDirectory() const = 0;
    virtual void progressStart(int totalSteps, const QString& label,
                               const QString& cancelLabel) = 0;
    virtual void progressStep(int step) = 0;
    virtual void progressEnd() = 0;
    virtual void openLocation(const QString& location, int line, bool activate) = 0;
    virtual void addResProducer(QAResProducer* producer) = 0;
    virtual int insertMenu(const QString& title, QMenu* menu) = 0;
    virtual void removeMenu(int id) = 0;
    virtual TallyvaneInterface* defectTracker() const = 0;
    virtual QString productName() const = 0;
};

#endif
