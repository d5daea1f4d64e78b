#include "cupdaterules.h"

#include "functool.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

namespace {
const char kDefaultFile[] = "QSU_Update.bin";
// The body some update servers send instead of a 404 status.
const QByteArray kNotFound = QByteArrayLiteral("404 not found");
} // namespace

QString CUpdateRules::ProgramName(const QString &module)
{
    QString name = module.trimmed();
    if (name.endsWith(QLatin1String(".exe"), Qt::CaseInsensitive))
        name.chop(4);
    return name;
}

QString CUpdateRules::UserAgent(const QString &module, const QString &version)
{
    return QStringLiteral("%1/%2 (Qt; QSimpleUpdater)").arg(module, version);
}

QString CUpdateRules::FileNameFromUrl(const QUrl &url)
{
    const QString name = url.fileName();
    // Only a plain name may become a file in the download folder.
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..")
        || name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')))
        return QLatin1String(kDefaultFile);
    return name;
}

QString CUpdateRules::DownloadFolder()
{
    const QString dir = QDir::homePath() + QLatin1String("/Downloads/");
    QDir().mkpath(dir);
    return dir;
}

QString CUpdateRules::VerdictLine(bool ok, const QString &path)
{
    return (ok ? QLatin1String("success$") : QLatin1String("fail$")) + path;
}

QString CUpdateRules::SizeText(qint64 bytes)
{
    if (bytes < 0)
        return tr("大小未知");
    if (bytes < 1024)
        return tr("%1 bytes").arg(bytes);
    if (bytes < 1024 * 1024)
        return tr("%1 KB").arg(qRound(double(bytes) / 1024));
    return tr("%1 MB").arg(double(bytes) / (1024 * 1024), 0, 'f', 1);
}

qint64 CUpdateRules::SecondsLeft(qint64 received, qint64 total, qint64 elapsedMs)
{
    if (received <= 0 || total <= 0 || elapsedMs <= 0 || received > total)
        return -1;
    const double rate = double(received) / double(elapsedMs); // bytes per ms
    return qint64(double(total - received) / rate / 1000 + 0.5);
}

QString CUpdateRules::TimeLeftText(qint64 seconds)
{
    if (seconds < 0)
        return QString();
    if (seconds >= 7200)
        return tr("约 %1 小时").arg(seconds / 3600);
    if (seconds >= 3600)
        return tr("约1小时");
    if (seconds >= 120)
        return tr("%1 分钟").arg(seconds / 60);
    if (seconds >= 60)
        return tr("1 分钟");
    if (seconds == 1)
        return tr("1 秒");
    return tr("%1 秒").arg(seconds);
}

bool CUpdateRules::CheckDownload(const Transfer &transfer, const QString &path, const QString &expectedMd5,
                                 QString &reason)
{
    if (transfer.nStatus >= 400) {
        reason = QStringLiteral("HTTP %1").arg(transfer.nStatus);
        return false;
    }
    if (!transfer.strError.isEmpty()) {
        reason = transfer.strError;
        return false;
    }
    const qint64 size = QFileInfo(path).size();
    if (transfer.nAnnounced >= 0 && (transfer.nReceived != transfer.nAnnounced || size != transfer.nAnnounced)) {
        reason = QStringLiteral("%1 of %2 bytes").arg(size).arg(transfer.nAnnounced);
        return false;
    }
    if (size == kNotFound.size()) {
        QFile file(path);
        if (file.open(QIODevice::ReadOnly) && file.readAll() == kNotFound) {
            reason = QString::fromLatin1(kNotFound);
            return false;
        }
    }
    if (!expectedMd5.isEmpty()) {
        const QString md5 = FuncTool::MakeMd5(path);
        if (md5.compare(expectedMd5, Qt::CaseInsensitive) != 0) {
            reason = QStringLiteral("latestMD5=%1, fileMD5=%2").arg(expectedMd5, md5);
            return false;
        }
    }
    return true;
}
