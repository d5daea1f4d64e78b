#include "ccloudservice.h"

#include "cpeerjson.h"

#include <cfilename.h>
#include <cofflinecode.h>
#include <csafefile.h>

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

using namespace qelmsg;

namespace {
const QString kExFactory = QStringLiteral("ExFactory.sql");
const QString kRepair = QStringLiteral("Repair.sql");
// A connection keeps at most this many files it is pulling.
const int kMaxPulls = 16;

// Log lines: peer text shortened, and filled in one go, so a "%1" in it stays as it is.
QString Text(const QString &text)
{
    return text.left(80);
}
QString Text(const char *text)
{
    return QString::fromUtf8(text);
}
QString Text(qint64 n)
{
    return QString::number(n);
}
QString Text(int n)
{
    return QString::number(n);
}
template <typename... A> QString Line(const char *format, const A &...args)
{
    return QString::fromUtf8(format).arg(Text(args)...);
}

QByteArray Decode(const QString &base64, bool &ok)
{
    const QByteArray::FromBase64Result r =
        QByteArray::fromBase64Encoding(base64.toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
    ok = bool(r);
    return r.decoded;
}

// A file of the store, read only when it is a regular file of a sane size.
bool ReadStoreFile(const QString &path, QByteArray &bytes)
{
    QString err;
    return !QFileInfo(path).isSymLink() && CSafeFile::ReadAll(path, QString(), bytes, err, CCloudService::kMaxFileSize);
}
} // namespace

CCloudService::CCloudService(CCloudStore &store, const Options &options, Logger log)
    : m_store(store), m_options(options), m_log(std::move(log))
{
    m_options.nPullChunk = qBound(1, m_options.nPullChunk, 40000);
}

qint64 CCloudService::Now() const
{
    return QDateTime::currentSecsSinceEpoch() + m_options.nClockOffset;
}

QByteArray CCloudService::Handle(CCloudSession &session, const QByteArray &text)
{
    using Handler = QJsonObject (CCloudService::*)(CCloudSession &, const QJsonObject &);
    static const QList<QPair<const char *, Handler>> table = {
        {qelmsg::Login::cmd, &CCloudService::Login},
        {qelmsg::UploadRecord::cmd, &CCloudService::UploadRecord},
        {qelmsg::ReadRecordReq::cmd, &CCloudService::ReadRecord},
        {qelmsg::PullFileData::cmd, &CCloudService::PullFile},
        {qelmsg::RecordAppend::cmd, &CCloudService::AppendRecord},
        {qelmsg::UploadFileReq::cmd, &CCloudService::UploadFile},
        {qelmsg::FindDBLoginReq::cmd, &CCloudService::FindDBLogin},
        {qelmsg::GetUserOIIReq::cmd, &CCloudService::UserImages},
        {qelmsg::UpdateImageRecordReq::cmd, &CCloudService::UpdateImageRecord},
        {qelmsg::OfflineIMGDelReq::cmd, &CCloudService::DeleteImage},
        {qelmsg::OfflineIMGShareReq::cmd, &CCloudService::ShareImage},
        {qelmsg::GetOfflineIMGReq::cmd, &CCloudService::GetOfflineImage},
    };

    QJsonObject o;
    if (!CPeerJson::ParseObject(text, o)) {
        m_log(Line("%1 dropped: not a JSON object (%2 bytes)", session.strPeer, text.size()));
        return QByteArray();
    }
    const QString cmd = o.value(QStringLiteral("cmd")).toString();
    for (const auto &entry : table) {
        if (cmd == QLatin1String(entry.first)) {
            const QJsonObject answer = (this->*entry.second)(session, o);
            return answer.isEmpty() ? QByteArray() : QJsonDocument(answer).toJson(QJsonDocument::Compact);
        }
    }
    m_log(Line("%1 dropped: unknown cmd \"%2\"", session.strPeer, cmd));
    return QByteArray();
}

// ---------------------------------------------------------------- accounts and records

QJsonObject CCloudService::Login(CCloudSession &s, const QJsonObject &o)
{
    const qelmsg::Login m = qelmsg::Login::FromJson(o);
    LoginResp r;
    r.ret.ok = m_store.CheckUser(m.userName, m.password);
    if (r.ret)
        s.strUser = m.userName;
    else
        r.reason = QStringLiteral("用户名或密码错误");
    m_log(Line("%1 login %2: %3", s.strPeer, m.userName, r.ret ? QStringLiteral("ok") : r.reason));
    return r.ToJson();
}

QJsonObject CCloudService::UploadRecord(CCloudSession &s, const QJsonObject &o)
{
    const qelmsg::UploadRecord m = qelmsg::UploadRecord::FromJson(o);
    const bool ok = m_store.HasUser(m.userName) && m_store.AddRecord(m);
    m_log(Line("upload-record %1 %2 %3 %4: %5", m.userName, m.type, m.packetName, m.uid, ok ? "stored" : "refused"));
    return QJsonObject();
}

QJsonObject CCloudService::ReadRecord(CCloudSession &s, const QJsonObject &o)
{
    const ReadRecordReq m = ReadRecordReq::FromJson(o);
    ReadRecordResp r;
    r.records = m_store.Records(m.userName);
    r.exist = !r.records.isEmpty();
    m_log(Line("read-record %1: %2 records", m.userName, r.records.size()));
    return r.ToJson();
}

QJsonObject CCloudService::FindDBLogin(CCloudSession &s, const QJsonObject &o)
{
    const FindDBLoginReq m = FindDBLoginReq::FromJson(o);
    const FindDBLoginResp r = m_store.DbLogin(m.userName, m.password, Now());
    m_log(Line("find-db-login %1 %2: %3", m.dbTable, m.userName, r.correct ? "correct" : "wrong"));
    return r.ToJson();
}

QJsonObject CCloudService::AppendRecord(CCloudSession &s, const QJsonObject &o)
{
    const RecordAppend m = RecordAppend::FromJson(o);
    RecordAppendResp r;
    r.recordType = m.recordType;
    QString err;
    r.ret.ok = m_store.AppendRecord(m, Now(), err);
    m_log(Line("record-append type %1: %2", m.recordType, r.ret ? QStringLiteral("stored") : err));
    return r.ToJson();
}

// ---------------------------------------------------------------- files

QJsonObject CCloudService::UploadFile(CCloudSession &s, const QJsonObject &o)
{
    const UploadFileReq m = UploadFileReq::FromJson(o);
    UploadFileResp r;
    r.ret.ok = false;
    r.name = m.name;
    r.uid = m.uid;
    r.size = m.fileSize;
    r.offset = m.offset;
    QString path;
    bool decoded = false;
    const QByteArray bytes = Decode(m.ba, decoded);
    auto refuse = [&](const QString &why) {
        m_log(Line("upload %1/%2 offset=%3 refused: %4", m.uid, m.name, m.offset, why));
        return r.ToJson();
    };
    if (!m_store.UploadPath(m.uid, m.name, path))
        return refuse(QStringLiteral("bad name"));
    if (!decoded)
        return refuse(QStringLiteral("data is not Base64"));
    const QFileInfo target(path);
    if (target.isSymLink() || (target.exists() && !target.isFile()))
        return refuse(QStringLiteral("not a regular file"));
    const qint64 held = target.exists() ? target.size() : 0;
    r.offset = held;
    // A chunk goes at the end of what is held, or starts the file again before it.
    if (m.offset < 0 || m.offset > held)
        return refuse(QStringLiteral("the file holds %1 bytes").arg(held));
    const QByteArray kept = m_options.nUploadKeep > 0 ? bytes.left(int(m_options.nUploadKeep)) : bytes;
    if (m.offset + kept.size() > kMaxFileSize)
        return refuse(QStringLiteral("file too large"));
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite) || !file.resize(m.offset) || !file.seek(m.offset)
        || file.write(kept) != kept.size())
        return refuse(file.errorString());
    r.ret.ok = true;
    r.offset = m.offset + kept.size();
    m_log(Line("upload %1/%2 offset=%3 bytes=%4 kept=%5 held=%6", m.uid, m.name, m.offset, bytes.size(), kept.size(),
               r.offset));
    return r.ToJson();
}

QJsonObject CCloudService::PullFile(CCloudSession &s, const QJsonObject &o)
{
    const PullFileData m = PullFileData::FromJson(o);
    PullFileDataResp r;
    r.ret.ok = false;
    r.name = m.name;
    r.offset = m.offset;
    if (m.offset == 0 || !s.pulls.contains(m.name)) {
        QByteArray bytes;
        QString err;
        if (m.name == kExFactory || m.name == kRepair) {
            bytes = m_store.TableText(m.name.left(m.name.size() - 4), err);
        } else if (s.granted.contains(m.name)) {
            QString path;
            if (!CFileName::InFolder(m_store.FtpDir(), m.name, path) || !ReadStoreFile(path, bytes))
                err = QStringLiteral("no such image file");
        } else {
            err = QStringLiteral("not granted to this connection");
        }
        if (!err.isEmpty()) {
            m_log(Line("%1 pull %2 refused: %3", s.strPeer, m.name, err));
            return r.ToJson();
        }
        if (s.pulls.size() >= kMaxPulls)
            s.pulls.clear();
        s.pulls.insert(m.name, bytes);
    }
    const QByteArray &bytes = s.pulls[m.name];
    if (m.offset < 0 || m.offset > bytes.size()) {
        m_log(Line("%1 pull %2 refused: offset %3 of %4 bytes", s.strPeer, m.name, m.offset, bytes.size()));
        return r.ToJson();
    }
    const QByteArray piece = bytes.mid(int(m.offset), m_options.nPullChunk);
    r.ret.ok = true;
    r.left = m.offset + piece.size() < bytes.size();
    r.ba = QString::fromLatin1(piece.toBase64());
    m_log(Line("%1 pull %2 offset=%3 bytes=%4 left=%5", s.strPeer, m.name, m.offset, piece.size(), r.left ? 1 : 0));
    if (!r.left) {
        s.pulls.remove(m.name);
        // One fetch of an offline image grants one whole pull.
        s.granted.remove(m.name);
    }
    return r.ToJson();
}

// ---------------------------------------------------------------- offline images

QJsonObject CCloudService::UserImages(CCloudSession &s, const QJsonObject &o)
{
    const GetUserOIIReq m = GetUserOIIReq::FromJson(o);
    GetUserOIIResp r;
    for (const CCloudStore::Image &i : m_store.Images(m.userName))
        r.records.append({i.id, i.name, i.size, i.crc2, i.lastModi, i.limit.get, i.limit.max, i.history, i.limit.deadline});
    r.empty = r.records.isEmpty();
    m_log(Line("get-user-oii %1: %2 images", m.userName, r.records.size()));
    return r.ToJson();
}

QJsonObject CCloudService::UpdateImageRecord(CCloudSession &s, const QJsonObject &o)
{
    const UpdateImageRecordReq m = UpdateImageRecordReq::FromJson(o);
    UpdateIMGRecResp r;
    r.ret.ok = false;
    QString user;
    QString fileName;
    QString path;
    CCloudStore::Image known;
    QString why;
    if (COfflineCode::Parse(m.identity, user, fileName) != COfflineCode::Ok || fileName != m.name)
        why = QStringLiteral("bad upload token");
    else if (!m_store.HasUser(user))
        why = QStringLiteral("unknown user");
    else if (m_store.FindImage(m.name, known) && known.user != user)
        why = QStringLiteral("the image belongs to another user");
    else if (!CFileName::InFolder(m_store.FtpDir(), m.name, path) || !QFileInfo(path).isFile() || QFileInfo(path).isSymLink())
        why = QStringLiteral("no such image file");
    else
        r.ret.ok = m_store.PutImage(user, m.name, m.crc2, QFileInfo(path).size(), Now());
    m_log(Line("update-img-rec %1 %2: %3", user, m.name, r.ret ? QStringLiteral("registered") : why));
    return r.ToJson();
}

QJsonObject CCloudService::DeleteImage(CCloudSession &s, const QJsonObject &o)
{
    const OfflineIMGDelReq m = OfflineIMGDelReq::FromJson(o);
    DeleteIMGResp r;
    r.all = m.all;
    r.name = m.name;
    const int count = m_store.DeleteImages(m.userName, m.all ? QString() : m.name);
    r.ret.ok = m.all || count > 0;
    m_log(Line("delete-img %1 %2: %3 deleted", m.userName, m.all ? QStringLiteral("all") : m.name, count));
    return r.ToJson();
}

QJsonObject CCloudService::ShareImage(CCloudSession &s, const QJsonObject &o)
{
    const OfflineIMGShareReq m = OfflineIMGShareReq::FromJson(o);
    ShareIMGResp r;
    r.ret.ok = false;
    r.userName = m.userName;
    r.name = m.name;
    CCloudStore::Image image;
    if (m.shareDate < 0 || m.shareCount < 0 || !m_store.FindImage(m.name, image) || image.user != m.userName) {
        m_log(Line("share-img %1 %2: refused", m.userName, m.name));
        return r.ToJson();
    }
    image.limit = CShareLimit::Share(m.shareDate, m.shareCount, Now());
    r.ret.ok = m_store.SaveImage(image);
    r.deadLine = image.limit.deadline;
    r.shareText = COfflineCode::Make(m.userName, m.name);
    m_log(Line("share-img %1 %2 days=%3 count=%4 deadline=%5", m.userName, m.name, m.shareDate, m.shareCount, r.deadLine));
    return r.ToJson();
}

QJsonObject CCloudService::GetOfflineImage(CCloudSession &s, const QJsonObject &o)
{
    const GetOfflineIMGReq m = GetOfflineIMGReq::FromJson(o);
    GetOfflineImgResp r;
    r.userName = m.userName;
    r.imageName = m.imageName;
    CCloudStore::Image image;
    QString path;
    if (!m_store.FindImage(m.imageName, image) || image.user != m.userName)
        r.reason = QStringLiteral("当前镜像不存在");
    else if (image.limit.Check(Now()) == CShareLimit::Expired)
        r.reason = QStringLiteral("当前镜像已经过期，无法获取");
    else if (image.limit.Check(Now()) == CShareLimit::Exhausted)
        r.reason = QStringLiteral("当前镜像已无权限获取");
    else if (!CFileName::InFolder(m_store.FtpDir(), m.imageName, path) || !QFileInfo(path).isFile())
        r.reason = QStringLiteral("当前镜像不存在");
    if (r.reason.isEmpty()) {
        ++image.limit.get;
        ++image.history;
        r.ret = m_store.SaveImage(image);
        s.granted.insert(m.imageName);
    }
    m_log(Line("%1 get-offline-img %2 %3: %4", s.strPeer, m.userName, m.imageName,
               r.ret ? Line("granted %1/%2", image.limit.get, image.limit.max) : r.reason));
    return r.ToJson();
}
