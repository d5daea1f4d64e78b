#include "showimagedlg.h"

#include <cmessagebox.h>

#include <QDebug>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

showimagedlg::showimagedlg(const CProgerWay &way, QWidget *parent) : QDialog(parent), m_way(way)
{
    setObjectName(QStringLiteral("showimagedlg"));
    setWindowTitle(m_way.Title(tr("查看镜像配置 ")));
    resize(540, 380);
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

void showimagedlg::Refill()
{
    if (m_way.GetKind() == CProgerWay::KindRemote) {
        if (!m_way.RequestImages())
            emit sigLog(tr("远程下载器连接不可用"));
        return;
    }
    QList<ImageInfo> images;
    QString err;
    if (!m_way.ReadImages(images, err))
        qDebug() << "showimagedlg::Refill" << err;
    ShowImages(images);
}

void showimagedlg::ShowImages(const QList<ImageInfo> &images)
{
    lv_image->clear();
    for (const ImageInfo &image : images)
        lv_image->addTopLevelItem(new QTreeWidgetItem({QString::number(image.m_nIndex), image.m_strName, image.m_strTime}));
}

QString showimagedlg::CurrentName(bool &selected) const
{
    const QTreeWidgetItem *item = lv_image->currentItem();
    selected = item && item->isSelected();
    return selected ? item->text(1) : QString();
}

void showimagedlg::on_btn_clearone_clicked()
{
    bool selected = false;
    const QString name = CurrentName(selected);
    if (!selected) {
        CMessageBox::Warn(this, tr("提示"), tr("镜像未选择!"));
        return;
    }
    if (CMessageBox::Ask(this, tr("提示"), tr("确定清除镜像%1?").arg(name)) != QMessageBox::Yes)
        return;
    if (m_way.GetKind() == CProgerWay::KindRemote) {
        if (!m_way.ClearRemoteImage(name))
            emit sigLog(tr("远程下载器连接不可用"));
        return;
    }
    QString err;
    const bool ok = m_way.DeleteImage(name, err);
    Refill();
    if (!ok) {
        emit sigLog(err);
        return;
    }
    emit sig_hasClear(name);
    emit sig_UpdateIndex();
}

void showimagedlg::on_btn_clearall_clicked()
{
    if (CMessageBox::Ask(this, tr("提示"), tr("确定清除全部镜像?")) != QMessageBox::Yes)
        return;
    if (m_way.GetKind() == CProgerWay::KindRemote) {
        if (!m_way.ClearRemoteImage(QStringLiteral("all")))
            emit sigLog(tr("远程下载器连接不可用"));
        return;
    }
    QString err;
    const bool ok = m_way.DeleteAllImages(err);
    Refill();
    if (!ok) {
        emit sigLog(err);
        return;
    }
    emit sig_hasClear(QStringLiteral("ALL"));
}

void showimagedlg::on_btn_sel_clicked()
{
    bool selected = false;
    const QString name = CurrentName(selected);
    if (!selected) {
        CMessageBox::Warn(this, tr("提示"), tr("镜像未选择!"));
        return;
    }
    if (name.isEmpty()) {
        CMessageBox::Warn(this, tr("提示"), tr("镜像名称为空!"));
        return;
    }
    m_strSelected = name;
    accept();
}
