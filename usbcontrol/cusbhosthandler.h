#pragma once
// Host side of the USB control frames: checks and dispatches what programmers
// send, and runs the exchanges the host drives on its own (initial pulls,
// synchronisation, file downloads and the image refresh after them). The
// console implements the hooks: sending, logging, pauses, tiles and counters.
// Nothing here waits: a pause the programmer needs is asked of Pause() and
// holds back the frames sent to that programmer after it.
#include "cusbimageattr.h"
#include "usbpayload.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QList>
#include <QString>
#include <QVector>

class CUsbDev;

// What a frame from the programmer says of a file sent to it, read before the
// handler moves on: its verdict on a file, or its refusal of the push under
// way, named as the push was.
struct CUsbFileVerdict
{
    enum Kind { None, Verified, Refused };
    Kind kind = None;
    QString strName;
    bool bOk = false;

    static CUsbFileVerdict Read(const CUsbDev &dev, const QByteArray &frame);
};

class CUsbHostHandler
{
    Q_DECLARE_TR_FUNCTIONS(CUsbHostHandler)

public:
    using Handler = void (CUsbHostHandler::*)(CUsbDev &, const QByteArray &);
    struct Row
    {
        quint8 code;
        Handler handler; // none for ERR_FRMCRC, which is caught before the search
    };
    // The 19 rows, searched in order.
    static const QVector<Row> &Table();

    CUsbHostHandler() = default;
    virtual ~CUsbHostHandler();
    CUsbHostHandler(const CUsbHostHandler &) = delete;
    CUsbHostHandler &operator=(const CUsbHostHandler &) = delete;

    // One frame from dev, taken from the receive queue.
    void Receive(CUsbDev &dev, const QByteArray &frame);

    // Initialisation: a VCP programmer is asked for its UID first, whose answer
    // queues the three pulls; a HID programmer gets them queued at once.
    void RequestUid(CUsbDev &dev);
    void QueueInitPulls(CUsbDev &dev);
    // Pulls one programmer file (REQ_FILE_ATTR), replacing the pull under way.
    void PullFile(CUsbDev &dev, const QString &path);
    // Announces a local file to dev (FT_ATTR_CMD); the programmer then asks for it.
    bool DownloadFile(CUsbDev &dev, const QString &localPath);

    // Reason text of a result code.
    static QString ResultReason(quint8 code);
    // "烧录器-%1 执行结果成功, 校验码为[0x%2]" or the failure line; for
    // PROG_SPEC_DATA_CMD prefixed with "[编程特定数据] ".
    static QString ResultLine(int slot, const UsbResult &result);
    static const QStringList &InitPulls();

protected:
    // Runs the handler of frame's command; an unknown command is logged.
    virtual void Dispatch(CUsbDev &dev, const QByteArray &frame);

    // ---- what the console provides
    // Queues one frame for dev.
    virtual void SendFrame(CUsbDev &dev, const QByteArray &frame) = 0;
    // One line for the log view.
    virtual void Log(const QString &text) = 0;
    // A line that reports a failure; shown as one in every language.
    virtual void LogFailure(const QString &text);
    // The console's image number field (REFRESH_IMAGE_CMD answer).
    virtual int ImageNumber() const = 0;
    // The next frame to dev goes no sooner than ms after the frame being
    // handled arrived: time for the programmer to switch state.
    virtual void Pause(CUsbDev &dev, int ms);
    // Raw-frame display.
    virtual void ShowFrame(const QByteArray &frame, bool received);
    // Local mirror of a programmer file: the file in the programmer's
    // PC-side folder (FolderId); empty while it has none.
    virtual QString MirrorPath(CUsbDev &dev, const QString &name);
    // The programmer's own folder: mirrors never leave it.
    QString MirrorRoot(CUsbDev &dev);
    // Name and CRC text of the current image, for the download message.
    virtual void CurrentImage(QString &name, QString &crc) const;

    // ---- events for the console
    virtual void OnUid(CUsbDev &dev, const QString &uid);
    // "sys/qelprogrammer.dat" pulled: the programmer's description.
    virtual void OnProgFile(CUsbDev &dev, const QString &localPath);
    virtual void OnFlashData(CUsbDev &dev, const QString &localPath);
    virtual void OnSignalFile(CUsbDev &dev, const QString &localPath);
    // Image attributes pulled; dev is marked initialised right after.
    virtual void OnImageAttr(CUsbDev &dev, const QList<CUsbImageAttr> &attrs);
    virtual void OnSyncCounters(CUsbDev &dev, quint32 pass, quint32 fail);
    virtual void OnStartAnswer(CUsbDev &dev, bool started);
    // RESULT_CMD, after its log line: tiles, counters, beep, serial number.
    virtual void OnResult(CUsbDev &dev, const UsbResult &result);
    virtual void OnSpecDataResult(CUsbDev &dev, const UsbResult &result);
    // Every pull that ended, whoever asked for it: ok with the mirror at
    // localPath and the size the programmer announced, or refused / broken off.
    virtual void OnPullDone(CUsbDev &dev, const QString &path, const QString &localPath, quint32 size, bool ok);

private:
    void HandleUid(CUsbDev &dev, const QByteArray &frame);
    void HandleStart(CUsbDev &dev, const QByteArray &frame);
    void HandleResult(CUsbDev &dev, const QByteArray &frame);
    void HandleAck(CUsbDev &dev, const QByteArray &frame);
    void HandleSync(CUsbDev &dev, const QByteArray &frame);
    void HandleRefresh(CUsbDev &dev, const QByteArray &frame);
    void HandleReadMcu(CUsbDev &dev, const QByteArray &frame);
    void HandleReport(CUsbDev &dev, const QByteArray &frame);
    void HandleSpecData(CUsbDev &dev, const QByteArray &frame);
    void HandleEx(CUsbDev &dev, const QByteArray &frame);
    void HandleFileAttrAnswer(CUsbDev &dev, const QByteArray &frame);
    void HandleFileReq(CUsbDev &dev, const QByteArray &frame);
    void HandleFileRes(CUsbDev &dev, const QByteArray &frame);
    void HandleReqFileAttr(CUsbDev &dev, const QByteArray &frame);
    void HandleReqFileData(CUsbDev &dev, const QByteArray &frame);

    void Send(CUsbDev &dev, const QByteArray &frame);
    void LogResult(CUsbDev &dev, const UsbResult &result);
    // Puts data in place of the mirror of name in one step.
    bool ReplaceMirror(CUsbDev &dev, const QString &name, const QByteArray &data);
    void LogMalformed(CUsbDev &dev, const QByteArray &frame);
    // The mirror of the pull under way; written beside the old one until complete.
    bool WriteMirror(CUsbDev &dev, int k, const QByteArray &data);
    void FinishPull(CUsbDev &dev);
    // A pull that cannot go on: logged, and the queue goes on without it.
    void AbortPull(CUsbDev &dev, const QString &line);
    // After a pull: the next queued path, or the synchronisation.
    void PullNext(CUsbDev &dev);
    void EndImageAttr(CUsbDev &dev, const QList<CUsbImageAttr> &attrs);
    static QString FileKind(const QString &name);
    static QString PartPath(const QString &path) { return path + QStringLiteral(".part"); }
};
