// The simulator's parts on their own: the image checks a programmer makes,
// its target flash, how host frames are cut from a transport, and the
// behaviour options.
#include "qeltest.h"

#include <csimflash.h>
#include <csimframeinput.h>
#include <csimimagecheck.h>
#include <simbehaviour.h>

#include <cframecutter.h>
#include <cusbframe.h>
#include <usbpayload.h>
#include <functool.h>

#include <QTemporaryDir>

namespace {
const QString kID = QStringLiteral("3F0027000B51353235383233");

QByteArray program(int n, int seed)
{
    QByteArray b(n, '\0');
    for (int i = 0; i < n; ++i)
        b[i] = char((i * 31 + seed) & 0xFF);
    return b;
}

// An image as the builder makes it (program a whole number of 16-byte blocks).
QByteArray image(const QByteArray &prog, quint32 limit, bool encrypt, const QString &id, quint32 start = 0)
{
    QByteArray img = prog;
    CImageTrailer t;
    t.m_nTime = 1700000000;
    t.m_nLimit = limit;
    t.m_nVersion = 4;
    t.m_nFirstCRC = FuncTool::CalcBytesCRCNum(prog);
    t.m_nCRC = t.m_nFirstCRC;
    t.m_nChip = 0;
    t.m_nStartAddr = start;
    t.m_bEncrypt = encrypt;
    if (!CImageFile::Compose(img, t, id))
        return QByteArray();
    return img;
}

void putWord(QByteArray &b, int at, quint32 v)
{
    for (int i = 0; i < 4; ++i)
        b[at + i] = char((v >> (8 * i)) & 0xFF);
}
} // namespace

class TestSimParts : public QObject
{
    Q_OBJECT
private slots:
    void imageVerdicts_data()
    {
        QTest::addColumn<QByteArray>("img");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QString>("reason");
        const QByteArray prog = program(64, 1);
        QTest::newRow("plain") << image(prog, 0, false, kID) << true << QString();
        QTest::newRow("encrypted for this programmer") << image(prog, 5, true, kID) << true << QString();
        QTest::newRow("encrypted for another") << image(prog, 5, true, "1A0033000E51353235383233") << false
                                               << CImageFile::tr("请确认当前下载器是否匹配！此为加密镜像，校验码不匹配！");
        QByteArray flipped = image(prog, 0, false, kID);
        flipped[10] = char(flipped[10] ^ 0x40);
        QTest::newRow("corrupted byte") << flipped << false << CImageFile::tr("镜像校验和错误");
        QByteArray flippedEnc = image(prog, 0, true, kID);
        flippedEnc[20] = char(flippedEnc[20] ^ 0x01);
        QTest::newRow("corrupted encrypted byte") << flippedEnc << false
                                                  << CImageFile::tr("请确认当前下载器是否匹配！此为加密镜像，校验码不匹配！");
        // A changed program whose byte sum was made to match again: only the CRC tells.
        QByteArray resummed = image(prog, 0, false, kID);
        resummed[0] = char(resummed[0] + 1);
        resummed[1] = char(resummed[1] - 1);
        QTest::newRow("wrong CRC") << resummed << false << CImageFile::tr("镜像CRC错误");
        QTest::newRow("limit without encryption") << image(prog, 5, false, kID) << false
                                                  << QStringLiteral("download limit 5 on an unencrypted image");
        QTest::newRow("truncated") << image(prog, 0, false, kID).left(70) << false << CImageFile::tr("镜像文件长度错误");
        QByteArray mark = image(prog, 0, false, kID);
        putWord(mark, mark.size() - 4, 0x11223344);
        QTest::newRow("unknown mark") << mark << false << CImageFile::tr("镜像加密标志错误");
        QTest::newRow("empty") << QByteArray() << false << CImageFile::tr("镜像文件长度错误");
    }

    void imageVerdicts()
    {
        QFETCH(QByteArray, img);
        QFETCH(bool, accepted);
        QFETCH(QString, reason);
        const CSimImageCheck check(kID);
        const CSimImageCheck::Verdict v = check.Check(img);
        QCOMPARE(v.bAccepted, accepted);
        QCOMPARE(v.strReason, reason);
        const QString line = CSimImageCheck::Line(7, QStringLiteral("a.img"), v);
        if (accepted) {
            QCOMPARE(v.baProgram, program(64, 1));
            QVERIFY2(line.startsWith(QStringLiteral("image 7 a.img: accepted crc=%1 size=%2 encrypted=%3 limit=%4 version=4 chip=QM-01 start=0x00000000")
                                         .arg(FuncTool::HexStr(FuncTool::CalcBytesCRCNum(program(64, 1))))
                                         .arg(img.size())
                                         .arg(v.trailer.m_bEncrypt ? 1 : 0)
                                         .arg(v.trailer.m_nLimit)),
                     qPrintable(line));
        } else {
            QCOMPARE(line, QStringLiteral("image 7 a.img: rejected: ") + reason);
        }
    }

    void reviewChecksNewAndChangedImagesOnce()
    {
        QTemporaryDir dir;
        const QString procs = dir.path() + QStringLiteral("/");
        QVERIFY(FuncTool::WriteFile(procs + "a.img", image(program(32, 2), 0, false, kID)));
        QMap<int, ImageInfo> index;
        index[1].m_strName = QStringLiteral("a.img");
        index[2].m_strName = QStringLiteral("b.img");
        CSimImageCheck check(kID);
        QStringList lines = check.Review(index, procs);
        QCOMPARE(lines.size(), 2);
        QVERIFY(lines.at(0).startsWith("image 1 a.img: accepted"));
        QCOMPARE(lines.at(1), QStringLiteral("image 2 b.img: missing"));
        QCOMPARE(check.Changed(), (QList<int>{1, 2}));
        QVERIFY(check.Find(1)->bAccepted);
        QVERIFY(!check.Find(2)->bAccepted);

        QVERIFY(check.Review(index, procs).isEmpty());
        QVERIFY(check.Changed().isEmpty());

        // b.img arrives, broken; a.img is replaced by an image for another programmer.
        QVERIFY(FuncTool::WriteFile(procs + "b.img", QByteArray(84, '\x5A')));
        QVERIFY(FuncTool::WriteFile(procs + "a.img", image(program(32, 2), 0, true, "000000000000000000000001")));
        lines = check.Review(index, procs);
        QCOMPARE(lines.size(), 2);
        QVERIFY(lines.at(0).startsWith("image 1 a.img: rejected: "));
        QVERIFY(lines.at(1).startsWith("image 2 b.img: rejected: "));

        // The same file under another number is a new entry; a number gone is forgotten.
        index.remove(1);
        index[3].m_strName = QStringLiteral("b.img");
        lines = check.Review(index, procs);
        QCOMPARE(lines.size(), 1);
        QVERIFY(lines.at(0).startsWith("image 3 b.img: rejected: "));
        QVERIFY(!check.Find(1));
    }

    void targetFlash()
    {
        CSimFlash flash(0x08000000, 1024);
        QCOMPARE(flash.RangeText(), QStringLiteral("0x08000000..0x080003FF"));
        QCOMPARE(flash.Data(), QByteArray(1024, '\xFF'));
        QVERIFY(flash.Write(0x08000000 + 1020, "ABCD"));
        QVERIFY(!flash.Write(0x08000000 + 1021, "ABCD")); // one byte past the end
        QVERIFY(!flash.Write(0x07FFFFFF, "A"));           // below the flash
        QByteArray out;
        QVERIFY(flash.Read(0x08000000 + 1018, 6, out));
        QCOMPARE(out, QByteArray("\xFF\xFF" "ABCD"));
        QVERIFY(!flash.Read(0x08000000, 1025, out));
        QVERIFY(!flash.Read(0xFFFFFFFF, 0xFFFFFFFF, out)); // no overflow into range
        flash.Erase();
        QCOMPARE(flash.Data(), QByteArray(1024, '\xFF'));
    }

    void framesFromAStream()
    {
        CSimFrameInput input(false);
        QList<QByteArray> frames;
        QList<QPair<int, QString>> drops;
        connect(&input, &CSimFrameInput::sigFrame, this, [&](const QByteArray &f) { frames << f; });
        connect(&input, &CSimFrameInput::sigDropped, this, [&](int n, const QString &why) { drops << qMakePair(n, why); });
        UsbFileData data;
        data.cmd = UsbCmd::FT_REQ_CMD;
        data.data = program(1024, 3);
        const QByteArray big = data.Frame();
        const QByteArray start = CUsbFrame::Make(UsbCmd::START_CMD);
        // Split anywhere, joined with the next frame, behind noise.
        input.Feed(QByteArray("xyz") + big.left(5));
        input.Feed(big.mid(5, 700));
        QVERIFY(frames.isEmpty());
        input.Feed(big.mid(705) + start);
        QCOMPARE(frames, (QList<QByteArray>{big, start}));
        QCOMPARE(drops, (QList<QPair<int, QString>>{qMakePair(3, QStringLiteral("no frame head"))}));
        // A length that no frame has: the head byte is skipped.
        frames.clear();
        input.Feed(QByteArray::fromHex("68FFFF") + start);
        QCOMPARE(frames, QList<QByteArray>{start});
        // A false head whose length fits the bytes behind it loses no frame;
        // a frame damaged on the line goes on whole, for the programmer to report.
        frames.clear();
        input.Feed(QByteArray::fromHex("680900C4") + start + start);
        QCOMPARE(frames, (QList<QByteArray>{start, start}));
        QByteArray damaged = big;
        damaged[600] = char(damaged[600] ^ 0x40);
        input.Feed(damaged + start);
        QCOMPARE(frames.size(), 4);
        QCOMPARE(frames.at(2), damaged);
        QCOMPARE(frames.at(3), start);
        // A frame that never finishes is dropped after the pause.
        input.Feed(start.left(4));
        QTRY_COMPARE_WITH_TIMEOUT(drops.last(), qMakePair(4, QStringLiteral("unfinished frame")), 5000);
        input.Feed(start);
        QCOMPARE(frames.last(), start);
    }

    void framesFromReports()
    {
        CSimFrameInput input(true);
        QList<QByteArray> frames;
        int drops = 0;
        connect(&input, &CSimFrameInput::sigFrame, this, [&](const QByteArray &f) { frames << f; });
        connect(&input, &CSimFrameInput::sigDropped, this, [&] { ++drops; });
        UsbSpecData sn;
        sn.addr = 0x1FC00;
        sn.data = program(100, 4); // 110 bytes: two reports
        const QByteArray frame = sn.Frame();
        QByteArray padded = frame + QByteArray(128 - frame.size(), '\0');
        input.Feed(padded.left(64));
        QVERIFY(frames.isEmpty());
        input.Feed(padded.mid(64));
        // A 6-byte frame in a 64-byte report: the padding is ignored.
        input.Feed(CUsbFrame::Make(UsbCmd::START_CMD) + QByteArray(58, '\0'));
        QCOMPARE(frames, (QList<QByteArray>{frame, CUsbFrame::Make(UsbCmd::START_CMD)}));
        QCOMPARE(drops, 0);
        input.Feed(QByteArray(64, '\x11'));
        QCOMPARE(drops, 1);
        // A JSON message on the same link is not taken for frames.
        input.Feed(CFrameCutter::MakeHidMessage(0, "{\"cmd\":\"prog-request\"}").leftJustified(64, '\0'));
        QCOMPARE(drops, 2);
        input.Feed(CUsbFrame::Make(UsbCmd::START_CMD) + QByteArray(58, '\0'));
        QCOMPARE(frames.size(), 3);
    }

    void behaviourOptions()
    {
        SimBehaviour b;
        QVERIFY(SimBehaviour::ParseCodes("0,0xE3,227", b.results));
        QCOMPARE(b.results, (QVector<quint8>{0, 0xE3, 0xE3}));
        QCOMPARE(b.ResultOf(1), quint8(0));
        QCOMPARE(b.ResultOf(4), quint8(0));
        QCOMPARE(b.ResultOf(5), quint8(0xE3));
        b.results = {0};
        b.nFailEvery = 3;
        b.nFailCode = 0xE5;
        QCOMPARE(b.ResultOf(2), quint8(0));
        QCOMPARE(b.ResultOf(3), quint8(0xE5));
        QCOMPARE(b.ResultOf(6), quint8(0xE5));

        quint32 v = 0;
        for (const char *bad : {"", "0x", "-1", "+3", "12a", "0x1G", "256", " 1 2"})
            QVERIFY2(!SimBehaviour::ParseNumber(bad, 255, v), bad);
        QVERIFY(SimBehaviour::ParseNumber("0xff", 255, v));
        QCOMPARE(v, 255u);
        QVERIFY(!SimBehaviour::ParseCodes("0,,1", b.results));
        quint32 pass = 0;
        quint32 fail = 0;
        QVERIFY(SimBehaviour::ParseCounters("12/3", pass, fail));
        QCOMPARE(pass, 12u);
        QCOMPARE(fail, 3u);
        QVERIFY(!SimBehaviour::ParseCounters("12", pass, fail));
    }
};

QEL_TEST_CORE_MAIN(TestSimParts)
#include "tst_simparts.moc"
