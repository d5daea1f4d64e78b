#pragma once
// The USB programmers (VCP and HID) one qelctl command talks to: opens their
// ports and HID devices, runs the console's initialisation through the shared
// host handler (UID, the three pulls, synchronisation, image attributes) and
// keeps what they answered. On top of that one job per programmer: a file
// download (image with its index, refresh and switch; parameters; password)
// or a programming run, watched until it ends. Frames a programmer needs a
// pause before wait in its own queue.
#include <cusbdev.h>
#include <cusbhosthandler.h>
#include <progerinfo.h>

#include <QElapsedTimer>
#include <QObject>
#include <QSerialPort>
#include <QStringList>
#include <QTimer>

#include <deque>
#include <functional>
#include <memory>
#include <vector>

class CUsbHidLink;
class CCliHost;

class CCliUsbDev : public CUsbDev
{
public:
    enum Job { JobNone, JobFile, JobImage, JobStart, JobPull };

    QString name() const override { return m_strName; }
    bool IsHid() const { return m_nType == KindHid; }
    // Where the programmer is reached: its port or its HID device path.
    QString Where() const { return IsHid() ? m_strName : m_strPort; }
    // The ID the programmer goes by: its UID (VCP), its folder name (HID).
    QString Id() const { return m_info.m_strID; }
    bool Works() const { return m_strError.isEmpty(); }

    QSerialPort m_port;
    QByteArray m_inBuf;
    std::deque<QByteArray> m_out;
    qint64 m_nHoldUntil = 0; // ms of the session clock
    ProgerInfo m_info;
    QString m_strIdentity; // ID of the identity file
    bool m_bCounters = false;
    quint32 m_nPass = 0;
    quint32 m_nFail = 0;
    QString m_strError; // why the programmer dropped out, empty while it works

    // The job under way and how it ended.
    Job m_job = JobNone;
    bool m_bDone = false;
    bool m_bOk = false;
    QString m_strReason; // why the job failed
    QString m_strFile;   // file of a download
    int m_nPercent = 0;  // of the file being sent
    bool m_bResult = false;
    quint8 m_nCode = 0;
    quint32 m_nChecksum = 0;
    QStringList m_pending; // paths of a pull still to come
};

class CCliUsbSession : public QObject, public CUsbHostHandler
{
    Q_OBJECT
public:
    CCliUsbSession();
    ~CCliUsbSession() override;

    // Opens every port; one that cannot be opened keeps its error.
    void OpenVcp(const QStringList &ports);
    // Opens the HID programmers attached (hidraw, or the simulation folder).
    void OpenHid();
    // Initialises every open programmer; true when all of them answered in time.
    bool Initialise(int timeoutMs);

    const std::vector<std::unique_ptr<CCliUsbDev>> &Devices() const { return m_devs; }

    // ---- jobs: each ends with m_bDone set; Wait runs them
    // Sends a file; done when the programmer verified it. imageNo >= 0: an
    // image, then its index, the refresh and the switch to imageNo.
    bool SendFile(CCliUsbDev &dev, const QString &localPath, int imageNo);
    // START_CMD, or START_IMAGE_CMD with image >= 0; done with the result.
    void Start(CCliUsbDev &dev, int image);
    // Pulls programmer files one after the other into the PC-side folder; done
    // when every one is there whole.
    void PullFiles(CCliUsbDev &dev, const QStringList &paths);
    // Runs until every job is done or timeoutMs passed; jobs left open fail
    // with a time-out. tick is called now and then while waiting.
    bool Wait(int timeoutMs, const std::function<void()> &tick = {});

    // Runs the event loop until done() holds or timeoutMs passed; false on time-out.
    template <typename Done> bool RunUntil(Done done, int timeoutMs);

    // From the HID link.
    void OnHidFrame(const QByteArray &frame, const QString &key);
    void OnHidLost(const QString &key);

protected:
    void Dispatch(CUsbDev &dev, const QByteArray &frame) override;
    void SendFrame(CUsbDev &dev, const QByteArray &frame) override;
    void Log(const QString &text) override;
    void LogFailure(const QString &text) override;
    int ImageNumber() const override { return -1; }
    void Pause(CUsbDev &dev, int ms) override;
    void OnProgFile(CUsbDev &dev, const QString &localPath) override;
    void OnSyncCounters(CUsbDev &dev, quint32 pass, quint32 fail) override;
    void OnResult(CUsbDev &dev, const UsbResult &result) override;
    void OnPullDone(CUsbDev &dev, const QString &path, const QString &localPath, quint32 size, bool ok) override;

private:
    void Read(CCliUsbDev &dev);
    void Flush();
    bool RunStep(int timeoutMs, const QElapsedTimer &timer);
    void Begin(CCliUsbDev &dev, CCliUsbDev::Job job);
    void Finish(CCliUsbDev &dev, bool ok, const QString &reason = QString());
    CCliUsbDev *FindKey(const QString &key) const;

    std::vector<std::unique_ptr<CCliUsbDev>> m_devs;
    std::unique_ptr<CCliHost> m_pHost;
    std::unique_ptr<CUsbHidLink> m_pHid;
    CCliUsbDev *m_pCurrent = nullptr; // the programmer whose frame is handled
    quint8 m_nCurrentCode = 0;        // and the frame's command
    QElapsedTimer m_clock;
    QTimer m_sendTimer;
    QTimer m_beat;
};

template <typename Done> bool CCliUsbSession::RunUntil(Done done, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (!RunStep(timeoutMs, timer))
            return false;
    }
    return true;
}
