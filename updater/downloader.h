#pragma once
// The download dialog: fetches the package into the download folder through a
// ".part" file with progress, judges the result, installs it over the program
// (unless the caller installs by itself) and prints the verdict line.
#include <QElapsedTimer>
#include <QFile>
#include <QPointer>
#include <QUrl>
#include <QWidget>

class QNetworkAccessManager;
class QNetworkReply;

namespace Ui {
class Downloader;
}

class Downloader : public QWidget
{
    Q_OBJECT
public:
    explicit Downloader(QWidget *parent = nullptr);
    ~Downloader() override;

    void setUrlId(const QString &url) { m_strUrlId = url; }
    void setModuleName(const QString &name) { m_strModuleName = name; }
    void setUserAgent(const QString &agent) { m_strUserAgent = agent; }
    void setMandatoryUpdate(bool mandatory) { m_bMandatory = mandatory; }
    void setUseCustomInstallProcedure(bool custom) { m_bCustomInstall = custom; }
    void setExpectedMd5(const QString &md5) { m_strExpectedMd5 = md5; }
    void setProgramDir(const QString &dir);
    // Where packages go; by default the home folder's "Downloads".
    void setDownloadDir(const QString &dir) { m_strDownloadDir = dir; }

    bool useCustomInstallProcedure() const { return m_bCustomInstall; }
    // Full path of the (final) downloaded file.
    QString downloadedFile() const;
    bool lastVerdict() const { return m_bVerdict; }

    void startDownload(const QUrl &url);

signals:
    void downloadFinished(const QString &url, const QString &filePath);
    void logGenerated(const QString &url, const QString &text);
    void progressUpdated(const QString &url, const QString &receivedText, const QString &totalText, qint64 received,
                         qint64 total);
    void workFinished(const QString &url);

private slots:
    void on_btn_stop_clicked();

private:
    void onReadyRead();
    void onProgress(qint64 received, qint64 total);
    void onFinished();
    void install();
    // Prints the verdict line; the run is over.
    void finish(bool ok);
    void log(const QString &text);

    Ui::Downloader *m_ui;
    QNetworkAccessManager *m_pManager; // child of this object
    QPointer<QNetworkReply> m_pReply;
    QFile m_part;
    QElapsedTimer m_timer;
    qint64 m_nReceived = 0;
    QString m_strUrlId;
    QString m_strModuleName;
    QString m_strUserAgent;
    QString m_strExpectedMd5;
    QString m_strProgramDir;
    QString m_strDownloadDir;
    QString m_strFileName;
    bool m_bMandatory = false;
    bool m_bCustomInstall = false;
    bool m_bCancelled = false;
    bool m_bVerdict = false;
};
