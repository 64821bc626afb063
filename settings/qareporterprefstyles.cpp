#include "qareporterprefstyles.h"

#include "damlhandler.h"
#include "damlreader.h"
#include "dstyle.h"
#include "dstyleview.h"

#include <QFile>
#include <QLoggingCategory>
#include <QVBoxLayout>

Q_LOGGING_CATEGORY(lcSettings, "xrd.settings")

namespace {

// The styles the default style file defines, in the order they are shown.
const char* const styleNamesToTranslate[] = {
    QT_TRANSLATE_NOOP("QAReporterPrefStyles", "Normal"),
    QT_TRANSLATE_NOOP("QAReporterPrefStyles", "Normal Failed"),
    QT_TRANSLATE_NOOP("QAReporterPrefStyles", "Normal Passed"),
    QT_TRANSLATE_NOOP("QAReporterPrefStyles", "Title0"),
    QT_TRANSLATE_NOOP("QAReporterPrefStyles", "Title1"),
    QT_TRANSLATE_NOOP("QAReporterPrefStyles", "Title1 Failed"),
    QT_TRANSLATE_NOOP("QAReporterPrefStyles", "Title1 Passed"),
    QT_TRANSLATE_NOOP("QAReporterPrefStyles", "Title2"),
    QT_TRANSLATE_NOOP("QAReporterPrefStyles", "Title2 Failed"),
    QT_TRANSLATE_NOOP("QAReporterPrefStyles", "Title2 Passed"),
    QT_TRANSLATE_NOOP("QAReporterPrefStyles", "Title3"),
    QT_TRANSLATE_NOOP("QAReporterPrefStyles", "Title3 Failed"),
    QT_TRANSLATE_NOOP("QAReporterPrefStyles", "Title3 Passed"),
    QT_TRANSLATE_NOOP("QAReporterPrefStyles", "Title4"),
    QT_TRANSLATE_NOOP("QAReporterPrefStyles", "Title4 Failed"),
    QT_TRANSLATE_NOOP("QAReporterPrefStyles", "Title4 Passed"),
    QT_TRANSLATE_NOOP("QAReporterPrefStyles", "Title5"),
    QT_TRANSLATE_NOOP("QAReporterPrefStyles", "Title5 Failed"),
    QT_TRANSLATE_NOOP("QAReporterPrefStyles", "Title5 Passed"),
    QT_TRANSLATE_NOOP("QAReporterPrefStyles", "Title6"),
    QT_TRANSLATE_NOOP("QAReporterPrefStyles", "Title6 Failed"),
    QT_TRANSLATE_NOOP("QAReporterPrefStyles", "Title6 Passed"),
    QT_TRANSLATE_NOOP("QAReporterPrefStyles", "Array Title"),
    QT_TRANSLATE_NOOP("QAReporterPrefStyles", "Array"),
    QT_TRANSLATE_NOOP("QAReporterPrefStyles", "Array Failed"),
    QT_TRANSLATE_NOOP("QAReporterPrefStyles", "Array Passed"),
    QT_TRANSLATE_NOOP("QAReporterPrefStyles", "Warning"),
    QT_TRANSLATE_NOOP("QAReporterPrefStyles", "Link"),
};

} // namespace

QAReporterPrefStyles::QAReporterPrefStyles(const QString& title, const QString& tag,
                                           const QString& helpTag, const QString& styleFile)
    : PreferenceItem(title, tag, helpTag), m_styleFile(styleFile)
{
    defaults();
    if (QFile::exists(m_styleFile))
        fillTranslation();
}

QAReporterPrefStyles::~QAReporterPrefStyles()
{
    clearStyles();
}

void QAReporterPrefStyles::clearStyles()
{
    if (m_view)
        m_view->releaseStyles();
    qDeleteAll(m_styles);
    m_styles.clear();
}

void QAReporterPrefStyles::fillTranslation()
{
    for (const char* name : styleNamesToTranslate)
        m_translation.insert(QString::fromLatin1(name), tr(name));
}

QWidget* QAReporterPrefStyles::createWidget(QWidget* parent)
{
    auto* box = new QWidget(parent);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(10, 10, 10, 10);
    m_view = new DStyleView(m_styleNames, box);
    m_view->setStyleNameTranslation(m_translation);
    layout->addWidget(m_view);
    return box;
}

void QAReporterPrefStyles::updateContents()
{
    if (m_view)
        m_view->initVal(m_styles);
}

void QAReporterPrefStyles::apply()
{
    if (m_view)
        m_view->updateStyles();
}

void QAReporterPrefStyles::defaults()
{
    clearStyles();
    m_styleNames.clear();
    m_styleFileError.clear();
    QFile file(m_styleFile);
    if (!file.exists()) {
        qCWarning(lcSettings, "Style file %s not found: reports are shown without styles",
                  qUtf8Printable(m_styleFile));
        return;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        m_styleFileError = file.errorString();
        qCWarning(lcSettings, "Style file %s cannot be read: %s", qUtf8Printable(m_styleFile),
                  qUtf8Printable(m_styleFileError));
        return;
    }
    DAmlHandler handler;
    handler.setEnabledLocalStyle(true);
    DAmlReader reader;
    reader.setContentHandler(&handler);
    if (reader.parse(&file)) {
        m_styleNames = handler.styleNames();
    } else {
        // The error text gives the line, the column and the message.
        m_styleFileError = handler.errorString();
        qCWarning(lcSettings, "Style file %s: %s (the styles read before are kept)",
                  qUtf8Printable(m_styleFile), qUtf8Printable(m_styleFileError));
    }
    // After a failed parse the styles read before the fault are kept.
    m_styles = handler.takeStyles();
}
