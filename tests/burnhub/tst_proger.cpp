// Programmer model, identity files and discovery.
#include "burnhub.h"
#include "progerinfo.h"
#include "qeltest.h"

#include <QProcess>
#include <QTemporaryDir>
#include <unistd.h>

namespace {
void WriteText(const QString &path, const QByteArray &text)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text);
}

// A programmer folder as a programmer's disk holds it.
void MakeProgrammer(const QString &root, const QByteArray &identity)
{
    WriteText(root + "/sys/qelprogrammer.dat", identity);
}
} // namespace

class TestProger : public QObject
{
    Q_OBJECT
private slots:
    void cleanup() { BurnHub::Exitance(); }

    void locationAndDescription_data()
    {
        QTest::addColumn<QString>("desc");
        QTest::addColumn<QString>("location");
        ProgerInfo disk("F:/", "ID1", "QEL720A", "1.0");
        QTest::newRow("drive root") << disk.GetDesc() << "local-F";
        ProgerInfo mount("/media/user/PROG1/", "ID1", "QEL720A", "1.0");
        QTest::newRow("unix mount root") << mount.GetDesc() << "local-PROG1";
        ProgerInfo hid;
        hid.MarkHIDProger("ABC");
        QTest::newRow("hid") << hid.GetDesc() << "HID-ABC";
        ProgerInfo both;
        both.MarkVCPProger("V1", "/dev/ttyACM0");
        both.MarkHIDProger("H1");
        QTest::newRow("hid wins over vcp") << both.GetLocation() << "HID";
        ProgerInfo vcp;
        vcp.MarkVCPProger("V1", "/dev/ttyACM0");
        QTest::newRow("vcp") << vcp.GetLocation() << "VCP";
        ProgerInfo tcp;
        tcp.MarkAsTCPRemote("10.0.0.5", 9000);
        QTest::newRow("tcp without root") << tcp.GetDesc() << "10.0.0.5:9000-";
        ProgerInfo cloud;
        cloud.MarkAsTCPRemote("10.0.0.5", 9000);
        cloud.MarkAsNsqRemote("N1");
        QTest::newRow("nsq beats tcp") << cloud.GetLocation() << QString::fromUtf8("云端连接");
        ProgerInfo mqtt;
        mqtt.MarkAsMQTTRemote("M1");
        QTest::newRow("mqtt") << mqtt.GetLocation() << QString::fromUtf8("云端连接");
        ProgerInfo unknown;
        unknown.m_bLocal = false;
        QTest::newRow("unknown remote") << unknown.GetLocation() << QString::fromUtf8("未知");
    }
    void locationAndDescription()
    {
        QFETCH(QString, desc);
        QFETCH(QString, location);
        QCOMPARE(desc, location);
    }

    void copyFromPointerClearsLinkFlags()
    {
        ProgerInfo source("/r/", "ID", "M", "V");
        source.m_strHW = "HW2";
        source.MarkHIDProger("ID");
        source.MarkAsTCPRemote("h", 5);
        source.MarkAsNsqRemote("n");
        source.m_strExtra = "x";
        ProgerInfo copy(&source);
        QCOMPARE(copy.m_strHW, QString("HW2"));
        QCOMPARE(copy.m_strIP, QString("h"));
        QCOMPARE(copy.m_nPort, 5);
        QVERIFY(!copy.m_bLocal);
        QVERIFY(!copy.m_bHID);
        QVERIFY(copy.m_strNsqID.isEmpty());
        QVERIFY(copy.m_strExtra.isEmpty());
        ProgerInfo full(source);
        QCOMPARE(full.m_strExtra, QString("x"));
        QVERIFY(full.m_bHID);
    }

    void identityFile_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("isProger");
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("model");
        QTest::addColumn<QString>("hw");
        QTest::newRow("full") << QByteArray("ID=0011\r\nVER=V1.2\r\nHW=H3\r\nMODEL=QEL720A\r\n") << true
                              << "0011" << "QEL720A" << "H3";
        QTest::newRow("no model") << QByteArray("ID=22\nVER=1\n") << true << "22" << "QEL719A" << "";
        QTest::newRow("id only") << QByteArray("ID=22\n") << false << "" << "" << "";
        QTest::newRow("skipped lines") << QByteArray("=ID=9\nID=a=b\nVER\nID=33\nVER=\n") << true << "33"
                                       << "QEL719A" << "";
        QTest::newRow("later wins") << QByteArray("ID=1\nVER=1\nID=2\n") << true << "2" << "QEL719A" << "";
        QTest::newRow("binary junk") << QByteArray("\x00\xff\xfe=\n\x01\x02", 8) << false << "" << "" << "";
        QTest::newRow("empty") << QByteArray() << false << "" << "" << "";
    }
    void identityFile()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, isProger);
        QTemporaryDir dir;
        const QString path = dir.filePath("qelprogrammer.dat");
        WriteText(path, content);
        ProgerInfo info;
        QCOMPARE(BurnHub::IsRightProger(path, info), isProger);
        QTEST(info.m_strID, "id");
        QTEST(info.m_strModel, "model");
        QTEST(info.m_strHW, "hw");
    }

    void emptyValueKept()
    {
        QTemporaryDir dir;
        WriteText(dir.filePath("f"), "KEY=\nA=1\n");
        QMap<QString, QString> map;
        QVERIFY(BurnHub::ReadSysFile(dir.filePath("f"), map));
        QVERIFY(map.contains("KEY"));
        QCOMPARE(map.value("KEY"), QString());
        QVERIFY(!BurnHub::ReadSysFile(dir.filePath("missing"), map = {}));
    }

    void volumeRules()
    {
        QVERIFY(BurnHub::IsProgerVolume("vfat", false));
        QVERIFY(BurnHub::IsProgerVolume("exfat", false));
        QVERIFY(!BurnHub::IsProgerVolume("vfat", true));
        QVERIFY(!BurnHub::IsProgerVolume("NTFS", false));
        QVERIFY(!BurnHub::IsProgerVolume("ntfs3", false));
        QVERIFY(!BurnHub::IsProgerVolume("fuseblk", false));
    }

    void discoveryThroughSearchList()
    {
        QTemporaryDir dir;
        MakeProgrammer(dir.filePath("progA"), "ID=AAA\nVER=1.0\nMODEL=QEL720A\n");
        MakeProgrammer(dir.filePath("progB"), "ID=BBB\n"); // no VER: not a programmer
        QDir().mkpath(dir.filePath("empty"));
        qputenv("QEL_PROG_DIRS", (dir.filePath("progA") + ":" + dir.filePath("empty")).toLocal8Bit());
        BurnHub::Instance()->SetSearchDirs({dir.filePath("progB")});
        const QList<ProgerInfo> list = BurnHub::Instance()->GetProgerList();
        qunsetenv("QEL_PROG_DIRS");
        QList<ProgerInfo> ours;
        for (const ProgerInfo &info : list) {
            if (info.m_strRoot.startsWith(dir.path()))
                ours << info;
        }
        QCOMPARE(ours.size(), 1);
        QCOMPARE(ours[0].m_strID, QString("AAA"));
        QCOMPARE(ours[0].m_strRoot, dir.filePath("progA") + "/");
        QCOMPARE(ours[0].GetDesc(), QString("local-progA"));

        BurnHub::Instance()->SetSearchDirs({dir.filePath("progA")});
        QCOMPARE(BurnHub::Instance()->GetProger("progA").m_strID, QString("AAA"));
        QCOMPARE(BurnHub::Instance()->GetProger(dir.filePath("progA")).m_strID, QString("AAA"));
        QVERIFY(BurnHub::Instance()->GetProger("nothere").m_strID.isEmpty());
        QVERIFY(BurnHub::Instance()->GetProger("Q").m_strID.isEmpty());
    }

    void discoveryOfMountedVolume()
    {
        if (geteuid() != 0)
            QSKIP("mounting needs root");
        QTemporaryDir dir;
        const QString mountPoint = dir.filePath("PROGVOL");
        QDir().mkpath(mountPoint);
        if (QProcess::execute("mount", {"-t", "tmpfs", "-o", "size=1m", "qeltest", mountPoint}) != 0)
            QSKIP("tmpfs cannot be mounted here");
        MakeProgrammer(mountPoint, "ID=MNT1\nVER=2.0\n");
        const QList<ProgerInfo> list = BurnHub::Instance()->GetProgerList();
        QProcess::execute("umount", {mountPoint});
        bool found = false;
        for (const ProgerInfo &info : list)
            found = found || (info.m_strID == "MNT1" && info.m_strRoot == mountPoint + "/");
        QVERIFY(found);
    }

    void folderFunctionsWithEmptyRoot()
    {
        BurnHub *hub = BurnHub::Instance();
        hub->SetProgRoot(QString());
        QVERIFY(hub->GetConfigDir().isEmpty());
        QVERIFY(hub->GetProcDir().isEmpty());
        QTemporaryDir dir;
        hub->SetProgRoot(dir.path() + "/");
        QCOMPARE(hub->GetConfigDir(), dir.path() + "/config/");
        QVERIFY(QFileInfo(dir.path() + "/config").isDir());
    }

    void usbProgramFolder()
    {
        BurnHub *hub = BurnHub::Instance();
        const QString path = hub->GetUSBProgFilePath("UID9", "qelprogrammer.dat");
        QVERIFY(path.endsWith("qel720A_server/UID9/qelprogrammer.dat"));
        QVERIFY(QFileInfo(QFileInfo(path).absolutePath()).isDir());
        QVERIFY(hub->GetUSBProgInfo("UID9").m_strID.isEmpty());
        WriteText(path, "ID=UID9\nVER=3\nMODEL=QEL720C\n");
        QCOMPARE(hub->GetUSBProgInfo("UID9").m_strModel, QString("QEL720C"));
    }
};

QEL_TEST_MAIN(TestProger)
#include "tst_proger.moc"
