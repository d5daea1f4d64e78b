#include "cremoterecordsync.h"

#include "remoteserver.h"

#include <burnhub.h>
#include <csafefile.h>
#include <progerinfo.h>

#include <QFile>
#include <QFileInfo>

const char *const CRemoteRecordSync::RecordFile = "record_mcu.dat";

CRemoteRecordSync::CRemoteRecordSync(remoteServer *cloud, std::function<void(const QString &)> log, QObject *parent)
    : QObject(parent), m_pCloud(cloud), m_log(std::move(log))
{
    connect(cloud, &remoteServer::sigUploadProgress, this, &CRemoteRecordSync::Progress);
    connect(cloud, &remoteServer::sigUploadDone, this, &CRemoteRecordSync::Done);
    connect(cloud, &remoteServer::sigUploadFailed, this, &CRemoteRecordSync::Failed);
}

bool CRemoteRecordSync::Start(const ProgerInfo *proger, QString &warning)
{
    if (!proger) {
        warning = tr("下载器未选择!");
        return false;
    }
    if (proger->m_bHID || proger->m_bVCP) {
        warning = tr("记录文件数据量一般较大，暂不支持当前USB通信模式进行同步!");
        return false;
    }
    // A station's programmer is not on this PC: a folder of the same name here is not its record.
    if (!proger->m_bLocal) {
        warning = tr("远程下载器暂不支持记录同步!");
        return false;
    }
    BurnHub *hub = BurnHub::Instance();
    hub->SetProgRoot(proger->m_strRoot);
    const QString path = hub->GetConfigDir() + QLatin1String(RecordFile);
    // A link that leads out of the programmer's folder is no record of it.
    if (!QFileInfo(path).isFile() || !CSafeFile::IsInside(proger->m_strRoot, path)) {
        warning = tr("当前烧录器无记录数据！");
        return false;
    }
    if (m_paths.contains(proger->m_strID)) {
        warning = tr("下载器-%1 记录正在上传").arg(proger->m_strID);
        return false;
    }
    m_log(tr("开始上传文件数据"));
    m_paths.insert(proger->m_strID, path);
    if (!m_pCloud->UploadFile(proger->m_strID, path)) {
        m_paths.remove(proger->m_strID);
        return false;
    }
    return true;
}

void CRemoteRecordSync::Progress(const QString &uid, const QString &name, int percent)
{
    if (name == QLatin1String(RecordFile) && m_paths.contains(uid))
        m_log(tr("下载器-%1 文件上传进度: %2 %").arg(uid, QString::number(percent)));
}

void CRemoteRecordSync::Done(const QString &uid, const QString &name)
{
    if (name != QLatin1String(RecordFile) || !m_paths.contains(uid))
        return;
    const QString path = m_paths.take(uid);
    m_log(tr("下载器-%1 文件上传进度: 100 %").arg(uid));
    if (QFile::remove(path))
        m_log(tr("下载器：%1， 上传文件数据完成并释放下载器文件").arg(uid));
    else
        m_log(tr("下载器：%1， 上传文件数据完成但释放文件失败，请手动删除/config/%2文件").arg(uid, name));
}

void CRemoteRecordSync::Failed(const QString &uid, const QString &name)
{
    // remoteServer has logged the reason; the record stays on the programmer.
    if (name == QLatin1String(RecordFile))
        m_paths.remove(uid);
}
