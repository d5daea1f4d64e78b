#pragma once
// FTP client of the offline image store, on libcurl. One command runs at a
// time on a worker thread, so the window never waits on the network; each
// command ends with finished() on the owner's thread. Remote names are plain
// names inside the configured folder; downloads land only in the given folder.
#include <QObject>
#include <QString>
#include <QStringList>
#include <QThread>

#include <atomic>
#include <memory>

struct FtpAccount
{
    QString host = QStringLiteral("127.0.0.1");
    int port = 21;
    QString user;
    QString password;
    QString folder = QStringLiteral("/ftp/custom_bin/");
};

class CFtpClient : public QObject
{
    Q_OBJECT
public:
    enum Command { None, List, Put, Get, Remove, Size };
    Q_ENUM(Command)
    // Which step of a command failed: every command connects, logs in and
    // changes to the folder before its own transfer.
    enum Failure { NoFailure, ConnectFailed, LoginFailed, FolderFailed, TransferFailed };

    struct Result
    {
        Command command = None;
        bool ok = false;
        QString name;          // remote name the command was about
        QString error;         // curl's text when !ok
        Failure failure = NoFailure;
        QStringList entries;   // List
        qint64 size = -1;      // Size, Get, Put
    };

    explicit CFtpClient(QObject *parent = nullptr);
    ~CFtpClient() override;

    void SetAccount(const FtpAccount &account) { m_account = account; }
    const FtpAccount &Account() const { return m_account; }
    // Seconds without a byte moving before a transfer is given up.
    void SetStallSeconds(int seconds) { m_nStallSeconds = seconds; }

    // Each returns false (and starts nothing) while a command runs or when a
    // name is not plain; otherwise finished() follows.
    bool list();
    bool put(const QString &localPath, const QString &remoteName);
    // A download larger than maxBytes (negative: any size) fails and keeps the old copy.
    bool get(const QString &remoteName, const QString &localFolder, qint64 maxBytes = -1);
    bool remove(const QString &remoteName);
    bool size(const QString &remoteName);
    // Ends the running command; finished() reports it failed.
    void abort();
    bool isBusy() const { return m_bBusy; }

signals:
    void started(CFtpClient::Command command, const QString &name);
    void progress(qint64 done, qint64 total);
    void finished(const CFtpClient::Result &result);

public:
    struct Job;   // one command on the worker thread

private:
    // Null for a name that is not plain.
    std::shared_ptr<Job> NewJob(Command command, const QString &remoteName) const;
    bool Start(std::shared_ptr<Job> job);
    static void Run(Job &job);

    FtpAccount m_account;
    int m_nStallSeconds = 15;
    bool m_bBusy = false;
    QThread m_thread;
    std::unique_ptr<QObject> m_pWorker;   // lives on m_thread, deleted once it has ended
    std::shared_ptr<std::atomic_bool> m_pAbort;
};

Q_DECLARE_METATYPE(CFtpClient::Result)
