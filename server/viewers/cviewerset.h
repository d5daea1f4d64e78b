#pragma once
// The programmer viewers of the main window: opens each for a programmer
// (one of a kind at a time), brings the stations' answers and the USB
// console's reports to the one they belong to, and moves what they change on
// a HID or VCP programmer through the console.
#include "cprogerway.h"

#include <QObject>
#include <QPointer>

#include <functional>

class showconfigdlg;
class showimagedlg;
class showsignaldlg;
class sendfirmdlg;

class CViewerSet : public QObject
{
    Q_OBJECT
public:
    using LogFn = std::function<void(const QString &)>;

    CViewerSet(QWidget *window, CRemoteService *remote, CUsbProgManager *usb, LogFn log);
    ~CViewerSet() override;

    // Whether the window has a programmer ticked (the signal viewer's "下发" needs one).
    void SetSelectedCheck(std::function<bool()> selected) { m_selected = std::move(selected); }

    // Each is shown (not modal) and deletes itself when closed.
    showconfigdlg *OpenConfig(const MyProger &proger);
    showimagedlg *OpenImages(const MyProger &proger);
    showsignaldlg *OpenSignal(const MyProger &proger);
    sendfirmdlg *OpenFirm(const MyProger &proger, const QString &path);

    showconfigdlg *ConfigViewer() const;
    showimagedlg *ImageViewer() const;
    showsignaldlg *SignalViewer() const;
    sendfirmdlg *FirmDialog() const;

    // Answers of a remote programmer's station (key: its route).
    void ShowRemoteConfig(const MyProger &key, const QMap<QString, QString> &config);
    // False when no image viewer shows that programmer.
    bool ShowRemoteImages(const MyProger &key, const QList<ImageInfo> &images);
    void RefreshRemoteImages(const MyProger &key);
    void OnRemoteFileLoaded(const MyProger &key, const QString &name, bool ok);

private:
    CProgerWay WayOf(const MyProger &proger) const;
    template <class T> T *Show(QPointer<T> &slot, T *dlg);
    // The console's reports, once it exists.
    void ConnectConsole();

    QPointer<QWidget> m_pWindow;
    QPointer<CRemoteService> m_pRemote;
    QPointer<CUsbProgManager> m_pUsb;
    LogFn m_log;
    std::function<bool()> m_selected;
    QPointer<showconfigdlg> m_pConfig;
    QPointer<showimagedlg> m_pImages;
    QPointer<showsignaldlg> m_pSignal;
    QPointer<sendfirmdlg> m_pFirm;
    bool m_bConsoleConnected = false;
};
