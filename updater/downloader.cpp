#include "downloader.h"
#include "ui_downloader.h"

#include "cmessagebox.h"
#include "cpackageinstaller.h"
#include "cprogramprocess.h"
#include "cupdaterules.h"
#include "functool.h"

#include <QCoreApplication>
#include <QDebug>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {
constexpr int kTimeoutMs = 30000;
constexpr int kCloseWaitMs = 5000;
constexpr int kPauseMs = 1000;
} // namespace

Downloader::Downloader(QWidget *parent)
    : QWidget(parent), m_ui(new Ui::Downloader), m_pManager(new QNetworkAccessManager(this))
{
    m_ui->setupUi(this);
}

Downloader::~Downloader()
{
    // Going away is no verdict.
    if (m_pReply) {
        m_pReply->disconnect(this);
        m_pReply->abort();
    }
    delete m_ui;
}

void Downloader::setProgramDir(const QString &dir)
{
    // Paths handed over on a command line may keep their quotes.
    m_strProgramDir = dir;
    if (m_strProgramDir.startsWith(QLatin1Char('"')))
        m_strProgramDir.remove(0, 1);
    if (m_strProgramDir.endsWith(QLatin1Char('"')))
        m_strProgramDir.chop(1);
}

QString Downloader::downloadedFile() const
{
    return m_strDownloadDir + m_strFileName;
}

void Downloader::log(const QString &text)
{
    qInfo().noquote() << text;
    emit logGenerated(m_strUrlId, text);
}

void Downloader::startDownload(const QUrl &url)
{
    if (m_pReply) {
        log(QStringLiteral("download already running: ") + m_pReply->url().toString());
        return;
    }
    if (m_strDownloadDir.isEmpty())
        m_strDownloadDir = CUpdateRules::DownloadFolder();
    m_strFileName = CUpdateRules::FileNameFromUrl(url);
    m_nReceived = 0;
    m_bCancelled = false;
    m_part.setFileName(downloadedFile() + QLatin1String(".part"));
    if (!m_part.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        log(tr("下载失败: ") + m_part.errorString());
        finish(false);
        return;
    }
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setRawHeader("User-Agent", m_strUserAgent.toUtf8());
    // Unpacked by the server's length only: no transfer compression.
    request.setRawHeader("Accept-Encoding", "identity");
    request.setTransferTimeout(kTimeoutMs);
    log(QStringLiteral("request url:") + url.toString());
    m_ui->label_status->setText(tr("开始下载更新..."));
    m_ui->progress->setValue(0);
    m_ui->btn_stop->setText(tr("取消"));
    show();
    m_timer.start();
    m_pReply = m_pManager->get(request);
    connect(m_pReply, &QNetworkReply::readyRead, this, &Downloader::onReadyRead);
    connect(m_pReply, &QNetworkReply::downloadProgress, this, &Downloader::onProgress);
    connect(m_pReply, &QNetworkReply::finished, this, &Downloader::onFinished);
}

void Downloader::onReadyRead()
{
    const QByteArray data = m_pReply->readAll();
    if (m_part.write(data) != data.size()) {
        log(tr("下载失败: ") + m_part.errorString());
        m_pReply->abort();
        return;
    }
    m_nReceived += data.size();
}

void Downloader::onProgress(qint64 received, qint64 total)
{
    m_ui->label_status->setText(tr("正在下载更新文件"));
    const QString receivedText = CUpdateRules::SizeText(received);
    const QString totalText = CUpdateRules::SizeText(total > 0 ? total : -1);
    if (total > 0) {
        m_ui->progress->setMaximum(100);
        m_ui->progress->setValue(int(received * 100 / total));
        m_ui->label_size->setText(receivedText + QStringLiteral(" / ") + totalText);
        const QString left = CUpdateRules::TimeLeftText(CUpdateRules::SecondsLeft(received, total, m_timer.elapsed()));
        m_ui->label_time->setText(left.isEmpty() ? QString() : tr("剩余时间") + QStringLiteral(": ") + left);
    } else {
        m_ui->progress->setMaximum(0);
        m_ui->label_size->setText(receivedText + QStringLiteral(" / ") + totalText);
        m_ui->label_time->clear();
    }
    emit progressUpdated(m_strUrlId, receivedText, totalText, received, total);
}

void Downloader::onFinished()
{
    QNetworkReply *reply = m_pReply;
    reply->deleteLater();
    m_pReply = nullptr;
    if (reply->bytesAvailable())
        onReadyRead();
    m_part.close();

    CUpdateRules::Transfer transfer;
    if (reply->error() != QNetworkReply::NoError)
        transfer.strError = m_bCancelled ? QStringLiteral("cancelled") : reply->errorString();
    transfer.nStatus = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
    transfer.nAnnounced = length.isValid() ? length.toLongLong() : -1;
    transfer.nReceived = m_nReceived;

    const QString file = downloadedFile();
    QString reason;
    bool ok = CUpdateRules::CheckDownload(transfer, m_part.fileName(), m_strExpectedMd5, reason);
    // In one step, so an older file of that name is there until the new one is.
    if (ok && std::rename(QFile::encodeName(m_part.fileName()).constData(), QFile::encodeName(file).constData()) != 0) {
        reason = QString::fromLocal8Bit(std::strerror(errno));
        ok = false;
    }
    if (!ok) {
        // A bad download never replaces a good file of the same name.
        m_part.remove();
        m_ui->label_status->setText(tr("下载失败"));
        log(tr("下载失败: ") + reason);
        finish(false);
        return;
    }
    m_ui->label_status->setText(tr("下载完成"));
    m_ui->btn_stop->setText(tr("关闭"));
    log(tr("下载完成:") + file);
    emit downloadFinished(m_strUrlId, file);
    if (m_bCustomInstall) {
        finish(true);
        return;
    }
    const QString text = QStringLiteral("<h3>")
        + (m_bMandatory ? tr("为安装新版本程序，将退出当前程序") : tr("为完成更新，将退出当前运行的程序"))
        + QStringLiteral("</h3>");
    if (CMessageBox::Confirm(this, tr("提示"), text, tr("点击OK打开新版本程序")) != QMessageBox::Ok) {
        // Downloaded, but the program stays as it is.
        finish(true);
        if (m_bMandatory)
            QCoreApplication::quit();
        return;
    }
    install();
}

// The package must be usable before the program is closed, and the program
// runs again afterwards, updated or as it was.
void Downloader::install()
{
    const QString file = downloadedFile();
    const QString suffix = QFileInfo(file).suffix().toLower();
    if (suffix == QLatin1String("rar")) {
        CMessageBox::Error(this, tr("错误"), tr("不支持RAR格式的更新包，请使用ZIP格式: %1").arg(file));
        finish(false);
        return;
    }
    QString reason;
    if (suffix != QLatin1String("zip")) {
        CMessageBox::Error(this, tr("错误"), tr("找不到更新文件!"));
        finish(false);
        return;
    }
    if (!CPackageInstaller::CheckPackage(file, reason)) {
        log(reason);
        CMessageBox::Error(this, tr("错误"), reason);
        finish(false);
        return;
    }
    const QString name = CUpdateRules::ProgramName(m_strModuleName);
    const QString program = m_strProgramDir + QLatin1Char('/') + name;
    log(tr("关闭主程序 ") + name);
    for (qint64 pid : CProgramProcess::Find(program))
        log(tr("关闭进程ID: ") + QString::number(pid));
    if (!CProgramProcess::Close(program, kCloseWaitMs)) {
        log(tr("主程序无法关闭: ") + program);
        CMessageBox::Error(this, tr("错误"), tr("主程序无法关闭: ") + program);
        finish(false);
        return;
    }
    FuncTool::DoDelay(kPauseMs);

    CPackageInstaller installer([this](const QString &text) { log(text); });
    const bool ok = installer.Install(file, m_strProgramDir, reason);
    if (!ok)
        log(tr("更新失败: ") + reason);
    log(tr("重新启动主程序"));
    if (!CProgramProcess::Start(program))
        log(tr("主程序无法启动: ") + program);
    finish(ok);
    QTimer::singleShot(kPauseMs, qApp, &QCoreApplication::quit);
}

void Downloader::finish(bool ok)
{
    m_bVerdict = ok;
    const QByteArray line = CUpdateRules::VerdictLine(ok, downloadedFile()).toLocal8Bit() + '\n';
    std::fwrite(line.constData(), 1, size_t(line.size()), stdout);
    std::fflush(stdout);
    emit workFinished(m_strUrlId);
}

void Downloader::on_btn_stop_clicked()
{
    if (!m_pReply) {
        hide();
        return;
    }
    const QString text = m_bMandatory ? tr("确定取消下载吗? 这是必要的更新，现在退出将关闭应用") : tr("确定取消下载吗?");
    if (CMessageBox::Ask(this, tr("提示"), text) != QMessageBox::Yes)
        return;
    m_bCancelled = true;
    m_pReply->abort();
    if (m_bMandatory)
        QCoreApplication::quit();
}
