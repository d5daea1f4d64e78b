#include "uploadercfgdlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

uploadercfgdlg::uploadercfgdlg(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(tr("离线镜像分发参数"));
    checkBox_date = new QCheckBox(tr("限制时限"), this);
    checkBox_date->setObjectName(QStringLiteral("checkBox_date"));
    comboBox_date = new QComboBox(this);
    comboBox_date->setObjectName(QStringLiteral("comboBox_date"));
    // The number rides along as item data, whatever the language shows.
    const QList<QPair<QString, int>> periods{{tr("365天"), 365}, {tr("90天"), 90}, {tr("30天"), 30},
                                             {tr("10天"), 10},   {tr("3天"), 3},   {tr("1天"), 1}};
    for (const auto &p : periods)
        comboBox_date->addItem(p.first, p.second);
    checkBox_count = new QCheckBox(tr("限制次数"), this);
    checkBox_count->setObjectName(QStringLiteral("checkBox_count"));
    edit_count = new QLineEdit(this);
    edit_count->setObjectName(QStringLiteral("edit_count"));
    edit_count->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("^[0-9]*$")), edit_count));
    edit_count->setMaxLength(9);   // stays an int

    auto *form = new QFormLayout;
    form->addRow(checkBox_date);
    form->addRow(tr("往后期限："), comboBox_date);
    form->addRow(checkBox_count);
    form->addRow(tr("设置次数："), edit_count);
    auto *buttons = new QDialogButtonBox(this);
    buttons->addButton(tr("确定"), QDialogButtonBox::AcceptRole);
    buttons->addButton(tr("取消"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

int uploadercfgdlg::Days() const
{
    if (!checkBox_date->isChecked())
        return 0;
    return comboBox_date->currentData().toInt();
}

int uploadercfgdlg::Count() const
{
    return checkBox_count->isChecked() ? edit_count->text().toInt() : 0;
}
