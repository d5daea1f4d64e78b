#include "cusbconsole.h"

#include "cusbframe.h"
#include "cusbserialno.h"
#include "usblog.h"

#include <burnhub.h>
#include <creportpipe.h>
#include <functool.h>

#include <QDebug>
#include <QDir>
#include <QFile>

#include <algorithm>

namespace {
const QString kModelA = QStringLiteral("QEL720A");
const QString kModelC = QStringLiteral("QEL720C");
} // namespace

CUsbConsole::CUsbConsole(QObject *parent) : QObject(parent)
{
    m_strWorkDir = FuncTool::GetQELDir() + QStringLiteral("qel720A_server/");
    for (int i = 0; i < kSlots; ++i)
        ResetTile(i);
    LoadRecord();
    m_clock.start();
    // Both timers run only while there is work: frames to handle, frames due.
    m_recvTimer.setSingleShot(true);
    m_sendTimer.setSingleShot(true);
    m_sendTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_recvTimer, &QTimer::timeout, this, &CUsbConsole::OnRecvTick);
    connect(&m_sendTimer, &QTimer::timeout, this, &CUsbConsole::OnSendTick);
}

CUsbConsole::~CUsbConsole()
{
    m_recvTimer.stop();
    m_sendTimer.stop();
}

void CUsbConsole::SetWorkDir(const QString &dir)
{
    m_strWorkDir = dir;
    if (!m_strWorkDir.isEmpty() && !m_strWorkDir.endsWith(QLatin1Char('/')))
        m_strWorkDir += QLatin1Char('/');
}

QString CUsbConsole::LogFilePath() const
{
    return m_strWorkDir + QStringLiteral("log/ctrlLog.dat");
}

QString CUsbConsole::IconPath(int icon)
{
    switch (icon) {
    case IconNormal: return QStringLiteral(":/images/chip_normal.png");
    case IconBusy: return QStringLiteral(":/images/chip_busy.png");
    case IconPass: return QStringLiteral(":/images/chip_pass.png");
    case IconFail: return QStringLiteral(":/images/chip_fail.png");
    default: return QStringLiteral(":/images/chip_disable.png");
    }
}

// ---------------------------------------------------------------- slots and tiles

QString CUsbConsole::TileLabel(int slot, const Tile &tile)
{
    return tile.bActive ? tr("烧录器-%1").arg(slot) : tr("未启用~");
}

QString CUsbConsole::TileTip(const Tile &tile)
{
    if (!tile.bActive || IconPath(tile.nIcon) == IconPath(IconDisable))
        return QString();
    return tr("烧录器(%1*%2)").arg(tile.strName.mid(2, 2), tile.strName.right(2));
}

QString CUsbConsole::AttrText(const QList<CUsbImageAttr> &attrs)
{
    QStringList lines;
    for (const CUsbImageAttr &a : attrs)
        lines << QStringLiteral("%1=%2-%3").arg(a.m_strName, QString::number(a.m_nA), QString::number(a.m_nB));
    return lines.join(QLatin1Char('\n'));
}

CUsbConsole::USBProg *CUsbConsole::At(int slot) const
{
    return slot >= 0 && slot < kSlots ? m_slots[size_t(slot)].get() : nullptr;
}

int CUsbConsole::SlotOf(const CUsbDev *prog) const
{
    for (int i = 0; i < kSlots; ++i)
        if (prog && m_slots[size_t(i)].get() == prog)
            return i;
    return -1;
}

int CUsbConsole::Count() const
{
    int n = 0;
    for (const auto &p : m_slots)
        n += p ? 1 : 0;
    return n;
}

QStringList CUsbConsole::Keys() const
{
    QStringList keys;
    for (const auto &p : m_slots)
        if (p)
            keys << p->Key();
    return keys;
}

CUsbConsole::USBProg *CUsbConsole::Find(const QString &key) const
{
    if (key.isEmpty())
        return nullptr;
    for (const auto &p : m_slots)
        if (p && p->Key() == key)
            return p.get();
    return nullptr;
}

int CUsbConsole::FreeSlot() const
{
    for (int i = 0; i < kSlots; ++i)
        if (!m_slots[size_t(i)])
            return i;
    return -1;
}

void CUsbConsole::SetExecute(int slot, bool on)
{
    if (slot < 0 || slot >= kSlots || m_tiles[size_t(slot)].bExecute == on)
        return;
    m_tiles[size_t(slot)].bExecute = on;
    emit sigTileChanged(slot);
}

void CUsbConsole::SetIcon(int slot, int icon)
{
    if (slot < 0 || slot >= kSlots)
        return;
    m_tiles[size_t(slot)].nIcon = icon;
    emit sigTileChanged(slot);
}

void CUsbConsole::ResetTile(int slot)
{
    Tile &t = m_tiles[size_t(slot)];
    const bool execute = t.bExecute;
    t = Tile();
    t.bExecute = execute;
    emit sigTileChanged(slot);
}

void CUsbConsole::Place(int slot, std::unique_ptr<USBProg> prog)
{
    prog->m_nSlot = slot;
    m_slots[size_t(slot)] = std::move(prog);
    // A new programmer is initialised through its slot, whatever the box of the one before said.
    m_tiles[size_t(slot)].bExecute = true;
    emit sigTileChanged(slot);
}

// ---------------------------------------------------------------- arrival and removal

bool CUsbConsole::AddHidProgs(const QList<CHidInfo> &devices)
{
    QList<CHidInfo> fresh;
    for (const CHidInfo &info : devices) {
        const bool known = Find(info.m_strPath) != nullptr
            || std::any_of(fresh.cbegin(), fresh.cend(), [&](const CHidInfo &f) { return f.m_strPath == info.m_strPath; });
        if (!info.m_strPath.isEmpty() && !known)
            fresh << info;
    }
    if (fresh.isEmpty())
        return true;
    if (Count() + fresh.size() > kSlots) {
        LogFailure(tr("达到最多支持设备数, 连接设备失败!"));
        return false;
    }
    QList<USBProg *> added;
    for (const CHidInfo &info : qAsConst(fresh)) {
        auto prog = std::make_unique<USBProg>(CUsbDev::KindHid, info.m_strPath, info.m_strSerial);
        added << prog.get();
        Place(FreeSlot(), std::move(prog));
    }
    for (USBProg *prog : qAsConst(added)) {
        if (!prog->m_bInit)
            QueueInitPulls(*prog);
    }
    return true;
}

bool CUsbConsole::AddVcpProg(const QString &port)
{
    if (port.isEmpty() || Find(port))
        return false;
    if (Count() >= kSlots) {
        LogFailure(tr("达到最多支持设备数, 连接设备失败!"));
        return false;
    }
    const int slot = FreeSlot();
    Place(slot, std::make_unique<USBProg>(CUsbDev::KindVcp, port));
    USBProg *prog = At(slot);
    CUsbSerialLink *link = prog->Link([this](const QString &key) { OnLinkLost(key); });
    if (!link->Open(port)) {
        // A port that does not open holds no programmer; its tile stays free.
        LogFailure(tr("%1 串口打开失败").arg(port));
        RemoveProg(port);
        return false;
    }
    RequestUid(*prog);
    return true;
}

void CUsbConsole::OnLinkLost(const QString &key)
{
    // Not from inside the link's own call: its owner is about to be destroyed.
    QTimer::singleShot(0, this, [this, key]() {
        if (Find(key))
            emit sigProgerLost(key);
    });
}

bool CUsbConsole::RemoveProg(const QString &key)
{
    USBProg *prog = Find(key);
    if (!prog)
        return false;
    const int slot = prog->m_nSlot;
    qCDebug(lcUsbControl) << "RemoveUSBProg" << key;
    // Whoever waits for the file must learn that it will not come.
    const QString cut = prog->m_push.IsActive() ? prog->m_push.m_strName : prog->m_pull.m_strPath;
    if (!cut.isEmpty()) {
        const QString line = tr("烧录器-%1(%2) 已断开, 文件%3传输中断").arg(QString::number(slot), key, cut);
        LogFailure(line);
        emit sigMainLog(line);
    }
    // Frames still queued for it have nowhere to go.
    auto gone = [prog](const Queued &q) { return q.prog == prog; };
    m_recv.erase(std::remove_if(m_recv.begin(), m_recv.end(), gone), m_recv.end());
    std::unique_ptr<USBProg> record = std::move(m_slots[size_t(slot)]);
    record->CloseLink();
    record->m_nSlot = -1;
    ResetTile(slot);
    if (m_bRecvBusy)
        m_removed.push_back(std::move(record));
    emit sigProgerRemoved(key);
    return true;
}

void CUsbConsole::Reap()
{
    if (!m_bRecvBusy)
        m_removed.clear();
}

void CUsbConsole::ClosePort(const QString &key)
{
    if (USBProg *prog = Find(key))
        prog->CloseLink();
}

// ---------------------------------------------------------------- queues

void CUsbConsole::RecvFrame(const QByteArray &frame, const QString &key)
{
    USBProg *prog = Find(key);
    if (!prog)
        return;
    m_recv.append({frame, prog, Now()});
    if (!m_recvTimer.isActive())
        m_recvTimer.start(0);
}

void CUsbConsole::OnRecvTick()
{
    if (m_bRecvBusy)
        return;
    // Every frame in: one tick per frame would let eight programmers wait for each other.
    m_bRecvBusy = true;
    while (!m_recv.isEmpty()) {
        const Queued item = m_recv.takeFirst();
        m_nHandledAt = item.nArrived;
        Receive(*item.prog, item.frame);
    }
    m_nHandledAt = -1;
    m_bRecvBusy = false;
    Reap();
}

void CUsbConsole::Pause(CUsbDev &dev, int ms)
{
    auto &prog = static_cast<USBProg &>(dev);
    const qint64 from = m_nHandledAt >= 0 ? m_nHandledAt : Now();
    prog.m_nHoldUntil = qMax(prog.m_nHoldUntil, from + qint64(ms) * 1000);
}

void CUsbConsole::Enqueue(USBProg &prog, const QByteArray &frame)
{
    prog.m_out.push_back({frame, qMax(prog.m_nHoldUntil, Now())});
    ArmSend();
}

int CUsbConsole::PendingSend() const
{
    int n = 0;
    for (const auto &p : m_slots)
        n += p ? int(p->m_out.size()) : 0;
    return n;
}

void CUsbConsole::ArmSend()
{
    qint64 first = -1;
    for (const auto &p : m_slots) {
        if (!p || p->m_out.empty())
            continue;
        const qint64 at = qMax(p->m_out.front().nDue, p->m_nNextSend);
        if (first < 0 || at < first)
            first = at;
    }
    if (first < 0) {
        m_sendTimer.stop();
        return;
    }
    // Whole milliseconds, rounded down; the tick sends nothing before its time
    // and comes again for the rest of a millisecond.
    const qint64 wait = qMax<qint64>(0, (first - Now()) / 1000);
    if (!m_sendTimer.isActive() || m_sendTimer.remainingTime() > wait)
        m_sendTimer.start(int(wait));
}

void CUsbConsole::OnSendTick()
{
    const qint64 now = Now();
    for (const auto &p : m_slots) {
        if (!p || p->m_out.empty())
            continue;
        if (p->m_out.front().nDue > now || p->m_nNextSend > now)
            continue;
        const QByteArray frame = p->m_out.front().frame;
        p->m_out.pop_front();
        p->m_nNextSend = now + qint64(kSendTickMs) * 1000;
        Transmit(*p, frame);
    }
    ArmSend();
}

void CUsbConsole::Transmit(USBProg &prog, const QByteArray &frame)
{
    QByteArray bytes = frame;
    bool ok = false;
    if (prog.m_nType == CUsbDev::KindHid) {
        CReportPipe *hid = CReportPipe::Instance();
        ok = hid && hid->SendData(reinterpret_cast<unsigned char *>(bytes.data()), quint16(bytes.size()), prog.Key());
    } else if (CUsbSerialLink *link = prog.LinkIfOpen()) {
        ok = link->Send(bytes, prog.m_strPort);
    }
    if (!ok)
        qCDebug(lcUsbControl) << "数据传输失败" << prog.Key();
    if (m_bShowBuf)
        Log(CUsbFrame::RawText(frame, false));
}

void CUsbConsole::Broadcast(const QByteArray &frame)
{
    if (frame.isEmpty())
        return;
    for (int i = 0; i < kSlots; ++i) {
        if (m_slots[size_t(i)] && m_tiles[size_t(i)].bExecute)
            Enqueue(*m_slots[size_t(i)], frame);
    }
}

void CUsbConsole::SendBuf(const QByteArray &frame, USBProg *prog)
{
    const int slot = SlotOf(prog);
    if (slot < 0) {
        qCDebug(lcUsbControl) << "usbcontroldlg::SendBuf not match this prog";
        return;
    }
    if (!frame.isEmpty() && m_tiles[size_t(slot)].bExecute)
        Enqueue(*prog, frame);
}

// ---------------------------------------------------------------- codec hooks

void CUsbConsole::SendFrame(CUsbDev &dev, const QByteArray &frame)
{
    SendBuf(frame, static_cast<USBProg *>(&dev));
}

void CUsbConsole::Log(const QString &text)
{
    emit sigLog(text, false);
}

void CUsbConsole::LogFailure(const QString &text)
{
    emit sigLog(text, true);
}

int CUsbConsole::ImageNumber() const
{
    bool ok = false;
    const int n = m_strImageNo.trimmed().toInt(&ok, 10);
    return ok ? n : -1;
}

void CUsbConsole::ShowFrame(const QByteArray &frame, bool received)
{
    if (m_bShowBuf)
        Log(CUsbFrame::RawText(frame, received));
}

void CUsbConsole::CurrentImage(QString &name, QString &crc) const
{
    name = m_strImageName;
    crc = m_strImageCrc;
}

void CUsbConsole::Dispatch(CUsbDev &dev, const QByteArray &frame)
{
    const QString key = dev.Key();
    const CUsbFileVerdict verdict = CUsbFileVerdict::Read(dev, frame);
    const QString pushed = dev.m_push.m_strName;
    UsbFrameNo asked;
    const bool progress = CUsbFrame::Command(frame) == UsbCmd::FT_REQ_CMD && !pushed.isEmpty() && asked.Parse(frame);
    CUsbHostHandler::Dispatch(dev, frame);
    if (progress)
        emit sigFileProgress(key, pushed, dev.m_push.Percent(asked.frame));
    // After the handler: an image's verification has queued its index by now.
    if (verdict.kind != CUsbFileVerdict::None)
        emit sigFileResult(key, verdict.strName, verdict.bOk);
}

void CUsbConsole::OnProgFile(CUsbDev &dev, const QString &localPath)
{
    const ProgerInfo info = BurnHub::Instance()->GetUSBProgInfo(dev.FolderId());
    qCDebug(lcUsbControl) << "CUsbConsole::OnProgFile" << localPath << info.m_strModel;
    if (info.m_strModel != kModelA && info.m_strModel != kModelC)
        return;
    const bool hid = dev.m_nType == CUsbDev::KindHid;
    Log(hid ? tr("USB-HID下载器建立连接, 正在初始化...") : tr("USB-VCP下载器建立连接， 正在初始化..."));
    emit sigProgerIdentified(dev.Key(), hid, info);
}

void CUsbConsole::OnPullDone(CUsbDev &dev, const QString &path, const QString &localPath, quint32 size, bool ok)
{
    emit sigPullDone(dev.Key(), path, localPath, size, ok);
}

void CUsbConsole::OnFlashData(CUsbDev &dev, const QString &localPath)
{
    emit sigFlashData(dev.Key(), localPath);
}

void CUsbConsole::OnSignalFile(CUsbDev &dev, const QString &localPath)
{
    emit sigSignalFile(dev.Key(), localPath);
}

void CUsbConsole::OnImageAttr(CUsbDev &dev, const QList<CUsbImageAttr> &attrs)
{
    const int slot = SlotOf(&dev);
    if (slot < 0)
        return;
    Tile &t = m_tiles[size_t(slot)];
    t.bActive = true;
    t.bExecute = true;
    t.nIcon = IconNormal;
    t.strName = dev.m_strName;
    t.attrs = attrs;
    for (const CUsbImageAttr &a : attrs)
        Log(tr("烧录器-%1 镜像属性: %2").arg(QString::number(slot), AttrText({a})));
    emit sigTileChanged(slot);
}

void CUsbConsole::OnSyncCounters(CUsbDev &dev, quint32 pass, quint32 fail)
{
    const int slot = SlotOf(&dev);
    if (slot < 0)
        return;
    Tile &t = m_tiles[size_t(slot)];
    t.nPass = pass;
    t.nFail = fail;
    t.strName = dev.m_strName;
    emit sigTileChanged(slot);
    // The record keeps the programmer's own counts; the session totals count
    // only what this console saw, so a programmer plugged in again lowers none.
    m_record.SetCounters(dev.FolderId(), pass, fail);
}

void CUsbConsole::OnStartAnswer(CUsbDev &dev, bool started)
{
    SetIcon(SlotOf(&dev), started ? IconBusy : IconFail);
}

void CUsbConsole::OnResult(CUsbDev &dev, const UsbResult &result)
{
    const int slot = SlotOf(&dev);
    if (slot < 0)
        return;
    Tile &t = m_tiles[size_t(slot)];
    if (result.IsPass()) {
        SetIcon(slot, IconPass);
        ++m_nPassCnt;
        ++t.nPass;
    } else {
        if (!m_bBeeped) {
            m_bBeeped = true;
            emit sigBeep();
        }
        SetIcon(slot, IconFail);
        ++m_nFailCnt;
        ++t.nFail;
    }
    ++m_nTotalCnt;
    emit sigTileChanged(slot);
    emit sigCountersChanged();
    if (result.IsPass() && m_bRecordSN)
        CheckAndSendSN(*At(slot));
}

// ---------------------------------------------------------------- commands

void CUsbConsole::StartSignal(bool multi, USBProg *prog)
{
    if (!HasProg()) {
        Log(tr("当前无设备连接！"));
        return;
    }
    m_bBeeped = false;
    QByteArray frame;
    if (m_bSwitch2Down) {
        const int image = ImageNumber();
        if (image < 0 || image > UsbCmd::kMaxImageNo) {
            Log(tr("仅支持镜像号范围:0~149!"));
            return;
        }
        UsbByte start;
        start.cmd = UsbCmd::START_IMAGE_CMD;
        start.value = quint8(image);
        frame = start.Frame();
    } else {
        frame = CUsbFrame::Make(UsbCmd::START_CMD);
    }
    if (multi || !prog)
        Broadcast(frame);
    else
        SendBuf(frame, prog);
}

void CUsbConsole::SwitchPage(int page)
{
    if (!HasProg()) {
        Log(tr("已连接设备不存在!"));
        return;
    }
    UsbByte sw;
    sw.cmd = UsbCmd::SWITCH_PAGE_CMD;
    sw.value = quint8(qBound(0, page, 255));
    Broadcast(sw.Frame());
}

bool CUsbConsole::SwitchImage(const QString &text, bool)
{
    bool ok = false;
    const int image = text.trimmed().toInt(&ok, 10);
    if (!ok || image < 0 || image > UsbCmd::kMaxImageNo) {
        Log(tr("仅支持镜像号范围:0~149!"));
        return false;
    }
    Log(tr("切换镜像号: %1").arg(image));
    UsbByte sw;
    sw.cmd = UsbCmd::SWITCH_IMAGE_CMD;
    sw.value = quint8(image);
    Broadcast(sw.Frame());
    return true;
}

void CUsbConsole::CheckCnt()
{
    Broadcast(CUsbFrame::Make(UsbCmd::CHECK_CNT_CMD));
}

void CUsbConsole::ReadImageNo()
{
    m_bBeeped = false;
    if (!HasProg()) {
        Log(tr("当前无设备连接！"));
        return;
    }
    UsbByte ex;
    ex.cmd = UsbCmd::EX_CMD;
    ex.value = UsbCmd::EX_IMAGE_NO;
    Broadcast(ex.Frame());
}

void CUsbConsole::ReadFlashData(int addr, int len)
{
    for (const auto &p : m_slots) {
        if (!p)
            continue;
        UsbReadMcu read;
        read.addr = quint32(addr);
        read.count = quint32(len);
        SendBuf(read.Frame(), p.get());
        return;
    }
    Log(tr("当前连接设备为空!"));
}

bool CUsbConsole::CheckAndSendSN(USBProg &prog)
{
    quint32 addr = 0;
    if (m_strSNAddr.trimmed().isEmpty() || !CUsbSerialNo::ParseAddress(m_strSNAddr, addr)) {
        emit sigWarn(tr("提示"), tr("请输入写入地址！"));
        return false;
    }
    const QByteArray sn = CUsbSerialNo::GenerateSN(QDate::currentDate(), m_nPassCnt);
    QStringList lines;
    const QByteArray frame = CUsbSerialNo::BuildFrame(prog.m_nSlot, addr, sn, lines);
    for (const QString &line : qAsConst(lines))
        Log(line);
    SendBuf(frame, &prog);
    return !frame.isEmpty();
}

bool CUsbConsole::MergeBins(QString &path, quint32 &base)
{
    CUsbMergeImage merge;
    QString err;
    if (!merge.Load(m_strBin[0], m_strBin[1], m_strBin[2], err)) {
        LogFailure(err);
        return false;
    }
    QByteArray image;
    const CUsbMergeImage::Result r = merge.Merge(image, err);
    if (r != CUsbMergeImage::MergeOk) {
        emit sigWarn(tr("错误！"), err);
        return false;
    }
    QDir().mkpath(m_strWorkDir);
    path = m_strWorkDir + QStringLiteral("xc_merge.bin");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(image) != image.size()) {
        LogFailure(tr("文件写入失败!") + QLatin1Char(' ') + path);
        return false;
    }
    file.close();
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    base = merge.Base();
    return true;
}

// Keys of the programmers whose tiles are ticked; logs when there are none.
QStringList CUsbConsole::TickedKeys()
{
    QStringList keys;
    for (int i = 0; i < kSlots; ++i)
        if (m_slots[size_t(i)] && m_tiles[size_t(i)].bExecute)
            keys << m_slots[size_t(i)]->Key();
    if (keys.isEmpty())
        Log(tr("当前设备未选择!"));
    return keys;
}

void CUsbConsole::DownImage()
{
    const QStringList keys = TickedKeys();
    if (keys.isEmpty())
        return;
    QString path;
    quint32 base = 0;
    if (m_bCustom && !MergeBins(path, base))
        return;
    emit sigDownImage(keys, path, base);
}

void CUsbConsole::DownConfig()
{
    const QStringList keys = TickedKeys();
    if (!keys.isEmpty())
        emit sigDownConfig(keys);
}

// ---------------------------------------------------------------- files

bool CUsbConsole::SendFileToProger(const QString &key, const QString &localPath, int imageNo)
{
    USBProg *prog = Find(key);
    if (!prog) {
        LogFailure(tr("设备不匹配!"));
        return false;
    }
    if (!DownloadFile(*prog, localPath))
        return false;
    prog->m_nImageNo = imageNo;
    // The field shows the number the programmers are switched to.
    if (imageNo >= 0 && ImageNumber() != imageNo) {
        m_strImageNo = QString::number(imageNo);
        emit sigImageNoChanged(m_strImageNo);
    }
    return true;
}

bool CUsbConsole::PullProgFiles(const QString &key, const QStringList &paths)
{
    USBProg *prog = Find(key);
    if (!prog || !prog->m_bInit || prog->m_pull.IsActive() || paths.isEmpty())
        return false;
    prog->m_pull.m_queue = paths.mid(1);
    PullFile(*prog, paths.first());
    return true;
}

bool CUsbConsole::DeleteProgFile(const QString &key, const QString &name)
{
    USBProg *prog = Find(key);
    if (!prog) {
        Log(tr("设备不匹配!"));
        return false;
    }
    UsbFileName del;
    del.cmd = UsbCmd::DEL_FILE_CMD;
    del.name = name;
    const QByteArray frame = del.Frame();
    SendBuf(frame, prog);
    return !frame.isEmpty();
}

// ---------------------------------------------------------------- record file

void CUsbConsole::LoadRecord()
{
    const CUsbRecordFile::Config c = m_record.LoadConfig();
    m_nPage = c.nPage;
    m_strImageNo = QString::number(c.nImageNo);
    for (int i = 0; i < 3; ++i)
        m_strBin[i] = c.strBin[i];
    m_strImageName = c.strImageName;
    m_strImageCrc = c.strImageCrc;
    m_nPassCnt = m_record.PassAll();
    m_nFailCnt = m_record.FailAll();
    m_nTotalCnt = m_nPassCnt + m_nFailCnt;
    emit sigCountersChanged();
}

void CUsbConsole::SaveRecord()
{
    CUsbRecordFile::Config c;
    c.nPage = m_nPage;
    c.nImageNo = ImageNumber() < 0 ? 0 : ImageNumber();
    for (int i = 0; i < 3; ++i)
        c.strBin[i] = m_strBin[i];
    c.strImageName = m_strImageName;
    c.strImageCrc = m_strImageCrc;
    m_record.SaveConfig(c);
    for (int i = 0; i < kSlots; ++i) {
        const USBProg *prog = m_slots[size_t(i)].get();
        // Counts only mean something once the programmer has told its own.
        if (prog && prog->m_bSync)
            m_record.SetCounters(prog->FolderId(), m_tiles[size_t(i)].nPass, m_tiles[size_t(i)].nFail);
    }
    m_record.RecomputeAll();
}

bool CUsbConsole::AppendLogFile(const QString &path, const QString &text, const QDateTime &time, bool autoSave)
{
    FuncTool::CheckFileDir(path);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return false;
    const QString block = QStringLiteral("\n\n") + time.toString(QStringLiteral("[yyyy-MM-dd hh:mm:ss.zzz]"))
        + (autoSave ? tr("     自动保存") : tr("     手动保存")) + QStringLiteral("\n [Content] \n") + text;
    const QByteArray bytes = block.toUtf8();
    return file.write(bytes) == bytes.size();
}
