#pragma once
// Every JSON message the suite exchanges: its "cmd" and its members, written
// once. Both programs build their packet classes on these codecs.
#include "jsonfield.h"

#include <QMap>

namespace qelmsg {

// ---- server station <-> client station

QEL_MESSAGE(ProgRequest, "prog-request", QEL_NO_FIELDS)

// "reason" is filled only when the station has no programmer to report.
#define QEL_F_PROG_RESPONSE(F)                                                                     \
    F(QString, path, "path") F(QString, id, "id") F(QString, model, "model") F(QString, ver, "ver") \
    F(QString, reason, "reason")
QEL_MESSAGE(ProgResponse, "prog-response", QEL_F_PROG_RESPONSE)

QEL_MESSAGE(ImageRequest, "image-request", QEL_NO_FIELDS)

#define QEL_F_IMAGE_ITEM(F) F(int, index, "index") F(QString, name, "name") F(QString, lastModi, "lastModi")
QEL_ITEM(ImageItem, QEL_F_IMAGE_ITEM)

#define QEL_F_IMAGE_RESPONSE(F) F(QList<ImageItem>, images, "images")
QEL_MESSAGE(ImageResponse, "image-response", QEL_F_IMAGE_RESPONSE)

QEL_MESSAGE(ConfigRequest, "config-request", QEL_NO_FIELDS)

// Any number of members "key": "value" besides "cmd".
struct ConfigResponse
{
    static constexpr const char *cmd = "config-response";
    QMap<QString, QString> entries;
    QJsonObject ToJson() const;
    static ConfigResponse FromJson(const QJsonObject &o);
};

#define QEL_F_CLEAR_REQUEST(F) F(QString, imageName, "image-name")
QEL_MESSAGE(ClearImageRequest, "clearimage-request", QEL_F_CLEAR_REQUEST)

#define QEL_F_CLEAR_RESPONSE(F) F(QString, imageName, "image-name") F(bool, result, "result")
QEL_MESSAGE(ClearImageResponse, "clearimage-response", QEL_F_CLEAR_RESPONSE)

#define QEL_F_FILE_READ(F) F(QString, name, "name") F(int, imageIndex, "image-index")
QEL_MESSAGE(FileRead, "file-read", QEL_F_FILE_READ)

// "date" is the last-modified time as "yyyy/MM/dd hh:mm:ss.zzz".
#define QEL_F_FILE_ATTRIB(F)                                                                       \
    F(QString, name, "name") F(int, imageIndex, "image-index") F(qint64, size, "size") F(QString, date, "date")
QEL_MESSAGE(FileAttrib, "file-attrib", QEL_F_FILE_ATTRIB)

// "data" is the chunk in Base64.
#define QEL_F_FILE_CONTENT(F)                                                                      \
    F(QString, name, "name") F(int, imageIndex, "image-index") F(int, fileId, "file-id")           \
    F(QString, data, "data") F(bool, more, "more")
QEL_MESSAGE(FileContent, "file-content", QEL_F_FILE_CONTENT)

#define QEL_F_FILE_RESULT(F) F(QString, name, "name") F(bool, result, "result")
QEL_MESSAGE(FileSave, "file-save", QEL_F_FILE_RESULT)
QEL_MESSAGE(FileDownload, "file-download", QEL_F_FILE_RESULT)

QEL_MESSAGE(ProgDisconnect, "prog-disconnect", QEL_NO_FIELDS)
QEL_MESSAGE(SocketDisconnect, "socket-disconnect", QEL_NO_FIELDS)

// ---- server <-> programmer in HID mode

#define QEL_F_FILE_ATTR_REQ(F) F(int, offset, "offset")
QEL_MESSAGE(FileAttrReq, "file-attr", QEL_F_FILE_ATTR_REQ)

#define QEL_F_FILE_POINT(F) F(QString, name, "name") F(int, date, "date") F(int, time, "time")
QEL_ITEM(FilePoint, QEL_F_FILE_POINT)

#define QEL_F_FILE_ATTR_RESP(F) F(QList<FilePoint>, points, "points") F(bool, more, "more") F(int, offset, "offset")
QEL_MESSAGE(FileAttrResp, "file-attr-resp", QEL_F_FILE_ATTR_RESP)

#define QEL_F_WRITE_REQ(F) F(int, no, "no") F(QString, type, "type") F(QString, value, "value")
QEL_MESSAGE(WriteReq, "write-req", QEL_F_WRITE_REQ)

#define QEL_F_WRITE_RESP(F) F(int, no, "no") F(QString, type, "type") F(QString, curValue, "curValue") F(RetFlag, ret, "ret")
QEL_MESSAGE(WriteResp, "write-resp", QEL_F_WRITE_RESP)

#define QEL_F_FWRITE_RESP(F)                                                                       \
    F(int, no, "no") F(QString, path, "path") F(qint64, off, "off") F(qint64, size, "size")        \
    F(bool, more, "more") F(RetFlag, ret, "ret")
QEL_MESSAGE(FWriteResp, "fwrite-resp", QEL_F_FWRITE_RESP)

#define QEL_F_FVERIFY_RESP(F) F(int, no, "no") F(RetFlag, ret, "ret")
QEL_MESSAGE(FVerifyResp, "fverify-resp", QEL_F_FVERIFY_RESP)

#define QEL_F_FDEL_RESP(F) F(QString, fileName, "file-name") F(RetFlag, ret, "ret")
QEL_MESSAGE(FDelResp, "fdel-resp", QEL_F_FDEL_RESP)

#define QEL_F_DOWN_RESULT(F) F(RetFlag, ret, "ret")
QEL_MESSAGE(DownResult, "down-result", QEL_F_DOWN_RESULT)

// ---- programs <-> cloud service

#define QEL_F_LOGIN(F) F(QString, userName, "userName") F(QString, password, "password")
QEL_MESSAGE(Login, "login", QEL_F_LOGIN)
#define QEL_F_LOGIN_RESP(F) F(RetFlag, ret, "ret") F(QString, reason, "reason")
QEL_MESSAGE(LoginResp, "loginResp", QEL_F_LOGIN_RESP)

#define QEL_F_UPLOAD_RECORD(F)                                                                     \
    F(QString, userName, "userName") F(QString, packetName, "packetName") F(QString, type, "type") \
    F(qint64, time, "time") F(QString, uid, "uid")
QEL_MESSAGE(UploadRecord, "upload-record", QEL_F_UPLOAD_RECORD)

#define QEL_F_READ_RECORD(F) F(QString, userName, "userName")
QEL_MESSAGE(ReadRecordReq, "read-record", QEL_F_READ_RECORD)
#define QEL_F_RECORD_ITEM(F) F(QString, packetName, "packetName") F(QString, type, "type") F(QString, uid, "uid")
QEL_ITEM(RecordItem, QEL_F_RECORD_ITEM)
#define QEL_F_READ_RECORD_RESP(F) F(bool, exist, "exist") F(QList<RecordItem>, records, "records")
QEL_MESSAGE(ReadRecordResp, "read-record-resp", QEL_F_READ_RECORD_RESP)

#define QEL_F_PULL_FILE(F) F(QString, name, "name") F(qint64, offset, "offset")
QEL_MESSAGE(PullFileData, "pull-filedata-req", QEL_F_PULL_FILE)
// "ba" is the chunk in Base64.
#define QEL_F_PULL_FILE_RESP(F)                                                                    \
    F(RetFlag, ret, "ret") F(bool, left, "left") F(QString, name, "name") F(qint64, offset, "offset") \
    F(QString, ba, "ba")
QEL_MESSAGE(PullFileDataResp, "pull-filedata-resp", QEL_F_PULL_FILE_RESP)

#define QEL_F_FACTORY_RECORD(F)                                                                    \
    F(int, id, "id") F(QString, uid, "uid") F(QString, model, "model") F(QString, resultTest, "resultTest") \
    F(QString, failReason, "failReason")
QEL_ITEM(FactoryRecord, QEL_F_FACTORY_RECORD)
#define QEL_F_REPAIR_RECORD(F)                                                                     \
    F(int, id, "id") F(QString, uid, "uid") F(QString, model, "model") F(QString, hwVer, "hwVer")  \
    F(QString, abstract, "abstract") F(QString, source, "source") F(QString, staff, "staff")       \
    F(QString, analysis, "analysis") F(QString, content, "content") F(QString, resultRepair, "resultRepair")
QEL_ITEM(RepairRecord, QEL_F_REPAIR_RECORD)

// "recordType" 0 carries a factory-test record, 1 a repair record, others nothing more.
struct RecordAppend
{
    static constexpr const char *cmd = "record-append-req";
    enum { FactoryTest = 0, Repair = 1 };
    int recordType = 0;
    FactoryRecord factory;
    RepairRecord repair;
    QJsonObject ToJson() const;
    static RecordAppend FromJson(const QJsonObject &o);
};
#define QEL_F_RECORD_APPEND_RESP(F) F(RetFlag, ret, "ret") F(int, recordType, "recordType")
QEL_MESSAGE(RecordAppendResp, "record-append-resp", QEL_F_RECORD_APPEND_RESP)

#define QEL_F_UPLOAD_FILE(F)                                                                       \
    F(QString, name, "name") F(QString, uid, "uid") F(QString, ba, "ba") F(qint64, offset, "offset") \
    F(qint64, fileSize, "fileSize")
QEL_MESSAGE(UploadFileReq, "upload-file-req", QEL_F_UPLOAD_FILE)
#define QEL_F_UPLOAD_FILE_RESP(F)                                                                  \
    F(RetFlag, ret, "ret") F(QString, name, "name") F(QString, uid, "uid") F(qint64, size, "size") \
    F(qint64, offset, "offset")
QEL_MESSAGE(UploadFileResp, "upload-file-resp", QEL_F_UPLOAD_FILE_RESP)

#define QEL_F_FIND_DB_LOGIN(F) F(QString, dbTable, "db-table") F(QString, userName, "userName") F(QString, password, "password")
QEL_MESSAGE(FindDBLoginReq, "find-db-login-req", QEL_F_FIND_DB_LOGIN)
#define QEL_F_FIND_DB_LOGIN_RESP(F)                                                                \
    F(bool, correct, "correct") F(int, id, "id") F(QString, userName, "userName")                  \
    F(QString, lastLogin, "lastLogin") F(int, loginCount, "loginCount")
QEL_MESSAGE(FindDBLoginResp, "find-db-login-resp", QEL_F_FIND_DB_LOGIN_RESP)

#define QEL_F_GET_USER_OII(F) F(QString, userName, "userName")
QEL_MESSAGE(GetUserOIIReq, "get-user-oii-req", QEL_F_GET_USER_OII)
#define QEL_F_OII_ITEM(F)                                                                          \
    F(int, id, "id") F(QString, name, "name") F(qint64, size, "size") F(QString, crc2, "crc2")     \
    F(qint64, lastModi, "lastModi") F(int, get, "get") F(int, max, "max") F(int, history, "history") \
    F(qint64, deadline, "deadline")
QEL_ITEM(OiiItem, QEL_F_OII_ITEM)
#define QEL_F_GET_USER_OII_RESP(F) F(bool, empty, "empty") F(QList<OiiItem>, records, "records")
QEL_MESSAGE(GetUserOIIResp, "get-user-oii-resp", QEL_F_GET_USER_OII_RESP)

#define QEL_F_UPDATE_IMG_REC(F) F(QString, identity, "identity") F(QString, name, "name") F(QString, crc2, "crc2")
QEL_MESSAGE(UpdateImageRecordReq, "update-img-rec-req", QEL_F_UPDATE_IMG_REC)
#define QEL_F_RET_ONLY(F) F(RetFlag, ret, "ret")
QEL_MESSAGE(UpdateIMGRecResp, "update-img-rec-resp", QEL_F_RET_ONLY)

#define QEL_F_DELETE_IMG(F) F(QString, userName, "userName") F(QString, name, "name") F(bool, all, "all")
QEL_MESSAGE(OfflineIMGDelReq, "delete-img-req", QEL_F_DELETE_IMG)
#define QEL_F_DELETE_IMG_RESP(F) F(RetFlag, ret, "ret") F(bool, all, "all") F(QString, name, "name")
QEL_MESSAGE(DeleteIMGResp, "delete-img-resp", QEL_F_DELETE_IMG_RESP)

#define QEL_F_SHARE_IMG(F)                                                                         \
    F(QString, userName, "userName") F(QString, name, "name") F(int, shareDate, "shareDate")       \
    F(int, shareCount, "shareCount")
QEL_MESSAGE(OfflineIMGShareReq, "share-img-req", QEL_F_SHARE_IMG)
// "shareText" is the offline code the user hands to client stations; a service
// that leaves it out gets one made from "userName" and "name" (COfflineCode).
#define QEL_F_SHARE_IMG_RESP(F)                                                                    \
    F(RetFlag, ret, "ret") F(QString, userName, "userName") F(QString, name, "name") F(qint64, deadLine, "deadLine") \
    F(QString, shareText, "shareText")
QEL_MESSAGE(ShareIMGResp, "share-img-resp", QEL_F_SHARE_IMG_RESP)

#define QEL_F_GET_OFFLINE_IMG(F) F(QString, userName, "userName") F(QString, imageName, "imageName")
QEL_MESSAGE(GetOfflineIMGReq, "get-offline-img-req", QEL_F_GET_OFFLINE_IMG)
// Here a missing "ret" means failure.
#define QEL_F_GET_OFFLINE_IMG_RESP(F)                                                              \
    F(bool, ret, "ret") F(QString, userName, "userName") F(QString, imageName, "imageName") F(QString, reason, "reason")
QEL_MESSAGE(GetOfflineImgResp, "get-offline-img-resp", QEL_F_GET_OFFLINE_IMG_RESP)

} // namespace qelmsg
