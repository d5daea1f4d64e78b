#include "cstationprogers.h"

QString CStationProger::Text() const
{
    switch (kind) {
    case Hid:
        return QStringLiteral("USB-HID ") + key + (info.m_strID.isEmpty() ? QString() : QLatin1Char(' ') + info.m_strID);
    case Vcp:
        return QStringLiteral("USB-VCP ") + key + (info.m_strID.isEmpty() ? QString() : QLatin1Char(' ') + info.m_strID);
    case Disk:
        break;
    }
    return info.GetDesc();
}

void CStationProgers::Rebuild(const QList<ProgerInfo> &disks, const QStringList &hidPaths, const QStringList &ports,
                              const Identity &identity)
{
    const QString currentKey = Current() ? Current()->key : QString();
    m_list.clear();
    for (const ProgerInfo &disk : disks)
        m_list.append({CStationProger::Disk, disk.m_strRoot, disk});
    for (const QString &path : hidPaths) {
        ProgerInfo info;
        if (identity)
            identity(path, info);
        info.m_bHID = true;
        info.m_strRoot = path;
        m_list.append({CStationProger::Hid, path, info});
    }
    for (const QString &port : ports) {
        ProgerInfo info;
        if (identity)
            identity(port, info);
        info.m_bVCP = true;
        info.m_strRoot = port;
        m_list.append({CStationProger::Vcp, port, info});
    }
    m_nCurrent = m_list.isEmpty() ? -1 : 0;
    for (int i = 0; i < m_list.size(); ++i) {
        if (!currentKey.isEmpty() && m_list.at(i).key == currentKey)
            m_nCurrent = i;
    }
}

bool CStationProgers::SetCurrentRow(int row)
{
    if (row < 0 || row >= m_list.size())
        return false;
    m_nCurrent = row;
    return true;
}

const CStationProger *CStationProgers::Current() const
{
    return m_nCurrent < 0 ? nullptr : &m_list.at(m_nCurrent);
}
