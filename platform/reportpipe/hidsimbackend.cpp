#include "hidsimbackend.h"

#include <QDebug>
#include <QDir>
#include <QLocalSocket>
#include <QPointer>

HidSimBackend::HidSimBackend(const QString &dir) : m_strDir(dir) {}

HidSimBackend::~HidSimBackend()
{
    for (Device &device : m_devices) {
        device.pSocket->disconnect(this);
        device.pSocket->abort();
    }
}

QList<CHidInfo> HidSimBackend::Enumerate(quint16 vid, quint16 pid)
{
    QList<CHidInfo> list;
    const QFileInfoList files = QDir(m_strDir).entryInfoList({QStringLiteral("*.hidsock")}, QDir::System | QDir::Files,
                                                             QDir::Name);
    for (const QFileInfo &file : files) {
        CHidInfo info;
        if (!HidSimWire::ParseSocketFileName(file.fileName(), info.m_nVid, info.m_nPid, info.m_strSerial))
            continue;
        if (info.m_nVid != vid || info.m_nPid != pid)
            continue;
        info.m_strProduct = QStringLiteral("QEL programmer (simulated)");
        info.m_strPath = file.absoluteFilePath();
        list.append(info);
    }
    return list;
}

bool HidSimBackend::Open(const CHidInfo &info)
{
    const QString key = info.m_strPath;
    if (m_devices.contains(key))
        return true;
    auto *socket = new QLocalSocket(this);
    socket->connectToServer(key);
    // A local connection is made or refused at once.
    if (!socket->waitForConnected(1000)) {
        qDebug() << "HidSimBackend: cannot open" << key << socket->errorString();
        delete socket;
        return false;
    }
    Device device;
    device.pSocket = socket;
    m_devices.insert(key, device);
    connect(socket, &QLocalSocket::readyRead, this, [this, key] { OnReadyRead(key); });
    connect(socket, &QLocalSocket::disconnected, this, [this, key] { OnGone(key); });
    if (socket->bytesAvailable() > 0)
        QMetaObject::invokeMethod(this, [this, key] { OnReadyRead(key); }, Qt::QueuedConnection);
    return true;
}

void HidSimBackend::Close(const QString &key)
{
    auto it = m_devices.find(key);
    if (it == m_devices.end())
        return;
    QLocalSocket *socket = it->pSocket;
    m_devices.erase(it);
    socket->disconnect(this);
    socket->abort();
    socket->deleteLater();
}

bool HidSimBackend::IsOpen(const QString &key) const
{
    return m_devices.contains(key);
}

bool HidSimBackend::Write(const QString &key, const QByteArray &report)
{
    auto it = m_devices.find(key);
    if (it == m_devices.end() || it->pSocket->state() != QLocalSocket::ConnectedState)
        return false;
    const QByteArray out = HidSimWire::Encode(report);
    return it->pSocket->write(out) == out.size();
}

void HidSimBackend::OnReadyRead(const QString &key)
{
    auto it = m_devices.find(key);
    if (it == m_devices.end())
        return;
    it->decoder.Feed(it->pSocket->readAll());
    QPointer<HidSimBackend> alive(this);
    QByteArray report;
    while (true) {
        it = m_devices.find(key);
        if (it == m_devices.end() || !it->decoder.Next(report))
            break;
        if (onReport)
            onReport(key, report);
        if (!alive)
            return;
    }
    it = m_devices.find(key);
    if (it != m_devices.end() && it->decoder.IsBad()) {
        qDebug() << "HidSimBackend: bad stream from" << key;
        OnGone(key);
    }
}

void HidSimBackend::OnGone(const QString &key)
{
    if (!m_devices.contains(key))
        return;
    if (onLost)
        onLost(key);
    else
        Close(key);
}
