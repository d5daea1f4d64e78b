#pragma once
// How the programmer viewers reach the programmer they were opened for: its
// USB disk, the PC-side folder of a HID or VCP programmer (whose files the
// USB console moves), or requests on a remote programmer's route, answered
// through the main window.
#include "myproger.h"

#include <progerinfo.h>

#include <QCoreApplication>
#include <QList>
#include <QMap>
#include <QPointer>
#include <QString>

class CRemoteService;
class CUsbProgManager;

class CProgerWay
{
    Q_DECLARE_TR_FUNCTIONS(CProgerWay)

public:
    enum Kind { KindNone, KindDisk, KindUsb, KindRemote };
    static const char kSignalPath[]; // the programmer's "config/signal.ini"

    CProgerWay() = default;
    CProgerWay(const MyProger &proger, CRemoteService *remote, CUsbProgManager *usb);

    Kind GetKind() const { return m_kind; }
    const MyProger &Proger() const { return m_proger; }
    // "<prefix><the programmer's description>".
    QString Title(const QString &prefix) const;
    // The same programmer: route for a remote one, link key for a USB one.
    bool IsFor(const MyProger &other) const;

    // ---- disk and USB: the file set of the programmer (or its PC-side folder)
    bool ReadConfig(QMap<QString, QString> &config, QString &err) const;
    bool ReadImages(QList<ImageInfo> &images, QString &err) const;
    bool DeleteImage(const QString &name, QString &err) const;
    bool DeleteAllImages(QString &err) const;
    bool ReadSignal(QMap<QString, QString> &signal, QString &err) const;

    // "signal.ini" written where it goes from: the working folder, or the
    // PC-side folder of a USB programmer. path: where it was written.
    bool WriteSignal(const ProgerSignal &sig, QString &path, QString &err) const;
    // Disk: copied onto the programmer. USB: the console sends it.
    bool SendSignal(const QString &path, QString &err) const;

    // The firmware as the programmer takes it: "update.bin" beside the other
    // outgoing files (disk: straight from src).
    bool StageFirm(const QString &src, QString &staged, QString &err) const;
    // Disk: copied; USB: the console sends it; remote: announced on the route.
    bool SendFirm(const QString &staged, QString &err) const;

    // ---- USB: pulls through the console; false when it cannot start one now
    bool PullSignal() const;
    QString UsbFolderFile(const QString &name) const;

    // ---- remote: requests on the route; false when no link takes them
    bool RequestConfig() const;
    bool RequestImages() const;
    bool ClearRemoteImage(const QString &name) const;

    // The signal settings of a remote configuration, under the "signal.ini" keys.
    static QMap<QString, QString> SignalPart(const QMap<QString, QString> &config);

private:
    void SelectFiles() const;
    QString OutgoingPath(const QString &name) const;

    MyProger m_proger;
    Kind m_kind = KindNone;
    QPointer<CRemoteService> m_pRemote;
    QPointer<CUsbProgManager> m_pUsb;
};
