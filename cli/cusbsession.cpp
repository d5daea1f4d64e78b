#include "cusbsession.h"

#include <burnhub.h>
#include <cframecutter.h>
#include <cusbframe.h>

#include <QCoreApplication>
#include <QEventLoop>

namespace {
constexpr int kBaudRate = 115200;
} // namespace

CCliUsbSession::CCliUsbSession()
{
    m_clock.start();
    m_sendTimer.setSingleShot(true);
    connect(&m_sendTimer, &QTimer::timeout, this, &CCliUsbSession::Flush);
}

CCliUsbSession::~CCliUsbSession() = default;

void CCliUsbSession::OpenVcp(const QStringList &ports)
{
    for (const QString &port : ports) {
        auto dev = std::make_unique<CCliUsbDev>();
        dev->m_nType = CUsbDev::KindVcp;
        dev->m_nSlot = int(m_devs.size()) + 1;
        dev->m_strPort = port;
        dev->m_port.setPortName(port);
        dev->m_port.setBaudRate(kBaudRate);
        if (!dev->m_port.open(QIODevice::ReadWrite)) {
            dev->m_strError = QStringLiteral("%1: cannot open the port (%2)").arg(port, dev->m_port.errorString());
        } else {
            CCliUsbDev *raw = dev.get();
            connect(&raw->m_port, &QSerialPort::readyRead, this, [this, raw] { Read(*raw); });
            connect(&raw->m_port, &QSerialPort::errorOccurred, this, [raw](QSerialPort::SerialPortError e) {
                if (e == QSerialPort::ResourceError && raw->m_strError.isEmpty())
                    raw->m_strError = QStringLiteral("%1: the port went away").arg(raw->m_strPort);
            });
        }
        m_devs.push_back(std::move(dev));
    }
}

bool CCliUsbSession::Initialise(int timeoutMs)
{
    for (auto &dev : m_devs)
        if (dev->m_strError.isEmpty())
            RequestUid(*dev);
    const bool done = RunUntil(
        [this] {
            for (auto &dev : m_devs)
                if (dev->m_strError.isEmpty() && !dev->m_bInit)
                    return false;
            return true;
        },
        timeoutMs);
    for (auto &dev : m_devs)
        if (dev->m_strError.isEmpty() && !dev->m_bInit)
            dev->m_strError = QStringLiteral("%1: no answer to the initialisation").arg(dev->m_strPort);
    return done;
}

bool CCliUsbSession::RunStep(int timeoutMs, const QElapsedTimer &timer)
{
    const qint64 left = timeoutMs - timer.elapsed();
    if (left <= 0)
        return false;
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, int(qMin<qint64>(left, 50)));
    return true;
}

void CCliUsbSession::Read(CCliUsbDev &dev)
{
    dev.m_inBuf += dev.m_port.readAll();
    for (;;) {
        QByteArray frame;
        QByteArray dropped;
        const CFrameCutter::Result r = CFrameCutter::NextUsb(dev.m_inBuf, frame, dropped);
        if (r == CFrameCutter::NeedMore)
            break;
        if (r == CFrameCutter::Message)
            Receive(dev, frame);
    }
}

void CCliUsbSession::SendFrame(CUsbDev &dev, const QByteArray &frame)
{
    static_cast<CCliUsbDev &>(dev).m_out.push_back(frame);
    Flush();
}

void CCliUsbSession::Pause(CUsbDev &dev, int ms)
{
    auto &d = static_cast<CCliUsbDev &>(dev);
    d.m_nHoldUntil = qMax(d.m_nHoldUntil, m_clock.elapsed() + ms);
}

// Sends what may go now and comes back for the programmer held longest.
void CCliUsbSession::Flush()
{
    const qint64 now = m_clock.elapsed();
    qint64 next = -1;
    for (auto &dev : m_devs) {
        if (dev->m_out.empty())
            continue;
        if (dev->m_nHoldUntil > now) {
            next = next < 0 ? dev->m_nHoldUntil : qMin(next, dev->m_nHoldUntil);
            continue;
        }
        while (!dev->m_out.empty()) {
            if (dev->m_port.isOpen())
                dev->m_port.write(dev->m_out.front());
            dev->m_out.pop_front();
        }
    }
    if (next >= 0 && (!m_sendTimer.isActive() || m_sendTimer.remainingTime() > next - now))
        m_sendTimer.start(int(next - now));
}

void CCliUsbSession::Log(const QString &) {}

void CCliUsbSession::OnProgFile(CUsbDev &dev, const QString &localPath)
{
    auto &d = static_cast<CCliUsbDev &>(dev);
    ProgerInfo info;
    if (BurnHub::IsRightProger(localPath, info)) {
        d.m_info = info;
        d.m_strIdentity = info.m_strID;
    }
    d.m_info.MarkVCPProger(dev.m_strName, d.m_strPort);
}

void CCliUsbSession::OnSyncCounters(CUsbDev &dev, quint32 pass, quint32 fail)
{
    auto &d = static_cast<CCliUsbDev &>(dev);
    d.m_bCounters = true;
    d.m_nPass = pass;
    d.m_nFail = fail;
}
