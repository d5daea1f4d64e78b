#include "cstreamhost.h"

#include <QHostAddress>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>

namespace ns_streamhost {

namespace {
// Peers on a dual-stack socket show up as ::ffff:a.b.c.d; callers key them by
// the plain IPv4 text.
QString AddressText(const QHostAddress &address)
{
    bool isV4 = false;
    const quint32 v4 = address.toIPv4Address(&isV4);
    return isV4 ? QHostAddress(v4).toString() : address.toString();
}
} // namespace

class StreamHostCore : public QObject
{
    Q_OBJECT
public:
    explicit StreamHostCore(CStreamHost *owner) : m_pOwner(owner)
    {
        connect(&m_server, &QTcpServer::newConnection, this, &StreamHostCore::OnNewConnection);
    }

    ~StreamHostCore() override { DropPeers(false); }

    bool Listen(const QString &address, int port)
    {
        Close(true);
        QHostAddress bind(QHostAddress::AnyIPv4);
        const QString text = address.trimmed();
        if (!text.isEmpty() && !bind.setAddress(text))
            return false;
        if (port < 0 || port > 65535)
            return false;
        return m_server.listen(bind, quint16(port));
    }

    void Close(bool report)
    {
        m_server.close();
        DropPeers(report);
    }

    QTcpSocket *Find(const QString &ip, int port) const
    {
        for (QTcpSocket *peer : m_peers) {
            if (peer->property("qelPort").toInt() == port && peer->property("qelIP").toString() == ip)
                return peer;
        }
        return nullptr;
    }

    void Send(const char *bytes, int count, const QString &ip, int port)
    {
        QTcpSocket *peer = Find(ip, port);
        if (!peer || peer->state() != QAbstractSocket::ConnectedState)
            return;
        const qint64 pending = peer->bytesToWrite() + count;
        if (pending > m_nSendLimit) {
            Drop(peer, pending);
            return;
        }
        peer->write(bytes, count);
    }

    QTcpServer m_server;
    RecvCallback m_callback = nullptr;
    qint64 m_nSendLimit = CStreamHost::kDefaultSendLimit;

private:
    void OnNewConnection()
    {
        while (QTcpSocket *peer = m_server.nextPendingConnection()) {
            const QString ip = AddressText(peer->peerAddress());
            const int port = peer->peerPort();
            peer->setProperty("qelIP", ip);
            peer->setProperty("qelPort", port);
            m_peers.append(peer);
            connect(peer, &QTcpSocket::readyRead, this, [this, peer] { OnReadyRead(peer); });
            connect(peer, &QTcpSocket::disconnected, this, [this, peer] { OnGone(peer); });
            QPointer<StreamHostCore> alive(this);
            m_pOwner->HandleConnState(true, ip, port);
            if (!alive)
                return;
            // Bytes that came with the connection are not announced again.
            if (m_peers.contains(peer) && peer->bytesAvailable() > 0)
                OnReadyRead(peer);
        }
    }

    void OnReadyRead(QTcpSocket *peer)
    {
        if (!m_peers.contains(peer))
            return;
        const QByteArray bytes = peer->readAll();
        if (bytes.isEmpty())
            return;
        if (m_callback)
            m_callback(bytes);
        RecvData data;
        data.pData = bytes.constData();
        data.nLen = bytes.size();
        data.strIP = peer->property("qelIP").toString();
        data.nPort = peer->property("qelPort").toInt();
        m_pOwner->HandleRecvData(data);
    }

    void OnGone(QTcpSocket *peer)
    {
        if (!m_peers.removeOne(peer))
            return;
        peer->disconnect(this);
        peer->deleteLater();
        m_pOwner->HandleConnState(false, peer->property("qelIP").toString(),
                                  peer->property("qelPort").toInt());
    }

    // The caller may be deep in its own handling of this peer: it hears of the
    // drop once that is done.
    void Drop(QTcpSocket *peer, qint64 pending)
    {
        m_peers.removeOne(peer);
        peer->disconnect(this);
        peer->abort();
        peer->deleteLater();
        const QString ip = peer->property("qelIP").toString();
        const int port = peer->property("qelPort").toInt();
        QMetaObject::invokeMethod(
            this,
            [this, ip, port, pending] {
                m_pOwner->HandleSendLimit(ip, port, pending);
                m_pOwner->HandleConnState(false, ip, port);
            },
            Qt::QueuedConnection);
    }

    void DropPeers(bool report)
    {
        const QList<QTcpSocket *> peers = m_peers;
        m_peers.clear();
        for (QTcpSocket *peer : peers) {
            peer->disconnect(this);
            peer->abort();
            peer->deleteLater();
        }
        if (!report)
            return;
        QPointer<StreamHostCore> alive(this);
        for (QTcpSocket *peer : peers) {
            m_pOwner->HandleConnState(false, peer->property("qelIP").toString(),
                                      peer->property("qelPort").toInt());
            if (!alive)
                return;
        }
    }

    CStreamHost *m_pOwner;
    QList<QTcpSocket *> m_peers;
};

CStreamHost::CStreamHost() : m_pCore(std::make_unique<StreamHostCore>(this)) {}

CStreamHost::~CStreamHost() = default;

bool CStreamHost::StartServer(QString address, int port, bool flag, RecvCallback callback)
{
    Q_UNUSED(flag)
    m_pCore->m_callback = callback;
    return m_pCore->Listen(address, port);
}

void CStreamHost::SendData(char *bytes, unsigned short count, QString ip, int port)
{
    if (!bytes || count == 0)
        return;
    m_pCore->Send(bytes, count, ip, port);
}

void CStreamHost::CloseServer()
{
    m_pCore->Close(true);
}

bool CStreamHost::IsListening() const
{
    return m_pCore->m_server.isListening();
}

quint16 CStreamHost::ListenPort() const
{
    return m_pCore->m_server.serverPort();
}

void CStreamHost::SetSendLimit(qint64 bytes)
{
    m_pCore->m_nSendLimit = bytes;
}

qint64 CStreamHost::PendingBytes(const QString &ip, int port) const
{
    const QTcpSocket *peer = m_pCore->Find(ip, port);
    return peer ? peer->bytesToWrite() : -1;
}

void CStreamHost::HandleSendLimit(QString, int, qint64) {}

void CStreamHost::HandleRecvData(const RecvData &) {}

void CStreamHost::HandleConnState(bool, QString, int) {}

} // namespace ns_streamhost

#include "cstreamhost.moc"
