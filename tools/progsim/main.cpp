// progsim: a simulated programmer for tests and the demo.
//   progsim --disk <folder> --id <24 hex> [--model QEL720A] [--ver V2.1.5] [--hw H1.0] [--keep]
//   progsim --vcp --id <24 hex> [--dir <folder>] [--link <path>] [behaviour options]
//   progsim --hid --id <24 hex> [--dir <folder>] [--hid-dir <folder>] [--usb-id 0483:5751] [behaviour options]
#include "burnhub.h"
#include "cdisksim.h"
#include "chidsim.h"
#include "csignalquit.h"
#include "cvcpsim.h"
#include "simbehaviour.h"

#include <hidsimwire.h>

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

#include <memory>

namespace {

struct Options
{
    QCommandLineOption disk{QStringLiteral("disk"), QStringLiteral("USB-disk mode: keep the programmer folder <folder>."),
                            QStringLiteral("folder")};
    QCommandLineOption vcp{QStringLiteral("vcp"), QStringLiteral("Virtual COM port mode: answer control frames on a pseudo-terminal.")};
    QCommandLineOption hid{QStringLiteral("hid"), QStringLiteral("USB-HID mode: answer control frames on a simulated HID device.")};
    QCommandLineOption id{QStringLiteral("id"), QStringLiteral("Programmer ID, 24 hexadecimal digits."), QStringLiteral("id")};
    QCommandLineOption model{QStringLiteral("model"), QStringLiteral("Model word (default QEL720A)."), QStringLiteral("model"),
                             QStringLiteral("QEL720A")};
    QCommandLineOption ver{QStringLiteral("ver"), QStringLiteral("Firmware version (default V2.1.5)."), QStringLiteral("version"),
                           QStringLiteral("V2.1.5")};
    QCommandLineOption hw{QStringLiteral("hw"), QStringLiteral("Hardware version (default H1.0)."), QStringLiteral("hw"),
                          QStringLiteral("H1.0")};
    QCommandLineOption keep{QStringLiteral("keep"), QStringLiteral("Disk mode: keep the identity file when stopping.")};
    QCommandLineOption dir{QStringLiteral("dir"),
                           QStringLiteral("VCP/HID: the programmer's files in <folder> (default: a temporary folder)."),
                           QStringLiteral("folder")};
    QCommandLineOption link{QStringLiteral("link"), QStringLiteral("VCP: make a symbolic link <path> to the port."),
                            QStringLiteral("path")};
    QCommandLineOption hidDir{QStringLiteral("hid-dir"),
                              QStringLiteral("HID: simulation folder the host enumerates (default: $QEL_HID_SIM_DIR)."),
                              QStringLiteral("folder")};
    QCommandLineOption usbId{QStringLiteral("usb-id"), QStringLiteral("HID: vendor:product in hex (default 0483:5751)."),
                             QStringLiteral("vid:pid"), QStringLiteral("0483:5751")};
    QCommandLineOption result{QStringLiteral("result"),
                              QStringLiteral("Result codes of the runs, taken in turn, e.g. 0 or 0,0,0xE3 (default 0 = pass)."),
                              QStringLiteral("codes"), QStringLiteral("0")};
    QCommandLineOption failEvery{QStringLiteral("fail-every"), QStringLiteral("Every n-th run fails with --fail-code."),
                                 QStringLiteral("n"), QStringLiteral("0")};
    QCommandLineOption failCode{QStringLiteral("fail-code"), QStringLiteral("Code of the runs --fail-every fails (default 0xE3)."),
                                QStringLiteral("code"), QStringLiteral("0xE3")};
    QCommandLineOption startMs{QStringLiteral("start-ms"), QStringLiteral("Time a run takes, start to result (default 100)."),
                               QStringLiteral("ms"), QStringLiteral("100")};
    QCommandLineOption flmTimeout{QStringLiteral("flm-timeout"),
                                  QStringLiteral("Report <n> flash-algorithm time-outs before each result (default 0: none)."),
                                  QStringLiteral("n"), QStringLiteral("0")};
    QCommandLineOption counters{QStringLiteral("counters"), QStringLiteral("History counters at power-up (default 0/0)."),
                                QStringLiteral("pass/fail"), QStringLiteral("0/0")};
    QCommandLineOption flashSize{QStringLiteral("flash-size"), QStringLiteral("Target flash size in bytes (default 0x20000)."),
                                 QStringLiteral("bytes"), QStringLiteral("0x20000")};
    QCommandLineOption flashBase{QStringLiteral("flash-base"), QStringLiteral("Address of the target flash (default 0)."),
                                 QStringLiteral("addr"), QStringLiteral("0")};
    QCommandLineOption flashData{QStringLiteral("flash-data"),
                                 QStringLiteral("Bytes the target flash holds at power-up, e.g. 0x19000:01020304."),
                                 QStringLiteral("addr:hex")};
    QCommandLineOption image{QStringLiteral("image"), QStringLiteral("Active image number at power-up (default 0)."),
                             QStringLiteral("n"), QStringLiteral("0")};
    QCommandLineOption noise{QStringLiteral("noise"), QStringLiteral("VCP: put a false frame head before every answer.")};
};

// False with the reason when an option is not a usable number.
bool ReadBehaviour(const QCommandLineParser &parser, const Options &o, SimBehaviour &b, QString &err)
{
    quint32 value = 0;
    auto number = [&](const QCommandLineOption &option, quint32 max, quint32 &out) {
        if (SimBehaviour::ParseNumber(parser.value(option), max, out))
            return true;
        err = QStringLiteral("--%1 needs a number up to %2, got \"%3\"")
                  .arg(option.names().first())
                  .arg(max)
                  .arg(parser.value(option));
        return false;
    };
    if (!SimBehaviour::ParseCodes(parser.value(o.result), b.results)) {
        err = QStringLiteral("--result needs result codes such as 0 or 0,0xE3, got \"%1\"").arg(parser.value(o.result));
        return false;
    }
    if (!number(o.failEvery, 1000000, value))
        return false;
    b.nFailEvery = int(value);
    if (!number(o.failCode, 0xFF, value))
        return false;
    b.nFailCode = quint8(value);
    if (!number(o.startMs, 3600000, value))
        return false;
    b.nStartMs = int(value);
    if (!number(o.flmTimeout, 0xFFFFFFFFu, b.nFlmTimeouts))
        return false;
    if (!SimBehaviour::ParseCounters(parser.value(o.counters), b.nPass, b.nFail)) {
        err = QStringLiteral("--counters needs pass/fail, got \"%1\"").arg(parser.value(o.counters));
        return false;
    }
    if (!number(o.flashSize, 64 * 1024 * 1024, value))
        return false;
    b.nFlashSize = int(value);
    if (!number(o.flashBase, 0xFFFFFFFFu, b.nFlashBase))
        return false;
    if (parser.isSet(o.flashData)
        && !SimBehaviour::ParseFlashData(parser.value(o.flashData), b.nFlashDataAddr, b.flashData)) {
        err = QStringLiteral("--flash-data needs <addr>:<hex bytes>, got \"%1\"").arg(parser.value(o.flashData));
        return false;
    }
    if (!number(o.image, 149, value))
        return false;
    b.nImage = quint8(value);
    b.bNoise = parser.isSet(o.noise);
    return true;
}

bool ReadUsbIds(const QString &text, quint16 &vid, quint16 &pid)
{
    const QStringList parts = text.split(QLatin1Char(':'));
    quint32 v = 0;
    quint32 p = 0;
    if (parts.size() != 2 || !SimBehaviour::ParseNumber(QStringLiteral("0x") + parts.at(0), 0xFFFF, v)
        || !SimBehaviour::ParseNumber(QStringLiteral("0x") + parts.at(1), 0xFFFF, p))
        return false;
    vid = quint16(v);
    pid = quint16(p);
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("progsim"));
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Simulated QEL programmer, reached as a USB disk (--disk), a virtual COM port (--vcp) or a "
                       "USB-HID device (--hid). It logs one line per event on standard output and \"ready\" once up. "
                       "On SIGINT or SIGTERM it is unplugged: a disk loses its identity file (unless --keep), a port or "
                       "HID device disappears."));
    parser.addHelpOption();
    const Options o;
    parser.addOptions({o.disk, o.vcp, o.hid, o.id, o.model, o.ver, o.hw, o.keep, o.dir, o.link, o.hidDir, o.usbId, o.result,
                       o.failEvery, o.failCode, o.startMs, o.flmTimeout, o.counters, o.flashSize, o.flashBase, o.flashData, o.image, o.noise});
    parser.process(app);

    QTextStream err(stderr);
    const int modes = int(parser.isSet(o.disk)) + int(parser.isSet(o.vcp)) + int(parser.isSet(o.hid));
    if (modes != 1) {
        err << "progsim: choose a mode (--disk <folder>, --vcp or --hid); see --help" << Qt::endl;
        return 2;
    }
    SimIdentity identity;
    identity.strID = parser.value(o.id).toUpper();
    identity.strModel = parser.value(o.model);
    identity.strVer = parser.value(o.ver);
    identity.strHW = parser.value(o.hw);
    QString why;
    SimBehaviour behaviour;
    if (!identity.Check(why) || !ReadBehaviour(parser, o, behaviour, why)) {
        err << "progsim: " << why << Qt::endl;
        return 2;
    }
    // Image check verdicts read better in English.
    BurnHub::Instance()->LoadLanguage(true);

    // Catch the stop signals before saying "ready", so a caller may stop us at once.
    CSignalQuit quit;
    std::unique_ptr<CSimDevice> device;
    if (parser.isSet(o.disk)) {
        auto disk = std::make_unique<CDiskSim>(parser.value(o.disk), identity);
        disk->SetKeepIdentity(parser.isSet(o.keep));
        device = std::move(disk);
    } else if (parser.isSet(o.vcp)) {
        auto vcp = std::make_unique<CVcpSim>(parser.value(o.dir), identity, behaviour);
        vcp->SetLink(parser.value(o.link));
        device = std::move(vcp);
    } else {
        QString hidDir = parser.value(o.hidDir);
        if (hidDir.isEmpty())
            hidDir = QString::fromLocal8Bit(qgetenv(HidSimWire::EnvName()));
        quint16 vid = 0;
        quint16 pid = 0;
        if (!ReadUsbIds(parser.value(o.usbId), vid, pid)) {
            err << "progsim: --usb-id needs vid:pid in hexadecimal, got \"" << parser.value(o.usbId) << "\"" << Qt::endl;
            return 2;
        }
        auto hid = std::make_unique<CHidSim>(parser.value(o.dir), hidDir, identity, behaviour);
        hid->SetUsbIds(vid, pid);
        device = std::move(hid);
    }
    QObject::connect(&quit, &CSignalQuit::sigQuit, &app, [&device]() {
        device->Stop();
        QCoreApplication::quit();
    });
    if (!device->Start(why)) {
        err << "progsim: " << why << Qt::endl;
        return 1;
    }
    const int ret = app.exec();
    device.reset();
    BurnHub::Exitance();
    return ret;
}
