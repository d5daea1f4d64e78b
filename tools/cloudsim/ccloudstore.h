#pragma once
// What the cloud service keeps, in one folder that survives a restart:
//   cloud.db            users, operation records, offline images with their
//                       fetch counters and share limits, and the tables
//                       ExFactory and Repair (SQLite)
//   uploads/<uid>/      files sent with "upload-file-req" (".img" files go to
//                       the image store instead)
//   ftp/custom_bin/     the image store an FTP server serves: the images, one
//                       account file per user and the fetch record "record.ini"
#include "csharelimit.h"

#include <messages.h>

#include <QSqlDatabase>
#include <QString>

class CCloudStore
{
public:
    struct Image
    {
        QString user;
        QString name;
        QString crc2;
        qint64 size = 0;
        qint64 lastModi = 0;
        int id = 0;
        int history = 0;
        CShareLimit limit;
    };

    explicit CCloudStore(const QString &folder);
    ~CCloudStore();
    CCloudStore(const CCloudStore &) = delete;
    CCloudStore &operator=(const CCloudStore &) = delete;

    bool Open(QString &err);
    QString FtpDir() const;

    // ---- users (names are plain file names: they name account files)
    bool AddUser(const QString &name, const QString &password, QString &err);
    bool HasUser(const QString &name);
    bool CheckUser(const QString &name, const QString &password);
    // A database login: on success the login is counted and lastLogin is the one before.
    qelmsg::FindDBLoginResp DbLogin(const QString &name, const QString &password, qint64 now);

    // ---- operation records
    bool AddRecord(const qelmsg::UploadRecord &record);
    QList<qelmsg::RecordItem> Records(const QString &user);

    // ---- offline images
    bool FindImage(const QString &name, Image &image);
    QList<Image> Images(const QString &user);
    // Registers (or renews) name for user; its counters start again.
    bool PutImage(const QString &user, const QString &name, const QString &crc2, qint64 size, qint64 now);
    bool SaveImage(const Image &image);
    // One image of user, or all of them when name is empty; their files go too.
    int DeleteImages(const QString &user, const QString &name);

    // ---- factory-test and repair tables
    bool AppendRecord(const qelmsg::RecordAppend &record, qint64 now, QString &err);
    // "ExFactory" or "Repair" as SQL text.
    QByteArray TableText(const QString &table, QString &err);

    // Where an uploaded file lives; false for names that are not plain.
    bool UploadPath(const QString &uid, const QString &name, QString &path) const;

private:
    bool Exec(const QString &sql, const QVariantList &values = {}, QString *err = nullptr);
    // record.ini: every image's counters, sealed like the offline codes.
    void WriteFetchRecord();

    QString m_strFolder;
    QString m_strConnection;
    QSqlDatabase m_db;
};
