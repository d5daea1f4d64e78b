// Device watch: the path parsers, the programmer search list and real mounts
// (in a private mount namespace, so nothing leaks to the rest of the machine).
#include "qeltest.h"
#include "udisk.h"

#include <QSignalSpy>
#include <QTemporaryDir>

#include <sched.h>
#include <sys/mount.h>

namespace {
// Signals about one root only: other mounts may come and go meanwhile.
int CountFor(const QSignalSpy &spy, const QString &root)
{
    int n = 0;
    for (const QList<QVariant> &args : spy)
        n += args.at(0).toString() == root;
    return n;
}
} // namespace

class TestUDisk : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void firstDriveFromMask();
    void parseDevicePath_data();
    void parseDevicePath();
    void hidPathFromUdev();
    void searchDirsFromEnvironment();
    void searchListProgrammerComesAndGoes();
    void mountComesAndEjectRemovesIt();
    void ejectRefusesFolderThatIsNoMount();

private:
    bool m_bPrivateMounts = false;
};

void TestUDisk::initTestCase()
{
    // Only root in a fresh namespace may mount; the other tests run anyway.
    m_bPrivateMounts = ::unshare(CLONE_NEWNS) == 0
        && ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
}

void TestUDisk::firstDriveFromMask()
{
    QCOMPARE(uDisk::FirstDriveFromMask(0x1), QChar('A'));
    QCOMPARE(uDisk::FirstDriveFromMask(1u << 5), QChar('F'));
    QCOMPARE(uDisk::FirstDriveFromMask((1u << 4) | (1u << 20)), QChar('E'));
    QCOMPARE(uDisk::FirstDriveFromMask(1u << 25), QChar('Z'));
    // No drive bit: the character after Z, also when only bits above Z are set.
    QCOMPARE(uDisk::FirstDriveFromMask(0), QChar('['));
    QCOMPARE(uDisk::FirstDriveFromMask(1u << 26), QChar('['));
}

void TestUDisk::parseDevicePath_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("programmer");
    QTest::addColumn<QString>("instance");
    QTest::newRow("programmer") << "\\\\?\\HID#VID_0483&PID_5751#7&2A3B4C5D&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030}"
                                << true << "2A3B4C5D";
    QTest::newRow("lower case") << "\\\\?\\hid#vid_0483&pid_5751#7&abc&0&0000#{x}" << true << "ABC";
    QTest::newRow("other vendor") << "\\\\?\\HID#VID_0485&PID_5751#7&1&0&0000#{x}" << false << "";
    QTest::newRow("other product") << "\\\\?\\HID#VID_0483&PID_5760#7&1&0&0000#{x}" << false << "";
    QTest::newRow("no product") << "\\\\?\\HID#VID_0483#7&1&0&0000#{x}" << false << "";
    QTest::newRow("no instance") << "\\\\?\\HID#VID_0483&PID_5751#7#{x}" << false << "";
    QTest::newRow("too short") << "\\\\?\\HID#VID_0483&PID_5751" << false << "";
    QTest::newRow("empty") << "" << false << "";
}

void TestUDisk::parseDevicePath()
{
    QFETCH(QString, path);
    QFETCH(bool, programmer);
    QFETCH(QString, instance);
    QString got = QStringLiteral("unchanged");
    QCOMPARE(uDisk::ParseDevicePath(path, got), programmer);
    QCOMPARE(got, programmer ? instance : QStringLiteral("unchanged"));
}

void TestUDisk::hidPathFromUdev()
{
    QString instance;
    const QString path = uDisk::HidDevicePath("0003:00000483:00005751", "/dev/hidraw3");
    QVERIFY2(uDisk::ParseDevicePath(path, instance), qPrintable(path));
    QCOMPARE(instance, QStringLiteral("/DEV/HIDRAW3"));
    QVERIFY(!uDisk::ParseDevicePath(uDisk::HidDevicePath("0003:0000046D:0000C52B", "/dev/hidraw0"), instance));
    QVERIFY(!uDisk::ParseDevicePath(uDisk::HidDevicePath("", "/dev/hidraw1"), instance));
    QVERIFY(!uDisk::ParseDevicePath(uDisk::HidDevicePath("garbage", "/dev/hidraw1"), instance));
}

void TestUDisk::searchDirsFromEnvironment()
{
    qputenv("QEL_PROG_DIRS", "/tmp/qel-a::/tmp/qel-b/");
    uDisk watch;
    qunsetenv("QEL_PROG_DIRS");
    QCOMPARE(watch.SearchDirs(), QStringList({"/tmp/qel-a/", "/tmp/qel-b/"}));
}

void TestUDisk::searchListProgrammerComesAndGoes()
{
    QTemporaryDir present, later;
    QVERIFY(QDir().mkpath(present.path() + "/sys"));
    QFile old(present.path() + "/sys/qelprogrammer.dat");
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.close();

    uDisk watch;
    QSignalSpy come(&watch, &uDisk::sigUDiskCome);
    QSignalSpy gone(&watch, &uDisk::sigUDiskRemove);
    watch.SetSearchDirs({present.path(), later.path()});

    QVERIFY(QDir().mkpath(later.path() + "/sys"));
    QFile id(later.path() + "/sys/qelprogrammer.dat");
    QVERIFY(id.open(QIODevice::WriteOnly));
    id.write("ID=0123456789ABCDEF01234567\nVER=1.0\n");
    id.close();
    const QString root = later.path() + "/";
    QTRY_COMPARE_WITH_TIMEOUT(CountFor(come, root), 1, 15000);
    // The folder that held a programmer from the start is not announced.
    QCOMPARE(CountFor(come, present.path() + "/"), 0);

    QVERIFY(QFile::remove(later.path() + "/sys/qelprogrammer.dat"));
    QTRY_COMPARE_WITH_TIMEOUT(CountFor(gone, root), 1, 15000);
    QCOMPARE(CountFor(come, root), 1);
    QCOMPARE(CountFor(gone, present.path() + "/"), 0);
}

void TestUDisk::mountComesAndEjectRemovesIt()
{
    if (!m_bPrivateMounts)
        QSKIP("mounting needs root and a private mount namespace");
    QTemporaryDir src, dst;
    const QByteArray target = QFile::encodeName(dst.path());
    uDisk watch;
    QSignalSpy come(&watch, &uDisk::sigUDiskCome);
    QSignalSpy gone(&watch, &uDisk::sigUDiskRemove);

    const QString root = dst.path() + "/";
    QVERIFY(::mount(QFile::encodeName(src.path()).constData(), target.constData(), nullptr, MS_BIND, nullptr) == 0);
    QTRY_COMPARE_WITH_TIMEOUT(CountFor(come, root), 1, 15000);
    QCOMPARE(CountFor(gone, root), 0);

    QString msg;
    const bool ejected = watch.EjectDisk(root, msg);
    if (!ejected)
        ::umount(target.constData());
    QVERIFY2(ejected, qPrintable(msg));
    QTRY_COMPARE_WITH_TIMEOUT(CountFor(gone, root), 1, 15000);
    QCOMPARE(CountFor(come, root), 1);
    // Gone for good: a second eject finds no disk there.
    QVERIFY(!watch.EjectDisk(root, msg));
}

void TestUDisk::ejectRefusesFolderThatIsNoMount()
{
    QTemporaryDir dir;
    uDisk watch;
    QString msg;
    QVERIFY(!watch.EjectDisk(dir.path() + "/", msg));
    QVERIFY(msg.contains(dir.path()));
    msg.clear();
    QVERIFY(!watch.EjectDisk("/", msg));
    QVERIFY(!msg.isEmpty());
}

QEL_TEST_MAIN(TestUDisk)
#include "tst_udisk.moc"
