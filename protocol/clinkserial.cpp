#include "clinkserial.h"

#include "cframecutter.h"
#include "cmainhost.h"

#include <QDebug>

CLinkSerial::~CLinkSerial() = default;

bool CLinkSerial::Open(const QString &port)
{
    return StartMultipleSerial(port, kBaudRate, true, nullptr);
}

void CLinkSerial::Close(const QString &port)
{
    CloseMutipleSerial(port, false);
}

bool CLinkSerial::Send(const QByteArray &frame, const QString &port)
{
    QByteArray bytes = frame;
    return SendData(bytes.data(), unsigned(bytes.size()), port);
}

void CLinkSerial::HandleRecvData(const SerialRecvData &data)
{
    m_strPort = data.strPort;
    m_buf.m_buf.append(data.pData, data.nLen);
    QByteArray frame;
    QByteArray dropped;
    while (true) {
        const CFrameCutter::Result r = CFrameCutter::NextUsb(m_buf.m_buf, frame, dropped);
        if (r == CFrameCutter::NeedMore)
            return;
        if (r == CFrameCutter::Dropped) {
            qDebug().noquote() << "unsupport frm" << QString::fromLatin1(dropped.toHex(' '));
            continue;
        }
        CMainHost::Instance()->OnUsbFrame(frame, m_strPort);
    }
}

void CLinkSerial::HandleConnState(bool open, QString port)
{
    qDebug() << "HandleConnState" << open << port;
    if (!open)
        m_buf.m_buf.clear();
}
