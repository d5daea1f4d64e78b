#pragma once
// Lock file of a program key in the per-user runtime folder. Byte 0 is held by
// the running owner for its whole life; byte 1 guards its mailbox. These are
// open-file-description locks: the system drops them when the owner dies, so a
// killed program never blocks the next start, and two threads of one process
// holding separate KeyLocks exclude each other.
#include "basekit_global.h"

#include <QString>

class BASEKIT_EXPORT CKeyLock
{
public:
    // create: make the lock file when missing (owners); senders only open it.
    CKeyLock(const QString &key, bool create);
    ~CKeyLock();
    CKeyLock(const CKeyLock &) = delete;
    CKeyLock &operator=(const CKeyLock &) = delete;

    bool IsOpen() const { return m_fd >= 0; }
    // Takes the owner byte without waiting; false when a live owner holds it.
    bool TryOwn();
    // Waits for the mailbox byte.
    bool LockMailbox();
    void UnlockMailbox();

    // Whether a live process owns key; takes no lock itself.
    static bool IsOwned(const QString &key);
    // File that names key's shared-memory segment.
    static QString SegmentFile(const QString &key);

private:
    static QString FileBase(const QString &key);
    int m_fd = -1;
};

// Holds the mailbox byte for one scope.
class CMailboxGuard
{
public:
    explicit CMailboxGuard(CKeyLock &lock) : m_lock(lock), m_bLocked(lock.LockMailbox()) {}
    ~CMailboxGuard()
    {
        if (m_bLocked)
            m_lock.UnlockMailbox();
    }
    bool IsLocked() const { return m_bLocked; }

private:
    CKeyLock &m_lock;
    bool m_bLocked;
};
