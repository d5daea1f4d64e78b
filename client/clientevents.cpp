#include "clientevents.h"

#include <QCoreApplication>
#include <QDebug>
#include <QPointer>

namespace {
QPointer<QObject> g_receiver;

void post(ClientEvents::EventType type, const QString &text)
{
    QObject *receiver = g_receiver.data();
    if (receiver)
        QCoreApplication::postEvent(receiver, new ClientEvents::CTextEvent(type, text));
    else
        qDebug().noquote() << text;
}
} // namespace

void ClientEvents::SetReceiver(QObject *receiver)
{
    g_receiver = receiver;
}

QObject *ClientEvents::Receiver()
{
    return g_receiver.data();
}

void ClientEvents::PostLog(const QString &text)
{
    post(LogEvent, text);
}

void ClientEvents::PostFirmDown(const QString &path)
{
    post(FirmDownEvent, path);
}
