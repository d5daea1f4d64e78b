#pragma once
// What this station does with its current programmer, for the user and for a
// server station alike: read its images and configuration, clear images,
// load an image. Works on a USB-disk programmer through BurnHub; HID and VCP
// programmers are listed but not yet written from this station.
#include "cstationprogers.h"

#include <QCoreApplication>
#include <QList>
#include <QMap>
#include <QString>

struct ImageInfo;

class CLocalProger
{
    Q_DECLARE_TR_FUNCTIONS(CLocalProger)
public:
    // Null proger: no programmer (err "未检测到下载器!").
    explicit CLocalProger(const CStationProger *proger) : m_pProger(proger) {}

    bool ReadImages(QList<ImageInfo> &images, QString &err) const;
    bool ReadConfig(QMap<QString, QString> &config, QString &err) const;
    // Only a plain name that the programmer's index lists is deleted; a peer's
    // name never reaches the file system otherwise. "all" clears every image.
    bool ClearImage(const QString &name, QString &err) const;
    bool ClearAllImages(QString &err) const;
    // Writes the image file at path into slot index under name (".img" is
    // appended when missing), after the image-name rules of CImageBuilder.
    bool DownImage(int index, const QString &path, QString &name, QString &err) const;

    // A parameter file (param.ini) and a firmware file (update.bin) from path.
    bool DownConfig(const QString &path, QString &err) const;
    bool DownFirm(const QString &path, QString &err) const;

private:
    // Makes the programmer BurnHub's programmer in use.
    bool Select(QString &err) const;

    const CStationProger *m_pProger;
};
