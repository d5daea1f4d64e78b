#include "cremoteliveness.h"

CRemoteLiveness::Entry *CRemoteLiveness::Find(const CRemoteKey &key)
{
    for (Entry &e : m_list)
        if (e.key == key)
            return &e;
    return nullptr;
}

void CRemoteLiveness::Add(const CRemoteKey &key)
{
    if (!key.IsValid())
        return;
    Entry *e = Find(key);
    if (!e) {
        m_list.append({key, true, kTicks});
        return;
    }
    e->waiting = true;
    e->countdown = kTicks;
}

void CRemoteLiveness::Answered(const CRemoteKey &key)
{
    if (Entry *e = Find(key)) {
        e->waiting = false;
        e->countdown = kTicks;
    }
}

void CRemoteLiveness::Remove(const CRemoteKey &key)
{
    for (int i = m_list.size() - 1; i >= 0; --i)
        if (m_list.at(i).key == key)
            m_list.removeAt(i);
}

QList<CRemoteKey> CRemoteLiveness::Tick()
{
    QList<CRemoteKey> gone;
    for (int i = m_list.size() - 1; i >= 0; --i) {
        Entry &e = m_list[i];
        if (!e.waiting || --e.countdown >= 1)
            continue;
        gone.prepend(e.key);
        m_list.removeAt(i);
    }
    return gone;
}

bool CRemoteLiveness::Contains(const CRemoteKey &key) const
{
    for (const Entry &e : m_list)
        if (e.key == key)
            return true;
    return false;
}

bool CRemoteLiveness::IsWaiting(const CRemoteKey &key) const
{
    for (const Entry &e : m_list)
        if (e.key == key)
            return e.waiting;
    return false;
}
