#pragma once
// The one way the suite shows a message box. Tests (and headless runs) install a
// responder that answers instead of a person.
#include "basekit_global.h"

#include <QMessageBox>
#include <functional>

class BASEKIT_EXPORT CMessageBox
{
public:
    enum Kind { Information, Question, Warning, Critical };

    // Receives the kind, title and text; returns the button "pressed".
    using Responder = std::function<QMessageBox::StandardButton(Kind, const QString &, const QString &)>;

    static QMessageBox::StandardButton Info(QWidget *parent, const QString &title, const QString &text);
    static QMessageBox::StandardButton Warn(QWidget *parent, const QString &title, const QString &text);
    static QMessageBox::StandardButton Error(QWidget *parent, const QString &title, const QString &text);
    // Yes/No question; returns Yes or No.
    static QMessageBox::StandardButton Ask(QWidget *parent, const QString &title, const QString &text,
                                           QMessageBox::StandardButton defaultButton = QMessageBox::No);

    // OK/Cancel question with an informative line; returns Ok or Cancel (a
    // responder sees text and informative joined by a line break).
    static QMessageBox::StandardButton Confirm(QWidget *parent, const QString &title, const QString &text,
                                               const QString &informative);

    // Replaces the real boxes (empty function restores them). Returns the previous one.
    static Responder SetResponder(Responder responder);

private:
    static QMessageBox::StandardButton Show(Kind kind, QWidget *parent, const QString &title,
                                            const QString &text, QMessageBox::StandardButton defaultButton);
};
