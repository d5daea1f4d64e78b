// What the server does with the answers of client stations.
#include "protocolside.h"

#if QEL_SERVER_SIDE

#include "cfilesender.h"
#include "clinkmqtt.h"
#include "clinknsq.h"
#include "cmainhost.h"
#include "packets.h"
#include "prototext.h"

#include <progerinfo.h>
#include <progerlimits.h>

QEL_PROTO_NS_BEGIN

void ProgRespPacket::HandleData()
{
    const CRemoteKey key = RemoteKeyOf(*this);
    const qelmsg::ProgResponse d = Data();
    // A station tells what its programmer is; beyond the model's limits it is not believed.
    if (!ProgerLimits::IsBelievable(d.id, d.model, d.ver, d.path)
        || d.reason.size() > ProgerLimits::kMaxPathLength) {
        CMainHost::Instance()->Log(ProtoText::tr("下载器信息超出长度限制, 已忽略"));
        return;
    }
    if (key.IsValid())
        CMainHost::Instance()->UpdateRemoteProger(key, d);
}

void ImageRespPacket::HandleData()
{
    QList<ImageInfo> images;
    for (const qelmsg::ImageItem &item : Data().images) {
        ImageInfo info;
        info.m_nIndex = item.index;
        info.m_strName = item.name;
        info.m_strTime = item.lastModi;
        images.append(info);
    }
    CMainHost *host = CMainHost::Instance();
    host->ShowRemoteImages(RemoteKeyOf(*this), images);
    host->Log(ProtoText::tr("更新远程镜像信息"));
}

void ConfigRespPacket::HandleData()
{
    CMainHost *host = CMainHost::Instance();
    host->ShowRemoteConfig(RemoteKeyOf(*this), Data().entries);
    host->Log(ProtoText::tr("更新远程配置信息数据"));
}

void ClearImageRespPacket::HandleData()
{
    const qelmsg::ClearImageResponse d = Data();
    CMainHost *host = CMainHost::Instance();
    host->Log((d.result ? ProtoText::tr("镜像%1清除成功!") : ProtoText::tr("镜像%1清除失败!")).arg(d.imageName));
    if (d.result)
        host->RefreshRemoteImages(RemoteKeyOf(*this));
}

void FileReadPacket::HandleData()
{
    CFileSender::Stream(*this, Data());
}

void FileSavePacket::HandleData()
{
    const qelmsg::FileSave d = Data();
    CMainHost::Instance()->Log((d.result ? ProtoText::tr("文件%1发送成功!") : ProtoText::tr("文件%1发送失败!")).arg(d.name));
}

void FileDownloadPacket::HandleData()
{
    const qelmsg::FileDownload d = Data();
    CMainHost *host = CMainHost::Instance();
    host->Log((d.result ? ProtoText::tr("文件%1下装成功!") : ProtoText::tr("文件%1下装失败!")).arg(d.name));
    // A failed load ends the transfer too; the busy box must not stay up.
    host->CloseBusy();
    host->OnFileLoaded(RemoteKeyOf(*this), d.name, d.result);
}

void ProgDisconnectPacket::HandleData()
{
    // The station leaves the link it said goodbye on; a broker service serves
    // that one station and stops with it, the listener goes on serving others.
    CMainHost *host = CMainHost::Instance();
    const CRemoteKey key = RemoteKeyOf(*this);
    if (!key.IsValid())
        return;
    host->RemoveRemoteProger(key);
    if (key.kind == CRemoteKey::Nsq && host->m_links.pNsq)
        host->m_links.pNsq->CloseInst();
    else if (key.kind == CRemoteKey::Mqtt && host->m_links.pMqtt)
        host->m_links.pMqtt->CloseInst();
}

QEL_PROTO_NS_END

#endif
