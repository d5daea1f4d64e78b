#include "userpwddlg.h"
#include "ui_userpwddlg.h"

#include "cmessagebox.h"

UserPwdDlg::UserPwdDlg(QWidget *parent) : QDialog(parent), ui(new Ui::UserPwdDlg)
{
    ui->setupUi(this);
}

UserPwdDlg::~UserPwdDlg() = default;

void UserPwdDlg::SetTitle(const QString &title)
{
    setWindowTitle(title);
}

void UserPwdDlg::SetAllowEmpty(bool allow)
{
    m_bAllowEmpty = allow;
}

void UserPwdDlg::SetUser(const QString &user)
{
    ui->edit_user->setText(user);
}

void UserPwdDlg::SetPwd(const QString &pwd)
{
    ui->edit_pwd->setText(pwd);
}

QString UserPwdDlg::GetUser() const
{
    return ui->edit_user->text();
}

QString UserPwdDlg::GetPwd() const
{
    return ui->edit_pwd->text();
}

bool UserPwdDlg::Acceptable(const QString &user, const QString &pwd, bool allowEmpty)
{
    return allowEmpty || (!user.isEmpty() && !pwd.isEmpty());
}

void UserPwdDlg::on_btn_ok_clicked()
{
    if (!Acceptable(GetUser(), GetPwd(), m_bAllowEmpty)) {
        CMessageBox::Warn(this, tr("错误"), tr("用户名和密码不允许为空!"));
        return;
    }
    accept();
}

void UserPwdDlg::on_btn_cancel_clicked()
{
    reject();
}
