#include "cbufinfo.h"

CBufInfo::~CBufInfo() = default;

CBufList::~CBufList()
{
    qDeleteAll(m_list);
}

CBufInfo *CBufList::FindPeer(const QString &ip, int port) const
{
    for (CBufInfo *info : m_list) {
        if (info->m_nPort == port && info->m_strIP == ip)
            return info;
    }
    return nullptr;
}

CBufInfo *CBufList::FindKey(const QString &key) const
{
    for (CBufInfo *info : m_list) {
        if (info->m_strKey == key)
            return info;
    }
    return nullptr;
}

CBufInfo *CBufList::Peer(const QString &ip, int port)
{
    CBufInfo *info = FindPeer(ip, port);
    if (!info) {
        info = new CBufInfo(ip, port, QString());
        m_list.append(info);
    }
    return info;
}

CBufInfo *CBufList::Key(const QString &key)
{
    CBufInfo *info = FindKey(key);
    if (!info) {
        info = new CBufInfo(QString(), 0, key);
        m_list.append(info);
    }
    return info;
}

void CBufList::Remove(CBufInfo *info)
{
    if (info && m_list.removeOne(info))
        delete info;
}
