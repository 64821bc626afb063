#include "qareportersaveas.h"

#include "qamessagebox.h"
#include "qareporter.h"
#include "qareporterdata.h"
#include "qareporterpref.h"
#include "qastudiointerface.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QSaveFile>

namespace {

QString chooseWithDialog(QWidget* parent, const QString& caption, const QString& directory,
                         const QString& filter)
{
    // The window asks its own overwrite question, after its own checks.
    return QFileDialog::getSaveFileName(parent, caption, directory, filter, nullptr,
                                        QFileDialog::DontConfirmOverwrite);
}

enum class CopyResult { Copied, ReadFailed, WriteFailed };

// Copies in pieces, so that a large report is never held whole in memory.
CopyResult copyBytes(QFile& input, QSaveFile& output)
{
    constexpr qint64 pieceSize = 1 << 16;
    for (;;) {
        const QByteArray piece = input.read(pieceSize);
        if (input.error() != QFileDevice::NoError)
            return CopyResult::ReadFailed;
        if (piece.isEmpty())
            return CopyResult::Copied;
        if (output.write(piece) != piece.size())
            return CopyResult::WriteFailed;
    }
}

QAStudioInterface* studio()
{
    const QAReporterPref* preferences = reporterPreferences();
    return preferences ? preferences->studio() : nullptr;
}

} // namespace

QAReporterSaveAs::QAReporterSaveAs(QAReporter* window)
    : m_window(window), m_chooser(chooseWithDialog)
{
}

void QAReporterSaveAs::run()
{
    QAStudioInterface* host = studio();
    m_title = host ? host->productName() : tr("Report", "Default product name to dialogs box.");
    // The names are taken first: the dialogs and boxes run an event loop, in
    // which a changed file may reload the window and replace its records.
    QStringList fileNames;
    for (const QAReporterData* record : m_window->records())
        fileNames.append(record->fileName);
    for (const QString& fileName : std::as_const(fileNames))
        saveReport(QFileInfo(fileName));
}

// Asks again for the same report until a destination is accepted or the
// dialog is cancelled.
void QAReporterSaveAs::saveReport(const QFileInfo& source)
{
    const QString caption =
        tr("Save %1 Report As", "%1 is the source file name.").arg(source.fileName());
    const QString filter = tr("Report File") + QStringLiteral(" (*.xrd)");
    for (;;) {
        const QString chosen = m_chooser(m_window, caption, source.absolutePath(), filter);
        if (chosen.isEmpty())
            return;
        const QFileInfo destination(chosen);
        if (destination.filePath() == source.filePath()) {
            warn(tr("Source and destination files are the sames.\nPlease select an other file."));
            continue;
        }
        if (destination.exists() &&
            QAMessageBox::warning(
                m_window, m_title, tr("The file already exists.\nDo you want to overwrite it?"),
                QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel) != QMessageBox::Yes)
            continue;
        copy(source, destination);
        return;
    }
}

// The copy goes through a QSaveFile: the destination only changes, all at
// once, when the whole source has been read and written, so a failed or
// interrupted save leaves it as it was. The destination is still opened
// before the source, so a destination that cannot be written is reported
// first; but a source that cannot be read no longer leaves an empty
// destination behind. The bytes are copied as they are (no text mode), so
// the copy keeps the source's encoding and line ends.
void QAReporterSaveAs::copy(const QFileInfo& source, const QFileInfo& destination)
{
    const QString writeFailed =
        tr("The file could not be save.\nPlease check if you have write permission.");
    const QString readFailed =
        tr("The file could not be save.\nPlease check if you have read permission.");
    QSaveFile output(destination.filePath());
    if (!output.open(QIODevice::WriteOnly)) {
        warn(writeFailed);
        return;
    }
    QFile input(source.filePath());
    if (!input.open(QIODevice::ReadOnly)) {
        output.cancelWriting();
        warn(readFailed);
        return;
    }
    switch (copyBytes(input, output)) {
    case CopyResult::ReadFailed:
        output.cancelWriting();
        warn(readFailed);
        break;
    case CopyResult::WriteFailed:
        output.cancelWriting();
        warn(writeFailed);
        break;
    case CopyResult::Copied:
        if (!output.commit())
            warn(writeFailed);
    }
}

void QAReporterSaveAs::warn(const QString& text)
{
    QAMessageBox::warning(m_window, m_title, text, QMessageBox::Ok);
}
