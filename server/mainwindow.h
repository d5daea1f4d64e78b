#pragma once
// The server's main window: the programmers this PC reaches, the image panel,
// the configuration panel, the log and the menus. The rules live in plain
// classes (CProgerList, CKeySequence, CPasswordRule, CNameValidator, CLogFile,
// CImageSettings); the window maps widgets to them.
#include "cimagepanel.h"
#include "ckeysequence.h"
#include "cprogerlist.h"

#include <QMainWindow>
#include <QMap>
#include <QTranslator>
#include <memory>

class QAction;
class QLabel;
class QTreeWidgetItem;
class configform;
class CRemoteActions;
class CRemoteRecordSync;
class CUsbProgManager;
class passworddlg;
class backuploaddlg;
class uDisk;
class MyFreshCheck;
class remoteServer;
class CStoreTools;

namespace Ui {
class MainWindow;
}

class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    // Appends one line to the log view (GUI thread; other threads post event 2000).
    void Log(const QString &text);
    QString LogText() const;

    // Lists the USB-disk programmers again.
    void RefreshLocalProg();
    // The selected programmer (first ticked row), or null.
    MyProger *GetSelectedProger() const;
    const CProgerList &Programmers() const { return m_progers; }

    // A programmer reached through a client station; an existing row of the
    // same route is updated instead of added.
    MyProger *AddRemoteProger(const MyProger &proger);
    bool RemoveRemoteProger(const MyProger &key);
    // The configuration a station sent for its programmer; shown when that
    // programmer is the selected one.
    void ShowRemoteConfig(const MyProger &key, const QMap<QString, QString> &config);

    // Programmers of the USB console (HID or VCP), found again by their link
    // key in m_strRoot.
    MyProger *AddUsbProger(const MyProger &proger);
    bool RemoveUsbProger(const QString &key);
    // Ticks that programmer's row alone, so it is the selected one.
    bool SelectUsbProger(const QString &key);
    // The USB console's downloads to its ticked programmers: the panel's image
    // (or, with mergedPath, the image of that one program at base), and the
    // panel's configuration after one confirmation for all of them.
    void DownUsbImage(const QStringList &keys, const QString &mergedPath, quint32 base);
    void DownUsbConfig(const QStringList &keys);
    CUsbProgManager *UsbManager() const { return m_pUsb.get(); }
    CRemoteActions *RemoteActions() const { return m_pRemote; }

    bool IsInternalTestMode() const { return m_bTestMode; }
    bool IsDiskScanOff() const { return m_bDisScan; }
    configform *ConfigForm() const { return m_pConfigForm; }
    MyFreshCheck *FreshCheck() const { return m_pFresh; }
    // The cloud service client; it connects on first use.
    remoteServer *Cloud() const { return m_pCloud; }
    // The backup and restore dialog, created on first use and kept.
    backuploaddlg *BackupDialog();
    // Offline image store and record databases.
    CStoreTools *StoreTools() const { return m_pStoreTools; }

public slots:
    void actionTriggered(QAction *pAction);
    void on_btn_add_clicked();
    void on_btn_del_clicked();
    void on_btn_delall_clicked();
    void on_btn_load_clicked();
    void on_btn_downimage_clicked(bool yes);
    void on_btn_downconfig_clicked();
    void on_btn_imagemgr_clicked();
    void on_btn_upconfig_clicked();
    void comboindex_editedtext(QString s);
    void comboindex_activated(int index);
    void comboaes_activated(int index);
    void edit_out_rightButtonClicked(QPoint point);
    void tree_itemChanged(QTreeWidgetItem *item, int column);
    void tree_itemClicked(QTreeWidgetItem *item, int column);
    void tree_itemDoubleClicked(QTreeWidgetItem *item, int column);
    void tree_mouseEvent(QPoint point);
    void UDiskCome(QString uDiskName);
    void UDiskRemove(QString uDiskName);
    void HidRemove(QString devPath);
    void ScanHIDProg();
    void DeleteUSBProgFile(QString fileName);
    void PortCome(QString com);
    void PortRemove(QString com);
    void RefreshImageCRC();

protected:
    void customEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void InitImagePanel();
    void InitActions();
    void RetranslateTexts();
    void ApplyLanguage(int language);
    void LoadImageSettings();
    void SaveImageSettings();
    int CurrentImageIndex() const;

    QTreeWidgetItem *AddRow(MyProger *proger);
    MyProger *UpdateOrAddRow(MyProger *known, const MyProger &proger);
    void FillRow(QTreeWidgetItem *item, const MyProger &proger);
    QTreeWidgetItem *ItemOf(const MyProger *proger) const;
    MyProger *ProgerOf(const QTreeWidgetItem *item) const;
    void RemoveRow(MyProger *proger);

    // The selected programmer, or null after "下载器未选择!".
    MyProger *RequireSelected();
    void ShowSelectedConfig();
    // "下载器配置" with the name of the programmer it shows.
    void ShowConfigTitle();
    void ResizeProgColumns();
    void ResetConfigForm();
    void CheckFirmware(const MyProger &proger);
    void CopySerial(const MyProger &proger);
    void EjectProger(const MyProger &proger);
    void SetProgerPassword();
    void SaveLog();
    void ChangeLanguage();
    void CheckServerUpdate();
    void CheckFirmUpdate();
    void ToggleTestMode();

    // Image panel: its fields, the build shared by download and export, the export.
    CPanelValues PanelValues() const;
    bool BuildImage(const CPanelValues &values, const MyProger *proger, const QString &givenID,
                    const QString &path, CPanelMessage &msg);
    void ShowPanelMessage(const CPanelMessage &msg);
    void ExportImage();
    // A file for a HID or VCP programmer goes through the USB console; an
    // image with the number it is stored under.
    void SendUsbFile(const MyProger &proger, const QString &path, const QString &imageCrc, int imageNo = -1);
    MyProger *FindUsbProger(const QString &key) const;
    // False when nothing was sent: a check, the question or the build stopped it.
    bool DownImage(const CPanelValues &values, const MyProger *selected, bool ask);
    // The panel's configuration as the file to download; false (and said) when it cannot be saved.
    bool SaveParamFile(QString &path);

    // Functions whose part of the program is not in this build yet: one log line.
    void NotAvailable(const QString &what);

    // Message boxes of the window: warnings titled "提示", errors "错误".
    void Warn(const QString &text);
    void Error(const QString &text);

    std::unique_ptr<Ui::MainWindow> ui;
    configform *m_pConfigForm = nullptr;  // child of the configuration panel
    MyFreshCheck *m_pFresh = nullptr;     // child of this window
    remoteServer *m_pCloud = nullptr;     // child of this window
    QLabel *m_pServiceState = nullptr;    // child of the status bar
    CRemoteActions *m_pRemote = nullptr;  // child of this window: the remote services
    CRemoteRecordSync *m_pRecordSync = nullptr; // child of this window
    CStoreTools *m_pStoreTools = nullptr; // child of this window
    std::unique_ptr<uDisk> m_pUDisk;      // never shown
    std::unique_ptr<passworddlg> m_pPwdDlg; // created on first use
    std::unique_ptr<backuploaddlg> m_pBackupDlg; // created on first use
    std::unique_ptr<CUsbProgManager> m_pUsb; // HID and VCP programmers, the USB console
    CProgerList m_progers;
    CKeySequence m_testKeys;
    CFirmCheckMemo m_firmChecked;
    QString m_strConfigName; // the programmer the configuration panel shows
    QTranslator m_translator;
    QString m_strClientUID;
    QString m_strBrokerHost;
    int m_nNsqPort = 0;
    int m_nMqttPort = 0;
    bool m_bDisScan = false;
    bool m_bTestMode = false;
    bool m_bFillingRow = false;
};
