#ifndef QADIRSELECTDIALOG_H
#define QADIRSELECTDIALOG_H

#include <QDialog>

class QLineEdit;
class QPushButton;

// Asks for a directory: a caption, a label, a field with a Browse button
// and OK/Cancel. OK is enabled once the field names a directory; a
// directory that does not exist yet is accepted (whoever writes into it
// creates it).
class QADirSelectDialog : public QDialog
{
    Q_OBJECT

public:
    QADirSelectDialog(const QString& caption, const QString& label, QWidget* parent = nullptr);
    ~QADirSelectDialog() override;

    void setDirectory(const QString& directory);
    // The directory chosen, cleaned; empty when none.
    QString directory() const;

private:
    void browse();
    void updateButton();

    QLineEdit* m_field;
    QPushButton* m_ok;
};

#endif
