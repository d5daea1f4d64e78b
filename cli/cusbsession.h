#pragma once
// The USB programmers (VCP) one qelctl command talks to: opens their ports,
// runs the console's initialisation through the shared host handler (UID,
// the three pulls, synchronisation, image attributes) and keeps what they
// answered. Frames a programmer needs a pause before wait in its own queue.
#include <cusbdev.h>
#include <cusbhosthandler.h>
#include <progerinfo.h>

#include <QElapsedTimer>
#include <QObject>
#include <QSerialPort>
#include <QStringList>
#include <QTimer>

#include <deque>
#include <memory>
#include <vector>

class CCliUsbDev : public CUsbDev
{
public:
    QString name() const override { return m_strPort; }

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
};

class CCliUsbSession : public QObject, public CUsbHostHandler
{
    Q_OBJECT
public:
    CCliUsbSession();
    ~CCliUsbSession() override;

    // Opens every port; one that cannot be opened keeps its error.
    void OpenVcp(const QStringList &ports);
    // Initialises every open programmer; true when all of them answered in time.
    bool Initialise(int timeoutMs);

    const std::vector<std::unique_ptr<CCliUsbDev>> &Devices() const { return m_devs; }

    // Runs the event loop until done() holds or timeoutMs passed; false on time-out.
    template <typename Done> bool RunUntil(Done done, int timeoutMs);

protected:
    void SendFrame(CUsbDev &dev, const QByteArray &frame) override;
    void Log(const QString &text) override;
    int ImageNumber() const override { return -1; }
    void Pause(CUsbDev &dev, int ms) override;
    void OnProgFile(CUsbDev &dev, const QString &localPath) override;
    void OnSyncCounters(CUsbDev &dev, quint32 pass, quint32 fail) override;

private:
    void Read(CCliUsbDev &dev);
    void Flush();
    bool RunStep(int timeoutMs, const QElapsedTimer &timer);

    std::vector<std::unique_ptr<CCliUsbDev>> m_devs;
    QElapsedTimer m_clock;
    QTimer m_sendTimer;
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
