#include "qareporternotices.h"

#include "qamessagebox.h"
#include "qastoutputwidget.h"
#include "qastudiointerface.h"

#include <QGuiApplication>

bool QAReporterNotices::loadErrors(QWidget* parent, QAStudioInterface* studio,
                                   const QAReportSession::LoadErrors& errors)
{
    if (!errors.outOfMemoryPath.isEmpty()) {
        QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
        QAMessageBox::critical(
            parent, tr("Test Report Error"),
            tr("No enought memory to open the report file %1\n due to the report file is too "
               "big.\n Change your settings or your test to obtain a lower report file")
                .arg(errors.outOfMemoryPath));
        QGuiApplication::setOverrideCursor(Qt::UpArrowCursor);
        return false;
    }
    if (errors.missing.isEmpty())
        return true;
    QString text = tr("File(s) not found or corrupted:\n");
    for (const QString& path : errors.missing)
        text += tr("\t") + path + tr("\n");
    if (studio && studio->outputWidget()) {
        studio->outputWidget()->append(text);
        for (int i = 0; i < errors.missing.size(); ++i)
            studio->outputWidget()->append(errors.missing.at(i) + QStringLiteral(": ") +
                                           errors.reasons.value(i) + QLatin1Char('\n'));
    }
    QAMessageBox::warning(parent, tr("Test Report"), text, QMessageBox::Ok);
    return true;
}

void QAReporterNotices::readingStopped(QAStudioInterface* studio, const QString& path,
                                       const QString& reason)
{
    if (studio && studio->outputWidget())
        studio->outputWidget()->append(tr("%1 was read only in part: %2\n").arg(path, reason));
}

bool QAReporterNotices::preferAllTests(QWidget* parent, const QString& caption)
{
    const auto answer = QAMessageBox::question(
        parent, caption,
        tr("The filtered report is empty. \nDo you want to show all tests instead of filtered "
           "report"),
        QMessageBox::Yes | QMessageBox::No);
    return answer == QMessageBox::Yes;
}
