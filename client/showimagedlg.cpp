#include "showimagedlg.h"

#include "clocalproger.h"

#include <cmessagebox.h>
#include <progerinfo.h>

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

showimagedlg::showimagedlg(const CStationProger *proger, QWidget *parent) : QDialog(parent), m_pProger(proger)
{
    setObjectName(QStringLiteral("showimagedlg"));
    setWindowTitle(tr("查看镜像配置 ") + (proger ? proger->Text() : QString()));
    resize(520, 360);
    auto *layout = new QVBoxLayout(this);
    lv_image = new QTreeWidget(this);
    lv_image->setObjectName(QStringLiteral("lv_image"));
    lv_image->setRootIsDecorated(false);
    lv_image->setHeaderLabels({tr("镜像号"), tr("镜像名称"), tr("最后修改时间")});
    layout->addWidget(lv_image, 1);
    auto *buttons = new QDialogButtonBox(this);
    const struct
    {
        const char *name;
        QString text;
    } defs[] = {{"btn_clearone", tr("清除镜像")}, {"btn_clearall", tr("清除全部")}, {"btn_sel", tr("选择镜像")}};
    for (const auto &def : defs)
        buttons->addButton(def.text, QDialogButtonBox::ActionRole)->setObjectName(QLatin1String(def.name));
    buttons->addButton(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("btn_cancel"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    QMetaObject::connectSlotsByName(this);
}

bool showimagedlg::Refill()
{
    lv_image->clear();
    QList<ImageInfo> images;
    QString err;
    if (!CLocalProger(m_pProger).ReadImages(images, err))
        return false;
    for (const ImageInfo &image : qAsConst(images))
        lv_image->addTopLevelItem(new QTreeWidgetItem({QString::number(image.m_nIndex), image.m_strName, image.m_strTime}));
    return true;
}

QString showimagedlg::CurrentName() const
{
    const QTreeWidgetItem *item = lv_image->currentItem();
    return item ? item->text(1) : QString();
}

void showimagedlg::Report(bool ok, const QString &err)
{
    if (!ok)
        CMessageBox::Warn(this, tr("提示"), err);
    Refill();
}

void showimagedlg::on_btn_clearone_clicked()
{
    const QString name = CurrentName();
    if (name.isEmpty()) {
        CMessageBox::Warn(this, tr("提示"), tr("镜像未选择!"));
        return;
    }
    if (CMessageBox::Ask(this, tr("提示"), tr("确定清除镜像%1?").arg(name)) != QMessageBox::Yes)
        return;
    QString err;
    const bool ok = CLocalProger(m_pProger).ClearImage(name, err);
    Report(ok, err);
    if (ok)
        emit sig_hasClear(name);
}

void showimagedlg::on_btn_clearall_clicked()
{
    if (CMessageBox::Ask(this, tr("提示"), tr("确定清除全部镜像?")) != QMessageBox::Yes)
        return;
    QString err;
    const bool ok = CLocalProger(m_pProger).ClearAllImages(err);
    Report(ok, err);
    if (ok)
        emit sig_hasClear(QStringLiteral("ALL"));
}

void showimagedlg::on_btn_sel_clicked()
{
    m_strSelected = CurrentName();
    if (m_strSelected.isEmpty()) {
        CMessageBox::Warn(this, tr("提示"), tr("镜像未选择!"));
        return;
    }
    accept();
}
