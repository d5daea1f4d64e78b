#include "cstreamdial.h"

#include <QHostAddress>
#include <QPointer>
#include <QTcpSocket>
#include <QTimer>

namespace ns_streamdial {

namespace {
QString AddressText(const QHostAddress &address)
{
    bool isV4 = false;
    const quint32 v4 = address.toIPv4Address(&isV4);
    return isV4 ? QHostAddress(v4).toString() : address.toString();
}
} // namespace

class StreamDialCore : public QObject
{
    Q_OBJECT
public:
    enum State { Idle, Dialing, Online };

    explicit StreamDialCore(CStreamDial *owner) : m_pOwner(owner)
    {
        m_timer.setSingleShot(true);
        connect(&m_timer, &QTimer::timeout, this, [this] { Fail(); });
    }

    ~StreamDialCore() override { Drop(); }

    void Start(const QString &host, int port)
    {
        Stop(true);
        m_strHost = host;
        m_nPort = port;
        m_pSocket = new QTcpSocket(this);
        connect(m_pSocket, &QTcpSocket::connected, this, &StreamDialCore::OnConnected);
        connect(m_pSocket, &QTcpSocket::readyRead, this, &StreamDialCore::OnReadyRead);
        connect(m_pSocket, &QTcpSocket::disconnected, this, [this] { Fail(); });
        connect(m_pSocket, &QTcpSocket::errorOccurred, this, [this] { Fail(); });
        m_state = Dialing;
        m_timer.start(m_nTimeout);
        if (port <= 0 || port > 65535) {
            // Reported from the event loop like every other failure.
            QTimer::singleShot(0, this, [this, s = m_pSocket] {
                if (m_pSocket == s)
                    Fail();
            });
            return;
        }
        m_pSocket->connectToHost(host, quint16(port));
    }

    // Ends the attempt or connection; report says whether the owner hears of it.
    void Stop(bool report)
    {
        const State was = m_state;
        const QString ip = m_strPeerIP.isEmpty() ? m_strHost : m_strPeerIP;
        const int port = m_strPeerIP.isEmpty() ? m_nPort : m_nPeerPort;
        Drop();
        if (report && was != Idle)
            m_pOwner->HandleConnState(false, ip, port);
    }

    void Send(const char *bytes, int count)
    {
        if (m_state == Online && m_pSocket)
            m_pSocket->write(bytes, count);
    }

    State m_state = Idle;
    int m_nTimeout = 10000;
    RecvCallback m_callback = nullptr;

private:
    void Drop()
    {
        m_timer.stop();
        m_state = Idle;
        if (m_pSocket) {
            m_pSocket->disconnect(this);
            m_pSocket->abort();
            m_pSocket->deleteLater();
            m_pSocket = nullptr;
        }
        m_strPeerIP.clear();
        m_nPeerPort = 0;
    }

    void Fail() { Stop(true); }

    void OnConnected()
    {
        m_timer.stop();
        m_state = Online;
        m_strPeerIP = AddressText(m_pSocket->peerAddress());
        m_nPeerPort = m_pSocket->peerPort();
        QPointer<StreamDialCore> alive(this);
        QTcpSocket *socket = m_pSocket;
        m_pOwner->HandleConnState(true, m_strPeerIP, m_nPeerPort);
        if (alive && m_pSocket == socket && socket->bytesAvailable() > 0)
            OnReadyRead();
    }

    void OnReadyRead()
    {
        if (!m_pSocket)
            return;
        const QByteArray bytes = m_pSocket->readAll();
        if (bytes.isEmpty())
            return;
        if (m_callback)
            m_callback(bytes);
        RecvData data;
        data.pData = bytes.constData();
        data.nLen = bytes.size();
        data.strIP = m_strPeerIP;
        data.nPort = m_nPeerPort;
        m_pOwner->HandleRecvData(data);
    }

    CStreamDial *m_pOwner;
    QTcpSocket *m_pSocket = nullptr;
    QTimer m_timer;
    QString m_strHost;
    int m_nPort = 0;
    QString m_strPeerIP;
    int m_nPeerPort = 0;
};

CStreamDial::CStreamDial() : m_pCore(std::make_unique<StreamDialCore>(this)) {}

CStreamDial::~CStreamDial() = default;

void CStreamDial::StartClient(QString host, int port, bool flag, RecvCallback callback)
{
    Q_UNUSED(flag)
    m_pCore->m_callback = callback;
    m_pCore->Start(host, port);
}

void CStreamDial::SendData(char *bytes, unsigned short count, QString ip, int port)
{
    Q_UNUSED(ip)
    Q_UNUSED(port)
    if (!bytes || count == 0)
        return;
    m_pCore->Send(bytes, count);
}

void CStreamDial::CloseClient()
{
    m_pCore->Stop(true);
}

bool CStreamDial::IsOnline() const
{
    return m_pCore->m_state == StreamDialCore::Online;
}

void CStreamDial::SetConnectTimeout(int msecs)
{
    m_pCore->m_nTimeout = qMax(1, msecs);
}

void CStreamDial::HandleRecvData(const RecvData &) {}

void CStreamDial::HandleConnState(bool, QString, int) {}

} // namespace ns_streamdial

#include "cstreamdial.moc"
