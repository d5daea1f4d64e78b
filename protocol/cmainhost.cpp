#include "cmainhost.h"

#include "packet.h"
#include "prototext.h"

#include <QDebug>

#include <memory>

#if QEL_SERVER_SIDE
using namespace ns_prog720a;
#endif

namespace {
CMainHost *g_pHost = nullptr;

// Messages at least this long are file data and are not written out whole.
const int kLongCloudText = 1024;
} // namespace

CMainHost::~CMainHost()
{
    if (g_pHost == this)
        g_pHost = nullptr;
}

CMainHost *CMainHost::Instance()
{
    static CMainHost fallback;
    return g_pHost ? g_pHost : &fallback;
}

void CMainHost::SetInstance(CMainHost *host)
{
    g_pHost = host;
}

namespace {
// Answers only the cloud service gives.
bool IsCloudAnswer(const RecvPacket &packet)
{
    static const QStringList names = {
        QLatin1String(qelmsg::LoginResp::cmd),        QLatin1String(qelmsg::ReadRecordResp::cmd),
        QLatin1String(qelmsg::PullFileDataResp::cmd), QLatin1String(qelmsg::RecordAppendResp::cmd),
        QLatin1String(qelmsg::UploadFileResp::cmd),   QLatin1String(qelmsg::FindDBLoginResp::cmd),
        QLatin1String(qelmsg::GetUserOIIResp::cmd),   QLatin1String(qelmsg::UpdateIMGRecResp::cmd),
        QLatin1String(qelmsg::DeleteIMGResp::cmd),    QLatin1String(qelmsg::ShareIMGResp::cmd),
        QLatin1String(qelmsg::GetOfflineImgResp::cmd),
    };
    return names.contains(packet.m_json.value(QStringLiteral("cmd")).toString());
}
} // namespace

void CMainHost::Handle(RecvPacket *raw, bool fromCloud)
{
    std::unique_ptr<RecvPacket> packet(raw);
    if (!packet)
        return;
    // A station or a programmer cannot answer for the cloud (log in, hand over a file).
    if (!fromCloud && IsCloudAnswer(*packet)) {
        Log(ProtoText::tr("云端应答来自非云端连接, 已忽略"));
        return;
    }
    packet->HandleData();
}

void CMainHost::DispatchTcp(const QByteArray &text, const QString &ip, int port)
{
    Log(ProtoText::tr("%1:%2 收到报文:%3").arg(ip, QString::number(port), ProtoText::Message(text)));
    RecvPacket *packet = ParsePacket(text);
    if (packet)
        packet->SetPeer(ip, port);
    Handle(packet);
}

void CMainHost::DispatchCloud(const QByteArray &text, const QString &ip, int port)
{
    if (text.size() >= kLongCloudText)
        qDebug().noquote() << QStringLiteral("%1:%2 收到文件数据").arg(ip).arg(port);
    else
        qDebug().noquote() << QStringLiteral("%1:%2 收到报文:%3").arg(ip, QString::number(port), QString::fromUtf8(text));
    RecvPacket *packet = ParsePacket(text);
    if (packet)
        packet->SetPeer(ip, port);
    Handle(packet, true);
}

void CMainHost::DispatchTopic(CRemoteKey::Kind via, const QString &topic, const QByteArray &text)
{
    Log(ProtoText::tr("topic:%1 收到报文:%2").arg(topic, ProtoText::Message(text)));
    RecvPacket *packet = ParsePacket(text);
    if (packet) {
        if (via == CRemoteKey::Nsq)
            packet->SetNsqTopic(topic);
        else
            packet->SetMqttTopic(topic);
    }
    Handle(packet);
}

void CMainHost::DispatchHid(const QByteArray &text, const QString &key)
{
    Log(ProtoText::tr("%1 收到报文:%2").arg(key, ProtoText::Message(text)));
    RecvPacket *packet = ParsePacket(text);
    if (packet)
        packet->m_serial = key;
    Handle(packet);
}

void CMainHost::Log(const QString &text)
{
    qDebug().noquote() << text;
}

void CMainHost::OnUsbFrame(const QByteArray &, const QString &) {}
void CMainHost::AddRemoteProger(const CRemoteKey &) {}
void CMainHost::RemoveRemoteProger(const CRemoteKey &) {}
void CMainHost::ShowServiceState(CRemoteKey::Kind, bool, const QString &) {}
void CMainHost::UpdateRemoteProger(const CRemoteKey &, const qelmsg::ProgResponse &) {}
void CMainHost::ShowRemoteImages(const CRemoteKey &, const QList<ImageInfo> &) {}
void CMainHost::ShowRemoteConfig(const CRemoteKey &, const QMap<QString, QString> &) {}
void CMainHost::RefreshRemoteImages(const CRemoteKey &) {}
void CMainHost::ShowBusy(const QString &) {}
void CMainHost::CloseBusy() {}
void CMainHost::OnFileLoaded(const CRemoteKey &, const QString &, bool) {}

QList<WaitCmd *> *CMainHost::WaitList(const QString &)
{
    return nullptr;
}

void CMainHost::AddProgerFiles(const QString &, const QList<qelmsg::FilePoint> &) {}
void CMainHost::SetTransferProgress(const QString &, int) {}

bool CMainHost::GetSelectedProger(ProgerInfo &)
{
    return false;
}

bool CMainHost::ReadProgerImages(QList<ImageInfo> &)
{
    return false;
}

bool CMainHost::ReadProgerConfig(QMap<QString, QString> &)
{
    return false;
}

bool CMainHost::ClearProgerImage(const QString &)
{
    return false;
}

void CMainHost::OnFileContent(const RecvPacket &, const qelmsg::FileContent &, const QByteArray &) {}
void CMainHost::OnLoginResp(const qelmsg::LoginResp &) {}
void CMainHost::OnReadRecordResp(const qelmsg::ReadRecordResp &) {}
void CMainHost::OnPullFileDataResp(const qelmsg::PullFileDataResp &) {}
void CMainHost::OnRecordAppendResp(const qelmsg::RecordAppendResp &) {}
void CMainHost::OnUploadFileResp(const qelmsg::UploadFileResp &) {}
void CMainHost::OnFindDBLoginResp(const qelmsg::FindDBLoginResp &) {}
void CMainHost::OnGetUserOIIResp(const qelmsg::GetUserOIIResp &) {}
void CMainHost::OnUpdateIMGRecResp(const qelmsg::UpdateIMGRecResp &) {}
void CMainHost::OnDeleteIMGResp(const qelmsg::DeleteIMGResp &) {}
void CMainHost::OnShareIMGResp(const qelmsg::ShareIMGResp &) {}
void CMainHost::OnGetOfflineImgResp(const qelmsg::GetOfflineImgResp &) {}
