#include "burnhub.h"

#include "cfilename.h"
#include "cmessagebox.h"
#include "cpubactions.h"
#include "csafefile.h"
#include "progerlimits.h"
#include "functool.h"

#include <QApplication>
#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>
#include <QTranslator>

namespace {
const char *const kSysFile = "sys/qelprogrammer.dat";
const char *const kTimeFormat = "yyyy-MM-dd hh:mm:ss";
// Index, parameter, signal and list files are a few lines; more is not a programmer's.
const qint64 kMaxListFileSize = 1 << 20;

QString WithSlash(QString path)
{
    FuncTool::AdjustPath(path);
    return path;
}

QStringList SplitKeepEmpty(const QString &line)
{
    return line.split(QLatin1Char('='), Qt::KeepEmptyParts);
}

QString StripLineEnds(QString text)
{
    return text.remove(QLatin1Char('\n')).remove(QLatin1Char('\r'));
}

// A file that is not what it seems (a FIFO, a link out of the programmer's
// folder, an oversized file) is refused; the reason goes to the log.
void Refused(const QString &why)
{
    if (!why.isEmpty())
        qWarning().noquote() << "BurnHub:" << why;
}

// Copies a prepared file into the programmer's folder, never through a link out of it.
bool ReplaceInRoot(const QString &srcPath, const QString &destination, const QString &root)
{
    QString why;
    if (CSafeFile::Replace(srcPath, destination, root, why))
        return true;
    Refused(why);
    return false;
}
} // namespace

BurnHub *BurnHub::m_pInstance = nullptr;

BurnHub *BurnHub::Instance()
{
    if (!m_pInstance)
        m_pInstance = new BurnHub();
    return m_pInstance;
}

void BurnHub::Exitance()
{
    delete m_pInstance;
    m_pInstance = nullptr;
}

void BurnHub::SetProgRoot(const QString &root)
{
    m_bUSBMode = false;
    m_strProgRoot = root;
}

void BurnHub::SetUSBProgUID(const QString &id)
{
    m_bUSBMode = true;
    m_strUSBUID = id;
}

void BurnHub::CloseHIDMode()
{
    m_bUSBMode = false;
    m_strUSBUID.clear();
}

// In USB mode the programmer's files live in its PC-side folder; the bare ID
// would make the folders below relative to whatever the working folder is.
QString BurnHub::GetProgRoot()
{
    if (m_bUSBMode)
        return m_strUSBUID.isEmpty() ? QString() : GetUSBProgFilePath(m_strUSBUID, QString());
    return m_strProgRoot;
}

QString BurnHub::SubDir(const QString &name)
{
    const QString root = GetProgRoot();
    if (root.isEmpty())
        return QString();
    const QString dir = root + name;
    QDir().mkpath(dir);
    return dir;
}

QString BurnHub::GetSysDir() { return SubDir(QStringLiteral("sys/")); }
QString BurnHub::GetCMDDir() { return SubDir(QStringLiteral("cmd/")); }
QString BurnHub::GetConfigDir() { return SubDir(QStringLiteral("config/")); }
QString BurnHub::GetProcDir() { return SubDir(QStringLiteral("procs/")); }

QString BurnHub::ConfigFilePath(const QString &name)
{
    if (m_bUSBMode)
        return GetUSBProgFilePath(m_strUSBUID, name);
    const QString dir = GetConfigDir();
    return dir.isEmpty() ? QString() : dir + name;
}

QString BurnHub::GetUSBProgFilePath(const QString &id, const QString &fileName)
{
    const QString dir = FuncTool::GetQELDir() + QStringLiteral("qel720A_server/") + id + QLatin1Char('/');
    QDir().mkpath(dir);
    const QString path = dir + fileName;
    qDebug() << "BurnHub::GetUSBProgFilePath" << path;
    return path;
}

ProgerInfo BurnHub::GetUSBProgInfo(const QString &id)
{
    ProgerInfo info;
    const QString path = GetUSBProgFilePath(id, QStringLiteral("qelprogrammer.dat"));
    if (QFile::exists(path))
        IsRightProger(path, info);
    return info;
}

bool BurnHub::ReadSysFile(const QString &path, QMap<QString, QString> &map)
{
    QFile file;
    QString err;
    if (!CSafeFile::OpenRead(file, path, QString(), err, ProgerLimits::kMaxSysFileSize)) {
        if (QFileInfo::exists(path))
            qWarning().noquote() << "BurnHub::ReadSysFile" << err;
        return false;
    }
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine());
        if (line.startsWith(QLatin1Char('=')))
            continue;
        const QStringList parts = SplitKeepEmpty(line);
        if (parts.size() != 2)
            continue;
        if (!parts[0].isEmpty())
            map.insert(parts[0], StripLineEnds(parts[1]));
    }
    return !map.isEmpty();
}

bool BurnHub::IsRightProger(const QString &path, ProgerInfo &info)
{
    QMap<QString, QString> map;
    if (!ReadSysFile(path, map) || !map.contains(QStringLiteral("ID")) || !map.contains(QStringLiteral("VER")))
        return false;
    if (!ProgerLimits::IsBelievable(map.value(QStringLiteral("ID")), map.value(QStringLiteral("MODEL")),
                                  map.value(QStringLiteral("VER")), map.value(QStringLiteral("HW")))) {
        qWarning().noquote() << "BurnHub::IsRightProger" << path << "names a programmer beyond the limits";
        return false;
    }
    info.m_strID = map.value(QStringLiteral("ID"));
    info.m_strVer = map.value(QStringLiteral("VER"));
    if (map.contains(QStringLiteral("HW")))
        info.m_strHW = map.value(QStringLiteral("HW"));
    info.m_strModel = map.value(QStringLiteral("MODEL"), QStringLiteral("QEL719A"));
    return true;
}

QString BurnHub::GetProgerID(const QString &path)
{
    ProgerInfo info;
    return IsRightProger(path, info) ? info.m_strID : QString();
}

QStringList BurnHub::GetSearchDirs() const
{
    QStringList dirs;
    const QString env = QString::fromLocal8Bit(qgetenv("QEL_PROG_DIRS"));
    dirs += env.split(QLatin1Char(':'), Qt::SkipEmptyParts);
    CPubActions pub(true);
    dirs += pub.GetStringList(QStringLiteral("SCAN"), QStringLiteral("PROGDIRS"), QStringList(),
                              QStringLiteral("burnhub.ini"));
    dirs += m_extraDirs;
    QStringList result;
    for (const QString &dir : qAsConst(dirs)) {
        const QString trimmed = dir.trimmed();
        if (!trimmed.isEmpty() && !result.contains(WithSlash(trimmed)))
            result << WithSlash(trimmed);
    }
    return result;
}

void BurnHub::SetSearchDirs(const QStringList &dirs)
{
    m_extraDirs = dirs;
}

bool BurnHub::IsProgerVolume(const QByteArray &fileSystemType, bool isRoot)
{
    const QByteArray type = fileSystemType.toLower();
    return !isRoot && type != "ntfs" && type != "ntfs3" && type != "fuseblk";
}

QStringList BurnHub::CandidateRoots()
{
    QStringList roots;
    const QList<QStorageInfo> volumes = QStorageInfo::mountedVolumes();
    for (const QStorageInfo &volume : volumes) {
        if (!volume.isValid() || !IsProgerVolume(volume.fileSystemType(), volume.isRoot()))
            continue;
        roots << WithSlash(volume.rootPath());
    }
    for (const QString &dir : GetSearchDirs()) {
        if (!roots.contains(dir))
            roots << dir;
    }
    return roots;
}

QList<ProgerInfo> BurnHub::GetProgerList()
{
    QList<ProgerInfo> list;
    for (const QString &root : CandidateRoots()) {
        const QString sysFile = root + QLatin1String(kSysFile);
        if (!QFile::exists(sysFile))
            continue;
        ProgerInfo info;
        info.m_strRoot = root;
        if (IsRightProger(sysFile, info))
            list << info;
    }
    return list;
}

ProgerInfo BurnHub::GetProger(const QString &drive)
{
    QString root;
    if (drive.size() == 1 && drive[0].isLetter()) {
        root = drive + QStringLiteral(":/");
    } else if (drive.contains(QLatin1Char('/'))) {
        root = WithSlash(drive);
    } else {
        // A short name as GetDesc shows it: the last component of a known root.
        for (const QString &candidate : CandidateRoots()) {
            if (QDir(candidate).dirName() == drive) {
                root = candidate;
                break;
            }
        }
    }
    ProgerInfo info;
    info.m_strRoot = root;
    const QString sysFile = root + QLatin1String(kSysFile);
    if (!root.isEmpty() && QFile::exists(sysFile) && IsRightProger(sysFile, info))
        return info;
    qDebug() << "GetProger" << "crash check";
    return info;
}

void BurnHub::LoadLanguage(bool english)
{
    static QTranslator *translator = nullptr;
    if (!translator)
        translator = new QTranslator(QCoreApplication::instance());
    if (english) {
        if (translator->load(QStringLiteral(":/burnhub_en.qm")))
            QCoreApplication::installTranslator(translator);
    } else {
        QCoreApplication::removeTranslator(translator);
    }
}

// ---- image index ---------------------------------------------------------

bool BurnHub::ReadImageIndex(QMap<int, ImageInfo> &map, QString &err)
{
    const QString path = ConfigFilePath(QStringLiteral("image.dat"));
    QFile file;
    QString why;
    if (!path.isEmpty() && !QFileInfo(path).exists() && !QFileInfo(path).isSymLink())
        CSafeFile::Write(path, GetProgRoot(), QByteArray(), why);
    if (path.isEmpty() || !CSafeFile::OpenRead(file, path, GetProgRoot(), why, kMaxListFileSize)) {
        Refused(why);
        err = tr("镜像索引文件打开失败");
        return false;
    }
    const QString procDir = GetProcDir();
    while (!file.atEnd()) {
        const QStringList parts = SplitKeepEmpty(StripLineEnds(FuncTool::GBK2UTF8(file.readLine())));
        if (parts.size() != 2)
            continue;
        bool ok = false;
        const int number = parts[0].toInt(&ok, 10);
        if (!ok)
            continue;
        ImageInfo info;
        info.m_nIndex = number;
        info.m_strName = parts[1];
        const QFileInfo image(procDir + parts[1]);
        info.m_strTime = image.exists() ? image.lastModified().toString(QLatin1String(kTimeFormat)) : QString();
        map.insert(number, info);
    }
    return true;
}

bool BurnHub::WriteImageIndex(const QMap<int, ImageInfo> &map, QString &err)
{
    const QString path = ConfigFilePath(QStringLiteral("image.dat"));
    if (path.isEmpty() || !QFile::exists(path)) {
        err = tr("镜像索引文件%1不存在").arg(path);
        return false;
    }
    QByteArray content;
    for (auto it = map.cbegin(); it != map.cend(); ++it)
        content += FuncTool::UTF82GBKStr(QStringLiteral("%1=%2\n").arg(it.key()).arg(it->m_strName));
    QString why;
    if (!CSafeFile::Write(path, GetProgRoot(), content, why)) {
        Refused(why);
        err = tr("镜像索引文件%1打开失败").arg(path);
        return false;
    }
    return true;
}

bool BurnHub::ModifyIndex(int index, const QString &name, QString &err)
{
    QMap<int, ImageInfo> map;
    QString readErr;
    ReadImageIndex(map, readErr);
    for (auto it = map.begin(); it != map.end(); ++it) {
        if (it.key() == index || it->m_strName != name)
            continue;
        err = tr("%1已经配置在镜像号%2中").arg(name, QString::number(it.key()));
        const auto answer = CMessageBox::Ask(QApplication::activeWindow(), tr("提示"),
                                             err + tr("\n清除原配置并重试？"));
        if (answer != QMessageBox::Yes)
            return false;
        map.erase(it);
        break;
    }
    ImageInfo info;
    info.m_nIndex = index;
    info.m_strName = name;
    map.insert(index, info);
    return WriteImageIndex(map, err);
}

QString BurnHub::FindImageNameByIndex(int index)
{
    QMap<int, ImageInfo> map;
    QString err;
    ReadImageIndex(map, err);
    return map.value(index).m_strName;
}

bool BurnHub::RemoveImg(int index, QString &err)
{
    QMap<int, ImageInfo> map;
    ReadImageIndex(map, err);
    if (map.contains(index)) {
        const QString path = GetProcDir() + map.value(index).m_strName;
        if (QFileInfo(path).isFile())
            QFile::remove(path);
    }
    return true;
}

bool BurnHub::DownImageFile(int index, const QString &srcPath, const QString &name, QString &err)
{
    if (!ModifyIndex(index, name, err))
        return false;
    ModifyNewList(index);
    // The index now names this file; it is replaced in one step, so a failed copy
    // keeps the image that was there.
    const QString destination = GetProcDir() + name;
    if (!ReplaceInRoot(srcPath, destination, GetProgRoot())) {
        err = tr("镜像文件下载失败");
        return false;
    }
    return true;
}

bool BurnHub::DeleteImage(const QString &name, QString &err)
{
    QMap<int, ImageInfo> map;
    ReadImageIndex(map, err);
    int removed = -1;
    for (auto it = map.begin(); it != map.end();) {
        if (it->m_strName == name) {
            removed = it.key();
            it = map.erase(it);
        } else {
            ++it;
        }
    }
    WriteImageIndex(map, err);
    if (removed >= 0) {
        QStringList list;
        ReadNewList(list);
        list.removeOne(QString::number(removed));
        WriteNewList(list);
    }
    // Only an image file of procs/ itself: a name with a folder in it (from a
    // peer, say) never reaches a file elsewhere on the programmer.
    const bool plain = CFileName::IsPlain(name);
    const QString path = GetProcDir() + name;
    if (plain && QFileInfo(path).isFile())
        QFile::remove(path);
    return true;
}

bool BurnHub::DeleteAllImage(QString &err)
{
    QMap<int, ImageInfo> empty;
    QMap<int, ImageInfo> current;
    ReadImageIndex(current, err); // makes sure the index exists so it can be emptied
    WriteImageIndex(empty, err);
    WriteNewList(QStringList());
    const QString procDir = GetProcDir();
    // A procs/ that leads elsewhere is not ours to empty.
    if (!procDir.isEmpty() && CSafeFile::IsInside(GetProgRoot(), procDir)) {
        const QFileInfoList files = QDir(procDir).entryInfoList(QDir::Files);
        for (const QFileInfo &file : files) {
            if (IsImageSuffix(file.suffix()))
                QFile::remove(file.absoluteFilePath());
        }
    }
    return true;
}

bool BurnHub::CheckImageVaild(const QString &path)
{
    QFile file;
    QString err;
    if (!CSafeFile::OpenRead(file, path, QString(), err))
        return false;
    const qint64 size = file.size();
    return file.readAll().size() == size;
}

bool BurnHub::IsImageSuffix(const QString &suffix)
{
    const QString s = suffix.toLower();
    return s == QLatin1String("img") || s == QLatin1String("bin") || s == QLatin1String("hex");
}

bool BurnHub::FileTransfer(const QString &srcPath, QString &err)
{
    const QString root = GetProgRoot();
    QString destination;
    // Only the file named so is the index; "myimage.dat" or an image in a
    // folder named so is not.
    const QString name = srcPath.section(QLatin1Char('/'), -1);
    if (name == QLatin1String("image.dat")) {
        destination = root + QStringLiteral("config/image.dat");
    } else if (name.endsWith(QLatin1String(".img"))) {
        destination = root + QStringLiteral("procs/") + name;
    }
    if (root.isEmpty() || destination.isEmpty() || !ReplaceInRoot(srcPath, destination, GetProgRoot())) {
        qDebug() << "BurnHub::FileTransfer" << srcPath << destination;
        err = tr("镜像文件下载失败");
        return false;
    }
    return true;
}

bool BurnHub::ReadFileData(const QString &name, qint64 &size, QByteArray &data)
{
    qDebug() << "ReadFileData" << name;
    size = 0;
    if (name != QLatin1String("image.dat") && name != QLatin1String("param.ini"))
        return false;
    QFile file;
    QString err;
    data.clear();
    if (!CSafeFile::OpenRead(file, ConfigFilePath(name), GetProgRoot(), err, kMaxListFileSize)) {
        Refused(err);
        return false;
    }
    data = file.readAll();
    size = data.size();
    return true;
}

bool BurnHub::ReadKeyValueFile(const QString &path, QMap<QString, QString> &map)
{
    QFile file;
    QString err;
    if (path.isEmpty() || !CSafeFile::OpenRead(file, path, GetProgRoot(), err, kMaxListFileSize)) {
        Refused(err);
        return false;
    }
    while (!file.atEnd()) {
        const QStringList parts = SplitKeepEmpty(StripLineEnds(QString::fromLocal8Bit(file.readLine())));
        if (parts.size() >= 2)
            map.insert(parts[0], parts[1]);
    }
    return true;
}

bool BurnHub::ReadConfig(QMap<QString, QString> &map, QString &err)
{
    if (ReadKeyValueFile(ConfigFilePath(QStringLiteral("param.ini")), map))
        return true;
    err = tr("下载器配置文件打开失败");
    return false;
}

bool BurnHub::ReadSignal(QMap<QString, QString> &map, QString &err)
{
    if (ReadKeyValueFile(ConfigFilePath(QStringLiteral("signal.ini")), map))
        return true;
    err = tr("下载器信号配置文件打开失败");
    return false;
}

// ---- prepared files ------------------------------------------------------

bool BurnHub::DownConfigFile(const QString &srcPath, QString &err)
{
    const QString destination = ConfigFilePath(QStringLiteral("param.ini"));
    qDebug() << "BurnHub::DownConfigFile" << destination;
    bool ok = !destination.isEmpty() && ReplaceInRoot(srcPath, destination, GetProgRoot());
    if (!ok)
        err = tr("配置文件下载失败!");
    // The programmer reloads its parameters when it finds this empty command file.
    const QString cmdDir = GetCMDDir();
    QString why;
    if (cmdDir.isEmpty() || !CSafeFile::Write(cmdDir + QStringLiteral("param_refresh.cmd"), GetProgRoot(), QByteArray(), why)) {
        Refused(why);
        err = tr("配置文件更新指令下发失败!");
        ok = false;
    }
    return ok;
}

bool BurnHub::DownSignalFile(const QString &srcPath, QString &err)
{
    const QString dir = GetConfigDir();
    if (dir.isEmpty() || !ReplaceInRoot(srcPath, dir + QStringLiteral("signal.ini"), GetProgRoot())) {
        err = tr("信号配置文件下载失败!");
        return false;
    }
    return true;
}

bool BurnHub::DownPasswordFile(const QString &srcPath, QString &err)
{
    const QString dir = GetSysDir();
    if (dir.isEmpty() || !ReplaceInRoot(srcPath, dir + QStringLiteral("password.dat"), GetProgRoot())) {
        err = tr("密码下发更新失败!");
        return false;
    }
    return true;
}

bool BurnHub::DownFirmFile(const QString &srcPath, QString &err)
{
    const QString root = GetProgRoot();
    if (root.isEmpty() || !ReplaceInRoot(srcPath, root + QStringLiteral("update.bin"), GetProgRoot())) {
        err = tr("固件程序下载失败!");
        return false;
    }
    return true;
}

// ---- new list -----------------------------------------------------------

bool BurnHub::ReadNewList(QStringList &list)
{
    list.clear();
    const QString dir = GetConfigDir();
    QFile file;
    QString err;
    if (dir.isEmpty() || !CSafeFile::OpenRead(file, dir + QStringLiteral("newlist.dat"), GetProgRoot(), err, kMaxListFileSize))
        return false;
    while (!file.atEnd())
        list << StripLineEnds(QString::fromLatin1(file.readLine()));
    return true;
}

bool BurnHub::WriteNewList(const QStringList &list)
{
    const QString dir = GetConfigDir();
    QByteArray content;
    for (const QString &item : list)
        content += item.toLatin1() + "\r\n";
    QString err;
    if (dir.isEmpty() || !CSafeFile::Write(dir + QStringLiteral("newlist.dat"), GetProgRoot(), content, err)) {
        Refused(err);
        return false;
    }
    return true;
}

void BurnHub::ModifyNewList(int index)
{
    QStringList list;
    ReadNewList(list);
    const QString number = QString::number(index);
    list.removeAll(number);
    list << number;
    WriteNewList(list);
}
