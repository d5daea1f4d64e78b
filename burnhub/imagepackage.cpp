#include "imagepackage.h"

#include "burnhub.h"
#include "cfilename.h"
#include "csafefile.h"
#include "functool.h"
#include "imagebuilder.h"
#include "imagecipher.h"
#include "imagefile.h"
#include "progerinfo.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSet>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

const char *const CImagePackage::Suffix = ".pimg";
const char *const CImagePackage::IndexName = "image.dat";

namespace {

const char kRoot[] = "backup-programmer-xml";
const char kProgrammer[] = "programmer";
const char kImage[] = "image";
const char kTimeFormat[] = "yyyy-MM-dd hh:mm:ss";

// One image of a programmer is at most its flash; a file far beyond is no image.
constexpr qint64 kMaxImageFile = qint64(64) << 20;

int hexDigit(ushort c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

QString entryElementName(int number)
{
    return QStringLiteral("镜像%1").arg(number);
}

} // namespace

void CImagePackage::Clear()
{
    m_strUID.clear();
    m_nImageCount = 0;
    m_entries.clear();
    m_strFileName.clear();
    m_bBrokeOff = false;
}

// ---------------------------------------------------------------- writing

bool CImagePackage::ReadFromProger(BurnHub *hub, const QString &uid, QString &err)
{
    QMap<int, ImageInfo> index;
    if (!hub->ReadImageIndex(index, err)) {
        err = tr("读取当前下载器序列文件失败");
        return false;
    }
    return ReadFromFolder(index, hub->GetProcDir(), uid, err);
}

bool CImagePackage::ReadFromFolder(const QMap<int, ImageInfo> &index, const QString &procDir,
                                   const QString &uid, QString &err)
{
    m_strUID = uid;
    m_nImageCount = index.size();
    m_entries.clear();
    // QMap keeps the numbers in ascending order.
    for (auto it = index.cbegin(); it != index.cend(); ++it) {
        CPackageEntry entry;
        entry.m_nIndex = quint32(it.key());
        entry.m_strName = it->m_strName;
        const QString path = procDir + it->m_strName;
        const QFileInfo info(path);
        // A name that leaves the image folder names no image of this programmer.
        if (CFileName::IsPlain(it->m_strName) && (info.exists() || info.isSymLink())) {
            QString why;
            if (!CSafeFile::ReadAll(path, procDir, entry.m_baData, why, kMaxImageFile)) {
                err = tr("程序文件读取失败！") + QLatin1Char(' ') + it->m_strName;
                return false;
            }
            entry.m_bHasFile = true;
            entry.m_nSize = quint32(entry.m_baData.size());
            entry.m_bEncrypt = CImageFile::IsEncrypted(entry.m_baData);
            entry.m_strLastModi = info.lastModified().toString(QLatin1String(kTimeFormat));
        }
        m_entries.append(entry);
    }
    return true;
}

bool CImagePackage::Write(QIODevice &device) const
{
    QXmlStreamWriter xml(&device);
    xml.setAutoFormatting(true);
    xml.writeStartDocument();
    xml.writeStartElement(QLatin1String(kRoot));
    xml.writeEmptyElement(QLatin1String(kProgrammer));
    xml.writeAttribute(QStringLiteral("uid"), m_strUID);
    xml.writeAttribute(QStringLiteral("image-count"), QString::number(m_nImageCount));
    xml.writeStartElement(QLatin1String(kImage));
    int number = 0;
    for (const CPackageEntry &entry : m_entries) {
        xml.writeEmptyElement(entryElementName(++number));
        xml.writeAttribute(QStringLiteral("index"), QString::number(entry.m_nIndex));
        xml.writeAttribute(QStringLiteral("name"), entry.m_strName);
        xml.writeAttribute(QStringLiteral("lastModi"), entry.m_strLastModi);
        if (!entry.m_bHasFile) {
            xml.writeAttribute(QStringLiteral("size"), QString());
            continue;
        }
        xml.writeAttribute(QStringLiteral("size"), QString::number(entry.m_nSize));
        xml.writeAttribute(QStringLiteral("encrypt"), entry.m_bEncrypt ? QStringLiteral("true") : QStringLiteral("false"));
        xml.writeAttribute(QStringLiteral("data"), HexData(entry.m_baData));
    }
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeEndDocument();
    return !xml.hasError();
}

QByteArray CImagePackage::ToXml() const
{
    QByteArray out;
    QBuffer buffer(&out);
    buffer.open(QIODevice::WriteOnly);
    Write(buffer);
    return out;
}

bool CImagePackage::SaveFile(const QString &path, QString &err) const
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !Write(file) || !file.commit()) {
        err = tr("镜像包文件写入失败！");
        return false;
    }
    return true;
}

QString CImagePackage::PackageFileName(const QString &uid, const QDateTime &local)
{
    return uid + local.toString(QStringLiteral("-yyyy-MM-dd-hh-mm")) + QLatin1String(Suffix);
}

// ---------------------------------------------------------------- reading

bool CImagePackage::ParseXMLFile(const QString &path, QString &err)
{
    QFile file;
    QString why;
    if (!CSafeFile::OpenRead(file, path, QString(), why, MaxFileSize)) {
        err = tr("镜像包文件读取失败");
        return false;
    }
    Clear();
    m_strFileName = path;
    ParseXML(file);
    return true;
}

void CImagePackage::ParseXML(const QByteArray &xml)
{
    QBuffer buffer;
    buffer.setData(xml);
    buffer.open(QIODevice::ReadOnly);
    ParseXML(buffer);
}

void CImagePackage::ParseXML(QIODevice &device)
{
    const QString keepName = m_strFileName;
    Clear();
    m_strFileName = keepName;
    QXmlStreamReader xml(&device);
    bool inImages = false;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QXmlStreamAttributes attrs = xml.attributes();
        if (!inImages && xml.name() == QLatin1String(kProgrammer)) {
            m_strUID = attrs.value(QLatin1String("uid")).toString();
            m_nImageCount = attrs.value(QLatin1String("image-count")).toInt();
        } else if (!inImages && xml.name() == QLatin1String(kImage)) {
            inImages = true;
        } else if (inImages) {
            CPackageEntry entry;
            entry.m_nIndex = attrs.value(QLatin1String("index")).toUInt();
            entry.m_strName = attrs.value(QLatin1String("name")).toString();
            entry.m_strLastModi = attrs.value(QLatin1String("lastModi")).toString();
            entry.m_bHasFile = !attrs.value(QLatin1String("size")).isEmpty();
            entry.m_nSize = attrs.value(QLatin1String("size")).toUInt();
            entry.m_bEncrypt = attrs.value(QLatin1String("encrypt")) == QLatin1String("true");
            // An entry without a size stands for a file that was missing: no data.
            if (entry.m_bHasFile)
                entry.m_bDataOk = DecodeHex(attrs.value(QLatin1String("data")).toString(), entry.m_baData);
            else
                entry.m_bEncrypt = false;
            m_entries.append(entry);
        }
    }
    // A package cut short, or one whose text breaks off at a fault, may lack
    // images; what was read is kept and CheckRestorable judges it.
    m_bBrokeOff = xml.hasError();
}

bool CImagePackage::CheckRestorable(QString &err) const
{
    if (m_entries.isEmpty()) {
        err = tr("镜像包中没有镜像");
        return false;
    }
    if (m_bBrokeOff && m_entries.size() < m_nImageCount) {
        err = tr("镜像包不完整: 声明%1个镜像, 只读到%2个").arg(m_nImageCount).arg(m_entries.size());
        return false;
    }
    QSet<quint32> numbers;
    QSet<QString> names;
    for (const CPackageEntry &entry : m_entries) {
        QString why;
        // A programmer files what it is sent by name: anything but an image
        // name would land on its index, parameters or firmware.
        if (!CFileName::IsPlain(entry.m_strName) || !BurnHub::IsImageSuffix(QFileInfo(entry.m_strName).suffix())
            || entry.m_strName.compare(QLatin1String("update.bin"), Qt::CaseInsensitive) == 0) {
            err = tr("镜像包中的镜像名称非法: %1").arg(entry.m_strName);
            return false;
        }
        if (entry.m_nIndex > quint32(CImageBuilder::MaxImageIndex)) {
            err = tr("镜像包中的镜像号超出范围: %1").arg(entry.m_nIndex);
            return false;
        }
        if (numbers.contains(entry.m_nIndex) || names.contains(entry.m_strName)) {
            err = tr("镜像包中的镜像重复: %1").arg(entry.m_strName);
            return false;
        }
        numbers.insert(entry.m_nIndex);
        names.insert(entry.m_strName);
        if (!entry.m_bHasFile)
            continue;
        if (!entry.m_bDataOk) {
            err = tr("镜像包中的镜像数据有误: %1").arg(entry.m_strName);
            return false;
        }
        if (entry.m_baData.isEmpty() || quint32(entry.m_baData.size()) != entry.m_nSize) {
            err = tr("镜像包中的镜像大小不符: %1").arg(entry.m_strName);
            return false;
        }
        if (entry.m_bEncrypt != CImageFile::IsEncrypted(entry.m_baData)) {
            err = tr("镜像包中的镜像加密标志不符: %1").arg(entry.m_strName);
            return false;
        }
    }
    return true;
}

QByteArray CImagePackage::IndexFileData() const
{
    QMap<quint32, QString> sorted;
    for (const CPackageEntry &entry : m_entries)
        sorted.insert(entry.m_nIndex, entry.m_strName);
    QByteArray content;
    for (auto it = sorted.cbegin(); it != sorted.cend(); ++it)
        content += FuncTool::UTF82GBKStr(QStringLiteral("%1=%2\n").arg(QString::number(it.key()), it.value()));
    return content;
}

QList<CPackageEntry> CImagePackage::FileEntries() const
{
    QMap<quint32, CPackageEntry> sorted;
    for (const CPackageEntry &entry : m_entries) {
        if (entry.m_bHasFile)
            sorted.insert(entry.m_nIndex, entry);
    }
    return sorted.values();
}

bool CImagePackage::UpdateEnc(QByteArray &image, const QString &fromID, const QString &toID, quint32 time,
                              QString &err)
{
    if (!CImageFile::IsEncrypted(image)) {
        err = tr("镜像未加密");
        return false;
    }
    if (!toID.isEmpty())
        return CImageFile::ReKey(image, fromID, toID, time, err);
    CImageTrailer trailer;
    QByteArray work = image;
    if (!CImageFile::Open(work, fromID, trailer, err))
        return false;
    CImageFile::Restamp(work, time);
    // A plain image carries no encryption mark.
    work.replace(work.size() - 4, 4, QByteArray(4, '\0'));
    image = work;
    return true;
}

QString CImagePackage::HexData(const QByteArray &data)
{
    static const char digits[] = "0123456789abcdef";
    if (data.isEmpty())
        return QString();
    QByteArray text(data.size() * 3 - 1, ' ');
    char *out = text.data();
    for (int i = 0; i < data.size(); ++i) {
        const auto b = uchar(data[i]);
        out[3 * i] = digits[b >> 4];
        out[3 * i + 1] = digits[b & 0xF];
    }
    return QString::fromLatin1(text);
}

bool CImagePackage::DecodeHex(const QString &text, QByteArray &data)
{
    data.clear();
    data.reserve(text.size() / 3 + 1);
    int high = -1;
    for (const QChar c : text) {
        if (c == QLatin1Char(' '))
            continue;
        const int digit = hexDigit(c.unicode());
        if (digit < 0) {
            data.clear();
            return false;
        }
        if (high < 0) {
            high = digit;
        } else {
            data.append(char(high << 4 | digit));
            high = -1;
        }
    }
    if (high >= 0) {
        data.clear();
        return false;
    }
    return true;
}
