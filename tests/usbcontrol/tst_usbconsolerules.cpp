// Rules the console applies around the frames: the serial number record, the
// merged image from BIN1 to BIN3 and the image attribute lines.
#include "qeltest.h"

#include <cusbframe.h>
#include <cusbimageattr.h>
#include <cusbmergeimage.h>
#include <cusbserialno.h>
#include <usbpayload.h>

#include <QTemporaryDir>

namespace {
QString writeFile(const QTemporaryDir &dir, const QString &name, const QByteArray &data)
{
    const QString path = dir.path() + QLatin1Char('/') + name;
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(data) != data.size())
        return QString();
    return path;
}

// A segment as the BIN2 editor exports it: "XX " per byte, 16 to a line.
QByteArray segmentText(quint32 addr, const QByteArray &data)
{
    QByteArray text = QByteArray::number(addr, 16).toUpper().rightJustified(4, '0') + '\n'
        + QByteArray::number(data.size(), 16).toUpper().rightJustified(5, '0') + '\n';
    for (int i = 0; i < data.size(); ++i) {
        text += data.mid(i, 1).toHex().toUpper() + ' ';
        if (i % 16 == 15 && i + 1 < data.size())
            text += '\n';
    }
    return text + '\n';
}
} // namespace

class TestUsbConsoleRules : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QList<UsbSegment> m_segs;
    QList<UsbSegment> &segs() { return m_segs; }

private slots:
    void serialNumberText()
    {
        const QByteArray rec = CUsbSerialNo::Record(QDate(2024, 3, 17), 42);
        QCOMPARE(rec.size(), 48);
        QCOMPARE(rec.mid(19, 4), QByteArray("_11_"));
        QCOMPARE(rec.mid(15, 4), QByteArray(4, '\0')); // the 16-byte field's unused tail
        const QByteArray sn = CUsbSerialNo::GenerateSN(QDate(2024, 3, 17), 42);
        QCOMPARE(sn, QByteArray("10_QEL720A00001_11_QEL_12_24031700042"));
        QCOMPARE(sn.size(), 37);
        QCOMPARE(CUsbSerialNo::CountDigits(123456), QStringLiteral("12345"));
        QCOMPARE(CUsbSerialNo::CountDigits(0), QStringLiteral("00000"));
        QVERIFY(CUsbSerialNo::GenerateSN(QDate(2024, 3, 17), 123456).endsWith("24031712345"));
    }

    void serialNumberFrame()
    {
        QStringList lines;
        const QByteArray sn = CUsbSerialNo::GenerateSN(QDate(2024, 3, 17), 42);
        const QByteArray frame = CUsbSerialNo::BuildFrame(3, 0x1FC00, sn, lines);
        UsbSpecData sent;
        QVERIFY(sent.Parse(frame));
        QCOMPARE(sent.addr, 0x1FC00u);
        QCOMPARE(sent.data.size(), 40);
        QCOMPARE(sent.data, sn + QByteArray(3, '\xFF'));
        QCOMPARE(frame.size(), 50);
        QCOMPARE(lines.size(), 4);
        QCOMPARE(lines.at(0), QStringLiteral("SN数据4字节对齐: 原长度37字节, 补充3字节0xFF, 对齐后长度40字节"));
        QCOMPARE(lines.at(1), QStringLiteral("烧录器-3 检查SN写入，SN长度: 40 字节(已4字节对齐)"));
        QCOMPARE(lines.at(2), QStringLiteral("SN数据内容: ") + CUsbFrame::HexText(sent.data));
        QVERIFY(lines.at(2).endsWith(QStringLiteral("FF FF FF")));
        QCOMPARE(lines.at(3), QStringLiteral("烧录器-3 下发SN数据进行写入, 长度: 40 字节"));

        // 40 bytes stay as they are, without the alignment line.
        lines.clear();
        const QByteArray forty(40, 'A');
        QVERIFY(sent.Parse(CUsbSerialNo::BuildFrame(3, 0x1FC00, forty, lines)));
        QCOMPARE(sent.data, forty);
        QCOMPARE(lines.size(), 3);
        QVERIFY(!lines.first().startsWith(QStringLiteral("SN数据4字节对齐")));

        quint32 addr = 0;
        QVERIFY(CUsbSerialNo::ParseAddress(QStringLiteral("1FC00"), addr));
        QCOMPARE(addr, 0x1FC00u);
        QVERIFY(!CUsbSerialNo::ParseAddress(QString(), addr));
        QVERIFY(!CUsbSerialNo::ParseAddress(QStringLiteral("1FG00"), addr));
    }

    void segmentTextFiles()
    {
        QList<UsbSegment> segs;
        QString err;
        const QByteArray a = QByteArray::fromHex("0102030405060708090A0B0C0D0E0F1011");
        const QByteArray two = segmentText(0x19000, a) + "\n\n" + segmentText(0x1A000, "\xAA\xBB");
        QVERIFY2(CUsbMergeImage::ParseSegmentText(two, segs, err), qPrintable(err));
        QCOMPARE(segs.size(), 2);
        QCOMPARE(segs.at(0).addr, 0x19000u);
        QCOMPARE(segs.at(0).len, 17u);
        QCOMPARE(segs.at(0).data, a);
        QCOMPARE(segs.at(1).addr, 0x1A000u);
        QCOMPARE(segs.at(1).data, QByteArray("\xAA\xBB"));
        // Windows line ends read the same.
        QVERIFY(CUsbMergeImage::ParseSegmentText(QByteArray(two).replace("\n", "\r\n"), segs, err));
        QCOMPARE(segs.size(), 2);

        QVERIFY(!CUsbMergeImage::ParseSegmentText("19000\n40001\n00\n", segs, err));
        QCOMPARE(err, QStringLiteral("文件读取失败， 长度错误!"));
        QVERIFY(!CUsbMergeImage::ParseSegmentText("19000\n00004\n01 02 03\n", segs, err));
        QCOMPARE(err, QStringLiteral("读取文件失败！实际数据长度与声明数据长度不匹配！请检查"));
        QVERIFY(!CUsbMergeImage::ParseSegmentText("19000\n00002\n01 0X\n", segs, err));
        QVERIFY(!CUsbMergeImage::ReadSegmentFile(m_dir.path() + QStringLiteral("/none.txt"), segs, err));
        QCOMPARE(err, QStringLiteral("文件读取失败!"));
    }

    void mergeWithGapAndOverlap()
    {
        const QByteArray bin1 = QByteArray(16, '\x11');
        const QString p1 = writeFile(m_dir, QStringLiteral("bin1.bin"), bin1);
        const QString gap = writeFile(m_dir, QStringLiteral("gap.txt"), segmentText(0x20, "\x22\x22\x22\x22"));
        const QString inside = writeFile(m_dir, QStringLiteral("inside.txt"), segmentText(0x8, "\x33"));

        CUsbMergeImage merge;
        QString err;
        QByteArray out;
        QVERIFY(merge.Load(p1, gap, QString(), err));
        QCOMPARE(merge.Merge(out, err), CUsbMergeImage::MergeOk);
        QCOMPARE(merge.Base(), 0u);
        QCOMPARE(out, bin1 + QByteArray(16, '\xFF') + QByteArray(4, '\x22'));

        QVERIFY(merge.Load(p1, inside, QString(), err));
        QCOMPARE(merge.Merge(out, err), CUsbMergeImage::Overlap);
        QCOMPARE(err, QStringLiteral("当前程序数据的地址与长度存在重叠，会覆盖数据，请确认并修改！"));

        QVERIFY(!merge.Load(m_dir.path() + QStringLiteral("/none.bin"), gap, QString(), err));
        QCOMPARE(err, QStringLiteral("文件读取失败!"));
    }

    void mergeWithoutBin1()
    {
        const QString bin2 = writeFile(m_dir, QStringLiteral("b2.txt"), segmentText(0x19000, QByteArray(8, '\x44')));
        const QString after = writeFile(m_dir, QStringLiteral("b3.txt"), segmentText(0x19010, QByteArray(2, '\x55')));
        // Inside BIN2, though beyond BIN1's end plus BIN2's length.
        const QString into = writeFile(m_dir, QStringLiteral("into.txt"), segmentText(0x19004, QByteArray(2, '\x66')));
        const QString below = writeFile(m_dir, QStringLiteral("below.txt"), segmentText(0x18FF0, QByteArray(4, '\x77')));

        CUsbMergeImage merge;
        QString err;
        QByteArray out;
        QVERIFY(merge.Load(QString(), bin2, after, err));
        QCOMPARE(merge.Merge(out, err), CUsbMergeImage::MergeOk);
        QCOMPARE(merge.Base(), 0x19000u);
        QCOMPARE(out, QByteArray(8, '\x44') + QByteArray(8, '\xFF') + QByteArray(2, '\x55'));

        QVERIFY(merge.Load(QString(), bin2, into, err));
        QCOMPARE(merge.Merge(out, err), CUsbMergeImage::Overlap);

        // A part below BIN2 moves the base down instead of landing in front of the buffer.
        QVERIFY(merge.Load(QString(), bin2, below, err));
        QCOMPARE(merge.Merge(out, err), CUsbMergeImage::MergeOk);
        QCOMPARE(merge.Base(), 0x18FF0u);
        QCOMPARE(out.size(), 0x18);
        QCOMPARE(out.left(4), QByteArray(4, '\x77'));
        QCOMPARE(out.mid(0x10), QByteArray(8, '\x44'));

        QVERIFY(merge.Load(QString(), QString(), after, err));
        QCOMPARE(merge.Merge(out, err), CUsbMergeImage::MergeOk);
        QCOMPARE(merge.Base(), 0x19010u);
    }

    void mergeLimits()
    {
        CUsbMergeImage merge;
        QString err;
        QByteArray out;
        QVERIFY(merge.Load(QString(), QString(), QString(), err));
        QCOMPARE(merge.Merge(out, err), CUsbMergeImage::Empty);
        QCOMPARE(err, QStringLiteral("当前程序数据为空，请重新加载确认！"));

        // An address line of 4 or 5 digits is what closes a segment header.
        QVERIFY(!CUsbMergeImage::ParseSegmentText(segmentText(0x20, "\x02").mid(2), segs(), err));
        QCOMPARE(err, QStringLiteral("文件读取失败!"));

        // More than a download can announce (65535 frames).
        merge.m_bBin1 = true;
        merge.m_bin1 = "\x01";
        UsbSegment far;
        far.addr = 0x7FFFFFF0u;
        far.len = 1;
        far.data = "\x02";
        merge.m_bin2 = {far};
        QCOMPARE(merge.Merge(out, err), CUsbMergeImage::TooLarge);
        QVERIFY(out.isEmpty());
    }

    void imageAttributes()
    {
        CUsbImageAttr attr;
        QVERIFY(CUsbImageAttr::ParseLine(QStringLiteral("a.img=1-305419896\r"), attr));
        QCOMPARE(attr.m_strName, QStringLiteral("a.img"));
        QCOMPARE(attr.m_nA, 1);
        QCOMPARE(attr.m_nB, 305419896u);
        QVERIFY(CUsbImageAttr::ParseLine(QStringLiteral("x=y=-3-4"), attr));
        QCOMPARE(attr.m_strName, QStringLiteral("x=y"));
        QCOMPARE(attr.m_nA, -3);
        for (const char *bad : {"noequal", "a=1", "a=1-x", "=1-2", "a=1-99999999999"})
            QVERIFY2(!CUsbImageAttr::ParseLine(QString::fromLatin1(bad), attr), bad);

        const QString path = writeFile(m_dir, QStringLiteral("image_attr.dat"), "镜像一.img=0-1\nbad\nb.img=2-3\n");
        bool ok = false;
        const QList<CUsbImageAttr> list = CUsbImageAttr::ReadFile(path, &ok);
        QVERIFY(ok);
        QCOMPARE(list.size(), 2);
        QCOMPARE(list.first().m_strName, QStringLiteral("镜像一.img"));
        CUsbImageAttr::ReadFile(m_dir.path() + QStringLiteral("/none.dat"), &ok);
        QVERIFY(!ok);
    }
};

QEL_TEST_CORE_MAIN(TestUsbConsoleRules)
#include "tst_usbconsolerules.moc"
