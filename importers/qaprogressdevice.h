#ifndef QAPROGRESSDEVICE_H
#define QAPROGRESSDEVICE_H

#include <QIODevice>

#include <memory>

class QAProgressReport;
class QAStudioInterface;

// A read-only device that reads through to another one and reports how
// far it got to the host's progress display (QAProgressReport). Parsers
// read it like any device and know nothing of progress.
class QAProgressDevice : public QIODevice
{
    Q_OBJECT

public:
    // source must be open for reading and outlive this device; host may be
    // null (nothing reported). label names the work in the display.
    QAProgressDevice(QIODevice* source, QAStudioInterface* host, const QString& label);
    ~QAProgressDevice() override;

    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override;

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char* data, qint64 maxSize) override;

private:
    QIODevice* m_source;
    std::unique_ptr<QAProgressReport> m_report;
    qint64 m_read = 0;
};

#endif
