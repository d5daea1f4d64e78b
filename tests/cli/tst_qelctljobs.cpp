// qelctl changing programmers, run as a process against disk, VCP and HID
// simulators: downloads in parallel, programming runs with their results,
// counters, parameters and passwords, and the refusals that touch nothing.
#include "progsimprocess.h"
#include "qelctlprocess.h"

#include <functool.h>
#include <imagebuilder.h>
#include <imagefile.h>

#include <QElapsedTimer>
#include <QJsonArray>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTime>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

namespace {
const QString kDiskID = QStringLiteral("3F0027000B51353235383233");
const QStringList kVcpIDs = {QStringLiteral("1A0033000E51353235383233"), QStringLiteral("2B0044000F51353235383233"),
                             QStringLiteral("4D0066001051353235383233")};
const QString kHidID = QStringLiteral("5E0077001151353235383233");

// The time of the first log line of a simulator containing text.
QTime LineTime(const QString &log, const QString &text)
{
    static const QRegularExpression stamp(QStringLiteral("^\\[(\\d\\d:\\d\\d:\\d\\d\\.\\d\\d\\d)\\]"));
    for (const QString &line : log.split(QLatin1Char('\n'))) {
        if (!line.contains(text))
            continue;
        const QRegularExpressionMatch m = stamp.match(line);
        if (m.hasMatch())
            return QTime::fromString(m.captured(1), QStringLiteral("hh:mm:ss.zzz"));
    }
    return QTime();
}

QJsonObject Row(const QJsonArray &rows, const QString &id)
{
    for (const QJsonValue &v : rows)
        if (v.toObject().value(QStringLiteral("id")).toString() == id)
            return v.toObject();
    return {};
}
} // namespace

class TestQelctlJobs : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void downloadToThreeVcpInParallel();
    void downloadToDiskAndHid();
    void startReportsEachProgrammer();
    void configGetAndSet();
    void password();
    void refusalsTouchNothing();
    void backupAndRestore();
    void progressBarsOnATerminal();
    void linkFailures();

private:
    // Simulators for the ids, VCP ones with extra options each.
    void StartVcp(const QStringList &ids, const QList<QStringList> &extra = {});
    QStringList Ports() const;
    // An image of size bytes built by qelctl; its CRC text in crc.
    QString BuildImage(const QString &name, int size, QString &crc, const QString &encryptFor = QString());
    QString Dir(const QString &name) const { return m_dir->path() + QLatin1Char('/') + name; }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::vector<std::unique_ptr<ProgSim>> m_vcp;
};

void TestQelctlJobs::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestQelctlJobs::cleanup()
{
    m_vcp.clear();
    m_dir.reset();
}

void TestQelctlJobs::StartVcp(const QStringList &ids, const QList<QStringList> &extra)
{
    for (int i = 0; i < ids.size(); ++i) {
        QStringList args{QStringLiteral("--vcp"), QStringLiteral("--id"), ids[i], QStringLiteral("--link"),
                         Dir(QStringLiteral("vcp%1").arg(i))};
        args += extra.value(i);
        m_vcp.push_back(std::make_unique<ProgSim>(args));
    }
    for (auto &sim : m_vcp)
        QVERIFY2(sim->WaitReady(), qPrintable(sim->Output()));
}

QStringList TestQelctlJobs::Ports() const
{
    QStringList ports;
    for (const auto &sim : m_vcp)
        ports << sim->PortPath();
    return ports;
}

QString TestQelctlJobs::BuildImage(const QString &name, int size, QString &crc, const QString &encryptFor)
{
    QByteArray program(size, '\0');
    for (int i = 0; i < size; ++i)
        program[i] = char((i * 7 + i / 251) & 0xFF);
    const QString bin = Dir(name + QStringLiteral(".bin"));
    if (!FuncTool::WriteFile(bin, program))
        return QString();
    QStringList args{QStringLiteral("image"), QStringLiteral("build"), QStringLiteral("--program"), QStringLiteral("0x0:") + bin,
                     QStringLiteral("--name"), name, QStringLiteral("-o"), m_dir->path() + QLatin1Char('/'), QStringLiteral("--json")};
    if (!encryptFor.isEmpty())
        args << QStringLiteral("--encrypt-for") << encryptFor;
    const QelctlRun run = runQelctl(args);
    crc = run.Json().value(QStringLiteral("crc")).toString();
    return run.status == 0 ? Dir(name + QStringLiteral(".img")) : QString();
}

// Three VCP programmers get one image at the same time: each has accepted it
// and switched to its number, and each began receiving before any finished.
void TestQelctlJobs::downloadToThreeVcpInParallel()
{
    StartVcp(kVcpIDs);
    QString crc;
    const QString image = BuildImage(QStringLiteral("line"), 96 * 1024, crc);
    QVERIFY(!image.isEmpty());
    const QelctlRun run = runQelctl({QStringLiteral("download"), image, QStringLiteral("--number"), QStringLiteral("4"),
                                     QStringLiteral("--to"), kVcpIDs.join(QLatin1Char(','))},
                                    {}, Ports(), 120000);
    QVERIFY2(run.status == 0, qPrintable(run.out + run.err));
    QVERIFY(run.err.isEmpty());
    QTime firstDone;
    QTime lastBegun;
    for (int i = 0; i < 3; ++i) {
        ProgSim &sim = *m_vcp[i];
        QVERIFY2(run.out.contains(kVcpIDs[i] + QStringLiteral(" ok")), qPrintable(run.out));
        // Not a terminal: plain progress lines.
        QVERIFY2(run.out.contains(kVcpIDs[i] + QStringLiteral(" 50%")), qPrintable(run.out));
        QVERIFY2(sim.WaitFor(QStringLiteral("image 4 line.img: accepted crc=%1").arg(crc)), qPrintable(sim.Output()));
        QVERIFY2(sim.WaitFor(QStringLiteral("active image 4 (line.img)")), qPrintable(sim.Output()));
        const QTime begun = LineTime(sim.Output(), QStringLiteral("receiving line.img"));
        const QTime done = LineTime(sim.Output(), QStringLiteral("received line.img"));
        QVERIFY(begun.isValid() && done.isValid());
        if (!lastBegun.isValid() || begun > lastBegun)
            lastBegun = begun;
        if (!firstDone.isValid() || done < firstDone)
            firstDone = done;
    }
    QVERIFY2(lastBegun < firstDone, "the downloads ran one after another");
}

// "all" reaches a disk and a HID programmer the same way; list shows the HID one.
void TestQelctlJobs::downloadToDiskAndHid()
{
    const QString hidDir = Dir(QStringLiteral("hid"));
    QVERIFY(QDir().mkpath(hidDir));
    ProgSim disk(Dir(QStringLiteral("disk")), kDiskID, QStringLiteral("QEL720A"));
    ProgSim hid({QStringLiteral("--hid"), QStringLiteral("--id"), kHidID, QStringLiteral("--hid-dir"), hidDir,
                 QStringLiteral("--counters"), QStringLiteral("7/2")});
    QVERIFY(disk.WaitReady());
    QVERIFY(hid.WaitReady());
    const QStringList progDirs{disk.Folder()};

    const QelctlRun list = runQelctl({QStringLiteral("list"), QStringLiteral("--json")}, progDirs, {}, 60000, hidDir);
    QVERIFY2(list.status == 0, qPrintable(list.err));
    const QJsonArray rows = list.Json().value(QStringLiteral("programmers")).toArray();
    QCOMPARE(rows.size(), 2);
    QJsonObject h;
    for (const QJsonValue &v : rows)
        if (v.toObject().value(QStringLiteral("identity")).toString() == kHidID)
            h = v.toObject();
    QCOMPARE(h.value(QStringLiteral("way")).toString(), QStringLiteral("hid"));
    QVERIFY(h.value(QStringLiteral("path")).toString().startsWith(hidDir));
    QCOMPARE(h.value(QStringLiteral("pass")).toInt(), 7);
    QCOMPARE(h.value(QStringLiteral("fail")).toInt(), 2);
    QCOMPARE(h.value(QStringLiteral("model")).toString(), QStringLiteral("QEL720A"));

    QString crc;
    const QString image = BuildImage(QStringLiteral("both"), 5000, crc);
    const QelctlRun run = runQelctl({QStringLiteral("download"), image, QStringLiteral("--number"), QStringLiteral("9"),
                                     QStringLiteral("--to"), QStringLiteral("all"), QStringLiteral("--json")},
                                    progDirs, {}, 60000, hidDir);
    QVERIFY2(run.status == 0, qPrintable(run.err));
    const QJsonArray done = run.Json().value(QStringLiteral("programmers")).toArray();
    QCOMPARE(done.size(), 2);
    QCOMPARE(Row(done, kDiskID).value(QStringLiteral("way")).toString(), QStringLiteral("disk"));
    QCOMPARE(Row(done, kHidID).value(QStringLiteral("ok")).toBool(), true);
    QCOMPARE(FuncTool::ReadFile(disk.Folder() + QStringLiteral("/config/image.dat")), QByteArray("9=both.img\n"));
    QCOMPARE(FuncTool::ReadFile(disk.Folder() + QStringLiteral("/procs/both.img")), FuncTool::ReadFile(image));
    QVERIFY2(disk.WaitFor(QStringLiteral("image 9 both.img: accepted crc=%1").arg(crc)), qPrintable(disk.Output()));
    QVERIFY2(hid.WaitFor(QStringLiteral("active image 9 (both.img)")), qPrintable(hid.Output()));
}

// One of three programmers fails its run: status 1, a line for each with its
// outcome, and the counters say the same afterwards.
void TestQelctlJobs::startReportsEachProgrammer()
{
    StartVcp(kVcpIDs, {{}, {QStringLiteral("--result"), QStringLiteral("0xE3")}, {QStringLiteral("--counters"), QStringLiteral("5/1")}});
    QString crc;
    const QString image = BuildImage(QStringLiteral("run"), 4000, crc);
    QCOMPARE(runQelctl({QStringLiteral("download"), image, QStringLiteral("--number"), QStringLiteral("2"), QStringLiteral("--to"),
                        QStringLiteral("all")},
                       {}, Ports())
                 .status,
             0);

    const QelctlRun run = runQelctl({QStringLiteral("start"), QStringLiteral("--to"), QStringLiteral("all")}, {}, Ports());
    QCOMPARE(run.status, 1);
    const QStringList lines = run.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 3);
    QVERIFY2(lines.contains(QStringLiteral("%1 pass code 0x00 checksum %2").arg(kVcpIDs[0], crc)), qPrintable(run.out));
    QVERIFY2(lines.contains(QStringLiteral("%1 pass code 0x00 checksum %2").arg(kVcpIDs[2], crc)), qPrintable(run.out));
    bool failLine = false;
    for (const QString &line : lines)
        failLine = failLine || (line.startsWith(kVcpIDs[1] + QStringLiteral(" fail code 0xE3 ")) && line.size() > 40);
    QVERIFY2(failLine, qPrintable(run.out));
    QVERIFY2(m_vcp[1]->WaitFor(QStringLiteral("result 0xE3")), qPrintable(m_vcp[1]->Output()));

    // The two good ones again, by port and with the image number: all passed.
    const QelctlRun again = runQelctl({QStringLiteral("start"), QStringLiteral("--to"), Ports()[0] + QLatin1Char(',') + kVcpIDs[2],
                                       QStringLiteral("--image"), QStringLiteral("2"), QStringLiteral("--json")},
                                      {}, Ports());
    QVERIFY2(again.status == 0, qPrintable(again.err));
    const QJsonArray results = again.Json().value(QStringLiteral("results")).toArray();
    QCOMPARE(results.size(), 2);
    for (const QJsonValue &v : results) {
        QCOMPARE(v.toObject().value(QStringLiteral("pass")).toBool(), true);
        QCOMPARE(v.toObject().value(QStringLiteral("checksum")).toString(), crc);
    }

    const QelctlRun counters = runQelctl({QStringLiteral("counters"), QStringLiteral("--json")}, {}, Ports());
    QVERIFY2(counters.status == 0, qPrintable(counters.err));
    const QJsonArray c = counters.Json().value(QStringLiteral("counters")).toArray();
    QCOMPARE(Row(c, kVcpIDs[0]).value(QStringLiteral("pass")).toInt(), 2);
    QCOMPARE(Row(c, kVcpIDs[1]).value(QStringLiteral("fail")).toInt(), 1);
    QCOMPARE(Row(c, kVcpIDs[1]).value(QStringLiteral("pass")).toInt(), 0);
    QCOMPARE(Row(c, kVcpIDs[2]).value(QStringLiteral("pass")).toInt(), 7);
    QCOMPARE(Row(c, kVcpIDs[2]).value(QStringLiteral("total")).toInt(), 8);
}

// Parameters read back as the programmer holds them; a change keeps the other
// values, reaches a VCP programmer through the frames and a disk one with
// its reload command.
void TestQelctlJobs::configGetAndSet()
{
    StartVcp({kVcpIDs[0]});
    ProgSim disk(Dir(QStringLiteral("disk")), kDiskID, QStringLiteral("QEL720A"));
    QVERIFY(disk.WaitReady());
    const QStringList progDirs{disk.Folder()};

    const QelctlRun before = runQelctl({QStringLiteral("config"), QStringLiteral("get"), QStringLiteral("--to"), kVcpIDs[0],
                                        QStringLiteral("--json")},
                                       progDirs, Ports());
    QVERIFY2(before.status == 0, qPrintable(before.err));
    const QJsonObject old = before.Json().value(QStringLiteral("programmers")).toArray().at(0).toObject().value(QStringLiteral("config")).toObject();
    QVERIFY(old.contains(QStringLiteral("swdClk")));
    const QString swd = QString::number(old.value(QStringLiteral("swdClk")).toString().toInt() + 1);

    const QelctlRun set = runQelctl({QStringLiteral("config"), QStringLiteral("set"), QStringLiteral("swdClk=") + swd,
                                     QStringLiteral("voltage=1"), QStringLiteral("--to"), QStringLiteral("all")},
                                    progDirs, Ports());
    QVERIFY2(set.status == 0, qPrintable(set.err));
    QVERIFY2(m_vcp[0]->WaitFor(QStringLiteral("swdClk=%1").arg(swd)), qPrintable(m_vcp[0]->Output()));
    // The disk programmer reloads on the command file written beside the copy.
    QVERIFY2(disk.WaitFor(QStringLiteral("param_refresh.cmd: reloaded param.ini:")), qPrintable(disk.Output()));
    QVERIFY(disk.Output().contains(QStringLiteral("swdClk=%1").arg(swd)));

    const QelctlRun after = runQelctl({QStringLiteral("config"), QStringLiteral("get"), QStringLiteral("--to"), QStringLiteral("all"),
                                       QStringLiteral("--json")},
                                      progDirs, Ports());
    QVERIFY2(after.status == 0, qPrintable(after.err));
    const QJsonArray rows = after.Json().value(QStringLiteral("programmers")).toArray();
    QCOMPARE(rows.size(), 2);
    for (const QJsonValue &v : rows) {
        QJsonObject now = v.toObject().value(QStringLiteral("config")).toObject();
        QCOMPARE(now.value(QStringLiteral("swdClk")).toString(), swd);
        QCOMPARE(now.value(QStringLiteral("voltage")).toString(), QStringLiteral("1"));
        // Everything else as it was.
        now.remove(QStringLiteral("swdClk"));
        now.remove(QStringLiteral("voltage"));
        QJsonObject rest = old;
        rest.remove(QStringLiteral("swdClk"));
        rest.remove(QStringLiteral("voltage"));
        QCOMPARE(now, rest);
    }

    // Settings that exclude each other, or a key the programmer has not: nothing is sent.
    const QString paramBefore = QString::fromLocal8Bit(FuncTool::ReadFile(disk.Folder() + QStringLiteral("/config/param.ini")));
    for (const QStringList &pairs : {QStringList{QStringLiteral("continuous=1"), QStringLiteral("reset=1")},
                                     QStringList{QStringLiteral("nosuchkey=1")}, QStringList{QStringLiteral("swdClk=fast")}}) {
        const QelctlRun bad = runQelctl(QStringList{QStringLiteral("config"), QStringLiteral("set")} + pairs
                                            + QStringList{QStringLiteral("--to"), QStringLiteral("all")},
                                        progDirs, Ports());
        QCOMPARE(bad.status, 2);
        QCOMPARE(bad.ErrLines().size(), 1);
    }
    QCOMPARE(QString::fromLocal8Bit(FuncTool::ReadFile(disk.Folder() + QStringLiteral("/config/param.ini"))), paramBefore);
    QVERIFY(!m_vcp[0]->Output().contains(QStringLiteral("continuous=1")));
}

void TestQelctlJobs::password()
{
    StartVcp({kVcpIDs[0]});
    ProgSim disk(Dir(QStringLiteral("disk")), kDiskID, QStringLiteral("QEL720A"));
    QVERIFY(disk.WaitReady());
    const QelctlRun run = runQelctl({QStringLiteral("password"), QStringLiteral("4711"), QStringLiteral("--to"), QStringLiteral("all")},
                                    {disk.Folder()}, Ports());
    QVERIFY2(run.status == 0, qPrintable(run.err));
    QCOMPARE(FuncTool::ReadFile(disk.Folder() + QStringLiteral("/sys/password.dat")), QByteArray("4711"));
    QVERIFY2(m_vcp[0]->WaitFor(QStringLiteral("received password.dat: 4 bytes")), qPrintable(m_vcp[0]->Output()));

    for (const QString &bad : {QStringLiteral("1234567890"), QStringLiteral("12a"), QString()}) {
        const QelctlRun refused = runQelctl({QStringLiteral("password"), bad, QStringLiteral("--to"), QStringLiteral("all")},
                                            {disk.Folder()}, Ports());
        QCOMPARE(refused.status, 2);
        QCOMPARE(refused.ErrLines().size(), 1);
        // The window's rule and message, in English.
        QVERIFY2(refused.ErrLines().first().contains(QStringLiteral("1 to 9 digits")), qPrintable(refused.err));
    }
    QCOMPARE(FuncTool::ReadFile(disk.Folder() + QStringLiteral("/sys/password.dat")), QByteArray("4711"));
}

// Bad usage and images a programmer cannot take: one line, and nothing sent.
void TestQelctlJobs::refusalsTouchNothing()
{
    StartVcp({kVcpIDs[0]});
    QString crc;
    const QString foreign = BuildImage(QStringLiteral("foreign"), 3000, crc, kVcpIDs[1]);
    const QString plain = BuildImage(QStringLiteral("plain"), 3000, crc);
    QVERIFY(!foreign.isEmpty() && !plain.isEmpty());
    const QString to = kVcpIDs[0];
    struct Case
    {
        QStringList args;
        int status;
        QString reason;
    };
    const QList<Case> cases = {
        {{QStringLiteral("download"), plain, QStringLiteral("--number"), QStringLiteral("1")}, 2, QStringLiteral("--to")},
        {{QStringLiteral("download"), plain, QStringLiteral("--to"), to}, 2, QStringLiteral("--number")},
        {{QStringLiteral("download"), plain, QStringLiteral("--number"), QStringLiteral("200"), QStringLiteral("--to"), to}, 2,
         QStringLiteral("--number")},
        {{QStringLiteral("download"), plain, QStringLiteral("--number"), QStringLiteral("150"), QStringLiteral("--to"), to}, 2, to},
        {{QStringLiteral("download"), foreign, QStringLiteral("--number"), QStringLiteral("1"), QStringLiteral("--to"), to}, 2,
         QStringLiteral("not for this programmer")},
        {{QStringLiteral("download"), Dir(QStringLiteral("missing.img")), QStringLiteral("--number"), QStringLiteral("1"),
          QStringLiteral("--to"), to},
         2, QStringLiteral("missing.img")},
        {{QStringLiteral("download"), plain, QStringLiteral("--number"), QStringLiteral("1"), QStringLiteral("--to"),
          QStringLiteral("FFFF00000000000000000000")},
         3, QStringLiteral("FFFF00000000000000000000")},
        {{QStringLiteral("start")}, 2, QStringLiteral("--to")},
        {{QStringLiteral("start"), QStringLiteral("--to"), to, QStringLiteral("--image"), QStringLiteral("150")}, 2,
         QStringLiteral("--image")},
    };
    for (const Case &c : cases) {
        const QelctlRun run = runQelctl(c.args, {}, Ports());
        QVERIFY2(run.status == c.status, qPrintable(c.args.join(QLatin1Char(' ')) + QStringLiteral(": ") + run.err));
        QCOMPARE(run.ErrLines().size(), 1);
        QVERIFY2(run.err.contains(c.reason), qPrintable(run.err));
    }
    QVERIFY(!m_vcp[0]->Output().contains(QStringLiteral("receiving")));
    QVERIFY(!m_vcp[0]->Output().contains(QStringLiteral("start:")));
}

// The images of one VCP programmer, one of them bound to it, into a package
// and onto a second VCP programmer and a disk one, which take them as theirs.
void TestQelctlJobs::backupAndRestore()
{
    StartVcp({kVcpIDs[0], kVcpIDs[1]});
    ProgSim disk(Dir(QStringLiteral("disk")), kDiskID, QStringLiteral("QEL720A"));
    QVERIFY(disk.WaitReady());
    const QStringList progDirs{disk.Folder()};
    QString plainCrc;
    QString boundCrc;
    const QString plain = BuildImage(QStringLiteral("open"), 6000, plainCrc);
    const QString bound = BuildImage(QStringLiteral("bound"), 2500, boundCrc, kVcpIDs[0]);
    for (const auto &[image, number] : {std::make_pair(plain, QStringLiteral("3")), std::make_pair(bound, QStringLiteral("11"))}) {
        const QelctlRun run = runQelctl({QStringLiteral("download"), image, QStringLiteral("--number"), number, QStringLiteral("--to"),
                                         kVcpIDs[0]},
                                        progDirs, Ports());
        QVERIFY2(run.status == 0, qPrintable(run.err));
    }

    const QString pkg = Dir(QStringLiteral("a.pimg"));
    const QelctlRun backup = runQelctl({QStringLiteral("backup"), QStringLiteral("--from"), kVcpIDs[0], QStringLiteral("-o"), pkg,
                                        QStringLiteral("--json")},
                                       progDirs, Ports());
    QVERIFY2(backup.status == 0, qPrintable(backup.err));
    const QJsonArray images = backup.Json().value(QStringLiteral("images")).toArray();
    QCOMPARE(images.size(), 2);
    QCOMPARE(images.at(0).toObject().value(QStringLiteral("name")).toString(), QStringLiteral("open.img"));
    QCOMPARE(images.at(1).toObject().value(QStringLiteral("number")).toInt(), 11);
    QCOMPARE(images.at(1).toObject().value(QStringLiteral("encrypted")).toBool(), true);
    QVERIFY(QFile::exists(pkg));

    // Onto the second VCP programmer: the bound image now opens with its key.
    const QelctlRun vcp = runQelctl({QStringLiteral("restore"), pkg, QStringLiteral("--to"), kVcpIDs[1]}, progDirs, Ports());
    QVERIFY2(vcp.status == 0, qPrintable(vcp.err));
    QCOMPARE(vcp.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts).size(), 2);
    ProgSim &b = *m_vcp[1];
    QVERIFY2(b.WaitFor(QStringLiteral("image 3 open.img: accepted crc=%1").arg(plainCrc)), qPrintable(b.Output()));
    QVERIFY2(b.WaitFor(QStringLiteral("image 11 bound.img: accepted crc=%1 size=").arg(boundCrc)), qPrintable(b.Output()));

    // Onto the disk programmer: index and images in its folder.
    const QelctlRun toDisk = runQelctl({QStringLiteral("restore"), pkg, QStringLiteral("--to"), kDiskID}, progDirs, Ports());
    QVERIFY2(toDisk.status == 0, qPrintable(toDisk.err));
    QCOMPARE(FuncTool::ReadFile(disk.Folder() + QStringLiteral("/config/image.dat")), QByteArray("3=open.img\n11=bound.img\n"));
    QCOMPARE(FuncTool::ReadFile(disk.Folder() + QStringLiteral("/procs/open.img")), FuncTool::ReadFile(plain));
    QByteArray rekeyed = FuncTool::ReadFile(disk.Folder() + QStringLiteral("/procs/bound.img"));
    CImageTrailer trailer;
    QString err;
    QVERIFY2(CImageFile::Open(rekeyed, kDiskID, trailer, err), qPrintable(err));
    QCOMPARE(CImageBuilder::CRCText(trailer.m_nCRC), boundCrc);
    QVERIFY2(disk.WaitFor(QStringLiteral("image 11 bound.img: accepted")), qPrintable(disk.Output()));

    // A package cut short is refused before anything is sent.
    QByteArray text = FuncTool::ReadFile(pkg);
    const QString cut = Dir(QStringLiteral("cut.pimg"));
    QVERIFY(FuncTool::WriteFile(cut, text.left(text.indexOf("bound.img") + 200)));
    const QelctlRun refused = runQelctl({QStringLiteral("restore"), cut, QStringLiteral("--to"), kVcpIDs[1]}, progDirs, Ports());
    QCOMPARE(refused.status, 2);
    QCOMPARE(refused.ErrLines().size(), 1);
    const QelctlRun noTarget = runQelctl({QStringLiteral("backup"), QStringLiteral("--from"), QStringLiteral("all"), QStringLiteral("-o"), pkg},
                                         progDirs, Ports());
    QCOMPARE(noTarget.status, 2);
}

// On a terminal every programmer has a bar, redrawn in place until it is full.
void TestQelctlJobs::progressBarsOnATerminal()
{
    StartVcp({kVcpIDs[0], kVcpIDs[1]});
    QString crc;
    const QString image = BuildImage(QStringLiteral("tty"), 200 * 1024, crc);
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    QVERIFY(master >= 0);
    QVERIFY(grantpt(master) == 0 && unlockpt(master) == 0);
    const QString slave = QString::fromLocal8Bit(ptsname(master));
    fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);

    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QEL_PROG_DIRS"), QString());
    env.insert(QStringLiteral("QEL_VCP_PORTS"), Ports().join(QLatin1Char(':')));
    env.insert(QStringLiteral("TERM"), QStringLiteral("xterm"));
    env.remove(QStringLiteral("QEL_HID_SIM_DIR"));
    p.setProcessEnvironment(env);
    p.setStandardOutputFile(slave);
    p.start(qeltest::binDir() + QStringLiteral("/qelctl"),
            {QStringLiteral("download"), image, QStringLiteral("--number"), QStringLiteral("6"), QStringLiteral("--to"), QStringLiteral("all")});
    QByteArray screen;
    auto drain = [&]() {
        char buf[4096];
        ssize_t n;
        while ((n = ::read(master, buf, sizeof buf)) > 0)
            screen.append(buf, int(n));
    };
    QElapsedTimer t;
    t.start();
    while (!p.waitForFinished(50) && t.elapsed() < 60000)
        drain();
    drain();
    ::close(master);
    QCOMPARE(p.exitCode(), 0);
    // Two rows redrawn: the cursor goes back up two lines.
    QVERIFY2(screen.contains("\033[2A"), screen.constData());
    for (const QString &id : {kVcpIDs[0], kVcpIDs[1]}) {
        QVERIFY2(screen.contains((id + QStringLiteral(" [") + QString(30, QLatin1Char('#')) + QStringLiteral("] 100% switched")).toLocal8Bit()),
                 screen.constData());
        QVERIFY(screen.contains((id + QStringLiteral(" ok")).toLocal8Bit()));
    }
    // No quarter lines: those are for pipes.
    QVERIFY(!screen.contains((kVcpIDs[0] + QStringLiteral(" 25%")).toLocal8Bit()));
}

// A programmer that goes during a download, and one that takes longer than the
// time given: link failures (status 3), each named on its line.
void TestQelctlJobs::linkFailures()
{
    StartVcp({kVcpIDs[0], kVcpIDs[1]}, {{}, {QStringLiteral("--start-ms"), QStringLiteral("8000")}});
    QString crc;
    const QString image = BuildImage(QStringLiteral("long"), 600 * 1024, crc);
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QEL_PROG_DIRS"), QString());
    env.insert(QStringLiteral("QEL_VCP_PORTS"), Ports().join(QLatin1Char(':')));
    env.remove(QStringLiteral("QEL_HID_SIM_DIR"));
    p.setProcessEnvironment(env);
    p.start(qeltest::binDir() + QStringLiteral("/qelctl"), {QStringLiteral("download"), image, QStringLiteral("--number"),
                                                            QStringLiteral("1"), QStringLiteral("--to"), kVcpIDs[0],
                                                            QStringLiteral("--timeout"), QStringLiteral("30")});
    QVERIFY2(m_vcp[0]->WaitFor(QStringLiteral("receiving long.img")), qPrintable(m_vcp[0]->Output()));
    const QStringList ports = Ports();
    const QString port = ports[0];
    m_vcp[0].reset(); // unplugged
    QVERIFY(p.waitForFinished(40000));
    QCOMPARE(p.exitCode(), 3);
    const QString out = QString::fromUtf8(p.readAllStandardOutput());
    // Seen going, not waited out.
    QVERIFY2(out.contains(QStringLiteral("%1 failed: %2: the port went away").arg(kVcpIDs[0], port)), qPrintable(out));

    const QelctlRun slow = runQelctl({QStringLiteral("start"), QStringLiteral("--to"), kVcpIDs[1], QStringLiteral("--timeout"),
                                      QStringLiteral("1")},
                                     {}, {ports[1]});
    QCOMPARE(slow.status, 3);
    QVERIFY2(slow.out.contains(kVcpIDs[1] + QStringLiteral(" fail ")) && slow.out.contains(QStringLiteral("no answer within 1 s")),
             qPrintable(slow.out));
}

QEL_TEST_CORE_MAIN(TestQelctlJobs)
#include "tst_qelctljobs.moc"
