#pragma once
// Message objects: what is sent (SendPacket) and what was received
// (RecvPacket), with the routing fields that say where a message came from or
// goes to.
#include "cremotekey.h"
#include "protocolside.h"

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QString>

class ProgerInfo;

QEL_PROTO_NS_BEGIN

class Packet
{
public:
    Packet() = default;
    Packet(const Packet &) = default;
    Packet &operator=(const Packet &) = default;
    virtual ~Packet();

    // Stores the programmer and takes its serial (its ID) as the USB device key.
    void SetProger(ProgerInfo *proger);
    void SetPeer(const QString &ip, int port);
    void SetNsqTopic(const QString &topic);
    void SetMqttTopic(const QString &topic);

    ProgerInfo *m_pProger = nullptr;
    QString m_strNsqTopic;
    QString m_strMqttTopic;
    QString m_strIP;
    int m_nPort = 0;
    quint8 m_nNo = 0;
    QString m_serial;
};

class SendPacket : public Packet
{
public:
    // Which link a message takes.
    enum Route {
        ToPeer,  // the TCP peer, else the NSQ topic, else the MQTT topic
        ToUsb,   // the HID link, device key m_serial
        ToCloud, // the cloud connection
    };

    // Builds and hands on the message; true when a link took it.
    virtual bool Send();

    QString m_strExtra;

protected:
    bool Deliver(Route route, const QByteArray &text) const;
};

class RecvPacket : public Packet
{
public:
    virtual void HandleData();

    QString GetString(const QString &key) const;
    int GetInt(const QString &key) const;
    bool GetBool(const QString &key) const;
    // A missing "ret" counts as success.
    bool IsOk() const;

    // Gives an answer the way back: the same TCP peer, the reply topics.
    void RouteReply(Packet &answer) const;

    QJsonObject m_json;
};

// A sent request waiting for its answer; owns the request.
class WaitCmd
{
public:
    explicit WaitCmd(SendPacket *packet = nullptr);
    virtual ~WaitCmd();
    WaitCmd(const WaitCmd &) = delete;
    WaitCmd &operator=(const WaitCmd &) = delete;

    quint8 GetNo() const;
    // One tick of the owner's time-out clock; true once ticks reach the limit.
    bool CheckTimeout(int limitTicks);

    // Removes and deletes the first entry whose number is no; false when none matches.
    static bool Acknowledge(QList<WaitCmd *> &list, quint8 no);

    SendPacket *m_pPacket = nullptr;
    int m_nTicks = 0;
    int m_nRetry = 0;
};

// The parsed message, or null for text that is not a known message.
RecvPacket *ParsePacket(const QByteArray &text);

// "<uid>_C2S" <-> "<uid>_S2C"; empty for anything else or shorter than 28.
QString ReplyTopic(const QString &topic);
// The station UID a topic belongs to: its first 24 characters (empty when shorter than 28).
QString TopicKey(const QString &topic);
// Where a received message came from: its TCP peer, else the UID of its NSQ
// topic, else that of its MQTT topic; invalid when it has no origin.
CRemoteKey RemoteKeyOf(const Packet &packet);

QEL_PROTO_NS_END
