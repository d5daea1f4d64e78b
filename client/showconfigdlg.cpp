#include "showconfigdlg.h"

#include "clientdefs.h"
#include "clocalproger.h"

#include <cmessagebox.h>
#include <configform.h>

#include <QDialogButtonBox>
#include <QPushButton>
#include <QVBoxLayout>

showconfigdlg::showconfigdlg(const CStationProger *proger, QWidget *parent) : QDialog(parent), m_pProger(proger)
{
    setObjectName(QStringLiteral("showconfigdlg"));
    setWindowTitle(tr("修改配置%1").arg(proger ? proger->Text() : QString()));
    auto *layout = new QVBoxLayout(this);
    m_pForm = new configform(this);
    m_pForm->InitModelType(ModelExtended);
    m_pForm->InitModelParam();
    layout->addWidget(m_pForm, 1);
    auto *buttons = new QDialogButtonBox(this);
    buttons->addButton(tr("下发配置"), QDialogButtonBox::ActionRole)->setObjectName(QStringLiteral("btn_downconfig"));
    buttons->addButton(QDialogButtonBox::Close)->setObjectName(QStringLiteral("btn_close"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    QMetaObject::connectSlotsByName(this);
}

bool showconfigdlg::Load(QString &err)
{
    QMap<QString, QString> config;
    if (!CLocalProger(m_pProger).ReadConfig(config, err))
        return false;
    m_pForm->ShowConfig(config);
    return true;
}

void showconfigdlg::on_btn_downconfig_clicked()
{
    const QString path = ClientDefs::WorkDir() + QStringLiteral("param.ini");
    QString err;
    if (!m_pForm->SaveConfigFile(path)) {
        CMessageBox::Warn(this, tr("提示"), tr("配置文件保存失败!"));
        return;
    }
    const bool ok = CLocalProger(m_pProger).DownConfig(path, err);
    CMessageBox::Info(this, tr("提示"), ok ? tr("配置下发成功") : tr("配置下发失败: %1").arg(err));
}
