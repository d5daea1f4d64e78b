#pragma once
// The programmer a backup reads from or a restore writes to: a USB disk
// (files on the disk, at once) or a HID/VCP programmer of the USB console
// (files pulled into and pushed from its PC-side folder, as the console
// reports them). Remote programmers are not served.
#include "imagepackage.h"
#include "myproger.h"

#include <QCoreApplication>
#include <QMap>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QTimer>

class CUsbProgManager;

class CBackupTarget : public QObject
{
    Q_OBJECT
public:
    // Silence of a HID or VCP programmer after which a pull counts as failed.
    static constexpr int kPullTimeoutMs = 30000;

    CBackupTarget(const MyProger &proger, CUsbProgManager *usb, QObject *parent = nullptr);

    const MyProger &Proger() const { return m_proger; }
    bool IsUsb() const;
    bool IsRemote() const { return m_proger.m_bRemote; }
    // The programmer's own ID (a HID/VCP programmer is listed under its console name).
    QString ProgerID() const;

    // Reads the index and every image into a package; ends in sigPackageRead.
    void ReadPackage();
    const CImagePackage &Package() const { return m_package; }

    // Puts one file on the programmer: "image.dat" as its index, an image under
    // its number. Ends in sigFileDone(name, ok), never before this returns.
    void SendFile(const QString &path, const QString &name, int index);
    // A HID/VCP programmer's PC-side index, which the console sends after every image.
    bool SetUsbIndex(const QByteArray &content, QString &err);

signals:
    void sigPackageRead(bool ok, const QString &err);
    void sigFileDone(const QString &name, bool ok);

private:
    void OnFileResult(const QString &key, const QString &name, bool ok);
    void OnPullDone(const QString &key, const QString &path, const QString &localPath, quint32 size, bool ok);
    void PullImages();
    void EndRead(bool ok, const QString &err);

    MyProger m_proger;
    QPointer<CUsbProgManager> m_pUsb;
    CImagePackage m_package;
    // A pull of the programmer's files under way.
    bool m_bReading = false;
    QMap<int, ImageInfo> m_index;
    QSet<QString> m_pulls; // paths still to come
    QTimer m_timeout;
};
