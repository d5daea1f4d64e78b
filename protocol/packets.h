#pragma once
// The concrete messages of this program. Each one is built on the codec of
// messages.h; whether it is sent or received here depends on the side the
// protocol is built for.
#include "messages.h"
#include "packet.h"

#include <QJsonDocument>

QEL_PROTO_NS_BEGIN

template <class M, SendPacket::Route R>
class TSendPacket : public SendPacket
{
public:
    using Msg = M;

    void SetData(const M &data) { m_data = data; }
    QByteArray ToText() const { return QJsonDocument(m_data.ToJson()).toJson(QJsonDocument::Compact); }
    bool Send() override { return Deliver(R, ToText()); }

    M m_data;
};

template <class M>
class TRecvPacket : public RecvPacket
{
public:
    using Msg = M;

    M Data() const { return M::FromJson(m_json); }
};

#define QEL_SEND_CLASS(Class, M, R)                                                                \
    class Class : public TSendPacket<M, SendPacket::R>                                             \
    {                                                                                              \
    };
#define QEL_RECV_CLASS(Class, M)                                                                   \
    class Class : public TRecvPacket<M>                                                            \
    {                                                                                              \
    public:                                                                                        \
        void HandleData() override;                                                                \
    };

// Station messages: the server sends QEL_TO_STATION and receives QEL_TO_SERVER;
// the client the reverse.
#if QEL_SERVER_SIDE
#define QEL_TO_STATION(Class, M) QEL_SEND_CLASS(Class, M, ToPeer)
#define QEL_TO_SERVER(Class, M) QEL_RECV_CLASS(Class, M)
#else
#define QEL_TO_STATION(Class, M) QEL_RECV_CLASS(Class, M)
#define QEL_TO_SERVER(Class, M) QEL_SEND_CLASS(Class, M, ToPeer)
#endif

QEL_TO_STATION(ProgReqPacket, qelmsg::ProgRequest)
QEL_TO_SERVER(ProgRespPacket, qelmsg::ProgResponse)
QEL_TO_STATION(ImageReqPacket, qelmsg::ImageRequest)
QEL_TO_SERVER(ImageRespPacket, qelmsg::ImageResponse)
QEL_TO_STATION(ConfigReqPacket, qelmsg::ConfigRequest)
QEL_TO_SERVER(ConfigRespPacket, qelmsg::ConfigResponse)
QEL_TO_STATION(ClearImageReqPacket, qelmsg::ClearImageRequest)
QEL_TO_SERVER(ClearImageRespPacket, qelmsg::ClearImageResponse)
QEL_TO_SERVER(FileReadPacket, qelmsg::FileRead)
QEL_TO_STATION(FileAttribPacket, qelmsg::FileAttrib)
QEL_TO_STATION(FileContentPacket, qelmsg::FileContent)
QEL_TO_SERVER(FileSavePacket, qelmsg::FileSave)
QEL_TO_SERVER(FileDownloadPacket, qelmsg::FileDownload)
QEL_TO_SERVER(ProgDisconnectPacket, qelmsg::ProgDisconnect)
// Both programs react to "socket-disconnect" (the station's peer has gone).
QEL_RECV_CLASS(MqttSocketDisconnect, qelmsg::SocketDisconnect)

// Programmers in HID mode: the same direction on both sides.
QEL_SEND_CLASS(FReadAttrReqPacket, qelmsg::FileAttrReq, ToUsb)
QEL_RECV_CLASS(FileAttrRespPacket, qelmsg::FileAttrResp)
QEL_RECV_CLASS(WriteRespPacket, qelmsg::WriteResp)
QEL_RECV_CLASS(FWriteRespPacket, qelmsg::FWriteResp)
QEL_RECV_CLASS(FVerifyRespPacket, qelmsg::FVerifyResp)
QEL_RECV_CLASS(FDelRespPacket, qelmsg::FDelResp)
QEL_RECV_CLASS(DownloadResultRespPacket, qelmsg::DownResult)

// A setting or command; its "no" is the packet's number, which the answer echoes.
class WriteReqPacket : public TSendPacket<qelmsg::WriteReq, SendPacket::ToUsb>
{
public:
    void SetData(quint8 no, const QString &type, const QString &value);
};

// One chunk of a local file written to the programmer as a binary frame.
class FWriteReqPacket : public SendPacket
{
public:
    static constexpr int kMaxChunk = 880;
    static constexpr int kHeadSize = 72;
    static constexpr int kNameSize = 64;
    static constexpr int kBufferSize = 1016;

    void SetData(quint8 no, const QString &localPath, const QString &remoteName, qint32 offset);
    // The payload: 72 bytes of head, then the chunk read at the offset.
    QByteArray BuildFrame(bool *more = nullptr, qint64 *fileSize = nullptr) const;
    bool Send() override;

    // Progress shown while sending: image and firmware files keep the last two
    // percent for the verification answer.
    static int ShownProgress(qint64 offset, qint64 fileSize, const QString &remoteName, const QString &localPath);

    QString m_strLocalPath;
    QString m_strRemoteName;
    qint32 m_nOffset = 0;
};

// Cloud service: requests and answers, the same on both sides.
QEL_SEND_CLASS(LoginQelvoSPacket, qelmsg::Login, ToCloud)
QEL_SEND_CLASS(UploadRecordPacket, qelmsg::UploadRecord, ToCloud)
QEL_SEND_CLASS(ReadRecordReqPacket, qelmsg::ReadRecordReq, ToCloud)
QEL_SEND_CLASS(PullFileDataPacket, qelmsg::PullFileData, ToCloud)
QEL_SEND_CLASS(RecordAppendPacket, qelmsg::RecordAppend, ToCloud)
QEL_SEND_CLASS(UploadFileReqPacket, qelmsg::UploadFileReq, ToCloud)
QEL_SEND_CLASS(FindDBLoginReqPacket, qelmsg::FindDBLoginReq, ToCloud)
QEL_SEND_CLASS(GetUserOIIReqPacket, qelmsg::GetUserOIIReq, ToCloud)
QEL_SEND_CLASS(UpdateImageRecordReqPacket, qelmsg::UpdateImageRecordReq, ToCloud)
QEL_SEND_CLASS(OfflineIMGDelReqPacket, qelmsg::OfflineIMGDelReq, ToCloud)
QEL_SEND_CLASS(OfflineIMGShareReqPacket, qelmsg::OfflineIMGShareReq, ToCloud)
QEL_SEND_CLASS(GetOfflineIMGReqPacket, qelmsg::GetOfflineIMGReq, ToCloud)

QEL_RECV_CLASS(LoginRespPacket, qelmsg::LoginResp)
QEL_RECV_CLASS(ReadRecordRespPacket, qelmsg::ReadRecordResp)
QEL_RECV_CLASS(PullFileDataRespPacket, qelmsg::PullFileDataResp)
QEL_RECV_CLASS(RecordAppendRespPacket, qelmsg::RecordAppendResp)
QEL_RECV_CLASS(UploadFileRespPacket, qelmsg::UploadFileResp)
QEL_RECV_CLASS(FindDBLoginRespPacket, qelmsg::FindDBLoginResp)
QEL_RECV_CLASS(GetUserOIIRespPacket, qelmsg::GetUserOIIResp)
QEL_RECV_CLASS(UpdateIMGRecRespPacket, qelmsg::UpdateIMGRecResp)
QEL_RECV_CLASS(DeleteIMGRespPacket, qelmsg::DeleteIMGResp)
QEL_RECV_CLASS(ShareIMGRespPacket, qelmsg::ShareIMGResp)
QEL_RECV_CLASS(GetOfflineImgRespPacket, qelmsg::GetOfflineImgResp)

QEL_PROTO_NS_END
