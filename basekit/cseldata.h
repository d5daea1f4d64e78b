#pragma once
// Check state of a list of objects to choose from (the rules behind SelDataDlg).
#include "basekit_global.h"

#include <QList>
#include <QStringList>
#include <QVariant>
#include <QVector>

class BASEKIT_EXPORT CSelData
{
public:
    // An item without data stands for itself: its data is its text.
    void Init(const QStringList &items, const QVariantList &data = QVariantList());
    // Pre-checks the items with these texts (only the first one in single selection).
    void CheckItems(const QStringList &items);

    // In single selection checking one item unchecks all others.
    void SetSingleSelection(bool single);
    bool SingleSelection() const { return m_bSingle; }

    int Count() const { return m_items.size(); }
    QString Item(int index) const;
    QVariant Data(int index) const;
    bool IsChecked(int index) const;
    void SetChecked(int index, bool checked);
    void Toggle(int index);
    // Checking all is refused in single selection.
    void SetAll(bool checked);
    bool AllChecked() const;

    QList<int> SelIndex() const;
    QVariantList SelData() const;
    QStringList SelItems() const;

private:
    QStringList m_items;
    QVariantList m_data;
    QVector<bool> m_checked;
    bool m_bSingle = false;
};
