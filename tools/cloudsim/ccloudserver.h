#pragma once
// The cloud service on TCP: each message in the suite's 6-byte head, each
// connection with its own session. A bad head loses what that connection had
// buffered; a peer that stops reading is dropped before its answers pile up.
#include "ccloudservice.h"

#include <QHostAddress>
#include <QObject>

#include <functional>
#include <map>

class QTcpServer;
class QTcpSocket;

class CCloudServer : public QObject
{
    Q_OBJECT
public:
    // Answers a peer has not read yet, at most.
    static constexpr qint64 kMaxUnread = 4 * 1024 * 1024;

    CCloudServer(CCloudService &service, CCloudService::Logger log, QObject *parent = nullptr);
    ~CCloudServer() override;

    bool Listen(const QHostAddress &address, quint16 port, QString &err);
    quint16 Port() const;
    int Connections() const { return int(m_peers.size()); }

private:
    struct Peer
    {
        QByteArray buf;
        CCloudSession session;
    };
    void OnConnection();
    void OnData(QTcpSocket *socket);

    CCloudService &m_service;
    CCloudService::Logger m_log;
    QTcpServer *m_pServer = nullptr;
    std::map<QTcpSocket *, Peer> m_peers;
};
