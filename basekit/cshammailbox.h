#pragma once
// Shared-memory mailbox of one program key. The owner creates it and empties it;
// other programs append short messages to it. The segment holds a 32-bit byte
// count (host order) and then the messages back to back, each a typed 0x68 head
// (the sender's module number as type, the payload length) and the payload.
#include "basekit_global.h"
#include "ckeylock.h"

#include <QByteArray>
#include <QList>
#include <QSharedMemory>
#include <QString>

#include <memory>

class BASEKIT_EXPORT CShamMailbox
{
public:
    static constexpr int SegmentSize = 10240;
    // The largest payload that can ever fit into an empty mailbox.
    static constexpr int MaxPayload = SegmentSize - 11;

    struct Message
    {
        quint8 sender;
        QByteArray payload;
    };
    enum Claim { Claimed, Running, Failed };
    enum Post { Delivered, NotRunning, Full };

    explicit CShamMailbox(const QString &key);
    ~CShamMailbox();
    CShamMailbox(const CShamMailbox &) = delete;
    CShamMailbox &operator=(const CShamMailbox &) = delete;

    const QString &Key() const { return m_strKey; }

    // Owner side: claims the key (a segment left behind by a dead owner is
    // taken over and emptied), then takes what arrived.
    Claim Own();
    QList<Message> Take();

    // Sender side: appends one message to key's mailbox.
    static Post Send(const QString &key, quint8 sender, const QByteArray &payload);

    // The format on a segment's bytes.
    static bool Fits(quint32 count, int payloadSize);
    static bool Append(char *segment, quint8 sender, const QByteArray &payload);
    // Messages of a segment; stops at the first head or length that does not hold.
    static QList<Message> Read(const char *segment);

private:
    QString m_strKey;
    CKeyLock m_lock;
    std::unique_ptr<QSharedMemory> m_pShm;
    bool m_bOwner = false;
};
