#pragma once
// Check list of objects to choose from; the rules live in CSelData.
#include "basekit_global.h"
#include "cseldata.h"

#include <QDialog>
#include <memory>

class QTreeWidgetItem;

namespace Ui {
class SelDataDlg;
}

class BASEKIT_EXPORT SelDataDlg : public QDialog
{
    Q_OBJECT

public:
    explicit SelDataDlg(QWidget *parent = nullptr);
    ~SelDataDlg() override;

    void InitData(const QStringList &items, const QVariantList &data = QVariantList());
    void InitSeled(const QStringList &items);
    void SetSingleSelection(bool single);
    bool SingleSelection() const;

    // Checked items: their data, their row numbers, their texts.
    QVariantList GetSelData() const;
    QList<int> GetSelIndex() const;
    QStringList GetSelItems() const;

    // Checks or unchecks the selected rows (the context menu's actions).
    void CheckSelectedRows(bool checked);

private slots:
    void on_btn_ok_clicked();
    void on_btn_cancel_clicked();
    void on_check_all_clicked(bool checked);
    void on_tree_data_itemDoubleClicked(QTreeWidgetItem *item, int column);
    void on_tree_data_itemChanged(QTreeWidgetItem *item, int column);
    void on_tree_data_customContextMenuRequested(const QPoint &pos);

private:
    void ShowState();

    std::unique_ptr<Ui::SelDataDlg> ui;
    CSelData m_data;
    bool m_bShowing = false;
};
