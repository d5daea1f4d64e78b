#pragma once
// The rules of the USB console without its widgets: up to eight programmers in
// slots with their tiles and counters, the receive queue and one send queue
// per programmer, so that no programmer waits for another and a programmer's
// pause is a time on its queue, not a wait of the GUI thread; the console's
// commands (start, page, image, count query, flash read, serial number), the
// merged image and the record file. `usbcontroldlg` maps its widgets to it;
// the main window hands it programmers, frames and files (through
// CUsbProgManager).
//
// Files for a programmer: SendFileToProger(key, path, imageNo) announces the
// file; the programmer then pulls it. Every verification the programmer
// reports arrives as sigFileResult(key, name, ok). An image (".img") is
// followed on its own by the programmer's "image.dat" from its PC-side folder
// (update that first with BurnHub::SetUSBProgUID(FolderId) and ModifyIndex),
// then the refresh and the switch to imageNo (the console's image number when
// none was given). A verified "param.ini" replaces the PC-side copy.
#include "cusbhosthandler.h"
#include "cusbmergeimage.h"
#include "cusbrecordfile.h"
#include "usbprog.h"

#include <progerinfo.h>

#include <QDateTime>
#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QTimer>

#include <array>
#include <memory>
#include <vector>

struct CHidInfo;

class CUsbConsole : public QObject, public CUsbHostHandler
{
    Q_OBJECT
public:
    using USBProg = ns_prog720a::USBProg;
    static constexpr int kSlots = 8;
    // Frames to one programmer keep at least this far apart.
    static constexpr int kSendTickMs = 3;

    // Icon states of a tile; any other value shows the disabled icon.
    enum Icon { IconDisable = 0, IconNormal = 1, IconBusy = 2, IconPass = 3, IconFail = 4 };
    static QString IconPath(int icon);

    struct Tile
    {
        bool bActive = false; // set up for an initialised programmer
        int nIcon = IconDisable;
        bool bExecute = true;
        QString strName; // the programmer's name, for the tooltips
        QList<CUsbImageAttr> attrs;
        quint64 nPass = 0; // the programmer's own counters
        quint64 nFail = 0;
        QString CounterText() const { return QStringLiteral("%1/%2").arg(nPass).arg(nFail); }
    };
    // Texts of a tile in the language now loaded: "未启用~" or "烧录器-%1",
    // the icon's tooltip "烧录器(%1*%2)" and the image attributes.
    static QString TileLabel(int slot, const Tile &tile);
    static QString TileTip(const Tile &tile);
    static QString AttrText(const QList<CUsbImageAttr> &attrs);

    explicit CUsbConsole(QObject *parent = nullptr);
    ~CUsbConsole() override;

    // Folder of "xc_merge.bin" and of the log folder; the server's working folder by default.
    void SetWorkDir(const QString &dir);
    QString WorkDir() const { return m_strWorkDir; }
    QString LogFilePath() const;

    // ---- programmers, from the main window
    // All or none: more than eight in all is refused with a log line.
    bool AddHidProgs(const QList<CHidInfo> &devices);
    // Opens the port and asks for the UID.
    bool AddVcpProg(const QString &port);
    // Frees the tile; false when no programmer has that key.
    bool RemoveProg(const QString &key);
    // A frame from a link; dropped when no programmer has that key.
    void RecvFrame(const QByteArray &frame, const QString &key);
    // imageNo: the number an image is stored under, switched to once it is in.
    bool SendFileToProger(const QString &key, const QString &localPath, int imageNo = -1);
    bool DeleteProgFile(const QString &key, const QString &name);
    // Pulls programmer files one after the other into the PC-side folder; each
    // ends in sigPullDone. False when no programmer has that key, it is not
    // initialised yet, or a pull is under way.
    bool PullProgFiles(const QString &key, const QStringList &paths);
    void ClosePort(const QString &key);

    USBProg *Find(const QString &key) const;
    USBProg *At(int slot) const;
    int SlotOf(const CUsbDev *prog) const;
    int Count() const;
    QStringList Keys() const;
    const Tile &TileAt(int slot) const { return m_tiles[size_t(slot)]; }
    void SetExecute(int slot, bool on);

    // ---- the console's commands
    void StartSignal(bool multi = true, USBProg *prog = nullptr);
    void SwitchPage(int page);
    // The number is read as decimal; outside 0..149 nothing is sent.
    bool SwitchImage(const QString &text, bool multi = true);
    void CheckCnt();
    void ReadImageNo();
    void ReadFlashData(int addr, int len);
    // Ticked programmers get the merged image (custom mode) or the home image.
    void DownImage();
    void DownConfig();
    // Serial number for prog after a good part.
    bool CheckAndSendSN(USBProg &prog);
    // Merges BIN1..BIN3 into WorkDir() + "xc_merge.bin".
    bool MergeBins(QString &path, quint32 &base);

    // Frames for every ticked slot that holds a programmer, or for one.
    void Broadcast(const QByteArray &frame);
    void SendBuf(const QByteArray &frame, USBProg *prog);
    int PendingReceive() const { return int(m_recv.size()); }
    int PendingSend() const;

    // ---- record file
    void LoadRecord();
    // CONFIG, IMAGE and the tile counters of every programmer.
    void SaveRecord();
    // Appends the log text to "ctrlLog.dat" with the time and the kind of save.
    static bool AppendLogFile(const QString &path, const QString &text, const QDateTime &time, bool autoSave);

    // ---- the dialog's fields
    QString m_strImageNo = QStringLiteral("0");
    int m_nPage = 0;
    QString m_strSNAddr = QStringLiteral("1FC00");
    QString m_strBin[3];
    QString m_strImageName;
    QString m_strImageCrc;
    quint64 m_nPassCnt = 0;
    quint64 m_nFailCnt = 0;
    quint64 m_nTotalCnt = 0;
    bool m_bShowBuf = false;
    bool m_bCustom = false;
    bool m_bSwitch2Down = false;
    bool m_bRecordSN = false;
    bool m_bStressTest = false;
    bool m_bBeeped = false;

signals:
    void sigLog(const QString &text, bool failure);
    // For the main window's log as well.
    void sigMainLog(const QString &text);
    // The image number field was set (by an image download).
    void sigImageNoChanged(const QString &text);
    void sigTileChanged(int slot);
    void sigCountersChanged();
    // At most once per start: the first failure after it.
    void sigBeep();
    void sigWarn(const QString &title, const QString &text);
    // "sys/qelprogrammer.dat" of a QEL720A or QEL720C was pulled.
    void sigProgerIdentified(const QString &key, bool hid, const ProgerInfo &info);
    void sigProgerRemoved(const QString &key);
    // The link of key says its device went away.
    void sigProgerLost(const QString &key);
    void sigFileResult(const QString &key, const QString &name, bool ok);
    // A pull of path ended (see CUsbHostHandler::OnPullDone).
    void sigPullDone(const QString &key, const QString &path, const QString &localPath, quint32 size, bool ok);
    void sigFlashData(const QString &key, const QString &localPath);
    void sigSignalFile(const QString &key, const QString &localPath);
    // A file going to the programmer: percent after each frame it asked for.
    void sigFileProgress(const QString &key, const QString &name, int percent);
    // DownImage/DownConfig: the main window downloads to that programmer.
    // Every programmer of keys gets the image built from the panel, or from
    // the merged file at base when mergedPath is not empty.
    void sigDownImage(const QStringList &keys, const QString &mergedPath, quint32 base);
    // Every programmer of keys gets the configuration of the panel.
    void sigDownConfig(const QStringList &keys);

protected:
    void Dispatch(CUsbDev &dev, const QByteArray &frame) override;
    void SendFrame(CUsbDev &dev, const QByteArray &frame) override;
    void Log(const QString &text) override;
    void LogFailure(const QString &text) override;
    int ImageNumber() const override;
    void Pause(CUsbDev &dev, int ms) override;
    void ShowFrame(const QByteArray &frame, bool received) override;
    void CurrentImage(QString &name, QString &crc) const override;
    void OnProgFile(CUsbDev &dev, const QString &localPath) override;
    void OnFlashData(CUsbDev &dev, const QString &localPath) override;
    void OnSignalFile(CUsbDev &dev, const QString &localPath) override;
    void OnImageAttr(CUsbDev &dev, const QList<CUsbImageAttr> &attrs) override;
    void OnSyncCounters(CUsbDev &dev, quint32 pass, quint32 fail) override;
    void OnStartAnswer(CUsbDev &dev, bool started) override;
    void OnResult(CUsbDev &dev, const UsbResult &result) override;
    void OnPullDone(CUsbDev &dev, const QString &path, const QString &localPath, quint32 size, bool ok) override;

private:
    QStringList TickedKeys();
    struct Queued
    {
        QByteArray frame;
        USBProg *prog;
        qint64 nArrived; // µs on m_clock
    };

    qint64 Now() const { return m_clock.nsecsElapsed() / 1000; }
    void Enqueue(USBProg &prog, const QByteArray &frame);
    void OnRecvTick();
    void OnSendTick();
    // Sets the send timer for the first frame that may go.
    void ArmSend();
    void Transmit(USBProg &prog, const QByteArray &frame);
    int FreeSlot() const;
    void Place(int slot, std::unique_ptr<USBProg> prog);
    void SetIcon(int slot, int icon);
    void ResetTile(int slot);
    void OnLinkLost(const QString &key);
    // A removed record lives on while a handler may still use it.
    void Reap();
    bool HasProg() const { return Count() > 0; }

    std::array<std::unique_ptr<USBProg>, kSlots> m_slots;
    std::array<Tile, kSlots> m_tiles;
    std::vector<std::unique_ptr<USBProg>> m_removed;
    QList<Queued> m_recv;
    bool m_bRecvBusy = false;
    // Arrival of the frame being handled: pauses count from it.
    qint64 m_nHandledAt = -1;
    QElapsedTimer m_clock;
    QTimer m_recvTimer;
    QTimer m_sendTimer;
    QString m_strWorkDir;
    CUsbRecordFile m_record;
};
