#include "cseldata.h"

void CSelData::Init(const QStringList &items, const QVariantList &data)
{
    m_items = items;
    m_data = data;
    m_checked = QVector<bool>(items.size(), false);
}

void CSelData::CheckItems(const QStringList &items)
{
    for (int i = 0; i < m_items.size(); ++i) {
        if (items.contains(m_items.at(i))) {
            SetChecked(i, true);
            if (m_bSingle)
                return;
        }
    }
}

void CSelData::SetSingleSelection(bool single)
{
    m_bSingle = single;
    if (!single)
        return;
    // Keep only the first checked item.
    const QList<int> checked = SelIndex();
    for (int i = 1; i < checked.size(); ++i)
        m_checked[checked.at(i)] = false;
}

QString CSelData::Item(int index) const
{
    return m_items.value(index);
}

QVariant CSelData::Data(int index) const
{
    if (index < 0 || index >= m_items.size())
        return QVariant();
    return index < m_data.size() ? m_data.at(index) : QVariant(m_items.at(index));
}

bool CSelData::IsChecked(int index) const
{
    return m_checked.value(index, false);
}

void CSelData::SetChecked(int index, bool checked)
{
    if (index < 0 || index >= m_checked.size())
        return;
    if (checked && m_bSingle)
        m_checked.fill(false);
    m_checked[index] = checked;
}

void CSelData::Toggle(int index)
{
    SetChecked(index, !IsChecked(index));
}

void CSelData::SetAll(bool checked)
{
    if (checked && m_bSingle)
        return;
    m_checked.fill(checked);
}

bool CSelData::AllChecked() const
{
    return !m_checked.isEmpty() && !m_checked.contains(false);
}

QList<int> CSelData::SelIndex() const
{
    QList<int> out;
    for (int i = 0; i < m_checked.size(); ++i)
        if (m_checked.at(i))
            out << i;
    return out;
}

QVariantList CSelData::SelData() const
{
    QVariantList out;
    for (const int i : SelIndex())
        out << Data(i);
    return out;
}

QStringList CSelData::SelItems() const
{
    QStringList out;
    for (const int i : SelIndex())
        out << m_items.at(i);
    return out;
}
