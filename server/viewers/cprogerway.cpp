#include "cprogerway.h"

#include "cimagepanel.h"
#include "cremoteservice.h"
#include "cusbconsole.h"
#include "cusbprogmanager.h"
#include "serverdefs.h"

#include <burnhub.h>
#include <csafefile.h>
#include <progerparam.h>

#include <QDebug>
#include <QFileInfo>

const char CProgerWay::kSignalPath[] = "config/signal.ini";

namespace {
const QStringList &SignalKeys()
{
    static const QStringList keys = {QStringLiteral("signalType"), QStringLiteral("signalDuration"),
                                     QStringLiteral("startLevel"), QStringLiteral("startTime"),
                                     QStringLiteral("busySignal"), QStringLiteral("successSignal"),
                                     QStringLiteral("failSignal")};
    return keys;
}
} // namespace

CProgerWay::CProgerWay(const MyProger &proger, CRemoteService *remote, CUsbProgManager *usb)
    : m_proger(proger), m_pRemote(remote), m_pUsb(usb)
{
    switch (CImagePanel::KindOf(&m_proger)) {
    case CImagePanel::KindDisk:
        m_kind = KindDisk;
        break;
    case CImagePanel::KindUsb:
        m_kind = KindUsb;
        break;
    case CImagePanel::KindRemote:
        m_kind = KindRemote;
        break;
    case CImagePanel::KindNone:
        break;
    }
}

QString CProgerWay::Title(const QString &prefix) const
{
    return prefix + m_proger.GetDesc();
}

bool CProgerWay::IsFor(const MyProger &other) const
{
    switch (m_kind) {
    case KindRemote:
        return other.m_bRemote && m_proger.SameRemote(other);
    case KindUsb:
        return (other.m_bHID || other.m_bVCP) && other.m_strRoot == m_proger.m_strRoot;
    case KindDisk:
        return other.IsDisk() && other.m_strRoot == m_proger.m_strRoot;
    case KindNone:
        break;
    }
    return false;
}

void CProgerWay::SelectFiles() const
{
    BurnHub *hub = BurnHub::Instance();
    if (m_kind == KindUsb)
        hub->SetUSBProgUID(m_proger.m_strID);
    else
        hub->SetProgRoot(m_proger.m_strRoot);
}

bool CProgerWay::ReadConfig(QMap<QString, QString> &config, QString &err) const
{
    SelectFiles();
    return BurnHub::Instance()->ReadConfig(config, err);
}

bool CProgerWay::ReadImages(QList<ImageInfo> &images, QString &err) const
{
    SelectFiles();
    QMap<int, ImageInfo> index;
    images.clear();
    if (!BurnHub::Instance()->ReadImageIndex(index, err))
        return false;
    images = index.values();
    return true;
}

bool CProgerWay::DeleteImage(const QString &name, QString &err) const
{
    SelectFiles();
    return BurnHub::Instance()->DeleteImage(name, err);
}

bool CProgerWay::DeleteAllImages(QString &err) const
{
    SelectFiles();
    return BurnHub::Instance()->DeleteAllImage(err);
}

bool CProgerWay::ReadSignal(QMap<QString, QString> &signal, QString &err) const
{
    SelectFiles();
    signal.clear();
    return BurnHub::Instance()->ReadSignal(signal, err);
}

QString CProgerWay::UsbFolderFile(const QString &name) const
{
    return BurnHub::Instance()->GetUSBProgFilePath(m_proger.m_strID, name);
}

QString CProgerWay::OutgoingPath(const QString &name) const
{
    return m_kind == KindUsb ? UsbFolderFile(name) : ServerDefs::WorkDir() + name;
}

bool CProgerWay::WriteSignal(const ProgerSignal &sig, QString &path, QString &err) const
{
    path = OutgoingPath(QStringLiteral("signal.ini"));
    QFileInfo folder(path);
    return CSafeFile::Write(path, folder.absolutePath(), CProgerParam::FormatSignal(sig).toLocal8Bit(), err);
}

bool CProgerWay::SendSignal(const QString &path, QString &err) const
{
    switch (m_kind) {
    case KindDisk:
        SelectFiles();
        return BurnHub::Instance()->DownSignalFile(path, err);
    case KindUsb:
        if (m_pUsb && m_pUsb->SendFileToProger(m_proger.m_strRoot, path))
            return true;
        err = tr("USB下载器未连接: %1").arg(m_proger.m_strRoot);
        return false;
    case KindRemote:
    case KindNone:
        break;
    }
    err = tr("仅支持本地下载器");
    return false;
}

bool CProgerWay::StageFirm(const QString &src, QString &staged, QString &err) const
{
    if (m_kind == KindDisk) {
        staged = src;
        return true;
    }
    staged = OutgoingPath(QStringLiteral("update.bin"));
    if (QFileInfo(src).canonicalFilePath() == QFileInfo(staged).canonicalFilePath())
        return true;
    return CSafeFile::Replace(src, staged, QFileInfo(staged).absolutePath(), err);
}

bool CProgerWay::SendFirm(const QString &staged, QString &err) const
{
    switch (m_kind) {
    case KindDisk:
        SelectFiles();
        return BurnHub::Instance()->DownFirmFile(staged, err);
    case KindUsb:
        if (m_pUsb && m_pUsb->SendFileToProger(m_proger.m_strRoot, staged))
            return true;
        err = tr("USB下载器未连接: %1").arg(m_proger.m_strRoot);
        return false;
    case KindRemote:
        return CImagePanel::AnnounceFile(m_proger, staged, 0, err);
    case KindNone:
        break;
    }
    return false;
}

bool CProgerWay::PullSignal() const
{
    return m_kind == KindUsb && m_pUsb && m_pUsb->HasConsole()
        && m_pUsb->Console()->PullProgFiles(m_proger.m_strRoot, {QString::fromLatin1(kSignalPath)});
}

bool CProgerWay::RequestConfig() const
{
    return m_kind == KindRemote && m_pRemote && m_pRemote->RequestConfig(m_proger);
}

bool CProgerWay::RequestImages() const
{
    return m_kind == KindRemote && m_pRemote && m_pRemote->RequestImages(m_proger);
}

bool CProgerWay::ClearRemoteImage(const QString &name) const
{
    return m_kind == KindRemote && m_pRemote && m_pRemote->ClearImage(m_proger, name);
}

QMap<QString, QString> CProgerWay::SignalPart(const QMap<QString, QString> &config)
{
    QMap<QString, QString> part;
    for (const QString &key : SignalKeys()) {
        const auto it = config.constFind(key);
        if (it != config.constEnd())
            part.insert(key, it.value());
    }
    return part;
}
