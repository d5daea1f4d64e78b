#include "dbprocessdlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

template <class W> W *Named(W *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

} // namespace

QStringList dbprocessdlg::Results()
{
    return {CRecordStore::kNull, CRecordStore::kPassed, QStringLiteral("测试失败"), CRecordStore::kSecondPass};
}

QStringList dbprocessdlg::Reasons()
{
    return {CRecordStore::kNull,       QStringLiteral("SWD通信失败"), QStringLiteral("按键问题"),
            QStringLiteral("SD卡问题"), QStringLiteral("接口问题"),     QStringLiteral("屏幕问题")};
}

dbprocessdlg::dbprocessdlg(Mode mode, QWidget *parent) : QDialog(parent), m_mode(mode)
{
    auto *form = new QFormLayout;
    edit_uid = Named(new QLineEdit(this), "edit_uid");
    edit_uid->setMaxLength(64);
    if (mode == Find) {
        setWindowTitle(tr("数据库查找"));
        checkID = Named(new QRadioButton(tr("按ID查找"), this), "checkID");
        checkCondition = Named(new QRadioButton(tr("按条件查找"), this), "checkCondition");
        checkID->setChecked(true);
        combo_result = Named(new QComboBox(this), "combo_result");
        combo_result->addItems(Results());
        combo_reason = Named(new QComboBox(this), "combo_reason");
        combo_reason->addItems(Reasons());
        btnFind = Named(new QPushButton(tr("查找"), this), "btnFind");
        form->addRow(checkID);
        form->addRow(tr("下载器ID"), edit_uid);
        form->addRow(checkCondition);
        form->addRow(tr("测试结果"), combo_result);
        form->addRow(tr("失败原因"), combo_reason);
        form->addRow(btnFind);
        connect(checkID, &QRadioButton::toggled, this, &dbprocessdlg::checkChanged);
        connect(btnFind, &QPushButton::clicked, this, &dbprocessdlg::on_btnFind_clicked);
        checkChanged();
    } else {
        setWindowTitle(tr("数据库追加/更新"));
        combo_model = Named(new QComboBox(this), "combo_model");
        combo_model->addItems({QStringLiteral("QEL720A"), QStringLiteral("QEL720C")});
        combo_hwver = Named(new QComboBox(this), "combo_hwver");
        combo_hwver->addItems({QStringLiteral("VER_A"), QStringLiteral("VER_B")});
        edit_abstract = Named(new QLineEdit(this), "edit_abstract");
        edit_source = Named(new QLineEdit(this), "edit_source");
        edit_staff = Named(new QLineEdit(this), "edit_staff");
        edit_analysis = Named(new QLineEdit(this), "edit_analysis");
        edit_content = Named(new QLineEdit(this), "edit_content");
        edit_resultRepair = Named(new QLineEdit(this), "edit_resultRepair");
        btnAdd = Named(new QPushButton(tr("追加/更新"), this), "btnAdd");
        form->addRow(tr("序列号"), edit_uid);
        form->addRow(tr("编程器版本"), combo_model);
        form->addRow(tr("硬件版本"), combo_hwver);
        form->addRow(tr("问题摘要"), edit_abstract);
        form->addRow(tr("来源"), edit_source);
        form->addRow(tr("检测人员"), edit_staff);
        form->addRow(tr("原因分析"), edit_analysis);
        form->addRow(tr("维修内容"), edit_content);
        form->addRow(tr("维修结果"), edit_resultRepair);
        form->addRow(btnAdd);
        connect(btnAdd, &QPushButton::clicked, this, &dbprocessdlg::on_btnAdd_clicked);
    }
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
}

void dbprocessdlg::checkChanged()
{
    const bool byId = checkID->isChecked();
    edit_uid->setEnabled(byId);
    combo_result->setEnabled(!byId);
    combo_reason->setEnabled(!byId);
}

void dbprocessdlg::on_btnFind_clicked()
{
    ProgrammerRecord record;
    if (checkID->isChecked()) {
        record.uid = edit_uid->text().trimmed();
        if (record.uid.isEmpty())
            return;
    } else {
        record.result = combo_result->currentText();
        record.failReason = combo_reason->currentText();
    }
    emit sig2Find(record);
}

void dbprocessdlg::on_btnAdd_clicked()
{
    qelmsg::RepairRecord record;
    record.uid = edit_uid->text().trimmed();
    record.model = combo_model->currentText();
    record.hwVer = combo_hwver->currentText();
    record.abstract = edit_abstract->text().trimmed();
    record.source = edit_source->text().trimmed();
    record.staff = edit_staff->text().trimmed();
    record.analysis = edit_analysis->text().trimmed();
    record.content = edit_content->text().trimmed();
    record.resultRepair = edit_resultRepair->text().trimmed();
    emit sig2Add(record);
}
