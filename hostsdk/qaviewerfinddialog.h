#ifndef QAVIEWERFINDDIALOG_H
#define QAVIEWERFINDDIALOG_H

#include <QDialog>
#include <QRegularExpression>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The find dialog of the host's viewers: a pattern, "Case sensitive" and
// "Regular expression" options, and a Find button that emits search() with
// the pattern as a regular expression (plain text is escaped). The dialog
// stays open between searches; Close ends it.
class QAViewerFindDialog : public QDialog
{
    Q_OBJECT

public:
    explicit QAViewerFindDialog(QWidget* parent = nullptr, const QString& name = QString(),
                                bool modal = true);
    ~QAViewerFindDialog() override;

    // Shows the pattern, its case sensitivity and, when it is not an escaped
    // plain text, the regular expression option. A pattern that escaping some
    // text gives is shown as that text.
    void setRegExp(const QRegularExpression& pattern);
    // The search the fields describe now.
    QRegularExpression regExp() const;
    // Moves the dialog, when it covers it, off a rectangle of the screen
    // (global coordinates): the match it has just selected.
    void keepClearOf(const QRect& rect);

signals:
    void search(const QRegularExpression& pattern);

private:
    void findClicked();
    void updateButton();
    void showError(const QString& message);

    QLineEdit* m_pattern;
    QCheckBox* m_caseSensitive;
    QCheckBox* m_regularExpression;
    QPushButton* m_findButton;
    QLabel* m_error;
};

#endif
