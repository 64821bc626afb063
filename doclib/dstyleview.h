#ifndef DSTYLEVIEW_H
#define DSTYLEVIEW_H

#include "dstyle.h"

#include <QList>
#include <QMap>
#include <QStringList>
#include <QWidget>

class QAColorButton;
class QCheckBox;
class QComboBox;
class QFontComboBox;
class QLabel;
class QListWidget;
class QSpinBox;

// Edits a list of styles: the user picks a style by its displayed name and
// changes its font, colours, alignment and margin. Edits go to copies of
// the styles; updateStyles() writes them back.
class DStyleView : public QWidget
{
    Q_OBJECT
public:
    DStyleView(const QStringList& names, QWidget* parent = nullptr);

    // Shows each style name as the text it maps to (names without an entry
    // show as they are).
    void setStyleNameTranslation(const QMap<QString, QString>& translation);
    // Copies the styles' values into the editor; the styles are remembered
    // for updateStyles() and must outlive that call.
    void initVal(const QList<DStyle*>& styles);
    // Writes the edited values back into the styles given to initVal().
    void updateStyles();
    // Forgets the styles given to initVal() (they are about to be deleted);
    // the editor keeps its values and updateStyles() writes nothing.
    void releaseStyles();

    QStringList styleNames() const { return m_names; }
    QString currentStyleName() const;
    // Selects the style named `name`; false when it is not listed.
    bool selectStyle(const QString& name);

private:
    void buildEditor();
    void fitListWidth();
    void showCurrentStyle();
    void showPreview();
    DStyle* editedStyle();
    // Applies `change` to the style being edited, unless the editor is
    // being filled from the style.
    template <typename Change> void edit(Change change);

    QStringList m_names;
    QList<DStyle*> m_targets;
    QList<DStyle> m_edited;
    int m_current = -1;
    bool m_loading = false;

    QListWidget* m_list = nullptr;
    QWidget* m_editor = nullptr;
    QFontComboBox* m_family = nullptr;
    QSpinBox* m_size = nullptr;
    QCheckBox* m_bold = nullptr;
    QCheckBox* m_italic = nullptr;
    QCheckBox* m_underline = nullptr;
    QAColorButton* m_color = nullptr;
    QAColorButton* m_background = nullptr;
    QComboBox* m_alignment = nullptr;
    QSpinBox* m_margin = nullptr;
    QLabel* m_preview = nullptr;
};

#endif
