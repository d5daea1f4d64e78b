#include "cusbdevicehandler.h"

#include "cusbframe.h"

#include "usblog.h"

#include <QDebug>

CUsbDeviceHandler::~CUsbDeviceHandler() = default;

const QVector<CUsbDeviceHandler::Row> &CUsbDeviceHandler::Table()
{
    using namespace UsbCmd;
    static const QVector<Row> table = {
        {REQ_PROG_UID, &CUsbDeviceHandler::HandleUid},
        {START_CMD, &CUsbDeviceHandler::HandleStart},
        {CHECK_CNT_CMD, &CUsbDeviceHandler::HandleCount},
        {SWITCH_PAGE_CMD, &CUsbDeviceHandler::HandleSwitchPage},
        {SWITCH_IMAGE_CMD, &CUsbDeviceHandler::HandleByteCmd},
        {SYNC_INIT_CMD, &CUsbDeviceHandler::HandleSync},
        {REFRESH_IMAGE_CMD, &CUsbDeviceHandler::HandleRefresh},
        {READ_MCU_CMD, &CUsbDeviceHandler::HandleReadMcu},
        {START_IMAGE_CMD, &CUsbDeviceHandler::HandleByteCmd},
        {PROG_SPEC_DATA_CMD, &CUsbDeviceHandler::HandleSpecData},
        {EX_CMD, &CUsbDeviceHandler::HandleEx},
        {FT_ATTR_CMD, &CUsbDeviceHandler::HandleFileAttr},
        {FT_REQ_CMD, &CUsbDeviceHandler::HandleFileData},
        {DEL_FILE_CMD, &CUsbDeviceHandler::HandleDelFile},
        {REQ_FILE_ATTR, &CUsbDeviceHandler::HandleReqFileAttr},
        {REQ_FILE_DATA, &CUsbDeviceHandler::HandleReqFileData},
    };
    return table;
}

bool CUsbDeviceHandler::IsPlainName(const QString &name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..")
        && !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\')) && !name.contains(QChar(0));
}

bool CUsbDeviceHandler::IsSafePath(const QString &path)
{
    if (path.isEmpty())
        return false;
    for (const QString &part : path.split(QLatin1Char('/'))) {
        if (!IsPlainName(part))
            return false;
    }
    return true;
}

void CUsbDeviceHandler::Receive(const QByteArray &frame)
{
    switch (CUsbFrame::Verify(frame)) {
    case CUsbFrame::FrameTooShort:
        Log(QStringLiteral("dropped %1 bytes: too short for a frame").arg(frame.size()));
        return;
    case CUsbFrame::FrameBadCrc:
        Log(QStringLiteral("frame CRC error: %1").arg(CUsbFrame::HexText(frame.left(16))));
        Send(CUsbFrame::Make(UsbCmd::ERR_FRMCRC));
        return;
    case CUsbFrame::FrameOk:
        break;
    }
    Dispatch(frame);
}

void CUsbDeviceHandler::Dispatch(const QByteArray &frame)
{
    const quint8 code = CUsbFrame::Command(frame);
    for (const Row &row : Table()) {
        if (row.code == code) {
            (this->*row.handler)(frame);
            return;
        }
    }
    Log(QStringLiteral("unsupported command 0x%1").arg(code, 2, 16, QLatin1Char('0')).toUpper());
}

void CUsbDeviceHandler::Log(const QString &text) { qCDebug(lcUsbControl).noquote() << "CUsbDeviceHandler:" << text; }

quint8 CUsbDeviceHandler::OnSwitchPage(quint8 page) { return page <= UsbCmd::PAGE_HELP ? 0 : 1; }

QByteArray CUsbDeviceHandler::OnExCmd(quint8 sub)
{
    UsbExAnswer answer;
    answer.sub = sub;
    if (sub == UsbCmd::EX_IMAGE_NO)
        answer.image = CurrentImage();
    return answer.Frame();
}

QByteArray CUsbDeviceHandler::OnCountQuery() { return QByteArray(); }

quint8 CUsbDeviceHandler::AcceptFile(const QString &, quint32) { return 0; }

void CUsbDeviceHandler::Send(const QByteArray &frame)
{
    if (!frame.isEmpty())
        SendFrame(frame);
}

void CUsbDeviceHandler::SendStatus(quint8 cmd, quint8 status)
{
    UsbByte answer;
    answer.cmd = cmd;
    answer.value = status;
    Send(answer.Frame());
}

void CUsbDeviceHandler::SendResult(quint8 code, quint32 checksum)
{
    UsbResult result;
    result.cmd = UsbCmd::RESULT_CMD;
    result.code = code;
    result.checksum = checksum;
    Send(result.Frame());
}

void CUsbDeviceHandler::SendReport(quint32 timeouts)
{
    UsbReport report;
    report.timeouts = timeouts;
    Send(report.Frame());
}

void CUsbDeviceHandler::HandleUid(const QByteArray &) { Send(Uid().Frame()); }

void CUsbDeviceHandler::HandleStart(const QByteArray &) { SendStatus(UsbCmd::START_CMD, OnStart()); }

void CUsbDeviceHandler::HandleCount(const QByteArray &) { Send(OnCountQuery()); }

void CUsbDeviceHandler::HandleSwitchPage(const QByteArray &frame)
{
    UsbByte cmd;
    if (!cmd.Parse(frame)) {
        Log(QStringLiteral("SWITCH_PAGE_CMD without a page"));
        return;
    }
    UsbPageAck ack;
    ack.page = cmd.value;
    ack.status = OnSwitchPage(cmd.value);
    Send(ack.Frame());
}

void CUsbDeviceHandler::HandleByteCmd(const QByteArray &frame)
{
    UsbByte cmd;
    if (!cmd.Parse(frame)) {
        Log(QStringLiteral("command 0x%1 without an image number").arg(cmd.cmd, 2, 16, QLatin1Char('0')));
        return;
    }
    // Image numbers run from 0 to 149.
    quint8 status = 1;
    if (cmd.value <= UsbCmd::kMaxImageNo)
        status = cmd.cmd == UsbCmd::START_IMAGE_CMD ? OnStartImage(cmd.value) : OnSwitchImage(cmd.value);
    SendStatus(cmd.cmd, status);
}

void CUsbDeviceHandler::HandleSync(const QByteArray &frame)
{
    UsbSyncInit sync;
    sync.Parse(frame);
    Send(OnSyncInit(sync.text).Frame());
}

void CUsbDeviceHandler::HandleRefresh(const QByteArray &) { SendStatus(UsbCmd::REFRESH_IMAGE_CMD, OnRefreshImage()); }

void CUsbDeviceHandler::HandleReadMcu(const QByteArray &frame)
{
    UsbReadMcu read;
    if (!read.Parse(frame)) {
        Log(QStringLiteral("READ_MCU_CMD too short"));
        SendStatus(UsbCmd::READ_MCU_CMD, 1);
        return;
    }
    SendStatus(UsbCmd::READ_MCU_CMD, OnReadMcu(read.addr, read.count));
}

void CUsbDeviceHandler::HandleSpecData(const QByteArray &frame)
{
    UsbSpecData data;
    UsbResult result;
    if (!data.Parse(frame)) {
        Log(QStringLiteral("PROG_SPEC_DATA_CMD too short"));
        result.code = UsbCmd::RES_FRAME_LEN;
    } else {
        result = OnSpecData(data.addr, data.data);
    }
    result.cmd = UsbCmd::PROG_SPEC_DATA_CMD;
    Send(result.Frame());
}

void CUsbDeviceHandler::HandleEx(const QByteArray &frame)
{
    UsbByte cmd;
    if (!cmd.Parse(frame)) {
        Log(QStringLiteral("EX_CMD without a sub-command"));
        return;
    }
    Send(OnExCmd(cmd.value));
}

// ---- pushes from the host

void CUsbDeviceHandler::HandleFileAttr(const QByteArray &frame)
{
    UsbFileAnnounce announce;
    quint8 status = 1;
    if (!announce.Parse(frame))
        Log(QStringLiteral("FT_ATTR_CMD too short"));
    else if (!IsPlainName(announce.name))
        Log(QStringLiteral("refused file name \"%1\"").arg(announce.name));
    else if (!m_recv.Begin(announce))
        Log(QStringLiteral("file %1: %2 frames do not fit %3 bytes").arg(announce.name, QString::number(announce.frames), QString::number(announce.size)));
    else
        status = AcceptFile(announce.name, announce.size);
    SendStatus(UsbCmd::FT_ATTR_CMD, status);
    if (status != 0) {
        m_recv.Clear();
        return;
    }
    if (m_recv.IsComplete())
        FinishFile();
    else
        RequestFrame(0);
}

void CUsbDeviceHandler::RequestFrame(int k)
{
    UsbFrameNo req;
    req.cmd = UsbCmd::FT_REQ_CMD;
    req.frame = quint16(k);
    Send(req.Frame());
}

void CUsbDeviceHandler::HandleFileData(const QByteArray &frame)
{
    UsbFileData data;
    if (!data.Parse(frame)) {
        Log(QStringLiteral("FT_REQ_CMD answer too short"));
        return;
    }
    switch (m_recv.Accept(data)) {
    case CUsbFileReceiver::TakeIgnored:
        Log(QStringLiteral("ignored file frame %1 (%2 bytes)").arg(data.frame).arg(data.data.size()));
        return;
    case CUsbFileReceiver::TakeNext:
        RequestFrame(m_recv.Next());
        return;
    case CUsbFileReceiver::TakeComplete:
        FinishFile();
        return;
    }
}

void CUsbDeviceHandler::FinishFile()
{
    const bool ok = m_recv.Verify() && StoreFile(m_recv.Name(), m_recv.Data());
    if (!ok)
        Log(QStringLiteral("file %1 failed its verification").arg(m_recv.Name()));
    UsbFileResult res;
    res.status = ok ? 0 : 1;
    res.name = m_recv.Name();
    m_recv.Clear();
    Send(res.Frame());
}

void CUsbDeviceHandler::HandleDelFile(const QByteArray &frame)
{
    UsbFileName del;
    quint8 status = 1;
    if (del.Parse(frame) && IsPlainName(del.name))
        status = DeleteFile(del.name);
    else
        Log(QStringLiteral("refused to delete \"%1\"").arg(del.name));
    SendStatus(UsbCmd::DEL_FILE_CMD, status);
}

// ---- pulls by the host

void CUsbDeviceHandler::HandleReqFileAttr(const QByteArray &frame)
{
    UsbFileName req;
    m_serve.Clear();
    QByteArray data;
    if (!req.Parse(frame) || !IsSafePath(req.name))
        Log(QStringLiteral("refused to hand out \"%1\"").arg(req.name));
    else if (!ReadFile(req.name, data))
        Log(QStringLiteral("no file \"%1\"").arg(req.name));
    else if (!m_serve.Set(data))
        Log(QStringLiteral("file \"%1\" too large to hand out").arg(req.name));
    Send(m_serve.InfoFrame());
}

void CUsbDeviceHandler::HandleReqFileData(const QByteArray &frame)
{
    UsbFrameNo req;
    if (!req.Parse(frame)) {
        Log(QStringLiteral("REQ_FILE_DATA too short"));
        return;
    }
    const QByteArray answer = m_serve.DataFrame(req.frame);
    if (answer.isEmpty()) {
        Log(QStringLiteral("no file frame %1 to hand out").arg(req.frame));
        return;
    }
    Send(answer);
}
