#include "showconfigdlg.h"

#include <cmessagebox.h>
#include <configform.h>

#include <QDebug>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

showconfigdlg::showconfigdlg(const CProgerWay &way, QWidget *parent) : QDialog(parent), m_way(way)
{
    setObjectName(QStringLiteral("showconfigdlg"));
    setWindowTitle(m_way.Title(tr("查看下载器配置 ")));
    resize(460, 560);
    auto *layout = new QVBoxLayout(this);
    auto *scroll = new QScrollArea(this);
    scroll->setWidgetResizable(true);
    m_pForm = new configform(scroll);
    m_pForm->InitModelType(ModelExtended);
    m_pForm->InitModelParam();
    m_pForm->DisbleCfg();
    scroll->setWidget(m_pForm);
    layout->addWidget(scroll, 1);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setObjectName(QStringLiteral("btn_close"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

void showconfigdlg::Open()
{
    if (m_way.GetKind() == CProgerWay::KindRemote) {
        if (!m_way.RequestConfig())
            emit sigLog(tr("远程下载器连接不可用"));
        return;
    }
    QMap<QString, QString> config;
    QString err;
    if (!m_way.ReadConfig(config, err)) {
        qDebug() << "showconfigdlg::Open" << err;
        CMessageBox::Warn(this, tr("提示"), tr("本地下载器配置读取失败!"));
        return;
    }
    ShowConfig(config);
}

void showconfigdlg::ShowConfig(const QMap<QString, QString> &config)
{
    m_pForm->ShowConfig(config);
    // Shown values must stay as shown.
    m_pForm->DisbleCfg();
}
