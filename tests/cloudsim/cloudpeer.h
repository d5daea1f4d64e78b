#pragma once
// A plain TCP peer of the cloud double: sends requests in the 6-byte head and
// reads the answers, in order.
#include "framereader.h"

#include <QHostAddress>
#include <QtTest>

class CloudPeer
{
public:
    bool Connect(int port)
    {
        m_socket.connectToHost(QHostAddress::LocalHost, quint16(port));
        return m_socket.waitForConnected(5000);
    }
    void Send(const QJsonObject &request) { SendRaw(FrameReader::Frame(request)); }
    void SendRaw(const QByteArray &bytes)
    {
        m_socket.write(bytes);
        m_socket.flush();
    }
    // The next answer, or an empty object when none comes within ms.
    QJsonObject Next(int ms = 5000)
    {
        QElapsedTimer timer;
        timer.start();
        while (m_reader.Objects().size() <= m_nTaken) {
            if (timer.elapsed() > ms || m_socket.state() != QAbstractSocket::ConnectedState)
                return QJsonObject();
            m_socket.waitForReadyRead(50);
        }
        return m_reader.Objects().at(m_nTaken++);
    }
    QJsonObject Ask(const QJsonObject &request)
    {
        Send(request);
        return Next();
    }
    // Answers received and not taken yet.
    int Unread() { return m_reader.Objects().size() - m_nTaken; }

private:
    QTcpSocket m_socket;
    FrameReader m_reader{&m_socket};
    int m_nTaken = 0;
};
