#include "passworddlg.h"
#include "ui_passworddlg.h"

#include "cmessagebox.h"
#include "cpasswordrule.h"

#include <QRegularExpressionValidator>

passworddlg::passworddlg(QWidget *parent) : QDialog(parent), ui(new Ui::passworddlg)
{
    ui->setupUi(this);
    ui->edit_pwd->setValidator(
        new QRegularExpressionValidator(QRegularExpression(CPasswordRule::Pattern()), ui->edit_pwd));
    connect(ui->btn_ok, &QPushButton::clicked, this, &passworddlg::accept);
    connect(ui->btn_cancel, &QPushButton::clicked, this, &passworddlg::reject);
}

passworddlg::~passworddlg() = default;

QString passworddlg::GetPassword() const
{
    return ui->edit_pwd->text();
}

void passworddlg::SetPassword(const QString &password)
{
    ui->edit_pwd->setText(password);
}

void passworddlg::accept()
{
    QString err;
    if (!CPasswordRule::Check(GetPassword(), err)) {
        CMessageBox::Error(this, tr("错误"), err);
        return;
    }
    QDialog::accept();
}

void passworddlg::showEvent(QShowEvent *event)
{
    // The dialog is kept between uses; a password never shows twice.
    ui->edit_pwd->clear();
    ui->edit_pwd->setFocus();
    QDialog::showEvent(event);
}

void passworddlg::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        ui->retranslateUi(this);
    QDialog::changeEvent(event);
}
