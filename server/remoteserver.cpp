#include "remoteserver.h"

#include "cmainhost.h"
#include "cofflinecode.h"
#include "cpubactions.h"
#include "functool.h"
#include "packets.h"
#include "serverdefs.h"

#include <QDebug>
#include <QFileInfo>

#include <utility>

using namespace ns_prog720a;

namespace {
const QString kGroup = QStringLiteral("CLOUD");
const QString kExFactory = QStringLiteral("ExFactory.sql");
const QString kRepair = QStringLiteral("Repair.sql");
} // namespace

remoteServer::remoteServer(QObject *parent) : QObject(parent), m_pull(ServerDefs::WorkDir())
{
    m_link.onState = [this](bool connected, bool wasConnected) { OnConnState(connected, wasConnected); };
}

remoteServer::~remoteServer()
{
    m_link.onState = nullptr;
}

QString remoteServer::CloudHost()
{
    return FuncTool::WideServerIP(ServerDefs::IniFile());
}

int remoteServer::CloudPort()
{
    return CPubActions(false).GetInt(kGroup, QStringLiteral("PORT"), 61690, ServerDefs::IniFile());
}

void remoteServer::Log(const QString &text) const
{
    CMainHost::Instance()->Log(text);
}

void remoteServer::Connect()
{
    if (m_link.IsConnected() || m_bDialing)
        return;
    m_bDialing = true;
    m_link.Connect(CloudHost(), CloudPort());
}

template <class P> void remoteServer::Request(const typename P::Msg &data, const char *answer)
{
    P packet;
    packet.SetData(data);
    Queue({QString::fromLatin1(P::Msg::cmd), packet.ToText(), answer ? QString::fromLatin1(answer) : QString()});
}

void remoteServer::Queue(const Pending &request)
{
    if (m_link.IsConnected()) {
        Send(request);
        return;
    }
    if (m_pending.size() >= kMaxPending) {
        Log(tr("云服务器连接中, 请求过多, 未发送: %1").arg(request.cmd));
        emit sigRequestDropped(request.cmd);
        return;
    }
    m_pending.append(request);
    Connect();
}

void remoteServer::Send(const Pending &request)
{
    if (m_link.SendMessage(request.text) && !request.answer.isEmpty())
        ++m_waiting[request.answer];
}

bool remoteServer::TakeWaiting(const char *answer)
{
    const QString name = QString::fromLatin1(answer);
    auto it = m_waiting.find(name);
    if (it == m_waiting.end() || it.value() <= 0) {
        Log(tr("无请求等待的应答, 已忽略: %1").arg(name));
        return false;
    }
    if (--it.value() == 0)
        m_waiting.erase(it);
    return true;
}

void remoteServer::OnConnState(bool connected, bool wasConnected)
{
    m_bDialing = false;
    if (connected) {
        const QList<Pending> pending = std::exchange(m_pending, {});
        for (const Pending &request : pending)
            Send(request);
        emit sigConnState(true);
        return;
    }
    // Answers of the old connection will not come.
    m_waiting.clear();
    const QList<Pending> dropped = std::exchange(m_pending, {});
    for (const Pending &request : dropped) {
        Log(tr("云服务器连接失败, 请求未发送: %1").arg(request.cmd));
        emit sigRequestDropped(request.cmd);
    }
    if (wasConnected)
        Log(tr("云服务器连接已断开"));
    EndTransfers(wasConnected ? tr("云服务器连接已断开") : tr("云服务器连接失败"));
    emit sigConnState(false);
}

void remoteServer::EndTransfers(const QString &reason)
{
    for (const QString &name : m_pull.Abort()) {
        Log(tr("文件传输失败") + QStringLiteral(" %1: %2").arg(name, reason));
        emit sigPullFailed(name, reason);
    }
    for (const auto &item : m_upload.Abort())
        emit sigUploadFailed(item.first, item.second, reason);
}

// ---------------------------------------------------------------- operations

void remoteServer::Login(const QString &user, const QString &password)
{
    Request<LoginQelvoSPacket>({user, password}, qelmsg::LoginResp::cmd);
}

void remoteServer::UploadRecord(const qelmsg::UploadRecord &record)
{
    Request<UploadRecordPacket>(record);
}

void remoteServer::ReadRecords(const QString &user)
{
    Request<ReadRecordReqPacket>({user}, qelmsg::ReadRecordResp::cmd);
}

void remoteServer::FindDBLogin(const QString &table, const QString &user, const QString &password)
{
    qDebug() << "remoteServer::FindDBLogin" << IsConnected();
    Request<FindDBLoginReqPacket>({table, user, password}, qelmsg::FindDBLoginResp::cmd);
}

void remoteServer::AppendRecord(const qelmsg::RecordAppend &record)
{
    Request<RecordAppendPacket>(record, qelmsg::RecordAppendResp::cmd);
}

void remoteServer::GetUserImages(const QString &user)
{
    Request<GetUserOIIReqPacket>({user}, qelmsg::GetUserOIIResp::cmd);
}

void remoteServer::DeleteImage(const QString &user, const QString &name, bool all)
{
    Request<OfflineIMGDelReqPacket>({user, name, all}, qelmsg::DeleteIMGResp::cmd);
}

void remoteServer::ShareImage(const QString &user, const QString &name, int days, int count)
{
    Request<OfflineIMGShareReqPacket>({user, name, days, count}, qelmsg::ShareIMGResp::cmd);
}

void remoteServer::UpdateImageRecord(const QString &identity, const QString &name, const QString &crc2)
{
    Request<UpdateImageRecordReqPacket>({identity, name, crc2}, qelmsg::UpdateIMGRecResp::cmd);
}

bool remoteServer::UploadFile(const QString &uid, const QString &path)
{
    const CCloudUpload::Result r = m_upload.Start(uid, path);
    if (r.step != CCloudUpload::Send) {
        Log(r.reason);
        emit sigUploadFailed(uid, QFileInfo(path).fileName(), r.reason);
        return false;
    }
    Request<UploadFileReqPacket>(r.request);
    return true;
}

bool remoteServer::PullFile(const QString &name)
{
    QString reason;
    if (!m_pull.Start(name, reason)) {
        Log(tr("文件传输失败") + QLatin1Char(' ') + reason);
        return false;
    }
    Request<PullFileDataPacket>({name, 0});
    return true;
}

// ---------------------------------------------------------------- answers

template <class M> void remoteServer::HandOn(const M &answer, void (remoteServer::*signal)(const M &))
{
    if (TakeWaiting(M::cmd))
        emit(this->*signal)(answer);
}

void remoteServer::HandleLoginResp(const qelmsg::LoginResp &answer)
{
    HandOn(answer, &remoteServer::sigLoginResp);
}

void remoteServer::HandleReadRecordResp(const qelmsg::ReadRecordResp &answer)
{
    HandOn(answer, &remoteServer::sigReadRecordResp);
}

void remoteServer::HandleRecordAppendResp(const qelmsg::RecordAppendResp &answer)
{
    HandOn(answer, &remoteServer::sigRecordAppendResp);
}

void remoteServer::HandleFindDBLoginResp(const qelmsg::FindDBLoginResp &answer)
{
    HandOn(answer, &remoteServer::sigFindDBLoginResp);
}

void remoteServer::HandleGetUserOIIResp(const qelmsg::GetUserOIIResp &answer)
{
    HandOn(answer, &remoteServer::sigGetUserOIIResp);
}

void remoteServer::HandleUpdateIMGRecResp(const qelmsg::UpdateIMGRecResp &answer)
{
    HandOn(answer, &remoteServer::sigUpdateIMGRecResp);
}

void remoteServer::HandleDeleteIMGResp(const qelmsg::DeleteIMGResp &answer)
{
    HandOn(answer, &remoteServer::sigDeleteIMGResp);
}

void remoteServer::HandleShareIMGResp(const qelmsg::ShareIMGResp &answer)
{
    qelmsg::ShareIMGResp shared = answer;
    if (shared.ret && shared.shareText.isEmpty())
        shared.shareText = COfflineCode::Make(shared.userName, shared.name);
    HandOn(shared, &remoteServer::sigShareIMGResp);
}

void remoteServer::HandlePullFileDataResp(const qelmsg::PullFileDataResp &answer)
{
    const CCloudPull::Result r = m_pull.Accept(answer);
    switch (r.step) {
    case CCloudPull::Ignored:
        Log(r.reason);
        break;
    case CCloudPull::Next:
        Request<PullFileDataPacket>({answer.name, r.nextOffset});
        break;
    case CCloudPull::Done:
        Log(tr("文件传输完成 :") + answer.name);
        emit sigPullDone(answer.name, r.path);
        if (answer.name == kExFactory || answer.name == kRepair)
            emit sigDataBaseFile(answer.name.left(answer.name.size() - 4), r.path);
        break;
    case CCloudPull::Failed:
        Log(tr("文件传输失败") + QStringLiteral(" %1: %2").arg(answer.name, r.reason));
        emit sigPullFailed(answer.name, r.reason);
        break;
    }
}

void remoteServer::HandleUploadFileResp(const qelmsg::UploadFileResp &answer)
{
    const CCloudUpload::Result r = m_upload.Accept(answer);
    switch (r.step) {
    case CCloudUpload::Ignored:
        Log(r.reason);
        break;
    case CCloudUpload::Send:
        emit sigUploadProgress(answer.uid, answer.name, r.percent);
        Request<UploadFileReqPacket>(r.request);
        break;
    case CCloudUpload::Done:
        emit sigUploadDone(answer.uid, answer.name);
        break;
    case CCloudUpload::Failed:
        Log(r.reason);
        emit sigUploadFailed(answer.uid, answer.name, r.reason);
        break;
    }
}
