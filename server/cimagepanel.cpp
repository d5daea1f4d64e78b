#include "cimagepanel.h"

#include "burnhub.h"
#include "cremoteservice.h"
#include "hextool.h"
#include "imagecipher.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>

#include "packets.h"

const char *const CImagePanel::ParamFileName = "param.ini";

CImagePanel::CImagePanel(const QString &workDir) : m_builder(workDir) {}

QString CImagePanel::ImagePath(const QString &name) const
{
    return QDir(WorkDir()).filePath(name);
}

QString CImagePanel::ParamPath() const
{
    return QDir(WorkDir()).filePath(QLatin1String(ParamFileName));
}

CImagePanel::Kind CImagePanel::KindOf(const MyProger *proger)
{
    if (!proger)
        return KindNone;
    if (proger->m_bRemote)
        return KindRemote;
    if (proger->m_bHID || proger->m_bVCP)
        return KindUsb;
    return KindDisk;
}

QString CImagePanel::KeyID(const MyProger &proger)
{
    if (KindOf(&proger) == KindUsb) {
        const QString own = BurnHub::Instance()->GetUSBProgInfo(proger.m_strID).m_strID;
        if (!own.isEmpty())
            return own;
    }
    return proger.m_strID;
}

int CImagePanel::IndexOf(const QString &text)
{
    bool ok = false;
    const int index = text.trimmed().toInt(&ok, 10);
    return ok ? index : -1;
}

quint32 CImagePanel::NumberOf(const QString &text)
{
    // The fields only take digits; an empty field counts as 0.
    return text.trimmed().toUInt();
}

bool CImagePanel::ToEntries(const QList<BinInfo> &bins, QVector<CBinEntry> &entries, QString &err)
{
    entries.clear();
    for (const BinInfo &bin : bins) {
        CBinEntry entry;
        if (!BinTreeWidget::ParseAddr(bin.m_strAddr, entry.m_nAddr)) {
            err = tr("起始地址格式错误:%1").arg(bin.m_strAddr);
            return false;
        }
        entry.m_strPath = bin.m_strPath;
        entries << entry;
    }
    return true;
}

bool CImagePanel::RefreshCRC(const QList<BinInfo> &bins, QString &crcText, QString &why) const
{
    if (bins.isEmpty()) {
        why = QStringLiteral("binInfos is empty");
        return false;
    }
    QVector<CBinEntry> entries;
    CMergedProgram merged;
    QString err;
    if (!ToEntries(bins, entries, err) || !m_builder.MergeBinInfos(entries, merged, err)) {
        why = QStringLiteral("MergeBinInfos fail ") + err;
        return false;
    }
    crcText = CImageBuilder::CRCText(merged.m_nCRC);
    return true;
}

bool CImagePanel::CheckDownload(const CPanelValues &values, const MyProger *proger, QString &name, int &index,
                                CPanelMessage &msg)
{
    name = values.strName;
    QString err;
    if (!CImageBuilder::CheckImageName(name, err)) {
        msg = CPanelMessage::Warning(err);
        return false;
    }
    index = IndexOf(values.strIndex);
    if (!CImageBuilder::CheckIndexRange(index, err)) {
        msg = CPanelMessage::Warning(err);
        return false;
    }
    if (!proger) {
        msg = CPanelMessage::Warning(tr("下载器未选择!"));
        return false;
    }
    if (!CImageBuilder::CheckImageIndex(proger, index, values.bEncrypt, err)) {
        msg = CPanelMessage::Warning(tr("镜像号设置失败，原因为:%1").arg(err));
        return false;
    }
    return true;
}

bool CImagePanel::Build(const CPanelValues &values, const MyProger *proger, const QString &givenID,
                        const QString &imagePath, CImageResult &result, CPanelMessage &msg) const
{
    CImageParams params;
    params.m_nLimit = NumberOf(values.strLimit);
    params.m_nVersion = NumberOf(values.strVersion);
    params.m_nChip = quint32(qBound(0, values.nChip, CImageBuilder::ChipCount - 1));
    params.m_bEncrypt = values.bEncrypt;
    params.m_strGivenID = givenID;
    params.m_strProgerID = proger ? KeyID(*proger) : QString();

    QVector<CBinEntry> entries;
    QString err;
    if (ToEntries(values.bins, entries, err) && m_builder.SaveImageFile(entries, params, imagePath, result, err))
        return true;
    // Every reason stops the user with one box; the window logs the same text.
    msg = CPanelMessage::Failure(err);
    return false;
}

QString CImagePanel::AddrOfFile(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix();
    quint32 addr = 0;
    QString err;
    if (suffix.compare(QLatin1String("hex"), Qt::CaseInsensitive) != 0 || !HexTool::LowestAddress(path, addr, err))
        return QString();
    return CImageBuilder::CRCText(addr);
}

bool CImagePanel::DownImageToDisk(const MyProger &proger, int index, const QString &imagePath, const QString &name,
                                  QString &logLine)
{
    BurnHub *hub = BurnHub::Instance();
    hub->SetProgRoot(proger.m_strRoot);
    QString err;
    const bool ok = hub->DownImageFile(index, imagePath, name, err);
    logLine = tr("下载镜像：镜像号=%1，镜像名称=%2 %3")
                  .arg(index)
                  .arg(name, ok ? tr("成功") : tr("失败.\nreason: ") + err);
    return ok;
}

bool CImagePanel::PrepareUsbImage(const MyProger &proger, int index, const QString &name, CPanelMessage &msg)
{
    if (index > MaxUsbIndex) {
        msg = CPanelMessage::Warning(tr("USB-HID&VCP模式不支持该镜像号下发！（仅支持0~149镜像号）"));
        return false;
    }
    BurnHub *hub = BurnHub::Instance();
    hub->SetUSBProgUID(proger.m_strID);
    QString err;
    if (!hub->ModifyIndex(index, name, err)) {
        msg = CPanelMessage::Warning(tr("修改索引文件失败! ") + err);
        return false;
    }
    msg = CPanelMessage::Logged(tr("正在下发镜像数据, 请勿断开连接"));
    return true;
}

bool CImagePanel::AnnounceFile(const MyProger &proger, const QString &path, int index, QString &err)
{
    const QFileInfo file(path);
    if (!file.isFile()) {
        err = tr("打开文件失败:") + path;
        return false;
    }
    ns_prog720a::FileAttribPacket packet;
    CRemoteService::Route(proger, packet);
    qelmsg::FileAttrib attrib;
    attrib.name = file.fileName();
    attrib.imageIndex = index;
    attrib.size = file.size();
    attrib.date = file.lastModified().toString(QStringLiteral("yyyy/MM/dd hh:mm:ss.zzz"));
    packet.SetData(attrib);
    if (packet.Send())
        return true;
    err = tr("远程下载器连接不可用");
    return false;
}

QString CImagePanel::ExportID(const QString &text)
{
    const QString id = text.trimmed();
    if (!CImageCipher::IsValidID(id))
        return QString();
    return CImageCipher::PadID(id).toUpper();
}
