#include "hidsimwire.h"

#include <QRegularExpression>

QString HidSimWire::SocketFileName(quint16 vid, quint16 pid, const QString &serial)
{
    return QStringLiteral("%1_%2_%3.hidsock")
        .arg(vid, 4, 16, QLatin1Char('0'))
        .arg(pid, 4, 16, QLatin1Char('0'))
        .arg(serial);
}

bool HidSimWire::ParseSocketFileName(const QString &fileName, quint16 &vid, quint16 &pid, QString &serial)
{
    static const QRegularExpression re(QStringLiteral("^([0-9a-fA-F]{4})_([0-9a-fA-F]{4})_([A-Za-z0-9-]{1,32})\\.hidsock$"));
    const QRegularExpressionMatch m = re.match(fileName);
    if (!m.hasMatch())
        return false;
    vid = quint16(m.captured(1).toUInt(nullptr, 16));
    pid = quint16(m.captured(2).toUInt(nullptr, 16));
    serial = m.captured(3);
    return true;
}

bool HidSimWire::IsValidSerial(const QString &serial)
{
    static const QRegularExpression re(QStringLiteral("^[A-Za-z0-9-]{1,32}$"));
    return re.match(serial).hasMatch();
}

QByteArray HidSimWire::Encode(const QByteArray &report)
{
    QByteArray out;
    out.reserve(report.size() + 2);
    out.append(char(report.size() & 0xFF));
    out.append(char((report.size() >> 8) & 0xFF));
    out.append(report);
    return out;
}

QList<QByteArray> HidSimWire::SplitReports(const char *bytes, int count)
{
    QList<QByteArray> reports;
    for (int off = 0; off < count; off += kReportSize) {
        QByteArray report(kReportSize, '\0');
        memcpy(report.data(), bytes + off, size_t(qMin(kReportSize, count - off)));
        reports.append(report);
    }
    return reports;
}

bool HidSimWire::Decoder::Next(QByteArray &report)
{
    if (m_bBad || m_buf.size() < 2)
        return false;
    const int len = quint8(m_buf[0]) | (quint8(m_buf[1]) << 8);
    if (len == 0 || len > kMaxReport) {
        m_bBad = true;
        m_buf.clear();
        return false;
    }
    if (m_buf.size() < len + 2)
        return false;
    report = m_buf.mid(2, len);
    m_buf.remove(0, len + 2);
    return true;
}
