#include "csimfolder.h"

#include "burnhub.h"
#include "functool.h"
#include "progerparam.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {
QString Join(const QMap<QString, QString> &map)
{
    QStringList pairs;
    for (auto it = map.begin(); it != map.end(); ++it)
        pairs << it.key() + QLatin1Char('=') + it.value();
    return pairs.join(QLatin1Char(' '));
}
} // namespace

CSimFolder::CSimFolder(const QString &root)
{
    if (!root.isEmpty())
        m_strRoot = QDir::cleanPath(QDir(root).absolutePath()) + QLatin1Char('/');
}

QStringList CSimFolder::SubFolders()
{
    return {QStringLiteral("sys/"), QStringLiteral("config/"), QStringLiteral("procs/"), QStringLiteral("cmd/")};
}

QString CSimFolder::DefaultParam()
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

QString CSimFolder::DefaultSignal()
{
    return CProgerParam::FormatSignal(ProgerSignal());
}

bool CSimFolder::Prepare(const SimIdentity &identity, QString &err) const
{
    for (const QString &sub : SubFolders()) {
        if (!QDir().mkpath(Path(sub))) {
            err = QStringLiteral("cannot create %1").arg(Path(sub));
            return false;
        }
    }
    if (!WriteIdentity(identity)) {
        err = QStringLiteral("cannot write %1").arg(IdentityPath());
        return false;
    }
    const QString param = Path(QStringLiteral("config/param.ini"));
    const QString signal = Path(QStringLiteral("config/signal.ini"));
    if ((!QFileInfo::exists(param) && !FuncTool::WriteFile(param, DefaultParam()))
        || (!QFileInfo::exists(signal) && !FuncTool::WriteFile(signal, DefaultSignal()))
        || (!QFileInfo::exists(IndexPath()) && !FuncTool::WriteFile(IndexPath(), QByteArray()))) {
        err = QStringLiteral("cannot write the default files in %1").arg(Path(QStringLiteral("config/")));
        return false;
    }
    return true;
}

bool CSimFolder::WriteIdentity(const SimIdentity &identity) const
{
    const QString path = IdentityPath();
    const QByteArray text = identity.FileText();
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

QString CSimFolder::PushPath(const QString &name) const
{
    if (name == QLatin1String("image.dat") || name == QLatin1String("param.ini") || name == QLatin1String("signal.ini"))
        return Path(QStringLiteral("config/") + name);
    if (name == QLatin1String("password.dat"))
        return Path(QStringLiteral("sys/") + name);
    if (name == QLatin1String("update.bin"))
        return Path(name);
    if (BurnHub::IsImageSuffix(QFileInfo(name).suffix()))
        return ProcDir() + name;
    return QString();
}

bool CSimFolder::ReadIndex(QMap<int, ImageInfo> &index, QString &err) const
{
    BurnHub *hub = BurnHub::Instance();
    hub->SetProgRoot(m_strRoot);
    index.clear();
    return hub->ReadImageIndex(index, err);
}

bool CSimFolder::ParamText(QString &text, QString &err) const
{
    BurnHub *hub = BurnHub::Instance();
    hub->SetProgRoot(m_strRoot);
    QMap<QString, QString> map;
    if (!hub->ReadConfig(map, err))
        return false;
    text = Join(map);
    return true;
}

bool CSimFolder::SignalText(QString &text, QString &err) const
{
    BurnHub *hub = BurnHub::Instance();
    hub->SetProgRoot(m_strRoot);
    QMap<QString, QString> map;
    if (!hub->ReadSignal(map, err))
        return false;
    text = Join(map);
    return true;
}
