#pragma once
// Events that reach the main window from any thread: log lines (2000), a
// remote programmer that has gone (2001) and a downloaded firmware file (2003).
#include "myproger.h"

#include <QEvent>
#include <QString>

class QObject;

namespace ServerEvents {
enum EventType { LogEvent = 2000, ProgerGoneEvent = 2001, FirmDownEvent = 2003 };

class CTextEvent : public QEvent
{
public:
    CTextEvent(EventType type, const QString &text) : QEvent(QEvent::Type(type)), m_strText(text) {}
    QString m_strText;
};

class CProgerGoneEvent : public QEvent
{
public:
    explicit CProgerGoneEvent(const MyProger &proger) : QEvent(QEvent::Type(ProgerGoneEvent)), m_proger(proger) {}
    MyProger m_proger;
};

// The window that receives the events; null drops them.
void SetReceiver(QObject *receiver);
QObject *Receiver();

void PostLog(const QString &text);
void PostProgerGone(const MyProger &proger);
void PostFirmDown(const QString &text);
} // namespace ServerEvents
