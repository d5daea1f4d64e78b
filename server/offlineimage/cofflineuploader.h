#pragma once
// The FTP side of the offline image store, step after step: the account file
// check, the upload of the home image, the 100-file rule, the registration of
// the upload with the cloud service and the fetch of "record.ini". Every step
// reports its texts through signals; a failing step ends the sequence and
// leaves the object ready for the next one.
#include "cftpclient.h"
#include "cofflinerecord.h"

#include <QObject>
#include <QTimer>

#include <functional>

class COfflineUploader : public QObject
{
    Q_OBJECT
public:
    enum Step { Idle, AccountFile, PutImage, ListFolder, RemoveImage, Registering, Record };
    Q_ENUM(Step)
    enum MessageKind { Info, Warn, Error };

    struct HomeImage
    {
        QString path;   // local file
        QString name;   // name in the store
        QString crc2;
    };
    // Builds the home image; false when it cannot be built.
    using Builder = std::function<bool(HomeImage &image)>;
    // Sends the upload token, image name and CRC2 to the service; OnRegistered() follows.
    using Registrar = std::function<void(const QString &token, const QString &name, const QString &crc2)>;

    static constexpr qint64 kMaxAccountFileBytes = 64 * 1024;
    static constexpr int kRegisterMs = 10000;

    explicit COfflineUploader(QObject *parent = nullptr);

    void SetAccount(const FtpAccount &account) { m_ftp.SetAccount(account); }
    void SetStallSeconds(int seconds) { m_ftp.SetStallSeconds(seconds); }
    // Folder where the account file and the record are fetched to.
    void SetDataDir(const QString &dir) { m_strDataDir = dir; }
    void SetUser(const QString &user, const QString &password);
    void SetBuilder(Builder builder) { m_builder = std::move(builder); }
    void SetRegistrar(Registrar registrar) { m_registrar = std::move(registrar); }

    Step CurrentStep() const { return m_step; }
    bool IsBusy() const { return m_step != Idle; }
    static QString AccountFileName(const QString &user);

    // Account file check, then the upload. False while another step runs.
    bool StartUpload();
    // Fetches "record.ini" alone. False while another step runs.
    bool FetchRecord();
    // The service's answer to the registration.
    void OnRegistered(bool ok);
    // Ends whatever runs (log-out, dialog closed).
    void Close();

signals:
    void sigStatus(const QString &text);
    void sigLog(const QString &text);
    void sigMessage(int kind, const QString &title, const QString &text);
    void sigProgress(qint64 done, qint64 total);
    void sigAccountRefused();
    void sigAccountAccepted();
    // The record's entries (empty for a record that did not parse).
    void sigRecord(const QList<COfflineRecord::Entry> &entries);
    // The image is stored and registered.
    void sigUploaded(const QString &name);
    // The sequence has ended, well or not.
    void sigIdle();

private:
    void OnFinished(const CFtpClient::Result &result);
    void AfterAccountFile(const CFtpClient::Result &result);
    void CheckAccount(const QString &path);
    void Upload();
    void AfterList(const CFtpClient::Result &result);
    void AfterRecord(const CFtpClient::Result &result);
    void Status(const QString &text, bool log = true);
    void Message(int kind, const QString &title, const QString &text) { emit sigMessage(kind, title, text); }
    void End();
    bool Begin(Step step, const std::function<bool()> &start);

    CFtpClient m_ftp;
    QTimer m_registerTimer;
    Builder m_builder;
    Registrar m_registrar;
    QString m_strDataDir;
    QString m_strUser;
    QString m_strPassword;
    HomeImage m_image;
    QString m_strToken;
    bool m_bRemoved = false;   // the upload was taken back: nothing to register
    Step m_step = Idle;
};
