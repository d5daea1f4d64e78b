#pragma once
// What this station does with its current programmer, for the user and for a
// server station alike: read its images and configuration, clear images,
// load an image. A USB-disk programmer is written through BurnHub; a HID or
// VCP programmer has its files kept in its folder on this PC (BurnHub's USB
// mode) and sent to it with the control frames, whose verdict comes later
// (CStationUsb::sigFileResult).
#include "cstationprogers.h"

#include <QCoreApplication>
#include <QList>
#include <QMap>
#include <QString>

struct ImageInfo;
class CStationUsb;

class CLocalProger
{
    Q_DECLARE_TR_FUNCTIONS(CLocalProger)
public:
    // Null proger: no programmer (err "未检测到下载器!").
    // usb: the station's HID and VCP programmers (null: the station's own object).
    explicit CLocalProger(const CStationProger *proger, CStationUsb *usb = nullptr);

    // The programmer is reached by the control frames: downloads are only started.
    bool IsUsb() const;

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
    // A HID or VCP programmer gets the file BurnHub just put in its folder.
    bool SendToUsb(const QString &localPath, int imageNo, QString &err) const;
    // The programmer's copy on this PC is already without them: the programmer follows.
    bool DeleteFromUsb(const QStringList &names, QString &err) const;

    const CStationProger *m_pProger;
    CStationUsb *m_pUsb;
};
