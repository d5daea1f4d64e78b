#include "cshammailbox.h"

#include "commonhead.h"

#include <QDebug>

#include <cstring>
#include <memory>

namespace {
constexpr int kCountSize = 4;

quint32 countOf(const char *segment)
{
    return CommonHead::Char2UInt(segment);
}

std::unique_ptr<QSharedMemory> segmentOf(const QString &key)
{
    auto shm = std::make_unique<QSharedMemory>();
    shm->setNativeKey(CKeyLock::SegmentFile(key));
    return shm;
}
} // namespace

CShamMailbox::CShamMailbox(const QString &key) : m_strKey(key), m_lock(key, true), m_pShm(segmentOf(key)) {}

CShamMailbox::~CShamMailbox()
{
    if (m_pShm->isAttached())
        m_pShm->detach();
}

CShamMailbox::Claim CShamMailbox::Own()
{
    if (!m_lock.IsOpen())
        return Failed;
    if (!m_lock.TryOwn())
        return Running;
    m_bOwner = true;
    if (!m_pShm->create(SegmentSize)) {
        // A killed owner leaves its segment behind: take it over (through a
        // fresh object, the failed one keeps its error).
        const bool left = m_pShm->error() == QSharedMemory::AlreadyExists;
        m_pShm = segmentOf(m_strKey);
        if (!left || !m_pShm->attach()) {
            qWarning() << "CShamMailbox:" << m_strKey << m_pShm->errorString();
            return Failed;
        }
        if (m_pShm->size() < SegmentSize) {
            m_pShm->detach();
            return Failed;
        }
        qInfo() << "CShamMailbox: taking over the mailbox left by a stopped" << m_strKey;
    }
    CMailboxGuard guard(m_lock);
    CommonHead::UInt2Char(static_cast<char *>(m_pShm->data()), 0);
    return Claimed;
}

QList<CShamMailbox::Message> CShamMailbox::Take()
{
    QList<Message> messages;
    if (!m_bOwner || !m_pShm->isAttached())
        return messages;
    CMailboxGuard guard(m_lock);
    if (!guard.IsLocked())
        return messages;
    char *segment = static_cast<char *>(m_pShm->data());
    if (countOf(segment) > 0) {
        messages = Read(segment);
        CommonHead::UInt2Char(segment, 0);
    }
    return messages;
}

CShamMailbox::Post CShamMailbox::Send(const QString &key, quint8 sender, const QByteArray &payload)
{
    // A segment without a live owner is left over from a killed program.
    if (!CKeyLock::IsOwned(key))
        return NotRunning;
    CKeyLock lock(key, false);
    const std::unique_ptr<QSharedMemory> shm = segmentOf(key);
    if (!lock.IsOpen() || !shm->attach(QSharedMemory::ReadWrite))
        return NotRunning;
    Post post = NotRunning;
    if (shm->size() >= SegmentSize) {
        CMailboxGuard guard(lock);
        if (guard.IsLocked())
            post = Append(static_cast<char *>(shm->data()), sender, payload) ? Delivered : Full;
    }
    shm->detach();
    return post;
}

bool CShamMailbox::Fits(quint32 count, int payloadSize)
{
    return payloadSize >= 0 && payloadSize <= 0xFFFF && qint64(count) + payloadSize + 10 < SegmentSize;
}

bool CShamMailbox::Append(char *segment, quint8 sender, const QByteArray &payload)
{
    const quint32 count = countOf(segment);
    if (!Fits(count, payload.size()))
        return false;
    char *at = segment + kCountSize + count;
    CommonHead::MakeShamHead(at, sender, quint32(payload.size()));
    std::memcpy(at + CommonHead::HeadSize, payload.constData(), size_t(payload.size()));
    CommonHead::UInt2Char(segment, count + quint32(payload.size()) + CommonHead::HeadSize);
    return true;
}

QList<CShamMailbox::Message> CShamMailbox::Read(const char *segment)
{
    QList<Message> messages;
    // The count comes from another program: never walk past the segment.
    const qint64 end = kCountSize + qMin<qint64>(countOf(segment), SegmentSize - kCountSize);
    qint64 pos = kCountSize;
    while (pos + CommonHead::HeadSize <= end) {
        quint8 sender = 0;
        if (!CommonHead::CheckShamHead(segment + pos, sender))
            break;
        const qint64 size = CommonHead::HeadLength(segment + pos);
        if (pos + CommonHead::HeadSize + size > end)
            break;
        messages.append(Message{sender, QByteArray(segment + pos + CommonHead::HeadSize, int(size))});
        pos += CommonHead::HeadSize + size;
    }
    return messages;
}
