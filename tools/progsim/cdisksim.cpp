#include "cdisksim.h"

#include "burnhub.h"
#include "functool.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QTimer>

namespace {
const char kRefresh[] = "cmd/param_refresh.cmd";
// Writers finish a file in a few steps; look once things are quiet.
constexpr int kSettleMs = 150;
// Also look now and then, for file systems without change notification.
constexpr int kPollMs = 1000;
} // namespace

CDiskSim::CDiskSim(const QString &folder, const SimIdentity &identity, QObject *parent)
    : CSimDevice(identity, parent), m_folder(folder), m_check(identity.strID)
{
}

bool CDiskSim::Start(QString &err)
{
    if (!m_folder.Prepare(Identity(), err))
        return false;
    m_pWatcher = new QFileSystemWatcher(this);
    m_pWatcher->addPath(m_folder.Root());
    for (const QString &sub : CSimFolder::SubFolders())
        m_pWatcher->addPath(m_folder.Path(sub));
    m_pSettle = new QTimer(this);
    m_pSettle->setSingleShot(true);
    m_pSettle->setInterval(kSettleMs);
    connect(m_pSettle, &QTimer::timeout, this, &CDiskSim::Scan);
    connect(m_pWatcher, &QFileSystemWatcher::directoryChanged, m_pSettle, QOverload<>::of(&QTimer::start));
    m_pPoll = new QTimer(this);
    connect(m_pPoll, &QTimer::timeout, this, &CDiskSim::Scan);
    m_pPoll->start(kPollMs);

    m_bStarted = true;
    Log(QStringLiteral("programmer disk at %1 (model %2, version %3, hardware %4)")
            .arg(m_folder.Root(), Identity().strModel, Identity().strVer, Identity().strHW));
    RunCommands();
    m_snapshot = Snapshot();
    LogHoldings();
    Log(QStringLiteral("ready"));
    return true;
}

void CDiskSim::Stop()
{
    if (!m_bStarted)
        return;
    m_bStarted = false;
    m_pPoll->stop();
    m_pSettle->stop();
    if (!m_bKeepIdentity)
        QFile::remove(m_folder.IdentityPath());
    Log(m_bKeepIdentity ? QStringLiteral("stopped") : QStringLiteral("unplugged"));
}

void CDiskSim::Scan()
{
    if (!m_bStarted)
        return;
    // The folders themselves may have been removed and made again.
    for (const QString &sub : CSimFolder::SubFolders()) {
        const QString dir = m_folder.Path(sub);
        if (!QFileInfo(dir).isDir())
            QDir().mkpath(dir);
        if (!m_pWatcher->directories().contains(dir))
            m_pWatcher->addPath(dir);
    }
    QMap<QString, QString> sys;
    if (!BurnHub::ReadSysFile(m_folder.IdentityPath(), sys) || sys.value(QStringLiteral("ID")) != Identity().strID) {
        if (m_folder.WriteIdentity(Identity()))
            Log(QStringLiteral("identity file restored"));
    }
    RunCommands();
    const QMap<QString, QString> now = Snapshot();
    if (now != m_snapshot) {
        m_snapshot = now;
        LogHoldings();
    }
}

bool CDiskSim::RunCommands()
{
    const QString refresh = m_folder.Path(QLatin1String(kRefresh));
    if (!QFileInfo::exists(refresh))
        return false;
    QString text;
    QString err;
    if (m_folder.ParamText(text, err))
        Log(QStringLiteral("param_refresh.cmd: reloaded param.ini: %1").arg(text));
    else
        Log(QStringLiteral("param_refresh.cmd: %1").arg(err));
    if (!QFile::remove(refresh))
        Log(QStringLiteral("param_refresh.cmd could not be removed"));
    return true;
}

QMap<QString, QString> CDiskSim::Snapshot() const
{
    QMap<QString, QString> files;
    for (const QString &sub : {QStringLiteral("config/"), QStringLiteral("procs/"), QStringLiteral("sys/")}) {
        const QFileInfoList list = FuncTool::GetFileInfoList(m_folder.Path(sub));
        for (const QFileInfo &info : list)
            files.insert(sub + info.fileName(),
                         QStringLiteral("%1 %2").arg(info.size()).arg(info.lastModified().toMSecsSinceEpoch()));
    }
    const QFileInfo firmware(m_folder.Path(QStringLiteral("update.bin")));
    if (firmware.isFile())
        files.insert(QStringLiteral("update.bin"), QString::number(firmware.size()));
    return files;
}

void CDiskSim::LogHoldings()
{
    QString text;
    QString err;
    if (m_folder.ParamText(text, err))
        Log(QStringLiteral("param.ini: %1").arg(text));
    if (m_folder.SignalText(text, err))
        Log(QStringLiteral("signal.ini: %1").arg(text));
    QMap<int, ImageInfo> index;
    m_folder.ReadIndex(index, err);
    QStringList images;
    for (const ImageInfo &image : qAsConst(index)) {
        const QFileInfo file(m_folder.ProcDir() + image.m_strName);
        images << QStringLiteral("%1=%2 (%3)").arg(image.m_nIndex).arg(image.m_strName,
                                                                      file.isFile() ? QStringLiteral("%1 bytes").arg(file.size())
                                                                                    : QStringLiteral("missing"));
    }
    Log(QStringLiteral("images: %1").arg(images.isEmpty() ? QStringLiteral("none") : images.join(QStringLiteral(", "))));
    for (const QString &line : m_check.Review(index, m_folder.ProcDir()))
        Log(line);
    QStringList recent;
    BurnHub *hub = BurnHub::Instance();
    hub->SetProgRoot(m_folder.Root());
    if (hub->ReadNewList(recent) && !recent.isEmpty())
        Log(QStringLiteral("newlist.dat: %1").arg(recent.join(QLatin1Char(' '))));
    const QFileInfo password(m_folder.Path(QStringLiteral("sys/password.dat")));
    if (password.isFile())
        Log(QStringLiteral("password.dat: %1 bytes").arg(password.size()));
    const QFileInfo firmware(m_folder.Path(QStringLiteral("update.bin")));
    if (firmware.isFile())
        Log(QStringLiteral("update.bin: %1 bytes").arg(firmware.size()));
}
