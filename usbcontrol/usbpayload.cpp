#include "usbpayload.h"

#include "cusbframe.h"

namespace {
bool isCmd(const QByteArray &frame, quint8 cmd) { return CUsbFrame::Command(frame) == cmd; }
} // namespace

QByteArray UsbByte::Frame() const { return CUsbFrame(cmd).U8(value).Finish(); }

bool UsbByte::Parse(const QByteArray &frame)
{
    CUsbReader r(frame);
    cmd = CUsbFrame::Command(frame);
    value = r.U8();
    return r.Ok();
}

QString UsbUid::Text() const
{
    QString text = QStringLiteral("00");
    for (quint32 w : words)
        text += QString::number(w, 16);
    return text.toUpper();
}

QByteArray UsbUid::Frame() const
{
    return CUsbFrame(UsbCmd::REQ_PROG_UID).U32(words[0]).U32(words[1]).U32(words[2]).Finish();
}

bool UsbUid::Parse(const QByteArray &frame)
{
    CUsbReader r(frame);
    for (quint32 &w : words)
        w = r.U32();
    return r.Ok() && isCmd(frame, UsbCmd::REQ_PROG_UID);
}

QByteArray UsbPageAck::Frame() const { return CUsbFrame(UsbCmd::SWITCH_PAGE_CMD).U8(status).U8(page).Finish(); }

bool UsbPageAck::Parse(const QByteArray &frame)
{
    CUsbReader r(frame);
    status = r.U8();
    page = r.U8();
    return r.Ok() && isCmd(frame, UsbCmd::SWITCH_PAGE_CMD);
}

QByteArray UsbResult::Frame() const
{
    CUsbFrame f(cmd);
    f.U8(code);
    if (code == UsbCmd::RES_OK)
        f.U32(checksum);
    return f.Finish();
}

bool UsbResult::Parse(const QByteArray &frame)
{
    CUsbReader r(frame);
    cmd = CUsbFrame::Command(frame);
    code = r.U8();
    checksum = code == UsbCmd::RES_OK ? r.U32() : 0;
    return r.Ok();
}

QString UsbSyncInit::TimeText(const QDateTime &time)
{
    return time.toString(QStringLiteral("yy-MM-dd hh:mm:ss")) + QLatin1Char(' ')
        + QString::number(time.date().dayOfWeek());
}

QByteArray UsbSyncInit::Frame() const { return CUsbFrame(UsbCmd::SYNC_INIT_CMD).Bytes(text.toUtf8()).Finish(); }

bool UsbSyncInit::Parse(const QByteArray &frame)
{
    CUsbReader r(frame);
    text = QString::fromUtf8(r.Rest());
    return r.Ok() && isCmd(frame, UsbCmd::SYNC_INIT_CMD);
}

QByteArray UsbCounters::Frame(quint8 cmd) const { return CUsbFrame(cmd).U32(pass).U32(fail).Finish(); }

bool UsbCounters::Parse(const QByteArray &frame)
{
    CUsbReader r(frame);
    pass = r.U32();
    fail = r.U32();
    return r.Ok();
}

QByteArray UsbReadMcu::Frame() const { return CUsbFrame(UsbCmd::READ_MCU_CMD).U32(addr).U32(count).Finish(); }

bool UsbReadMcu::Parse(const QByteArray &frame)
{
    CUsbReader r(frame);
    addr = r.U32();
    count = r.U32();
    return r.Ok() && isCmd(frame, UsbCmd::READ_MCU_CMD);
}

QByteArray UsbSpecData::Frame() const
{
    return CUsbFrame(UsbCmd::PROG_SPEC_DATA_CMD).U32(addr).Bytes(data).Finish();
}

bool UsbSpecData::Parse(const QByteArray &frame)
{
    CUsbReader r(frame);
    addr = r.U32();
    data = r.Rest();
    return r.Ok() && isCmd(frame, UsbCmd::PROG_SPEC_DATA_CMD);
}

QByteArray UsbReport::Frame() const { return CUsbFrame(UsbCmd::REPORT_CONTENT_CMD).U32(timeouts).Finish(); }

bool UsbReport::Parse(const QByteArray &frame)
{
    CUsbReader r(frame);
    timeouts = r.U32();
    return r.Ok() && isCmd(frame, UsbCmd::REPORT_CONTENT_CMD);
}

QByteArray UsbExAnswer::Frame() const
{
    CUsbFrame f(UsbCmd::EX_CMD);
    f.U8(sub);
    if (sub == UsbCmd::EX_IMAGE_NO)
        f.U8(image);
    return f.Finish();
}

bool UsbExAnswer::Parse(const QByteArray &frame)
{
    CUsbReader r(frame);
    sub = r.U8();
    image = sub == UsbCmd::EX_IMAGE_NO ? r.U8() : 0;
    return r.Ok() && isCmd(frame, UsbCmd::EX_CMD);
}

QByteArray UsbFileAnnounce::Frame() const
{
    return CUsbFrame(UsbCmd::FT_ATTR_CMD).U32(size).U16(frames).U32(crc).ShortText(name.toUtf8()).Finish();
}

bool UsbFileAnnounce::Parse(const QByteArray &frame)
{
    CUsbReader r(frame);
    size = r.U32();
    frames = r.U16();
    crc = r.U32();
    name = QString::fromUtf8(r.ShortText());
    return r.Ok() && isCmd(frame, UsbCmd::FT_ATTR_CMD);
}

QByteArray UsbFrameNo::Frame() const { return CUsbFrame(cmd).U16(frame).Finish(); }

bool UsbFrameNo::Parse(const QByteArray &bytes)
{
    CUsbReader r(bytes);
    cmd = CUsbFrame::Command(bytes);
    frame = r.U16();
    return r.Ok();
}

QByteArray UsbFileData::Frame() const { return CUsbFrame(cmd).U16(frame).Bytes(data).Finish(); }

bool UsbFileData::Parse(const QByteArray &bytes)
{
    CUsbReader r(bytes);
    cmd = CUsbFrame::Command(bytes);
    frame = r.U16();
    data = r.Rest();
    return r.Ok();
}

QByteArray UsbFileResult::Frame() const
{
    return CUsbFrame(UsbCmd::FT_RES_CMD).U8(status).ShortText(name.toUtf8()).Finish();
}

bool UsbFileResult::Parse(const QByteArray &frame)
{
    CUsbReader r(frame);
    status = r.U8();
    name = QString::fromUtf8(r.ShortText());
    return r.Ok() && isCmd(frame, UsbCmd::FT_RES_CMD);
}

QByteArray UsbFileName::Frame() const { return CUsbFrame(cmd).ShortText(name.toUtf8()).Finish(); }

bool UsbFileName::Parse(const QByteArray &frame)
{
    CUsbReader r(frame);
    cmd = CUsbFrame::Command(frame);
    name = QString::fromUtf8(r.ShortText());
    return r.Ok();
}

QByteArray UsbFileInfo::Frame() const
{
    CUsbFrame f(UsbCmd::REQ_FILE_ATTR);
    // A refusal carries its size and frame count too, both 0.
    f.U8(status).U32(status == 0 ? size : 0).U16(status == 0 ? frames : 0);
    return f.Finish();
}

bool UsbFileInfo::Parse(const QByteArray &frame)
{
    CUsbReader r(frame);
    status = r.U8();
    // Older firmware refuses with the status alone.
    const bool bare = status != 0 && r.Left() == 0;
    size = bare ? 0 : r.U32();
    frames = bare ? 0 : r.U16();
    return r.Ok() && isCmd(frame, UsbCmd::REQ_FILE_ATTR);
}
