#include "qsimpleupdater.h"

#include "updater.h"

QSimpleUpdater *QSimpleUpdater::s_pInstance = nullptr;

QSimpleUpdater *QSimpleUpdater::getInstance()
{
    if (!s_pInstance)
        s_pInstance = new QSimpleUpdater;
    return s_pInstance;
}

void QSimpleUpdater::release()
{
    delete s_pInstance;
    s_pInstance = nullptr;
}

Updater *QSimpleUpdater::getUpdater(const QString &url) const
{
    Updater *updater = m_updaters.value(url);
    if (updater)
        return updater;
    auto *self = const_cast<QSimpleUpdater *>(this);
    updater = new Updater(url, self);
    m_updaters.insert(url, updater);
    connect(updater, &Updater::checkingFinished, self, &QSimpleUpdater::checkingFinished);
    connect(updater, &Updater::appcastDownloaded, self, &QSimpleUpdater::appcastDownloaded);
    connect(updater, &Updater::downloadFinished, self, &QSimpleUpdater::downloadFinished);
    connect(updater, &Updater::logGenerated, self, &QSimpleUpdater::logGenerated);
    connect(updater, &Updater::progressUpdated, self, &QSimpleUpdater::progressUpdated);
    connect(updater, &Updater::workFinished, self, &QSimpleUpdater::workFinished);
    return updater;
}

bool QSimpleUpdater::getNotifyOnUpdate(const QString &url) const { return getUpdater(url)->notifyOnUpdate(); }
bool QSimpleUpdater::getNotifyOnFinish(const QString &url) const { return getUpdater(url)->notifyOnFinish(); }
bool QSimpleUpdater::getUpdateAvailable(const QString &url) const { return getUpdater(url)->updateAvailable(); }
bool QSimpleUpdater::getDownloaderEnabled(const QString &url) const { return getUpdater(url)->downloaderEnabled(); }
bool QSimpleUpdater::usesCustomInstallProcedure(const QString &url) const { return getUpdater(url)->useCustomInstallProcedure(); }
bool QSimpleUpdater::getMandatoryUpdate(const QString &url) const { return getUpdater(url)->mandatoryUpdate(); }
QString QSimpleUpdater::getOpenUrl(const QString &url) const { return getUpdater(url)->openUrl(); }
QString QSimpleUpdater::getChangelog(const QString &url) const { return getUpdater(url)->changelog(); }
QString QSimpleUpdater::getDownloadUrl(const QString &url) const { return getUpdater(url)->downloadUrl(); }
QString QSimpleUpdater::getLatestVersion(const QString &url) const { return getUpdater(url)->latestVersion(); }
QString QSimpleUpdater::getModuleName(const QString &url) const { return getUpdater(url)->moduleName(); }
QString QSimpleUpdater::getModuleVersion(const QString &url) const { return getUpdater(url)->moduleVersion(); }
QString QSimpleUpdater::getDownloadedFile(const QString &url) const { return getUpdater(url)->downloadedFile(); }

void QSimpleUpdater::checkForUpdates(const QString &url) { getUpdater(url)->checkForUpdates(); }
void QSimpleUpdater::setModuleName(const QString &url, const QString &name) { getUpdater(url)->setModuleName(name); }
void QSimpleUpdater::setModuleVersion(const QString &url, const QString &version) { getUpdater(url)->setModuleVersion(version); }
void QSimpleUpdater::setNotifyOnUpdate(const QString &url, bool notify) { getUpdater(url)->setNotifyOnUpdate(notify); }
void QSimpleUpdater::setNotifyOnFinish(const QString &url, bool notify) { getUpdater(url)->setNotifyOnFinish(notify); }
void QSimpleUpdater::setDownloaderEnabled(const QString &url, bool enabled) { getUpdater(url)->setDownloaderEnabled(enabled); }
void QSimpleUpdater::setUseCustomInstallProcedure(const QString &url, bool custom) { getUpdater(url)->setUseCustomInstallProcedure(custom); }
void QSimpleUpdater::setUseCustomAppcast(const QString &url, bool custom) { getUpdater(url)->setUseCustomAppcast(custom); }
void QSimpleUpdater::setMandatoryUpdate(const QString &url, bool mandatory) { getUpdater(url)->setMandatoryUpdate(mandatory); }
void QSimpleUpdater::setProgramDir(const QString &url, const QString &dir) { getUpdater(url)->setProgramDir(dir); }
