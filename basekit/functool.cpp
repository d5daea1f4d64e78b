#include "functool.h"

#include "cpubactions.h"
#include "crcmpeg2.h"
#include "moduleid.h"
#include "zelldir.h"

#include <QComboBox>
#include <QCryptographicHash>
#include <QDebug>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QHostAddress>
#include <QImage>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTextCodec>
#include <QThread>
#include <QTimer>

#include <cerrno>
#include <cstring>
#include <memory>
#include <signal.h>
#include <vector>
#include <xxhash.h>

namespace {
const QString kDataFolder = QStringLiteral("qel-data/");

QTextCodec *gbkCodec()
{
    static QTextCodec *codec = [] {
        QTextCodec *c = QTextCodec::codecForName("GBK");
        if (!c)
            qWarning("FuncTool: no GBK codec, falling back to the local code page");
        return c ? c : QTextCodec::codecForLocale();
    }();
    return codec;
}

bool makeFolder(const QString &dir)
{
    return ZellDir::MKDir(dir);
}

// Names written on Windows carry ".exe"; the Linux program has none.
QString processName(const QString &exeName)
{
    QString name = exeName.trimmed();
    if (name.endsWith(QLatin1String(".exe"), Qt::CaseInsensitive))
        name.chop(4);
    return name;
}

QByteArray readProcFile(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    return f.readAll();
}

QByteArray baseName(const QByteArray &path)
{
    return path.mid(path.lastIndexOf('/') + 1);
}

// The kernel keeps only 15 characters of a program name in comm, so a longer
// name is confirmed by the program's first argument or executable.
QList<qint64> findProcesses(const QString &exeName)
{
    constexpr int kCommLen = 15;
    QList<qint64> pids;
    const QByteArray want = processName(exeName).toLocal8Bit();
    if (want.isEmpty() || want.contains('/'))
        return pids;
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &entry : entries) {
        bool ok = false;
        const qint64 pid = entry.toLongLong(&ok);
        if (!ok)
            continue;
        const QString dir = QStringLiteral("/proc/") + entry;
        QByteArray comm = readProcFile(dir + QStringLiteral("/comm"));
        if (comm.endsWith('\n'))
            comm.chop(1);
        if (comm != want.left(kCommLen))
            continue;
        if (want.size() > kCommLen) {
            const QByteArray cmdline = readProcFile(dir + QStringLiteral("/cmdline"));
            const QByteArray argv0 = cmdline.left(cmdline.indexOf('\0'));
            const QByteArray exe = QFile::symLinkTarget(dir + QStringLiteral("/exe")).toLocal8Bit();
            if (baseName(argv0) != want && baseName(exe) != want)
                continue;
        }
        pids << pid;
    }
    return pids;
}
} // namespace

// ---------------------------------------------------------------- folders

QString FuncTool::GetQELDir()
{
    QString dir = QString::fromLocal8Bit(qgetenv("QEL_DATA_DIR"));
    if (!dir.isEmpty()) {
        AdjustPath(dir);
        makeFolder(dir);
        return dir;
    }
    if (QCoreApplication::instance()) {
        QString appDir = QCoreApplication::applicationDirPath();
        AdjustPath(appDir);
        dir = appDir + kDataFolder;
        if (makeFolder(dir) && QFileInfo(dir).isWritable())
            return dir;
    }
    dir = GetAppDataDir() + kDataFolder;
    makeFolder(dir);
    return dir;
}

QString FuncTool::GetAppDataDir()
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (dir.isEmpty())
        dir = QDir::homePath() + QStringLiteral("/.qel");
    AdjustPath(dir);
    makeFolder(dir);
    return dir;
}

QString FuncTool::GetDataDir(const QString &name)
{
    if (name.isEmpty())
        return QString();
    const QString dir = GetQELDir() + name + QLatin1Char('/');
    makeFolder(dir);
    return dir;
}

QString FuncTool::GetDataDir(int module)
{
    return GetDataDir(ModuleName(module));
}

// ---------------------------------------------------------------- encodings

QString FuncTool::GBK2UTF8(const QByteArray &bytes)
{
    return gbkCodec()->toUnicode(bytes);
}

QByteArray FuncTool::UTF82GBKStr(const QString &text)
{
    return gbkCodec()->fromUnicode(text);
}

QString FuncTool::UTF82GBK(const QString &text)
{
    return QString::fromLatin1(UTF82GBKStr(text));
}

QString FuncTool::UTF82Unicode(const QByteArray &bytes)
{
    return QString::fromUtf8(bytes);
}

// ---------------------------------------------------------------- files

QByteArray FuncTool::ReadFile(const QString &path)
{
    QFile f(path);
    if (path.isEmpty() || !f.open(QIODevice::ReadOnly))
        return QByteArray();
    QByteArray data = f.readAll();
    return f.error() == QFileDevice::NoError ? data : QByteArray();
}

bool FuncTool::WriteFile(const QString &path, const QByteArray &data)
{
    if (path.isEmpty() || !CheckFileDir(path))
        return false;
    QFile f(path);
    if (f.exists())
        f.setPermissions(f.permissions() | QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const bool written = f.write(data) == data.size() && f.flush();
    f.close();
    return written && f.error() == QFileDevice::NoError;
}

bool FuncTool::WriteFile(const QString &path, const QString &text)
{
    return WriteFile(path, text.toLocal8Bit());
}

bool FuncTool::CopyFile(const QString &src, const QString &dst, QString &err, bool verify)
{
    qInfo().noquote() << QStringLiteral("copy file: src=%1 dst=%2").arg(src, dst);
    err.clear();
    const QFileInfo srcInfo(src);
    const QFileInfo dstInfo(dst);
    if (srcInfo.isFile() && dstInfo.isFile() && srcInfo.size() == dstInfo.size()) {
        if (!verify)
            return true;
        const QString md5 = MakeMd5(src);
        if (!md5.isEmpty() && md5 == MakeMd5(dst))
            return true;
    }

    QString folder, name;
    SplitPath(dst, folder, name);
    if (!folder.isEmpty() && !QFileInfo(folder).isDir()) {
        qInfo().noquote() << QStringLiteral("copy file: make dir for %1").arg(dst);
        if (!makeFolder(folder)) {
            err = tr("目标目录创建失败.");
            return false;
        }
    }

    // Read through QFile so an empty source still copies while an unreadable one fails.
    QFile in(src);
    if (src.isEmpty() || !in.open(QIODevice::ReadOnly)) {
        err = tr("读源文件失败");
        return false;
    }
    const QByteArray data = in.readAll();
    if (in.error() != QFileDevice::NoError) {
        err = tr("读源文件失败");
        return false;
    }
    if (dst.isEmpty() || !WriteFile(dst, data) || (verify && ReadFile(dst) != data)) {
        err = tr("写目标文件失败");
        return false;
    }
    return true;
}

bool FuncTool::ReplaceFile(const QString &src, const QString &dst)
{
    QFile in(src);
    if (src.isEmpty() || dst.isEmpty() || QFileInfo(dst).isDir() || !in.open(QIODevice::ReadOnly))
        return false;
    if (!CheckFileDir(dst))
        return false;
    QSaveFile out(dst);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    constexpr qint64 kBlock = 1 << 16;
    while (!in.atEnd()) {
        const QByteArray block = in.read(kBlock);
        if (in.error() != QFileDevice::NoError || out.write(block) != block.size()) {
            out.cancelWriting();
            return false;
        }
    }
    return out.commit();
}

bool FuncTool::CopyDir(const QString &src, const QString &dst, QString &err, bool verify)
{
    err.clear();
    if (src.isEmpty() || !QFileInfo(src).isDir()) {
        err = tr("源目录不存在");
        return false;
    }
    if (dst.isEmpty() || !makeFolder(dst)) {
        err = tr("目标目录创建失败.");
        return false;
    }
    QString target = dst;
    AdjustPath(target);
    const QDir srcDir(src);
    const QString targetCanon = QFileInfo(target).canonicalFilePath();

    // List first: a target inside the source must not be copied into itself.
    QFileInfoList entries;
    QDirIterator it(src, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        const QString canon = it.fileInfo().canonicalFilePath();
        if (canon == targetCanon || canon.startsWith(targetCanon + QLatin1Char('/')))
            continue;
        entries << it.fileInfo();
    }
    for (const QFileInfo &info : entries) {
        const QString to = target + srcDir.relativeFilePath(info.absoluteFilePath());
        if (info.isDir()) {
            if (!makeFolder(to)) {
                err = tr("目标目录创建失败.");
                return false;
            }
        } else if (!CopyFile(info.absoluteFilePath(), to, err, verify)) {
            return false;
        }
    }
    return true;
}

bool FuncTool::ClearDir(const QString &path)
{
    const QDir dir(path);
    if (path.isEmpty() || !dir.exists())
        return false;
    bool ok = true;
    const QFileInfoList entries =
        dir.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    for (const QFileInfo &info : entries) {
        // A link to a folder goes, not what it points at.
        if (info.isDir() && !info.isSymLink())
            ok = QDir(info.absoluteFilePath()).removeRecursively() && ok;
        else
            ok = QFile::remove(info.absoluteFilePath()) && ok;
    }
    return ok;
}

QFileInfoList FuncTool::GetFileInfoList(const QString &folder, bool recursive)
{
    if (folder.isEmpty())
        return QFileInfoList();
    const QDir dir(folder);
    const QDir::SortFlags sort = QDir::Name | QDir::IgnoreCase;
    QFileInfoList list = dir.entryInfoList(QDir::Files | QDir::NoSymLinks | QDir::NoDotAndDotDot, sort);
    if (recursive) {
        const QFileInfoList subs = dir.entryInfoList(QDir::Dirs | QDir::NoSymLinks | QDir::NoDotAndDotDot, sort);
        for (const QFileInfo &sub : subs)
            list += GetFileInfoList(sub.absoluteFilePath(), true);
    }
    return list;
}

int FuncTool::RepairPngs(const QString &folder)
{
    if (folder.isEmpty())
        return 0;
    int count = 0;
    const QFileInfoList files = QDir(folder).entryInfoList(QDir::Files | QDir::NoDotAndDotDot);
    for (const QFileInfo &info : files) {
        if (info.suffix() != QLatin1String("png"))
            continue;
        QImage image;
        if (image.load(info.absoluteFilePath()) && image.save(info.absoluteFilePath(), "PNG"))
            ++count;
    }
    return count;
}

// ---------------------------------------------------------------- checksums

quint32 FuncTool::crc32_st(const quint32 *words, quint32 count)
{
    return CrcMpeg2::Update(CrcMpeg2::Init, reinterpret_cast<const uchar *>(words), words ? count : 0);
}

quint32 FuncTool::crc32_st_expand(const quint32 *words, quint32 count, quint32 total)
{
    const quint32 crc = crc32_st(words, count);
    return count >= total ? crc : CrcMpeg2::Pad(crc, total - count);
}

quint32 FuncTool::CalcBytesCRCNum(const QByteArray &bytes, quint32 padSize)
{
    const quint64 n = quint64(bytes.size());
    quint32 crc = CrcMpeg2::Update(CrcMpeg2::Init, reinterpret_cast<const uchar *>(bytes.constData()), n / 4);
    if (n < padSize && n / 4 < padSize / 4)
        crc = CrcMpeg2::Pad(crc, padSize / 4 - n / 4);
    return crc;
}

quint32 FuncTool::CalcFileCRCNum(const QString &path, quint32 padSize)
{
    QFile f(path);
    if (path.isEmpty() || !f.open(QIODevice::ReadOnly))
        return 0;
    // Streamed, carrying up to three bytes of a split word from block to block.
    constexpr qint64 kBlock = 1 << 16;
    std::vector<uchar> buf(kBlock + 4);
    size_t have = 0;
    quint64 n = 0;
    quint32 crc = CrcMpeg2::Init;
    for (;;) {
        const qint64 got = f.read(reinterpret_cast<char *>(buf.data() + have), kBlock);
        if (got < 0)
            return 0;
        if (got == 0)
            break;
        n += quint64(got);
        have += size_t(got);
        const size_t words = have / 4;
        crc = CrcMpeg2::Update(crc, buf.data(), words);
        const size_t rest = have - words * 4;
        std::memmove(buf.data(), buf.data() + words * 4, rest);
        have = rest;
    }
    if (n == 0)
        return 0;
    if (n < padSize && n / 4 < padSize / 4)
        crc = CrcMpeg2::Pad(crc, padSize / 4 - n / 4);
    return crc;
}

QString FuncTool::CalcFileCRC(const QString &path, quint32 padSize)
{
    return QStringLiteral("%1").arg(CalcFileCRCNum(path, padSize), 8, 16, QLatin1Char('0')).toUpper();
}

quint32 FuncTool::MakeXxHash32(const QString &path)
{
    QFile f(path);
    if (path.isEmpty() || !f.open(QIODevice::ReadOnly))
        return 0;
    std::unique_ptr<XXH32_state_t, decltype(&XXH32_freeState)> state(XXH32_createState(), &XXH32_freeState);
    if (!state || XXH32_reset(state.get(), 0) != XXH_OK)
        return 0;
    for (;;) {
        const QByteArray block = f.read(65536);
        if (block.isEmpty())
            break;
        XXH32_update(state.get(), block.constData(), size_t(block.size()));
    }
    return XXH32_digest(state.get());
}

QString FuncTool::MakeMd5(const QString &path)
{
    QFile f(path);
    if (path.isEmpty() || !f.open(QIODevice::ReadOnly))
        return QString();
    QCryptographicHash hash(QCryptographicHash::Md5);
    for (;;) {
        const QByteArray block = f.read(10240);
        if (block.isEmpty())
            break;
        hash.addData(block);
    }
    return QString::fromLatin1(hash.result().toHex());
}

// ---------------------------------------------------------------- numbers and text

QString FuncTool::Byte2HexString(const QByteArray &bytes)
{
    static const char digits[] = "0123456789abcdef";
    QString out;
    out.reserve(bytes.size() * 3);
    for (const char c : bytes) {
        const quint8 b = quint8(c);
        out += QLatin1Char(digits[b >> 4]);
        out += QLatin1Char(digits[b & 0xF]);
        out += QLatin1Char(' ');
    }
    return out;
}

QString FuncTool::HexStr(quint32 value)
{
    return QStringLiteral("0x") + QStringLiteral("%1").arg(value, 8, 16, QLatin1Char('0')).toUpper();
}

quint32 FuncTool::String2UInt(const QString &text)
{
    QString digits = text.trimmed();
    int base = 10;
    if (digits.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        base = 16;
        digits.remove(0, 2);
    } else if (digits.startsWith(QLatin1String("0b"), Qt::CaseInsensitive)) {
        base = 2;
        digits.remove(0, 2);
    }
    if (digits.isEmpty())
        return 0;
    quint64 value = 0;
    for (const QChar ch : digits) {
        const int d = ch.isDigit() && ch.unicode() < 128 ? ch.unicode() - '0'
            : (ch.toLower() >= QLatin1Char('a') && ch.toLower() <= QLatin1Char('f')) ? ch.toLower().unicode() - 'a' + 10
                                                                                   : -1;
        if (d < 0 || d >= base)
            return 0;
        value = value * quint64(base) + quint64(d);
        if (value > 0xFFFFFFFFull)
            return 0;
    }
    return quint32(value);
}

QString FuncTool::CleanVer(QString version)
{
    version.remove(QLatin1Char('v')).remove(QLatin1Char('V')).remove(QLatin1Char(':'));
    return version;
}

int FuncTool::CompareVer(const QString &a, const QString &b)
{
    const QStringList pa = CleanVer(a).split(QLatin1Char('.'));
    const QStringList pb = CleanVer(b).split(QLatin1Char('.'));
    const int n = qMin(pa.size(), pb.size());
    for (int i = 0; i < n; ++i) {
        const qlonglong x = pa.at(i).toLongLong();
        const qlonglong y = pb.at(i).toLongLong();
        if (x != y)
            return x > y ? 1 : -1;
    }
    return pa.size() == pb.size() ? 0 : (pa.size() > pb.size() ? 1 : -1);
}

bool FuncTool::GreaterOrEqualVer(const QString &a, const QString &b)
{
    return CleanVer(a) == CleanVer(b) || CompareVer(a, b) > 0;
}

void FuncTool::AdjustPath(QString &path)
{
    if (path.isEmpty())
        return;
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
}

bool FuncTool::SplitPath(const QString &path, QString &folder, QString &name)
{
    folder.clear();
    name.clear();
    if (path.isEmpty())
        return false;
    QString p = path;
    p.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const int cut = p.lastIndexOf(QLatin1Char('/')) + 1;
    folder = p.left(cut);
    name = p.mid(cut);
    return true;
}

bool FuncTool::CheckFileDir(const QString &filePath)
{
    QString folder, name;
    if (!SplitPath(filePath, folder, name))
        return false;
    return folder.isEmpty() || makeFolder(folder);
}

QString FuncTool::CutString(const QString &text, const QString &mark, int count)
{
    if (mark.isEmpty() || count <= 0)
        return text;
    int pos = -mark.size();
    for (int i = 0; i < count; ++i) {
        pos = text.indexOf(mark, pos + mark.size());
        if (pos < 0)
            return text;
    }
    return text.left(pos + mark.size());
}

QString FuncTool::SectionData(const QString &text, const QString &mark, int count)
{
    if (mark.isEmpty() || count <= 0)
        return QString();
    int pos = -mark.size();
    for (int i = 0; i < count; ++i) {
        pos = text.indexOf(mark, pos + mark.size());
        if (pos < 0)
            return QString();
    }
    const int start = pos + mark.size();
    const int space = text.indexOf(QLatin1Char(' '), start);
    return space < 0 ? text.mid(start) : text.mid(start, space - start);
}

// ---------------------------------------------------------------- processes and hosts

bool FuncTool::CheckProcess(const QString &exeName)
{
    return !findProcesses(exeName).isEmpty();
}

bool FuncTool::KillProcess(const QString &exeName)
{
    qInfo() << "killProcess start" << exeName;
    QList<qint64> pids = findProcesses(exeName);
    pids.removeAll(QCoreApplication::applicationPid());
    bool ok = !pids.isEmpty();
    for (const qint64 pid : qAsConst(pids)) {
        // A process that ended meanwhile is as good as killed.
        if (::kill(pid_t(pid), SIGKILL) != 0 && errno != ESRCH)
            ok = false;
    }
    if (!ok)
        qWarning() << "killProcess error" << exeName;
    return ok;
}

bool FuncTool::CheckPing(const QString &host)
{
    const QString target = host.trimmed();
    // A leading "-" would reach ping as an option.
    if (target.isEmpty() || target.startsWith(QLatin1Char('-')))
        return false;
    QProcess ping;
    ping.start(QStringLiteral("ping"), {QStringLiteral("-c"), QStringLiteral("1"), QStringLiteral("-W"),
                                        QStringLiteral("1"), target});
    if (!ping.waitForStarted(1000))
        return false;
    if (!ping.waitForFinished(2000)) {
        ping.kill();
        ping.waitForFinished(500);
    }
    return QString::fromUtf8(ping.readAllStandardOutput()).contains(QLatin1String("ttl"), Qt::CaseInsensitive);
}

QString FuncTool::WideServerIP(const QString &iniFile)
{
    QString file = iniFile;
    if (file.isEmpty()) {
        const QString app = QCoreApplication::applicationName();
        file = (app.isEmpty() ? QStringLiteral("default") : app) + QStringLiteral(".ini");
    }
    CPubActions pub(false);
    const QString group = QStringLiteral("CLOUD");
    const QString host = pub.GetString(group, QStringLiteral("HOST"), QStringLiteral("localhost"), file);
    const QStringList fallbacks = {
        pub.GetString(group, QStringLiteral("FALLBACK1"), QStringLiteral("127.0.0.1"), file),
        pub.GetString(group, QStringLiteral("FALLBACK2"), QStringLiteral("127.0.0.2"), file),
    };
    for (const QString &ip : fallbacks) {
        QHostAddress address;
        if (!address.setAddress(ip.trimmed()) || address.protocol() != QAbstractSocket::IPv4Protocol)
            continue;
        if (CheckPing(address.toString()))
            return address.toString();
    }
    return host;
}

QString FuncTool::GetKeilDir()
{
    return QString();
}

QString FuncTool::GetIarDir()
{
    return QString();
}

QString FuncTool::GetSeggerDir()
{
    return QString();
}

// ---------------------------------------------------------------- widgets and delays

bool FuncTool::SetComboIndex(QComboBox *combo, int value)
{
    const int index = combo ? combo->findData(value) : -1;
    if (index < 0)
        return false;
    combo->setCurrentIndex(index);
    return true;
}

bool FuncTool::SetComboIndex(QComboBox *combo, const QString &text)
{
    const int index = combo ? combo->findText(text, Qt::MatchExactly) : -1;
    if (index < 0)
        return false;
    combo->setCurrentIndex(index);
    return true;
}

void FuncTool::DoDelay(int ms)
{
    if (ms <= 0)
        return;
    if (!QCoreApplication::instance()) {
        QThread::msleep(ulong(ms));
        return;
    }
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

void FuncTool::DoDelayUI(int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(1);
    }
}
