// Frame layout, checksums and every payload of the USB control frames.
#include "qeltest.h"

#include <cusbcrc.h>
#include <cusbframe.h>
#include <usbpayload.h>

#include <QRandomGenerator>

namespace {
// Plain bitwise forms of the two checksums, as the reference for the tables.
quint16 crc16Bitwise(const QByteArray &data)
{
    quint16 crc = 0xFFFF;
    for (const char c : data) {
        crc ^= quint16(quint8(c) << 8);
        for (int i = 0; i < 8; ++i)
            crc = (crc & 0x8000) ? quint16((crc << 1) ^ 0x1021) : quint16(crc << 1);
    }
    return crc;
}

quint32 crc32Bitwise(const QByteArray &data)
{
    quint32 crc = 0xFFFFFFFFu;
    for (const char c : data) {
        crc ^= quint8(c);
        for (int i = 0; i < 8; ++i)
            crc = (crc & 1) ? (crc >> 1) ^ 0xEDB88320u : crc >> 1;
    }
    return ~crc;
}

QByteArray randomBytes(int n)
{
    QByteArray b(n, '\0');
    for (char &c : b)
        c = char(QRandomGenerator::global()->bounded(256));
    return b;
}

quint16 lengthField(const QByteArray &f) { return quint16(quint8(f[1]) | (quint8(f[2]) << 8)); }
} // namespace

class TestUsbFrame : public QObject
{
    Q_OBJECT

private slots:
    void checksums()
    {
        QCOMPARE(CUsbCrc::Crc16(QByteArray("123456789")), quint16(0x29B1));
        QCOMPARE(CUsbCrc::Crc32(QByteArray("123456789")), 0xCBF43926u);
        QCOMPARE(CUsbCrc::Crc32(QByteArray()), 0u);
        // Every tail length of the sliced CRC-32 and odd lengths of the CRC-16.
        for (int n : {1, 2, 3, 4, 5, 7, 8, 63, 1024, 1027, 4099}) {
            const QByteArray data = randomBytes(n);
            QCOMPARE(CUsbCrc::Crc16(data), crc16Bitwise(data));
            QCOMPARE(CUsbCrc::Crc32(data), crc32Bitwise(data));
        }
        // Streaming in pieces gives the same CRC-32.
        const QByteArray data = randomBytes(5000);
        quint32 crc = CUsbCrc::Crc32Init;
        for (int at = 0; at < data.size(); at += 777)
            crc = CUsbCrc::Crc32Update(crc, reinterpret_cast<const uchar *>(data.constData()) + at,
                                       qMin(777, data.size() - at));
        QCOMPARE(~crc, CUsbCrc::Crc32(data));
    }

    void frameWithoutPayload()
    {
        QCOMPARE(CUsbFrame::Make(UsbCmd::START_CMD), QByteArray::fromHex("680600C11C23"));
        const QByteArray uid = CUsbFrame::Make(UsbCmd::REQ_PROG_UID);
        QCOMPARE(uid.size(), 6);
        QCOMPARE(uid.left(4), QByteArray::fromHex("680600C0"));
        QCOMPARE(CUsbFrame::Verify(uid), CUsbFrame::FrameOk);
        QCOMPARE(CUsbFrame::RawText(CUsbFrame::Make(UsbCmd::START_CMD), false),
                 QStringLiteral("[发送报文] 68 06 00 C1 1C 23 "));
    }

    void verify()
    {
        QCOMPARE(CUsbFrame::Verify(QByteArray::fromHex("6806")), CUsbFrame::FrameTooShort);
        QCOMPARE(CUsbFrame::Verify(QByteArray::fromHex("680600C11C")), CUsbFrame::FrameTooShort);
        UsbFileAnnounce a;
        a.size = 1234;
        a.frames = 2;
        a.crc = 0xDEADBEEF;
        a.name = QStringLiteral("fw.img");
        const QByteArray frame = a.Frame();
        QCOMPARE(CUsbFrame::Verify(frame), CUsbFrame::FrameOk);
        // Any single changed byte, CRC included, is caught.
        for (int i = 0; i < frame.size(); ++i) {
            QByteArray bad = frame;
            bad[i] = char(bad[i] ^ 0x01);
            QCOMPARE(CUsbFrame::Verify(bad), CUsbFrame::FrameBadCrc);
        }
    }

    void frameSizeLimits()
    {
        // 2048 bytes in all: 4 of head and command, 2 of CRC.
        const QByteArray fits = CUsbFrame(UsbCmd::PROG_SPEC_DATA_CMD).Bytes(QByteArray(2042, 'x')).Finish();
        QCOMPARE(fits.size(), 2048);
        QCOMPARE(lengthField(fits), quint16(2048));
        QVERIFY(CUsbFrame(UsbCmd::PROG_SPEC_DATA_CMD).Bytes(QByteArray(2043, 'x')).Finish().isEmpty());
        UsbFileName name;
        name.name = QString(255, QLatin1Char('n'));
        QCOMPARE(name.Frame().size(), 255 + 7);
        name.name += QLatin1Char('n');
        QVERIFY(name.Frame().isEmpty());
    }

    void payloadLengths_data()
    {
        QTest::addColumn<QByteArray>("frame");
        QTest::addColumn<int>("length");
        UsbByte b;
        b.cmd = UsbCmd::START_IMAGE_CMD;
        b.value = 149;
        QTest::newRow("START_IMAGE_CMD") << b.Frame() << 7;
        UsbReadMcu rm;
        QTest::newRow("READ_MCU_CMD") << rm.Frame() << 14;
        UsbSpecData sd;
        sd.data = QByteArray(40, '\xFF');
        QTest::newRow("PROG_SPEC_DATA_CMD") << sd.Frame() << 50;
        UsbSyncInit si;
        si.text = QStringLiteral("24-03-17 09:05:03 7");
        QTest::newRow("SYNC_INIT_CMD") << si.Frame() << 19 + 6;
        UsbFileAnnounce fa;
        fa.name = QStringLiteral("镜像.img"); // 10 bytes of UTF-8
        QTest::newRow("FT_ATTR_CMD") << fa.Frame() << 10 + 17;
        UsbFileData fd;
        fd.data = QByteArray(1024, 'd');
        QTest::newRow("FT_REQ_CMD answer") << fd.Frame() << 1032;
        UsbFileName dn;
        dn.cmd = UsbCmd::DEL_FILE_CMD;
        dn.name = QStringLiteral("a.img");
        QTest::newRow("DEL_FILE_CMD") << dn.Frame() << 5 + 7;
        UsbFileName fn;
        fn.name = QStringLiteral("config/param.ini");
        QTest::newRow("REQ_FILE_ATTR") << fn.Frame() << 16 + 7;
        UsbFrameNo no;
        no.cmd = UsbCmd::REQ_FILE_DATA;
        QTest::newRow("REQ_FILE_DATA") << no.Frame() << 8;
    }

    void payloadLengths()
    {
        QFETCH(QByteArray, frame);
        QFETCH(int, length);
        QCOMPARE(frame.size(), length);
        QCOMPARE(int(lengthField(frame)), length);
        QCOMPARE(CUsbFrame::Verify(frame), CUsbFrame::FrameOk);
    }

    void roundTrips()
    {
        UsbUid uid;
        uid.words[0] = 0x00123456;
        uid.words[1] = 0xABCDEF01;
        uid.words[2] = 0x5;
        UsbUid uid2;
        QVERIFY(uid2.Parse(uid.Frame()));
        QCOMPARE(uid2.Text(), QStringLiteral("00123456ABCDEF015"));

        UsbResult pass;
        pass.checksum = 0x1A2B3C4D;
        UsbResult r;
        QVERIFY(r.Parse(pass.Frame()));
        QVERIFY(r.IsPass());
        QCOMPARE(r.checksum, 0x1A2B3C4Du);
        UsbResult fail;
        fail.cmd = UsbCmd::PROG_SPEC_DATA_CMD;
        fail.code = UsbCmd::RES_VERIFY;
        QCOMPARE(fail.Frame().size(), 7); // no checksum after a failure
        QVERIFY(r.Parse(fail.Frame()));
        QCOMPARE(r.cmd, quint8(UsbCmd::PROG_SPEC_DATA_CMD));
        QCOMPARE(r.code, quint8(0xE3));

        UsbFileAnnounce a;
        a.size = 0x01020304;
        a.frames = 0x4041;
        a.crc = 0xCAFEBABE;
        a.name = QStringLiteral("镜像.img");
        UsbFileAnnounce a2;
        QVERIFY(a2.Parse(a.Frame()));
        QCOMPARE(a2.size, a.size);
        QCOMPARE(a2.frames, a.frames);
        QCOMPARE(a2.crc, a.crc);
        QCOMPARE(a2.name, a.name);
        // Little-endian on the wire.
        QCOMPARE(a.Frame().mid(4, 4), QByteArray::fromHex("04030201"));

        UsbFileInfo info;
        info.size = 5000;
        info.frames = 5;
        UsbFileInfo info2;
        QVERIFY(info2.Parse(info.Frame()));
        QCOMPARE(info2.size, 5000u);
        QCOMPARE(info2.frames, quint16(5));

        UsbFileResult res;
        res.status = 0;
        res.name = QStringLiteral("image.dat");
        UsbFileResult res2;
        QVERIFY(res2.Parse(res.Frame()));
        QCOMPARE(res2.name, res.name);

        UsbCounters c;
        c.pass = 123;
        c.fail = 4;
        UsbCounters c2;
        QVERIFY(c2.Parse(c.Frame()));
        QCOMPARE(c2.pass, 123u);
        QCOMPARE(c2.fail, 4u);

        UsbExAnswer ex;
        ex.sub = UsbCmd::EX_IMAGE_NO;
        ex.image = 42;
        UsbExAnswer ex2;
        QVERIFY(ex2.Parse(ex.Frame()));
        QCOMPARE(ex2.image, quint8(42));
    }

    void truncatedPayloads()
    {
        // Each field set the programmer must send, cut short by one byte.
        UsbUid uid;
        QVERIFY(!uid.Parse(CUsbFrame(UsbCmd::REQ_PROG_UID).U32(1).U32(2).U16(3).U8(4).Finish()));
        UsbFileInfo info;
        QVERIFY(!info.Parse(CUsbFrame(UsbCmd::REQ_FILE_ATTR).U8(0).U32(10).U8(1).Finish()));
        QVERIFY(info.Parse(CUsbFrame(UsbCmd::REQ_FILE_ATTR).U8(1).Finish())); // a refusal carries no size
        UsbResult r;
        QVERIFY(!r.Parse(CUsbFrame(UsbCmd::RESULT_CMD).U8(0).U16(1).Finish()));
        UsbFileResult res;
        QVERIFY(!res.Parse(CUsbFrame(UsbCmd::FT_RES_CMD).U8(0).U8(9).Bytes("image.da").Finish()));
        UsbPageAck ack;
        QVERIFY(!ack.Parse(CUsbFrame(UsbCmd::SWITCH_PAGE_CMD).U8(0).Finish()));
    }

    void syncTimeText()
    {
        const QDateTime sunday(QDate(2024, 3, 17), QTime(9, 5, 3));
        QCOMPARE(UsbSyncInit::TimeText(sunday), QStringLiteral("24-03-17 09:05:03 7"));
        const QDateTime monday(QDate(2024, 3, 18), QTime(23, 59, 59));
        QCOMPARE(UsbSyncInit::TimeText(monday), QStringLiteral("24-03-18 23:59:59 1"));
    }
};

QEL_TEST_CORE_MAIN(TestUsbFrame)
#include "tst_usbframe.moc"
