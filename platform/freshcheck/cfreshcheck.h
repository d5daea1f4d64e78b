#pragma once
// Release check of a program or of a programmer firmware. Fetches the update
// definition the way the updater does (HTTP GET of [UPDATE] URL of the
// program's INI file, JSON "updates" -> "linux" else "windows"), compares the
// latest version with the one in use and, when asked, runs the updater to
// install a newer release. Results arrive through the virtual On* functions,
// always on the thread that owns the object.
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QString>

#include <memory>

class QNetworkAccessManager;
class QNetworkReply;
class UpdateInter;

class CFreshCheck : public QObject
{
    Q_OBJECT
public:
    // What one update definition offers.
    struct Release
    {
        QString strModule;    // module checked ("qel720A_server", "qel720A", ...)
        QString strCurrent;   // version in use
        QString strLatest;    // "latest-version"
        QString strChangelog; // "changelog"
        QString strUrl;       // "download-url"
        bool bFirmware = false;
    };

    explicit CFreshCheck(QObject *parent = nullptr);
    ~CFreshCheck() override;

    // title: what is checked, for the debug output; iniFile: the program's INI
    // file in the per-user folder; current: version in use; install: run the
    // updater when a newer release exists; module: name of the module whose
    // definition is fetched; firmware: the module is a programmer firmware.
    // A second check of the same module and version while one runs is dropped.
    void CheckUpdate(const QString &title, const QString &iniFile, const QString &current, bool install,
                     const QString &module, bool firmware = false);

    // The updater to run; "qelupdate" beside the program when empty.
    void SetUpdaterProgram(const QString &path);
    // Address of the update definition of module: [UPDATE] URL of iniFile, by
    // default the update server's "/api/files/<module>.json".
    static QString DefinitionUrl(const QString &module, const QString &iniFile);
    // Parses a definition; false with reason when it holds no usable entry.
    static bool ParseDefinition(const QByteArray &json, Release &release, QString &reason);
    // Whether latest is newer than current.
    static bool IsNewer(const QString &latest, const QString &current);

    int PendingChecks() const { return m_pending.size(); }

protected:
    // The version in use is the newest.
    virtual void OnLatest(const Release &release);
    // A newer release exists (install was not asked for, or the updater is starting).
    virtual void OnAvailable(const Release &release);
    // The definition could not be fetched or read.
    virtual void OnCheckFailed(const QString &module, const QString &reason);
    // The updater finished: ok with the path of what it downloaded, else its message.
    virtual void OnInstalled(const Release &release, bool ok, const QString &message);

private:
    class Runner;
    struct Pending
    {
        QString strTitle;
        QString strIniFile;
        bool bInstall = false;
        Release release;
    };

    void OnReply(QNetworkReply *reply);
    void RunUpdater(const Pending &pending);
    void OnUpdaterDone(bool ok, const QString &message);

    QNetworkAccessManager *m_pNet = nullptr; // child of this object
    QHash<QNetworkReply *, Pending> m_pending;
    std::unique_ptr<Runner> m_pRunner;
    Release m_installing;
    QString m_strUpdater;
};
