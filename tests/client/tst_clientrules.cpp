// The client's rules without a window: its programmer list, file reception,
// the chip exchange, and what it lets a peer do to its programmer.
#include "cchipreader.h"
#include "clienttest.h"
#include "clocalproger.h"
#include "cstationprogers.h"
#include "filehandle.h"

#include <burnhub.h>
#include <cmainhost.h>

#include <QFile>
#include <QTemporaryDir>

namespace {
const QString kIdA = QStringLiteral("3F0027000B51353235383233");
const QString kIdB = QStringLiteral("3F0027000B51353235383244");

class LogHost : public CMainHost
{
public:
    LogHost() { CMainHost::SetInstance(this); }
    ~LogHost() override { CMainHost::SetInstance(nullptr); }
    void Log(const QString &text) override { logs.append(text); }
    QStringList logs;
};

ProgerInfo Disk(const QString &root, const QString &id)
{
    ProgerInfo info(root, id, QStringLiteral("QEL720A"), QStringLiteral("V2.1.5"));
    return info;
}

} // namespace

class TestClientRules : public QObject
{
    Q_OBJECT
private slots:
    void stationListKeepsTheCurrentProgrammer()
    {
        CStationProgers list;
        QVERIFY(!list.Current());
        QCOMPARE(list.CurrentRow(), -1);
        list.Rebuild({Disk(QStringLiteral("/m/A/"), kIdA), Disk(QStringLiteral("/m/B/"), kIdB)},
                     {QStringLiteral("sim:hid0")}, {QStringLiteral("/dev/pts/7")});
        QCOMPARE(list.Count(), 4);
        QCOMPARE(list.At(2).kind, CStationProger::Hid);
        QCOMPARE(list.At(3).kind, CStationProger::Vcp);
        QVERIFY(list.At(3).info.m_bVCP);
        QCOMPARE(list.At(3).Text(), QStringLiteral("USB-VCP /dev/pts/7"));
        QCOMPARE(list.Current()->info.m_strID, kIdA);

        // The current entry survives a rebuild that moves it; a vanished one gives way to the first.
        QVERIFY(list.SetCurrentRow(1));
        QVERIFY(!list.SetCurrentRow(4));
        list.Rebuild({Disk(QStringLiteral("/m/B/"), kIdB)}, {}, {});
        QCOMPARE(list.CurrentRow(), 0);
        QCOMPARE(list.Current()->info.m_strID, kIdB);
        list.Rebuild({}, {}, {QStringLiteral("/dev/pts/7")});
        QCOMPARE(list.Current()->key, QStringLiteral("/dev/pts/7"));
        list.Rebuild({}, {}, {});
        QVERIFY(!list.Current());
    }

    void fileReceptionJoinsChunksAndTimesOut()
    {
        LogHost host;
        QTemporaryDir dir;
        FileHandle *handle = FileHandle::Instance();
        qint64 now = 1000;
        handle->SetClock([&now] { return now; });
        QString path;
        QString err;

        QVERIFY(handle->addData(QStringLiteral("a.img"), 7, "first-", true, path, err, dir.path()));
        QVERIFY(handle->addData(QStringLiteral("a.img"), 8, "other", true, path, err, dir.path()));
        QVERIFY(handle->addData(QStringLiteral("a.img"), 7, "second-", true, path, err, dir.path()));
        QVERIFY(path.isEmpty());
        QVERIFY(handle->addData(QStringLiteral("a.img"), 7, "last", false, path, err, dir.path()));
        QCOMPARE(path, dir.filePath(QStringLiteral("a.img")));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("first-second-last"));
        // Only number 8 is still open: the finished file does not collect a later push.
        QCOMPARE(handle->Count(), 1);

        // Idle 60 s stays, more than 60 s goes, with its line.
        now += 60;
        handle->CheckTimeout();
        QCOMPARE(handle->Count(), 1);
        now += 1;
        handle->CheckTimeout();
        QCOMPARE(handle->Count(), 0);
        QVERIFY(host.logs.contains(QStringLiteral("文件接收超时: a.img")));

        // Names that leave the folder are refused and keep nothing.
        for (const QString &bad : {QStringLiteral("../a.img"), QStringLiteral("sub/a.img"), QString()}) {
            QVERIFY(!handle->addData(bad, 1, "x", false, path, err, dir.path()));
            QVERIFY(!err.isEmpty());
        }
        QCOMPARE(handle->Count(), 0);
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("../a.img"))));

        // A file over the limit is refused once; its later chunks start nothing.
        handle->SetMaxBytes(8);
        QVERIFY(handle->addData(QStringLiteral("big.img"), 9, "12345", true, path, err, dir.path()));
        QVERIFY(!handle->addData(QStringLiteral("big.img"), 9, "67890", true, path, err, dir.path()));
        QVERIFY(err.contains(QStringLiteral("big.img")));
        QVERIFY(!handle->addData(QStringLiteral("big.img"), 9, "1", true, path, err, dir.path()));
        QVERIFY(err.isEmpty());
        QVERIFY(!handle->addData(QStringLiteral("big.img"), 9, "2", false, path, err, dir.path()));
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("big.img"))));
        QCOMPARE(handle->Count(), 0);
        handle->SetMaxBytes(FileHandle::kMaxFileBytes);
        handle->SetClock(nullptr);
    }

    void chipExchange()
    {
        QCOMPARE(CChipReader::Crc16Modbus("123456789"), quint16(0x4B37));
        const QByteArray request = CChipReader::Request();
        QCOMPARE(request.left(6), QByteArray::fromHex("010300000006"));
        const quint16 crc = clienttest::ModbusBitwise(request.left(6));
        QCOMPARE(quint8(request.at(6)), quint8(crc & 0xFF));
        QCOMPARE(quint8(request.at(7)), quint8(crc >> 8));

        CChipReader reader;
        CChipValues values;
        const QByteArray good = clienttest::ChipAnswer(3, 12, 10203, 0xDEADBEEF, 0x0000ABCD);
        QCOMPARE(reader.Feed(good.left(5), values), CChipReader::NeedMore);
        QCOMPARE(reader.Feed(good.mid(5), values), CChipReader::Ok);
        QCOMPARE(values.version, 10203u);
        QCOMPARE(values.crc1, 0xDEADBEEFu);
        QCOMPARE(values.crc2, 0x0000ABCDu);
        QCOMPARE(reader.Feed(clienttest::ChipAnswer(4, 12, 1, 2, 3), values), CChipReader::BadFunction);
        QCOMPARE(reader.Feed(clienttest::ChipAnswer(3, 11, 1, 2, 3), values), CChipReader::BadLength);
        // A short answer claiming 12 bytes waits instead of reading past its end.
        QCOMPARE(reader.Feed(QByteArray::fromHex("01030C0102"), values), CChipReader::NeedMore);
    }

    void peerCannotReachBeyondTheImages()
    {
        QTemporaryDir dir;
        const QString root = dir.path() + QStringLiteral("/P/");
        QVERIFY(clienttest::MakeProger(root, kIdA));
        QVERIFY(clienttest::MakeImage(dir.path(), dir.filePath(QStringLiteral("x.img"))));
        CStationProger proger{CStationProger::Disk, root, Disk(root, kIdA)};
        const CLocalProger local(&proger);
        QString err;
        QString name = QStringLiteral("fw");
        QVERIFY2(local.DownImage(3, dir.filePath(QStringLiteral("x.img")), name, err), qPrintable(err));
        QCOMPARE(name, QStringLiteral("fw.img"));

        // A path, or a name the index does not list, is answered false and deletes nothing.
        for (const QString &bad : {QStringLiteral("../sys/qelprogrammer.dat"), QStringLiteral("other.img")}) {
            QVERIFY(!local.ClearImage(bad, err));
            QVERIFY(err.contains(bad));
        }
        QVERIFY(QFile::exists(root + QStringLiteral("sys/qelprogrammer.dat")));
        QList<ImageInfo> images;
        QVERIFY(local.ReadImages(images, err));
        QCOMPARE(images.size(), 1);
        QVERIFY(local.ClearImage(QStringLiteral("fw.img"), err));
        QVERIFY(local.ReadImages(images, err));
        QVERIFY(images.isEmpty());

        // A name GBK cannot hold never reaches the index.
        QString emoji = QStringLiteral("fw\U0001F600");
        QVERIFY(!local.DownImage(4, dir.filePath(QStringLiteral("x.img")), emoji, err));
        QVERIFY(err.contains(QStringLiteral("GBK")));
        QVERIFY(local.ReadImages(images, err));
        QVERIFY(images.isEmpty());

        // Nothing without a programmer; HID and VCP programmers are not written from here yet.
        QVERIFY(!CLocalProger(nullptr).ReadImages(images, err));
        CStationProger hid{CStationProger::Hid, QStringLiteral("sim:0"), ProgerInfo()};
        QVERIFY(!CLocalProger(&hid).ClearAllImages(err));
        BurnHub::Exitance();
    }
};

QEL_TEST_MAIN(TestClientRules)
#include "tst_clientrules.moc"
