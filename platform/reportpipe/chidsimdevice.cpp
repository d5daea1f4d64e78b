#include "chidsimdevice.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>

CHidSimDevice::CHidSimDevice(QObject *parent) : QObject(parent) {}

CHidSimDevice::~CHidSimDevice()
{
    Stop();
}

bool CHidSimDevice::Start(const QString &dir, quint16 vid, quint16 pid, const QString &serial)
{
    Stop();
    if (!HidSimWire::IsValidSerial(serial) || !QDir().mkpath(dir))
        return false;
    m_strSerial = serial;
    m_strPath = QDir(dir).absoluteFilePath(HidSimWire::SocketFileName(vid, pid, serial));
    QLocalServer::removeServer(m_strPath);
    m_pServer = new QLocalServer(this);
    m_pServer->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_pServer, &QLocalServer::newConnection, this, &CHidSimDevice::OnNewConnection);
    if (!m_pServer->listen(m_strPath)) {
        delete m_pServer;
        m_pServer = nullptr;
        m_strPath.clear();
        return false;
    }
    return true;
}

void CHidSimDevice::Stop()
{
    if (m_pHost) {
        m_pHost->disconnect(this);
        m_pHost->abort();
        m_pHost->deleteLater();
        m_pHost = nullptr;
    }
    if (m_pServer) {
        m_pServer->close();
        delete m_pServer;
        m_pServer = nullptr;
        QLocalServer::removeServer(m_strPath);
    }
    m_decoder = HidSimWire::Decoder();
}

bool CHidSimDevice::IsAttached() const
{
    return m_pHost && m_pHost->state() == QLocalSocket::ConnectedState;
}

bool CHidSimDevice::SendFrame(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return false;
    for (const QByteArray &report : HidSimWire::SplitReports(bytes.constData(), bytes.size())) {
        if (!SendReport(report))
            return false;
    }
    return true;
}

bool CHidSimDevice::SendReport(const QByteArray &report)
{
    if (report.isEmpty() || report.size() > HidSimWire::kMaxReport)
        return false;
    return SendRaw(HidSimWire::Encode(report));
}

bool CHidSimDevice::SendRaw(const QByteArray &bytes)
{
    if (!IsAttached())
        return false;
    return m_pHost->write(bytes) == bytes.size();
}

void CHidSimDevice::OnNewConnection()
{
    while (QLocalSocket *socket = m_pServer->nextPendingConnection()) {
        // One host at a time, like a device that one program has opened.
        if (m_pHost) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        m_pHost = socket;
        m_decoder = HidSimWire::Decoder();
        connect(socket, &QLocalSocket::readyRead, this, &CHidSimDevice::OnReadyRead);
        connect(socket, &QLocalSocket::disconnected, this, [this, socket] {
            if (m_pHost != socket)
                return;
            m_pHost->deleteLater();
            m_pHost = nullptr;
            emit sigAttached(false);
        });
        emit sigAttached(true);
        if (socket->bytesAvailable() > 0)
            OnReadyRead();
    }
}

void CHidSimDevice::OnReadyRead()
{
    if (!m_pHost)
        return;
    m_decoder.Feed(m_pHost->readAll());
    QByteArray report;
    while (m_decoder.Next(report))
        emit sigReport(report);
    if (m_decoder.IsBad() && m_pHost)
        m_pHost->abort();
}
