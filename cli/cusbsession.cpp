#include "cusbsession.h"

#include <burnhub.h>
#include <cframecutter.h>
#include <cmainhost.h>
#include <cusbframe.h>
#include <cusblinks.h>
#include <usbprog.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QFileInfo>

namespace {
constexpr int kBaudRate = 115200;

// A hardware port comes by its name ("ttyACM0"), an extra one by its path.
QString DevicePath(const QString &port)
{
    return port.contains(QLatin1Char('/')) ? port : QStringLiteral("/dev/") + port;
}
} // namespace

// Control frames of HID programmers come through the program's host object.
class CCliHost : public CMainHost
{
public:
    explicit CCliHost(CCliUsbSession &session) : m_session(session) {}
    void Log(const QString &) override {}
    void OnUsbFrame(const QByteArray &frame, const QString &key) override { m_session.OnHidFrame(frame, key); }

private:
    CCliUsbSession &m_session;
};

CCliUsbSession::CCliUsbSession()
{
    m_clock.start();
    m_sendTimer.setSingleShot(true);
    // The pauses are a few milliseconds: a coarse timer would stretch them.
    m_sendTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_sendTimer, &QTimer::timeout, this, &CCliUsbSession::Flush);
    m_beat.setInterval(50);
    connect(&m_beat, &QTimer::timeout, this, [] {});
}

CCliUsbSession::~CCliUsbSession()
{
    for (auto &dev : m_devs)
        if (dev->IsHid() && m_pHid)
            m_pHid->CloseOneHid(dev->m_strName);
    m_pHid.reset();
    if (m_pHost)
        CMainHost::SetInstance(nullptr);
}

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

void CCliUsbSession::OpenHid()
{
    if (!m_pHost) {
        m_pHost = std::make_unique<CCliHost>(*this);
        CMainHost::SetInstance(m_pHost.get());
    }
    if (!m_pHid)
        m_pHid = std::make_unique<CUsbHidLink>([this](const QString &key) { OnHidLost(key); });
    for (const CHidInfo &info : m_pHid->OpenNewDevices()) {
        auto dev = std::make_unique<CCliUsbDev>();
        dev->m_nType = CUsbDev::KindHid;
        dev->m_nSlot = int(m_devs.size()) + 1;
        dev->m_strName = info.m_strPath;
        dev->m_strSecondId = info.m_strSerial;
        m_devs.push_back(std::move(dev));
    }
}

CCliUsbDev *CCliUsbSession::FindKey(const QString &key) const
{
    for (const auto &dev : m_devs)
        if (dev->Key() == key)
            return dev.get();
    return nullptr;
}

void CCliUsbSession::OnHidFrame(const QByteArray &frame, const QString &key)
{
    if (CCliUsbDev *dev = FindKey(key))
        Receive(*dev, frame);
}

void CCliUsbSession::OnHidLost(const QString &key)
{
    CCliUsbDev *dev = FindKey(key);
    if (dev && dev->m_strError.isEmpty())
        dev->m_strError = QStringLiteral("%1: the HID device went away").arg(key);
}

bool CCliUsbSession::Initialise(int timeoutMs)
{
    for (auto &dev : m_devs) {
        if (!dev->Works())
            continue;
        if (dev->IsHid())
            QueueInitPulls(*dev);
        else
            RequestUid(*dev);
    }
    const bool done = RunUntil(
        [this] {
            for (auto &dev : m_devs)
                if (dev->Works() && !dev->m_bInit)
                    return false;
            return true;
        },
        timeoutMs);
    for (auto &dev : m_devs)
        if (dev->Works() && !dev->m_bInit)
            dev->m_strError = QStringLiteral("%1: no answer to the initialisation").arg(dev->Where());
    return done;
}

bool CCliUsbSession::RunStep(int timeoutMs, const QElapsedTimer &timer)
{
    if (timer.elapsed() >= timeoutMs)
        return false;
    // Sleeps until something happens; the beat wakes it to look at the clock.
    // (The overload with a time limit would not wait: it spins.)
    if (!m_beat.isActive())
        m_beat.start();
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
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
            QByteArray &frame = dev->m_out.front();
            if (dev->IsHid()) {
                if (m_pHid && !m_pHid->SendData(reinterpret_cast<unsigned char *>(frame.data()), quint16(frame.size()),
                                                dev->m_strName)
                    && dev->m_strError.isEmpty())
                    dev->m_strError = QStringLiteral("%1: cannot write to the HID device").arg(dev->m_strName);
            } else if (dev->m_port.isOpen()) {
                // Out now, not on the next pass of the event loop.
                dev->m_port.write(frame);
                dev->m_port.flush();
            }
            dev->m_out.pop_front();
        }
    }
    if (next >= 0 && (!m_sendTimer.isActive() || m_sendTimer.remainingTime() > next - now))
        m_sendTimer.start(int(next - now));
}

void CCliUsbSession::Log(const QString &) {}

void CCliUsbSession::LogFailure(const QString &text)
{
    // A failure of the programmer whose frame is handled ends its job; a
    // result is taken whole by OnResult.
    if (m_pCurrent && m_pCurrent->m_job != CCliUsbDev::JobNone && !m_pCurrent->m_bDone && m_nCurrentCode != UsbCmd::RESULT_CMD)
        Finish(*m_pCurrent, false, text);
}

void CCliUsbSession::OnProgFile(CUsbDev &dev, const QString &localPath)
{
    auto &d = static_cast<CCliUsbDev &>(dev);
    ProgerInfo info;
    if (BurnHub::IsRightProger(localPath, info)) {
        d.m_info = info;
        d.m_strIdentity = info.m_strID;
    }
    if (d.IsHid())
        d.m_info.MarkHIDProger(dev.FolderId());
    else
        d.m_info.MarkVCPProger(dev.m_strName, d.m_strPort);
}

void CCliUsbSession::OnSyncCounters(CUsbDev &dev, quint32 pass, quint32 fail)
{
    auto &d = static_cast<CCliUsbDev &>(dev);
    d.m_bCounters = true;
    d.m_nPass = pass;
    d.m_nFail = fail;
}

// ---- jobs

void CCliUsbSession::Begin(CCliUsbDev &dev, CCliUsbDev::Job job)
{
    dev.m_job = job;
    dev.m_bDone = false;
    dev.m_bOk = false;
    dev.m_strReason.clear();
    dev.m_nPercent = 0;
    dev.m_bResult = false;
}

void CCliUsbSession::Finish(CCliUsbDev &dev, bool ok, const QString &reason)
{
    if (dev.m_bDone)
        return;
    dev.m_bDone = true;
    dev.m_bOk = ok;
    dev.m_strReason = reason;
}

bool CCliUsbSession::SendFile(CCliUsbDev &dev, const QString &localPath, int imageNo)
{
    Begin(dev, imageNo >= 0 ? CCliUsbDev::JobImage : CCliUsbDev::JobFile);
    dev.m_strFile = QFileInfo(localPath).fileName();
    m_pCurrent = &dev;
    const bool ok = DownloadFile(dev, localPath);
    m_pCurrent = nullptr;
    if (!ok) {
        Finish(dev, false, dev.m_strReason.isEmpty() ? QStringLiteral("cannot send %1").arg(localPath) : dev.m_strReason);
        return false;
    }
    // The refresh after the index switches to this number.
    dev.m_nImageNo = imageNo;
    return true;
}

void CCliUsbSession::Start(CCliUsbDev &dev, int image)
{
    Begin(dev, CCliUsbDev::JobStart);
    if (image < 0) {
        SendFrame(dev, CUsbFrame::Make(UsbCmd::START_CMD));
        return;
    }
    UsbByte start;
    start.cmd = UsbCmd::START_IMAGE_CMD;
    start.value = quint8(image);
    SendFrame(dev, start.Frame());
}

void CCliUsbSession::PullFiles(CCliUsbDev &dev, const QStringList &paths)
{
    Begin(dev, CCliUsbDev::JobPull);
    dev.m_pending = paths;
    if (paths.isEmpty()) {
        Finish(dev, true);
        return;
    }
    dev.m_pull.m_queue = paths.mid(1);
    PullFile(dev, paths.first());
}

void CCliUsbSession::OnPullDone(CUsbDev &d, const QString &path, const QString &localPath, quint32 size, bool ok)
{
    auto &dev = static_cast<CCliUsbDev &>(d);
    if (dev.m_job != CCliUsbDev::JobPull || dev.m_bDone || !dev.m_pending.contains(path))
        return;
    dev.m_pending.removeAll(path);
    // The mirror must be the whole file the programmer announced.
    const QFileInfo file(localPath);
    if (!ok || !file.isFile() || quint64(file.size()) != size) {
        Finish(dev, false, QStringLiteral("cannot read %1 from the programmer").arg(path));
        return;
    }
    dev.m_nPercent = 100 - int(dev.m_pending.size() * 100 / qMax(1, dev.m_pending.size() + 1));
    if (dev.m_pending.isEmpty())
        Finish(dev, true);
}

void CCliUsbSession::Dispatch(CUsbDev &d, const QByteArray &frame)
{
    auto &dev = static_cast<CCliUsbDev &>(d);
    const quint8 code = CUsbFrame::Command(frame);
    const bool busy = dev.m_job != CCliUsbDev::JobNone && !dev.m_bDone;
    if (busy && code == UsbCmd::FT_REQ_CMD && dev.m_push.m_strName == dev.m_strFile) {
        UsbFrameNo req;
        if (req.Parse(frame) && req.frame < dev.m_push.m_nFrames)
            dev.m_nPercent = dev.m_push.Percent(req.frame);
    }
    UsbFileResult res;
    const bool verified = code == UsbCmd::FT_RES_CMD && res.Parse(frame) && res.status == 0;
    UsbByte ack;
    const bool switched = code == UsbCmd::SWITCH_IMAGE_CMD && ack.Parse(frame) && ack.value == 0;

    m_pCurrent = &dev;
    m_nCurrentCode = code;
    CUsbHostHandler::Dispatch(dev, frame);
    m_pCurrent = nullptr;
    m_nCurrentCode = 0;

    if (!busy || dev.m_bDone)
        return;
    if (verified && res.name == dev.m_strFile) {
        dev.m_nPercent = 100;
        if (dev.m_job == CCliUsbDev::JobFile)
            Finish(dev, true);
    }
    if (switched && dev.m_job == CCliUsbDev::JobImage)
        Finish(dev, true);
}

void CCliUsbSession::OnResult(CUsbDev &d, const UsbResult &result)
{
    auto &dev = static_cast<CCliUsbDev &>(d);
    if (dev.m_job != CCliUsbDev::JobStart || dev.m_bDone)
        return;
    dev.m_bResult = true;
    dev.m_nCode = result.code;
    dev.m_nChecksum = result.checksum;
    Finish(dev, result.IsPass(), result.IsPass() ? QString() : ResultReason(result.code));
}

bool CCliUsbSession::Wait(int timeoutMs, const std::function<void()> &tick)
{
    auto open = [this] {
        bool any = false;
        for (auto &dev : m_devs) {
            if (dev->m_job == CCliUsbDev::JobNone || dev->m_bDone)
                continue;
            // A programmer that went away answers nothing more. A pseudo-terminal
            // or a USB port that goes just disappears, without an error to read.
            if (dev->Works() && !dev->IsHid() && !QFileInfo::exists(DevicePath(dev->m_strPort)))
                dev->m_strError = QStringLiteral("%1: the port went away").arg(dev->m_strPort);
            if (!dev->Works())
                Finish(*dev, false, dev->m_strError);
            else
                any = true;
        }
        return any;
    };
    QElapsedTimer timer;
    timer.start();
    bool inTime = true;
    while (open()) {
        if (!RunStep(timeoutMs, timer)) {
            inTime = false;
            break;
        }
        if (tick)
            tick();
    }
    for (auto &dev : m_devs) {
        if (dev->m_job == CCliUsbDev::JobNone || dev->m_bDone)
            continue;
        dev->m_strError = QStringLiteral("%1: no answer within %2 s").arg(dev->Where()).arg(timeoutMs / 1000.0);
        Finish(*dev, false, dev->m_strError);
    }
    if (tick)
        tick();
    return inTime;
}
