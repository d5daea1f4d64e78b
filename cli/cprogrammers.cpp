#include "cprogrammers.h"

#include "cliexit.h"
#include "ccliout.h"

#include <burnhub.h>
#include <cusbportscan.h>

#include <QDir>

namespace {
bool SameText(const QString &a, const QString &b)
{
    return !a.isEmpty() && a.compare(b, Qt::CaseInsensitive) == 0;
}

bool SamePath(const QString &a, const QString &b)
{
    if (a.isEmpty() || b.isEmpty())
        return false;
    return QDir::cleanPath(QDir(a).absolutePath()) == QDir::cleanPath(QDir(b).absolutePath());
}

bool MatchDisk(const ProgerInfo &info, const QString &name)
{
    return SameText(info.m_strID, name) || SamePath(info.m_strRoot, name) || info.GetDesc() == name;
}

bool MatchUsb(const CCliUsbDev &dev, const QString &name)
{
    return SameText(dev.m_info.m_strID, name) || SameText(dev.m_strIdentity, name) || SameText(dev.m_strName, name)
        || SamePath(dev.Where(), name) || (dev.IsHid() && SameText(dev.m_strSecondId, name));
}
} // namespace

QString CCliTarget::Label() const
{
    if (!bUsb)
        return info.m_strID;
    if (!pDev->m_strIdentity.isEmpty())
        return pDev->m_strIdentity;
    return pDev->Id().isEmpty() ? pDev->Where() : pDev->Id();
}

QString CCliTarget::Way() const
{
    if (!bUsb)
        return QStringLiteral("disk");
    return pDev->IsHid() ? QStringLiteral("hid") : QStringLiteral("vcp");
}

QString CCliTarget::KeyID() const
{
    return bUsb ? pDev->m_strIdentity : info.m_strID;
}

QCommandLineOption CCliProgrammers::ToOption()
{
    return QCommandLineOption(QStringLiteral("to"),
                              QStringLiteral("The programmers: IDs (identity ID or UID), ports, device paths or disk roots, "
                                             "separated by commas, or \"all\"."),
                              QStringLiteral("id,...|all"));
}

void CCliProgrammers::Discover(int timeoutMs, bool disk)
{
    if (disk)
        m_disks = BurnHub::Instance()->GetProgerList();
    m_usb.OpenVcp(CUsbPortScan::PresentPorts());
    m_usb.OpenHid();
    m_usb.Initialise(timeoutMs);
}

bool CCliProgrammers::Select(const QString &to, QVector<CCliTarget> &targets, QString &err)
{
    targets.clear();
    auto addDisk = [&targets](const ProgerInfo &info) {
        CCliTarget t;
        t.info = info;
        targets.append(t);
    };
    auto addUsb = [&targets](CCliUsbDev *dev) {
        for (const CCliTarget &t : qAsConst(targets))
            if (t.pDev == dev)
                return;
        CCliTarget t;
        t.bUsb = true;
        t.pDev = dev;
        targets.append(t);
    };
    if (to.trimmed().isEmpty()) {
        err = QStringLiteral("--to names no programmer");
        return false;
    }
    if (to.trimmed() == QLatin1String("all")) {
        for (const ProgerInfo &info : qAsConst(m_disks))
            addDisk(info);
        // One that dropped out is listed too: its failure is part of the answer.
        for (const auto &dev : m_usb.Devices())
            addUsb(dev.get());
        return true;
    }
    for (QString name : to.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        name = name.trimmed();
        bool found = false;
        for (const ProgerInfo &info : qAsConst(m_disks)) {
            if (MatchDisk(info, name)) {
                bool known = false;
                for (const CCliTarget &t : qAsConst(targets))
                    known = known || (!t.bUsb && t.info.m_strRoot == info.m_strRoot);
                if (!known)
                    addDisk(info);
                found = true;
                break;
            }
        }
        for (const auto &dev : m_usb.Devices()) {
            if (found)
                break;
            if (MatchUsb(*dev, name)) {
                addUsb(dev.get());
                found = true;
            }
        }
        if (!found) {
            err = QStringLiteral("no programmer \"%1\" found").arg(name);
            return false;
        }
    }
    return true;
}

namespace CliJobs {

int Status(const QVector<CCliTarget> &targets)
{
    bool failed = false;
    for (const CCliTarget &t : targets) {
        if (t.LinkFailed())
            return 3;
        failed = failed || !t.Ok();
    }
    return failed ? 1 : 0;
}

QString ResultLine(const CCliTarget &target)
{
    if (target.Ok())
        return QStringLiteral("%1 ok").arg(target.Label());
    return QStringLiteral("%1 failed: %2").arg(target.Label(), target.Reason());
}

QJsonObject ResultRow(const CCliTarget &target)
{
    return QJsonObject{{QStringLiteral("id"), target.Label()},
                       {QStringLiteral("way"), target.Way()},
                       {QStringLiteral("ok"), target.Ok()},
                       {QStringLiteral("reason"), target.Reason()}};
}

} // namespace CliJobs

int CCliProgrammers::Reach(const QString &to, int timeoutMs, QVector<CCliTarget> &targets, bool needOne)
{
    Discover(qMin(timeoutMs, 20000));
    QString err;
    if (!Select(to, targets, err)) {
        CCliOut::Error(err);
        return CliExit::NoLink;
    }
    if (needOne && targets.isEmpty()) {
        CCliOut::Error(QStringLiteral("no programmer found"));
        return CliExit::NoLink;
    }
    return -1;
}
