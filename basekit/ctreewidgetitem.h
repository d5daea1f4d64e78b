#pragma once
// Tree item carrying a pointer, an unsigned number, an integer and a variant,
// plus helpers shared by the suite's trees.
#include "basekit_global.h"

#include <QTreeWidgetItem>
#include <QVariant>

class QTreeWidget;

class BASEKIT_EXPORT CTreeWidgetItem : public QTreeWidgetItem
{
public:
    enum { ItemType = QTreeWidgetItem::UserType + 1 };

    explicit CTreeWidgetItem(const QStringList &texts = QStringList());
    CTreeWidgetItem(QTreeWidget *tree, const QStringList &texts = QStringList());
    CTreeWidgetItem(QTreeWidgetItem *parent, const QStringList &texts = QStringList());

    // The pointer is not owned.
    void SetItemData(void *data) { m_pData = data; }
    void *GetItemData() const { return m_pData; }
    void SetItemUInt(quint32 value) { m_nUInt = value; }
    quint32 GetItemUInt() const { return m_nUInt; }
    void SetItemValue(int value) { m_nValue = value; }
    int GetItemValue() const { return m_nValue; }
    void SetItemVariant(const QVariant &value) { m_varData = value; }
    QVariant GetItemVariant() const { return m_varData; }

    // New child owned by this item.
    CTreeWidgetItem *AddChild(const QStringList &texts);
    // Text colour of every column.
    void SetItemColor(const QColor &color);
    // Unselects this item and everything below it.
    void ClearSelected();
    // Last item below this one in display order; this item when it has no children.
    QTreeWidgetItem *lastItem();

private:
    void *m_pData = nullptr;
    quint32 m_nUInt = 0;
    int m_nValue = 0;
    QVariant m_varData;
};

// Common look of the suite's trees.
BASEKIT_EXPORT void InitTreeStyle(QTreeWidget *tree);
// Every column as wide as its content.
BASEKIT_EXPORT void AdjustTreeSize(QTreeWidget *tree);
// Last item of the tree in display order; null for an empty tree.
BASEKIT_EXPORT QTreeWidgetItem *LastTreeItem(QTreeWidget *tree);
// Detaches item from its parent or tree; the caller owns it afterwards.
BASEKIT_EXPORT QTreeWidgetItem *TakeTreeWidgetItem(QTreeWidgetItem *item);
