#include "seldatadlg.h"
#include "ui_seldatadlg.h"

#include <QMenu>

SelDataDlg::SelDataDlg(QWidget *parent) : QDialog(parent), ui(new Ui::SelDataDlg)
{
    ui->setupUi(this);
    ui->tree_data->setContextMenuPolicy(Qt::CustomContextMenu);
}

SelDataDlg::~SelDataDlg() = default;

void SelDataDlg::InitData(const QStringList &items, const QVariantList &data)
{
    m_data.Init(items, data);
    m_bShowing = true;
    ui->tree_data->clear();
    for (const QString &text : items) {
        auto *item = new QTreeWidgetItem(ui->tree_data, QStringList(text));
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    }
    m_bShowing = false;
    ShowState();
}

void SelDataDlg::InitSeled(const QStringList &items)
{
    m_data.CheckItems(items);
    ShowState();
}

void SelDataDlg::SetSingleSelection(bool single)
{
    m_data.SetSingleSelection(single);
    ui->check_all->setVisible(!single);
    ui->tree_data->setSelectionMode(single ? QAbstractItemView::SingleSelection
                                           : QAbstractItemView::ExtendedSelection);
    ShowState();
}

bool SelDataDlg::SingleSelection() const
{
    return m_data.SingleSelection();
}

QVariantList SelDataDlg::GetSelData() const
{
    return m_data.SelData();
}

QList<int> SelDataDlg::GetSelIndex() const
{
    return m_data.SelIndex();
}

QStringList SelDataDlg::GetSelItems() const
{
    return m_data.SelItems();
}

void SelDataDlg::CheckSelectedRows(bool checked)
{
    const QList<QTreeWidgetItem *> rows = ui->tree_data->selectedItems();
    for (QTreeWidgetItem *item : rows)
        m_data.SetChecked(ui->tree_data->indexOfTopLevelItem(item), checked);
    ShowState();
}

void SelDataDlg::ShowState()
{
    m_bShowing = true;
    for (int i = 0; i < ui->tree_data->topLevelItemCount(); ++i)
        ui->tree_data->topLevelItem(i)->setCheckState(0, m_data.IsChecked(i) ? Qt::Checked : Qt::Unchecked);
    ui->check_all->setChecked(m_data.AllChecked());
    m_bShowing = false;
}

void SelDataDlg::on_check_all_clicked(bool checked)
{
    m_data.SetAll(checked);
    ShowState();
}

void SelDataDlg::on_tree_data_itemDoubleClicked(QTreeWidgetItem *item, int)
{
    m_data.Toggle(ui->tree_data->indexOfTopLevelItem(item));
    ShowState();
}

void SelDataDlg::on_tree_data_itemChanged(QTreeWidgetItem *item, int column)
{
    if (m_bShowing || column != 0)
        return;
    m_data.SetChecked(ui->tree_data->indexOfTopLevelItem(item), item->checkState(0) == Qt::Checked);
    ShowState();
}

void SelDataDlg::on_tree_data_customContextMenuRequested(const QPoint &pos)
{
    QMenu menu(this);
    menu.addAction(tr("选中"), this, [this] { CheckSelectedRows(true); });
    menu.addAction(tr("不选"), this, [this] { CheckSelectedRows(false); });
    menu.exec(ui->tree_data->viewport()->mapToGlobal(pos));
}

void SelDataDlg::on_btn_ok_clicked()
{
    accept();
}

void SelDataDlg::on_btn_cancel_clicked()
{
    reject();
}
