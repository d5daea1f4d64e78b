#include "cfilesender.h"

#include "cfilename.h"
#include "cmainhost.h"
#include "packets.h"
#include "prototext.h"

#include <functool.h>

#include <QDir>
#include <QFile>

QEL_PROTO_NS_BEGIN

namespace {
int g_nFileId = 0;
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
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        host->Log(ProtoText::tr("打开文件失败:") + path);
        return false;
    }
    const qint64 size = file.size();
    qint64 sent = 0;
    bool busyShown = false;
    while (true) {
        const QByteArray chunk = file.read(kChunkSize);
        if (chunk.isEmpty())
            break;
        sent += chunk.size();
        if (!busyShown) {
            host->ShowBusy(ProtoText::tr("远程下发镜像中..."));
            busyShown = true;
        }
        FileContentPacket packet;
        request.RouteReply(packet);
        packet.SetData({msg.name, msg.imageIndex, g_nFileId, QString::fromLatin1(chunk.toBase64()), sent < size});
        packet.Send();
    }
    ++g_nFileId;
    return true;
}
#endif

QEL_PROTO_NS_END
