#pragma once
// The remote page: the station's programmers and the current one's identity,
// a local image loaded into it, and the connections through which a server
// station drives it. The rules live in CStationProgers, CLocalProger and
// CClientHost; the page maps widgets to them.
#include "cclienthost.h"
#include "cstationprogers.h"

#include <QWidget>

#include <memory>

class QComboBox;
class QLineEdit;
class QProgressDialog;
class QPushButton;
class QTabWidget;
class CPageLog;
class CLinkTcpC;
class CLinkMQTT;
class CLinkNsq;
class remoteServer;
class CStationUsb;
namespace qelmsg {
struct GetOfflineImgResp;
}

class remoteform : public QWidget
{
    Q_OBJECT
public:
    // Time a queued NSQ goodbye gets to leave before the loops stop.
    static constexpr int kGoodbyeMs = 100;

    explicit remoteform(QWidget *parent = nullptr);
    ~remoteform() override;

    // The HID and COM programmers the main window found; the list is rebuilt.
    void SetUsbProgers(const QStringList &hidPaths, const QStringList &ports);
    const CStationProgers &Progers() const { return m_progers; }

    void Log(const QString &text);
    QString LogText() const;
    void ClearLog();
    // The firmware dialog for the current programmer, file preset (or empty);
    // without a programmer "未检测到下载器!".
    void SendFirmware(const QString &file);
    // Stops every remote connection (the window is closing).
    void Disconnect();

    // The offline fetch with code, as the main window's action starts it:
    // logs in first when needed.
    void FetchOffline(const QString &code);
    remoteServer *Cloud() const { return m_pCloud.get(); }
    CStationUsb *Usb() const { return m_pUsb.get(); }

    // The broker of the MQTT connection ([REMOTE] BROKER and MQTTPORT of the INI).
    QString BrokerHost() const { return m_strBrokerHost; }

public slots:
    void on_btn_refresh_clicked();
    void on_btn_login_clicked();
    void on_btn_logout_clicked();
    void on_btn_loadimage_clicked();
    void on_btn_sendimage_clicked();
    void on_btn_showimage_clicked();
    void on_btn_showconfig_clicked();
    void combo_prog_activated(int index);
    void edit_out_rightButtonClicked(QPoint point);
    void on_btn_nsqconnect_clicked();
    void on_btn_nsqdisconnect_clicked();
    void on_btn_mqttconnect_clicked();
    void on_btn_mqttdisconnect_clicked();
    void on_btn_offlineimglogin_clicked();
    void on_btn_offlineimgclose_clicked();
    void on_btn_offlineimgget_clicked();

protected:
    void customEvent(QEvent *event) override;

private:
    void BuildUi();
    QWidget *BuildTcpTab();
    QWidget *BuildMqttTab();
    QWidget *BuildNsqTab();
    QWidget *BuildOfflineTab();
    void FillIdentity();
    void ShowBusy(bool on);
    void FollowState(CRemoteKey::Kind kind, bool on);
    QString CurrentUID() const;
    // Queues "prog-disconnect" to the server of the NSQ connection; false when there is none.
    bool SayNsqGoodbye();
    void Warn(const QString &text);
    void OfflineLoggedIn(bool ok, const QString &reason);
    void OfflineImageAnswer(const qelmsg::GetOfflineImgResp &answer);
    void OfflinePulled(const QString &name, const QString &path);
    void ShowOfflineLogin(bool loggedIn);
    void UsbFileResult(const QString &key, const QString &name, bool ok);

    CStationProgers m_progers;
    QStringList m_hidPaths;
    QStringList m_ports;
    std::unique_ptr<CClientHost> m_pHost;
    std::unique_ptr<CLinkTcpC> m_pTcp;
    std::unique_ptr<CLinkMQTT> m_pMqtt;
    std::unique_ptr<CLinkNsq> m_pNsq;
    std::unique_ptr<remoteServer> m_pCloud;
    std::unique_ptr<CStationUsb> m_pUsb;
    // A local image on its way to a HID or VCP programmer: key, number, name.
    QString m_strUsbImageKey;
    int m_nUsbImageIndex = -1;
    QString m_strUsbImageName;
    // Offline fetch: the code's owner and image, and the last image fetched.
    QString m_strOfflineUser;
    QString m_strOfflineFile;
    QString m_strOfflineImage;
    bool m_bGetAfterLogin = false;
    QString m_strTopic; // what this station listens on: UID + "_S2C"
    QString m_strBrokerHost;
    int m_nMqttPort = 0;
    QString m_strNsqHost;
    int m_nNsqPort = 0;
    // [REMOTE] TCPSERVER is set and the station has not connected yet.
    bool m_bTcpPending = false;

    // Widgets, children of the page.
    QComboBox *combo_prog = nullptr;
    QLineEdit *edit_progid = nullptr;
    QLineEdit *edit_progmodel = nullptr;
    QLineEdit *edit_progver = nullptr;
    QLineEdit *edit_hwver = nullptr;
    QLineEdit *edit_image = nullptr;
    QTabWidget *tabWidget = nullptr;
    QLineEdit *edit_mqttinfo = nullptr;
    QPushButton *btn_mqttconnect = nullptr;
    QPushButton *btn_mqttdisconnect = nullptr;
    QLineEdit *edit_ip = nullptr;
    QLineEdit *edit_port = nullptr;
    QPushButton *btn_login = nullptr;
    QPushButton *btn_logout = nullptr;
    QLineEdit *edit_offline = nullptr;
    QPushButton *btn_offlineimglogin = nullptr;
    QPushButton *btn_offlineimgget = nullptr;
    QPushButton *btn_offlineimgclose = nullptr;
    QLineEdit *edit_nsqinfo = nullptr;
    QPushButton *btn_nsqconnect = nullptr;
    QPushButton *btn_nsqdisconnect = nullptr;
    CPageLog *edit_out = nullptr;
    QProgressDialog *m_pBusy = nullptr;
};
