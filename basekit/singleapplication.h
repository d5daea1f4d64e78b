#pragma once
// Application object that knows whether its program already runs, and lets
// programs of the suite on one PC send each other short messages through their
// shared-memory mailboxes. Two threads poll every 30 ms: one delivers queued
// messages, one empties the own mailbox into bytesAvailable.
#include "basekit_global.h"

#include <QApplication>
#include <QThread>

#include <atomic>
#include <memory>

class CShamMailbox;
class QTimer;
class SingleApplication;

class BASEKIT_EXPORT ShamThread : public QThread
{
    Q_OBJECT
public:
    explicit ShamThread(SingleApplication *app) : m_pApp(app) {}
    void Stop();

protected:
    // One round of the thread's work, every 30 ms while it runs.
    virtual void work() = 0;
    SingleApplication *m_pApp;

private:
    void run() override;
    std::atomic<bool> m_bRun{true};
};

class BASEKIT_EXPORT ShamSendThread : public ShamThread
{
    Q_OBJECT
public:
    using ShamThread::ShamThread;

protected:
    void work() override;
};

class BASEKIT_EXPORT ShamRecvThread : public ShamThread
{
    Q_OBJECT
public:
    using ShamThread::ShamThread;

protected:
    void work() override;
};

class BASEKIT_EXPORT SingleApplication : public QApplication
{
    Q_OBJECT
public:
    // module: the program's enumModuleID; its name keys the mailbox.
    SingleApplication(int &argc, char **argv, int module);
    ~SingleApplication() override;

    bool isRunning() const { return m_bRunning; }
    // The start-up check of a station: when another instance runs, tells the
    // user so and returns true (the program then ends).
    bool refuseSecondStart();
    int module() const { return m_nModule; }

    // Queues payload for the program with that key or module; false only for a
    // payload too large for any mailbox.
    static bool sendSpecMessage(const QString &key, const QByteArray &payload);
    static bool sendSpecMessage(int module, const QByteArray &payload);
    // Whether the program with that key or module runs now.
    static bool checkSpecAppRunning(const QString &key);
    static bool checkSpecAppRunning(int module);
    // Messages still waiting in this process's queue.
    static int pendingMessages();

    // Sends the heartbeat request to the heartbeat receiver every 5 s.
    void enableAutoHeart();
    static QByteArray heartbeatText();

    // The work of the two threads.
    void checkForSend();
    void checkForRecv();

signals:
    void bytesAvailable(quint8 sender, const QByteArray &payload);

private:
    int m_nModule;
    bool m_bRunning = false;
    std::unique_ptr<CShamMailbox> m_pMailbox;
    std::unique_ptr<ShamSendThread> m_pSendThread;
    std::unique_ptr<ShamRecvThread> m_pRecvThread;
    QTimer *m_pHeartTimer = nullptr; // child of this object
};
