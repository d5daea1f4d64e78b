#include "cdisksim.h"

#include "burnhub.h"
#include "functool.h"
#include "progerparam.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QSaveFile>
#include <QTimer>

namespace {
const char kIdentity[] = "sys/qelprogrammer.dat";
const char kRefresh[] = "cmd/param_refresh.cmd";
const char *const kFolders[] = {"sys/", "config/", "procs/", "cmd/"};
// Writers finish a file in a few steps; look once things are quiet.
constexpr int kSettleMs = 150;
// Also look now and then, for file systems without change notification.
constexpr int kPollMs = 1000;

QString Join(const QMap<QString, QString> &map)
{
    QStringList pairs;
    for (auto it = map.begin(); it != map.end(); ++it)
        pairs << it.key() + QLatin1Char('=') + it.value();
    return pairs.join(QLatin1Char(' '));
}
} // namespace

CDiskSim::CDiskSim(const QString &folder, const SimIdentity &identity, QObject *parent)
    : CSimDevice(identity, parent)
{
    m_strRoot = QDir::cleanPath(QDir(folder).absolutePath()) + QLatin1Char('/');
}

QString CDiskSim::DefaultParam()
{
    // What a programmer leaves the factory with (the form's defaults).
    ProgerConfig cfg;
    cfg.contInterval = 2000;
    cfg.swdClk = 7;
    cfg.iapBaud = 19200;
    cfg.crcShow = 2;
    cfg.powerProtect = 1;
    return CProgerParam::FormatConfig(cfg, ModelExtended);
}

QString CDiskSim::DefaultSignal()
{
    return CProgerParam::FormatSignal(ProgerSignal());
}

bool CDiskSim::Start(QString &err)
{
    for (const char *sub : kFolders) {
        if (!QDir().mkpath(m_strRoot + QLatin1String(sub))) {
            err = QStringLiteral("cannot create %1").arg(m_strRoot + QLatin1String(sub));
            return false;
        }
    }
    if (!WriteIdentity()) {
        err = QStringLiteral("cannot write %1").arg(m_strRoot + QLatin1String(kIdentity));
        return false;
    }
    BurnHub *hub = BurnHub::Instance();
    hub->SetProgRoot(m_strRoot);
    const QString config = m_strRoot + QStringLiteral("config/");
    if (!QFileInfo::exists(config + QStringLiteral("param.ini")))
        FuncTool::WriteFile(config + QStringLiteral("param.ini"), DefaultParam());
    if (!QFileInfo::exists(config + QStringLiteral("signal.ini")))
        FuncTool::WriteFile(config + QStringLiteral("signal.ini"), DefaultSignal());
    QMap<int, ImageInfo> index;
    QString readErr;
    hub->ReadImageIndex(index, readErr); // creates an empty index on a fresh disk

    m_pWatcher = new QFileSystemWatcher(this);
    m_pWatcher->addPath(m_strRoot);
    for (const char *sub : kFolders)
        m_pWatcher->addPath(m_strRoot + QLatin1String(sub));
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
            .arg(m_strRoot, Identity().strModel, Identity().strVer, Identity().strHW));
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
        QFile::remove(m_strRoot + QLatin1String(kIdentity));
    Log(m_bKeepIdentity ? QStringLiteral("stopped") : QStringLiteral("unplugged"));
}

bool CDiskSim::WriteIdentity()
{
    const QString path = m_strRoot + QLatin1String(kIdentity);
    const QByteArray text = Identity().FileText();
    QFile current(path);
    if (current.open(QIODevice::ReadOnly) && current.readAll() == text)
        return true;
    // Whole or not at all: the host may read it at any moment.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(text);
    return file.commit();
}

void CDiskSim::Scan()
{
    if (!m_bStarted)
        return;
    // The folders themselves may have been removed and made again.
    for (const char *sub : kFolders) {
        const QString dir = m_strRoot + QLatin1String(sub);
        if (!QFileInfo(dir).isDir())
            QDir().mkpath(dir);
        if (!m_pWatcher->directories().contains(dir))
            m_pWatcher->addPath(dir);
    }
    const QString identity = m_strRoot + QLatin1String(kIdentity);
    QMap<QString, QString> sys;
    if (!BurnHub::ReadSysFile(identity, sys) || sys.value(QStringLiteral("ID")) != Identity().strID) {
        if (WriteIdentity())
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
    const QString refresh = m_strRoot + QLatin1String(kRefresh);
    if (!QFileInfo::exists(refresh))
        return false;
    BurnHub *hub = BurnHub::Instance();
    hub->SetProgRoot(m_strRoot);
    QMap<QString, QString> param;
    QString err;
    if (hub->ReadConfig(param, err))
        Log(QStringLiteral("param_refresh.cmd: reloaded param.ini: %1").arg(Join(param)));
    else
        Log(QStringLiteral("param_refresh.cmd: %1").arg(err));
    if (!QFile::remove(refresh))
        Log(QStringLiteral("param_refresh.cmd could not be removed"));
    return true;
}

QMap<QString, QString> CDiskSim::Snapshot() const
{
    QMap<QString, QString> files;
    for (const char *sub : {"config/", "procs/", "sys/"}) {
        const QFileInfoList list = FuncTool::GetFileInfoList(m_strRoot + QLatin1String(sub));
        for (const QFileInfo &info : list)
            files.insert(QLatin1String(sub) + info.fileName(),
                         QStringLiteral("%1 %2").arg(info.size()).arg(info.lastModified().toMSecsSinceEpoch()));
    }
    const QFileInfo firmware(m_strRoot + QStringLiteral("update.bin"));
    if (firmware.isFile())
        files.insert(QStringLiteral("update.bin"), QString::number(firmware.size()));
    return files;
}

void CDiskSim::LogHoldings()
{
    BurnHub *hub = BurnHub::Instance();
    hub->SetProgRoot(m_strRoot);
    QString err;
    QMap<QString, QString> param;
    if (hub->ReadConfig(param, err))
        Log(QStringLiteral("param.ini: %1").arg(Join(param)));
    QMap<QString, QString> signal;
    if (hub->ReadSignal(signal, err))
        Log(QStringLiteral("signal.ini: %1").arg(Join(signal)));
    QMap<int, ImageInfo> index;
    hub->ReadImageIndex(index, err);
    QStringList images;
    for (const ImageInfo &image : qAsConst(index)) {
        const QFileInfo file(hub->GetProcDir() + image.m_strName);
        images << QStringLiteral("%1=%2 (%3)").arg(image.m_nIndex).arg(image.m_strName,
                                                                      file.isFile() ? QStringLiteral("%1 bytes").arg(file.size())
                                                                                    : QStringLiteral("missing"));
    }
    Log(QStringLiteral("images: %1").arg(images.isEmpty() ? QStringLiteral("none") : images.join(QStringLiteral(", "))));
    QStringList recent;
    if (hub->ReadNewList(recent) && !recent.isEmpty())
        Log(QStringLiteral("newlist.dat: %1").arg(recent.join(QLatin1Char(' '))));
    const QFileInfo password(m_strRoot + QStringLiteral("sys/password.dat"));
    if (password.isFile())
        Log(QStringLiteral("password.dat: %1 bytes").arg(password.size()));
    const QFileInfo firmware(m_strRoot + QStringLiteral("update.bin"));
    if (firmware.isFile())
        Log(QStringLiteral("update.bin: %1 bytes").arg(firmware.size()));
}
