#include "ctreewidgetitem.h"

#include <QHeaderView>
#include <QTreeWidget>

CTreeWidgetItem::CTreeWidgetItem(const QStringList &texts) : QTreeWidgetItem(texts, ItemType) {}

CTreeWidgetItem::CTreeWidgetItem(QTreeWidget *tree, const QStringList &texts) : QTreeWidgetItem(tree, texts, ItemType)
{
}

CTreeWidgetItem::CTreeWidgetItem(QTreeWidgetItem *parent, const QStringList &texts)
    : QTreeWidgetItem(parent, texts, ItemType)
{
}

CTreeWidgetItem *CTreeWidgetItem::AddChild(const QStringList &texts)
{
    return new CTreeWidgetItem(this, texts);
}

void CTreeWidgetItem::SetItemColor(const QColor &color)
{
    const int columns = qMax(columnCount(), treeWidget() ? treeWidget()->columnCount() : 0);
    for (int c = 0; c < columns; ++c)
        setForeground(c, color);
}

void CTreeWidgetItem::ClearSelected()
{
    setSelected(false);
    QList<QTreeWidgetItem *> pending;
    for (int i = 0; i < childCount(); ++i)
        pending << child(i);
    while (!pending.isEmpty()) {
        QTreeWidgetItem *item = pending.takeLast();
        item->setSelected(false);
        for (int i = 0; i < item->childCount(); ++i)
            pending << item->child(i);
    }
}

QTreeWidgetItem *CTreeWidgetItem::lastItem()
{
    QTreeWidgetItem *item = this;
    while (item->childCount() > 0)
        item = item->child(item->childCount() - 1);
    return item;
}

void InitTreeStyle(QTreeWidget *tree)
{
    if (!tree)
        return;
    tree->setAlternatingRowColors(true);
    tree->setSelectionBehavior(QAbstractItemView::SelectRows);
    tree->setUniformRowHeights(true);
    tree->setAnimated(false);
    tree->header()->setDefaultAlignment(Qt::AlignCenter);
    tree->header()->setStretchLastSection(true);
}

void AdjustTreeSize(QTreeWidget *tree)
{
    if (!tree)
        return;
    for (int c = 0; c < tree->columnCount(); ++c)
        tree->resizeColumnToContents(c);
}

QTreeWidgetItem *LastTreeItem(QTreeWidget *tree)
{
    if (!tree || tree->topLevelItemCount() == 0)
        return nullptr;
    QTreeWidgetItem *item = tree->topLevelItem(tree->topLevelItemCount() - 1);
    while (item->childCount() > 0)
        item = item->child(item->childCount() - 1);
    return item;
}

QTreeWidgetItem *TakeTreeWidgetItem(QTreeWidgetItem *item)
{
    if (!item)
        return nullptr;
    if (QTreeWidgetItem *parent = item->parent())
        return parent->takeChild(parent->indexOfChild(item));
    if (QTreeWidget *tree = item->treeWidget())
        return tree->takeTopLevelItem(tree->indexOfTopLevelItem(item));
    return item;
}
