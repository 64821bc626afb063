#include "qadefectformdialog.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFontDatabase>
#include <QFormLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

QADefectFormDialog::QADefectFormDialog(QWidget* parent)
    : QDialog(parent), m_headline(new QLineEdit(this)), m_description(new QPlainTextEdit(this)),
      m_attachment(new QLineEdit(this))
{
    setWindowTitle(tr("Defect Report"));
    m_description->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_description->setTabChangesFocus(true);
    m_attachment->setReadOnly(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    m_file = buttons->addButton(tr("&File Defect"), QDialogButtonBox::AcceptRole);
    m_file->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_headline, &QLineEdit::textChanged, this, &QADefectFormDialog::updateButton);

    auto* form = new QFormLayout;
    form->addRow(tr("&Headline:"), m_headline);
    form->addRow(tr("&Description:"), m_description);
    form->addRow(tr("Attachment:"), m_attachment);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    resize(fontMetrics().averageCharWidth() * 80, fontMetrics().height() * 20);
    updateButton();
}

QADefectFormDialog::~QADefectFormDialog() = default;

void QADefectFormDialog::setHeadline(const QString& headline)
{
    m_headline->setText(headline);
}

QString QADefectFormDialog::headline() const
{
    return m_headline->text();
}

void QADefectFormDialog::setDescription(const QString& description)
{
    m_description->setPlainText(description);
}

QString QADefectFormDialog::description() const
{
    return m_description->toPlainText();
}

void QADefectFormDialog::setAttachment(const QString& path)
{
    m_attachment->setText(QDir::toNativeSeparators(path));
}

bool QADefectFormDialog::edit(QWidget* parent, QString& headline, QString& description,
                              const QString& attachment)
{
    QADefectFormDialog dialog(parent);
    dialog.setHeadline(headline);
    // The description comes with CR LF line ends; the editor shows lines.
    dialog.setDescription(
        QString(description).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    dialog.setAttachment(attachment);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    headline = dialog.headline();
    description = dialog.description().replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return true;
}

void QADefectFormDialog::updateButton()
{
    m_file->setEnabled(!m_headline->text().trimmed().isEmpty());
}
