#include "cusbhosthandler.h"

#include "cusbdev.h"
#include "cusbfileframes.h"
#include "cusbframe.h"

#include <burnhub.h>
#include <csafefile.h>
#include <functool.h>

#include "usblog.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

namespace {
const QString kSysFile = QStringLiteral("sys/qelprogrammer.dat");
const QString kImageIndex = QStringLiteral("config/image.dat");
const QString kParamFile = QStringLiteral("config/param.ini");
const QString kSignalFile = QStringLiteral("config/signal.ini");
const QString kImageAttr = QStringLiteral("config/image_attr.dat");
const QString kFlashFile = QStringLiteral("read_flash_bin");

QString hex(quint32 value) { return QString::number(value, 16).toUpper(); }
} // namespace

CUsbHostHandler::~CUsbHostHandler() = default;

const QVector<CUsbHostHandler::Row> &CUsbHostHandler::Table()
{
    using namespace UsbCmd;
    static const QVector<Row> table = {
        {REQ_PROG_UID, &CUsbHostHandler::HandleUid},
        {START_CMD, &CUsbHostHandler::HandleStart},
        {RESULT_CMD, &CUsbHostHandler::HandleResult},
        {SWITCH_PAGE_CMD, &CUsbHostHandler::HandleAck},
        {SWITCH_IMAGE_CMD, &CUsbHostHandler::HandleAck},
        {SYNC_INIT_CMD, &CUsbHostHandler::HandleSync},
        {REFRESH_IMAGE_CMD, &CUsbHostHandler::HandleRefresh},
        {READ_MCU_CMD, &CUsbHostHandler::HandleReadMcu},
        {REPORT_CONTENT_CMD, &CUsbHostHandler::HandleReport},
        {START_IMAGE_CMD, &CUsbHostHandler::HandleAck},
        {PROG_SPEC_DATA_CMD, &CUsbHostHandler::HandleSpecData},
        {EX_CMD, &CUsbHostHandler::HandleEx},
        {ERR_FRMCRC, nullptr},
        {FT_ATTR_CMD, &CUsbHostHandler::HandleFileAttrAnswer},
        {FT_REQ_CMD, &CUsbHostHandler::HandleFileReq},
        {FT_RES_CMD, &CUsbHostHandler::HandleFileRes},
        {DEL_FILE_CMD, &CUsbHostHandler::HandleAck},
        {REQ_FILE_ATTR, &CUsbHostHandler::HandleReqFileAttr},
        {REQ_FILE_DATA, &CUsbHostHandler::HandleReqFileData},
    };
    return table;
}

const QStringList &CUsbHostHandler::InitPulls()
{
    static const QStringList pulls = {kSysFile, kImageIndex, kParamFile};
    return pulls;
}

void CUsbHostHandler::Receive(CUsbDev &dev, const QByteArray &frame)
{
    switch (CUsbFrame::Verify(frame)) {
    case CUsbFrame::FrameTooShort:
        qCDebug(lcUsbControl) << "CUsbHostHandler::Receive: block too short for a frame" << frame.toHex(' ');
        return;
    case CUsbFrame::FrameBadCrc:
        ShowFrame(frame, true);
        return;
    case CUsbFrame::FrameOk:
        break;
    }
    qCDebug(lcUsbControl).noquote() << QStringLiteral("接收：") + CUsbFrame::HexText(frame);
    ShowFrame(frame, true);
    if (CUsbFrame::Command(frame) == UsbCmd::ERR_FRMCRC) {
        Log(tr("%1 检测到帧CRC错误").arg(dev.Key()));
        return;
    }
    Dispatch(dev, frame);
}

void CUsbHostHandler::Dispatch(CUsbDev &dev, const QByteArray &frame)
{
    const quint8 code = CUsbFrame::Command(frame);
    for (const Row &row : Table()) {
        if (row.code != code)
            continue;
        if (row.handler)
            (this->*row.handler)(dev, frame);
        return;
    }
    Log(tr("%1 收到不支持指令： 0x%2").arg(dev.Key(), hex(code)));
}

void CUsbHostHandler::Pause(CUsbDev &, int) {}

void CUsbHostHandler::LogFailure(const QString &text) { Log(text); }

void CUsbHostHandler::ShowFrame(const QByteArray &, bool) {}

CUsbFileVerdict CUsbFileVerdict::Read(const CUsbDev &dev, const QByteArray &frame)
{
    CUsbFileVerdict verdict;
    const quint8 code = CUsbFrame::Command(frame);
    UsbFileResult res;
    UsbByte answer;
    if (code == UsbCmd::FT_RES_CMD && res.Parse(frame)) {
        verdict.kind = Verified;
        verdict.strName = res.name;
        verdict.bOk = res.status == 0;
    } else if (code == UsbCmd::FT_ATTR_CMD && answer.Parse(frame) && answer.value != 0) {
        verdict.kind = Refused;
        verdict.strName = dev.m_push.m_strName;
    }
    return verdict;
}

QString CUsbHostHandler::MirrorPath(CUsbDev &dev, const QString &name)
{
    const QString id = dev.FolderId();
    // Before a VCP programmer has told its UID it has no folder.
    if (id.isEmpty())
        return QString();
    return BurnHub::Instance()->GetUSBProgFilePath(id, name);
}

QString CUsbHostHandler::MirrorRoot(CUsbDev &dev)
{
    const QString root = MirrorPath(dev, QString());
    if (!root.isEmpty())
        QDir().mkpath(root);
    return root;
}

void CUsbHostHandler::CurrentImage(QString &name, QString &crc) const
{
    name.clear();
    crc.clear();
}

void CUsbHostHandler::OnUid(CUsbDev &, const QString &) {}
void CUsbHostHandler::OnPullDone(CUsbDev &, const QString &, const QString &, quint32, bool) {}
void CUsbHostHandler::OnProgFile(CUsbDev &, const QString &) {}
void CUsbHostHandler::OnFlashData(CUsbDev &, const QString &) {}
void CUsbHostHandler::OnSignalFile(CUsbDev &, const QString &) {}
void CUsbHostHandler::OnImageAttr(CUsbDev &, const QList<CUsbImageAttr> &) {}
void CUsbHostHandler::OnSyncCounters(CUsbDev &, quint32, quint32) {}
void CUsbHostHandler::OnStartAnswer(CUsbDev &, bool) {}
void CUsbHostHandler::OnResult(CUsbDev &, const UsbResult &) {}
void CUsbHostHandler::OnSpecDataResult(CUsbDev &, const UsbResult &) {}

void CUsbHostHandler::Send(CUsbDev &dev, const QByteArray &frame)
{
    if (frame.isEmpty())
        return;
    SendFrame(dev, frame);
}

void CUsbHostHandler::LogMalformed(CUsbDev &dev, const QByteArray &frame)
{
    Log(tr("%1 收到长度错误的指令: 0x%2").arg(dev.Key(), hex(CUsbFrame::Command(frame))));
}

// ---- initialisation and pulls

void CUsbHostHandler::RequestUid(CUsbDev &dev) { Send(dev, CUsbFrame::Make(UsbCmd::REQ_PROG_UID)); }

void CUsbHostHandler::QueueInitPulls(CUsbDev &dev)
{
    dev.m_pull.m_queue = InitPulls();
    PullFile(dev, dev.m_pull.m_queue.takeFirst());
}

void CUsbHostHandler::PullNext(CUsbDev &dev)
{
    Pause(dev, 20);
    // A download under way keeps its frames: the programmer may still ask for them.
    dev.m_pull.Clear();
    if (!dev.m_pull.m_queue.isEmpty()) {
        PullFile(dev, dev.m_pull.m_queue.takeFirst());
        return;
    }
    if (!dev.m_bSync) {
        UsbSyncInit sync;
        sync.text = UsbSyncInit::TimeText(QDateTime::currentDateTime());
        Send(dev, sync.Frame());
    }
}

void CUsbHostHandler::AbortPull(CUsbDev &dev, const QString &line)
{
    LogFailure(line);
    const QString path = dev.m_pull.m_strPath;
    // Without its image attributes a programmer is still one to work with.
    if (path == kImageAttr) {
        EndImageAttr(dev, {});
        dev.m_pull.Clear();
    } else {
        PullNext(dev);
    }
    // Told once the pull is over, so whoever hears it may pull again.
    OnPullDone(dev, path, QString(), 0, false);
}

void CUsbHostHandler::PullFile(CUsbDev &dev, const QString &path)
{
    UsbFileName req;
    req.cmd = UsbCmd::REQ_FILE_ATTR;
    req.name = path;
    const QByteArray frame = req.Frame();
    dev.m_pull.Begin(path);
    if (frame.isEmpty()) {
        AbortPull(dev, tr("%1 请求下位机文件：%2 失败").arg(dev.Key(), path));
        return;
    }
    Send(dev, frame);
}

void CUsbHostHandler::HandleUid(CUsbDev &dev, const QByteArray &frame)
{
    UsbUid uid;
    if (!uid.Parse(frame)) {
        LogMalformed(dev, frame);
        return;
    }
    const QString text = uid.Text();
    if (!dev.m_bInit && dev.m_nType == CUsbDev::KindVcp) {
        dev.m_strName = text;
        OnUid(dev, text);
        QueueInitPulls(dev);
    }
}

void CUsbHostHandler::HandleReqFileAttr(CUsbDev &dev, const QByteArray &frame)
{
    UsbFileInfo info;
    if (!info.Parse(frame)) {
        LogMalformed(dev, frame);
        return;
    }
    CUsbPull &pull = dev.m_pull;
    if (!pull.IsActive()) {
        qCDebug(lcUsbControl) << "CUsbHostHandler: file attributes without a pull from" << dev.Key();
        return;
    }
    if (info.status != 0) {
        AbortPull(dev, tr("%1 请求下位机文件：%2 失败").arg(dev.Key(), pull.m_strPath));
        return;
    }
    pull.SetInfo(info.size, info.frames);
    if (pull.m_nFrames == 0) {
        // Nothing to ask for: the mirror becomes an empty file.
        WriteMirror(dev, 0, QByteArray());
        FinishPull(dev);
        return;
    }
    Pause(dev, 5);
    UsbFrameNo req;
    req.cmd = UsbCmd::REQ_FILE_DATA;
    req.frame = 0;
    Send(dev, req.Frame());
}

void CUsbHostHandler::HandleReqFileData(CUsbDev &dev, const QByteArray &frame)
{
    UsbFileData answer;
    CUsbPull &pull = dev.m_pull;
    QByteArray data;
    const bool parsed = answer.Parse(frame);
    if (!parsed)
        LogMalformed(dev, frame);
    CUsbPull::Take take = CUsbPull::TakeIdle;
    if (pull.IsActive())
        take = parsed ? pull.Accept(answer, data) : CUsbPull::TakeShort;
    if (take == CUsbPull::TakeIdle) {
        qCDebug(lcUsbControl) << "CUsbHostHandler: file frame without a pull from" << dev.Key();
        return;
    }
    if (take != CUsbPull::TakeOk) {
        // Waiting for a frame that will not come would stall every later pull.
        AbortPull(dev, tr("烧录器-%1 上送%2失败: 文件帧%3有误").arg(dev.m_nSlot).arg(CUsbPull::Label(pull.m_strPath)).arg(answer.frame));
        return;
    }
    const int k = answer.frame;
    Log(tr("烧录器-%1 上送%2， %3%").arg(dev.m_nSlot).arg(CUsbPull::Label(pull.m_strPath)).arg(pull.Percent(k)));
    WriteMirror(dev, k, data);
    if (!pull.IsDone()) {
        Pause(dev, 10);
        UsbFrameNo req;
        req.cmd = UsbCmd::REQ_FILE_DATA;
        req.frame = quint16(k + 1);
        Send(dev, req.Frame());
        return;
    }
    FinishPull(dev);
}

void CUsbHostHandler::LogResult(CUsbDev &dev, const UsbResult &result)
{
    const QString line = ResultLine(dev.m_nSlot, result);
    if (result.IsPass())
        Log(line);
    else
        LogFailure(line);
}

bool CUsbHostHandler::ReplaceMirror(CUsbDev &dev, const QString &name, const QByteArray &data)
{
    const QString path = MirrorPath(dev, name);
    if (path.isEmpty())
        return false;
    // A failed write leaves the old copy as it was; nothing goes through a link
    // out of the programmer's folder.
    QString err;
    if (!CSafeFile::Write(path, MirrorRoot(dev), data, err)) {
        qCDebug(lcUsbControl) << "CUsbHostHandler:" << err;
        return false;
    }
    return true;
}

bool CUsbHostHandler::WriteMirror(CUsbDev &dev, int k, const QByteArray &data)
{
    const QString name = CUsbPull::LocalName(dev.m_pull.m_strPath);
    const QString path = name.isEmpty() ? QString() : MirrorPath(dev, name);
    if (path.isEmpty()) {
        qCDebug(lcUsbControl) << "not support file" << dev.m_pull.m_strPath;
        return false;
    }
    const QString part = PartPath(path);
    if (k == 0) {
        QFile::remove(part);
        FuncTool::CheckFileDir(part);
    }
    const QFileInfo info(part);
    if (info.isSymLink() || (info.exists() && !info.isFile())
        || !CSafeFile::IsInside(MirrorRoot(dev), info.absolutePath())) {
        qCDebug(lcUsbControl) << "CUsbHostHandler: refused to write" << part;
        return false;
    }
    QFile file(part);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append) || file.write(data) != data.size()) {
        qCDebug(lcUsbControl) << "CUsbHostHandler: cannot write" << part << file.errorString();
        return false;
    }
    file.close();
    if (k + 1 < dev.m_pull.m_nFrames)
        return true;
    // Complete: the new copy replaces the old one in one step.
    if (std::rename(QFile::encodeName(part).constData(), QFile::encodeName(path).constData()) != 0) {
        qCDebug(lcUsbControl) << "CUsbHostHandler: cannot replace" << path;
        return false;
    }
    return true;
}

void CUsbHostHandler::FinishPull(CUsbDev &dev)
{
    const QString path = dev.m_pull.m_strPath;
    const QString name = CUsbPull::LocalName(path);
    const QString local = name.isEmpty() ? QString() : MirrorPath(dev, name);
    const int slot = dev.m_nSlot;
    if (path == kSysFile) {
        OnProgFile(dev, local);
    } else if (path == kImageIndex) {
        Log(tr("烧录器-%1 镜像信息拉取完成").arg(slot));
    } else if (path == kParamFile) {
        Log(tr("烧录器-%1 配置信息拉取完成").arg(slot));
    } else if (path == kFlashFile) {
        Log(tr("烧录器-%1 MCU-FLASH数据拉取完成， 正在解析...").arg(slot));
        OnFlashData(dev, local);
    } else if (path == kImageAttr) {
        const QList<CUsbImageAttr> attrs = CUsbImageAttr::ReadFile(local);
        Log(tr("烧录器-%1 同步数据拉取完毕").arg(slot));
        EndImageAttr(dev, attrs);
    } else if (path == kSignalFile) {
        Log(tr("烧录器-%1 信号数据拉取完毕").arg(slot));
        OnSignalFile(dev, local);
    }
    const quint32 size = dev.m_pull.m_nSize;
    PullNext(dev);
    OnPullDone(dev, path, local, size, !local.isEmpty());
}

void CUsbHostHandler::EndImageAttr(CUsbDev &dev, const QList<CUsbImageAttr> &attrs)
{
    OnImageAttr(dev, attrs);
    Log(tr("下载器初始化完成，可以进行后续操作"));
    dev.m_bInit = true;
}

void CUsbHostHandler::HandleSync(CUsbDev &dev, const QByteArray &frame)
{
    UsbCounters counters;
    if (!counters.Parse(frame)) {
        LogMalformed(dev, frame);
        return;
    }
    dev.m_bSync = true;
    OnSyncCounters(dev, counters.pass, counters.fail);
    PullFile(dev, kImageAttr);
}

// ---- downloads

bool CUsbHostHandler::DownloadFile(CUsbDev &dev, const QString &localPath)
{
    const int slot = dev.m_nSlot;
    QByteArray data;
    QString err;
    if (!CSafeFile::ReadAll(localPath, QString(), data, err)) {
        qCDebug(lcUsbControl) << "CUsbHostHandler:" << err;
        LogFailure(tr("烧录器-%1 下发文件读取失败！").arg(slot));
        return false;
    }
    const QString name = QFileInfo(localPath).fileName();
    if (!dev.m_push.Prepare(name, data)) {
        LogFailure(tr("烧录器-%1 下发文件过大或文件名过长！").arg(slot));
        return false;
    }
    if (name == QLatin1String("update.bin"))
        Log(tr("烧录器-%1 正在下发固件文件数据,请勿断开连接").arg(slot));
    if (name.endsWith(QLatin1String(".img"))) {
        Log(tr("烧录器-%1 正在下发镜像文件数据,请勿断开连接").arg(slot));
        QString imageName;
        QString imageCrc;
        CurrentImage(imageName, imageCrc);
        Log(tr("镜像名：%1,镜像CRC：%2").arg(imageName, imageCrc));
    } else {
        Log(tr("烧录器-%1 正在下发文件数据,请勿断开连接").arg(slot));
    }
    Send(dev, dev.m_push.AttrFrame());
    return true;
}

void CUsbHostHandler::HandleFileAttrAnswer(CUsbDev &dev, const QByteArray &frame)
{
    UsbByte answer;
    if (!answer.Parse(frame)) {
        LogMalformed(dev, frame);
        return;
    }
    if (answer.value == 0) {
        Log(tr("烧录器-%1 文件传输确认").arg(dev.m_nSlot));
        return;
    }
    LogFailure(tr("烧录器-%1 拒绝进行文件传输").arg(dev.m_nSlot));
    dev.m_push.Clear();
    dev.m_nImageNo = -1;
}

void CUsbHostHandler::HandleFileReq(CUsbDev &dev, const QByteArray &frame)
{
    UsbFrameNo req;
    if (!req.Parse(frame)) {
        LogMalformed(dev, frame);
        return;
    }
    Pause(dev, 5);
    const int k = req.frame;
    QByteArray answer;
    const CUsbPush::FrameAnswer result = dev.m_push.Answer(k, answer);
    if (result == CUsbPush::FrameConflict) {
        Log(tr("烧录器-%1 请求文件帧冲突！").arg(dev.m_nSlot));
        return;
    }
    Log(tr("下载器-%1 请求文件帧序号： %2 , 传输进度: %3 %").arg(dev.m_nSlot).arg(k).arg(dev.m_push.Percent(k)));
    if (result == CUsbPush::FrameMissing) {
        Log(tr("烧录器-%1 文件帧冲突！").arg(dev.m_nSlot));
        return;
    }
    Send(dev, answer);
}

QString CUsbHostHandler::FileKind(const QString &name)
{
    if (name.endsWith(QLatin1String(".img")))
        return tr("镜像");
    if (name.endsWith(QLatin1String(".bin")))
        return tr("固件");
    if (name == QLatin1String("image.dat"))
        return tr("镜像配置");
    if (name == QLatin1String("param.ini"))
        return tr("烧录器配置");
    return QString();
}

void CUsbHostHandler::HandleFileRes(CUsbDev &dev, const QByteArray &frame)
{
    UsbFileResult res;
    if (!res.Parse(frame)) {
        LogMalformed(dev, frame);
        return;
    }
    const int slot = dev.m_nSlot;
    const QString kind = FileKind(res.name);
    // The transfer is over either way; what was sent is still needed below.
    const bool ours = res.name == dev.m_push.m_strName;
    const QByteArray sent = ours ? dev.m_push.Data() : QByteArray();
    dev.m_push.Clear();
    if (res.status != 0) {
        LogFailure(tr("%1数据传输校验失败").arg(kind));
        LogFailure(tr("烧录器-%1 %2文件传输校验失败").arg(slot).arg(kind));
        dev.m_nImageNo = -1;
        return;
    }
    Log(tr("%1数据传输校验完成").arg(kind));
    Log(tr("烧录器-%1 %2数据传输校验完成").arg(slot).arg(kind));
    if (res.name.endsWith(QLatin1String(".img"))) {
        Log(tr("烧录器-%1 正在更新镜像序列").arg(slot));
        Pause(dev, 100);
        DownloadFile(dev, MirrorPath(dev, QStringLiteral("image.dat")));
    } else if (res.name == QLatin1String("image.dat")) {
        Log(tr("烧录器-%1 正在刷新镜像").arg(slot));
        Pause(dev, 2);
        Send(dev, CUsbFrame::Make(UsbCmd::REFRESH_IMAGE_CMD));
    } else if (res.name == QLatin1String("param.ini")) {
        // The PC-side folder holds what the programmer holds.
        if (ours && !ReplaceMirror(dev, res.name, sent))
            LogFailure(tr("烧录器-%1 本地配置文件更新失败").arg(slot));
        Log(tr("烧录器-%1 %2更新完成").arg(slot).arg(kind));
    }
}

void CUsbHostHandler::HandleRefresh(CUsbDev &dev, const QByteArray &frame)
{
    UsbByte answer;
    if (!answer.Parse(frame)) {
        LogMalformed(dev, frame);
        return;
    }
    // The image just downloaded, else the number the console shows.
    const int image = dev.m_nImageNo >= 0 ? dev.m_nImageNo : ImageNumber();
    dev.m_nImageNo = -1;
    if (answer.value != 0) {
        LogFailure(tr("烧录器-%1 刷新镜像失败！").arg(dev.m_nSlot));
        return;
    }
    Log(tr("烧录器-%1 镜像号: %2 数据传输完成！").arg(dev.m_nSlot).arg(image));
    if (image < 0 || image > UsbCmd::kMaxImageNo) {
        Log(tr("仅支持镜像号范围:0~149!"));
        return;
    }
    Pause(dev, 5);
    UsbByte sw;
    sw.cmd = UsbCmd::SWITCH_IMAGE_CMD;
    sw.value = quint8(image);
    Send(dev, sw.Frame());
}

// ---- answers to the console's commands

void CUsbHostHandler::HandleAck(CUsbDev &dev, const QByteArray &frame)
{
    const quint8 code = CUsbFrame::Command(frame);
    quint8 status = 0;
    QString op;
    if (code == UsbCmd::SWITCH_PAGE_CMD) {
        UsbPageAck ack;
        if (!ack.Parse(frame)) {
            LogMalformed(dev, frame);
            return;
        }
        status = ack.status;
        switch (ack.page) {
        case UsbCmd::PAGE_HOME: op = tr("切换主页面"); break;
        case UsbCmd::PAGE_BURN: op = tr("切换烧写页面"); break;
        case UsbCmd::PAGE_VERIFY: op = tr("切换校验页面"); break;
        case UsbCmd::PAGE_SETTINGS: op = tr("切换设置页面"); break;
        case UsbCmd::PAGE_HELP: op = tr("切换帮助页面"); break;
        default: op = tr("切换页面"); break;
        }
    } else {
        UsbByte ack;
        if (!ack.Parse(frame)) {
            LogMalformed(dev, frame);
            return;
        }
        status = ack.value;
        op = code == UsbCmd::DEL_FILE_CMD ? tr("移除文件") : tr("切换镜像号");
    }
    QString text = tr("执行:") + op + (status == 0 ? tr(", 成功! ") : tr(", 失败!"));
    if (status == 0 && (code == UsbCmd::SWITCH_IMAGE_CMD || code == UsbCmd::START_IMAGE_CMD))
        text += tr("现在可以触发执行烧录！");
    const QString line = tr("烧录器-%1 %2").arg(QString::number(dev.m_nSlot), text);
    if (status == 0)
        Log(line);
    else
        LogFailure(line);
}

void CUsbHostHandler::HandleStart(CUsbDev &dev, const QByteArray &frame)
{
    UsbByte answer;
    if (!answer.Parse(frame)) {
        LogMalformed(dev, frame);
        return;
    }
    const bool started = answer.value == 0;
    if (started)
        Log(tr("烧录器-%1 启动成功").arg(dev.m_nSlot));
    else
        LogFailure(tr("烧录器-%1 启动失败!").arg(dev.m_nSlot));
    OnStartAnswer(dev, started);
}

QString CUsbHostHandler::ResultReason(quint8 code)
{
    switch (code) {
    case UsbCmd::RES_SWD: return tr("SWD通信失败");
    case UsbCmd::RES_FRAME_LEN: return tr("帧长度错误");
    case UsbCmd::RES_VERIFY: return tr("目标板校验错误");
    case UsbCmd::RES_ERASE: return tr("擦除目标板失败");
    case UsbCmd::RES_SHORT: return tr("检测到目标板或者下载器硬件短路");
    default: return tr("其他错误");
    }
}

QString CUsbHostHandler::ResultLine(int slot, const UsbResult &result)
{
    const QString line = result.IsPass()
        ? tr("烧录器-%1 执行结果成功, 校验码为[0x%2]").arg(slot).arg(hex(result.checksum))
        : tr("烧录器-%1 执行结果失败! 原因为[%2]").arg(slot).arg(ResultReason(result.code));
    if (result.cmd == UsbCmd::PROG_SPEC_DATA_CMD)
        return tr("[编程特定数据] ") + line;
    return line;
}

void CUsbHostHandler::HandleResult(CUsbDev &dev, const QByteArray &frame)
{
    UsbResult result;
    if (!result.Parse(frame)) {
        LogMalformed(dev, frame);
        return;
    }
    LogResult(dev, result);
    OnResult(dev, result);
}

void CUsbHostHandler::HandleSpecData(CUsbDev &dev, const QByteArray &frame)
{
    UsbResult result;
    if (!result.Parse(frame)) {
        LogMalformed(dev, frame);
        return;
    }
    LogResult(dev, result);
    OnSpecDataResult(dev, result);
}

void CUsbHostHandler::HandleReadMcu(CUsbDev &dev, const QByteArray &frame)
{
    UsbByte answer;
    if (!answer.Parse(frame)) {
        LogMalformed(dev, frame);
        return;
    }
    if (answer.value != 0) {
        LogFailure(tr("下载器-%1 读取MCU-FLASH数据失败！").arg(dev.m_nSlot));
        return;
    }
    Log(tr("下载器-%1 读取MCU-FLASH数据成功！上位机正在拉取数据...").arg(dev.m_nSlot));
    Pause(dev, 10);
    PullFile(dev, kFlashFile);
}

void CUsbHostHandler::HandleReport(CUsbDev &dev, const QByteArray &frame)
{
    UsbReport report;
    if (!report.Parse(frame)) {
        LogMalformed(dev, frame);
        return;
    }
    Log(tr("下载器执行-FLM函数，超时计数为: %1").arg(report.timeouts));
}

void CUsbHostHandler::HandleEx(CUsbDev &dev, const QByteArray &frame)
{
    UsbExAnswer answer;
    if (!answer.Parse(frame)) {
        LogMalformed(dev, frame);
        return;
    }
    if (answer.sub == UsbCmd::EX_IMAGE_NO)
        Log(tr("烧录器-%1(%2) 当前镜像号为: %3").arg(QString::number(dev.m_nSlot), dev.Key(), QString::number(answer.image)));
    else
        Log(tr("烧录器-%1(%2) 收到不支持的子命令: 0x%3").arg(QString::number(dev.m_nSlot), dev.Key(), hex(answer.sub)));
}
