#include "qareporterloadingbar.h"

#include <QAction>
#include <QLabel>
#include <QLocale>
#include <QProgressBar>

QAReporterLoadingBar::QAReporterLoadingBar(QWidget* parent)
    : QToolBar(tr("Loading"), parent), m_label(new QLabel(this)), m_progress(new QProgressBar(this))
{
    setObjectName(QStringLiteral("loadingBar"));
    setMovable(false);
    setFloatable(false);
    m_progress->setRange(0, 1000);
    m_progress->setMaximumWidth(240);
    addWidget(m_label);
    addWidget(m_progress);
    m_cancel = addAction(tr("Cancel"), this, &QAReporterLoadingBar::cancelRequested);
    m_cancel->setShortcut(Qt::Key_Escape);
    m_cancel->setShortcutContext(Qt::WindowShortcut);
    m_cancel->setToolTip(tr("Stop reading; what was read so far stays, marked incomplete"));
    hide();
}

void QAReporterLoadingBar::start(const QString& fileName)
{
    m_label->setText(tr("Reading %1").arg(fileName) + QLatin1Char(' '));
    m_progress->setRange(0, 1000);
    m_progress->setValue(0);
    m_cancel->setEnabled(true);
    show();
}

void QAReporterLoadingBar::preparing()
{
    m_label->setText(tr("Preparing the report") + QLatin1Char(' '));
    m_progress->setRange(0, 0);
    m_cancel->setEnabled(false);
}

void QAReporterLoadingBar::setProgress(qint64 done, qint64 total)
{
    m_progress->setValue(total > 0 ? int(qBound(qint64(0), done * 1000 / total, qint64(1000))) : 0);
    const QLocale locale;
    m_progress->setFormat(
        tr("%1 of %2").arg(locale.formattedDataSize(done), locale.formattedDataSize(total)));
}
