// CReportPipe through the simulation backend, against CHidSimDevice.
#include "qeltest.h"

#include <chidsimdevice.h>
#include <creportpipe.h>
#include <hidsimwire.h>

#include <QLocalServer>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QTemporaryDir>

namespace {

class Pipe : public CReportPipe
{
public:
    QList<QPair<QString, QByteArray>> reports;
    QList<QPair<bool, QString>> states;

protected:
    void HandleRecvData(const HidRecvData &data) override
    {
        reports.append({data.strKey, QByteArray(reinterpret_cast<const char *>(data.pData), data.nLen)});
    }
    void HandleDevState(bool open, const QString &key) override { states.append({open, key}); }
};

} // namespace

class TestReportPipe : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        // Short socket paths: a Unix socket path is limited to about 100 bytes.
        m_dir = std::make_unique<QTemporaryDir>(QStringLiteral("/tmp/qelhid-XXXXXX"));
        QVERIFY(m_dir->isValid());
        CReportPipe::SetSimulationDir(m_dir->path());
    }
    void cleanup() { CReportPipe::SetSimulationDir(QString()); }

    void wireNames()
    {
        quint16 vid = 0;
        quint16 pid = 0;
        QString serial;
        QVERIFY(HidSimWire::ParseSocketFileName(HidSimWire::SocketFileName(0x0483, 0x5751, QStringLiteral("AB-1")), vid, pid, serial));
        QCOMPARE(vid, quint16(0x0483));
        QCOMPARE(serial, QStringLiteral("AB-1"));
        QVERIFY(!HidSimWire::ParseSocketFileName(QStringLiteral("0483_5751_a/b.hidsock"), vid, pid, serial));
        CHidSimDevice bad;
        QVERIFY(!bad.Start(m_dir->path(), 0x0483, 0x5751, QStringLiteral("../x")));
    }

    void enumeratesOpensAndExchanges()
    {
        CHidSimDevice a;
        CHidSimDevice b;
        CHidSimDevice other;
        QVERIFY(a.Start(m_dir->path(), 0x0483, 0x5751, QStringLiteral("SIM0001")));
        QVERIFY(b.Start(m_dir->path(), 0x0485, 0x5760, QStringLiteral("SIM0002")));
        QVERIFY(other.Start(m_dir->path(), 0x1234, 0x5678, QStringLiteral("SIM0003")));

        Pipe pipe;
        QVERIFY(pipe.IsSimulated());
        QCOMPARE(CReportPipe::Instance(), &pipe);
        QList<CHidInfo> list;
        QVERIFY(pipe.EnumDevices(list, 0x0483, 0x5751));
        QVERIFY(pipe.EnumDevices(list, 0x0485, 0x5760));
        QVERIFY(!pipe.EnumDevices(list, 0x0483, 0x9999));
        QCOMPARE(list.size(), 2);
        QCOMPARE(list[0].m_strSerial, QStringLiteral("SIM0001"));
        QCOMPARE(list[0].m_strPath, a.Path());
        QCOMPARE(list[1].m_nVid, quint16(0x0485));

        QVERIFY(pipe.StartNewHid(list, false));
        QCOMPARE(pipe.states.size(), 2);
        QTRY_VERIFY(a.IsAttached() && b.IsAttached());

        // A frame longer than one report goes out as zero-padded reports.
        QSignalSpy fromHost(&a, &CHidSimDevice::sigReport);
        QByteArray frame(100, '\x5a');
        QVERIFY(pipe.SendData(reinterpret_cast<unsigned char *>(frame.data()), quint16(frame.size()), a.Path()));
        QTRY_COMPARE(fromHost.size(), 2);
        QCOMPARE(fromHost[0][0].toByteArray() + fromHost[1][0].toByteArray(), frame + QByteArray(28, '\0'));

        QVERIFY(b.SendFrame("hello"));
        QTRY_COMPARE(pipe.reports.size(), 1);
        QCOMPARE(pipe.reports[0].first, b.Path());
        QCOMPARE(pipe.reports[0].second, QByteArray("hello") + QByteArray(HidSimWire::kReportSize - 5, '\0'));

        // Unknown and closed devices refuse writes.
        QVERIFY(!pipe.SendData(reinterpret_cast<unsigned char *>(frame.data()), 4, QStringLiteral("nope")));
        pipe.CloseOneHid(b.Path());
        QVERIFY(!pipe.IsOpen(b.Path()));
        QVERIFY(!pipe.SendData(reinterpret_cast<unsigned char *>(frame.data()), 4, b.Path()));
        QTRY_VERIFY(!b.IsAttached());
    }

    void removedDeviceIsReportedAndGarbageIsSurvived()
    {
        CHidSimDevice dev;
        QVERIFY(dev.Start(m_dir->path(), 0x0483, 0x5751, QStringLiteral("GONE")));
        Pipe pipe;
        QList<CHidInfo> list;
        QVERIFY(pipe.EnumDevices(list, 0x0483, 0x5751));
        QVERIFY(pipe.StartNewHid(list, false));
        QTRY_VERIFY(dev.IsAttached());
        dev.Stop();
        QTRY_COMPARE(pipe.states.size(), 2);
        QCOMPARE(pipe.states[1], qMakePair(false, list[0].m_strPath));
        QVERIFY(!pipe.IsOpen(list[0].m_strPath));

        // A device end that breaks the wire format is dropped, not trusted.
        QVERIFY(dev.Start(m_dir->path(), 0x0483, 0x5751, QStringLiteral("GONE")));
        QVERIFY(pipe.StartNewHid(list, false));
        QTRY_VERIFY(dev.IsAttached());
        QVERIFY(dev.SendRaw(QByteArray::fromHex("ffff") + QByteArray(100, '\x01')));
        QTRY_VERIFY(!pipe.IsOpen(list[0].m_strPath));
        QVERIFY(pipe.reports.isEmpty());
    }

    void devicesThatCannotBeOpened()
    {
        Pipe pipe;
        CHidInfo ghost;
        ghost.m_strPath = m_dir->filePath(QStringLiteral("0483_5751_GHOST.hidsock"));
        QVERIFY(!pipe.StartNewHid({ghost}, false));
        QVERIFY(pipe.states.isEmpty());
        QList<CHidInfo> list;
        QVERIFY(!pipe.EnumDevices(list, 0x0483, 0x5751));
        QVERIFY(!pipe.EnumDevices(list, 0x10000, 0x5751));
    }

    void hidrawBackendEnumeratesWithoutDevices()
    {
        CReportPipe::SetSimulationDir(QString());
        qunsetenv(HidSimWire::EnvName());
        Pipe pipe;
        QVERIFY(!pipe.IsSimulated());
        QList<CHidInfo> list;
        // No programmer is attached to the test machine; the call must still be safe.
        pipe.EnumDevices(list, 0x0483, 0x5751);
        for (const CHidInfo &info : qAsConst(list))
            QCOMPARE(info.m_nVid, quint16(0x0483));
        CHidInfo missing;
        missing.m_strPath = QStringLiteral("/dev/hidraw-missing");
        QVERIFY(!pipe.StartNewHid({missing}, false));
        unsigned char byte = 0x68;
        QVERIFY(!pipe.SendData(&byte, 1, missing.m_strPath));
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

QEL_TEST_CORE_MAIN(TestReportPipe)
#include "tst_reportpipe.moc"
