#include "qeltest.h"

#include "hextool.h"

#include <QLoggingCategory>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {

// One record line with its checksum, built the way the format defines it.
QByteArray rec(int type, int addr, const QByteArray &data)
{
    QByteArray raw;
    raw.append(char(data.size())).append(char(addr >> 8)).append(char(addr)).append(char(type)).append(data);
    uchar sum = 0;
    for (char c : raw)
        sum = uchar(sum + uchar(c));
    raw.append(char(-sum));
    return ':' + raw.toHex().toUpper() + "\r\n";
}

QByteArray bytes(int n, int first = 0)
{
    QByteArray b;
    for (int i = 0; i < n; ++i)
        b.append(char(first + i));
    return b;
}

const QByteArray kEnd = ":00000001FF\r\n";

} // namespace

class TestHexTool : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString write(const QString &name, const QByteArray &content)
    {
        const QString path = m_dir.filePath(name);
        QFile f(path);
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(content);
        return path;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QLoggingCategory::setFilterRules(QStringLiteral("qel.hextool.debug=false"));
    }

    void codes_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("code");
        const QByteArray four = ":0400000001020304F2\r\n";
        QTest::newRow("ok") << four + kEnd << 0;
        QTest::newRow("lower case, blank lines, spaces") << QByteArray("\n  :0400000001020304f2 \r\n\r\n\t:00000001ff") << 0;
        QTest::newRow("rest after the end is not read") << kEnd + "garbage" << 0;
        QTest::newRow("longest line") << rec(0, 0, QByteArray(255, 'x')).trimmed() + "\n" + kEnd << 0;
        QTest::newRow("no end record") << four << 10;
        QTest::newRow("no end record, trailing newline") << four + "\n\n" << 10;
        QTest::newRow("empty file") << QByteArray() << 10;
        QTest::newRow("too long") << ":" + QByteArray(522, '0') << 1;
        QTest::newRow("too short") << QByteArray(":00000001F") << 2;
        QTest::newRow("split by a blank") << ":04000000 01020304F2\n" + kEnd << 2;
        QTest::newRow("no start mark") << QByteArray(";00000001FF") << 3;
        QTest::newRow("type 6") << QByteArray(":00000006FA") << 4;
        QTest::newRow("odd digit count") << QByteArray(":00000001FF0") << 5;
        QTest::newRow("count above content") << QByteArray(":0500000001020304F1") << 5;
        QTest::newRow("count below content") << QByteArray(":0300000001020304F3") << 5;
        QTest::newRow("address record without data") << QByteArray(":00000004FC") << 5;
        QTest::newRow("checksum") << ":0400000001020304F3\n" + kEnd << 6;
        QTest::newRow("not a hex digit") << ":04000000010203G4F2\n" + kEnd << 11;
        QTest::newRow("error after data") << four + ":0400040001020304EF\n" << 6;
    }

    void codes()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, code);
        const QString path = write(QStringLiteral("codes.hex"), text);
        ConvBinList list;
        QString err;
        QCOMPARE(HexTool::FileConvHex2BinData(path, list, err), code == 0);
        QCOMPARE(HexTool::ReadHexFile(path, list), code);
        QVERIFY(err.startsWith(HexTool::ResultMessage(code)));
        QVERIFY(err != HexTool::ResultMessage(-1));
    }

    void errorNamesItsLine()
    {
        // The bad record on line 3, after a blank line; a good file names no line.
        const QByteArray text = ":0400000001020304F2\r\n\r\n:0400040001020304EF\r\n" + kEnd;
        ConvBinList list;
        int line = -1;
        QCOMPARE(HexTool::ParseHex(text.constData(), text.size(), list, &line), int(HexTool::BadChecksum));
        QCOMPARE(line, 3);
        QString err;
        QVERIFY(!HexTool::FileConvHex2BinData(write(QStringLiteral("line.hex"), text), list, err));
        QCOMPARE(err, QStringLiteral("HEX文件转换出错，校验错误 (第3行)"));
        // A missing end record is reported after the last line.
        const QByteArray open = ":0400000001020304F2\n";
        QCOMPARE(HexTool::ParseHex(open.constData(), open.size(), list, &line), int(HexTool::NoEndRecord));
        QCOMPARE(line, 2);
        QVERIFY(HexTool::FileConvHex2BinData(write(QStringLiteral("ok.hex"), open + kEnd), list, err));
        QCOMPARE(err, HexTool::ResultMessage(0));
    }

    void lowestAddress()
    {
        // Data at 0x1010 first, then at 0x1000: the array starts at 0x1000.
        quint32 addr = 0;
        QString err;
        QVERIFY(HexTool::LowestAddress(write(QStringLiteral("low.hex"), rec(0, 0x1010, bytes(4)) + rec(0, 0x1000, bytes(4)) + kEnd),
                                       addr, err));
        QCOMPARE(addr, 0x1000u);
        QVERIFY(!HexTool::LowestAddress(write(QStringLiteral("none.hex"), kEnd), addr, err));
        QCOMPARE(err, QStringLiteral("转换数据为空!"));
    }

    void messages()
    {
        // The texts the operator sees for the commonest faults.
        QCOMPARE(HexTool::ResultMessage(6), QStringLiteral("HEX文件转换出错，校验错误"));
        QCOMPARE(HexTool::ResultMessage(10), QStringLiteral("HEX文件转换出错，HEX文件没有结束符"));
        QCOMPARE(HexTool::ResultMessage(0), QStringLiteral("HEX文件转换bin数据成功!"));
        ConvBinList list;
        QString err;
        QVERIFY(!HexTool::FileConvHex2BinData(m_dir.filePath("missing.hex"), list, err));
        QCOMPARE(err, QStringLiteral("HEX文件转换出错，HEX文件不存在"));
    }

    void addressRecords()
    {
        ConvBinList list;
        // Linear 0x0800, then segment 0x1000 (replacing, not adding), then linear 0x0001.
        const QByteArray text = ":020000040800F2\n" + rec(0, 0x0100, bytes(4)) + rec(5, 0, QByteArray(4, 0))
                                + rec(2, 0, QByteArray::fromHex("1000")) + rec(0, 0x0010, bytes(2))
                                + rec(3, 0, QByteArray(4, 0)) + rec(4, 0, QByteArray::fromHex("0001"))
                                + rec(0, 0xFFF0, bytes(16)) + kEnd;
        QCOMPARE(HexTool::ParseHex(text.constData(), text.size(), list), 0);
        QCOMPARE(list.size(), 3);
        QCOMPARE(list[0].m_nAddr, 0x08000100u);
        QCOMPARE(list[0].m_baData, bytes(4));
        QCOMPARE(list[1].m_nAddr, 0x00010010u);
        QCOMPARE(list[2].m_nAddr, 0x0001FFF0u);
        QCOMPARE(list[2].m_nValue, 0u);
    }

    void blocksAndArray()
    {
        // 0x0000 and 0x0010 join; 0x0030 after the end at 0x0020 opens a block;
        // 0x0008 lies below the end of that block and opens one at its own address.
        const QString path = write(QStringLiteral("blocks.hex"), rec(0, 0x0000, bytes(16, 0x00)) + rec(0, 0x0010, bytes(16, 0x10))
                                                                  + rec(0, 0x0030, bytes(4, 0x30)) + rec(0, 0x0008, bytes(2, 0x80))
                                                                  + kEnd);
        ConvBinList list;
        QString err;
        QVERIFY(HexTool::FileConvHex2BinData(path, list, err));
        QCOMPARE(list.size(), 3);
        QCOMPARE(list[0].m_baData, bytes(32));
        QCOMPARE(list[1].m_nAddr, 0x30u);
        QCOMPARE(list[2].m_nAddr, 0x08u);
        QCOMPARE(list[2].m_baData, bytes(2, 0x80));

        QByteArray array;
        QVERIFY(HexTool::FileConvHex2BinArray(path, array, err));
        QByteArray expect = bytes(32) + QByteArray(16, char(0xFF)) + bytes(4, 0x30);
        expect[8] = char(0x80); // the later block wins where they overlap
        expect[9] = char(0x81);
        QCOMPARE(array, expect);

        // A block below the first one: the array starts at the lowest address.
        const QString low = write(QStringLiteral("low.hex"), rec(0, 0x0010, bytes(2, 0x10)) + rec(0, 0x0000, bytes(2)) + kEnd);
        QVERIFY(HexTool::FileConvHex2BinArray(low, array, err));
        QCOMPARE(array, bytes(2) + QByteArray(14, char(0xFF)) + bytes(2, 0x10));

        const QString none = write(QStringLiteral("none.hex"), kEnd);
        QVERIFY(!HexTool::FileConvHex2BinArray(none, array, err));
        QCOMPARE(err, QStringLiteral("转换数据为空!"));
    }

    void binFile()
    {
        const QString hex = write(QStringLiteral("parts.hex"), rec(0, 0x0100, bytes(4, 1)) + rec(0, 0x0108, bytes(4, 9))
                                                                 + rec(0, 0x0104, bytes(2, 5)) + kEnd);
        const QString bin = m_dir.filePath(QStringLiteral("out/sub/parts.bin"));
        QDir(bin + ".parts").mkpath(QStringLiteral("."));
        write(QStringLiteral("out/sub/parts.bin.parts/stale.bin"), "x");
        QString err;
        QVERIFY2(HexTool::FileConvHex2Bin(hex, bin, err), qPrintable(err));
        QFile f(bin);
        QVERIFY(f.open(QIODevice::ReadOnly));
        // The block at 0x0104 lies below the running position (0x010C): not in the file.
        QCOMPARE(f.readAll(), bytes(4, 1) + QByteArray(4, char(0xFF)) + bytes(4, 9));
        const QDir parts(bin + ".parts");
        QCOMPARE(parts.entryList(QDir::Files), QStringList({"00000100.bin", "00000104.bin", "00000108.bin"}));
        QFile part(parts.filePath("00000104.bin"));
        QVERIFY(part.open(QIODevice::ReadOnly));
        QCOMPARE(part.readAll(), bytes(2, 5));

        // A single block makes no parts folder; a target that cannot be opened fails.
        const QString one = write(QStringLiteral("one.hex"), rec(0, 0, bytes(3)) + kEnd);
        QVERIFY(HexTool::FileConvHex2Bin(one, m_dir.filePath("one.bin"), err));
        QVERIFY(!QDir(m_dir.filePath("one.bin.parts")).exists());
        QVERIFY(!HexTool::FileConvHex2Bin(one, m_dir.path(), err));
        QVERIFY(err.contains(QStringLiteral("目标文件打开失败 ")));
    }

    void spanTooLarge()
    {
        const QString path = write(QStringLiteral("wide.hex"), rec(0, 0, bytes(1)) + rec(4, 0, QByteArray::fromHex("FFFF"))
                                                                 + rec(0, 0xFF00, bytes(1)) + kEnd);
        QByteArray array;
        QString err;
        QVERIFY(!HexTool::FileConvHex2BinArray(path, array, err));
        QCOMPARE(err, HexTool::ResultMessage(HexTool::SpanTooLarge));
        QVERIFY(!HexTool::FileConvHex2Bin(path, m_dir.filePath("wide.bin"), err));
        QVERIFY(!QFile::exists(m_dir.filePath("wide.bin")));
    }

    void bin2Hex()
    {
        const QString bin = write(QStringLiteral("twenty.bin"), bytes(20));
        const QString hex = m_dir.filePath(QStringLiteral("twenty.hex"));
        QString err;
        QVERIFY(HexTool::FileConvBin2Hex(bin, hex, err));
        QCOMPARE(err, QStringLiteral("BIN文件转换HEX文件成功!"));
        QFile f(hex);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray(":020000040000FA\r\n"
                                         ":10000000000102030405060708090A0B0C0D0E0F78\r\n"
                                         ":0400100010111213A6\r\n"
                                         ":04000005000000C136\r\n"
                                         ":00000001FF\r\n"));

        QVERIFY(!HexTool::FileConvBin2Hex(m_dir.filePath("missing.bin"), hex, err));
        QCOMPARE(err, QStringLiteral("BIN文件不存在!"));
        QVERIFY(!HexTool::FileConvBin2Hex(bin, m_dir.filePath("no/such/dir/x.hex"), err));
        QCOMPARE(err, QStringLiteral("HEX文件路径错误!"));
    }

    // Our HEX output read by objcopy, and srec_cat's HEX read by us, over several 64 KiB pages.
    void roundTripWithPeers()
    {
        QByteArray data(200000, '\0');
        QRandomGenerator rng(7);
        for (char &c : data)
            c = char(rng.bounded(256));
        const QString bin = write(QStringLiteral("big.bin"), data);
        const QString hex = m_dir.filePath(QStringLiteral("big.hex"));
        QString err;
        QVERIFY(HexTool::FileConvBin2Hex(bin, hex, err));
        QByteArray back;
        QVERIFY(HexTool::FileConvHex2BinArray(hex, back, err));
        QCOMPARE(back, data);

        const QString objcopy = QStandardPaths::findExecutable(QStringLiteral("objcopy"));
        const QString srecCat = QStandardPaths::findExecutable(QStringLiteral("srec_cat"));
        if (objcopy.isEmpty() || srecCat.isEmpty())
            QSKIP("objcopy or srec_cat not installed (scripts/setup installs them)");
        const QString peerBin = m_dir.filePath(QStringLiteral("objcopy.bin"));
        QCOMPARE(QProcess::execute(objcopy, {"-I", "ihex", "-O", "binary", hex, peerBin}), 0);
        QFile f(peerBin);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), data);

        // srec_cat places the data at 0x08000000 with its own record layout.
        const QString peerHex = m_dir.filePath(QStringLiteral("srec.hex"));
        QCOMPARE(QProcess::execute(srecCat, {bin, "-binary", "-offset", "0x08000000", "-o", peerHex, "-intel"}), 0);
        ConvBinList list;
        QVERIFY2(HexTool::FileConvHex2BinData(peerHex, list, err), qPrintable(err));
        QCOMPARE(list.size(), 1);
        QCOMPARE(list[0].m_nAddr, 0x08000000u);
        QCOMPARE(list[0].m_baData, data);
    }

    // Mutated files of every kind: a result code with its own message, never a crash.
    void malformedNeverCrash()
    {
        const QByteArray good = rec(4, 0, QByteArray::fromHex("0800")) + rec(0, 0, bytes(16)) + rec(0, 0x10, bytes(16))
                                + rec(2, 0, QByteArray::fromHex("1200")) + rec(0, 0x40, bytes(8)) + rec(5, 0, bytes(4)) + kEnd;
        const QSet<int> known = {0, 1, 2, 3, 4, 5, 6, 10, 11};
        const QByteArray alphabet = "0123456789ABCDEFabcdefG: \r\n\t\xff";
        QRandomGenerator rng(1234);
        QSet<int> seen;
        for (int i = 0; i < 20000; ++i) {
            QByteArray text = good;
            for (int m = int(rng.bounded(1, 4)); m > 0 && !text.isEmpty(); --m) {
                const int at = int(rng.bounded(text.size()));
                switch (rng.bounded(4)) {
                case 0: text[at] = alphabet[int(rng.bounded(alphabet.size()))]; break;
                case 1: text.remove(at, int(rng.bounded(1, 40))); break;
                case 2: text.insert(at, text.mid(int(rng.bounded(text.size())), int(rng.bounded(1, 600)))); break;
                default: text.truncate(at); break;
                }
            }
            ConvBinList list;
            const int code = HexTool::ParseHex(text.constData(), text.size(), list);
            QVERIFY2(known.contains(code), qPrintable(QString::number(code)));
            seen.insert(code);
            qint64 total = 0;
            for (const ConvBinData &b : list)
                total += b.m_baData.size();
            QVERIFY(total * 2 <= text.size()); // every data byte came from two digits
        }
        QVERIFY(seen.size() >= 6);
    }
};

QEL_TEST_CORE_MAIN(TestHexTool)
#include "tst_hextool.moc"
