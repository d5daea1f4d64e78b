#include "cbackuptarget.h"

#include "burnhub.h"
#include "cfilename.h"
#include "cimagepanel.h"
#include "csafefile.h"
#include "cusbconsole.h"
#include "cusbprogmanager.h"

#include <QFileInfo>

namespace {
const QString kIndexPath = QStringLiteral("config/image.dat");
const QString kProcs = QStringLiteral("procs/");
} // namespace

CBackupTarget::CBackupTarget(const MyProger &proger, CUsbProgManager *usb, QObject *parent)
    : QObject(parent), m_proger(proger), m_pUsb(usb)
{
    m_timeout.setSingleShot(true);
    m_timeout.setInterval(kPullTimeoutMs);
    connect(&m_timeout, &QTimer::timeout, this, [this]() { EndRead(false, tr("下载器无应答")); });
    if (IsUsb() && m_pUsb) {
        CUsbConsole *console = m_pUsb->Console();
        connect(console, &CUsbConsole::sigFileResult, this, &CBackupTarget::OnFileResult);
        connect(console, &CUsbConsole::sigPullDone, this, &CBackupTarget::OnPullDone);
    }
}

bool CBackupTarget::IsUsb() const
{
    return CImagePanel::KindOf(&m_proger) == CImagePanel::KindUsb;
}

QString CBackupTarget::ProgerID() const
{
    return CImagePanel::KeyID(m_proger);
}

// ---------------------------------------------------------------- reading

void CBackupTarget::ReadPackage()
{
    m_package.Clear();
    if (!IsUsb()) {
        BurnHub *hub = BurnHub::Instance();
        hub->SetProgRoot(m_proger.m_strRoot);
        QString err;
        const bool ok = m_package.ReadFromProger(hub, ProgerID(), err);
        QTimer::singleShot(0, this, [this, ok, err]() { emit sigPackageRead(ok, err); });
        return;
    }
    // The index first, fresh from the programmer: what the PC-side folder holds may be old.
    m_bReading = true;
    m_pulls = {kIndexPath};
    if (!m_pUsb || !m_pUsb->Console()->PullProgFiles(m_proger.m_strRoot, {kIndexPath})) {
        QTimer::singleShot(0, this, [this]() { EndRead(false, tr("下载器忙或未初始化完成")); });
        return;
    }
    m_timeout.start();
}

void CBackupTarget::OnPullDone(const QString &key, const QString &path, const QString &localPath, quint32 size,
                               bool ok)
{
    if (!m_bReading || key != m_proger.m_strRoot || !m_pulls.contains(path))
        return;
    m_pulls.remove(path);
    m_timeout.start();
    // The mirror must be the whole file the programmer announced.
    const QFileInfo file(localPath);
    if (!ok || !file.isFile() || quint64(file.size()) != size) {
        EndRead(false, tr("程序文件读取失败！") + QLatin1Char(' ') + path);
        return;
    }
    if (path == kIndexPath) {
        PullImages();
        return;
    }
    if (m_pulls.isEmpty()) {
        QString err;
        const QString folder = BurnHub::Instance()->GetUSBProgFilePath(m_proger.m_strID, QString());
        EndRead(m_package.ReadFromFolder(m_index, folder, ProgerID(), err), err);
    }
}

void CBackupTarget::PullImages()
{
    BurnHub *hub = BurnHub::Instance();
    hub->SetUSBProgUID(m_proger.m_strID);
    m_index.clear();
    QString err;
    if (!hub->ReadImageIndex(m_index, err)) {
        EndRead(false, tr("读取当前下载器序列文件失败"));
        return;
    }
    QStringList paths;
    for (const ImageInfo &info : qAsConst(m_index)) {
        // Images land beside the programmer's other mirrors: only image files,
        // so none can take the place of the index or the parameters.
        if (!CFileName::IsPlain(info.m_strName) || !info.m_strName.endsWith(QLatin1String(".img"))) {
            EndRead(false, tr("程序文件读取失败！") + QLatin1Char(' ') + info.m_strName);
            return;
        }
        // No old copy may stand in for an image that does not arrive.
        QFile::remove(hub->GetUSBProgFilePath(m_proger.m_strID, info.m_strName));
        paths << kProcs + info.m_strName;
    }
    if (paths.isEmpty()) {
        EndRead(m_package.ReadFromFolder(m_index, QString(), ProgerID(), err), err);
        return;
    }
    m_pulls = QSet<QString>(paths.begin(), paths.end());
    if (!m_pUsb || !m_pUsb->Console()->PullProgFiles(m_proger.m_strRoot, paths))
        EndRead(false, tr("下载器忙或未初始化完成"));
}

void CBackupTarget::EndRead(bool ok, const QString &err)
{
    if (!m_bReading)
        return;
    m_bReading = false;
    m_timeout.stop();
    m_pulls.clear();
    if (!ok)
        m_package.Clear();
    emit sigPackageRead(ok, err);
}

// ---------------------------------------------------------------- writing

bool CBackupTarget::SetUsbIndex(const QByteArray &content, QString &err)
{
    BurnHub *hub = BurnHub::Instance();
    const QString path = hub->GetUSBProgFilePath(m_proger.m_strID, QStringLiteral("image.dat"));
    return CSafeFile::Write(path, hub->GetUSBProgFilePath(m_proger.m_strID, QString()), content, err);
}

void CBackupTarget::SendFile(const QString &path, const QString &name, int index)
{
    if (IsUsb()) {
        if (m_pUsb && m_pUsb->SendFileToProger(m_proger.m_strRoot, path, index))
            return;
        QTimer::singleShot(0, this, [this, name]() { emit sigFileDone(name, false); });
        return;
    }
    // Each file is replaced in one step: whole or not at all.
    QString root = m_proger.m_strRoot;
    if (!root.endsWith(QLatin1Char('/')))
        root += QLatin1Char('/');
    const QString dst = root + (index < 0 ? QStringLiteral("config/") : kProcs) + name;
    QString err;
    const bool ok = CFileName::IsPlain(name) && CSafeFile::Replace(path, dst, root, err);
    QTimer::singleShot(0, this, [this, name, ok]() { emit sigFileDone(name, ok); });
}

void CBackupTarget::OnFileResult(const QString &key, const QString &name, bool ok)
{
    if (key == m_proger.m_strRoot)
        emit sigFileDone(name, ok);
}
