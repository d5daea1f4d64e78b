#include "myproger.h"

MyProger MyProger::TcpRemote(const QString &ip, int port)
{
    MyProger p;
    p.MarkAsTCPRemote(ip, port);
    p.m_bRemote = true;
    p.m_nLinkState = LinkRemote;
    p.m_strRemoteIP = ip;
    p.m_nRemotePort = port;
    return p;
}

MyProger MyProger::UidRemote(Via via, const QString &uid)
{
    MyProger p;
    if (via == ViaNsq)
        p.MarkAsNsqRemote(uid);
    else
        p.MarkAsMQTTRemote(uid);
    p.m_bRemote = true;
    p.m_nLinkState = LinkRemote;
    p.m_strUID = uid;
    return p;
}

MyProger::Via MyProger::RemoteVia() const
{
    if (!m_bRemote)
        return ViaNone;
    if (!m_strNsqID.isEmpty())
        return ViaNsq;
    if (!m_strMqttID.isEmpty())
        return ViaMqtt;
    return ViaTcp;
}

bool MyProger::SameRemote(const MyProger &other) const
{
    if (!m_bRemote || !other.m_bRemote || RemoteVia() != other.RemoteVia())
        return false;
    if (RemoteVia() == ViaTcp)
        return m_strRemoteIP == other.m_strRemoteIP && m_nRemotePort == other.m_nRemotePort;
    return m_strUID == other.m_strUID;
}

QString MyProger::LocationText() const
{
    if (!m_bRemote)
        return m_bHID ? m_strID : m_strRoot;
    if (RemoteVia() == ViaTcp)
        return QStringLiteral("%1:%2").arg(m_strRemoteIP).arg(m_nRemotePort);
    return m_strUID;
}

QString MyProger::Name() const
{
    const QString where = LocationText();
    if (m_strID.isEmpty() || m_strID == where)
        return where;
    return QStringLiteral("%1 (%2)").arg(m_strID, where);
}
