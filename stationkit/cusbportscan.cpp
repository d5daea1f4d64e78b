#include "cusbportscan.h"

#include <cpubactions.h>

#include <QFileInfo>
#include <QSerialPortInfo>

namespace {
struct UsbId
{
    quint16 vid;
    quint16 pid;
};
// The CDC port of the programmers (ST's virtual COM port ID) and the two IDs
// the programmers also use for HID, for composite devices.
constexpr UsbId kProgIds[] = {{0x0483, 0x5740}, {0x0483, 0x5751}, {0x0485, 0x5760}};

QString g_strIniFile = QStringLiteral("qel720A_server.ini");

// "ttyACM0" and "/dev/ttyACM0" name the same port.
QString baseName(const QString &port)
{
    return port.startsWith(QLatin1Char('/')) ? QFileInfo(port).fileName() : port;
}
} // namespace

CUsbPortScan::CUsbPortScan(QObject *parent) : QObject(parent)
{
    connect(&m_poll, &QTimer::timeout, this, &CUsbPortScan::Poll);
}

void CUsbPortScan::SetIniFile(const QString &iniFile)
{
    g_strIniFile = iniFile;
}

QString CUsbPortScan::IniFile()
{
    return g_strIniFile;
}

QStringList CUsbPortScan::ExtraPorts()
{
    QStringList ports;
    const QString env = QString::fromLocal8Bit(qgetenv("QEL_VCP_PORTS"));
    for (const QString &p : env.split(QLatin1Char(':'), Qt::SkipEmptyParts))
        ports << p.trimmed();
    const QString ini = CPubActions(true).GetString(QStringLiteral("USB"), QStringLiteral("VCPPORTS"), QString(), g_strIniFile);
    for (const QString &p : ini.split(QLatin1Char(','), Qt::SkipEmptyParts))
        ports << p.trimmed();
    ports.removeAll(QString());
    ports.removeDuplicates();
    return ports;
}

bool CUsbPortScan::IsProgrammerId(quint16 vid, quint16 pid)
{
    for (const UsbId &id : kProgIds)
        if (id.vid == vid && id.pid == pid)
            return true;
    return false;
}

bool CUsbPortScan::IsProgrammerPort(const QString &port)
{
    if (port.isEmpty())
        return false;
    if (ExtraPorts().contains(port))
        return true;
    const QString name = baseName(port);
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts()) {
        if (info.portName() == name && info.hasVendorIdentifier() && info.hasProductIdentifier())
            return IsProgrammerId(info.vendorIdentifier(), info.productIdentifier());
    }
    return false;
}

QStringList CUsbPortScan::PresentPorts()
{
    QStringList ports;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts()) {
        if (info.hasVendorIdentifier() && info.hasProductIdentifier()
            && IsProgrammerId(info.vendorIdentifier(), info.productIdentifier()))
            ports << info.portName();
    }
    for (const QString &p : ExtraPorts())
        if (QFileInfo::exists(p))
            ports << p;
    return ports;
}

void CUsbPortScan::Start()
{
    const QStringList extra = ExtraPorts();
    for (const QString &p : PresentPorts())
        if (!extra.contains(p))
            emit sigPortCome(p);
    Poll();
    m_poll.start(kPollMs);
}

void CUsbPortScan::Stop()
{
    m_poll.stop();
}

void CUsbPortScan::Poll()
{
    // Only the extra list: hardware ports come through the device watch.
    const QStringList extra = ExtraPorts();
    for (const QString &p : extra) {
        const bool exists = QFileInfo::exists(p);
        if (exists && !m_present.contains(p)) {
            m_present.insert(p);
            emit sigPortCome(p);
        } else if (!exists && m_present.contains(p)) {
            m_present.remove(p);
            emit sigPortRemove(p);
        }
    }
    for (auto it = m_present.begin(); it != m_present.end();) {
        if (!extra.contains(*it)) {
            emit sigPortRemove(*it);
            it = m_present.erase(it);
        } else {
            ++it;
        }
    }
}
