#include "updater.h"

#include "cmessagebox.h"
#include "cupdaterules.h"
#include "downloader.h"
#include "functool.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDesktopServices>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUrl>

namespace {
// A definition is a few hundred bytes; anything far larger is not one.
constexpr qint64 kMaxDefinition = 1 << 20;
constexpr int kTimeoutMs = 30000;
} // namespace

Updater::Updater(const QString &url, QObject *parent)
    : QObject(parent), m_strUrl(url), m_strProgramDir(QCoreApplication::applicationDirPath()),
      m_pManager(new QNetworkAccessManager(this)), m_pDownloader(std::make_unique<Downloader>())
{
    m_pDownloader->setUrlId(url);
    m_pDownloader->setProgramDir(m_strProgramDir);
    connect(m_pManager, &QNetworkAccessManager::finished, this, &Updater::onReply);
    connect(m_pDownloader.get(), &Downloader::downloadFinished, this, &Updater::downloadFinished);
    connect(m_pDownloader.get(), &Downloader::logGenerated, this, &Updater::logGenerated);
    connect(m_pDownloader.get(), &Downloader::progressUpdated, this, &Updater::progressUpdated);
    connect(m_pDownloader.get(), &Downloader::workFinished, this, &Updater::workFinished);
}

Updater::~Updater() = default;

bool Updater::useCustomInstallProcedure() const
{
    return m_pDownloader->useCustomInstallProcedure();
}

QString Updater::downloadedFile() const
{
    return m_pDownloader->downloadedFile();
}

void Updater::setModuleVersion(const QString &version)
{
    m_strModuleVersion = FuncTool::CleanVer(version);
}

void Updater::setUseCustomInstallProcedure(bool custom)
{
    m_pDownloader->setUseCustomInstallProcedure(custom);
}

void Updater::setProgramDir(const QString &dir)
{
    m_strProgramDir = dir;
    m_pDownloader->setProgramDir(dir);
}

void Updater::log(const QString &text)
{
    qInfo().noquote() << text;
    emit logGenerated(m_strUrl, text);
}

void Updater::checkForUpdates()
{
    QNetworkRequest request{QUrl(m_strUrl)};
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setRawHeader("User-Agent", CUpdateRules::UserAgent(m_strModuleName, m_strModuleVersion).toUtf8());
    request.setTransferTimeout(kTimeoutMs);
    QNetworkReply *reply = m_pManager->get(request);
    connect(reply, &QNetworkReply::downloadProgress, reply, [reply](qint64 received, qint64) {
        if (received > kMaxDefinition)
            reply->abort();
    });
}

void Updater::onReply(QNetworkReply *reply)
{
    reply->deleteLater();
    if (reply->error() != QNetworkReply::NoError) {
        const QString error = reply->errorString();
        log(QStringLiteral("update check failed: ") + error);
        if (m_bNotifyOnFinish)
            CMessageBox::Warn(nullptr, tr("检查失败"), tr("检查更新失败 %1，服务器返回失败，error=%2!").arg(m_strModuleName, error));
        m_bUpdateAvailable = false;
        emit checkingFinished(m_strUrl);
        emit workFinished(m_strUrl);
        return;
    }
    const QByteArray body = reply->readAll();
    if (m_bCustomAppcast) {
        emit appcastDownloaded(m_strUrl, body);
        emit checkingFinished(m_strUrl);
        emit workFinished(m_strUrl);
        return;
    }
    decide(body);
}

void Updater::decide(const QByteArray &body)
{
    log(QStringLiteral("update http json: ") + QString::fromUtf8(body));
    QString reason;
    if (!m_definition.Parse(body, reason)) {
        log(QStringLiteral("json: ") + reason);
        if (m_bNotifyOnFinish)
            CMessageBox::Warn(nullptr, tr("检查失败"), tr("检查更新失败 %1, Json解析失败!").arg(m_strModuleName));
        m_bUpdateAvailable = false;
        emit checkingFinished(m_strUrl);
        emit workFinished(m_strUrl);
        return;
    }
    m_bMandatory = m_bMandatory || m_definition.bMandatory;
    m_pDownloader->setMandatoryUpdate(m_bMandatory);
    m_pDownloader->setExpectedMd5(m_definition.strMd5);

    m_bUpdateAvailable = CUpdateDefinition::IsNewer(m_definition.strLatest, m_strModuleVersion);
    if (!m_bUpdateAvailable) {
        // Same version number: the files themselves may still differ.
        const QString moduleMd5 = FuncTool::MakeMd5(moduleFile());
        log(QStringLiteral("latestMD5=%1, moduleMD5=%2").arg(m_definition.strMd5, moduleMd5));
        m_bUpdateAvailable = !m_definition.strMd5.isEmpty() && !moduleMd5.isEmpty()
            && moduleMd5.compare(m_definition.strMd5, Qt::CaseInsensitive) != 0;
    }
    emit checkingFinished(m_strUrl);
    if (m_bUpdateAvailable && m_bNotifyOnUpdate)
        offerUpdate();
    else
        emit workFinished(m_strUrl);
}

void Updater::offerUpdate()
{
    const QString text = QStringLiteral("<h3>") + tr("应用[%1]的 %2 版本已经发布!").arg(m_strModuleName, m_definition.strLatest)
        + QStringLiteral("</h3>");
    const QString question = m_bMandatory ? tr("您希望立即下载最新版本吗? 这是必要的更新，现在退出将关闭应用")
                                          : tr("您希望立即下载最新版本吗?");
    if (CMessageBox::Ask(nullptr, tr("提示"), text + question, QMessageBox::Yes) != QMessageBox::Yes) {
        emit workFinished(m_strUrl);
        if (m_bMandatory)
            QCoreApplication::quit();
        return;
    }
    if (!m_definition.strOpenUrl.isEmpty()) {
        QDesktopServices::openUrl(QUrl(m_definition.strOpenUrl));
        emit workFinished(m_strUrl);
        return;
    }
    if (!m_bDownloaderEnabled) {
        emit workFinished(m_strUrl);
        return;
    }
    log(QStringLiteral("startDownload for ") + m_definition.strDownloadUrl);
    m_pDownloader->setModuleName(m_strModuleName);
    m_pDownloader->setUserAgent(CUpdateRules::UserAgent(m_strModuleName, m_strModuleVersion));
    m_pDownloader->startDownload(QUrl(m_definition.strDownloadUrl));
}

QString Updater::moduleFile() const
{
    const QString name = CUpdateRules::ProgramName(m_strModuleName);
    const QString plain = m_strProgramDir + QLatin1Char('/') + name;
    if (QFileInfo(plain).isFile())
        return plain;
    return plain + QLatin1String(".exe");
}
