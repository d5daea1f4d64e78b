#pragma once
// Reads what a link sent to a plain socket: TCP frames cut into JSON objects.
#include <cframecutter.h>

#include <QJsonDocument>
#include <QJsonObject>
#include <QTcpSocket>

class FrameReader
{
public:
    explicit FrameReader(QTcpSocket *socket) : m_pSocket(socket) {}

    // The objects received so far (all of them, in order).
    QList<QJsonObject> Objects()
    {
        m_buf.append(m_pSocket->readAll());
        QByteArray message;
        while (CFrameCutter::NextTcp(m_buf, message) == CFrameCutter::Message)
            m_objects.append(QJsonDocument::fromJson(message).object());
        return m_objects;
    }

    static QByteArray Frame(const QJsonObject &object)
    {
        return CFrameCutter::MakeTcp(QJsonDocument(object).toJson(QJsonDocument::Compact));
    }

private:
    QTcpSocket *m_pSocket;
    QByteArray m_buf;
    QList<QJsonObject> m_objects;
};
