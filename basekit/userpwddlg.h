#pragma once
// Asks for a user name and a password.
#include "basekit_global.h"

#include <QDialog>
#include <memory>

namespace Ui {
class UserPwdDlg;
}

class BASEKIT_EXPORT UserPwdDlg : public QDialog
{
    Q_OBJECT

public:
    explicit UserPwdDlg(QWidget *parent = nullptr);
    ~UserPwdDlg() override;

    void SetTitle(const QString &title);
    // Empty fields are refused unless allowed (the default refuses them).
    void SetAllowEmpty(bool allow);
    void SetUser(const QString &user);
    void SetPwd(const QString &pwd);
    QString GetUser() const;
    QString GetPwd() const;

    static bool Acceptable(const QString &user, const QString &pwd, bool allowEmpty);

private slots:
    void on_btn_ok_clicked();
    void on_btn_cancel_clicked();

private:
    std::unique_ptr<Ui::UserPwdDlg> ui;
    bool m_bAllowEmpty = false;
};
