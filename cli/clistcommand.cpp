#include "clistcommand.h"

#include "cliexit.h"
#include "clioptions.h"
#include "cprogrammers.h"


#include <QJsonArray>

namespace {
QJsonObject ToJson(const ProgerInfo &info, const QString &way)
{
    QJsonObject o;
    o[QStringLiteral("way")] = way;
    o[QStringLiteral("id")] = info.m_strID;
    o[QStringLiteral("name")] = info.GetDesc();
    o[QStringLiteral("root")] = info.m_strRoot;
    o[QStringLiteral("model")] = info.m_strModel;
    o[QStringLiteral("firmware")] = info.m_strVer;
    o[QStringLiteral("hardware")] = info.m_strHW;
    return o;
}

QString TextLine(const QJsonObject &o)
{
    QString line = QStringLiteral("%1 %2 %3 %4 %5 %6")
                       .arg(o[QStringLiteral("way")].toString(), -4)
                       .arg(o[QStringLiteral("id")].toString(), -24)
                       .arg(o[QStringLiteral("name")].toString(), o[QStringLiteral("model")].toString(),
                            o[QStringLiteral("firmware")].toString(), o[QStringLiteral("hardware")].toString());
    if (o.contains(QStringLiteral("pass")))
        line += QStringLiteral(" pass %1 fail %2").arg(o[QStringLiteral("pass")].toInt()).arg(o[QStringLiteral("fail")].toInt());
    return line;
}
} // namespace

void CListCommand::Setup(QCommandLineParser &parser)
{
    parser.addOption(CliOptions::Timeout(5));
}

int CListCommand::Run(const QCommandLineParser &parser, const CCliOut &out)
{
    int timeoutMs = 0;
    QString err;
    if (!CliOptions::TimeoutMs(parser, timeoutMs, err)) {
        CCliOut::Error(err);
        return CliExit::Usage;
    }
    CCliProgrammers progs;
    progs.Discover(timeoutMs);
    QJsonArray rows;
    for (const ProgerInfo &info : progs.Disks())
        rows.append(ToJson(info, QStringLiteral("disk")));

    bool linkFailed = false;
    for (const auto &dev : progs.Usb().Devices()) {
        if (!dev->m_strError.isEmpty()) {
            CCliOut::Error(dev->m_strError);
            linkFailed = true;
            continue;
        }
        QJsonObject o = ToJson(dev->m_info, dev->IsHid() ? QStringLiteral("hid") : QStringLiteral("vcp"));
        if (dev->IsHid())
            o[QStringLiteral("path")] = dev->m_strName;
        else
            o[QStringLiteral("port")] = dev->m_strPort;
        // The server keys a USB programmer by its UID or device; the identity file names it too.
        o[QStringLiteral("identity")] = dev->m_strIdentity;
        if (dev->m_bCounters) {
            o[QStringLiteral("pass")] = qint64(dev->m_nPass);
            o[QStringLiteral("fail")] = qint64(dev->m_nFail);
        }
        rows.append(o);
    }

    out.Document({{QStringLiteral("programmers"), rows}});
    for (const QJsonValue &row : rows)
        out.Line(TextLine(row.toObject()));
    if (rows.isEmpty()) {
        if (!linkFailed)
            CCliOut::Error(QStringLiteral("no programmer found"));
        return CliExit::NoLink;
    }
    return linkFailed ? CliExit::NoLink : CliExit::Ok;
}
