#pragma once
// The window's side of the remote services: the actions that start and stop
// them, their settings dialogs, the status label, and the stations they bring
// in and drop.
#include <QObject>
#include <QPointer>

#include <memory>

class QAction;
class QLabel;
class QWidget;
class CRemoteService;
class serverdlg;
class servertopicdlg;

class CRemoteActions : public QObject
{
    Q_OBJECT
public:
    CRemoteActions(QWidget *window, QAction *tcp, QAction *mqtt, QAction *nsq, QLabel *state);
    ~CRemoteActions() override;

    CRemoteService *Service() const { return m_pService.get(); }
    serverdlg *TcpDialog() const { return m_pTcpDlg.get(); }
    servertopicdlg *MqttDialog() const { return m_pMqttDlg.get(); }
    servertopicdlg *NsqDialog() const { return m_pNsqDlg.get(); }

    // True when the action is one of the three services (and was handled).
    bool Handle(QAction *action);
    // Texts of the actions and the label for the current state and language.
    void ShowState();

private:
    void ToggleTcp();
    // The MQTT service, or with nsq the NSQ service.
    void ToggleBroker(bool nsq);

    QPointer<QWidget> m_pWindow;
    QPointer<QAction> m_pTcp;
    QPointer<QAction> m_pMqtt;
    QPointer<QAction> m_pNsq;
    QPointer<QLabel> m_pState;
    std::unique_ptr<CRemoteService> m_pService;
    std::unique_ptr<serverdlg> m_pTcpDlg;
    std::unique_ptr<servertopicdlg> m_pMqttDlg;
    std::unique_ptr<servertopicdlg> m_pNsqDlg;
};
