#pragma once
// Process-wide registry of updaters, one per definition URL; forwards settings
// and queries to the Updater of a URL and relays its signals.
#include <QHash>
#include <QObject>
#include <QString>

class Updater;

class QSimpleUpdater : public QObject
{
    Q_OBJECT
public:
    static QSimpleUpdater *getInstance();
    // Ends the registry with its updaters and their windows; call before the
    // application object goes.
    static void release();

    bool getNotifyOnUpdate(const QString &url) const;
    bool getNotifyOnFinish(const QString &url) const;
    bool getUpdateAvailable(const QString &url) const;
    bool getDownloaderEnabled(const QString &url) const;
    bool usesCustomInstallProcedure(const QString &url) const;
    bool getMandatoryUpdate(const QString &url) const;
    QString getOpenUrl(const QString &url) const;
    QString getChangelog(const QString &url) const;
    QString getDownloadUrl(const QString &url) const;
    QString getLatestVersion(const QString &url) const;
    QString getModuleName(const QString &url) const;
    QString getModuleVersion(const QString &url) const;
    QString getDownloadedFile(const QString &url) const;

    void checkForUpdates(const QString &url);
    void setModuleName(const QString &url, const QString &name);
    void setModuleVersion(const QString &url, const QString &version);
    void setNotifyOnUpdate(const QString &url, bool notify);
    void setNotifyOnFinish(const QString &url, bool notify);
    void setDownloaderEnabled(const QString &url, bool enabled);
    void setUseCustomInstallProcedure(const QString &url, bool custom);
    void setUseCustomAppcast(const QString &url, bool custom);
    void setMandatoryUpdate(const QString &url, bool mandatory);
    void setProgramDir(const QString &url, const QString &dir);

    // The Updater of url, made on first use.
    Updater *getUpdater(const QString &url) const;

signals:
    void checkingFinished(const QString &url);
    void appcastDownloaded(const QString &url, const QByteArray &data);
    void downloadFinished(const QString &url, const QString &filePath);
    void logGenerated(const QString &url, const QString &text);
    void progressUpdated(const QString &url, const QString &receivedText, const QString &totalText, qint64 received,
                         qint64 total);
    void workFinished(const QString &url);

private:
    QSimpleUpdater() = default;
    static QSimpleUpdater *s_pInstance;
    mutable QHash<QString, Updater *> m_updaters; // children of this object
};
