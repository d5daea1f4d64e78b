// Answers both programs handle alike: programmers in HID mode, the cloud
// service, and a station's peer that has gone.
#include "cfilename.h"
#include "clinkmqtt.h"
#include "cmainhost.h"
#include "packets.h"
#include "prototext.h"

QEL_PROTO_NS_BEGIN

namespace {
// An answer carrying "no" settles the request with that number.
void Acknowledge(const RecvPacket &answer)
{
    if (!answer.m_json.contains(QStringLiteral("no")))
        return;
    if (QList<WaitCmd *> *list = CMainHost::Instance()->WaitList(answer.m_serial))
        WaitCmd::Acknowledge(*list, answer.m_nNo);
}

// Names of files the program will then read, write or delete.
bool AcceptName(const QString &name)
{
    if (CFileName::IsPlain(name))
        return true;
    CMainHost::Instance()->Log(ProtoText::tr("文件名不合法, 已忽略:") + name);
    return false;
}
} // namespace

void MqttSocketDisconnect::HandleData()
{
    CMainHost *host = CMainHost::Instance();
    CLinkMQTT *mqtt = host->m_links.pMqtt;
#if !QEL_SERVER_SIDE
    // The station only reacts while its broker connection is up.
    if (!mqtt || !mqtt->IsOnline())
        return;
#endif
    host->Log(ProtoText::tr("对端已断开, 自动断开云服务器连接"));
    if (mqtt)
        mqtt->CloseInst();
}

void FileAttrRespPacket::HandleData()
{
    const qelmsg::FileAttrResp d = Data();
    CMainHost *host = CMainHost::Instance();
    host->AddProgerFiles(m_serial, d.points);
    if (!d.more) {
        host->Log(ProtoText::tr("镜像文件属性拉取完毕"));
        return;
    }
    host->Log(ProtoText::tr("拉取文件属性..."));
    FReadAttrReqPacket next;
    next.m_pProger = m_pProger;
    next.m_serial = m_serial;
    next.SetData({d.offset});
    next.Send();
}

void WriteRespPacket::HandleData()
{
    Acknowledge(*this);
    const qelmsg::WriteResp d = Data();
    CMainHost *host = CMainHost::Instance();
    if (d.type == QLatin1String("clock"))
        host->Log(d.ret ? ProtoText::tr("下载器对时成功:") + d.curValue : ProtoText::tr("写入出错, 对时失败"));
    else if (d.type == QLatin1String("refresh"))
        host->Log(d.ret ? ProtoText::tr("下载器更新指令完成:") : ProtoText::tr("下载器更新指令失败"));
}

void FWriteRespPacket::HandleData() {}

void FVerifyRespPacket::HandleData()
{
    Acknowledge(*this);
    CMainHost *host = CMainHost::Instance();
    if (Data().ret) {
        host->SetTransferProgress(m_serial, 100);
        host->Log(ProtoText::tr("文件校验完成"));
    } else {
        host->Log(ProtoText::tr("文件校验失败！请重新下发"));
    }
}

void FDelRespPacket::HandleData()
{
    const qelmsg::FDelResp d = Data();
    CMainHost *host = CMainHost::Instance();
    host->Log(ProtoText::tr("删除文件名为：") + d.fileName);
    if (!d.ret)
        host->Log(ProtoText::tr("删除镜像文件失败"));
    else if (d.fileName == QLatin1String("ALL"))
        host->Log(ProtoText::tr("下载器所有镜像文件已删除"));
    else
        host->Log(ProtoText::tr("下载器(HID模式)镜像文件已删除"));
}

void DownloadResultRespPacket::HandleData()
{
    CMainHost::Instance()->Log(ProtoText::tr("下载器") + m_serial +
                               (Data().ret ? ProtoText::tr("下载成功") : ProtoText::tr("下载失败")));
}

void LoginRespPacket::HandleData()
{
    CMainHost::Instance()->OnLoginResp(Data());
}

void ReadRecordRespPacket::HandleData()
{
    CMainHost::Instance()->OnReadRecordResp(Data());
}

void PullFileDataRespPacket::HandleData()
{
    const qelmsg::PullFileDataResp d = Data();
    if (AcceptName(d.name))
        CMainHost::Instance()->OnPullFileDataResp(d);
}

void RecordAppendRespPacket::HandleData()
{
    CMainHost::Instance()->OnRecordAppendResp(Data());
}

void UploadFileRespPacket::HandleData()
{
    const qelmsg::UploadFileResp d = Data();
    if (AcceptName(d.name))
        CMainHost::Instance()->OnUploadFileResp(d);
}

void FindDBLoginRespPacket::HandleData()
{
    CMainHost::Instance()->OnFindDBLoginResp(Data());
}

void GetUserOIIRespPacket::HandleData()
{
    CMainHost::Instance()->OnGetUserOIIResp(Data());
}

void UpdateIMGRecRespPacket::HandleData()
{
    CMainHost::Instance()->OnUpdateIMGRecResp(Data());
}

void DeleteIMGRespPacket::HandleData()
{
    CMainHost::Instance()->OnDeleteIMGResp(Data());
}

void ShareIMGRespPacket::HandleData()
{
    CMainHost::Instance()->OnShareIMGResp(Data());
}

void GetOfflineImgRespPacket::HandleData()
{
    CMainHost::Instance()->OnGetOfflineImgResp(Data());
}

QEL_PROTO_NS_END
