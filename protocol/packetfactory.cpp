#include "packets.h"

#include "cpeerjson.h"

QEL_PROTO_NS_BEGIN

namespace {

struct Maker
{
    const char *cmd;
    RecvPacket *(*make)();
};

template <class P>
Maker Make()
{
    return {P::Msg::cmd, [] { return static_cast<RecvPacket *>(new P); }};
}

// The names this program accepts, in the order they are tested.
const QList<Maker> &Makers()
{
#if QEL_SERVER_SIDE
    static const QList<Maker> makers = {
        Make<ProgRespPacket>(),         Make<MqttSocketDisconnect>(),   Make<ProgDisconnectPacket>(),
        Make<FileReadPacket>(),         Make<FileSavePacket>(),         Make<FileDownloadPacket>(),
        Make<ImageRespPacket>(),        Make<ConfigRespPacket>(),       Make<ClearImageRespPacket>(),
        Make<FWriteRespPacket>(),       Make<FDelRespPacket>(),         Make<WriteRespPacket>(),
        Make<FileAttrRespPacket>(),     Make<FVerifyRespPacket>(),      Make<DownloadResultRespPacket>(),
        Make<LoginRespPacket>(),        Make<ReadRecordRespPacket>(),   Make<PullFileDataRespPacket>(),
        Make<RecordAppendRespPacket>(), Make<UploadFileRespPacket>(),   Make<FindDBLoginRespPacket>(),
        Make<GetUserOIIRespPacket>(),   Make<UpdateIMGRecRespPacket>(), Make<DeleteIMGRespPacket>(),
        Make<ShareIMGRespPacket>(),
    };
#else
    // "loginResp" and "get-offline-img-resp" answer the client's own offline-image login and request.
    static const QList<Maker> makers = {
        Make<ProgReqPacket>(),          Make<MqttSocketDisconnect>(), Make<ImageReqPacket>(),
        Make<ConfigReqPacket>(),        Make<ClearImageReqPacket>(),  Make<FileAttribPacket>(),
        Make<FileContentPacket>(),      Make<PullFileDataRespPacket>(), Make<GetOfflineImgRespPacket>(),
        Make<LoginRespPacket>(),
    };
#endif
    return makers;
}

} // namespace

RecvPacket *ParsePacket(const QByteArray &text)
{
    QJsonObject object;
    if (!CPeerJson::ParseObject(text, object))
        return nullptr;
    const QJsonValue cmd = object.value(QStringLiteral("cmd"));
    if (!cmd.isString())
        return nullptr;
    const QString name = cmd.toString();
    for (const Maker &maker : Makers()) {
        if (name == QLatin1String(maker.cmd)) {
            RecvPacket *packet = maker.make();
            packet->m_json = object;
            if (object.contains(QStringLiteral("no")))
                packet->m_nNo = quint8(object.value(QStringLiteral("no")).toInt());
            return packet;
        }
    }
    return nullptr;
}

QEL_PROTO_NS_END
