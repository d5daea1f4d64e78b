#pragma once
// Message boxes and dialogs answered without a person: every CMessageBox is
// recorded and answered, and a modal dialog can be acted on once it is up.
#include <cmessagebox.h>

#include <QApplication>
#include <QTimer>

#include <functional>

namespace qeltest {

struct Box
{
    CMessageBox::Kind kind;
    QString title;
    QString text;
};

class Boxes
{
public:
    Boxes()
    {
        CMessageBox::SetResponder([this](CMessageBox::Kind kind, const QString &title, const QString &text) {
            shown.append({kind, title, text});
            return answer;
        });
    }
    ~Boxes() { CMessageBox::SetResponder({}); }
    bool Shown(const QString &text) const
    {
        for (const Box &box : shown)
            if (box.text.contains(text))
                return true;
        return false;
    }
    QList<Box> shown;
    QMessageBox::StandardButton answer = QMessageBox::Yes;
};

// Runs act on the first visible modal dialog of type T once it is up (it runs its own loop).
template <class T>
void WhenDialog(std::function<void(T *)> act)
{
    auto *timer = new QTimer;
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, [timer, act]() {
        auto *dlg = qobject_cast<T *>(QApplication::activeModalWidget());
        if (!dlg || !dlg->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        act(dlg);
    });
    timer->start();
}

} // namespace qeltest
