#include "backuploaddlg.h"

#include "caccountstore.h"
#include "cbackuptarget.h"
#include "cmessagebox.h"
#include "csafefile.h"
#include "mainwindow.h"
#include "remoteserver.h"
#include "serverdefs.h"

#include <QCheckBox>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QStackedWidget>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {
const char kTypeBackup[] = "backup";
const char kTypeRestore[] = "restore";

QPushButton *makeButton(QWidget *parent, const char *name, const QString &text)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    return button;
}
} // namespace

backuploaddlg::backuploaddlg(MainWindow *window) : QDialog(window), m_pWindow(window)
{
    setWindowTitle(tr("备份/恢复下载器镜像"));
    BuildUi();
    LoadAccount();
    remoteServer *cloud = window->Cloud();
    connect(cloud, &remoteServer::sigLoginResp, this, &backuploaddlg::OnLoginResp);
    connect(cloud, &remoteServer::sigReadRecordResp, this, &backuploaddlg::OnRecords);
    connect(cloud, &remoteServer::sigConnState, this, &backuploaddlg::OnConnState);
    SetStatus(cloud->IsConnected() ? tr("已连接") : tr("待连接..."));
}

backuploaddlg::~backuploaddlg() = default;

void backuploaddlg::LoadAccount()
{
    const CAccountStore::Account account = CAccountStore(ServerDefs::IniFile()).Load();
    m_pRemember->setChecked(account.bRemember);
    if (account.bRemember) {
        m_pUser->setText(account.strUser);
        m_pPassword->setText(account.strPassword);
    }
}

void backuploaddlg::showEvent(QShowEvent *event)
{
    if (!m_bLogin && !m_bWaitLogin)
        LoadAccount();
    QDialog::showEvent(event);
}

void backuploaddlg::BuildUi()
{
    m_pStack = new QStackedWidget(this);
    m_pStack->setObjectName(QStringLiteral("stackedWidget"));

    auto *login = new QWidget(m_pStack);
    auto *loginLayout = new QVBoxLayout(login);
    m_pUser = new QLineEdit(login);
    m_pUser->setObjectName(QStringLiteral("edit_userName"));
    m_pUser->setPlaceholderText(tr("用户名"));
    m_pPassword = new QLineEdit(login);
    m_pPassword->setObjectName(QStringLiteral("edit_password"));
    m_pPassword->setPlaceholderText(tr("密码"));
    m_pPassword->setEchoMode(QLineEdit::Password);
    m_pRemember = new QCheckBox(tr("记住账号密码"), login);
    m_pRemember->setObjectName(QStringLiteral("check_account"));
    auto *loginButtons = new QHBoxLayout;
    QPushButton *ok = makeButton(login, "btn_ok", tr("确定"));
    QPushButton *cancel = makeButton(login, "btn_cancel", tr("取消"));
    loginButtons->addWidget(ok);
    loginButtons->addWidget(cancel);
    loginLayout->addWidget(m_pUser);
    loginLayout->addWidget(m_pPassword);
    loginLayout->addWidget(m_pRemember);
    loginLayout->addLayout(loginButtons);

    auto *main = new QWidget(m_pStack);
    auto *mainLayout = new QVBoxLayout(main);
    m_pUserLabel = new QLabel(main);
    m_pUserLabel->setObjectName(QStringLiteral("label_user"));
    QPushButton *backup = makeButton(main, "btn_backup", tr("备份镜像包"));
    QPushButton *load = makeButton(main, "btn_load", tr("从镜像包恢复"));
    QPushButton *record = makeButton(main, "btn_record", tr("查看记录"));
    QPushButton *logout = makeButton(main, "btn_loginout", tr("注销登录"));
    mainLayout->addWidget(m_pUserLabel);
    for (QPushButton *button : {backup, load, record, logout})
        mainLayout->addWidget(button);

    auto *records = new QWidget(m_pStack);
    auto *recordLayout = new QVBoxLayout(records);
    m_pRecords = new QTableWidget(0, 3, records);
    m_pRecords->setObjectName(QStringLiteral("tw_record"));
    m_pRecords->setHorizontalHeaderLabels({QStringLiteral("uid"), tr("操作类型"), tr("镜像包名称")});
    m_pRecords->horizontalHeader()->setStretchLastSection(true);
    m_pRecords->setEditTriggers(QAbstractItemView::NoEditTriggers);
    QPushButton *back = makeButton(records, "btn_back", tr("返回"));
    recordLayout->addWidget(m_pRecords);
    recordLayout->addWidget(back);

    m_pStack->addWidget(login);
    m_pStack->addWidget(main);
    m_pStack->addWidget(records);

    m_pStatus = new QLabel(this);
    m_pStatus->setObjectName(QStringLiteral("statusLabel"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_pStack);
    layout->addWidget(m_pStatus);
    resize(520, 360);

    connect(ok, &QPushButton::clicked, this, &backuploaddlg::on_btn_ok_clicked);
    connect(cancel, &QPushButton::clicked, this, &backuploaddlg::on_btn_cancel_clicked);
    connect(backup, &QPushButton::clicked, this, &backuploaddlg::on_btn_backup_clicked);
    connect(load, &QPushButton::clicked, this, &backuploaddlg::on_btn_load_clicked);
    connect(record, &QPushButton::clicked, this, &backuploaddlg::on_btn_record_clicked);
    connect(logout, &QPushButton::clicked, this, &backuploaddlg::on_btn_loginout_clicked);
    connect(back, &QPushButton::clicked, this, &backuploaddlg::on_btn_back_clicked);
    connect(m_pStack, &QStackedWidget::currentChanged, this, &backuploaddlg::stack_index_changed);
}

QString backuploaddlg::BackupDir()
{
    const QString dir = ServerDefs::WorkDir() + QStringLiteral("backup/");
    QDir().mkpath(dir);
    return dir;
}

void backuploaddlg::SetStatus(const QString &text)
{
    m_pStatus->setText(text);
}

// ---------------------------------------------------------------- login

void backuploaddlg::on_btn_ok_clicked()
{
    const QString user = m_pUser->text().trimmed();
    const QString password = m_pPassword->text();
    if (user.isEmpty() || password.isEmpty()) {
        CMessageBox::Error(this, tr("错误"), tr("请输入账号密码"));
        return;
    }
    remoteServer *cloud = m_pWindow->Cloud();
    if (!cloud->IsConnected())
        SetStatus(tr("待连接..."));
    m_bWaitLogin = true;
    m_strUser = user;
    cloud->Connect();
    cloud->Login(user, password);
}

void backuploaddlg::on_btn_cancel_clicked()
{
    reject();
}

void backuploaddlg::on_btn_loginout_clicked()
{
    m_bLogin = false;
    m_bWaitRecords = false;
    m_pStack->setCurrentIndex(PageLogin);
}

void backuploaddlg::OnLoginResp(const qelmsg::LoginResp &answer)
{
    if (!m_bWaitLogin)
        return;
    m_bWaitLogin = false;
    if (!answer.ret) {
        SetStatus(tr("登录验证失败"));
        CMessageBox::Error(this, tr("错误"), answer.reason.isEmpty() ? tr("登录验证失败") : answer.reason);
        return;
    }
    // Kept only when the user asked for it, and only once the service took it.
    CAccountStore(ServerDefs::IniFile()).Keep(m_pRemember->isChecked(), m_strUser, m_pPassword->text());
    m_bLogin = true;
    SetStatus(tr("登录验证成功"));
    m_pUserLabel->setText(m_strUser);
    m_pStack->setCurrentIndex(PageMain);
}

void backuploaddlg::OnConnState(bool connected)
{
    if (connected) {
        SetStatus(tr("已连接"));
        return;
    }
    SetStatus(tr("待连接..."));
    if (m_bLogin || m_bWaitLogin) {
        m_bWaitLogin = false;
        CMessageBox::Error(this, tr("错误"), tr("验证服务连接断开"));
    }
}

void backuploaddlg::stack_index_changed(int index)
{
    if (index == PageLogin)
        m_pPassword->setFocus();
}

bool backuploaddlg::CheckOnline()
{
    if (m_bLogin && m_pWindow->Cloud()->IsConnected())
        return true;
    CMessageBox::Warn(this, tr("错误！"), tr("当前网络连接已断开！"));
    return false;
}

// ---------------------------------------------------------------- records

void backuploaddlg::on_btn_record_clicked()
{
    if (!CheckOnline())
        return;
    m_bWaitRecords = true;
    m_pWindow->Cloud()->ReadRecords(m_strUser);
}

void backuploaddlg::OnRecords(const qelmsg::ReadRecordResp &answer)
{
    if (!m_bWaitRecords)
        return;
    m_bWaitRecords = false;
    m_pRecords->setRowCount(0);
    for (const qelmsg::RecordItem &item : answer.records) {
        const int row = m_pRecords->rowCount();
        m_pRecords->insertRow(row);
        QString type = item.type;
        if (type == QLatin1String(kTypeBackup))
            type = tr("备份");
        else if (type == QLatin1String(kTypeRestore))
            type = tr("恢复");
        m_pRecords->setItem(row, 0, new QTableWidgetItem(item.uid));
        m_pRecords->setItem(row, 1, new QTableWidgetItem(type));
        m_pRecords->setItem(row, 2, new QTableWidgetItem(item.packetName));
    }
    m_pStack->setCurrentIndex(PageRecord);
}

void backuploaddlg::on_btn_back_clicked()
{
    m_pStack->setCurrentIndex(PageMain);
}

void backuploaddlg::SendRecord(const QString &type, const QString &uid, const QString &path)
{
    qelmsg::UploadRecord record;
    record.userName = m_strUser;
    record.packetName = QFileInfo(path).fileName();
    record.type = type;
    record.time = QDateTime::currentSecsSinceEpoch();
    record.uid = uid;
    m_pWindow->Cloud()->UploadRecord(record);
}

// ---------------------------------------------------------------- backup

std::unique_ptr<CBackupTarget> backuploaddlg::SelectTarget(const QString &noneText)
{
    const MyProger *selected = m_pWindow->GetSelectedProger();
    if (!selected) {
        CMessageBox::Error(this, tr("错误"), noneText);
        return nullptr;
    }
    if (selected->m_bRemote) {
        CMessageBox::Error(this, tr("错误"), tr("远程下载器暂不支持！"));
        return nullptr;
    }
    return std::make_unique<CBackupTarget>(*selected, m_pWindow->UsbManager());
}

void backuploaddlg::on_btn_backup_clicked()
{
    BackupProgrammer();
}

void backuploaddlg::BackupProgrammer()
{
    if (!CheckOnline())
        return;
    if (m_bBackingUp || m_run.IsActive()) {
        CMessageBox::Warn(this, tr("提示"), tr("正在传输镜像, 请稍候"));
        return;
    }
    m_pTarget = SelectTarget(tr("下载器未选择, 备份下载器失败!"));
    if (!m_pTarget)
        return;
    m_bBackingUp = true;
    m_pWindow->Log(tr("正在备份下载器镜像: %1").arg(m_pTarget->ProgerID()));
    connect(m_pTarget.get(), &CBackupTarget::sigPackageRead, this, &backuploaddlg::OnPackageRead);
    m_pTarget->ReadPackage();
}

void backuploaddlg::OnPackageRead(bool ok, const QString &err)
{
    m_bBackingUp = false;
    if (!ok) {
        m_pWindow->Log(err);
        CMessageBox::Error(this, tr("错误"), err);
        return;
    }
    const QString uid = m_pTarget->ProgerID();
    const QString path = BackupDir() + CImagePackage::PackageFileName(uid, QDateTime::currentDateTime());
    QString why;
    if (!m_pTarget->Package().SaveFile(path, why)) {
        m_pWindow->Log(why + QLatin1Char(' ') + path);
        CMessageBox::Error(this, tr("错误"), why);
        return;
    }
    m_strPackagePath = path;
    m_pWindow->Log(tr("下载器镜像已备份完成!") + QLatin1Char(' ') + path);
    CMessageBox::Info(this, tr("成功！"), tr("下载器镜像已备份完成!"));
    SendRecord(QLatin1String(kTypeBackup), uid, path);
}

// ---------------------------------------------------------------- restore

void backuploaddlg::on_btn_load_clicked()
{
    const QString path = QFileDialog::getOpenFileName(this, tr("选择镜像包文件"), BackupDir(),
                                                      QStringLiteral("pimg file (*.pimg)"));
    if (!path.isEmpty())
        ParseXMLFile(path);
}

bool backuploaddlg::ParseXMLFile(const QString &path)
{
    if (m_bBackingUp || m_run.IsActive()) {
        CMessageBox::Warn(this, tr("提示"), tr("正在传输镜像, 请稍候"));
        return false;
    }
    QString err;
    if (!m_package.ParseXMLFile(path, err)) {
        CMessageBox::Error(this, tr("错误"), err);
        return false;
    }
    // Refused whole before anything reaches a programmer.
    if (!m_package.CheckRestorable(err)) {
        m_pWindow->Log(err + QLatin1Char(' ') + path);
        m_package.Clear();
        CMessageBox::Error(this, tr("错误"), err);
        return false;
    }
    if (CMessageBox::Ask(this, tr("提示"), tr("已读取加载完成, 是否恢复到当前选择的下载器?")) != QMessageBox::Yes) {
        m_package.Clear();
        return false;
    }
    return StartRestore();
}

bool backuploaddlg::StartRestore()
{
    m_pTarget = SelectTarget(tr("下载器未选择, 恢复下载器失败!"));
    if (!m_pTarget)
        return false;
    QString err;
    if (!m_run.Prepare(m_package, m_pTarget->ProgerID(), quint32(QDateTime::currentSecsSinceEpoch()), err)) {
        m_pWindow->Log(err);
        CMessageBox::Error(this, tr("错误"), err);
        m_run.Cancel();
        return false;
    }
    m_run.SetIndexFollowsImage(m_pTarget->IsUsb());
    if (m_pTarget->IsUsb() && !m_pTarget->SetUsbIndex(m_package.IndexFileData(), err)) {
        m_pWindow->Log(err);
        CMessageBox::Error(this, tr("错误"), tr("文件写入失败！"));
        m_run.Cancel();
        return false;
    }
    connect(m_pTarget.get(), &CBackupTarget::sigFileDone, this, &backuploaddlg::SetProgressBarText);
    delete m_pProgress;
    m_pProgress = new QProgressDialog(this);
    m_pProgress->setObjectName(QStringLiteral("progress_restore"));
    m_pProgress->setWindowTitle(tr("正在恢复备份文件，总进度:"));
    m_pProgress->setAutoClose(false);
    m_pProgress->setAutoReset(false);
    // A programmer that goes silent must not hold the dialog for good; what was sent stays.
    m_pProgress->setCancelButtonText(tr("取消"));
    connect(m_pProgress, &QProgressDialog::canceled, this, [this]() {
        if (!m_run.IsActive())
            return;
        m_run.Cancel();
        EndRestore();
        m_pWindow->Log(tr("恢复已取消"));
    });
    m_pProgress->setRange(0, m_run.Total());
    m_pProgress->setValue(0);
    m_pProgress->show();
    m_pWindow->Log(tr("正在恢复镜像包 %1 到下载器 %2").arg(QFileInfo(m_package.m_strFileName).fileName(), m_pTarget->ProgerID()));
    CheckSend();
    return true;
}

void backuploaddlg::CheckSend()
{
    if (!m_run.CanSend() || !m_pTarget)
        return;
    const CRestoreRun::File file = m_run.TakeNext();
    const QString dir = ServerDefs::WorkDir();
    const QString path = dir + file.strName;
    QString err;
    if (!CSafeFile::Write(path, dir, file.baData, err)) {
        m_pWindow->Log(err);
        m_run.Cancel();
        EndRestore();
        CMessageBox::Error(this, tr("错误"), tr("文件写入失败！"));
        return;
    }
    m_pTarget->SendFile(path, file.strName, file.nIndex);
}

void backuploaddlg::SetProgressBarText(const QString &fileName, bool done)
{
    if (!m_run.IsActive())
        return;
    const CRestoreRun::Outcome outcome = m_run.Finished(fileName, done);
    if (outcome == CRestoreRun::Failed) {
        m_pWindow->Log(tr("%1 传输失败, 恢复已停止").arg(fileName));
        EndRestore();
        CMessageBox::Error(this, tr("错误"), tr("%1 传输失败, 恢复已停止").arg(fileName));
        return;
    }
    if (outcome == CRestoreRun::Advanced) {
        const QString what = fileName == QLatin1String(CImagePackage::IndexName) ? tr("序列文件传输成功, ")
                                                                                  : tr("镜像文件传输成功, ");
        m_pProgress->setLabelText(what + tr("总进度:"));
        m_pProgress->setValue(m_run.Done());
    }
    if (m_run.IsComplete()) {
        const QString uid = m_pTarget->ProgerID();
        m_pWindow->Log(tr("镜像包所有镜像已恢复完成！"));
        CMessageBox::Info(this, tr("提示"), tr("镜像包所有镜像已恢复完成！"));
        SendRecord(QLatin1String(kTypeRestore), uid, m_package.m_strFileName);
        EndRestore();
        return;
    }
    CheckSend();
}

void backuploaddlg::EndRestore()
{
    if (m_pProgress)
        m_pProgress->hide();
    if (m_pTarget)
        disconnect(m_pTarget.get(), &CBackupTarget::sigFileDone, this, &backuploaddlg::SetProgressBarText);
}
