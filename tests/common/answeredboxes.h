#ifndef ANSWEREDBOXES_H
#define ANSWEREDBOXES_H

#include "qamessagebox.h"

#include <QList>
#include <QStringList>

// Answers the message boxes while it lives, without a user: records each as
// "caption: text" with the buttons offered, and answers in turn from
// answers, then with the last answer (Ok when none is given).
struct AnsweredBoxes
{
    explicit AnsweredBoxes(QList<QMessageBox::StandardButton> given = {}) : answers(given)
    {
        QAMessageBox::setResponder([this](QMessageBox::Icon, const QString& caption,
                                          const QString& text,
                                          QMessageBox::StandardButtons offered) {
            shown << caption + ": " + text;
            buttons << offered;
            if (answers.isEmpty())
                return QMessageBox::Ok;
            return answers.size() > 1 ? answers.takeFirst() : answers.first();
        });
    }
    ~AnsweredBoxes() { QAMessageBox::setResponder({}); }
    AnsweredBoxes(const AnsweredBoxes&) = delete;
    AnsweredBoxes& operator=(const AnsweredBoxes&) = delete;

    QList<QMessageBox::StandardButton> answers;
    QStringList shown;
    QList<QMessageBox::StandardButtons> buttons;
};

#endif
