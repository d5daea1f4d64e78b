#include "cshamoutbox.h"

#include <QList>
#include <QMutex>
#include <QMutexLocker>

namespace {
struct Queue
{
    QMutex mutex;
    QList<CShamOutbox::Entry> entries;
};

Queue &queue()
{
    static Queue q;
    return q;
}
} // namespace

void CShamOutbox::Add(const QString &key, const QByteArray &payload)
{
    Queue &q = queue();
    QMutexLocker locker(&q.mutex);
    q.entries.append(Entry{key, payload});
    while (q.entries.size() > MaxEntries)
        q.entries.removeFirst();
}

void CShamOutbox::Deliver(const std::function<bool(const Entry &)> &deliver)
{
    Queue &q = queue();
    QMutexLocker locker(&q.mutex);
    while (!q.entries.isEmpty() && deliver(q.entries.first()))
        q.entries.removeFirst();
}

int CShamOutbox::Size()
{
    Queue &q = queue();
    QMutexLocker locker(&q.mutex);
    return q.entries.size();
}
