#include "ccloudstore.h"

#include <cfilename.h>
#include <cofflinecode.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include "csqltext.h"

namespace {
const char *const kSchema[] = {
    "CREATE TABLE IF NOT EXISTS users(name TEXT PRIMARY KEY, password TEXT, lastLogin TEXT DEFAULT '', "
    "loginCount INTEGER DEFAULT 0)",
    "CREATE TABLE IF NOT EXISTS records(user TEXT, packetName TEXT, type TEXT, time INTEGER, uid TEXT)",
    "CREATE TABLE IF NOT EXISTS images(id INTEGER PRIMARY KEY AUTOINCREMENT, user TEXT, name TEXT UNIQUE, size INTEGER, "
    "crc2 TEXT, lastModi INTEGER, get INTEGER, max INTEGER, history INTEGER, deadline INTEGER)",
    "CREATE TABLE IF NOT EXISTS ExFactory(ID INTEGER, UID TEXT, DateTime TEXT, Model TEXT, Result TEXT, FailReason TEXT)",
    "CREATE TABLE IF NOT EXISTS Repair(ID INTEGER, DateTime TEXT, UID TEXT, Model TEXT, HWVer TEXT, Abstract TEXT, "
    "Source TEXT, Staff TEXT, Analysis TEXT, Content TEXT, ResultRepair TEXT)",
};
const int kMaxUserName = 64;

QString TimeText(qint64 secs)
{
    return QDateTime::fromSecsSinceEpoch(secs).toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
}
} // namespace

CCloudStore::CCloudStore(const QString &folder)
    : m_strFolder(QDir(folder).absolutePath()),
      m_strConnection(QStringLiteral("cloudsim-%1").arg(quintptr(this)))
{
}

CCloudStore::~CCloudStore()
{
    if (m_db.isValid()) {
        m_db.close();
        m_db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_strConnection);
    }
}

QString CCloudStore::FtpDir() const
{
    return m_strFolder + QStringLiteral("/ftp/custom_bin");
}

bool CCloudStore::Open(QString &err)
{
    if (!QDir().mkpath(FtpDir()) || !QDir().mkpath(m_strFolder + QStringLiteral("/uploads"))) {
        err = QStringLiteral("cannot create the folders in ") + m_strFolder;
        return false;
    }
    m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_strConnection);
    m_db.setDatabaseName(m_strFolder + QStringLiteral("/cloud.db"));
    if (!m_db.open()) {
        err = m_db.lastError().text();
        return false;
    }
    for (const char *sql : kSchema) {
        if (!Exec(QString::fromLatin1(sql), {}, &err))
            return false;
    }
    WriteFetchRecord();
    return true;
}

bool CCloudStore::Exec(const QString &sql, const QVariantList &values, QString *err)
{
    QSqlQuery query(m_db);
    query.prepare(sql);
    for (const QVariant &v : values)
        query.addBindValue(v);
    if (query.exec())
        return true;
    if (err)
        *err = query.lastError().text();
    return false;
}

// ---------------------------------------------------------------- users

bool CCloudStore::AddUser(const QString &name, const QString &password, QString &err)
{
    if (!CFileName::IsPlain(name) || name.size() > kMaxUserName) {
        err = QStringLiteral("user name \"%1\" is not a plain name of up to %2 characters").arg(name, QString::number(kMaxUserName));
        return false;
    }
    if (!Exec(QStringLiteral("INSERT INTO users(name,password) VALUES(?,?) "
                             "ON CONFLICT(name) DO UPDATE SET password=excluded.password"),
              {name, password}, &err))
        return false;
    // The account file the offline-image dialog checks after its FTP login.
    QSaveFile file(FtpDir() + QStringLiteral("/qel720a_ftpuser_%1.json").arg(name));
    const QJsonObject account{{QStringLiteral("user"), name}, {QStringLiteral("passWord"), password}};
    if (!file.open(QIODevice::WriteOnly) || file.write(QJsonDocument(account).toJson()) < 0 || !file.commit()) {
        err = QStringLiteral("cannot write the account file of ") + name;
        return false;
    }
    return true;
}

bool CCloudStore::HasUser(const QString &name)
{
    QSqlQuery query(m_db);
    query.prepare(QStringLiteral("SELECT 1 FROM users WHERE name=?"));
    query.addBindValue(name);
    return query.exec() && query.next();
}

bool CCloudStore::CheckUser(const QString &name, const QString &password)
{
    QSqlQuery query(m_db);
    query.prepare(QStringLiteral("SELECT 1 FROM users WHERE name=? AND password=?"));
    query.addBindValue(name);
    query.addBindValue(password);
    return query.exec() && query.next();
}

qelmsg::FindDBLoginResp CCloudStore::DbLogin(const QString &name, const QString &password, qint64 now)
{
    qelmsg::FindDBLoginResp r;
    r.userName = name;
    QSqlQuery query(m_db);
    query.prepare(QStringLiteral("SELECT rowid, lastLogin, loginCount FROM users WHERE name=? AND password=?"));
    query.addBindValue(name);
    query.addBindValue(password);
    if (!query.exec() || !query.next())
        return r;
    r.id = query.value(0).toInt();
    r.lastLogin = query.value(1).toString();
    r.loginCount = query.value(2).toInt() + 1;
    r.correct = Exec(QStringLiteral("UPDATE users SET lastLogin=?, loginCount=? WHERE name=?"),
                     {TimeText(now), r.loginCount, name});
    return r;
}

// ---------------------------------------------------------------- records

bool CCloudStore::AddRecord(const qelmsg::UploadRecord &r)
{
    return Exec(QStringLiteral("INSERT INTO records(user,packetName,type,time,uid) VALUES(?,?,?,?,?)"),
                {r.userName, r.packetName, r.type, r.time, r.uid});
}

QList<qelmsg::RecordItem> CCloudStore::Records(const QString &user)
{
    QList<qelmsg::RecordItem> list;
    QSqlQuery query(m_db);
    query.prepare(QStringLiteral("SELECT packetName, type, uid FROM records WHERE user=? ORDER BY rowid"));
    query.addBindValue(user);
    if (query.exec()) {
        while (query.next())
            list.append({query.value(0).toString(), query.value(1).toString(), query.value(2).toString()});
    }
    return list;
}

// ---------------------------------------------------------------- images

namespace {
const QString kImageColumns =
    QStringLiteral("SELECT id, user, name, size, crc2, lastModi, get, max, history, deadline FROM images ");

CCloudStore::Image ImageOf(const QSqlQuery &q)
{
    CCloudStore::Image image;
    image.id = q.value(0).toInt();
    image.user = q.value(1).toString();
    image.name = q.value(2).toString();
    image.size = q.value(3).toLongLong();
    image.crc2 = q.value(4).toString();
    image.lastModi = q.value(5).toLongLong();
    image.limit.get = q.value(6).toInt();
    image.limit.max = q.value(7).toInt();
    image.history = q.value(8).toInt();
    image.limit.deadline = q.value(9).toLongLong();
    return image;
}
} // namespace

bool CCloudStore::FindImage(const QString &name, Image &image)
{
    QSqlQuery query(m_db);
    query.prepare(kImageColumns + QStringLiteral("WHERE name=?"));
    query.addBindValue(name);
    if (!query.exec() || !query.next())
        return false;
    image = ImageOf(query);
    return true;
}

QList<CCloudStore::Image> CCloudStore::Images(const QString &user)
{
    QList<Image> list;
    QSqlQuery query(m_db);
    query.prepare(kImageColumns + QStringLiteral("WHERE user=? ORDER BY id"));
    query.addBindValue(user);
    if (query.exec()) {
        while (query.next())
            list.append(ImageOf(query));
    }
    return list;
}

bool CCloudStore::PutImage(const QString &user, const QString &name, const QString &crc2, qint64 size, qint64 now)
{
    const bool ok = Exec(QStringLiteral("INSERT INTO images(user,name,size,crc2,lastModi,get,max,history,deadline) "
                                        "VALUES(?,?,?,?,?,0,0,0,0) ON CONFLICT(name) DO UPDATE SET "
                                        "size=excluded.size, crc2=excluded.crc2, lastModi=excluded.lastModi, "
                                        "get=0, max=0, deadline=0"),
                         {user, name, size, crc2, now});
    WriteFetchRecord();
    return ok;
}

bool CCloudStore::SaveImage(const Image &image)
{
    const bool ok = Exec(QStringLiteral("UPDATE images SET get=?, max=?, history=?, deadline=? WHERE id=?"),
                         {image.limit.get, image.limit.max, image.history, image.limit.deadline, image.id});
    WriteFetchRecord();
    return ok;
}

int CCloudStore::DeleteImages(const QString &user, const QString &name)
{
    int count = 0;
    for (const Image &image : Images(user)) {
        if (!name.isEmpty() && image.name != name)
            continue;
        QString path;
        if (CFileName::InFolder(FtpDir(), image.name, path))
            QFile::remove(path);
        if (Exec(QStringLiteral("DELETE FROM images WHERE id=?"), {image.id}))
            ++count;
    }
    WriteFetchRecord();
    return count;
}

void CCloudStore::WriteFetchRecord()
{
    QJsonArray array;
    QSqlQuery query(m_db);
    if (!query.exec(kImageColumns + QStringLiteral("ORDER BY id")))
        return;
    while (query.next()) {
        const Image image = ImageOf(query);
        array.append(QJsonObject{{QStringLiteral("name"), image.name},
                                 {QStringLiteral("get"), image.limit.get},
                                 {QStringLiteral("max"), image.limit.max},
                                 {QStringLiteral("history"), image.history},
                                 {QStringLiteral("deadline"), double(image.limit.deadline)}});
    }
    QSaveFile file(FtpDir() + QStringLiteral("/record.ini"));
    if (file.open(QIODevice::WriteOnly)) {
        file.write(COfflineCode::Seal(QJsonDocument(array).toJson(QJsonDocument::Compact)));
        file.commit();
    }
}

// ---------------------------------------------------------------- tables

bool CCloudStore::AppendRecord(const qelmsg::RecordAppend &r, qint64 now, QString &err)
{
    const QString time = TimeText(now);
    // One row per programmer: a second record of the same UID replaces the first.
    if (r.recordType == qelmsg::RecordAppend::FactoryTest) {
        const qelmsg::FactoryRecord &f = r.factory;
        return Exec(QStringLiteral("DELETE FROM ExFactory WHERE UID=?"), {f.uid}, &err)
               && Exec(QStringLiteral("INSERT INTO ExFactory(ID,UID,DateTime,Model,Result,FailReason) "
                                      "VALUES(?,?,?,?,?,?)"),
                       {f.id, f.uid, time, f.model, f.resultTest, f.failReason}, &err);
    }
    if (r.recordType == qelmsg::RecordAppend::Repair) {
        const qelmsg::RepairRecord &p = r.repair;
        return Exec(QStringLiteral("DELETE FROM Repair WHERE UID=?"), {p.uid}, &err)
               && Exec(QStringLiteral("INSERT INTO Repair(ID,DateTime,UID,Model,HWVer,Abstract,Source,Staff,Analysis,"
                                      "Content,ResultRepair) VALUES(?,?,?,?,?,?,?,?,?,?,?)"),
                       {p.id, time, p.uid, p.model, p.hwVer, p.abstract, p.source, p.staff, p.analysis, p.content,
                        p.resultRepair},
                       &err);
    }
    err = QStringLiteral("unknown record type %1").arg(r.recordType);
    return false;
}

QByteArray CCloudStore::TableText(const QString &table, QString &err)
{
    return CSqlText::Dump(m_db, table, err);
}

bool CCloudStore::UploadPath(const QString &uid, const QString &name, QString &path) const
{
    if (name.endsWith(QLatin1String(".img")))
        return CFileName::InFolder(FtpDir(), name, path);
    const QString folder = m_strFolder + QStringLiteral("/uploads/") + uid;
    return CFileName::IsPlain(uid) && CFileName::InFolder(folder, name, path) && QDir().mkpath(folder);
}
