#include "cmessagebox.h"

#include <QApplication>

namespace {
CMessageBox::Responder &responder()
{
    static CMessageBox::Responder r;
    return r;
}
} // namespace

CMessageBox::Responder CMessageBox::SetResponder(Responder r)
{
    Responder old = responder();
    responder() = std::move(r);
    return old;
}

QMessageBox::StandardButton CMessageBox::Show(Kind kind, QWidget *parent, const QString &title,
                                              const QString &text, QMessageBox::StandardButton defaultButton)
{
    if (responder())
        return responder()(kind, title, text);
    if (!parent)
        parent = QApplication::activeWindow();
    switch (kind) {
    case Information:
        return QMessageBox::information(parent, title, text);
    case Question:
        return QMessageBox::question(parent, title, text, QMessageBox::Yes | QMessageBox::No, defaultButton);
    case Warning:
        return QMessageBox::warning(parent, title, text);
    case Critical:
        break;
    }
    return QMessageBox::critical(parent, title, text);
}

QMessageBox::StandardButton CMessageBox::Info(QWidget *parent, const QString &title, const QString &text)
{
    return Show(Information, parent, title, text, QMessageBox::NoButton);
}

QMessageBox::StandardButton CMessageBox::Warn(QWidget *parent, const QString &title, const QString &text)
{
    return Show(Warning, parent, title, text, QMessageBox::NoButton);
}

QMessageBox::StandardButton CMessageBox::Error(QWidget *parent, const QString &title, const QString &text)
{
    return Show(Critical, parent, title, text, QMessageBox::NoButton);
}

QMessageBox::StandardButton CMessageBox::Ask(QWidget *parent, const QString &title, const QString &text,
                                             QMessageBox::StandardButton defaultButton)
{
    return Show(Question, parent, title, text, defaultButton);
}

QMessageBox::StandardButton CMessageBox::Confirm(QWidget *parent, const QString &title, const QString &text,
                                                 const QString &informative)
{
    if (responder()) {
        const QMessageBox::StandardButton b = responder()(Question, title, text + QLatin1Char('\n') + informative);
        return b == QMessageBox::Ok || b == QMessageBox::Yes ? QMessageBox::Ok : QMessageBox::Cancel;
    }
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Ok | QMessageBox::Cancel,
                    parent ? parent : QApplication::activeWindow());
    box.setInformativeText(informative);
    box.setDefaultButton(QMessageBox::Ok);
    return box.exec() == QMessageBox::Ok ? QMessageBox::Ok : QMessageBox::Cancel;
}
