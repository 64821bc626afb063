#ifndef BENCHHOST_H
#define BENCHHOST_H

#include <qastudiointerface.h>

#include <QElapsedTimer>
#include <QString>

// A host for benchmarks: answers with fixed values and notes when progress
// is reported, to find the longest stretch of work without a report.
class BenchHost : public QAStudioInterface
{
public:
    bool queryInterface(const QUuid& id, QUnknownInterface** iface) override;
    QMainWindow* mainWindow() const override { return window; }
    QAILogMonitor* logMonitor() const override { return nullptr; }
    QAStOutputWidget* outputWidget() const override { return nullptr; }
    void showOutputWidget(QAStOutputWidget*) override {}
    QString homeDir() const override { return home; }
    QString configDirectory() const override { return home; }
    QString pixmapDirectory() const override { return home + QStringLiteral("/pixmaps"); }
    void progressStart(int, const QString&, const QString&) override { tick(); }
    void progressStep(int) override { tick(); }
    void progressEnd() override { tick(); }
    void openLocation(const QString&, int, bool) override {}
    void addResProducer(QAResProducer*) override {}
    int insertMenu(const QString&, QMenu*) override { return 1; }
    void removeMenu(int) override {}
    TallyvaneInterface* defectTracker() const override { return nullptr; }
    QString productName() const override { return QStringLiteral("bench"); }

    void startWatch();
    void tick();

    QMainWindow* window = nullptr;
    // The resources folder: style file under lib/, pictures, dhtml.cfg.
    QString home;
    double longestGapMs = 0;

private:
    QElapsedTimer m_clock;
    double m_last = 0;
};

#endif
