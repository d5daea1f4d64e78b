#pragma once
// A programmer as the server's list holds it: the programmer model plus how a
// remote one is reached.
#include "progerinfo.h"

class MyProger : public ProgerInfo
{
public:
    enum LinkState { LinkLocal = 0, LinkRemote = 1 };
    enum Via { ViaNone, ViaTcp, ViaMqtt, ViaNsq };
    // Remote status of a programmer reached through a station.
    static constexpr int RemoteStatus = 6;

    MyProger() = default;
    explicit MyProger(const ProgerInfo &info) : ProgerInfo(info) {}

    static MyProger TcpRemote(const QString &ip, int port);
    static MyProger UidRemote(Via via, const QString &uid);

    // A programmer on a USB disk (or a programmer folder) of this PC.
    bool IsDisk() const { return m_bLocal && !m_bHID && !m_bVCP && !m_bRemote; }
    Via RemoteVia() const;
    // Same remote route (address and port, or kind and UID).
    bool SameRemote(const MyProger &other) const;
    // What the "位置" column shows: the disk root, "address:port" or the UID.
    QString LocationText() const;
    // How the log and the configuration panel name it: "ID (location)".
    QString Name() const;

    bool m_bRemote = false;
    int m_nLinkState = LinkLocal;
    QString m_strRemoteIP;
    int m_nRemotePort = 0;
    QString m_strUID;
};
