#include "imagebuilder.h"

#include "functool.h"
#include "hextool.h"
#include "imagecipher.h"
#include "progerinfo.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTextCodec>
#include <cstring>

const char *const CImageBuilder::MergeFileName = "merge_data.bin";

namespace {


// Grows buf to at least size, the new bytes erased flash.
void growTo(QByteArray &buf, qint64 size)
{
    const int old = buf.size();
    if (size <= old)
        return;
    buf.resize(int(size));
    std::memset(buf.data() + old, 0xFF, size_t(size - old));
}

// Reads a whole BIN file of size bytes into buf at offset; the reason when it cannot.
QString readBinAt(QFile &f, QByteArray &buf, qint64 offset, qint64 size)
{
    growTo(buf, offset + size);
    for (qint64 have = 0; have < size;) {
        const qint64 got = f.read(buf.data() + offset + have, size - have);
        if (got <= 0)
            return CImageBuilder::tr("文件打开失败:%1").arg(f.fileName());
        have += got;
    }
    return QString();
}

// A part of the merged program already taken by an entry.
struct Placed
{
    qint64 begin;
    qint64 end;
    QString path;
};

// The entry placed over [begin, end), or empty when that range is free.
QString overlapping(const QVector<Placed> &placed, qint64 begin, qint64 end)
{
    for (const Placed &p : placed)
        if (begin < p.end && p.begin < end)
            return p.path;
    return QString();
}

bool isBin(const QString &suffix) { return suffix == QLatin1String("bin") || suffix == QLatin1String("BIN"); }
bool isHex(const QString &suffix) { return suffix == QLatin1String("hex") || suffix == QLatin1String("HEX"); }

} // namespace

CImageBuilder::CImageBuilder(const QString &workDir) : m_strWorkDir(workDir) {}

QString CImageBuilder::MergePath() const
{
    return QDir(m_strWorkDir).filePath(QLatin1String(MergeFileName));
}

QString CImageBuilder::HistoryDir() const
{
    return QDir(m_strWorkDir).filePath(QStringLiteral("history"));
}

bool CImageBuilder::MergeBinInfos(const QVector<CBinEntry> &entries, CMergedProgram &merged, QString &err) const
{
    merged = CMergedProgram();
    if (entries.isEmpty()) {
        err = tr("程序列表不能为空，程序路径不能为空!");
        return false;
    }
    const quint32 start = entries.first().m_nAddr;
    const qint64 limit = HexTool::MaxSpan;
    QByteArray &buf = merged.m_baData;

    // Room for every BIN file and the trailer up front, so the program is not
    // copied again on its way to the image.
    qint64 want = 0;
    for (const CBinEntry &e : entries) {
        if (e.m_nAddr >= start && isBin(QFileInfo(e.m_strPath).suffix()))
            want = qMax(want, qint64(e.m_nAddr - start) + QFileInfo(e.m_strPath).size());
    }
    if (want <= limit)
        buf.reserve(int(want + 16 + CImageFile::TrailerSize));

    QVector<Placed> placed;
    for (const CBinEntry &e : entries) {
        const QString suffix = QFileInfo(e.m_strPath).suffix();
        if (!isBin(suffix) && !isHex(suffix)) {
            err = tr("选择文件格式不支持!");
            return false;
        }
        // A program below the first one has no place in the image.
        if (e.m_nAddr < start) {
            err = tr("程序地址超出范围:%1").arg(e.m_strPath);
            return false;
        }
        const qint64 offset = qint64(e.m_nAddr - start);
        QFile bin(e.m_strPath);
        QByteArray hexBytes;
        qint64 size = 0;
        if (isBin(suffix)) {
            if (!bin.open(QIODevice::ReadOnly)) {
                err = tr("文件打开失败:%1").arg(e.m_strPath);
                return false;
            }
            size = bin.size();
        } else {
            ConvBinList blocks;
            QString hexErr;
            if (!HexTool::FileConvHex2BinData(e.m_strPath, blocks, hexErr)) {
                err = tr("文件打开失败:%1").arg(e.m_strPath) + QLatin1Char(' ') + hexErr;
                return false;
            }
            const quint32 lowest = blocks.isEmpty() ? e.m_nAddr : HexTool::Lowest(blocks);
            if (HexTool::LayOut(blocks, hexBytes) != HexTool::Ok) {
                err = tr("文件打开失败:%1").arg(e.m_strPath) + QLatin1Char(' ')
                      + HexTool::ResultMessage(HexTool::SpanTooLarge);
                return false;
            }
            // The HEX file says where its data belongs; another address is allowed but worth a word.
            if (lowest != e.m_nAddr)
                merged.m_notes << tr("注意: %1 放在地址 %2, 而HEX文件的起始地址为 %3")
                                      .arg(e.m_strPath, CRCText(e.m_nAddr), CRCText(lowest));
            size = hexBytes.size();
        }
        // An empty program would build an image with nothing to burn.
        if (size == 0) {
            err = tr("程序文件为空:%1").arg(e.m_strPath);
            return false;
        }
        if (offset + size > limit) {
            err = tr("程序地址超出范围:%1").arg(e.m_strPath);
            return false;
        }
        const QString other = overlapping(placed, offset, offset + size);
        if (!other.isEmpty()) {
            err = tr("程序地址重叠: %1 与 %2").arg(e.m_strPath, other);
            return false;
        }
        placed.append({offset, offset + size, e.m_strPath});
        if (isBin(suffix)) {
            err = readBinAt(bin, buf, offset, size);
            if (!err.isEmpty())
                return false;
        } else {
            growTo(buf, offset + size);
            std::memcpy(buf.data() + offset, hexBytes.constData(), size_t(size));
        }
        if (offset == 0)
            merged.m_nFirstCRC = FuncTool::CalcBytesCRCNum(buf);
    }

    growTo(buf, (qint64(buf.size()) + 15) / 16 * 16);
    merged.m_nStartAddr = start;
    merged.m_nCRC = FuncTool::CalcBytesCRCNum(buf);
    if (!FuncTool::WriteFile(MergePath(), buf)) {
        err = tr("文件打开失败:%1").arg(MergePath());
        return false;
    }
    return true;
}

QString CImageBuilder::ResolveKeyID(const QString &givenID, const QString &progerID)
{
    const QString id = givenID.size() == CImageCipher::IDLength ? givenID : progerID;
    // An empty ID would pad to a key of zeros: no programmer, no key.
    return CImageCipher::IsValidID(id) ? CImageCipher::PadID(id) : QString();
}

bool CImageBuilder::SaveImageFile(const QVector<CBinEntry> &entries, const CImageParams &params,
                                  const QString &imagePath, CImageResult &result, QString &err) const
{
    result = CImageResult();
    if (params.m_nLimit > 0 && !params.m_bEncrypt) {
        err = tr("要有效限制下载次数，请选择加密镜像!");
        return false;
    }
    QString id;
    if (params.m_bEncrypt) {
        id = ResolveKeyID(params.m_strGivenID, params.m_strProgerID);
        if (id.isEmpty()) {
            err = tr("下载器ID格式有误,加密镜像必须绑定下载器!");
            return false;
        }
    }
    bool paths = !entries.isEmpty();
    for (const CBinEntry &e : entries)
        paths = paths && !e.m_strPath.trimmed().isEmpty();
    if (!paths) {
        err = tr("程序列表不能为空，程序路径不能为空!");
        return false;
    }
    CMergedProgram merged;
    QString mergeErr;
    if (!MergeBinInfos(entries, merged, mergeErr)) {
        err = tr("程序文件读取错误") + QLatin1Char(' ') + mergeErr;
        return false;
    }

    const QDateTime when = params.m_dtBuild.isValid() ? params.m_dtBuild : QDateTime::currentDateTime();
    CImageTrailer &trailer = result.m_trailer;
    trailer.m_nTime = quint32(when.toSecsSinceEpoch());
    trailer.m_nLimit = params.m_nLimit;
    trailer.m_nVersion = params.m_nVersion;
    trailer.m_nFirstCRC = merged.m_nFirstCRC;
    trailer.m_nCRC = merged.m_nCRC;
    trailer.m_nChip = params.m_nChip;
    trailer.m_nStartAddr = merged.m_nStartAddr;
    trailer.m_bEncrypt = params.m_bEncrypt;
    result.m_strCRC = CRCText(merged.m_nCRC);

    QByteArray image = std::move(merged.m_baData);
    if (!CImageFile::Compose(image, trailer, id)) {
        err = tr("下载器ID格式有误,加密镜像必须绑定下载器!");
        return false;
    }

    // Written under a temporary name and renamed, so a failed write leaves no image.
    QDir().mkpath(QFileInfo(imagePath).absolutePath());
    QSaveFile out(imagePath);
    if (imagePath.isEmpty() || !out.open(QIODevice::WriteOnly) || out.write(image) != image.size()
        || !out.commit()) {
        err = tr("镜像文件生成失败 ") + imagePath;
        return false;
    }

    const QString name = QFileInfo(imagePath).fileName();
    const QString history = HistoryDir();
    result.m_strHistoryPath =
        QStringLiteral("%1/%2_%3").arg(history, when.toString(QStringLiteral("yyyyMMdd_hhmmss")), name);
    const QString line = QStringLiteral("[%1] name=%2 ver=%3 counts=%4 encrypt=%5 crc1=%6 crc2=%7\r\n")
                             .arg(when.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")), name)
                             .arg(trailer.m_nVersion)
                             .arg(trailer.m_nLimit)
                             .arg(trailer.m_bEncrypt ? 1 : 0)
                             .arg(FuncTool::HexStr(trailer.m_nCRC), FuncTool::HexStr(trailer.m_nSum));
    QFile log(QStringLiteral("%1/images.log").arg(history));
    // The image itself is built; a history that cannot be kept is only worth a warning.
    if (!FuncTool::WriteFile(result.m_strHistoryPath, image))
        qWarning() << "CImageBuilder::SaveImageFile" << "history copy failed" << result.m_strHistoryPath;
    if (!log.open(QIODevice::WriteOnly | QIODevice::Append) || log.write(line.toLocal8Bit()) < 0)
        qWarning() << "CImageBuilder::SaveImageFile" << "images.log not written";

    result.m_summary = merged.m_notes;
    result.m_summary << tr("镜像名称: ") + name
                     << tr("是否加密: ") + (trailer.m_bEncrypt ? tr("是") : tr("否"))
                     << tr("最大烧写次数: ") + QString::number(trailer.m_nLimit)
                     << tr("MCU类型: ") + ChipName(int(trailer.m_nChip))
                     << tr("镜像CRC: ") + result.m_strCRC
                     << tr("版本: ") + QString::number(trailer.m_nVersion)
                     << tr("镜像文件处理完成!");
    return true;
}

int CImageBuilder::MaxIndexFor(const QString &model, bool encrypt)
{
    static const QStringList kSmall = {QStringLiteral("QEL720A"), QStringLiteral("QEL720B"),
                                       QStringLiteral("QEL720C")};
    if (kSmall.contains(model))
        return encrypt ? 49 : 149;
    return MaxImageIndex;
}

bool CImageBuilder::CheckImageIndex(const ProgerInfo *proger, int index, bool encrypt, QString &reason)
{
    if (!proger) {
        reason = tr("下载器未选择！");
        return false;
    }
    const int max = MaxIndexFor(proger->m_strModel, encrypt);
    if (index < 0 || index > max) {
        reason = tr("镜像号错误，当前下载器支持最大镜像号为:%1!").arg(max)
                 + (encrypt ? tr("(加密镜像)") : tr("(非加密镜像)"));
        return false;
    }
    return true;
}

bool CImageBuilder::CheckIndexRange(int index, QString &err)
{
    if (index < 0 || index > MaxImageIndex) {
        err = tr("镜像号超出范围，支持[0,%1]").arg(MaxImageIndex);
        return false;
    }
    return true;
}

bool CImageBuilder::CheckImageName(QString &name, QString &err)
{
    // The index stores names in GBK: a name it cannot hold would point at no file.
    const QTextCodec *gbk = QTextCodec::codecForName("GBK");
    if (gbk && !gbk->canEncode(name)) {
        err = tr("镜像名称含有GBK编码无法表示的字符: %1").arg(name);
        return false;
    }
    if (FuncTool::UTF82GBKStr(name).size() > MaxNameBytes) {
        err = tr("镜像名称不能大于%1字节!").arg(MaxNameBytes);
        return false;
    }
    if (name.contains(QLatin1Char('='))) {
        err = tr("镜像名称不能包含等号(=)");
        return false;
    }
    if (name.isEmpty()) {
        err = tr("镜像名称不能为空");
        return false;
    }
    if (!name.endsWith(QLatin1String(".img")))
        name += QLatin1String(".img");
    return true;
}

QString CImageBuilder::ChipName(int chip)
{
    return QStringLiteral("QM-%1").arg(chip + 1, 2, 10, QLatin1Char('0'));
}

QString CImageBuilder::CRCText(quint32 crc)
{
    return FuncTool::HexStr(crc);
}
