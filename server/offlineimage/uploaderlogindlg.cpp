#include "uploaderlogindlg.h"

#include "caccountstore.h"
#include "cmessagebox.h"
#include "uploadercfgdlg.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDebug>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

QPushButton *Button(QWidget *parent, const char *name, const QString &text)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    return button;
}

} // namespace

uploaderlogindlg::uploaderlogindlg(Requests requests, QWidget *parent)
    : QDialog(parent), m_requests(std::move(requests))
{
    stackedWidget = new QStackedWidget(this);
    stackedWidget->setObjectName(QStringLiteral("stackedWidget"));
    stackedWidget->addWidget(BuildLoginPage());
    stackedWidget->addWidget(BuildImagePage());
    stackedWidget->addWidget(BuildDisclaimerPage());
    statusIcon = new QLabel(this);
    statusIcon->setObjectName(QStringLiteral("statusIcon"));
    statusIcon->setFixedSize(12, 12);
    statusLabel = new QLabel(this);
    statusLabel->setObjectName(QStringLiteral("statusLabel"));
    progressBar = new QProgressBar(this);
    progressBar->setObjectName(QStringLiteral("progressBar"));
    progressBar->setRange(0, 100);
    progressBar->setValue(0);
    progressBar->setVisible(false);
    auto *status = new QHBoxLayout;
    status->addWidget(statusIcon);
    status->addWidget(statusLabel, 1);
    status->addWidget(progressBar);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(stackedWidget);
    layout->addLayout(status);
    resize(640, 420);
    UpdateTitle();

    m_answerTimer.setSingleShot(true);
    m_answerTimer.setInterval(kAnswerMs);
    connect(&m_answerTimer, &QTimer::timeout, this, [this] {
        Log(tr("服务器无应答: %1").arg(m_strAwaited));
        SetStatus(tr("服务器无应答"));
        m_strAwaited.clear();
        SetLoginInputs(true);
        SetImageButtons(true);
    });

    m_uploader.SetUser(QString(), QString());
    m_uploader.SetRegistrar([this](const QString &token, const QString &name, const QString &crc2) {
        if (m_requests.registerImage)
            m_requests.registerImage(token, name, crc2);
    });
    connect(&m_uploader, &COfflineUploader::sigAccountAccepted, this, &uploaderlogindlg::RememberAccount);
    connect(&m_uploader, &COfflineUploader::sigStatus, this, &uploaderlogindlg::SetStatus);
    connect(&m_uploader, &COfflineUploader::sigLog, this, &uploaderlogindlg::Log);
    connect(&m_uploader, &COfflineUploader::sigMessage, this, [this](int kind, const QString &title, const QString &text) {
        if (kind == COfflineUploader::Info)
            CMessageBox::Info(this, title, text);
        else if (kind == COfflineUploader::Warn)
            CMessageBox::Warn(this, title, text);
        else
            CMessageBox::Error(this, title, text);
    });
    connect(&m_uploader, &COfflineUploader::sigProgress, this, [this](qint64 done, qint64 total) {
        progressBar->setVisible(true);
        progressBar->setValue(total > 0 ? int(done * 100 / total) : 0);
    });
    connect(&m_uploader, &COfflineUploader::sigRecord, this, [this](const QList<COfflineRecord::Entry> &entries) {
        COfflineRecord::Apply(entries, m_images);
        ShowList();
    });
    connect(&m_uploader, &COfflineUploader::sigUploaded, this, [this] { RefreshList(); });
    connect(&m_uploader, &COfflineUploader::sigIdle, this, [this] {
        progressBar->setVisible(false);
        SetImageButtons(true);
    });
}

uploaderlogindlg::~uploaderlogindlg()
{
    m_uploader.Close();
}

void uploaderlogindlg::showEvent(QShowEvent *event)
{
    if (!m_bLoggedIn && m_strAwaited.isEmpty())
        LoadAccount();
    QDialog::showEvent(event);
}

void uploaderlogindlg::LoadAccount()
{
    if (m_requests.accountIni.isEmpty())
        return;
    const CAccountStore::Account account = CAccountStore(m_requests.accountIni).Load();
    check_account->setChecked(account.bRemember);
    if (account.bRemember) {
        edit_userName->setText(account.strUser);
        edit_password->setText(account.strPassword);
    }
}

void uploaderlogindlg::RememberAccount()
{
    if (m_requests.accountIni.isEmpty())
        return;
    CAccountStore(m_requests.accountIni).Keep(check_account->isChecked(), m_strUser, m_strPassword);
}

QWidget *uploaderlogindlg::BuildLoginPage()
{
    auto *page = new QWidget;
    edit_userName = new QLineEdit(page);
    edit_userName->setObjectName(QStringLiteral("edit_userName"));
    edit_password = new QLineEdit(page);
    edit_password->setObjectName(QStringLiteral("edit_password"));
    edit_password->setEchoMode(QLineEdit::Password);
    check_account = new QCheckBox(tr("记住账号密码"), page);
    check_account->setObjectName(QStringLiteral("check_account"));
    checkdisclaimer = new QCheckBox(tr("我已确认并接受"), page);
    checkdisclaimer->setObjectName(QStringLiteral("checkdisclaimer"));
    label_disclaimer = new QLabel(QStringLiteral("<a href=\"#\">《%1》</a>").arg(tr("qel720A上位机软件免责声明").toHtmlEscaped()), page);
    label_disclaimer->setObjectName(QStringLiteral("label_disclaimer"));
    connect(label_disclaimer, &QLabel::linkActivated, this, &uploaderlogindlg::showDisclaimerPage);
    btn_ok = Button(page, "btn_ok", tr("确定"));
    btn_cancel = Button(page, "btn_cancel", tr("取消"));
    connect(btn_ok, &QPushButton::clicked, this, &uploaderlogindlg::on_btn_ok_clicked);
    connect(btn_cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto *grid = new QGridLayout(page);
    grid->addWidget(new QLabel(tr("用户名"), page), 0, 0);
    grid->addWidget(edit_userName, 0, 1);
    grid->addWidget(new QLabel(tr("密码"), page), 1, 0);
    grid->addWidget(edit_password, 1, 1);
    grid->addWidget(check_account, 2, 1);
    auto *disclaimer = new QHBoxLayout;
    disclaimer->addWidget(checkdisclaimer);
    disclaimer->addWidget(label_disclaimer);
    disclaimer->addStretch();
    grid->addLayout(disclaimer, 3, 0, 1, 2);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btn_ok);
    buttons->addWidget(btn_cancel);
    grid->setRowStretch(4, 1);
    grid->addLayout(buttons, 5, 0, 1, 2);
    return page;
}

QWidget *uploaderlogindlg::BuildImagePage()
{
    auto *page = new QWidget;
    lv_image = new QTreeWidget(page);
    lv_image->setObjectName(QStringLiteral("lv_image"));
    lv_image->setRootIsDecorated(false);
    lv_image->setHeaderLabels({tr("镜像名称"), QStringLiteral("CRC2"), tr("上传时间"), tr("文件大小(字节)")});
    btn_loginout = Button(page, "btn_loginout", tr("注销登录"));
    btn_upload = Button(page, "btn_upload", tr("上传镜像"));
    btn_upload->setToolTip(tr("上传主页镜像"));
    btn_share = Button(page, "btn_share", tr("分发镜像"));
    btn_clearone = Button(page, "btn_clearone", tr("清除镜像"));
    btn_clearall = Button(page, "btn_clearall", tr("清除全部"));
    btn_info = Button(page, "btn_info", tr("镜像信息"));
    connect(btn_loginout, &QPushButton::clicked, this, &uploaderlogindlg::on_btn_loginout_clicked);
    connect(btn_upload, &QPushButton::clicked, this, &uploaderlogindlg::Upload);
    connect(btn_share, &QPushButton::clicked, this, &uploaderlogindlg::on_btn_share_clicked);
    connect(btn_clearone, &QPushButton::clicked, this, &uploaderlogindlg::on_btn_clearone_clicked);
    connect(btn_clearall, &QPushButton::clicked, this, &uploaderlogindlg::on_btn_clearall_clicked);
    connect(btn_info, &QPushButton::clicked, this, &uploaderlogindlg::on_btn_info_clicked);
    auto *buttons = new QVBoxLayout;
    for (QPushButton *b : {btn_upload, btn_share, btn_info, btn_clearone, btn_clearall, btn_loginout})
        buttons->addWidget(b);
    buttons->addStretch();
    auto *layout = new QHBoxLayout(page);
    layout->addWidget(lv_image, 1);
    layout->addLayout(buttons);
    return page;
}

QWidget *uploaderlogindlg::BuildDisclaimerPage()
{
    auto *page = new QWidget;
    auto *title = new QLabel(tr("qel720A上位机软件免责声明"), page);
    title->setAlignment(Qt::AlignCenter);
    auto *text = new QLabel(tr("上传离线镜像功能为用户委托我司完成。 \n我司仅完成委托内容的暂存与传输用户程序镜像的需求。没有其他的任何义务。\n若日后出现知识产权纠纷，数据遗失等问题我司不承担任何责任。\n您确认无误需要使用本功能，即视为认同以上内容。"), page);
    text->setWordWrap(true);
    auto *back = new QPushButton(tr("确定"), page);
    connect(back, &QPushButton::clicked, this, [this] { stackedWidget->setCurrentIndex(LoginPage); });
    auto *layout = new QVBoxLayout(page);
    layout->addWidget(title);
    layout->addWidget(text, 1);
    layout->addWidget(back, 0, Qt::AlignRight);
    return page;
}

void uploaderlogindlg::showDisclaimerPage()
{
    stackedWidget->setCurrentIndex(DisclaimerPage);
}

void uploaderlogindlg::SetStatus(const QString &text)
{
    statusLabel->setText(text);
}

void uploaderlogindlg::Log(const QString &text)
{
    if (m_requests.log)
        m_requests.log(text);
}

void uploaderlogindlg::SetLoginInputs(bool enabled)
{
    for (QWidget *w : std::initializer_list<QWidget *>{edit_userName, edit_password, check_account, checkdisclaimer, btn_ok})
        w->setEnabled(enabled);
}

void uploaderlogindlg::SetImageButtons(bool enabled)
{
    // Only one step of the store at a time.
    const bool on = enabled && !m_uploader.IsBusy() && m_strAwaited.isEmpty();
    for (QPushButton *b : {btn_upload, btn_share, btn_clearone, btn_clearall})
        b->setEnabled(on);
}

void uploaderlogindlg::UpdateTitle()
{
    if (!m_bLoggedIn) {
        setWindowTitle(tr("上传离线镜像"));
        return;
    }
    setWindowTitle(tr("管理用户离线镜像 %1 / %2").arg(m_strUser, QString::number(m_images.size())));
}

void uploaderlogindlg::Await(const QString &what)
{
    m_strAwaited = what;
    m_answerTimer.start();
    SetImageButtons(false);
}

void uploaderlogindlg::Answered()
{
    m_strAwaited.clear();
    m_answerTimer.stop();
    SetImageButtons(true);
}

// ---------------------------------------------------------------- login

void uploaderlogindlg::on_btn_ok_clicked()
{
    if (!checkdisclaimer->isChecked()) {
        CMessageBox::Info(this, tr("提示"), tr("使用本功能需要接收qel720A上位机软件免责声明"));
        return;
    }
    const QString user = edit_userName->text().trimmed();
    const QString password = edit_password->text();
    if (user.isEmpty() || password.isEmpty()) {
        CMessageBox::Error(this, tr("错误"), tr("用户名密码不能为空"));
        return;
    }
    m_strUser = user;
    m_strPassword = password;
    SetLoginInputs(false);
    Log(tr("正在检查登录..."));
    SetStatus(tr("正在检查登录"));
    Await(QStringLiteral("find-db-login-resp"));
    if (m_requests.login)
        m_requests.login(QStringLiteral("Account"), user, password);
}

void uploaderlogindlg::HandleLoginResp(const qelmsg::FindDBLoginResp &answer)
{
    if (m_bLoggedIn || m_strAwaited != QLatin1String("find-db-login-resp"))
        return;
    Answered();
    if (!answer.correct) {
        SetStatus(tr("登陆失败-用户名或密码错误"));
        Log(tr("错误, 用户名或密码错误"));
        SetLoginInputs(true);
        return;
    }
    HandleOfflineLogin(answer);
}

void uploaderlogindlg::HandleOfflineLogin(const qelmsg::FindDBLoginResp &answer)
{
    Log(tr("登录成功"));
    RememberAccount();
    CMessageBox::Info(this, tr("成功"), tr("登录成功， 上次登录时间为: %1").arg(answer.lastLogin));
    m_bLoggedIn = true;
    m_uploader.SetUser(m_strUser, m_strPassword);
    SetLoginInputs(true);
    stackedWidget->setCurrentIndex(ImagePage);
    UpdateTitle();
    RefreshList();
}

void uploaderlogindlg::on_btn_loginout_clicked()
{
    m_uploader.Close();
    m_answerTimer.stop();
    m_strAwaited.clear();
    m_bLoggedIn = false;
    m_images.clear();
    lv_image->clear();
    m_uploader.SetUser(QString(), QString());
    edit_password->clear();
    stackedWidget->setCurrentIndex(LoginPage);
    UpdateTitle();
}

// ---------------------------------------------------------------- list

void uploaderlogindlg::RefreshList()
{
    Log(tr("正在获取数据信息..."));
    SetStatus(tr("正在获取数据信息..."));
    Await(QStringLiteral("get-user-oii-resp"));
    if (m_requests.images)
        m_requests.images(m_strUser);
}

void uploaderlogindlg::HandleImages(const qelmsg::GetUserOIIResp &answer)
{
    if (!m_bLoggedIn || m_strAwaited != QLatin1String("get-user-oii-resp"))
        return;
    Answered();
    m_images = answer.records;
    ShowList();
    SetStatus(QString());
    // The fetch counters as the store's record has them.
    m_uploader.FetchRecord();
    SetImageButtons(true);
}

void uploaderlogindlg::ShowList()
{
    const QString selected = SelectedName();
    lv_image->clear();
    for (const qelmsg::OiiItem &image : qAsConst(m_images)) {
        auto *item = new QTreeWidgetItem(lv_image, {image.name, image.crc2, COfflineRecord::TimeText(image.lastModi),
                                                    QString::number(image.size)});
        item->setData(0, Qt::UserRole, image.name);
    }
    for (int i = 0; i < lv_image->columnCount(); ++i)
        lv_image->resizeColumnToContents(i);
    SelectImage(selected);
    UpdateTitle();
}

bool uploaderlogindlg::SelectImage(const QString &name)
{
    for (int i = 0; i < lv_image->topLevelItemCount(); ++i) {
        QTreeWidgetItem *item = lv_image->topLevelItem(i);
        if (!name.isEmpty() && item->data(0, Qt::UserRole).toString() == name) {
            lv_image->setCurrentItem(item);
            return true;
        }
    }
    return false;
}

QString uploaderlogindlg::SelectedName() const
{
    const QTreeWidgetItem *item = lv_image->currentItem();
    return item && item->isSelected() ? item->data(0, Qt::UserRole).toString() : QString();
}

// ---------------------------------------------------------------- upload

void uploaderlogindlg::Upload()
{
    if (!m_bLoggedIn || m_uploader.IsBusy())
        return;
    SetImageButtons(false);
    progressBar->setValue(0);
    m_uploader.StartUpload();
}

void uploaderlogindlg::HandleRegistered(const qelmsg::UpdateIMGRecResp &answer)
{
    m_uploader.OnRegistered(answer.ret);
}

// ---------------------------------------------------------------- delete

void uploaderlogindlg::on_btn_clearone_clicked()
{
    const QString name = SelectedName();
    if (name.isEmpty()) {
        CMessageBox::Info(this, tr("提示"), tr("镜像未选择!"));
        return;
    }
    if (CMessageBox::Ask(this, tr("提示"), tr("确定清除镜像%1?").arg(name)) != QMessageBox::Yes)
        return;
    Await(QStringLiteral("delete-img-resp"));
    if (m_requests.remove)
        m_requests.remove(m_strUser, name, false);
}

void uploaderlogindlg::on_btn_clearall_clicked()
{
    // Every image of the user goes: asked first, like a single one.
    if (CMessageBox::Ask(this, tr("提示"), tr("确定清除全部镜像?")) != QMessageBox::Yes)
        return;
    Await(QStringLiteral("delete-img-resp"));
    if (m_requests.remove)
        m_requests.remove(m_strUser, QString(), true);
}

void uploaderlogindlg::HandleDeleted(const qelmsg::DeleteIMGResp &answer)
{
    if (m_strAwaited != QLatin1String("delete-img-resp"))
        return;
    Answered();
    if (!answer.ret)
        CMessageBox::Error(this, tr("失败"), tr("删除镜像数据失败"));
    else if (answer.all)
        CMessageBox::Info(this, tr("完成"), tr("删除所有镜像数据成功"));
    else
        Log(tr("删除镜像数据：%1，成功").arg(answer.name));
    RefreshList();
}

// ---------------------------------------------------------------- details and share

void uploaderlogindlg::on_btn_info_clicked()
{
    const QString name = SelectedName();
    for (const qelmsg::OiiItem &image : qAsConst(m_images)) {
        if (!name.isEmpty() && image.name == name) {
            CMessageBox::Info(this, tr("更多信息"), COfflineRecord::InfoText(image));
            return;
        }
    }
    CMessageBox::Info(this, tr("提示"), tr("镜像未选择!"));
}

uploadercfgdlg *uploaderlogindlg::ShareDialog()
{
    if (!m_pShareDlg)
        m_pShareDlg = new uploadercfgdlg(this);
    return m_pShareDlg;
}

void uploaderlogindlg::on_btn_share_clicked()
{
    const QString name = SelectedName();
    if (name.isEmpty()) {
        CMessageBox::Info(this, tr("提示"), tr("镜像未选择!"));
        return;
    }
    uploadercfgdlg *dlg = ShareDialog();
    if (dlg->exec() != QDialog::Accepted) {
        qDebug() << "Rejected";
        return;
    }
    m_nShareDays = dlg->Days();
    m_nShareCount = dlg->Count();
    if (m_nShareDays > 0 || m_nShareCount > 0)
        CMessageBox::Info(this, tr("请注意"), tr("需要有效设置获取限制，在上传时请配置为加密镜像\n如已配置，请忽略"));
    Log(tr("正在向服务器请求分发离线镜像..."));
    Await(QStringLiteral("share-img-resp"));
    if (m_requests.share)
        m_requests.share(m_strUser, name, m_nShareDays, m_nShareCount);
}

void uploaderlogindlg::HandleShared(const qelmsg::ShareIMGResp &answer)
{
    if (m_strAwaited != QLatin1String("share-img-resp"))
        return;
    Answered();
    if (!answer.ret || answer.shareText.isEmpty()) {
        CMessageBox::Error(this, tr("失败"), tr("申请分发镜像失败"));
        return;
    }
    Log(tr("申请分发镜像成功\n"));
    ShareTip(answer.shareText, m_nShareDays, m_nShareCount);
    RefreshList();
}

void uploaderlogindlg::ShareTip(const QString &text, int days, int count)
{
    QApplication::clipboard()->setText(text);
    CMessageBox::Info(this, tr("提示"), tr("已设置到剪贴板, 粘贴以分发程序镜像给客户端。 %1").arg(COfflineRecord::LimitText(days, count)));
}
