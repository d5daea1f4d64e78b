#include "clocalproger.h"

#include "cstationusb.h"

#include <burnhub.h>
#include <cfilename.h>
#include <imagebuilder.h>

#include <usbcmd.h>

#include <QFileInfo>

CLocalProger::CLocalProger(const CStationProger *proger, CStationUsb *usb)
    : m_pProger(proger), m_pUsb(usb ? usb : CStationUsb::Station())
{
}

bool CLocalProger::Select(QString &err) const
{
    if (!m_pProger) {
        err = tr("未检测到下载器!");
        return false;
    }
    BurnHub *hub = BurnHub::Instance();
    if (m_pProger->kind == CStationProger::Disk) {
        hub->CloseHIDMode();
        hub->SetProgRoot(m_pProger->info.m_strRoot);
        return true;
    }
    ProgerInfo info;
    if (!m_pUsb || !m_pUsb->Identity(m_pProger->key, info)) {
        err = tr("下载器尚未完成初始化, 请稍后");
        return false;
    }
    hub->SetUSBProgUID(m_pUsb->FolderId(m_pProger->key));
    return true;
}

bool CLocalProger::IsUsb() const
{
    return m_pProger && m_pProger->kind != CStationProger::Disk;
}

bool CLocalProger::SendToUsb(const QString &localPath, int imageNo, QString &err) const
{
    return m_pUsb && m_pUsb->SendFile(m_pProger->key, localPath, imageNo, err);
}

bool CLocalProger::ReadImages(QList<ImageInfo> &images, QString &err) const
{
    images.clear();
    QMap<int, ImageInfo> map;
    if (!Select(err) || !BurnHub::Instance()->ReadImageIndex(map, err))
        return false;
    images = map.values();
    return true;
}

bool CLocalProger::ReadConfig(QMap<QString, QString> &config, QString &err) const
{
    config.clear();
    return Select(err) && BurnHub::Instance()->ReadConfig(config, err);
}

bool CLocalProger::ClearImage(const QString &name, QString &err) const
{
    if (name == QLatin1String("all"))
        return ClearAllImages(err);
    QList<ImageInfo> images;
    if (!ReadImages(images, err))
        return false;
    bool listed = false;
    for (const ImageInfo &image : qAsConst(images))
        listed = listed || image.m_strName == name;
    if (!CFileName::IsPlain(name) || !listed) {
        err = tr("镜像名称不在下载器镜像列表中: %1").arg(name);
        return false;
    }
    if (!BurnHub::Instance()->DeleteImage(name, err))
        return false;
    return !IsUsb() || DeleteFromUsb({name}, err);
}

bool CLocalProger::ClearAllImages(QString &err) const
{
    QList<ImageInfo> images;
    if (IsUsb() && !ReadImages(images, err))
        return false;
    if (!Select(err) || !BurnHub::Instance()->DeleteAllImage(err))
        return false;
    if (!IsUsb())
        return true;
    QStringList names;
    for (const ImageInfo &image : qAsConst(images))
        if (CFileName::IsPlain(image.m_strName))
            names << image.m_strName;
    return DeleteFromUsb(names, err);
}

bool CLocalProger::DeleteFromUsb(const QStringList &names, QString &err) const
{
    const QString index = BurnHub::Instance()->GetUSBProgFilePath(m_pUsb->FolderId(m_pProger->key), QStringLiteral("image.dat"));
    return m_pUsb->DeleteFiles(m_pProger->key, names, index, err);
}

bool CLocalProger::DownImage(int index, const QString &path, QString &name, QString &err) const
{
    if (!CImageBuilder::CheckImageName(name, err) || !CImageBuilder::CheckIndexRange(index, err))
        return false;
    if (!CFileName::IsPlain(name)) {
        err = tr("镜像名称不合法: %1").arg(name);
        return false;
    }
    if (!QFileInfo(path).isFile()) {
        err = tr("已选本地镜像不存在!");
        return false;
    }
    if (IsUsb() && index > UsbCmd::kMaxImageNo) {
        err = tr("USB-HID&VCP模式不支持该镜像号下发！（仅支持0~149镜像号）");
        return false;
    }
    if (!Select(err) || !BurnHub::Instance()->DownImageFile(index, path, name, err))
        return false;
    return !IsUsb() || SendToUsb(BurnHub::Instance()->GetProcDir() + name, index, err);
}

bool CLocalProger::DownConfig(const QString &path, QString &err) const
{
    if (!Select(err) || !BurnHub::Instance()->DownConfigFile(path, err))
        return false;
    return !IsUsb() || SendToUsb(BurnHub::Instance()->GetUSBProgFilePath(m_pUsb->FolderId(m_pProger->key), QStringLiteral("param.ini")), -1, err);
}

bool CLocalProger::DownFirm(const QString &path, QString &err) const
{
    if (!Select(err) || !BurnHub::Instance()->DownFirmFile(path, err))
        return false;
    return !IsUsb() || SendToUsb(BurnHub::Instance()->GetUSBProgFilePath(m_pUsb->FolderId(m_pProger->key), QStringLiteral("update.bin")), -1, err);
}
