#include "mainwindow.h"

#include "chidlink.h"
#include "chipform.h"
#include "clientdefs.h"
#include "myupdater.h"
#include "remoteform.h"

#include <burnhub.h>
#include <cmessagebox.h>
#include <cprogramlanguage.h>
#include <prototext.h>
#include <ctranslations.h>
#include <cusbportscan.h>
#include <moduleid.h>
#include <skindlg.h>
#include <udisk.h>

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDebug>
#include <QInputDialog>
#include <QMenuBar>
#include <QNetworkReply>
#include <QStackedWidget>
#include <QToolBar>

namespace {
struct ActionDef
{
    const char *name;
    const char *text;
    const char *icon;
};

// The untranslated text of an action, kept for a change of language.
const char kSourceText[] = "sourceText";

// Object names, texts and icons of the actions, in menu order.
const ActionDef kPageActions[] = {
    {"actionremote", QT_TRANSLATE_NOOP("MainWindow", "远程镜像下载"), ":/icons/tcp.png"},
    {"actionchip", QT_TRANSLATE_NOOP("MainWindow", "QEL芯片管理"), ":/icons/usbctrl.png"},
    {"actionnsq", QT_TRANSLATE_NOOP("MainWindow", "NSQ远程镜像下载"), ":/icons/nsq.png"},
};
const ActionDef kToolActions[] = {
    {"actionofflineimage", QT_TRANSLATE_NOOP("MainWindow", "获取远端离线镜像"), ":/icons/upload.png"},
    {"actionproc", QT_TRANSLATE_NOOP("MainWindow", "固件程序下载"), ":/icons/firmware.png"},
    {"actionusbhid", QT_TRANSLATE_NOOP("MainWindow", "开启USB-HID模式"), ":/icons/usbhid.png"},
    {"actionclear", QT_TRANSLATE_NOOP("MainWindow", "清空日志"), ":/icons/clear.png"},
    {"actionskin", QT_TRANSLATE_NOOP("MainWindow", "主题色"), ":/icons/skin.png"},
    {"actionlanguage", QT_TRANSLATE_NOOP("MainWindow", "语言"), ":/icons/language.png"},
    {"actionexit", QT_TRANSLATE_NOOP("MainWindow", "退出"), ":/icons/exit.png"},
};
const ActionDef kUpdateActions[] = {
    {"actionupdateclient", QT_TRANSLATE_NOOP("MainWindow", "上位机更新"), ":/icons/update.png"},
    {"actionupdatefirm", QT_TRANSLATE_NOOP("MainWindow", "下载器固件更新"), ":/icons/updatefirm.png"},
};
const ActionDef kHelpActions[] = {
    {"actionabout", QT_TRANSLATE_NOOP("MainWindow", "关于"), ":/icons/about.png"},
};
} // namespace

MainWindow::MainWindow(QWidget *parent) : QMainWindow(parent)
{
    CUsbPortScan::SetIniFile(ClientDefs::IniFile());
    ApplyLanguage(CTranslations::GetLanguage(ClientDefs::IniFile()));
    resize(900, 680);

    auto *stack = new QStackedWidget(this);
    m_pRemote = new remoteform(stack);
    m_pChip = new chipform(stack);
    stack->addWidget(m_pRemote);
    stack->addWidget(m_pChip);
    setCentralWidget(stack);

    BuildActions();
    RetranslateTexts();

    m_pUDisk = std::make_unique<uDisk>();
    m_pUDisk->SetSearchDirs(BurnHub::Instance()->GetSearchDirs());
    // Linux needs no device-interface registration: the watch reports HID devices itself.
    qDebug() << "注册成功";
    connect(m_pUDisk.get(), &uDisk::sigUDiskCome, this, &MainWindow::UDiskCome);
    connect(m_pUDisk.get(), &uDisk::sigUDiskRemove, this, &MainWindow::UDiskRemove);
    connect(m_pUDisk.get(), &uDisk::sigHidRemove, this, &MainWindow::HidRemove);
    connect(m_pUDisk.get(), &uDisk::sigHidCome, this, &MainWindow::ScanHIDProg);
    connect(m_pUDisk.get(), &uDisk::sigPortCome, this, &MainWindow::PortCome);
    connect(m_pUDisk.get(), &uDisk::sigPortRemove, this, &MainWindow::PortRemove);
    connect(menuBar(), &QMenuBar::triggered, this, &MainWindow::actionTriggered);

    m_pHid = std::make_unique<CClientHidLink>([this](const QString &key) {
        // Not inside the link's read: the removal closes the device.
        QMetaObject::invokeMethod(this, [this, key]() { HidRemove(key); }, Qt::QueuedConnection);
    });
    m_pScan = std::make_unique<CUsbPortScan>();
    connect(m_pScan.get(), &CUsbPortScan::sigPortCome, this, &MainWindow::PortCome);
    connect(m_pScan.get(), &CUsbPortScan::sigPortRemove, this, &MainWindow::PortRemove);

    QAction *remote = Action(QStringLiteral("actionremote"));
    remote->setChecked(true);
    actionTriggered(remote);
    ScanHIDProg();
    ScanPorts();
    RefreshProgers();
}

MainWindow::~MainWindow()
{
    m_pScan->Stop();
    m_pRemote->Disconnect();
}

MyUpdater *MainWindow::Updater()
{
    if (!m_pUpdate)
        m_pUpdate = new MyUpdater(this);
    return m_pUpdate;
}

QAction *MainWindow::Action(const QString &objectName) const
{
    return findChild<QAction *>(objectName);
}

void MainWindow::BuildActions()
{
    auto add = [this](QMenu *menu, QToolBar *bar, const ActionDef &def) {
        auto *action = new QAction(this);
        action->setObjectName(QLatin1String(def.name));
        action->setIcon(QIcon(QLatin1String(def.icon)));
        action->setProperty(kSourceText, QByteArray(def.text));
        menu->addAction(action);
        if (bar)
            bar->addAction(action);
        return action;
    };
    QToolBar *bar = addToolBar(QStringLiteral("main"));
    bar->setObjectName(QStringLiteral("toolBar"));
    QMenu *functions = menuBar()->addMenu(QString());
    functions->setObjectName(QStringLiteral("menu_function"));
    m_pPages = new QActionGroup(this);
    m_pPages->setExclusive(true);
    for (const ActionDef &def : kPageActions) {
        QAction *action = add(functions, bar, def);
        action->setCheckable(true);
        m_pPages->addAction(action);
    }
    functions->addSeparator();
    for (const ActionDef &def : kToolActions)
        add(functions, def.name == QByteArray("actionexit") ? nullptr : bar, def);
    QMenu *updates = menuBar()->addMenu(QString());
    updates->setObjectName(QStringLiteral("menu_update"));
    for (const ActionDef &def : kUpdateActions)
        add(updates, nullptr, def);
    QMenu *help = menuBar()->addMenu(QString());
    help->setObjectName(QStringLiteral("menu_help"));
    for (const ActionDef &def : kHelpActions)
        add(help, nullptr, def);
    Action(QStringLiteral("actionusbhid"))->setVisible(false);
    Action(QStringLiteral("actionproc"))->setVisible(false);
}

void MainWindow::RetranslateTexts()
{
    for (QAction *action : findChildren<QAction *>()) {
        const QByteArray source = action->property(kSourceText).toByteArray();
        if (!source.isEmpty())
            action->setText(tr(source.constData()));
    }
    findChild<QMenu *>(QStringLiteral("menu_function"))->setTitle(tr("功能选择"));
    findChild<QMenu *>(QStringLiteral("menu_update"))->setTitle(tr("检查更新"));
    findChild<QMenu *>(QStringLiteral("menu_help"))->setTitle(tr("帮助"));
    if (m_pCurrentPage)
        setWindowTitle(StartTitle() + QLatin1Char('-') + m_pCurrentPage->text());
    else
        setWindowTitle(StartTitle());
}

QString MainWindow::StartTitle() const
{
    return tr("QEL下载器客户端") + QLatin1Char(' ') + ClientDefs::Version();
}

void MainWindow::ApplyLanguage(int language)
{
    // The links' log lines come from the protocol's own translation.
    ProtoText::LoadLanguage(CProgramLanguage::Apply(m_translator, language));
}

void MainWindow::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange && m_pPages)
        RetranslateTexts();
    QMainWindow::changeEvent(event);
}

void MainWindow::Log(const QString &text)
{
    if (centralWidget() && static_cast<QStackedWidget *>(centralWidget())->currentWidget() == m_pChip)
        m_pChip->Log(text);
    else
        m_pRemote->Log(text);
}

// ---------------------------------------------------------------- actions

void MainWindow::ShowPage(QWidget *page, QAction *action)
{
    static_cast<QStackedWidget *>(centralWidget())->setCurrentWidget(page);
    m_pCurrentPage = action;
    setWindowTitle(StartTitle() + QLatin1Char('-') + action->text());
}

void MainWindow::actionTriggered(QAction *pAction)
{
    const QString name = pAction->objectName();
    if (name == QLatin1String("actionremote")) {
        ShowPage(m_pRemote, pAction);
    } else if (name == QLatin1String("actionchip")) {
        ShowPage(m_pChip, pAction);
    } else if (name == QLatin1String("actionnsq")) {
        Action(QStringLiteral("actionremote"))->setChecked(false);
        Action(QStringLiteral("actionchip"))->setChecked(false);
        ShowPage(m_pRemote, pAction);
    } else if (name == QLatin1String("actionskin")) {
        skindlg dlg(this);
        dlg.SetIniFile(ClientDefs::IniFile());
        dlg.exec();
    } else if (name == QLatin1String("actionlanguage")) {
        const int language = CTranslations::ChooseLanguage(ClientDefs::IniFile(), this);
        if (language != CTranslations::Cancelled)
            ApplyLanguage(language);
    } else if (name == QLatin1String("actionexit")) {
        close();
    } else if (name == QLatin1String("actionclear")) {
        if (static_cast<QStackedWidget *>(centralWidget())->currentWidget() == m_pChip)
            m_pChip->ClearLog();
        else
            m_pRemote->ClearLog();
    } else if (name == QLatin1String("actionproc")) {
        m_pRemote->SendFirmware(QString());
    } else if (name == QLatin1String("actionabout")) {
        CMessageBox::Info(this, tr("关于"), StartTitle());
    } else if (name == QLatin1String("actionupdateclient")) {
        Updater()->CheckUpdate(ModuleName(Mod_Qel720AClient), ClientDefs::IniFile(), ClientDefs::Version(), false);
    } else if (name == QLatin1String("actionupdatefirm")) {
        const auto *proger = m_pRemote->Progers().Current();
        if (!proger) {
            CMessageBox::Warn(this, tr("提示"), tr("未检测到下载器!"));
            return;
        }
        Updater()->CheckUpdate(ModuleName(Mod_Qel720A), ClientDefs::IniFile(), proger->info.m_strVer, true);
    } else if (name == QLatin1String("actionofflineimage")) {
        if (!m_pRemote->Progers().Current()) {
            CMessageBox::Error(this, tr("错误"), tr("下载器未连接!"));
            return;
        }
        const QString code = QInputDialog::getText(this, tr("获取远端离线镜像"), tr("请输入镜像获取字符"),
                                                   QLineEdit::Normal, tr("在此输入"));
        if (code.trimmed().isEmpty()) {
            CMessageBox::Warn(this, tr("提示"), tr("获取字符为空"));
            return;
        }
        m_pRemote->FetchOffline(code);
    }
}

void MainWindow::finishedSlot(QNetworkReply *reply)
{
    if (reply)
        reply->deleteLater();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (CMessageBox::Ask(this, tr("提示"), tr("确认退出程序?")) == QMessageBox::Yes) {
        m_pRemote->Disconnect();
        event->accept();
    } else {
        event->ignore();
    }
}

// ---------------------------------------------------------------- programmers

void MainWindow::RefreshProgers()
{
    m_pRemote->SetUsbProgers(m_hidPaths, m_ports);
}

void MainWindow::UDiskCome(QString uDiskName)
{
    qDebug("u disk come: %s", qPrintable(uDiskName));
    m_pRemote->Log(tr("检测到设备接入"));
    RefreshProgers();
}

void MainWindow::UDiskRemove(QString)
{
    m_pRemote->Log(tr("检测到设备退出"));
    RefreshProgers();
}

void MainWindow::ScanHIDProg()
{
    const QList<CHidInfo> fresh = m_pHid->OpenNewDevices();
    if (fresh.isEmpty())
        return;
    for (const CHidInfo &info : fresh) {
        if (!m_hidPaths.contains(info.m_strPath))
            m_hidPaths.append(info.m_strPath);
        m_pRemote->Log(tr("检测到USB-HID模式下载器") + QLatin1Char(' ') + info.m_strPath);
    }
    RefreshProgers();
}

void MainWindow::HidRemove(QString devPath)
{
    QString key;
    for (const QString &path : qAsConst(m_hidPaths)) {
        if (path.compare(devPath, Qt::CaseInsensitive) == 0)
            key = path;
    }
    if (key.isEmpty())
        return;
    m_pHid->CloseOneHid(key);
    m_hidPaths.removeAll(key);
    m_pRemote->Log(tr("检测到HID下载器已断开连接") + QLatin1Char(' ') + key);
    RefreshProgers();
}

void MainWindow::ScanPorts()
{
    m_pScan->Start();
}

void MainWindow::PortCome(QString com)
{
    if (m_ports.contains(com) || !CUsbPortScan::IsProgrammerPort(com))
        return;
    m_ports.append(com);
    m_pRemote->Log(tr("检测到USB-VCP模式下载器") + QLatin1Char(' ') + com);
    RefreshProgers();
}

void MainWindow::PortRemove(QString com)
{
    if (!m_ports.removeAll(com))
        return;
    m_pRemote->Log(tr("检测到VCP下载器已断开连接:") + com);
    RefreshProgers();
}
