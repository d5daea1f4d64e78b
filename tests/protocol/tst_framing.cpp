// Where messages end: the TCP head, USB control frames, the HID message head.
#include "qeltest.h"

#include <cframecutter.h>
#include <cusbframe.h>

namespace {
QByteArray Tcp(const QByteArray &message)
{
    return CFrameCutter::MakeTcp(message);
}

QList<QByteArray> CutUsb(QByteArray &buf, QByteArray *allDropped = nullptr)
{
    QList<QByteArray> out;
    QByteArray frame;
    QByteArray dropped;
    while (true) {
        const CFrameCutter::Result r = CFrameCutter::NextUsb(buf, frame, dropped);
        if (r == CFrameCutter::NeedMore)
            return out;
        if (r == CFrameCutter::Message)
            out.append(frame);
        else if (allDropped)
            allDropped->append(dropped);
    }
}

QByteArray Usb(quint8 command, const QByteArray &payload)
{
    return CUsbFrame(command).Bytes(payload).Finish();
}
} // namespace

class TestFraming : public QObject
{
    Q_OBJECT
private slots:
    void tcpHeadLayout()
    {
        QCOMPARE(Tcp("abc"), QByteArray::fromHex("686868680300616263"));
        QCOMPARE(Tcp(QByteArray(0x1234, 'x')).mid(4, 2), QByteArray::fromHex("3412"));
    }

    void tcpHeadWithThreeGoodBytesIsBad()
    {
        QByteArray buf = QByteArray::fromHex("686868670100") + "z";
        QByteArray message;
        QCOMPARE(CFrameCutter::NextTcp(buf, message), CFrameCutter::Dropped);
        QVERIFY(buf.isEmpty());
    }

    void usbLengthUsesBothBytes()
    {
        const QByteArray b = Usb(0xFB, QByteArray(294, '\x01'));
        QByteArray buf = b + b.left(10);
        QCOMPARE(CutUsb(buf), QList<QByteArray>{b});
        QCOMPARE(buf, b.left(10));
    }

    void usbResynchronises()
    {
        const QByteArray good = Usb(0xC0, "\x01\x02");
        QByteArray dropped;
        QByteArray buf = QByteArray("noise") + good;
        QCOMPARE(CutUsb(buf, &dropped), QList<QByteArray>{good});
        QCOMPARE(dropped, QByteArray("noise"));

        // A head announcing fewer than 6 bytes, or more than a frame can hold, is skipped.
        dropped.clear();
        buf = QByteArray::fromHex("680300") + good + QByteArray::fromHex("68ffff00") + good;
        QCOMPARE(CutUsb(buf, &dropped), (QList<QByteArray>{good, good}));
        QVERIFY(dropped.startsWith(char(0x68)));

        // A false head whose length fits the bytes behind it fails its CRC and
        // gives up one byte only, so the real frame behind it is still found.
        dropped.clear();
        buf = QByteArray::fromHex("680900c4") + good + good;
        QCOMPARE(CutUsb(buf, &dropped), (QList<QByteArray>{good, good}));
        QCOMPARE(dropped, QByteArray::fromHex("680900c4"));
        QVERIFY(buf.isEmpty());

        // Pure garbage never yields a frame and never stalls.
        buf = QByteArray(5000, '\x68');
        QVERIFY(CutUsb(buf).isEmpty());
        QVERIFY(buf.size() < 6);
    }

    void hidMessageHead()
    {
        const QByteArray abc = CFrameCutter::MakeHidMessage(0, "abc");

        QByteArray buf = abc.left(9);
        quint8 type = 9;
        QByteArray message;
        QByteArray dropped;
        QCOMPARE(CFrameCutter::NextHidMessage(buf, type, message, dropped), CFrameCutter::NeedMore);
        buf = CFrameCutter::MakeHidMessage(1, QByteArray(300, '\xff')) + "tail";
        QCOMPARE(CFrameCutter::NextHidMessage(buf, type, message, dropped), CFrameCutter::Message);
        QCOMPARE(type, quint8(1));
        QCOMPARE(message, QByteArray(300, '\xff'));
        QCOMPARE(buf, QByteArray("tail"));

        // A wrong sum drops the message.
        buf = abc;
        buf[7] = 0x27;
        QCOMPARE(CFrameCutter::NextHidMessage(buf, type, message, dropped), CFrameCutter::Dropped);
        QVERIFY(buf.isEmpty());
    }
};

QEL_TEST_CORE_MAIN(TestFraming)
#include "tst_framing.moc"
