#pragma once
// Events that reach the remote page from any thread: log lines (2000) and a
// downloaded firmware file (2003).
#include <QEvent>
#include <QString>

class QObject;

namespace ClientEvents {
enum EventType { LogEvent = 2000, FirmDownEvent = 2003 };

class CTextEvent : public QEvent
{
public:
    CTextEvent(EventType type, const QString &text) : QEvent(QEvent::Type(type)), m_strText(text) {}
    QString m_strText;
};

// The page that receives the events; null drops them.
void SetReceiver(QObject *receiver);
QObject *Receiver();

void PostLog(const QString &text);
void PostFirmDown(const QString &path);
} // namespace ClientEvents
