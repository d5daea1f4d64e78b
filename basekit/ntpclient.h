#pragma once
// Asks an NTP server for the current time (one request, one answer, UDP).
#include "basekit_global.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QObject>

class QUdpSocket;

class BASEKIT_EXPORT NtpClient : public QObject
{
    Q_OBJECT
public:
    static constexpr quint16 DefaultPort = 123;
    static const char DefaultHost[];

    explicit NtpClient(const QString &host = QLatin1String(DefaultHost), QObject *parent = nullptr);

    void SetHost(const QString &host) { m_strHost = host; }
    QString Host() const { return m_strHost; }
    void SetPort(quint16 port) { m_nPort = port; }
    quint16 Port() const { return m_nPort; }

    // wait false: starts the exchange and returns an invalid time; the answer
    // comes through receiveTime. wait true: returns the time, or an invalid one
    // when no answer came within about 500 ms.
    QDateTime getDateTime(bool wait);

    // Seconds from 1900-01-01 to 1970-01-01.
    static constexpr qint64 SecsTo1970 = 2208988800LL;
    static QByteArray RequestPacket(const QDateTime &now);
    // Time in an answer; invalid for a short packet, a mode other than 3 or 4,
    // or an empty transmit timestamp.
    static QDateTime ParseAnswer(const QByteArray &packet);

signals:
    void receiveTime(QDateTime time);

private:
    void sendData();
    void readData();

    QString m_strHost;
    quint16 m_nPort = DefaultPort;
    QUdpSocket *m_pSocket = nullptr;
    bool m_bReceived = false;
    QDateTime m_lastTime;
    QElapsedTimer m_sinceLast;
};
