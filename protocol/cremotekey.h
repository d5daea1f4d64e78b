#pragma once
// Who a remote programmer is: a TCP peer (address and port) or a station UID
// on a broker (MQTT or NSQ).
#include <QString>

struct CRemoteKey
{
    enum Kind { None, Tcp, Mqtt, Nsq };

    Kind kind = None;
    QString strIP;
    int nPort = 0;
    QString strUID;

    static CRemoteKey ByPeer(const QString &ip, int port) { return {Tcp, ip, port, {}}; }
    static CRemoteKey ByUID(Kind kind, const QString &uid) { return {kind, {}, 0, uid}; }

    bool IsValid() const { return kind != None; }
    bool operator==(const CRemoteKey &o) const
    {
        return kind == o.kind && strIP == o.strIP && nPort == o.nPort && strUID == o.strUID;
    }
    bool operator!=(const CRemoteKey &o) const { return !(*this == o); }
    // "address:port" or the UID, as the programmer list shows it.
    QString Text() const { return kind == Tcp ? QStringLiteral("%1:%2").arg(strIP).arg(nPort) : strUID; }
};
