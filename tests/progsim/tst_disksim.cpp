// The simulator in disk mode, run as a separate program and driven through the
// programmer's files exactly as the host programs write them.
#include "burnhub.h"
#include "functool.h"
#include "imagebuilder.h"
#include "progsimprocess.h"
#include "qeltest.h"

#include <QTemporaryDir>

namespace {
const QString kID = QStringLiteral("3F0027000B51353235383233");

int RunToEnd(const QStringList &args, QString &err)
{
    QProcess p;
    p.start(qeltest::binDir() + QStringLiteral("/progsim"), args);
    if (!p.waitForFinished(20000))
        return -1;
    err = QString::fromUtf8(p.readAllStandardError());
    return p.exitCode();
}
} // namespace

class TestDiskSim : public QObject
{
    Q_OBJECT
private slots:
    void refusesBadArguments_data();
    void refusesBadArguments();
    void makesProgrammerFolder();
    void reloadsOnRefreshCommand();
    void keepsIdentityAndReportsImages();
    void checksImagesItIsGiven();
    void unplugsOnTerminate();
    void keepsExistingFilesAndIdentityWithKeep();
};

void TestDiskSim::refusesBadArguments_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("message");
    QTest::newRow("no mode") << QStringList{"--id", kID} << "choose a mode";
    QTest::newRow("short id") << QStringList{"--disk", "/tmp/x", "--id", "3F00"} << "24 hexadecimal digits";
    QTest::newRow("not hex") << QStringList{"--disk", "/tmp/x", "--id", "3F0027000B5135323538323Z"} << "24 hexadecimal digits";
    QTest::newRow("model with =") << QStringList{"--disk", "/tmp/x", "--id", kID, "--model", "A=B"} << "without '='";
    QTest::newRow("two modes") << QStringList{"--vcp", "--disk", "/tmp/x", "--id", kID} << "choose a mode";
    QTest::newRow("result code") << QStringList{"--vcp", "--id", kID, "--result", "0,0x1FF"} << "--result needs";
    QTest::newRow("start time") << QStringList{"--vcp", "--id", kID, "--start-ms", "-5"} << "--start-ms needs";
    QTest::newRow("usb ids") << QStringList{"--hid", "--id", kID, "--usb-id", "0483"} << "--usb-id needs";
}

void TestDiskSim::refusesBadArguments()
{
    QFETCH(QStringList, args);
    QFETCH(QString, message);
    QString err;
    QCOMPARE(RunToEnd(args, err), 2);
    QVERIFY2(err.contains(message), qPrintable(err));
}

void TestDiskSim::makesProgrammerFolder()
{
    QTemporaryDir dir;
    const QString root = dir.filePath("P");
    ProgSim sim(root, kID.toLower(), QStringLiteral("QEL720C"), QStringLiteral("V2.0.9"));
    QVERIFY2(sim.WaitReady(), qPrintable(sim.Output()));
    ProgerInfo info;
    QVERIFY(BurnHub::IsRightProger(root + "/sys/qelprogrammer.dat", info));
    QCOMPARE(info.m_strID, kID); // programmers carry upper-case IDs
    QCOMPARE(info.m_strModel, QStringLiteral("QEL720C"));
    QCOMPARE(info.m_strVer, QStringLiteral("V2.0.9"));
    QCOMPARE(info.m_strHW, QStringLiteral("H1.0"));
    for (const char *sub : {"config", "procs", "cmd"})
        QVERIFY(QFileInfo(root + QLatin1Char('/') + QLatin1String(sub)).isDir());
    // A fresh programmer has its parameters, signals and an empty index, read with the suite's own readers.
    BurnHub *hub = BurnHub::Instance();
    hub->SetProgRoot(root + "/");
    QMap<QString, QString> param;
    QString err;
    QVERIFY(hub->ReadConfig(param, err));
    QCOMPARE(param.value("contInterval"), QStringLiteral("2000"));
    QCOMPARE(param.value("swdClk"), QStringLiteral("7"));
    QMap<QString, QString> signal;
    QVERIFY(hub->ReadSignal(signal, err));
    QCOMPARE(signal.value("startTime"), QStringLiteral("80"));
    QMap<int, ImageInfo> index;
    QVERIFY(hub->ReadImageIndex(index, err));
    QVERIFY(index.isEmpty());
    QVERIFY(sim.Output().contains("images: none"));
    // The search list finds it as a programmer.
    hub->SetSearchDirs({root});
    bool found = false;
    for (const ProgerInfo &p : hub->GetProgerList())
        found |= p.m_strID == kID;
    QVERIFY(found);
    hub->SetSearchDirs({});
}

void TestDiskSim::reloadsOnRefreshCommand()
{
    QTemporaryDir dir;
    const QString root = dir.filePath("P") + "/";
    ProgSim sim(root, kID, QStringLiteral("QEL720A"));
    QVERIFY(sim.WaitReady());
    const QString src = dir.filePath("param.ini");
    QVERIFY(FuncTool::WriteFile(src, QByteArray("voltage=1\r\ncontinuous=0\ncontInterval=900\n")));
    BurnHub *hub = BurnHub::Instance();
    hub->SetProgRoot(root);
    QString err;
    QVERIFY2(hub->DownConfigFile(src, err), qPrintable(err));
    QVERIFY2(sim.WaitFor("param_refresh.cmd: reloaded param.ini: contInterval=900 continuous=0 voltage=1"),
             qPrintable(sim.Output()));
    QTRY_VERIFY(!QFile::exists(root + "cmd/param_refresh.cmd"));
    // A second command is taken as well.
    QVERIFY(FuncTool::WriteFile(src, QByteArray("voltage=0\r\n")));
    QVERIFY(hub->DownConfigFile(src, err));
    QVERIFY2(sim.WaitFor("reloaded param.ini: voltage=0"), qPrintable(sim.Output()));
    QTRY_VERIFY(!QFile::exists(root + "cmd/param_refresh.cmd"));
}

void TestDiskSim::keepsIdentityAndReportsImages()
{
    QTemporaryDir dir;
    const QString root = dir.filePath("P") + "/";
    ProgSim sim(root, kID, QStringLiteral("QEL720A"));
    QVERIFY(sim.WaitReady());
    QVERIFY(QFile::remove(root + "sys/qelprogrammer.dat"));
    QVERIFY2(sim.WaitFor("identity file restored"), qPrintable(sim.Output()));
    QTRY_VERIFY(QFile::exists(root + "sys/qelprogrammer.dat"));

    const QString image = dir.filePath("app.img");
    QVERIFY(FuncTool::WriteFile(image, QByteArray(84, '\x5A')));
    BurnHub *hub = BurnHub::Instance();
    hub->SetProgRoot(root);
    QString err;
    QVERIFY2(hub->DownImageFile(3, image, QStringLiteral("app.img"), err), qPrintable(err));
    QVERIFY2(sim.WaitFor("images: 3=app.img (84 bytes)"), qPrintable(sim.Output()));
    QVERIFY2(sim.WaitFor("newlist.dat: 3"), qPrintable(sim.Output()));
    QVERIFY2(sim.WaitFor("image 3 app.img: rejected: "), qPrintable(sim.Output()));
}

void TestDiskSim::checksImagesItIsGiven()
{
    QTemporaryDir dir;
    const QString root = dir.filePath("P") + "/";
    ProgSim sim(root, kID, QStringLiteral("QEL720A"));
    QVERIFY(sim.WaitReady());
    // Built as the image panel builds it, for this programmer, with a limit.
    QVERIFY(FuncTool::WriteFile(dir.filePath("app.bin"), QByteArray(1000, '\x3C')));
    CImageBuilder builder(dir.path());
    CImageParams params;
    params.m_nLimit = 5;
    params.m_bEncrypt = true;
    params.m_strGivenID = kID;
    CImageResult built;
    QString err;
    const QString image = dir.filePath("app.img");
    QVERIFY2(builder.SaveImageFile({CBinEntry{0x100, dir.filePath("app.bin")}}, params, image, built, err), qPrintable(err));
    BurnHub *hub = BurnHub::Instance();
    hub->SetProgRoot(root);
    QVERIFY2(hub->DownImageFile(12, image, QStringLiteral("app.img"), err), qPrintable(err));
    QVERIFY2(sim.WaitFor(QStringLiteral("image 12 app.img: accepted crc=%1 size=1076 encrypted=1 limit=5").arg(built.m_strCRC)),
             qPrintable(sim.Output()));

    // The same image built for another programmer is refused.
    params.m_strGivenID = QStringLiteral("1A0033000E51353235383233");
    QVERIFY(builder.SaveImageFile({CBinEntry{0x100, dir.filePath("app.bin")}}, params, image, built, err));
    QVERIFY2(hub->DownImageFile(12, image, QStringLiteral("app.img"), err), qPrintable(err));
    QVERIFY2(sim.WaitFor(QStringLiteral("image 12 app.img: rejected: Check that this is the right programmer!")),
             qPrintable(sim.Output()));
    QCOMPARE(sim.Output().count("image 12 app.img: accepted"), 1);
}

void TestDiskSim::unplugsOnTerminate()
{
    QTemporaryDir dir;
    const QString root = dir.filePath("P") + "/";
    ProgSim sim(root, kID, QStringLiteral("QEL720A"));
    QVERIFY(sim.WaitReady());
    sim.Stop();
    QCOMPARE(sim.Process().exitStatus(), QProcess::NormalExit);
    QCOMPARE(sim.Process().exitCode(), 0);
    QVERIFY(sim.Output().contains("unplugged"));
    QVERIFY(!QFile::exists(root + "sys/qelprogrammer.dat"));
    QVERIFY(QFile::exists(root + "config/param.ini")); // the disk's files stay
}

void TestDiskSim::keepsExistingFilesAndIdentityWithKeep()
{
    QTemporaryDir dir;
    const QString root = dir.filePath("P") + "/";
    QVERIFY(FuncTool::WriteFile(root + "config/param.ini", QByteArray("voltage=1\r\n")));
    QProcess p;
    p.start(qeltest::binDir() + "/progsim", {"--disk", root, "--id", kID, "--keep"});
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(root + "sys/qelprogrammer.dat"), 20000);
    p.terminate();
    QVERIFY(p.waitForFinished(10000));
    QCOMPARE(p.exitCode(), 0);
    QVERIFY(QFile::exists(root + "sys/qelprogrammer.dat"));
    QCOMPARE(FuncTool::ReadFile(root + "config/param.ini"), QByteArray("voltage=1\r\n"));
}

QEL_TEST_CORE_MAIN(TestDiskSim)
#include "tst_disksim.moc"
