#include "qamessagebox.h"

#include <cstdio>

namespace {

bool commandLineMode = false;

QAMessageBox::Responder& responder()
{
    static QAMessageBox::Responder answer;
    return answer;
}

QMessageBox::StandardButton commandLineAnswer(QMessageBox::StandardButtons buttons,
                                              QMessageBox::StandardButton defaultButton)
{
    if (defaultButton != QMessageBox::NoButton)
        return defaultButton;
    for (QMessageBox::StandardButton button :
         {QMessageBox::Ok, QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel}) {
        if (buttons.testFlag(button))
            return button;
    }
    return QMessageBox::NoButton;
}

QMessageBox::StandardButton ask(QMessageBox::Icon icon, QWidget* parent, const QString& caption,
                                const QString& text, QMessageBox::StandardButtons buttons,
                                QMessageBox::StandardButton defaultButton)
{
    if (responder())
        return responder()(icon, caption, text, buttons);
    if (commandLineMode) {
        const QByteArray line = (caption + QStringLiteral(": ") + text + u'\n').toLocal8Bit();
        std::fputs(line.constData(), stderr);
        std::fflush(stderr);
        return commandLineAnswer(buttons, defaultButton);
    }
    QMessageBox box(icon, caption, text, buttons, parent);
    if (defaultButton != QMessageBox::NoButton)
        box.setDefaultButton(defaultButton);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

} // namespace

void QAMessageBox::setCommandLineMode(bool on)
{
    commandLineMode = on;
}

bool QAMessageBox::isCommandLineMode()
{
    return commandLineMode;
}

void QAMessageBox::setResponder(const Responder& answer)
{
    responder() = answer;
}

QMessageBox::StandardButton QAMessageBox::warning(QWidget* parent, const QString& caption,
                                                  const QString& text,
                                                  QMessageBox::StandardButtons buttons,
                                                  QMessageBox::StandardButton defaultButton)
{
    return ask(QMessageBox::Warning, parent, caption, text, buttons, defaultButton);
}

QMessageBox::StandardButton QAMessageBox::question(QWidget* parent, const QString& caption,
                                                   const QString& text,
                                                   QMessageBox::StandardButtons buttons,
                                                   QMessageBox::StandardButton defaultButton)
{
    return ask(QMessageBox::Question, parent, caption, text, buttons, defaultButton);
}

QMessageBox::StandardButton QAMessageBox::critical(QWidget* parent, const QString& caption,
                                                   const QString& text,
                                                   QMessageBox::StandardButtons buttons,
                                                   QMessageBox::StandardButton defaultButton)
{
    return ask(QMessageBox::Critical, parent, caption, text, buttons, defaultButton);
}

QMessageBox::StandardButton QAMessageBox::information(QWidget* parent, const QString& caption,
                                                      const QString& text,
                                                      QMessageBox::StandardButtons buttons,
                                                      QMessageBox::StandardButton defaultButton)
{
    return ask(QMessageBox::Information, parent, caption, text, buttons, defaultButton);
}
