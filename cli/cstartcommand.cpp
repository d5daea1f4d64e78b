#include "cstartcommand.h"

#include "cliexit.h"
#include "clioptions.h"
#include "cprogrammers.h"

#include <cusbhosthandler.h>
#include <usbcmd.h>

#include <QJsonArray>
#include <QJsonObject>

namespace {
QString Hex(quint32 value, int width = 0)
{
    return QStringLiteral("0x") + QString::number(value, 16).toUpper().rightJustified(width, QLatin1Char('0'));
}

// Only programmers on a control link can be started or counted. "all" keeps
// those; a disk programmer named on purpose is a usage error.
bool UsbOnly(const QString &command, const QString &to, QVector<CCliTarget> &targets, QString &err)
{
    QVector<CCliTarget> usb;
    for (const CCliTarget &t : qAsConst(targets)) {
        if (t.bUsb) {
            usb.append(t);
        } else if (to.trimmed() != QLatin1String("all")) {
            err = QStringLiteral("%1: %2 is a USB-disk programmer; only HID and VCP programmers can do that").arg(command, t.Label());
            return false;
        }
    }
    targets = usb;
    return true;
}

// Discovery and the choice of --to shared by both commands; an exit status
// when it ends the command, -1 to go on.
int Choose(const QString &command, const QCommandLineParser &parser, CCliProgrammers &progs, QVector<CCliTarget> &targets,
           int &timeoutMs)
{
    QString err;
    if (!CliOptions::TimeoutMs(parser, timeoutMs, err)) {
        CCliOut::Error(err);
        return CliExit::Usage;
    }
    const QString to = parser.isSet(QStringLiteral("to")) ? parser.value(QStringLiteral("to")) : QStringLiteral("all");
    const int unreached = progs.Reach(to, timeoutMs, targets, false);
    if (unreached >= 0)
        return unreached;
    if (!UsbOnly(command, to, targets, err)) {
        CCliOut::Error(err);
        return CliExit::Usage;
    }
    if (targets.isEmpty()) {
        CCliOut::Error(QStringLiteral("no HID or VCP programmer found"));
        return CliExit::NoLink;
    }
    return -1;
}
} // namespace

void CStartCommand::Setup(QCommandLineParser &parser)
{
    parser.addOption(CCliProgrammers::ToOption());
    parser.addOption({QStringLiteral("image"), QStringLiteral("Program with this image number instead of the active one."),
                      QStringLiteral("n")});
    parser.addOption(CliOptions::Timeout(60));
}

int CStartCommand::Run(const QCommandLineParser &parser, const CCliOut &out)
{
    if (!parser.isSet(QStringLiteral("to"))) {
        CCliOut::Error(QStringLiteral("start needs --to ID[,ID...] or --to all"));
        return CliExit::Usage;
    }
    int image = -1;
    if (parser.isSet(QStringLiteral("image"))) {
        bool ok = false;
        image = parser.value(QStringLiteral("image")).toInt(&ok, 10);
        if (!ok || image < 0 || image > UsbCmd::kMaxImageNo) {
            CCliOut::Error(QStringLiteral("--image needs an image number from 0 to %1").arg(UsbCmd::kMaxImageNo));
            return CliExit::Usage;
        }
    }
    CCliProgrammers progs;
    QVector<CCliTarget> targets;
    int timeoutMs = 0;
    const int early = Choose(Name(), parser, progs, targets, timeoutMs);
    if (early >= 0)
        return early;
    for (CCliTarget &t : targets)
        if (!t.LinkFailed())
            progs.Usb().Start(*t.pDev, image);
    progs.Usb().Wait(timeoutMs);

    QJsonArray rows;
    for (const CCliTarget &t : qAsConst(targets)) {
        const CCliUsbDev &dev = *t.pDev;
        QJsonObject row{{QStringLiteral("id"), t.Label()}, {QStringLiteral("way"), t.Way()}, {QStringLiteral("pass"), t.Ok()}};
        QString line;
        if (dev.m_bResult) {
            row[QStringLiteral("code")] = Hex(dev.m_nCode, 2);
            if (t.Ok()) {
                row[QStringLiteral("checksum")] = Hex(dev.m_nChecksum);
                line = QStringLiteral("%1 pass code %2 checksum %3").arg(t.Label(), Hex(dev.m_nCode, 2), Hex(dev.m_nChecksum));
            } else {
                row[QStringLiteral("reason")] = t.Reason();
                line = QStringLiteral("%1 fail code %2 %3").arg(t.Label(), Hex(dev.m_nCode, 2), t.Reason());
            }
        } else {
            // Refused to start, or no result at all.
            row[QStringLiteral("reason")] = t.Reason();
            line = QStringLiteral("%1 fail %2").arg(t.Label(), t.Reason());
        }
        rows.append(row);
        out.Line(line);
    }
    out.Document({{QStringLiteral("results"), rows}});
    return CliJobs::Status(targets);
}

void CCountersCommand::Setup(QCommandLineParser &parser)
{
    parser.addOption(CCliProgrammers::ToOption());
    parser.addOption(CliOptions::Timeout(10));
}

int CCountersCommand::Run(const QCommandLineParser &parser, const CCliOut &out)
{
    CCliProgrammers progs;
    QVector<CCliTarget> targets;
    int timeoutMs = 0;
    const int early = Choose(Name(), parser, progs, targets, timeoutMs);
    if (early >= 0)
        return early;
    QJsonArray rows;
    int status = CliExit::Ok;
    for (const CCliTarget &t : qAsConst(targets)) {
        const CCliUsbDev &dev = *t.pDev;
        if (t.LinkFailed() || !dev.m_bCounters) {
            CCliOut::Error(t.LinkFailed() ? dev.m_strError : QStringLiteral("%1: no counters").arg(t.Label()));
            status = CliExit::NoLink;
            continue;
        }
        rows.append(QJsonObject{{QStringLiteral("id"), t.Label()},
                                {QStringLiteral("way"), t.Way()},
                                {QStringLiteral("pass"), qint64(dev.m_nPass)},
                                {QStringLiteral("fail"), qint64(dev.m_nFail)},
                                {QStringLiteral("total"), qint64(dev.m_nPass) + qint64(dev.m_nFail)}});
        out.Line(QStringLiteral("%1 pass %2 fail %3").arg(t.Label(), QString::number(dev.m_nPass), QString::number(dev.m_nFail)));
    }
    out.Document({{QStringLiteral("counters"), rows}});
    return status;
}
