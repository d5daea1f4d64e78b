#pragma once
// The station's HID and VCP programmers through the USB control frames (the
// same host handler as the server's console): each is asked who it is when it
// is found, and files reach it by the programmer's own pull. Frames to one
// programmer keep a small gap and the pauses the handler asks for; nothing
// here waits on the GUI thread.
#include <cusbdev.h>
#include <cusbhosthandler.h>
#include <progerinfo.h>

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <deque>
#include <map>
#include <memory>

class CLinkSerial;

class CStationUsb : public QObject, public CUsbHostHandler
{
    Q_OBJECT
public:
    static constexpr int kSendGapMs = 3;
    // How often transfers are checked for a programmer that stopped answering.
    static constexpr int kCheckMs = 500;
    static constexpr int kDefaultTimeoutMs = 5000;

    explicit CStationUsb(QObject *parent = nullptr);
    ~CStationUsb() override;

    // The station's one object (the remote page's), or null.
    static CStationUsb *Station();

    // The programmers the window found: new ones are opened and asked who they
    // are, those no longer listed are dropped.
    void SetHid(const QStringList &paths);
    void SetPorts(const QStringList &ports);

    // The identity read from the programmer; false until it has been read.
    bool Identity(const QString &key, ProgerInfo &info) const;
    // Its folder on this PC (BurnHub's USB mode); empty until known.
    QString FolderId(const QString &key) const;
    // Announces the file at localPath (its file name is the name on the
    // programmer); an image is followed by the index and switched to imageNo.
    bool SendFile(const QString &key, const QString &localPath, int imageNo, QString &err);
    bool IsBusy(const QString &key) const;
    // Removes the files names from the programmer, then sends it the index at
    // indexPath (its copy on this PC, already without them) and refreshes it.
    bool DeleteFiles(const QString &key, const QStringList &names, const QString &indexPath, QString &err);

    // A control frame from a link.
    void RecvFrame(const QByteArray &frame, const QString &key);

    // A transfer that hears nothing from its programmer this long is dropped.
    void SetTimeout(int ms) { m_nTimeoutMs = ms; }

signals:
    void sigIdentified(const QString &key);
    void sigFileResult(const QString &key, const QString &name, bool ok);
    void sigLog(const QString &text);

protected:
    void Dispatch(CUsbDev &dev, const QByteArray &frame) override;
    void SendFrame(CUsbDev &dev, const QByteArray &frame) override;
    void Log(const QString &text) override;
    int ImageNumber() const override { return -1; }
    void Pause(CUsbDev &dev, int ms) override;
    void OnProgFile(CUsbDev &dev, const QString &localPath) override;

private:
    struct Prog : CUsbDev
    {
        std::unique_ptr<CLinkSerial> link;
        std::deque<QByteArray> out;
        qint64 holdUntil = 0; // ms on m_clock
        qint64 nextSend = 0;
        qint64 lastHeard = 0;
        bool identified = false;
        QString delivering; // the file SendFile announced, until its verdict
        // A file asked for while the programmer was busy (its first pulls):
        // announced as soon as it is free.
        QString pendingPath;
        int pendingImageNo = -1;
        ProgerInfo info;
    };

    Prog *Find(const QString &key) const;
    Prog *Add(quint8 kind, const QString &key);
    void Drop(const QString &key);
    qint64 Now() const { return m_clock.elapsed(); }
    void ArmSend();
    void OnSendTick();
    void CheckTimeouts();
    bool Busy(const Prog &prog) const { return prog.m_push.IsActive() || prog.m_pull.IsActive(); }
    bool Announce(Prog &prog, const QString &localPath, int imageNo, QString &err);
    void StartPending(Prog &prog);

    std::map<QString, std::unique_ptr<Prog>> m_progs;
    QElapsedTimer m_clock;
    QTimer m_sendTimer;
    QTimer m_checkTimer;
    int m_nNextSlot = 0;
    int m_nTimeoutMs = kDefaultTimeoutMs;
};
