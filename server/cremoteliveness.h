#pragma once
// Whether the stations the server serves answer: a station that is asked who
// it is and has not answered after six ticks of the service timer is dropped.
#include <cremotekey.h>

#include <QList>

class CRemoteLiveness
{
public:
    static constexpr int kTicks = 6;

    // A station was added and asked: it is waiting, with a full countdown.
    void Add(const CRemoteKey &key);
    // The station answered (with or without a programmer): no longer waiting.
    void Answered(const CRemoteKey &key);
    void Remove(const CRemoteKey &key);
    void Clear() { m_list.clear(); }

    // One tick: the waiting stations whose countdown ran out, which are forgotten.
    QList<CRemoteKey> Tick();

    bool Contains(const CRemoteKey &key) const;
    bool IsWaiting(const CRemoteKey &key) const;

private:
    struct Entry
    {
        CRemoteKey key;
        bool waiting = true;
        int countdown = kTicks;
    };
    Entry *Find(const CRemoteKey &key);

    QList<Entry> m_list;
};
