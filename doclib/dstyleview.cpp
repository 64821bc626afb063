#include "dstyleview.h"

#include "qacolorbutton.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QSpinBox>

namespace {

// The alignment choices in the order the combo box lists them; index 0
// leaves the view's default.
const Qt::Alignment alignments[] = {Qt::Alignment(), Qt::AlignLeft, Qt::AlignHCenter,
                                    Qt::AlignRight, Qt::AlignJustify};

int alignmentIndex(Qt::Alignment alignment)
{
    const QString text = DStyle::alignmentToText(alignment);
    for (int i = 1; i < 5; ++i) {
        if (DStyle::alignmentToText(alignments[i]) == text)
            return i;
    }
    return 0;
}

} // namespace

DStyleView::DStyleView(const QStringList& names, QWidget* parent) : QWidget(parent), m_names(names)
{
    m_list = new QListWidget(this);
    m_list->addItems(names);
    m_list->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    fitListWidth();
    buildEditor();

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_list);
    layout->addWidget(m_editor, 1);

    connect(m_list, &QListWidget::currentRowChanged, this, [this] { showCurrentStyle(); });
    if (!names.isEmpty())
        m_list->setCurrentRow(0);
    showCurrentStyle();
}

void DStyleView::buildEditor()
{
    m_editor = new QGroupBox(tr("Style"), this);
    m_family = new QFontComboBox(m_editor);
    m_size = new QSpinBox(m_editor);
    m_size->setRange(0, 200);
    m_size->setSpecialValueText(tr("Default"));
    m_size->setSuffix(tr(" pt"));
    m_bold = new QCheckBox(tr("Bold"), m_editor);
    m_italic = new QCheckBox(tr("Italic"), m_editor);
    m_underline = new QCheckBox(tr("Underline"), m_editor);
    m_color = new QAColorButton(m_editor);
    m_background = new QAColorButton(m_editor);
    m_alignment = new QComboBox(m_editor);
    m_alignment->addItems({tr("Default"), tr("Left"), tr("Center"), tr("Right"), tr("Justify")});
    m_margin = new QSpinBox(m_editor);
    m_margin->setRange(-1, 200);
    m_margin->setSpecialValueText(tr("Default"));
    m_margin->setSuffix(tr(" px"));
    m_preview = new QLabel(tr("AaBbCc 0123 Sample"), m_editor);
    m_preview->setFrameShape(QFrame::StyledPanel);
    m_preview->setMinimumHeight(48);
    m_preview->setAutoFillBackground(true);

    auto* flags = new QHBoxLayout;
    flags->addWidget(m_bold);
    flags->addWidget(m_italic);
    flags->addWidget(m_underline);
    flags->addStretch();
    auto* colors = new QHBoxLayout;
    colors->addWidget(m_color);
    colors->addSpacing(12);
    colors->addWidget(new QLabel(tr("Background:"), m_editor));
    colors->addWidget(m_background);
    colors->addStretch();

    auto* form = new QFormLayout(m_editor);
    form->addRow(tr("Font:"), m_family);
    form->addRow(tr("Size:"), m_size);
    form->addRow(QString(), flags);
    form->addRow(tr("Text color:"), colors);
    form->addRow(tr("Alignment:"), m_alignment);
    form->addRow(tr("Margin:"), m_margin);
    form->addRow(tr("Preview:"), m_preview);

    connect(m_family, &QFontComboBox::currentFontChanged, this,
            [this](const QFont& font) { edit([&](DStyle& s) { s.setFamily(font.family()); }); });
    connect(m_size, &QSpinBox::valueChanged, this,
            [this](int size) { edit([&](DStyle& s) { s.setPointSize(size); }); });
    connect(m_bold, &QCheckBox::toggled, this,
            [this](bool on) { edit([&](DStyle& s) { s.setBold(on); }); });
    connect(m_italic, &QCheckBox::toggled, this,
            [this](bool on) { edit([&](DStyle& s) { s.setItalic(on); }); });
    connect(m_underline, &QCheckBox::toggled, this,
            [this](bool on) { edit([&](DStyle& s) { s.setUnderline(on); }); });
    connect(m_color, &QAColorButton::colorChanged, this,
            [this](const QColor& c) { edit([&](DStyle& s) { s.setColor(c); }); });
    connect(m_background, &QAColorButton::colorChanged, this,
            [this](const QColor& c) { edit([&](DStyle& s) { s.setBackground(c); }); });
    connect(m_alignment, &QComboBox::currentIndexChanged, this, [this](int index) {
        edit([&](DStyle& s) { s.setAlignment(alignments[qBound(0, index, 4)]); });
    });
    connect(m_margin, &QSpinBox::valueChanged, this,
            [this](int margin) { edit([&](DStyle& s) { s.setMargin(margin); }); });
}

void DStyleView::fitListWidth()
{
    // Wide enough for the longest name and a scroll bar, never less than a
    // few characters.
    const int names = m_list->sizeHintForColumn(0);
    const int minimum = m_list->fontMetrics().horizontalAdvance(QLatin1Char('M')) * 8;
    m_list->setFixedWidth(qMax(names, minimum) + 2 * m_list->frameWidth() + 28);
}

template <typename Change> void DStyleView::edit(Change change)
{
    DStyle* style = editedStyle();
    if (m_loading || !style)
        return;
    change(*style);
    showPreview();
}

void DStyleView::setStyleNameTranslation(const QMap<QString, QString>& translation)
{
    for (int row = 0; row < m_names.size(); ++row)
        m_list->item(row)->setText(translation.value(m_names[row], m_names[row]));
    fitListWidth();
}

void DStyleView::initVal(const QList<DStyle*>& styles)
{
    m_targets = styles;
    m_edited.clear();
    for (const DStyle* style : styles)
        m_edited.append(*style);
    showCurrentStyle();
}

void DStyleView::updateStyles()
{
    const qsizetype count = qMin(m_targets.size(), m_edited.size());
    for (qsizetype i = 0; i < count; ++i)
        *m_targets[i] = m_edited[i];
}

void DStyleView::releaseStyles()
{
    m_targets.clear();
}

QString DStyleView::currentStyleName() const
{
    const int row = m_list->currentRow();
    return row >= 0 && row < m_names.size() ? m_names[row] : QString();
}

bool DStyleView::selectStyle(const QString& name)
{
    const int row = int(m_names.indexOf(name));
    if (row < 0)
        return false;
    m_list->setCurrentRow(row);
    return true;
}

DStyle* DStyleView::editedStyle()
{
    return m_current >= 0 && m_current < m_edited.size() ? &m_edited[m_current] : nullptr;
}

void DStyleView::showCurrentStyle()
{
    const QString name = currentStyleName();
    m_current = -1;
    for (int i = 0; i < m_edited.size() && !name.isNull(); ++i) {
        if (m_edited[i].name() == name) {
            m_current = i;
            break;
        }
    }
    const DStyle* style = editedStyle();
    m_editor->setEnabled(style != nullptr);
    const DStyle shown = style ? *style : DStyle();

    m_loading = true;
    m_family->setCurrentFont(shown.font(font()));
    m_size->setValue(shown.pointSize());
    m_bold->setChecked(shown.bold());
    m_italic->setChecked(shown.italic());
    m_underline->setChecked(shown.underline());
    m_color->setColor(shown.color(), false);
    m_background->setColor(shown.background(), false);
    m_alignment->setCurrentIndex(alignmentIndex(shown.alignment()));
    m_margin->setValue(shown.margin());
    m_loading = false;
    showPreview();
}

void DStyleView::showPreview()
{
    const DStyle* style = editedStyle();
    const DStyle shown = style ? *style : DStyle();
    m_preview->setFont(shown.font(font()));
    QPalette palette = m_preview->palette();
    palette.setColor(QPalette::WindowText, shown.color().isValid()
                                               ? shown.color()
                                               : this->palette().color(QPalette::Text));
    palette.setColor(QPalette::Window, shown.background().isValid()
                                           ? shown.background()
                                           : this->palette().color(QPalette::Base));
    m_preview->setPalette(palette);
    m_preview->setAlignment((shown.alignment() ? shown.alignment() : Qt::AlignLeft) |
                            Qt::AlignVCenter);
    m_preview->setMargin(qMax(0, shown.margin()));
}
