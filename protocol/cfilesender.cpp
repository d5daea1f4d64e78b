#include "cfilesender.h"

#include "cfilename.h"
#include "clinktcps.h"
#include "cmainhost.h"
#include "packets.h"
#include "prototext.h"

#include <csafefile.h>
#include <functool.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTimer>

#include <list>
#include <memory>

QEL_PROTO_NS_BEGIN

namespace {

int g_nFileId = 0;

#if QEL_SERVER_SIDE
struct Transfer
{
    std::unique_ptr<QFile> file;
    FileContentPacket route; // carries the way back to the peer
    QString peer;            // one key per peer, for the per-peer limit
    QString name;
    int imageIndex = 0;
    int fileId = 0;
    qint64 size = 0;
    qint64 sent = 0;
    QElapsedTimer idle;
};

std::list<Transfer> g_transfers;
bool g_bScheduled = false;

QString PeerOf(const Packet &route)
{
    if (!route.m_strIP.isEmpty() && route.m_nPort > 0)
        return route.m_strIP + QLatin1Char(':') + QString::number(route.m_nPort);
    return route.m_strNsqTopic + QLatin1Char('|') + route.m_strMqttTopic;
}

// Bytes the TCP peer of the transfer has not taken yet: 0 for a broker route,
// -1 when the peer has gone.
qint64 Pending(const Transfer &t)
{
    CLinkTcpS *tcp = CMainHost::Instance()->m_links.pTcpServer;
    if (t.route.m_strIP.isEmpty() || t.route.m_nPort <= 0 || !tcp)
        return 0;
    return tcp->PendingBytes(t.route.m_strIP, t.route.m_nPort);
}

enum class Step { Sent, Waiting, Finished };

Step SendSome(Transfer &t)
{
    CMainHost *host = CMainHost::Instance();
    const qint64 pending = Pending(t);
    if (pending < 0) {
        host->Log(ProtoText::tr("对端已断开, 停止发送文件:") + t.name);
        return Step::Finished;
    }
    if (pending > CFileSender::kPauseBytes) {
        if (t.idle.elapsed() < CFileSender::kStallMs)
            return Step::Waiting;
        host->Log(ProtoText::tr("对端长时间未接收, 停止发送文件:") + t.name);
        return Step::Finished;
    }
    for (int i = 0; i < CFileSender::kChunksPerTurn; ++i) {
        const QByteArray chunk = t.file->read(CFileSender::kChunkSize);
        if (chunk.isEmpty())
            return Step::Finished;
        if (t.sent == 0)
            host->ShowBusy(ProtoText::tr("远程下发镜像中..."));
        t.sent += chunk.size();
        FileContentPacket packet = t.route;
        packet.SetData({t.name, t.imageIndex, t.fileId, QString::fromLatin1(chunk.toBase64()), t.sent < t.size});
        packet.Send();
        t.idle.restart();
    }
    return t.sent < t.size ? Step::Sent : Step::Finished;
}

void Schedule(int ms);

void Turn()
{
    g_bScheduled = false;
    bool anySent = false;
    for (auto it = g_transfers.begin(); it != g_transfers.end();) {
        // Sending may drop a peer and with it other transfers' routes; each is checked on its turn.
        const Step step = SendSome(*it);
        anySent = anySent || step == Step::Sent;
        it = step == Step::Finished ? g_transfers.erase(it) : std::next(it);
    }
    if (!g_transfers.empty())
        Schedule(anySent ? 0 : 10);
}

void Schedule(int ms)
{
    if (g_bScheduled)
        return;
    g_bScheduled = true;
    QTimer::singleShot(ms, Turn);
}
#endif

} // namespace

QString CFileSender::WorkDir()
{
    const QString dir = FuncTool::GetQELDir() + QStringLiteral("qel720A_server/");
    QDir().mkpath(dir);
    return dir;
}

int CFileSender::NextFileId()
{
    return g_nFileId;
}

#if QEL_SERVER_SIDE
bool CFileSender::Stream(const RecvPacket &request, const qelmsg::FileRead &msg)
{
    CMainHost *host = CMainHost::Instance();
    host->Log(ProtoText::tr("开始发送文件:") + msg.name);
    QString path;
    if (!CFileName::InFolder(WorkDir(), msg.name, path)) {
        host->Log(ProtoText::tr("文件名不合法, 拒绝发送:") + msg.name);
        return false;
    }
    Transfer t;
    request.RouteReply(t.route);
    t.peer = PeerOf(t.route);
    int running = 0;
    for (const Transfer &other : g_transfers)
        running += other.peer == t.peer ? 1 : 0;
    if (running >= kMaxPerPeer) {
        host->Log(ProtoText::tr("文件发送任务过多, 拒绝发送:") + msg.name);
        return false;
    }
    // Confined by where the name leads, not by its text: a link in the work
    // folder must not hand out a file elsewhere.
    t.file = std::make_unique<QFile>();
    QString why;
    if (!CSafeFile::OpenRead(*t.file, path, WorkDir(), why)) {
        host->Log(ProtoText::tr("打开文件失败:") + path);
        if (QFileInfo::exists(path) || QFileInfo(path).isSymLink())
            host->Log(why);
        return false;
    }
    t.name = msg.name;
    t.imageIndex = msg.imageIndex;
    t.fileId = g_nFileId++;
    t.size = t.file->size();
    t.idle.start();
    if (t.size > 0) {
        g_transfers.push_back(std::move(t));
        Schedule(0);
    }
    return true;
}

int CFileSender::Running()
{
    return int(g_transfers.size());
}
#else
int CFileSender::Running()
{
    return 0;
}
#endif

QEL_PROTO_NS_END
