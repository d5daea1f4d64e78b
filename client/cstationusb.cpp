#include "cstationusb.h"

#include <burnhub.h>
#include <clinkserial.h>
#include <creportpipe.h>
#include <cusbframe.h>
#include <usbcmd.h>
#include <usbpayload.h>

#include <QDebug>
#include <QFileInfo>

namespace {
CStationUsb *g_pStation = nullptr;
}

CStationUsb *CStationUsb::Station()
{
    return g_pStation;
}

CStationUsb::CStationUsb(QObject *parent) : QObject(parent)
{
    if (!g_pStation)
        g_pStation = this;
    m_clock.start();
    m_sendTimer.setSingleShot(true);
    connect(&m_sendTimer, &QTimer::timeout, this, &CStationUsb::OnSendTick);
    connect(&m_checkTimer, &QTimer::timeout, this, &CStationUsb::CheckTimeouts);
}

CStationUsb::~CStationUsb()
{
    if (g_pStation == this)
        g_pStation = nullptr;
}

CStationUsb::Prog *CStationUsb::Find(const QString &key) const
{
    const auto it = m_progs.find(key);
    return it == m_progs.end() ? nullptr : it->second.get();
}

CStationUsb::Prog *CStationUsb::Add(quint8 kind, const QString &key)
{
    auto prog = std::make_unique<Prog>();
    prog->m_nType = kind;
    prog->m_nSlot = m_nNextSlot++;
    prog->lastHeard = Now();
    if (kind == CUsbDev::KindHid)
        prog->m_strName = key;
    else
        prog->m_strPort = key;
    Prog *p = prog.get();
    m_progs[key] = std::move(prog);
    if (!m_checkTimer.isActive())
        m_checkTimer.start(kCheckMs);
    return p;
}

void CStationUsb::Drop(const QString &key)
{
    const auto it = m_progs.find(key);
    if (it == m_progs.end())
        return;
    Prog *prog = it->second.get();
    const QString cut = !prog->delivering.isEmpty() ? prog->delivering : prog->m_push.m_strName;
    if (prog->link)
        prog->link->Close(key);
    // Not from inside the link's own call: the link goes with the record.
    std::unique_ptr<Prog> gone = std::move(it->second);
    m_progs.erase(it);
    QTimer::singleShot(0, this, [p = std::shared_ptr<Prog>(std::move(gone))]() {});
    if (!cut.isEmpty())
        emit sigFileResult(key, cut, false);
}

void CStationUsb::SetHid(const QStringList &paths)
{
    QStringList gone;
    for (const auto &entry : m_progs)
        if (entry.second->m_nType == CUsbDev::KindHid && !paths.contains(entry.first))
            gone << entry.first;
    for (const QString &key : qAsConst(gone))
        Drop(key);
    for (const QString &path : paths) {
        if (Find(path))
            continue;
        Prog *prog = Add(CUsbDev::KindHid, path);
        QueueInitPulls(*prog);
    }
}

void CStationUsb::SetPorts(const QStringList &ports)
{
    QStringList gone;
    for (const auto &entry : m_progs)
        if (entry.second->m_nType == CUsbDev::KindVcp && !ports.contains(entry.first))
            gone << entry.first;
    for (const QString &key : qAsConst(gone))
        Drop(key);
    for (const QString &port : ports) {
        if (Find(port))
            continue;
        Prog *prog = Add(CUsbDev::KindVcp, port);
        prog->link = std::make_unique<CLinkSerial>();
        if (!prog->link->Open(port)) {
            Log(tr("%1 串口打开失败").arg(port));
            continue; // listed, but nothing can be read from it
        }
        RequestUid(*prog);
    }
}

bool CStationUsb::Identity(const QString &key, ProgerInfo &info) const
{
    const Prog *prog = Find(key);
    if (!prog || !prog->identified)
        return false;
    info = prog->info;
    return true;
}

QString CStationUsb::FolderId(const QString &key) const
{
    const Prog *prog = Find(key);
    return prog ? prog->FolderId() : QString();
}

bool CStationUsb::IsBusy(const QString &key) const
{
    const Prog *prog = Find(key);
    return prog && (Busy(*prog) || !prog->pendingPath.isEmpty());
}

bool CStationUsb::SendFile(const QString &key, const QString &localPath, int imageNo, QString &err)
{
    Prog *prog = Find(key);
    if (!prog || !prog->identified) {
        err = tr("设备不匹配!");
        return false;
    }
    if (!prog->delivering.isEmpty() || !prog->pendingPath.isEmpty()) {
        err = tr("下载器正在传输文件, 请稍后");
        return false;
    }
    if (Busy(*prog)) {
        prog->pendingPath = localPath;
        prog->pendingImageNo = imageNo;
        prog->lastHeard = Now();
        return true;
    }
    return Announce(*prog, localPath, imageNo, err);
}

bool CStationUsb::DeleteFiles(const QString &key, const QStringList &names, const QString &indexPath, QString &err)
{
    Prog *prog = Find(key);
    if (!prog || !prog->identified) {
        err = tr("设备不匹配!");
        return false;
    }
    if (Busy(*prog) || !prog->delivering.isEmpty() || !prog->pendingPath.isEmpty()) {
        err = tr("下载器正在传输文件, 请稍后");
        return false;
    }
    for (const QString &name : names) {
        UsbFileName del;
        del.cmd = UsbCmd::DEL_FILE_CMD;
        del.name = name;
        SendFrame(*prog, del.Frame());
    }
    return Announce(*prog, indexPath, -1, err);
}

bool CStationUsb::Announce(Prog &prog, const QString &localPath, int imageNo, QString &err)
{
    if (!DownloadFile(prog, localPath)) {
        err = tr("下发文件读取失败！");
        return false;
    }
    prog.m_nImageNo = imageNo;
    prog.lastHeard = Now();
    prog.delivering = QFileInfo(localPath).fileName();
    return true;
}

void CStationUsb::StartPending(Prog &prog)
{
    if (prog.pendingPath.isEmpty() || Busy(prog))
        return;
    const QString path = prog.pendingPath;
    prog.pendingPath.clear();
    QString err;
    if (!Announce(prog, path, prog.pendingImageNo, err)) {
        Log(err);
        emit sigFileResult(prog.Key(), QFileInfo(path).fileName(), false);
    }
}

// ---------------------------------------------------------------- frames

void CStationUsb::RecvFrame(const QByteArray &frame, const QString &key)
{
    // Handled after the link's own call returns: a handler may drop the link.
    QTimer::singleShot(0, this, [this, frame, key]() {
        if (Prog *prog = Find(key)) {
            prog->lastHeard = Now();
            Receive(*prog, frame);
            // The record may have gone while the frame was handled.
            if (Prog *still = Find(key))
                StartPending(*still);
        }
    });
}

void CStationUsb::Dispatch(CUsbDev &dev, const QByteArray &frame)
{
    const QString key = dev.Key();
    const CUsbFileVerdict verdict = CUsbFileVerdict::Read(dev, frame);
    CUsbHostHandler::Dispatch(dev, frame);
    if (verdict.kind == CUsbFileVerdict::None)
        return;
    auto &prog = static_cast<Prog &>(dev);
    QString name = verdict.strName;
    if (verdict.kind == CUsbFileVerdict::Verified) {
        // A verified image is followed by the index: the verdict waits for it.
        if (name.endsWith(QLatin1String(".img")) && verdict.bOk)
            return;
        if (name == QLatin1String("image.dat") && !prog.delivering.isEmpty())
            name = prog.delivering;
    }
    prog.delivering.clear();
    emit sigFileResult(key, name, verdict.bOk);
}

void CStationUsb::SendFrame(CUsbDev &dev, const QByteArray &frame)
{
    if (frame.isEmpty())
        return;
    auto &prog = static_cast<Prog &>(dev);
    prog.out.push_back(frame);
    ArmSend();
}

void CStationUsb::Pause(CUsbDev &dev, int ms)
{
    auto &prog = static_cast<Prog &>(dev);
    prog.holdUntil = qMax(prog.holdUntil, Now() + ms);
}

void CStationUsb::ArmSend()
{
    qint64 first = -1;
    for (const auto &entry : m_progs) {
        const Prog &p = *entry.second;
        if (p.out.empty())
            continue;
        const qint64 at = qMax(p.holdUntil, p.nextSend);
        if (first < 0 || at < first)
            first = at;
    }
    if (first < 0)
        return;
    const int wait = int(qMax<qint64>(0, first - Now()));
    if (!m_sendTimer.isActive() || m_sendTimer.remainingTime() > wait)
        m_sendTimer.start(wait);
}

void CStationUsb::OnSendTick()
{
    const qint64 now = Now();
    for (const auto &entry : m_progs) {
        Prog &p = *entry.second;
        if (p.out.empty() || p.holdUntil > now || p.nextSend > now)
            continue;
        QByteArray frame = p.out.front();
        p.out.pop_front();
        p.nextSend = now + kSendGapMs;
        bool ok = false;
        if (p.m_nType == CUsbDev::KindHid) {
            CReportPipe *hid = CReportPipe::Instance();
            ok = hid && hid->SendData(reinterpret_cast<unsigned char *>(frame.data()), quint16(frame.size()), p.Key());
        } else if (p.link) {
            ok = p.link->Send(frame, p.m_strPort);
        }
        if (!ok)
            qDebug() << "CStationUsb: frame not sent to" << p.Key();
    }
    ArmSend();
}

void CStationUsb::CheckTimeouts()
{
    const qint64 now = Now();
    for (const auto &entry : m_progs) {
        Prog &p = *entry.second;
        if (!Busy(p) && p.pendingPath.isEmpty())
            continue;
        if (now - p.lastHeard < m_nTimeoutMs)
            continue;
        QString name = !p.delivering.isEmpty() ? p.delivering : p.m_push.m_strName;
        if (name.isEmpty() && !p.pendingPath.isEmpty())
            name = QFileInfo(p.pendingPath).fileName();
        p.delivering.clear();
        p.pendingPath.clear();
        qDebug().noquote() << QStringLiteral("wait timeout for no:%1").arg(p.m_nSlot);
        p.m_push.Clear();
        p.m_pull.Clear();
        p.m_nImageNo = -1;
        p.out.clear();
        Log(tr("通信超时, 请重试"));
        if (!name.isEmpty())
            emit sigFileResult(entry.first, name, false);
    }
}

// ---------------------------------------------------------------- handler hooks

void CStationUsb::Log(const QString &text)
{
    emit sigLog(text);
}

void CStationUsb::OnProgFile(CUsbDev &dev, const QString &localPath)
{
    Q_UNUSED(localPath)
    auto &prog = static_cast<Prog &>(dev);
    prog.info = BurnHub::Instance()->GetUSBProgInfo(dev.FolderId());
    if (prog.m_nType == CUsbDev::KindHid)
        prog.info.MarkHIDProger(prog.info.m_strID);
    else
        prog.info.MarkVCPProger(prog.info.m_strID, prog.m_strPort);
    prog.identified = true;
    Log(prog.m_nType == CUsbDev::KindHid ? tr("USB-HID下载器建立连接, 正在初始化...")
                                         : tr("USB-VCP下载器建立连接， 正在初始化..."));
    emit sigIdentified(dev.Key());
}
