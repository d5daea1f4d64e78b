#include "clocalproger.h"

#include <burnhub.h>
#include <cfilename.h>
#include <imagebuilder.h>

#include <QFileInfo>

bool CLocalProger::Select(QString &err) const
{
    if (!m_pProger) {
        err = tr("未检测到下载器!");
        return false;
    }
    if (m_pProger->kind != CStationProger::Disk) {
        err = tr("当前仅支持U盘模式下载器");
        return false;
    }
    BurnHub::Instance()->SetProgRoot(m_pProger->info.m_strRoot);
    return true;
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
    return BurnHub::Instance()->DeleteImage(name, err);
}

bool CLocalProger::ClearAllImages(QString &err) const
{
    return Select(err) && BurnHub::Instance()->DeleteAllImage(err);
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
    return Select(err) && BurnHub::Instance()->DownImageFile(index, path, name, err);
}

bool CLocalProger::DownConfig(const QString &path, QString &err) const
{
    return Select(err) && BurnHub::Instance()->DownConfigFile(path, err);
}

bool CLocalProger::DownFirm(const QString &path, QString &err) const
{
    return Select(err) && BurnHub::Instance()->DownFirmFile(path, err);
}
