#ifndef QAREPORTERPREFSTYLES_H
#define QAREPORTERPREFSTYLES_H

#include "preferenceitem.h"

#include <QList>
#include <QMap>
#include <QPointer>
#include <QStringList>

class DStyle;
class DStyleView;

// The "Styles" preferences page: the styles used to render reports, read
// from the style file and edited in a style view.
class QAReporterPrefStyles : public PreferenceItem
{
    Q_OBJECT
public:
    QAReporterPrefStyles(const QString& title, const QString& tag, const QString& helpTag,
                         const QString& styleFile);
    ~QAReporterPrefStyles() override;

    // The styles, owned by the page; replaced by defaults().
    const QList<DStyle*>& styles() const { return m_styles; }
    // The style names as the style file lists them; empty when the file
    // could not be parsed.
    const QStringList& styleNames() const { return m_styleNames; }
    // Style name to displayed name; empty without a style file.
    const QMap<QString, QString>& styleNameTranslation() const { return m_translation; }
    const QString& styleFile() const { return m_styleFile; }
    // The style's parse error, empty when the file was read completely.
    const QString& styleFileError() const { return m_styleFileError; }

    QWidget* createWidget(QWidget* parent) override;
    void updateContents() override;
    void apply() override;
    // Reloads the styles from the style file.
    void defaults() override;

private:
    void clearStyles();
    void fillTranslation();

    QList<DStyle*> m_styles;
    QPointer<DStyleView> m_view;
    QMap<QString, QString> m_translation;
    QStringList m_styleNames;
    QString m_styleFile;
    QString m_styleFileError;
};

#endif
