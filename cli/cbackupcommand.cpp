#include "cbackupcommand.h"

#include "cliexit.h"
#include "clioptions.h"
#include "cprogrammers.h"

#include <burnhub.h>
#include <cfilename.h>
#include <csafefile.h>
#include <imagepackage.h>
#include <usbcmd.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>
#include <QTemporaryDir>

namespace {
const QString kIndexPath = QStringLiteral("config/image.dat");
const QString kProcs = QStringLiteral("procs/");

int Usage(const QString &reason)
{
    CCliOut::Error(reason);
    return CliExit::Usage;
}

int LinkFailure(const QString &reason)
{
    CCliOut::Error(reason);
    return CliExit::NoLink;
}

// The one programmer a command names; an exit status when there is none.
int OneTarget(CCliProgrammers &progs, const QString &name, const QString &option, int timeoutMs, CCliTarget &target)
{
    if (name.isEmpty() || name.contains(QLatin1Char(',')) || name == QLatin1String("all"))
        return Usage(QStringLiteral("%1 names one programmer").arg(option));
    QVector<CCliTarget> targets;
    const int unreached = progs.Reach(name, timeoutMs, targets);
    if (unreached >= 0)
        return unreached;
    target = targets.first();
    if (target.LinkFailed())
        return LinkFailure(target.Reason());
    if (target.KeyID().isEmpty())
        return LinkFailure(QStringLiteral("%1: the programmer did not tell its ID").arg(target.Label()));
    return -1;
}

// The programmer's images into pkg: straight from a disk; pulled into the
// PC-side folder first for a HID or VCP programmer.
bool ReadImages(CCliProgrammers &progs, CCliTarget &t, int timeoutMs, CImagePackage &pkg, QString &err)
{
    BurnHub *hub = BurnHub::Instance();
    if (!t.bUsb) {
        hub->SetProgRoot(t.info.m_strRoot);
        return pkg.ReadFromProger(hub, t.KeyID(), err);
    }
    CCliUsbDev &dev = *t.pDev;
    const QString folder = dev.FolderId();
    CCliUsbSession &usb = progs.Usb();
    // The index fresh from the programmer, then the images it names.
    QFile::remove(hub->GetUSBProgFilePath(folder, QStringLiteral("image.dat")));
    usb.PullFiles(dev, {kIndexPath});
    usb.Wait(timeoutMs);
    if (!t.Ok()) {
        err = t.Reason();
        return false;
    }
    hub->SetUSBProgUID(folder);
    QMap<int, ImageInfo> index;
    if (!hub->ReadImageIndex(index, err))
        return false;
    QStringList paths;
    for (const ImageInfo &info : qAsConst(index)) {
        // Images land beside the other mirrors: only image files, so none
        // takes the place of the index or the parameters.
        if (!CFileName::IsPlain(info.m_strName) || !info.m_strName.endsWith(QLatin1String(".img"))) {
            err = QStringLiteral("the index names \"%1\", which is no image file").arg(info.m_strName);
            return false;
        }
        // No old copy may stand in for an image that does not arrive.
        QFile::remove(hub->GetUSBProgFilePath(folder, info.m_strName));
        paths << kProcs + info.m_strName;
    }
    if (!paths.isEmpty()) {
        usb.PullFiles(dev, paths);
        usb.Wait(timeoutMs);
        if (!t.Ok()) {
            err = t.Reason();
            return false;
        }
    }
    return pkg.ReadFromFolder(index, paths.isEmpty() ? QString() : hub->GetUSBProgFilePath(folder, QString()), t.KeyID(), err);
}
} // namespace

// ---- backup

void CBackupCommand::Setup(QCommandLineParser &parser)
{
    parser.addOption({QStringLiteral("from"), QStringLiteral("The programmer (ID, port, device path or disk root)."), QStringLiteral("id")});
    parser.addOption({{QStringLiteral("o"), QStringLiteral("output")},
                      QStringLiteral("The package to write (.pimg), or a folder for the usual name."), QStringLiteral("file")});
    parser.addOption(CliOptions::Timeout(120));
}

int CBackupCommand::Run(const QCommandLineParser &parser, const CCliOut &out)
{
    int timeoutMs = 0;
    QString err;
    if (!CliOptions::TimeoutMs(parser, timeoutMs, err))
        return Usage(err);
    QString output = parser.value(QStringLiteral("output"));
    if (output.isEmpty())
        return Usage(QStringLiteral("backup needs -o FILE.pimg"));
    const bool folder = QFileInfo(output).isDir() || output.endsWith(QLatin1Char('/'));
    if (!folder && !output.endsWith(QLatin1String(CImagePackage::Suffix)))
        return Usage(QStringLiteral("%1: a package ends in %2").arg(output, QLatin1String(CImagePackage::Suffix)));

    CCliProgrammers progs;
    CCliTarget target;
    const int early = OneTarget(progs, parser.value(QStringLiteral("from")), QStringLiteral("--from"), timeoutMs, target);
    if (early >= 0)
        return early;
    CImagePackage pkg;
    if (!ReadImages(progs, target, timeoutMs, pkg, err)) {
        CCliOut::Error(QStringLiteral("%1: %2").arg(target.Label(), err));
        return target.LinkFailed() ? CliExit::NoLink : CliExit::Failed;
    }
    if (folder) {
        QDir().mkpath(output);
        output = QDir(output).filePath(CImagePackage::PackageFileName(target.KeyID(), QDateTime::currentDateTime()));
    }
    if (!pkg.SaveFile(output, err))
        return Usage(QStringLiteral("%1: %2").arg(output, err));

    QJsonArray images;
    for (const CPackageEntry &e : pkg.m_entries) {
        images.append(QJsonObject{{QStringLiteral("number"), qint64(e.m_nIndex)},
                                  {QStringLiteral("name"), e.m_strName},
                                  {QStringLiteral("size"), qint64(e.m_nSize)},
                                  {QStringLiteral("encrypted"), e.m_bEncrypt}});
        out.Line(QStringLiteral("%1 %2 %3 bytes%4")
                     .arg(e.m_nIndex)
                     .arg(e.m_strName)
                     .arg(e.m_nSize)
                     .arg(e.m_bEncrypt ? QStringLiteral(" encrypted") : QString()));
    }
    out.Line(QStringLiteral("%1: %2 images of %3").arg(output, QString::number(pkg.m_entries.size()), target.Label()));
    out.Document({{QStringLiteral("file"), output},
                  {QStringLiteral("id"), target.KeyID()},
                  {QStringLiteral("images"), images}});
    return CliExit::Ok;
}

// ---- restore

void CRestoreCommand::Setup(QCommandLineParser &parser)
{
    parser.addPositionalArgument(QStringLiteral("package"), QStringLiteral("The package (.pimg)."));
    parser.addOption(CCliProgrammers::ToOption());
    parser.addOption(CliOptions::Timeout(120));
}

int CRestoreCommand::Run(const QCommandLineParser &parser, const CCliOut &out)
{
    int timeoutMs = 0;
    QString err;
    if (!CliOptions::TimeoutMs(parser, timeoutMs, err))
        return Usage(err);
    const QStringList args = parser.positionalArguments();
    if (args.size() != 1)
        return Usage(QStringLiteral("restore needs one package file"));
    CImagePackage pkg;
    if (!pkg.ParseXMLFile(args[0], err))
        return Usage(QStringLiteral("%1: %2").arg(args[0], err));
    // Nothing is written unless all of it can be.
    if (!pkg.CheckRestorable(err))
        return Usage(QStringLiteral("%1: %2").arg(args[0], err));

    CCliProgrammers progs;
    CCliTarget target;
    const int early = OneTarget(progs, parser.value(QStringLiteral("to")), QStringLiteral("--to"), timeoutMs, target);
    if (early >= 0)
        return early;
    for (const CPackageEntry &e : pkg.m_entries)
        if (target.bUsb && e.m_nIndex > UsbCmd::kMaxImageNo)
            return Usage(QStringLiteral("%1: image %2 is above %3, the highest number a HID or VCP programmer takes")
                             .arg(args[0])
                             .arg(e.m_nIndex)
                             .arg(UsbCmd::kMaxImageNo));
    QTemporaryDir work;
    if (!work.isValid())
        return Usage(QStringLiteral("no temporary folder"));
    // Re-keyed for the target before anything is sent.
    QList<CPackageEntry> entries = pkg.FileEntries();
    const quint32 now = quint32(QDateTime::currentSecsSinceEpoch());
    for (CPackageEntry &e : entries) {
        if (e.m_bEncrypt && !CImagePackage::UpdateEnc(e.m_baData, pkg.m_strUID, target.KeyID(), now, err))
            return Usage(QStringLiteral("%1: %2: %3").arg(args[0], e.m_strName, err));
        if (!CSafeFile::Write(work.filePath(e.m_strName), work.path(), e.m_baData, err))
            return Usage(err);
    }
    const QString indexPath = work.filePath(QLatin1String(CImagePackage::IndexName));
    if (!CSafeFile::Write(indexPath, work.path(), pkg.IndexFileData(), err))
        return Usage(err);

    BurnHub *hub = BurnHub::Instance();
    QJsonArray done;
    auto report = [&](const QString &name, bool ok, const QString &reason) {
        done.append(QJsonObject{{QStringLiteral("file"), name}, {QStringLiteral("ok"), ok}, {QStringLiteral("reason"), reason}});
        out.Line(ok ? QStringLiteral("%1 %2 ok").arg(target.Label(), name)
                    : QStringLiteral("%1 %2 failed: %3").arg(target.Label(), name, reason));
    };
    int status = CliExit::Ok;
    if (!target.bUsb) {
        // Each file is replaced in one step: whole or not at all.
        QString root = target.info.m_strRoot;
        if (!root.endsWith(QLatin1Char('/')))
            root += QLatin1Char('/');
        bool ok = CSafeFile::Replace(indexPath, root + kIndexPath, root, err);
        report(QLatin1String(CImagePackage::IndexName), ok, err);
        for (const CPackageEntry &e : qAsConst(entries)) {
            if (!ok)
                break;
            ok = CSafeFile::Replace(work.filePath(e.m_strName), root + kProcs + e.m_strName, root, err);
            report(e.m_strName, ok, err);
        }
        status = ok ? CliExit::Ok : CliExit::Failed;
    } else {
        // The PC-side index is the package's; it follows every image to the programmer.
        CCliUsbDev &dev = *target.pDev;
        const QString folder = dev.FolderId();
        hub->SetUSBProgUID(folder);
        const QString mirror = hub->GetUSBProgFilePath(folder, QLatin1String(CImagePackage::IndexName));
        if (!CSafeFile::Write(mirror, hub->GetUSBProgFilePath(folder, QString()), pkg.IndexFileData(), err))
            return Usage(err);
        if (entries.isEmpty()) {
            progs.Usb().SendFile(dev, mirror, -1);
            progs.Usb().Wait(timeoutMs);
            report(QLatin1String(CImagePackage::IndexName), target.Ok(), target.Reason());
            if (!target.Ok())
                status = target.LinkFailed() ? CliExit::NoLink : CliExit::Failed;
        }
        for (const CPackageEntry &e : qAsConst(entries)) {
            progs.Usb().SendFile(dev, work.filePath(e.m_strName), int(e.m_nIndex));
            progs.Usb().Wait(timeoutMs);
            report(e.m_strName, target.Ok(), target.Reason());
            if (!target.Ok()) {
                status = target.LinkFailed() ? CliExit::NoLink : CliExit::Failed;
                break;
            }
        }
    }
    out.Document({{QStringLiteral("package"), args[0]}, {QStringLiteral("id"), target.Label()}, {QStringLiteral("files"), done}});
    return status;
}
