// File push and pull bookkeeping on both sides of the USB control frames.
#include "qeltest.h"

#include <cusbcrc.h>
#include <cusbfileframes.h>
#include <cusbfilereceiver.h>
#include <cusbfileserver.h>
#include <cusbframe.h>
#include <cusbpull.h>
#include <cusbpush.h>
#include <usbpayload.h>

namespace {
QByteArray pattern(int n)
{
    QByteArray b(n, '\0');
    for (int i = 0; i < n; ++i)
        b[i] = char((i * 7 + i / 1024) & 0xFF);
    return b;
}
} // namespace

class TestUsbTransfer : public QObject
{
    Q_OBJECT

private slots:
    void frameCounts_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("frames");
        QTest::addColumn<int>("lastLen");
        QTest::newRow("empty") << 0 << 0 << 0;
        QTest::newRow("1") << 1 << 1 << 1;
        QTest::newRow("1023") << 1023 << 1 << 1023;
        QTest::newRow("1024") << 1024 << 1 << 1024;
        QTest::newRow("1025") << 1025 << 2 << 1;
        QTest::newRow("2048") << 2048 << 2 << 1024;
    }

    void frameCounts()
    {
        QFETCH(int, size);
        QFETCH(int, frames);
        QFETCH(int, lastLen);
        QCOMPARE(CUsbFileFrames::Count(size), frames);
        QCOMPARE(CUsbFileFrames::DataLen(size, frames - 1), lastLen);
        QCOMPARE(CUsbFileFrames::DataLen(size, frames), 0);
        const QList<QByteArray> cut = CUsbFileFrames::Cut(pattern(size));
        QCOMPARE(cut.size(), frames);
        if (frames > 0)
            QCOMPARE(cut.last().size(), lastLen);
    }

    void pushAnswersAndConflicts()
    {
        const QByteArray data = pattern(1025);
        CUsbPush push;
        QVERIFY(push.Prepare(QStringLiteral("a.img"), data));
        UsbFileAnnounce a;
        QVERIFY(a.Parse(push.AttrFrame()));
        QCOMPARE(a.size, 1025u);
        QCOMPARE(a.frames, quint16(2));
        QCOMPARE(a.crc, CUsbCrc::Crc32(data));

        QByteArray frame;
        QCOMPARE(push.Answer(1, frame), CUsbPush::FrameOk);
        UsbFileData d;
        QVERIFY(d.Parse(frame));
        QCOMPARE(d.cmd, quint8(UsbCmd::FT_REQ_CMD));
        QCOMPARE(d.frame, quint16(1));
        QCOMPARE(d.data, data.mid(1024));
        QCOMPARE(push.Percent(0), 50);
        QCOMPARE(push.Percent(1), 100);

        // A request for frame k = frame count (and beyond) gets no answer.
        QCOMPARE(push.Answer(2, frame), CUsbPush::FrameConflict);
        QVERIFY(frame.isEmpty());
        QCOMPARE(push.Answer(0xFFFF, frame), CUsbPush::FrameConflict);
        QVERIFY(frame.isEmpty());
    }

    void pushRefusesWhatCannotBeAnnounced()
    {
        CUsbPush push;
        QVERIFY(!push.Prepare(QString(256, QLatin1Char('n')), pattern(10)));
        QVERIFY(!push.Prepare(QStringLiteral("big.img"), QByteArray(int(CUsbFileFrames::kMaxFileSize) + 1, '\0')));
        QVERIFY(!push.IsActive());
        QVERIFY(push.Prepare(QStringLiteral("empty.bin"), QByteArray()));
        QCOMPARE(push.m_nFrames, quint16(0));
        QByteArray frame;
        QCOMPARE(push.Answer(0, frame), CUsbPush::FrameConflict);
    }

    void pullOf2048Bytes()
    {
        // The programmer's side hands the file out, the host's side checks it.
        const QByteArray data = pattern(2048);
        CUsbFileServer server;
        QVERIFY(server.Set(data));
        UsbFileInfo info;
        QVERIFY(info.Parse(server.InfoFrame()));
        QCOMPARE(info.status, quint8(0));
        QCOMPARE(info.frames, quint16(2));

        CUsbPull pull;
        pull.Begin(QStringLiteral("config/param.ini"));
        pull.SetInfo(info.size, info.frames);
        QByteArray got;
        for (int k = 0; k < 2; ++k) {
            UsbFileData d;
            QVERIFY(d.Parse(server.DataFrame(k)));
            QCOMPARE(d.cmd, quint8(UsbCmd::REQ_FILE_DATA));
            // The last frame of a file of whole frames is full, not empty.
            QCOMPARE(d.data.size(), 1024);
            QByteArray part;
            QCOMPARE(pull.Accept(d, part), CUsbPull::TakeOk);
            got += part;
        }
        QVERIFY(pull.IsDone());
        QCOMPARE(got, data);
        QVERIFY(server.DataFrame(2).isEmpty());
    }

    void pullRefusesStrayFrames()
    {
        CUsbPull pull;
        UsbFileData d;
        QByteArray part;
        d.data = pattern(100);
        QCOMPARE(pull.Accept(d, part), CUsbPull::TakeIdle); // no pull under way

        pull.Begin(QStringLiteral("config/image.dat"));
        pull.SetInfo(1100, 2);
        d.frame = 1;
        QCOMPARE(pull.Accept(d, part), CUsbPull::TakeUnexpected); // frame 0 first
        d.frame = 0;
        QCOMPARE(pull.Accept(d, part), CUsbPull::TakeShort);
        d.data = pattern(1024);
        QCOMPARE(pull.Accept(d, part), CUsbPull::TakeOk);
        QCOMPARE(pull.Accept(d, part), CUsbPull::TakeUnexpected); // the same frame again
        d.frame = 1;
        d.data = pattern(80); // 76 expected: extra bytes are not taken
        QCOMPARE(pull.Accept(d, part), CUsbPull::TakeOk);
        QCOMPARE(part.size(), 76);
        QCOMPARE(pull.Percent(1), 100);
    }

    void localNamesStayInTheFolder()
    {
        QCOMPARE(CUsbPull::LocalName(QStringLiteral("config/param.ini")), QStringLiteral("param.ini"));
        QCOMPARE(CUsbPull::LocalName(QStringLiteral("read_flash_bin")), QStringLiteral("read_flash_bin"));
        QVERIFY(CUsbPull::LocalName(QStringLiteral("param.ini")).isEmpty());
        QVERIFY(CUsbPull::LocalName(QStringLiteral("config/..")).isEmpty());
        QVERIFY(CUsbPull::LocalName(QStringLiteral("config/")).isEmpty());
    }

    void receiverVerifiesTheFile()
    {
        const QByteArray data = pattern(2500);
        CUsbPush push;
        QVERIFY(push.Prepare(QStringLiteral("x.img"), data));
        UsbFileAnnounce a;
        QVERIFY(a.Parse(push.AttrFrame()));

        CUsbFileReceiver recv;
        QVERIFY(recv.Begin(a));
        for (int k = 0; k < 3; ++k) {
            QCOMPARE(recv.Next(), k);
            QByteArray frame;
            QCOMPARE(push.Answer(k, frame), CUsbPush::FrameOk);
            UsbFileData d;
            QVERIFY(d.Parse(frame));
            QCOMPARE(recv.Accept(d), k < 2 ? CUsbFileReceiver::TakeNext : CUsbFileReceiver::TakeComplete);
        }
        QVERIFY(recv.Verify());
        QCOMPARE(recv.Data(), data);

        // One changed byte fails the CRC-32; a wrong-length frame is not taken.
        QVERIFY(recv.Begin(a));
        for (int k = 0; k < 3; ++k) {
            QByteArray frame;
            push.Answer(k, frame);
            UsbFileData d;
            d.Parse(frame);
            if (k == 1) {
                UsbFileData shortData = d;
                shortData.data.chop(1);
                QCOMPARE(recv.Accept(shortData), CUsbFileReceiver::TakeIgnored);
                d.data[5] = char(d.data[5] ^ 0x40);
            }
            recv.Accept(d);
        }
        QVERIFY(recv.IsComplete());
        QVERIFY(!recv.Verify());

        UsbFileAnnounce bad = a;
        bad.frames = 2;
        QVERIFY(!recv.Begin(bad));
    }
};

QEL_TEST_CORE_MAIN(TestUsbTransfer)
#include "tst_usbtransfer.moc"
