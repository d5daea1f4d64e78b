#pragma once
// Programmer side of the USB control frames, for the programmer simulator:
// checks and dispatches host frames, answers them from the hooks, and runs the
// programmer's half of file pushes (asking for frames, verifying the CRC-32)
// and pulls (handing out frames). A host frame with a bad CRC is answered with
// ERR_FRMCRC.
#include "cusbfileserver.h"
#include "cusbfilereceiver.h"
#include "usbpayload.h"

#include <QByteArray>
#include <QString>
#include <QVector>

class CUsbDeviceHandler
{
public:
    using Handler = void (CUsbDeviceHandler::*)(const QByteArray &);
    struct Row
    {
        quint8 code;
        Handler handler;
    };
    // One row per command the host sends.
    static const QVector<Row> &Table();

    CUsbDeviceHandler() = default;
    virtual ~CUsbDeviceHandler();
    CUsbDeviceHandler(const CUsbDeviceHandler &) = delete;
    CUsbDeviceHandler &operator=(const CUsbDeviceHandler &) = delete;

    // One frame from the host.
    void Receive(const QByteArray &frame);

    // What the programmer sends on its own.
    void SendResult(quint8 code, quint32 checksum);
    void SendReport(quint32 timeouts);

    // A name the host may push or delete: one plain file name.
    static bool IsPlainName(const QString &name);
    // A path the host may pull: relative, "/"-separated, no "." or ".." parts.
    static bool IsSafePath(const QString &path);

protected:
    virtual void Dispatch(const QByteArray &frame);

    // ---- what the programmer provides
    virtual void SendFrame(const QByteArray &frame) = 0;
    virtual void Log(const QString &text);
    virtual UsbUid Uid() const = 0;
    // START_CMD status; the result follows later through SendResult.
    virtual quint8 OnStart() = 0;
    virtual quint8 OnStartImage(quint8 image) = 0;
    virtual quint8 OnSwitchPage(quint8 page);
    virtual quint8 OnSwitchImage(quint8 image) = 0;
    // Takes the host's time text, gives the history counters.
    virtual UsbCounters OnSyncInit(const QString &timeText) = 0;
    virtual quint8 OnRefreshImage() = 0;
    // Status 0 once the flash content stands in "read_flash_bin".
    virtual quint8 OnReadMcu(quint32 addr, quint32 count) = 0;
    virtual UsbResult OnSpecData(quint32 addr, const QByteArray &data) = 0;
    virtual quint8 CurrentImage() const = 0;
    // The whole answer frame; by default sub-command 0x01 gives the current
    // image number and any other is echoed alone.
    virtual QByteArray OnExCmd(quint8 sub);
    // Answer to the count query (0xC3); by default nothing.
    virtual QByteArray OnCountQuery();
    // Status of an announced push; 0 accepts.
    virtual quint8 AcceptFile(const QString &name, quint32 size);
    // A pushed file that passed size and CRC-32; false fails the verification.
    virtual bool StoreFile(const QString &name, const QByteArray &data) = 0;
    virtual quint8 DeleteFile(const QString &name) = 0;
    // A file the host pulls; false when there is none.
    virtual bool ReadFile(const QString &path, QByteArray &data) = 0;

private:
    void HandleUid(const QByteArray &frame);
    void HandleStart(const QByteArray &frame);
    void HandleCount(const QByteArray &frame);
    void HandleSwitchPage(const QByteArray &frame);
    void HandleByteCmd(const QByteArray &frame);
    void HandleSync(const QByteArray &frame);
    void HandleRefresh(const QByteArray &frame);
    void HandleReadMcu(const QByteArray &frame);
    void HandleSpecData(const QByteArray &frame);
    void HandleEx(const QByteArray &frame);
    void HandleFileAttr(const QByteArray &frame);
    void HandleFileData(const QByteArray &frame);
    void HandleDelFile(const QByteArray &frame);
    void HandleReqFileAttr(const QByteArray &frame);
    void HandleReqFileData(const QByteArray &frame);

    void Send(const QByteArray &frame);
    void SendStatus(quint8 cmd, quint8 status);
    void RequestFrame(int k);
    void FinishFile();

    CUsbFileReceiver m_recv;
    CUsbFileServer m_serve;
};
