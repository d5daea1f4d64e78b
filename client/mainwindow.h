#pragma once
// The client's main window: the menu actions, the remote and chip pages, and
// the programmers this PC finds (USB disks through BurnHub, HID devices through
// the HID link, virtual-COM ports through CUsbPortScan).
#include <QMainWindow>
#include <QStringList>
#include <QTranslator>

#include <memory>

class QAction;
class QActionGroup;
class QNetworkReply;
class remoteform;
class chipform;
class uDisk;
class CUsbPortScan;
class CClientHidLink;
class MyUpdater;

class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    remoteform *RemotePage() const { return m_pRemote; }
    chipform *ChipPage() const { return m_pChip; }
    QAction *Action(const QString &objectName) const;
    // The update front, made on first use.
    MyUpdater *Updater();
    QStringList HidProgers() const { return m_hidPaths; }
    QStringList PortProgers() const { return m_ports; }

public slots:
    void actionTriggered(QAction *pAction);
    void UDiskCome(QString uDiskName);
    void UDiskRemove(QString uDiskName);
    void HidRemove(QString devPath);
    void PortCome(QString com);
    void PortRemove(QString com);
    void ScanHIDProg();
    void ScanPorts();
    void finishedSlot(QNetworkReply *reply);

protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void BuildActions();
    void RetranslateTexts();
    void ApplyLanguage(int language);
    void ShowPage(QWidget *page, QAction *action);
    void RefreshProgers();
    QString StartTitle() const;
    // The log of the page in view.
    void Log(const QString &text);

    remoteform *m_pRemote = nullptr; // child of this window
    chipform *m_pChip = nullptr;     // child of this window
    QActionGroup *m_pPages = nullptr;
    std::unique_ptr<uDisk> m_pUDisk;
    std::unique_ptr<CUsbPortScan> m_pScan;
    std::unique_ptr<CClientHidLink> m_pHid;
    MyUpdater *m_pUpdate = nullptr; // child of this window, made on first use
    QStringList m_hidPaths;
    QStringList m_ports;
    QTranslator m_translator;
    QAction *m_pCurrentPage = nullptr;
};
