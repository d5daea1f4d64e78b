#pragma once
// The process-wide queue of messages waiting to reach other programs' mailboxes.
// It keeps the newest MaxEntries; a new entry beyond that drops the oldest.
#include "basekit_global.h"

#include <QByteArray>
#include <QString>

#include <functional>

class BASEKIT_EXPORT CShamOutbox
{
public:
    static constexpr int MaxEntries = 1024;

    struct Entry
    {
        QString strKey;
        QByteArray payload;
    };

    static void Add(const QString &key, const QByteArray &payload);
    // Hands the entries over in order; one that deliver refuses stays first in
    // line and ends the round.
    static void Deliver(const std::function<bool(const Entry &)> &deliver);
    static int Size();
};
