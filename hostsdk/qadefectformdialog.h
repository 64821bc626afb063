#ifndef QADEFECTFORMDIALOG_H
#define QADEFECTFORMDIALOG_H

#include <QDialog>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// The defect about to be filed, shown for a last edit: the headline, the
// description and the attached file's name. "File Defect" is enabled while
// the headline is not blank.
class QADefectFormDialog : public QDialog
{
    Q_OBJECT

public:
    explicit QADefectFormDialog(QWidget* parent = nullptr);
    ~QADefectFormDialog() override;

    void setHeadline(const QString& headline);
    QString headline() const;
    void setDescription(const QString& description);
    QString description() const;
    void setAttachment(const QString& path);

    // Shows the form modally with these texts and, when the user files the
    // defect, puts the edited texts back; false when cancelled.
    static bool edit(QWidget* parent, QString& headline, QString& description,
                     const QString& attachment);

private:
    void updateButton();

    QLineEdit* m_headline;
    QPlainTextEdit* m_description;
    QLineEdit* m_attachment;
    QPushButton* m_file;
};

#endif
