#include "progerinfo.h"

#include <QCoreApplication>

ProgerInfo::ProgerInfo(const QString &root, const QString &id, const QString &model, const QString &ver)
    : m_strRoot(root), m_strID(id), m_strModel(model), m_strVer(ver)
{
}

ProgerInfo::ProgerInfo(const ProgerInfo *other)
{
    if (!other)
        return;
    m_strRoot = other->m_strRoot;
    m_strID = other->m_strID;
    m_strModel = other->m_strModel;
    m_strVer = other->m_strVer;
    m_strHW = other->m_strHW;
    m_bLocal = other->m_bLocal;
    m_strIP = other->m_strIP;
    m_nPort = other->m_nPort;
}

void ProgerInfo::MarkHIDProger(const QString &id)
{
    m_strID = id;
    m_bHID = true;
    m_bLocal = true;
}

void ProgerInfo::MarkVCPProger(const QString &id, const QString &root)
{
    m_strID = id;
    m_strRoot = root;
    m_bLocal = true;
    m_bVCP = true;
}

void ProgerInfo::MarkAsTCPRemote(const QString &host, int port)
{
    m_bLocal = false;
    m_strIP = host;
    m_nPort = port;
}

void ProgerInfo::MarkAsNsqRemote(const QString &id)
{
    m_bLocal = false;
    m_strNsqID = id;
}

void ProgerInfo::MarkAsMQTTRemote(const QString &id)
{
    m_bLocal = false;
    m_strMqttID = id;
}

QString ProgerInfo::GetLocation() const
{
    if (m_bLocal) {
        if (m_bHID)
            return QStringLiteral("HID");
        if (m_bVCP)
            return QStringLiteral("VCP");
        return QStringLiteral("local");
    }
    if (!m_strNsqID.isEmpty() || !m_strMqttID.isEmpty())
        return QCoreApplication::translate("ProgerInfo", "云端连接");
    if (!m_strIP.isEmpty())
        return QStringLiteral("%1:%2").arg(m_strIP).arg(m_nPort);
    return QCoreApplication::translate("ProgerInfo", "未知");
}

// Short name of the programmer: its ID over HID; otherwise the root without ":"
// and "/", so "F:/" becomes "F". A Unix mount root ("/media/user/PROG/") would
// collapse into one word that way, so it is named by its last path component.
static QString ShortName(const ProgerInfo &info)
{
    if (info.m_bHID)
        return info.m_strID;
    QString root = info.m_strRoot;
    if (root.startsWith(QLatin1Char('/'))) {
        while (root.endsWith(QLatin1Char('/')))
            root.chop(1);
        return root.section(QLatin1Char('/'), -1);
    }
    return root.remove(QLatin1Char(':')).remove(QLatin1Char('/'));
}

QString ProgerInfo::GetDesc() const
{
    return QStringLiteral("%1-%2").arg(GetLocation(), ShortName(*this));
}
