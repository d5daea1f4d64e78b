#include "selindexdlg.h"

#include <cnamevalidator.h>
#include <imagebuilder.h>

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QToolTip>

selindexdlg::selindexdlg(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("selindexdlg"));
    setWindowTitle(tr("镜像号设置"));
    auto *form = new QFormLayout(this);
    edit_name = new QLineEdit(this);
    edit_name->setObjectName(QStringLiteral("edit_name"));
    auto *validator = new CNameValidator(edit_name);
    edit_name->setValidator(validator);
    connect(validator, &CNameValidator::sigRefused, this, [this](const QString &text) {
        QToolTip::showText(edit_name->mapToGlobal(QPoint(0, edit_name->height())), text, edit_name);
    });
    combo_index = new QComboBox(this);
    combo_index->setObjectName(QStringLiteral("combo_index"));
    for (int i = 0; i <= CImageBuilder::MaxImageIndex; ++i)
        combo_index->addItem(QString::number(i), i);
    form->addRow(tr("镜像名称:"), edit_name);
    form->addRow(tr("镜像号:"), combo_index);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
}

void selindexdlg::SetName(const QString &name)
{
    QString clean = name;
    for (const QChar c : CNameValidator::Forbidden())
        clean.remove(c);
    edit_name->setText(clean);
}

QString selindexdlg::Name() const
{
    return edit_name->text().trimmed();
}

int selindexdlg::Index() const
{
    return combo_index->currentData().toInt();
}

void selindexdlg::SetIndex(int index)
{
    combo_index->setCurrentIndex(combo_index->findData(index));
}
