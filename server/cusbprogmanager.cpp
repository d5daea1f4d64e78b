#include "cusbprogmanager.h"

#include "cusbconsole.h"
#include "cusblinks.h"
#include "mainwindow.h"
#include "myproger.h"
#include "usbcontroldlg.h"

#include <QDebug>

CUsbProgManager::CUsbProgManager(MainWindow *window) : m_pWindow(window)
{
    m_pHid = std::make_unique<CUsbHidLink>([this](const QString &key) {
        // Not inside the link's read: the removal closes the device.
        QMetaObject::invokeMethod(this, [this, key]() { OnLost(key); }, Qt::QueuedConnection);
    });
    connect(&m_scan, &CUsbPortScan::sigPortCome, this, &CUsbProgManager::PortCome);
    connect(&m_scan, &CUsbPortScan::sigPortRemove, this, &CUsbProgManager::PortRemove);
}

CUsbProgManager::~CUsbProgManager()
{
    m_scan.Stop();
    // The console's records close their ports before the HID link goes.
    m_pDlg.reset();
}

CLinkHid *CUsbProgManager::HidLink() const
{
    return m_pHid.get();
}

usbcontroldlg *CUsbProgManager::Dialog()
{
    if (m_pDlg)
        return m_pDlg.get();
    // A window of the main window: it closes with it, and goes first (see the destructor).
    m_pDlg = std::make_unique<usbcontroldlg>(m_pWindow.data());
    CUsbConsole *console = m_pDlg->Console();
    connect(console, &CUsbConsole::sigProgerIdentified, this, &CUsbProgManager::OnIdentified);
    connect(console, &CUsbConsole::sigProgerLost, this, &CUsbProgManager::OnLost);
    connect(console, &CUsbConsole::sigProgerRemoved, this, [this](const QString &key) {
        if (m_pWindow)
            m_pWindow->RemoveUsbProger(key);
    });
    connect(console, &CUsbConsole::sigDownImage, this, [this](const QStringList &keys, const QString &merged, quint32 base) {
        if (m_pWindow)
            m_pWindow->DownUsbImage(keys, merged, base);
    });
    connect(console, &CUsbConsole::sigDownConfig, this, [this](const QStringList &keys) {
        if (m_pWindow)
            m_pWindow->DownUsbConfig(keys);
    });
    connect(console, &CUsbConsole::sigMainLog, this, [this](const QString &text) {
        if (m_pWindow)
            m_pWindow->Log(text);
    });
    return m_pDlg.get();
}

CUsbConsole *CUsbProgManager::Console()
{
    return Dialog()->Console();
}

void CUsbProgManager::ShowConsole()
{
    usbcontroldlg *dlg = Dialog();
    dlg->show();
    dlg->raise();
    dlg->activateWindow();
}

void CUsbProgManager::StartDiscovery()
{
    ScanHid();
    m_scan.Start();
}

void CUsbProgManager::ScanHid()
{
    const QList<CHidInfo> fresh = m_pHid->OpenNewDevices();
    if (fresh.isEmpty())
        return;
    if (!Console()->AddHidProgs(fresh)) {
        // Refused: nothing of them stays open.
        for (const CHidInfo &info : fresh)
            m_pHid->CloseOneHid(info.m_strPath);
        return;
    }
    if (m_pWindow) {
        for (const CHidInfo &info : fresh)
            m_pWindow->Log(tr("USB-HID下载器建立连接, 正在初始化...") + QLatin1Char(' ') + info.m_strPath);
    }
}

QString CUsbProgManager::HidKeyOf(const QString &devPath) const
{
    if (!m_pDlg)
        return QString();
    for (const QString &key : m_pDlg->Console()->Keys()) {
        const CUsbConsole::USBProg *prog = m_pDlg->Console()->Find(key);
        if (prog->m_nType != CUsbDev::KindHid)
            continue;
        if (key == devPath || key.compare(devPath, Qt::CaseInsensitive) == 0)
            return key;
    }
    return QString();
}

void CUsbProgManager::HidRemove(const QString &devPath)
{
    const QString key = HidKeyOf(devPath);
    if (key.isEmpty())
        return;
    m_pHid->CloseOneHid(key);
    if (m_pWindow)
        m_pWindow->Log(tr("检测到HID下载器已断开连接: ") + key);
    m_pDlg->Console()->RemoveProg(key);
}

void CUsbProgManager::PortCome(const QString &port)
{
    if (!CUsbPortScan::IsProgrammerPort(port)) {
        qDebug() << "CUsbProgManager::PortCome not a programmer port" << port;
        return;
    }
    // Only a port the console took is initialised.
    if (Console()->Find(port) || !Console()->AddVcpProg(port))
        return;
    if (m_pWindow)
        m_pWindow->Log(tr("USB-VCP下载器建立连接， 正在初始化...") + QLatin1Char(' ') + port);
}

void CUsbProgManager::PortRemove(const QString &port)
{
    if (!m_pDlg || !m_pDlg->Console()->Find(port))
        return;
    if (m_pWindow)
        m_pWindow->Log(tr("检测到VCP下载器已断开连接: ") + port);
    m_pDlg->Console()->RemoveProg(port);
}

void CUsbProgManager::OnLost(const QString &key)
{
    if (!m_pDlg)
        return;
    const CUsbConsole::USBProg *prog = m_pDlg->Console()->Find(key);
    if (!prog)
        return;
    if (prog->m_nType == CUsbDev::KindHid)
        HidRemove(key);
    else
        PortRemove(key);
}

void CUsbProgManager::OnFrame(const QByteArray &frame, const QString &key)
{
    if (m_pDlg)
        m_pDlg->Console()->RecvFrame(frame, key);
}

bool CUsbProgManager::DeleteFile(const QString &key, const QString &fileName)
{
    return m_pDlg && m_pDlg->Console()->DeleteProgFile(key, fileName);
}

bool CUsbProgManager::SendFileToProger(const QString &key, const QString &localPath, int imageNo)
{
    return Console()->SendFileToProger(key, localPath, imageNo);
}

void CUsbProgManager::OnIdentified(const QString &key, bool hid, const ProgerInfo &info)
{
    if (!m_pWindow)
        return;
    const CUsbConsole::USBProg *prog = m_pDlg->Console()->Find(key);
    if (!prog)
        return;
    MyProger proger(info);
    if (hid)
        proger.MarkHIDProger(prog->FolderId());
    else
        proger.MarkVCPProger(prog->FolderId(), key);
    // The link key finds the row again when the programmer goes.
    proger.m_strRoot = key;
    m_pWindow->AddUsbProger(proger);
}
