#ifndef QAPROGRESSDEVICE_H
#define QAPROGRESSDEVICE_H

#include <QIODevice>

class QAStudioInterface;

// A read-only device that reads through to another one and reports how
// far it got to the host's progress display, as the report reader does:
// one progress position per 50 bytes of the file. Parsers read it like any
// device and know nothing of progress.
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
    QAStudioInterface* m_host;
    qint64 m_read = 0;
    int m_totalSteps = 0;
    int m_lastStep = -1;
};

#endif
