// USB control frames from a programmer (host side) or from the host (device
// side). Byte 0: bit 0 picks the side, bit 1 starts a pull first, bit 2 a push
// first. Then records of [command][length][payload]; a command of 0x00 passes
// its payload on as raw bytes (no valid CRC), any other is built into a frame
// with a good CRC so the handlers see it.
#include "cusbdev.h"
#include "cusbdevicehandler.h"
#include "cusbframe.h"
#include "cusbhosthandler.h"
#include "usbpayload.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdlib>

namespace {

void Require(bool ok)
{
    if (!ok)
        std::abort();
}

void Quiet(QtMsgType, const QMessageLogContext &, const QString &) {}

QTemporaryDir &Folder()
{
    static QTemporaryDir dir;
    Require(dir.isValid());
    return dir;
}

class FuzzHost : public CUsbHostHandler
{
protected:
    void SendFrame(CUsbDev &, const QByteArray &frame) override
    {
        Require(frame.size() <= UsbCmd::kMaxFrame && CUsbFrame::Verify(frame) == CUsbFrame::FrameOk);
    }
    void Log(const QString &) override {}
    int ImageNumber() const override { return 1; }
    // Mirrors only in the temporary folder, under plain names.
    QString MirrorPath(CUsbDev &, const QString &name) override
    {
        Require(!name.contains(QLatin1String("..")) && !QDir::isAbsolutePath(name));
        return Folder().path() + QStringLiteral("/mirror/") + name;
    }
};

class FuzzDevice : public CUsbDeviceHandler
{
protected:
    void SendFrame(const QByteArray &frame) override
    {
        Require(frame.size() <= UsbCmd::kMaxFrame && CUsbFrame::Verify(frame) == CUsbFrame::FrameOk);
    }
    void Log(const QString &) override {}
    UsbUid Uid() const override { return UsbUid{{1, 2, 3}}; }
    quint8 OnStart() override { return 0; }
    quint8 OnStartImage(quint8) override { return 0; }
    quint8 OnSwitchImage(quint8) override { return 0; }
    UsbCounters OnSyncInit(const QString &) override { return UsbCounters{5, 1}; }
    quint8 OnRefreshImage() override { return 0; }
    quint8 OnReadMcu(quint32, quint32) override { return 0; }
    UsbResult OnSpecData(quint32, const QByteArray &) override { return UsbResult{}; }
    quint8 CurrentImage() const override { return 1; }
    bool StoreFile(const QString &name, const QByteArray &) override
    {
        Require(IsPlainName(name));
        return true;
    }
    quint8 DeleteFile(const QString &name) override
    {
        Require(IsPlainName(name) || name == QLatin1String("ALL"));
        return 0;
    }
    bool ReadFile(const QString &path, QByteArray &data) override
    {
        Require(IsSafePath(path));
        data = QByteArray(2500, 'p');
        return true;
    }
};

// A payload that parses must come back the same through its own encoder.
template <class P>
void RoundTrip(const QByteArray &frame)
{
    P first;
    if (!first.Parse(frame))
        return;
    const QByteArray again = first.Frame();
    if (again.isEmpty())
        return;
    P second;
    Require(second.Parse(again));
    Require(second.Frame() == again);
}

void Payloads(const QByteArray &frame)
{
    RoundTrip<UsbByte>(frame);
    RoundTrip<UsbUid>(frame);
    RoundTrip<UsbPageAck>(frame);
    RoundTrip<UsbResult>(frame);
    RoundTrip<UsbSyncInit>(frame);
    RoundTrip<UsbCounters>(frame);
    RoundTrip<UsbReadMcu>(frame);
    RoundTrip<UsbSpecData>(frame);
    RoundTrip<UsbReport>(frame);
    RoundTrip<UsbExAnswer>(frame);
    RoundTrip<UsbFileAnnounce>(frame);
    RoundTrip<UsbFrameNo>(frame);
    RoundTrip<UsbFileData>(frame);
    RoundTrip<UsbFileResult>(frame);
    RoundTrip<UsbFileName>(frame);
    RoundTrip<UsbFileInfo>(frame);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QString local = [] {
        qInstallMessageHandler(Quiet);
        qputenv("QEL_DATA_DIR", Folder().path().toLocal8Bit());
        const QString path = Folder().path() + QStringLiteral("/push.bin");
        QFile f(path);
        if (f.open(QIODevice::WriteOnly))
            f.write(QByteArray(3000, 'q'));
        return path;
    }();
    if (size < 1)
        return 0;
    const quint8 mode = data[0];

    FuzzHost host;
    FuzzDevice device;
    CUsbDev dev;
    dev.m_nType = CUsbDev::KindHid;
    dev.m_nSlot = 1;
    dev.m_strName = QStringLiteral("fuzz");
    const bool hostSide = !(mode & 1);
    if (hostSide && (mode & 2))
        host.PullFile(dev, CUsbHostHandler::InitPulls().value((mode >> 4) % 3));
    if (hostSide && (mode & 4))
        host.DownloadFile(dev, local);

    size_t at = 1;
    while (at + 2 <= size) {
        const quint8 cmd = data[at];
        const size_t len = qMin<size_t>(data[at + 1], size - at - 2);
        const QByteArray payload(reinterpret_cast<const char *>(data + at + 2), int(len));
        at += 2 + len;
        QByteArray frame;
        if (cmd == 0) {
            frame = payload;
        } else {
            CUsbFrame builder(cmd);
            frame = builder.Bytes(payload).Finish();
            Require(CUsbFrame::Verify(frame) == CUsbFrame::FrameOk && CUsbFrame::Command(frame) == cmd);
        }
        CUsbFrame::HexText(frame);
        Payloads(frame);
        if (hostSide)
            host.Receive(dev, frame);
        else
            device.Receive(frame);
    }
    return 0;
}
