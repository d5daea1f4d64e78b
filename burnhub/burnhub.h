#pragma once
// The process-wide programmer hub: finds programmers attached as USB disks and
// reads and writes the files of the programmer in use, on its disk (disk mode)
// or in its PC-side folder (USB mode, for HID and VCP programmers).
#include "burnhub_global.h"
#include "progerinfo.h"

#include <QList>
#include <QMap>
#include <QObject>
#include <QStringList>

class BURNHUB_EXPORT BurnHub : public QObject
{
    Q_OBJECT
public:
    static BurnHub *Instance();
    static void Exitance();

    void SetProgRoot(const QString &root);
    void SetUSBProgUID(const QString &id);
    void CloseHIDMode();
    bool IsUSBMode() const { return m_bUSBMode; }

    QString GetConfigDir();
    QString GetProcDir();

    // Discovery: every mounted volume (but NTFS and the root volume) and every
    // folder of the programmer search list that holds an identity file.
    QList<ProgerInfo> GetProgerList();
    // A drive letter ("F"), a root path ("/media/u/PROG/") or a short name as
    // GetDesc shows it ("PROG").
    ProgerInfo GetProger(const QString &drive);

    // Folders that are searched for programmers beside the mounted volumes: the
    // environment variable QEL_PROG_DIRS (":"-separated), the key SCAN/PROGDIRS
    // of "burnhub.ini" in the data folder, and what SetSearchDirs adds.
    QStringList GetSearchDirs() const;
    void SetSearchDirs(const QStringList &dirs);

    QString GetUSBProgFilePath(const QString &id, const QString &fileName);
    ProgerInfo GetUSBProgInfo(const QString &id);

    void LoadLanguage(bool english);

    // File set of the programmer in use.
    bool ReadImageIndex(QMap<int, ImageInfo> &map, QString &err);
    bool ModifyIndex(int index, const QString &name, QString &err);
    QString FindImageNameByIndex(int index);
    bool DownImageFile(int index, const QString &srcPath, const QString &name, QString &err);
    bool DeleteImage(const QString &name, QString &err);
    bool DeleteAllImage(QString &err);
    bool CheckImageVaild(const QString &path);
    static bool IsImageSuffix(const QString &suffix);
    bool FileTransfer(const QString &srcPath, QString &err);
    bool ReadFileData(const QString &name, qint64 &size, QByteArray &data);
    bool ReadConfig(QMap<QString, QString> &map, QString &err);
    bool ReadSignal(QMap<QString, QString> &map, QString &err);
    bool DownConfigFile(const QString &srcPath, QString &err);
    bool DownSignalFile(const QString &srcPath, QString &err);
    bool DownPasswordFile(const QString &srcPath, QString &err);
    bool DownFirmFile(const QString &srcPath, QString &err);
    bool ReadNewList(QStringList &list);

    // Whether a mounted volume may hold a programmer: never NTFS, never the root volume.
    static bool IsProgerVolume(const QByteArray &fileSystemType, bool isRoot);
    // Parses an identity file ("key=value" lines); true when it held an entry.
    static bool ReadSysFile(const QString &path, QMap<QString, QString> &map);
    // Reads the identity file at path into info; true when it names a programmer.
    static bool IsRightProger(const QString &path, ProgerInfo &info);

private:
    BurnHub() = default;
    ~BurnHub() override = default;

    QString GetProgRoot();
    QString GetSysDir();
    QString GetCMDDir();
    QString SubDir(const QString &name);
    // Path of a redirected file: the PC-side copy in USB mode, else config/ + name.
    QString ConfigFilePath(const QString &name);
    QString GetProgerID(const QString &path);
    bool WriteImageIndex(const QMap<int, ImageInfo> &map, QString &err);
    bool RemoveImg(int index, QString &err);
    bool WriteNewList(const QStringList &list);
    void ModifyNewList(int index);
    bool ReadKeyValueFile(const QString &path, QMap<QString, QString> &map);
    QStringList CandidateRoots();

    static BurnHub *m_pInstance;
    bool m_bUSBMode = false;
    QString m_strUSBUID;
    QString m_strProgRoot;
    QStringList m_extraDirs;
};
