#include "remoteform.h"

#include "clientdefs.h"
#include "clientevents.h"
#include "clocalproger.h"
#include "cofflinefetch.h"
#include "cstationusb.h"
#include "cpagelog.h"
#include "selindexdlg.h"
#include "sendfirmdlg.h"
#include "showconfigdlg.h"
#include "showimagedlg.h"
#include "remoteserver.h"

#include <burnhub.h>
#include <clinkmqtt.h>
#include <clinknsq.h>
#include <clinktcpc.h>
#include <cmessagebox.h>
#include <cpubactions.h>
#include <linktopics.h>
#include <packets.h>

#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressDialog>
#include <QPushButton>
#include <QTabWidget>
#include <QEventLoop>
#include <QTimer>
#include <QVBoxLayout>

namespace {
QPushButton *button(QWidget *parent, const char *name, const QString &text)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    return b;
}

QLineEdit *field(QWidget *parent, const char *name, bool readOnly = false)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(QLatin1String(name));
    e->setReadOnly(readOnly);
    return e;
}
} // namespace

remoteform::remoteform(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("remoteform"));
    CPubActions ini(true);
    const QString file = ClientDefs::IniFile();
    m_strBrokerHost = ini.GetString(QStringLiteral("REMOTE"), QStringLiteral("BROKER"), QStringLiteral("127.0.0.1"), file);
    m_nMqttPort = ini.GetInt(QStringLiteral("REMOTE"), QStringLiteral("MQTTPORT"), CLinkMQTT::kBrokerPort, file);
    m_strNsqHost = ini.GetString(QStringLiteral("REMOTE"), QStringLiteral("NSQHOST"), QStringLiteral("127.0.0.1"), file);
    m_nNsqPort = ini.GetInt(QStringLiteral("REMOTE"), QStringLiteral("NSQPORT"), 4161, file);

    BuildUi();
    // An unattended station connects by itself once it has a programmer: "address:port".
    const QString server = ini.GetString(QStringLiteral("REMOTE"), QStringLiteral("TCPSERVER"), QString(), file).trimmed();
    const int colon = server.lastIndexOf(QLatin1Char(':'));
    if (colon > 0) {
        edit_ip->setText(server.left(colon));
        edit_port->setText(server.mid(colon + 1));
        tabWidget->setCurrentIndex(1);
        m_bTcpPending = true;
    }
    ClientEvents::SetReceiver(this);

    m_pHost = std::make_unique<CClientHost>(&m_progers);
    m_pHost->m_onBusy = [this](bool on) { ShowBusy(on); };
    m_pHost->m_onState = [this](CRemoteKey::Kind kind, bool on) { FollowState(kind, on); };
    m_pTcp = std::make_unique<CLinkTcpC>(CLinkTcpC::Station);
    m_pMqtt = std::make_unique<CLinkMQTT>();
    m_pHost->m_links.pTcpStation = m_pTcp.get();
    m_pHost->m_links.pMqtt = m_pMqtt.get();
    m_pUsb = std::make_unique<CStationUsb>();
    connect(m_pUsb.get(), &CStationUsb::sigLog, this, &remoteform::Log);
    connect(m_pUsb.get(), &CStationUsb::sigIdentified, this, &remoteform::on_btn_refresh_clicked);
    connect(m_pUsb.get(), &CStationUsb::sigFileResult, this, &remoteform::UsbFileResult);
    m_pCloud = std::make_unique<remoteServer>();
    m_pHost->SetCloud(m_pCloud.get());
    connect(m_pCloud.get(), &remoteServer::sigLogin, this, &remoteform::OfflineLoggedIn);
    connect(m_pCloud.get(), &remoteServer::sigOfflineImage, this, &remoteform::OfflineImageAnswer);
    connect(m_pCloud.get(), &remoteServer::sigPullDone, this, &remoteform::OfflinePulled);
    connect(m_pCloud.get(), &remoteServer::sigPullFailed, this,
            [this](const QString &name, const QString &reason) { Log(tr("文件传输失败") + QLatin1Char(' ') + name + QLatin1Char(' ') + reason); });
    connect(m_pCloud.get(), &remoteServer::sigConnState, this, [this](bool connected) {
        if (!connected)
            ShowOfflineLogin(false);
    });
    FollowState(CRemoteKey::Tcp, false);
    FollowState(CRemoteKey::Mqtt, false);
    FollowState(CRemoteKey::Nsq, false);
}

remoteform::~remoteform()
{
    Disconnect();
    if (ClientEvents::Receiver() == this)
        ClientEvents::SetReceiver(nullptr);
    m_pHost->SetCloud(nullptr);
    m_pHost->m_links = CLinkSet();
    m_pCloud.reset();
    m_pUsb.reset();
    m_pTcp.reset();
    m_pMqtt.reset();
    if (m_pNsq)
        m_pNsq->Exitance();
    m_pNsq.reset();
}

// ---------------------------------------------------------------- widgets

void remoteform::BuildUi()
{
    auto *layout = new QVBoxLayout(this);

    auto *progBox = new QGroupBox(tr("下载器信息"), this);
    auto *progForm = new QFormLayout(progBox);
    auto *progRow = new QHBoxLayout;
    combo_prog = new QComboBox(progBox);
    combo_prog->setObjectName(QStringLiteral("combo_prog"));
    combo_prog->setMinimumWidth(260);
    progRow->addWidget(combo_prog, 1);
    progRow->addWidget(button(progBox, "btn_refresh", tr("刷新")));
    progForm->addRow(tr("下载器:"), progRow);
    edit_progid = field(progBox, "edit_progid", true);
    edit_progmodel = field(progBox, "edit_progmodel", true);
    edit_progver = field(progBox, "edit_progver", true);
    edit_hwver = field(progBox, "edit_hwver", true);
    progForm->addRow(tr("下载器ID:"), edit_progid);
    progForm->addRow(tr("下载器型号:"), edit_progmodel);
    progForm->addRow(tr("固件版本:"), edit_progver);
    progForm->addRow(tr("硬件版本:"), edit_hwver);
    layout->addWidget(progBox);

    auto *imageBox = new QGroupBox(tr("本地镜像"), this);
    auto *imageLayout = new QHBoxLayout(imageBox);
    edit_image = field(imageBox, "edit_image");
    imageLayout->addWidget(edit_image, 1);
    imageLayout->addWidget(button(imageBox, "btn_loadimage", tr("选择本地镜像")));
    imageLayout->addWidget(button(imageBox, "btn_sendimage", tr("下载本地镜像")));
    imageLayout->addWidget(button(imageBox, "btn_showimage", tr("查看镜像")));
    imageLayout->addWidget(button(imageBox, "btn_showconfig", tr("查看配置")));
    layout->addWidget(imageBox);

    tabWidget = new QTabWidget(this);
    tabWidget->setObjectName(QStringLiteral("tabWidget"));
    tabWidget->addTab(BuildMqttTab(), tr("MQTT远程"));
    tabWidget->addTab(BuildTcpTab(), tr("TCP远程"));
    tabWidget->addTab(BuildOfflineTab(), tr("离线镜像"));
    tabWidget->addTab(BuildNsqTab(), tr("NSQ远程"));
    layout->addWidget(tabWidget);

    edit_out = new CPageLog(this);
    edit_out->setContextMenuPolicy(Qt::CustomContextMenu);
    layout->addWidget(edit_out, 1);

    connect(combo_prog, QOverload<int>::of(&QComboBox::activated), this, &remoteform::combo_prog_activated);
    connect(edit_out, &QWidget::customContextMenuRequested, this, &remoteform::edit_out_rightButtonClicked);
    QMetaObject::connectSlotsByName(this);
}

QWidget *remoteform::BuildMqttTab()
{
    auto *tab = new QWidget;
    tab->setObjectName(QStringLiteral("tab_mqtt"));
    auto *row = new QHBoxLayout(tab);
    edit_mqttinfo = field(tab, "edit_mqttinfo", true);
    btn_mqttconnect = button(tab, "btn_mqttconnect", tr("连接"));
    btn_mqttdisconnect = button(tab, "btn_mqttdisconnect", tr("断开"));
    row->addWidget(edit_mqttinfo, 1);
    row->addWidget(btn_mqttconnect);
    row->addWidget(btn_mqttdisconnect);
    return tab;
}

QWidget *remoteform::BuildTcpTab()
{
    auto *tab = new QWidget;
    tab->setObjectName(QStringLiteral("tab_2"));
    auto *row = new QHBoxLayout(tab);
    edit_ip = field(tab, "edit_ip");
    edit_ip->setText(QStringLiteral("127.0.0.1"));
    edit_port = field(tab, "edit_port");
    edit_port->setText(QStringLiteral("5000"));
    btn_login = button(tab, "btn_login", tr("连接"));
    btn_logout = button(tab, "btn_logout", tr("断开"));
    row->addWidget(new QLabel(tr("服务器IP:"), tab));
    row->addWidget(edit_ip, 1);
    row->addWidget(new QLabel(tr("端口:"), tab));
    row->addWidget(edit_port);
    row->addWidget(btn_login);
    row->addWidget(btn_logout);
    return tab;
}

QWidget *remoteform::BuildOfflineTab()
{
    auto *tab = new QWidget;
    tab->setObjectName(QStringLiteral("tab_offline"));
    auto *row = new QHBoxLayout(tab);
    edit_offline = field(tab, "edit_offline");
    btn_offlineimglogin = button(tab, "btn_offlineimglogin", tr("登录"));
    btn_offlineimgget = button(tab, "btn_offlineimgget", tr("获取"));
    btn_offlineimgclose = button(tab, "btn_offlineimgclose", tr("关闭"));
    btn_offlineimgget->setEnabled(false);
    btn_offlineimgclose->setEnabled(false);
    row->addWidget(edit_offline, 1);
    row->addWidget(btn_offlineimglogin);
    row->addWidget(btn_offlineimgget);
    row->addWidget(btn_offlineimgclose);
    return tab;
}

QWidget *remoteform::BuildNsqTab()
{
    auto *tab = new QWidget;
    tab->setObjectName(QStringLiteral("tab_nsq"));
    auto *row = new QHBoxLayout(tab);
    edit_nsqinfo = field(tab, "edit_nsqinfo", true);
    btn_nsqconnect = button(tab, "btn_nsqconnect", tr("连接"));
    btn_nsqdisconnect = button(tab, "btn_nsqdisconnect", tr("断开"));
    row->addWidget(edit_nsqinfo, 1);
    row->addWidget(btn_nsqconnect);
    row->addWidget(btn_nsqdisconnect);
    return tab;
}

// ---------------------------------------------------------------- log

void remoteform::Log(const QString &text)
{
    edit_out->AppendLine(text);
}

QString remoteform::LogText() const
{
    return edit_out->toPlainText();
}

void remoteform::ClearLog()
{
    edit_out->clear();
}

void remoteform::edit_out_rightButtonClicked(QPoint point)
{
    QMenu menu(this);
    QAction *clear = menu.addAction(tr("清除"));
    if (menu.exec(edit_out->viewport()->mapToGlobal(point)) == clear)
        ClearLog();
}

void remoteform::customEvent(QEvent *event)
{
    switch (int(event->type())) {
    case ClientEvents::LogEvent:
        Log(static_cast<ClientEvents::CTextEvent *>(event)->m_strText);
        break;
    case ClientEvents::FirmDownEvent: {
        const QString path = static_cast<ClientEvents::CTextEvent *>(event)->m_strText;
        Log(tr("固件下载成功:") + path);
        SendFirmware(path);
        break;
    }
    default:
        QWidget::customEvent(event);
    }
}

void remoteform::SendFirmware(const QString &file)
{
    if (!m_progers.Current()) {
        Log(tr("未检测到下载器!"));
        CMessageBox::Warn(this, tr("提示"), tr("未检测到下载器!"));
        return;
    }
    sendfirmdlg dlg(m_progers.Current(), file, this);
    connect(&dlg, &sendfirmdlg::sigLog, this, &remoteform::Log);
    dlg.exec();
}

void remoteform::Warn(const QString &text)
{
    CMessageBox::Warn(this, tr("提示"), text);
}

// ---------------------------------------------------------------- programmers

void remoteform::SetUsbProgers(const QStringList &hidPaths, const QStringList &ports)
{
    m_hidPaths = hidPaths;
    m_ports = ports;
    m_pUsb->SetHid(hidPaths);
    m_pUsb->SetPorts(ports);
    on_btn_refresh_clicked();
}

void remoteform::on_btn_refresh_clicked()
{
    CStationUsb *usb = m_pUsb.get();
    m_progers.Rebuild(BurnHub::Instance()->GetProgerList(), m_hidPaths, m_ports,
                      [usb](const QString &key, ProgerInfo &info) { return usb->Identity(key, info); });
    combo_prog->clear();
    for (int i = 0; i < m_progers.Count(); ++i)
        combo_prog->addItem(m_progers.At(i).Text());
    combo_prog->setCurrentIndex(m_progers.CurrentRow());
    FillIdentity();
    Log(tr("下载器列表已刷新!"));
    if (m_bTcpPending && m_progers.Current()) {
        m_bTcpPending = false;
        on_btn_login_clicked();
    }
}

void remoteform::combo_prog_activated(int index)
{
    m_progers.SetCurrentRow(index);
    FillIdentity();
}

void remoteform::FillIdentity()
{
    const CStationProger *proger = m_progers.Current();
    const ProgerInfo info = proger ? proger->info : ProgerInfo();
    edit_progid->setText(info.m_strID);
    edit_progmodel->setText(info.m_strModel);
    edit_progver->setText(info.m_strVer);
    edit_hwver->setText(info.m_strHW);
}

QString remoteform::CurrentUID() const
{
    return edit_progid->text().trimmed();
}

// ---------------------------------------------------------------- local image

void remoteform::on_btn_loadimage_clicked()
{
    const QString path = QFileDialog::getOpenFileName(this, tr("选择本地镜像文件:"), QString(),
                                                      tr("hex,bin,img file (*.hex *.bin *.img)"));
    if (!path.isEmpty())
        edit_image->setText(path);
}

void remoteform::on_btn_sendimage_clicked()
{
    const CStationProger *proger = m_progers.Current();
    if (!proger) {
        Warn(tr("下载器未选择!"));
        return;
    }
    const QString path = edit_image->text().trimmed();
    if (path.isEmpty()) {
        Warn(tr("本地镜像未选择!"));
        return;
    }
    if (!QFileInfo(path).isFile()) {
        Warn(tr("已选本地镜像不存在!"));
        return;
    }
    selindexdlg dlg(this);
    dlg.SetName(QFileInfo(path).completeBaseName());
    if (dlg.exec() != QDialog::Accepted)
        return;
    QString name = dlg.Name();
    QString err;
    const CLocalProger local(proger, m_pUsb.get());
    if (!local.DownImage(dlg.Index(), path, name, err)) {
        Log(tr("下载本地镜像失败!") + QLatin1Char(' ') + err);
        Warn(tr("下载本地镜像失败!") + QLatin1Char('\n') + err);
        return;
    }
    if (local.IsUsb()) {
        // The programmer pulls it; its verdict comes with the index.
        m_strUsbImageKey = proger->key;
        m_nUsbImageIndex = dlg.Index();
        m_strUsbImageName = name;
        Log(tr("正在下发镜像数据, 请勿断开连接"));
        return;
    }
    Log(tr("下载本地镜像：镜像号=%1，镜像名称=%2 %3").arg(QString::number(dlg.Index()), name, tr("成功")));
}

void remoteform::on_btn_showimage_clicked()
{
    showimagedlg dlg(m_progers.Current(), this);
    if (!dlg.Refill()) {
        Warn(tr("下载器镜像信息读取失败!"));
        return;
    }
    connect(&dlg, &showimagedlg::sig_hasClear, this, [this](const QString &name) { Log(tr("镜像已清除: ") + name); });
    dlg.exec();
}

void remoteform::on_btn_showconfig_clicked()
{
    showconfigdlg dlg(m_progers.Current(), this);
    QString err;
    if (!dlg.Load(err)) {
        Warn(err);
        return;
    }
    dlg.exec();
}

// ---------------------------------------------------------------- connections

void remoteform::FollowState(CRemoteKey::Kind kind, bool on)
{
    switch (kind) {
    case CRemoteKey::Tcp:
        btn_login->setEnabled(!on);
        btn_logout->setEnabled(on);
        break;
    case CRemoteKey::Mqtt:
        btn_mqttconnect->setEnabled(!on);
        btn_mqttdisconnect->setEnabled(on);
        break;
    case CRemoteKey::Nsq:
        btn_nsqconnect->setEnabled(!on);
        btn_nsqdisconnect->setEnabled(on);
        break;
    case CRemoteKey::None:
        break;
    }
}

void remoteform::on_btn_login_clicked()
{
    if (!m_progers.Current()) {
        Warn(tr("未检测到下载器!"));
        return;
    }
    bool ok = false;
    const int port = edit_port->text().trimmed().toInt(&ok, 10);
    if (!ok || port <= 0 || port > 65535) {
        Warn(tr("端口号错误"));
        return;
    }
    m_pTcp->Connect(edit_ip->text().trimmed(), port);
    Log(tr("发起连接"));
}

void remoteform::on_btn_logout_clicked()
{
    m_pTcp->CloseClient();
}

void remoteform::on_btn_mqttconnect_clicked()
{
    const QString uid = CurrentUID();
    if (uid.isEmpty()) {
        CMessageBox::Warn(this, tr("错误"), tr("当前未检测到下载器，无法获取有效的UID."));
        return;
    }
    edit_mqttinfo->clear();
    m_strTopic = LinkTopics::Listen(uid);
    edit_mqttinfo->setText(m_strTopic);
    m_pMqtt->SetUID(uid);
    m_pMqtt->StartService(uid, m_strBrokerHost, m_nMqttPort);
    Log(tr("发起连接"));
}

void remoteform::on_btn_mqttdisconnect_clicked()
{
    m_pMqtt->CloseInst();
}

void remoteform::on_btn_nsqconnect_clicked()
{
    const QString uid = CurrentUID();
    if (uid.isEmpty()) {
        CMessageBox::Warn(this, tr("错误"), tr("当前未检测到下载器，无法获取有效的UID."));
        return;
    }
    if (!m_pNsq) {
        m_pNsq = std::make_unique<CLinkNsq>();
        m_pHost->m_links.pNsq = m_pNsq.get();
    }
    m_strTopic = LinkTopics::Listen(uid);
    edit_nsqinfo->setText(m_strTopic);
    m_pNsq->StartService(uid, m_strNsqHost, m_nNsqPort);
    Log(tr("发起连接"));
}

bool remoteform::SayNsqGoodbye()
{
    const QString uid = m_pNsq ? m_pNsq->GetUID() : QString();
    if (uid.isEmpty())
        return false;
    ProgDisconnectPacket bye;
    bye.SetNsqTopic(LinkTopics::Talk(uid));
    bye.Send();
    return true;
}

void remoteform::on_btn_nsqdisconnect_clicked()
{
    if (!SayNsqGoodbye())
        return;
    // The goodbye is only queued: the loops stop once it had its moment.
    QTimer::singleShot(kGoodbyeMs, this, [this]() { m_pNsq->CloseInst(); });
}

void remoteform::Disconnect()
{
    if (m_pTcp && m_pTcp->IsConnected())
        m_pTcp->CloseClient();
    if (m_pMqtt && m_pMqtt->IsOnline())
        m_pMqtt->CloseInst();
    if (btn_nsqdisconnect->isEnabled() && SayNsqGoodbye()) {
        QEventLoop wait;
        QTimer::singleShot(kGoodbyeMs, &wait, &QEventLoop::quit);
        wait.exec();
        m_pNsq->CloseInst();
    }
}

// ---------------------------------------------------------------- offline images

void remoteform::ShowOfflineLogin(bool loggedIn)
{
    btn_offlineimglogin->setEnabled(!loggedIn);
    btn_offlineimgget->setEnabled(loggedIn);
    btn_offlineimgclose->setEnabled(loggedIn);
}

void remoteform::on_btn_offlineimglogin_clicked()
{
    if (!m_progers.Current()) {
        CMessageBox::Error(this, tr("错误"), tr("下载器未连接!"));
        return;
    }
    m_pCloud->Login();
}

void remoteform::OfflineLoggedIn(bool ok, const QString &reason)
{
    const bool getNow = m_bGetAfterLogin;
    m_bGetAfterLogin = false;
    if (!ok) {
        if (!reason.isEmpty())
            Log(reason);
        CMessageBox::Error(this, tr("错误"), tr("连接登录QEL服务器失败!"));
        return;
    }
    Log(tr("登录成功"));
    ShowOfflineLogin(true);
    if (getNow)
        on_btn_offlineimgget_clicked();
    else
        CMessageBox::Info(this, tr("提示"), tr("离线服务器登录成功~"));
}

void remoteform::FetchOffline(const QString &code)
{
    edit_offline->setText(code.trimmed());
    tabWidget->setCurrentWidget(edit_offline->parentWidget());
    if (m_pCloud->IsConnected()) {
        on_btn_offlineimgget_clicked();
        return;
    }
    m_bGetAfterLogin = true;
    on_btn_offlineimglogin_clicked();
}

void remoteform::on_btn_offlineimgclose_clicked()
{
    m_bGetAfterLogin = false;
    m_pCloud->Close();
    ShowOfflineLogin(false);
    Log(tr("离线镜像获取连接已关闭"));
}

void remoteform::on_btn_offlineimgget_clicked()
{
    if (!m_progers.Current()) {
        CMessageBox::Error(this, tr("错误"), tr("下载器未连接!"));
        return;
    }
    QString err;
    if (!COfflineFetch::Decode(edit_offline->text(), m_strOfflineUser, m_strOfflineFile, err)) {
        Log(err);
        CMessageBox::Error(this, tr("错误"), tr("解析镜像码失败"));
        return;
    }
    if (!m_pCloud->GetOfflineImage(m_strOfflineUser, m_strOfflineFile)) {
        Log(tr("请求文件数据失败!"));
        return;
    }
    Log(tr("正在获取..."));
}

void remoteform::OfflineImageAnswer(const qelmsg::GetOfflineImgResp &answer)
{
    if (!answer.ret) {
        Log(tr("获取离线镜像失败，原因为：%1").arg(answer.reason));
        return;
    }
    // The file asked for, whatever name the answer carries.
    QString reason;
    if (!m_pCloud->PullFile(m_strOfflineFile, reason))
        Log(tr("请求文件数据失败!") + QLatin1Char(' ') + reason);
}

void remoteform::OfflinePulled(const QString &name, const QString &path)
{
    Log(tr("文件传输完成 :") + name);
    const CStationProger *proger = m_progers.Current();
    const COfflineFetch::Check check = COfflineFetch::CheckImage(path, proger ? proger->info.m_strID : QString());
    if (!check.fetched) {
        Log(check.err);
        QFile::remove(path);
        return;
    }
    Log(tr("镜像文件获取成功"));
    Log(tr("正在解析镜像文件"));
    if (!check.parsed) {
        Log(tr("镜像文件读取失败") + QLatin1Char(' ') + check.err);
        return;
    }
    Log(tr("镜像文件解析完成"));
    m_strOfflineImage = path;
    edit_image->setText(path);
    Log(tr("请点击【下载本地镜像】进行下发"));
}

void remoteform::UsbFileResult(const QString &key, const QString &name, bool ok)
{
    m_pHost->OnUsbFileResult(key, name, ok);
    if (key != m_strUsbImageKey || name != m_strUsbImageName)
        return;
    m_strUsbImageKey.clear();
    if (ok)
        Log(tr("下载本地镜像：镜像号=%1，镜像名称=%2 %3").arg(QString::number(m_nUsbImageIndex), name, tr("成功")));
    else
        Log(tr("下载本地镜像失败!") + QLatin1Char(' ') + name);
}

// ---------------------------------------------------------------- busy box

void remoteform::ShowBusy(bool on)
{
    if (!on) {
        if (m_pBusy)
            m_pBusy->hide();
        return;
    }
    if (!m_pBusy) {
        m_pBusy = new QProgressDialog(this);
        m_pBusy->setWindowTitle(tr("远程接收镜像中..."));
        m_pBusy->setCancelButton(nullptr);
        m_pBusy->setRange(0, 0);
        m_pBusy->setMinimumSize(400, 50);
        m_pBusy->setWindowModality(Qt::WindowModal);
        m_pBusy->setAutoClose(false);
        m_pBusy->setAutoReset(false);
    }
    if (!m_pBusy->isVisible())
        m_pBusy->show();
}
