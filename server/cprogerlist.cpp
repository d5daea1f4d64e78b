#include "cprogerlist.h"

#include <algorithm>

MyProger *CProgerList::Append(const MyProger &proger)
{
    m_rows.push_back(Row{std::make_unique<MyProger>(proger), false});
    return m_rows.back().proger.get();
}

bool CProgerList::Remove(const MyProger *proger)
{
    const int row = IndexOf(proger);
    if (row < 0)
        return false;
    m_rows.erase(m_rows.begin() + row);
    return true;
}

MyProger *CProgerList::At(int row) const
{
    return row >= 0 && row < Count() ? m_rows[size_t(row)].proger.get() : nullptr;
}

int CProgerList::IndexOf(const MyProger *proger) const
{
    const auto it = std::find_if(m_rows.begin(), m_rows.end(), [proger](const Row &r) { return r.proger.get() == proger; });
    return it == m_rows.end() ? -1 : int(it - m_rows.begin());
}

void CProgerList::SetChecked(const MyProger *proger, bool checked)
{
    const int row = IndexOf(proger);
    if (row >= 0)
        m_rows[size_t(row)].checked = checked;
}

bool CProgerList::IsChecked(const MyProger *proger) const
{
    const int row = IndexOf(proger);
    return row >= 0 && m_rows[size_t(row)].checked;
}

MyProger *CProgerList::Selected() const
{
    for (const Row &r : m_rows)
        if (r.checked)
            return r.proger.get();
    return nullptr;
}

QList<MyProger *> CProgerList::Disks() const
{
    QList<MyProger *> disks;
    for (const Row &r : m_rows)
        if (r.proger->IsDisk())
            disks << r.proger.get();
    return disks;
}

MyProger *CProgerList::FindRemote(const MyProger &key) const
{
    for (const Row &r : m_rows)
        if (r.proger->SameRemote(key))
            return r.proger.get();
    return nullptr;
}

bool CProgerList::IsListedModel(const QString &model)
{
    return model == QLatin1String("QEL720A") || model == QLatin1String("QEL720C");
}

bool CProgerList::NeedsFirmCheck(const QString &model)
{
    return model == QLatin1String("QEL720A") || model == QLatin1String("QEL720B");
}

CProgerList::DiskChanges CProgerList::CompareDisks(const QList<ProgerInfo> &found) const
{
    DiskChanges changes;
    QList<MyProger *> rows = Disks();
    for (const ProgerInfo &info : found) {
        const auto same = std::find_if(rows.begin(), rows.end(), [&info](const MyProger *row) {
            return row->m_strRoot == info.m_strRoot && row->m_strID == info.m_strID;
        });
        if (same == rows.end()) {
            changes.came << info;
        } else {
            changes.kept << qMakePair(*same, info);
            rows.erase(same);
        }
    }
    changes.gone = rows;
    return changes;
}

bool CFirmCheckMemo::FirstTime(const QString &id, const QString &version)
{
    const QString key = id + QLatin1Char('\n') + version;
    if (m_seen.contains(key))
        return false;
    m_seen.insert(key);
    return true;
}
