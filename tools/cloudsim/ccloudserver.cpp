#include "ccloudserver.h"

#include <cframecutter.h>

#include <QTcpServer>
#include <QTcpSocket>

CCloudServer::CCloudServer(CCloudService &service, CCloudService::Logger log, QObject *parent)
    : QObject(parent), m_service(service), m_log(std::move(log)), m_pServer(new QTcpServer(this))
{
    connect(m_pServer, &QTcpServer::newConnection, this, &CCloudServer::OnConnection);
}

CCloudServer::~CCloudServer()
{
    for (auto &entry : m_peers)
        entry.first->disconnect(this);
}

bool CCloudServer::Listen(const QHostAddress &address, quint16 port, QString &err)
{
    if (m_pServer->listen(address, port))
        return true;
    err = m_pServer->errorString();
    return false;
}

quint16 CCloudServer::Port() const
{
    return m_pServer->serverPort();
}

void CCloudServer::OnConnection()
{
    while (QTcpSocket *socket = m_pServer->nextPendingConnection()) {
        Peer &peer = m_peers[socket];
        peer.session.strPeer = QStringLiteral("%1:%2").arg(socket->peerAddress().toString()).arg(socket->peerPort());
        m_log(peer.session.strPeer + QStringLiteral(" connected"));
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { OnData(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            const auto it = m_peers.find(socket);
            if (it != m_peers.end()) {
                m_log(it->second.session.strPeer + QStringLiteral(" disconnected"));
                m_peers.erase(it);
            }
            socket->deleteLater();
        });
    }
}

void CCloudServer::OnData(QTcpSocket *socket)
{
    const auto it = m_peers.find(socket);
    if (it == m_peers.end())
        return;
    Peer &peer = it->second;
    peer.buf.append(socket->readAll());
    QByteArray message;
    for (;;) {
        const CFrameCutter::Result cut = CFrameCutter::NextTcp(peer.buf, message);
        if (cut == CFrameCutter::NeedMore)
            break;
        if (cut == CFrameCutter::Dropped) {
            m_log(peer.session.strPeer + QStringLiteral(" dropped: bad head"));
            continue;
        }
        const QByteArray answer = m_service.Handle(peer.session, message);
        if (answer.isEmpty())
            continue;
        if (answer.size() > CFrameCutter::kMaxTcpMessage) {
            m_log(peer.session.strPeer + QStringLiteral(" answer too long, not sent"));
            continue;
        }
        socket->write(CFrameCutter::MakeTcp(answer));
        if (socket->bytesToWrite() > kMaxUnread) {
            m_log(peer.session.strPeer + QStringLiteral(" does not read its answers: dropped"));
            socket->abort();
            return;
        }
    }
}
