#include "ntpclient.h"

#include <QCoreApplication>
#include <QDebug>
#include <QThread>
#include <QUdpSocket>
#include <QtEndian>

const char NtpClient::DefaultHost[] = "127.0.0.1";

namespace {
constexpr int kPacketSize = 48;
constexpr int kTransmitOffset = 40;
constexpr int kWaitRounds = 500;
} // namespace

NtpClient::NtpClient(const QString &host, QObject *parent)
    : QObject(parent), m_strHost(host), m_pSocket(new QUdpSocket(this))
{
    connect(m_pSocket, &QUdpSocket::connected, this, &NtpClient::sendData);
    connect(m_pSocket, &QUdpSocket::readyRead, this, &NtpClient::readData);
}

QByteArray NtpClient::RequestPacket(const QDateTime &now)
{
    QByteArray packet(kPacketSize, '\0');
    packet[0] = char(0x1B); // leap 0, version 3, mode 3 (client)
    packet[1] = 0;          // stratum
    packet[2] = 4;          // poll interval
    packet[3] = char(0xFA); // precision
    packet[5] = 1;          // root delay 0x00010000
    packet[9] = 1;          // root dispersion 0x00010000
    const quint32 secs = quint32(now.toSecsSinceEpoch() + SecsTo1970);
    // Through a local word: GCC's sanitizer build cannot see the array's size.
    uchar word[4];
    qToBigEndian<quint32>(secs, word);
    packet.replace(kTransmitOffset, 4, reinterpret_cast<const char *>(word), 4);
    return packet;
}

QDateTime NtpClient::ParseAnswer(const QByteArray &packet)
{
    if (packet.size() < kPacketSize)
        return QDateTime();
    const int mode = packet.at(0) & 0x07;
    if (mode != 3 && mode != 4)
        return QDateTime();
    const auto *p = reinterpret_cast<const uchar *>(packet.constData()) + kTransmitOffset;
    const quint32 secs = qFromBigEndian<quint32>(p);
    const quint32 fraction = qFromBigEndian<quint32>(p + 4);
    // A server that has no time sends zero; that is not 1900.
    if (secs == 0 && fraction == 0)
        return QDateTime();
    const qint64 ms = (qint64(secs) - SecsTo1970) * 1000 + qint64((quint64(fraction) * 1000) >> 32);
    return QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC);
}

QDateTime NtpClient::getDateTime(bool wait)
{
    m_pSocket->abort();
    m_pSocket->connectToHost(m_strHost, m_nPort);
    if (!wait)
        return QDateTime();
    // An answer stored by an earlier call has aged since: move it on by the time passed.
    if (m_bReceived)
        return m_lastTime.addMSecs(m_sinceLast.elapsed());
    for (int i = 0; i < kWaitRounds; ++i) {
        if (m_bReceived)
            return m_lastTime;
        QCoreApplication::processEvents();
        QThread::msleep(1);
    }
    return QDateTime();
}

void NtpClient::sendData()
{
    const qint64 sent = m_pSocket->write(RequestPacket(QDateTime::currentDateTimeUtc()));
    qDebug() << "ntp server connected, send request data.";
    qDebug() << sent << "bytes sent.";
}

void NtpClient::readData()
{
    qDebug() << "get ack, read data.";
    QByteArray packet;
    while (m_pSocket->hasPendingDatagrams()) {
        packet.resize(int(qMax<qint64>(m_pSocket->pendingDatagramSize(), 0)));
        const qint64 n = m_pSocket->readDatagram(packet.data(), packet.size());
        packet.resize(int(qMax<qint64>(n, 0)));
    }
    m_pSocket->close();
    const QDateTime time = ParseAnswer(packet);
    if (!time.isValid())
        return;
    qDebug() << "get valid time.";
    m_lastTime = time;
    m_sinceLast.start();
    m_bReceived = true;
    emit receiveTime(time);
}
