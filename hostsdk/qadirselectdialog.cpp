#include "qadirselectdialog.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

QADirSelectDialog::QADirSelectDialog(const QString& caption, const QString& label, QWidget* parent)
    : QDialog(parent), m_field(new QLineEdit(this))
{
    setWindowTitle(caption);
    auto* text = new QLabel(label, this);
    text->setBuddy(m_field);
    auto* browse = new QPushButton(tr("&Browse..."), this);
    connect(browse, &QPushButton::clicked, this, &QADirSelectDialog::browse);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_field, &QLineEdit::textChanged, this, &QADirSelectDialog::updateButton);

    auto* row = new QHBoxLayout;
    row->addWidget(m_field, 1);
    row->addWidget(browse);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addLayout(row);
    layout->addWidget(buttons);
    m_field->setMinimumWidth(fontMetrics().averageCharWidth() * 50);
    updateButton();
}

QADirSelectDialog::~QADirSelectDialog() = default;

void QADirSelectDialog::setDirectory(const QString& directory)
{
    m_field->setText(QDir::toNativeSeparators(directory));
}

QString QADirSelectDialog::directory() const
{
    const QString text = m_field->text().trimmed();
    return text.isEmpty() ? QString() : QDir::cleanPath(QDir::fromNativeSeparators(text));
}

void QADirSelectDialog::browse()
{
    const QString chosen = QFileDialog::getExistingDirectory(this, windowTitle(), directory());
    if (!chosen.isEmpty())
        setDirectory(chosen);
}

void QADirSelectDialog::updateButton()
{
    m_ok->setEnabled(!directory().isEmpty());
}
