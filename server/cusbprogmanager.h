#pragma once
// The main window's side of the USB console: finds HID programmers (the
// programmers' two vendor/product pairs) and VCP ports (CUsbPortScan), hands
// them to the console, passes received frames on, removes programmers that
// went, and enters identified programmers in the window's list.
#include "cusbportscan.h"

#include <QObject>
#include <QPointer>

#include <memory>

class CUsbConsole;
class CLinkHid;
class CUsbHidLink;
class ProgerInfo;
class MainWindow;
class usbcontroldlg;

class CUsbProgManager : public QObject
{
    Q_OBJECT
public:
    explicit CUsbProgManager(MainWindow *window);
    ~CUsbProgManager() override;

    // The console, created on first use (its timers run from then on).
    usbcontroldlg *Dialog();
    CUsbConsole *Console();
    bool HasConsole() const { return m_pDlg != nullptr; }
    void ShowConsole();

    // Looks for programmers already attached; the extra port list is watched from then on.
    void StartDiscovery();

    // The main window's hooks.
    void ScanHid();
    void HidRemove(const QString &devPath);
    void PortCome(const QString &port);
    void PortRemove(const QString &port);
    void OnFrame(const QByteArray &frame, const QString &key);
    // Removes fileName from the programmer of key (a HID or VCP programmer).
    bool DeleteFile(const QString &key, const QString &fileName);
    // See CUsbConsole::SendFileToProger.
    bool SendFileToProger(const QString &key, const QString &localPath, int imageNo = -1);

    CUsbPortScan &PortScan() { return m_scan; }
    // The one HID link of the program (control frames and JSON messages).
    CLinkHid *HidLink() const;

private:
    void OnIdentified(const QString &key, bool hid, const ProgerInfo &info);
    void OnLost(const QString &key);
    // The HID programmer of a removal: key equal or the device watch's upper-cased instance.
    QString HidKeyOf(const QString &devPath) const;

    QPointer<MainWindow> m_pWindow;
    std::unique_ptr<usbcontroldlg> m_pDlg;
    std::unique_ptr<CUsbHidLink> m_pHid;
    CUsbPortScan m_scan;
};
