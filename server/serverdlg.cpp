#include "serverdlg.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QIntValidator>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

QDialogButtonBox *serverdlg::OkCancel(QDialog *dlg)
{
    auto *buttons = new QDialogButtonBox(dlg);
    buttons->addButton(tr("确定"), QDialogButtonBox::AcceptRole)->setObjectName(QStringLiteral("btn_ok"));
    buttons->addButton(tr("取消"), QDialogButtonBox::RejectRole)->setObjectName(QStringLiteral("btn_cancel"));
    connect(buttons, &QDialogButtonBox::accepted, dlg, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, dlg, &QDialog::reject);
    return buttons;
}

serverdlg::serverdlg(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("serverdlg"));
    setWindowTitle(tr("TCP服务器参数设置"));
    auto *layout = new QVBoxLayout(this);
    auto *group = new QGroupBox(tr("TCP服务器参数"), this);
    auto *form = new QFormLayout(group);
    edit_ip = new QLineEdit(QStringLiteral("0.0.0.0"), group);
    edit_ip->setObjectName(QStringLiteral("edit_ip"));
    edit_port = new QLineEdit(QStringLiteral("5000"), group);
    edit_port->setObjectName(QStringLiteral("edit_port"));
    edit_port->setValidator(new QIntValidator(1, 65535, edit_port));
    form->addRow(tr("监听IP地址："), edit_ip);
    form->addRow(tr("监听端口号："), edit_port);
    layout->addWidget(group);
    layout->addWidget(serverdlg::OkCancel(this));
}

QString serverdlg::Address() const
{
    return edit_ip->text().trimmed();
}

int serverdlg::Port() const
{
    bool ok = false;
    const int port = edit_port->text().trimmed().toInt(&ok);
    return ok && port > 0 && port <= 65535 ? port : 0;
}

servertopicdlg::servertopicdlg(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("servertopicdlg"));
    setWindowTitle(tr("云服务器连接设置"));
    auto *layout = new QVBoxLayout(this);
    auto *form = new QFormLayout;
    edit_uid = new QLineEdit(this);
    edit_uid->setObjectName(QStringLiteral("edit_uid"));
    edit_uid->setMinimumWidth(260);
    form->addRow(tr("UID:"), edit_uid);
    layout->addLayout(form);
    layout->addWidget(serverdlg::OkCancel(this));
}

QString servertopicdlg::UID() const
{
    return edit_uid->text().trimmed();
}
