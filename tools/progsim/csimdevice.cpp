#include "csimdevice.h"

#include <QDateTime>
#include <QTextStream>

CSimDevice::CSimDevice(const SimIdentity &identity, QObject *parent) : QObject(parent), m_identity(identity) {}

void CSimDevice::Log(const QString &text) const
{
    static QTextStream out(stdout);
    out << QStringLiteral("[%1] %2 %3: %4")
               .arg(QDateTime::currentDateTime().toString(QStringLiteral("hh:mm:ss.zzz")), Mode(), m_identity.strID, text)
        << Qt::endl;
}
