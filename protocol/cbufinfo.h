#pragma once
// Reassembly buffer of one peer: bytes received and not yet used.
#include <QByteArray>
#include <QList>
#include <QString>

class CBufInfo
{
public:
    CBufInfo() = default;
    CBufInfo(const QString &ip, int port, const QString &key) : m_strIP(ip), m_nPort(port), m_strKey(key) {}
    virtual ~CBufInfo();

    QString m_strIP;  // TCP peer address
    int m_nPort = 0;  // TCP peer port
    QString m_strKey; // HID device key
    QByteArray m_buf;
};

// The buffers of a link, one per peer; owns them.
class CBufList
{
public:
    CBufList() = default;
    ~CBufList();
    CBufList(const CBufList &) = delete;
    CBufList &operator=(const CBufList &) = delete;

    CBufInfo *FindPeer(const QString &ip, int port) const;
    CBufInfo *FindKey(const QString &key) const;
    // Finds or creates.
    CBufInfo *Peer(const QString &ip, int port);
    CBufInfo *Key(const QString &key);
    void Remove(CBufInfo *info);
    int Size() const { return m_list.size(); }

private:
    QList<CBufInfo *> m_list;
};
