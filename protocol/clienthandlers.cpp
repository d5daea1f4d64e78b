// What the client station does with the requests of a server station: each is
// answered on the link and route it came by.
#include "protocolside.h"

#if !QEL_SERVER_SIDE

#include "cfilename.h"
#include "cmainhost.h"
#include "packets.h"
#include "prototext.h"

#include <progerinfo.h>

QEL_PROTO_NS_BEGIN

void ProgReqPacket::HandleData()
{
    ProgerInfo info;
    qelmsg::ProgResponse d;
    if (CMainHost::Instance()->GetSelectedProger(info))
        d = {info.m_strRoot, info.m_strID, info.m_strModel, info.m_strVer, QString()};
    else
        d.reason = ProtoText::tr("未找到下载器");
    ProgRespPacket answer;
    RouteReply(answer);
    answer.SetData(d);
    answer.Send();
}

void ImageReqPacket::HandleData()
{
    QList<ImageInfo> images;
    CMainHost::Instance()->ReadProgerImages(images);
    qelmsg::ImageResponse d;
    for (const ImageInfo &info : qAsConst(images))
        d.images.append({info.m_nIndex, info.m_strName, info.m_strTime});
    ImageRespPacket answer;
    RouteReply(answer);
    answer.SetData(d);
    answer.Send();
}

void ConfigReqPacket::HandleData()
{
    qelmsg::ConfigResponse d;
    CMainHost::Instance()->ReadProgerConfig(d.entries);
    ConfigRespPacket answer;
    RouteReply(answer);
    answer.SetData(d);
    answer.Send();
}

void ClearImageReqPacket::HandleData()
{
    const QString name = Data().imageName;
    const bool ok = CMainHost::Instance()->ClearProgerImage(name);
    ClearImageRespPacket answer;
    RouteReply(answer);
    answer.SetData({name, ok});
    answer.Send();
}

void FileAttribPacket::HandleData()
{
    const qelmsg::FileAttrib d = Data();
    CMainHost *host = CMainHost::Instance();
    host->Log(ProtoText::tr("收到文件推送, name=%1, size=%2, date=%3").arg(d.name, QString::number(d.size), d.date));
    if (!CFileName::IsPlain(d.name)) {
        host->Log(ProtoText::tr("文件名不合法, 拒绝接收:") + d.name);
        return;
    }
    host->Log(ProtoText::tr("开始召唤文件"));
    FileReadPacket answer;
    RouteReply(answer);
    answer.SetData({d.name, d.imageIndex});
    answer.Send();
}

void FileContentPacket::HandleData()
{
    const qelmsg::FileContent d = Data();
    CMainHost *host = CMainHost::Instance();
    if (!CFileName::IsPlain(d.name)) {
        host->Log(ProtoText::tr("文件名不合法, 拒绝接收:") + d.name);
        return;
    }
    host->OnFileContent(*this, d, QByteArray::fromBase64(d.data.toLatin1()));
}

QEL_PROTO_NS_END

#endif
