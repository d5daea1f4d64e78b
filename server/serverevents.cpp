#include "serverevents.h"

#include <QCoreApplication>
#include <QDebug>

#include <atomic>

namespace {
std::atomic<QObject *> g_receiver{nullptr};

void Post(QEvent *event)
{
    QObject *receiver = g_receiver.load();
    if (!receiver) {
        delete event;
        return;
    }
    // The queue owns the event from here on.
    QCoreApplication::postEvent(receiver, event);
}
} // namespace

void ServerEvents::SetReceiver(QObject *receiver)
{
    g_receiver.store(receiver);
}

QObject *ServerEvents::Receiver()
{
    return g_receiver.load();
}

void ServerEvents::PostLog(const QString &text)
{
    if (!g_receiver.load())
        qDebug().noquote() << text;
    Post(new CTextEvent(LogEvent, text));
}

void ServerEvents::PostProgerGone(const MyProger &proger)
{
    Post(new CProgerGoneEvent(proger));
}

void ServerEvents::PostFirmDown(const QString &text)
{
    Post(new CTextEvent(FirmDownEvent, text));
}
