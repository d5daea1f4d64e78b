#pragma once
// Topic names of a station UID: the server listens on "<uid>_C2S" and talks
// on "<uid>_S2C"; the client the reverse.
#include "protocolside.h"

#include <QString>

class LinkTopics
{
public:
    static QString ToServer(const QString &uid) { return uid + QStringLiteral("_C2S"); }
    static QString ToStation(const QString &uid) { return uid + QStringLiteral("_S2C"); }

    // The key of the station's remote programmer: what its messages' topics
    // yield (the first 24 characters), also for a longer NSQ UID.
    static QString Key(const QString &uid) { return uid.left(24); }

    // The topic this program subscribes to.
    static QString Listen(const QString &uid) { return QEL_SERVER_SIDE ? ToServer(uid) : ToStation(uid); }
    // The topic this program publishes on.
    static QString Talk(const QString &uid) { return QEL_SERVER_SIDE ? ToStation(uid) : ToServer(uid); }
};
