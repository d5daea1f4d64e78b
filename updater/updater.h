#pragma once
// One update definition and what became of it: fetches the definition, decides
// whether a newer release exists, asks, and hands the download to its Downloader.
#include "cupdatedefinition.h"

#include <QObject>
#include <QString>

#include <memory>

class Downloader;
class QNetworkAccessManager;
class QNetworkReply;

class Updater : public QObject
{
    Q_OBJECT
public:
    explicit Updater(const QString &url, QObject *parent = nullptr);
    ~Updater() override;

    QString url() const { return m_strUrl; }
    QString openUrl() const { return m_definition.strOpenUrl; }
    QString changelog() const { return m_definition.strChangelog; }
    QString downloadUrl() const { return m_definition.strDownloadUrl; }
    QString latestVersion() const { return m_definition.strLatest; }
    QString moduleName() const { return m_strModuleName; }
    QString moduleVersion() const { return m_strModuleVersion; }
    bool updateAvailable() const { return m_bUpdateAvailable; }
    bool mandatoryUpdate() const { return m_bMandatory; }
    bool notifyOnUpdate() const { return m_bNotifyOnUpdate; }
    bool notifyOnFinish() const { return m_bNotifyOnFinish; }
    bool downloaderEnabled() const { return m_bDownloaderEnabled; }
    bool useCustomInstallProcedure() const;
    bool useCustomAppcast() const { return m_bCustomAppcast; }
    QString downloadedFile() const;
    QString programDir() const { return m_strProgramDir; }
    Downloader *downloader() const { return m_pDownloader.get(); }

    void setModuleName(const QString &name) { m_strModuleName = name; }
    void setModuleVersion(const QString &version);
    void setNotifyOnUpdate(bool notify) { m_bNotifyOnUpdate = notify; }
    void setNotifyOnFinish(bool notify) { m_bNotifyOnFinish = notify; }
    void setDownloaderEnabled(bool enabled) { m_bDownloaderEnabled = enabled; }
    void setUseCustomInstallProcedure(bool custom);
    void setUseCustomAppcast(bool custom) { m_bCustomAppcast = custom; }
    void setMandatoryUpdate(bool mandatory) { m_bMandatory = mandatory; }
    // Folder of the program to update (default: the updater's own folder).
    void setProgramDir(const QString &dir);

public slots:
    void checkForUpdates();

signals:
    void checkingFinished(const QString &url);
    void appcastDownloaded(const QString &url, const QByteArray &data);
    void downloadFinished(const QString &url, const QString &filePath);
    void logGenerated(const QString &url, const QString &text);
    void progressUpdated(const QString &url, const QString &receivedText, const QString &totalText, qint64 received,
                         qint64 total);
    // Nothing more will happen for this definition (no update, a failure, or
    // the download and installation are over).
    void workFinished(const QString &url);

private:
    void onReply(QNetworkReply *reply);
    void decide(const QByteArray &body);
    void offerUpdate();
    void log(const QString &text);
    // The module's own file, for the MD5 comparison.
    QString moduleFile() const;

    QString m_strUrl;
    QString m_strModuleName;
    QString m_strModuleVersion;
    QString m_strProgramDir;
    CUpdateDefinition m_definition;
    bool m_bUpdateAvailable = false;
    bool m_bMandatory = false;
    bool m_bNotifyOnUpdate = true;
    bool m_bNotifyOnFinish = false;
    bool m_bDownloaderEnabled = true;
    bool m_bCustomAppcast = false;
    QNetworkAccessManager *m_pManager; // child of this object
    std::unique_ptr<Downloader> m_pDownloader;
};
