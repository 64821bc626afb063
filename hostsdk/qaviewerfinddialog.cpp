#include "qaviewerfinddialog.h"

#include "qaasideplacement.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include <optional>

namespace {

// The text that QRegularExpression::escape turned into pattern, if any:
// drop each backslash ("\0" stands for NUL), then check that escaping the
// result gives the pattern back.
std::optional<QString> unescaped(const QString& pattern)
{
    QString text;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern.at(i);
        if (c != u'\\') {
            text.append(c);
            continue;
        }
        if (++i == pattern.size())
            return std::nullopt;
        text.append(pattern.at(i) == u'0' ? QChar(QChar::Null) : pattern.at(i));
    }
    if (QRegularExpression::escape(text) != pattern)
        return std::nullopt;
    return text;
}

} // namespace

QAViewerFindDialog::QAViewerFindDialog(QWidget* parent, const QString& name, bool modal)
    : QDialog(parent), m_pattern(new QLineEdit(this)),
      m_caseSensitive(new QCheckBox(tr("Case sensitive"), this)),
      m_regularExpression(new QCheckBox(tr("Regular expression"), this)),
      m_findButton(new QPushButton(tr("&Find"), this)), m_error(new QLabel(this))
{
    setObjectName(name);
    setModal(modal);
    setWindowTitle(tr("Find"));

    m_error->setWordWrap(true);
    m_error->hide();
    m_findButton->setDefault(true);
    auto* closeButton = new QPushButton(tr("Close"), this);
    closeButton->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_findButton);
    buttons->addWidget(closeButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pattern);
    layout->addWidget(m_caseSensitive);
    layout->addWidget(m_regularExpression);
    layout->addWidget(m_error);
    layout->addLayout(buttons);

    connect(m_pattern, &QLineEdit::textChanged, this, &QAViewerFindDialog::updateButton);
    connect(m_regularExpression, &QCheckBox::toggled, this, [this] { showError(QString()); });
    connect(m_findButton, &QPushButton::clicked, this, &QAViewerFindDialog::findClicked);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::reject);
    updateButton();
}

QAViewerFindDialog::~QAViewerFindDialog() = default;

void QAViewerFindDialog::setRegExp(const QRegularExpression& pattern)
{
    const std::optional<QString> text = unescaped(pattern.pattern());
    m_pattern->setText(text.value_or(pattern.pattern()));
    m_regularExpression->setChecked(!text.has_value());
    m_caseSensitive->setChecked(
        !pattern.patternOptions().testFlag(QRegularExpression::CaseInsensitiveOption));
}

QRegularExpression QAViewerFindDialog::regExp() const
{
    const QString text = m_pattern->text();
    const QString pattern =
        m_regularExpression->isChecked() ? text : QRegularExpression::escape(text);
    return QRegularExpression(pattern, m_caseSensitive->isChecked()
                                           ? QRegularExpression::NoPatternOption
                                           : QRegularExpression::CaseInsensitiveOption);
}

void QAViewerFindDialog::keepClearOf(const QRect& rect)
{
    const QRect area = screen() ? screen()->availableGeometry() : frameGeometry().united(rect);
    const QRect placed = QAAsidePlacement::aside(frameGeometry(), rect, area);
    if (placed.topLeft() != frameGeometry().topLeft())
        move(placed.topLeft());
}

void QAViewerFindDialog::findClicked()
{
    if (m_pattern->text().isEmpty())
        return;
    const QRegularExpression pattern = regExp();
    if (!pattern.isValid()) {
        showError(tr("Invalid regular expression at %1: %2")
                      .arg(pattern.patternErrorOffset())
                      .arg(pattern.errorString()));
        return;
    }
    showError(QString());
    emit search(pattern);
}

void QAViewerFindDialog::updateButton()
{
    m_findButton->setEnabled(!m_pattern->text().isEmpty());
    showError(QString());
}

void QAViewerFindDialog::showError(const QString& message)
{
    m_error->setText(message);
    m_error->setVisible(!message.isEmpty());
}
