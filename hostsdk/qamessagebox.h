#ifndef QAMESSAGEBOX_H
#define QAMESSAGEBOX_H

#include <QMessageBox>

#include <functional>

// The host's message boxes. In command-line mode no box is shown: the
// caption, a colon, a space and the text go to standard error as one line
// (line feeds in the text kept), and the default button is the answer. A
// box without a default button defaults to its first button in the order
// Ok, Yes, No, Cancel.
class QAMessageBox
{
public:
    static void setCommandLineMode(bool on);
    static bool isCommandLineMode();

    // Answers every box instead of the user while set (scripted runs, tests);
    // an empty function gives the boxes back to the user.
    using Responder = std::function<QMessageBox::StandardButton(
        QMessageBox::Icon icon, const QString& caption, const QString& text,
        QMessageBox::StandardButtons buttons)>;
    static void setResponder(const Responder& responder);

    static QMessageBox::StandardButton
    warning(QWidget* parent, const QString& caption, const QString& text,
            QMessageBox::StandardButtons buttons = QMessageBox::Ok,
            QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);
    static QMessageBox::StandardButton
    question(QWidget* parent, const QString& caption, const QString& text,
             QMessageBox::StandardButtons buttons = QMessageBox::Yes | QMessageBox::No,
             QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);
    static QMessageBox::StandardButton
    critical(QWidget* parent, const QString& caption, const QString& text,
             QMessageBox::StandardButtons buttons = QMessageBox::Ok,
             QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);
    static QMessageBox::StandardButton
    information(QWidget* parent, const QString& caption, const QString& text,
                QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);
};

#endif
