#include "qeltest.h"

#include "commonhead.h"

class TestCommonHead : public QObject
{
    Q_OBJECT

private slots:
    void plainHead()
    {
        char buf[CommonHead::HeadSize + 2] = {};
        CommonHead::MakeHead(buf, 0x1234);
        QCOMPARE(QByteArray(buf, 6), QByteArray("hhhh\x34\x12", 6));
        QVERIFY(CommonHead::CheckHead(buf));
        QCOMPARE(CommonHead::HeadLength(buf), quint16(0x1234));

        // Only the low 16 bits of a long payload fit.
        CommonHead::MakeHead(buf, 0x12345);
        QCOMPARE(CommonHead::HeadLength(buf), quint16(0x2345));

        // The length field is not part of the check.
        const char anyLength[] = {0x68, 0x68, 0x68, 0x68, char(0xFF), char(0xFF)};
        QVERIFY(CommonHead::CheckHead(anyLength));
        for (int i = 0; i < 4; ++i) {
            char bad[6];
            memcpy(bad, anyLength, 6);
            bad[i] = 0x67;
            QVERIFY2(!CommonHead::CheckHead(bad), qPrintable(QString::number(i)));
        }
    }

    void typedHead()
    {
        char buf[CommonHead::HeadSize];
        CommonHead::MakeShamHead(buf, 24, 5);
        QCOMPARE(QByteArray(buf, 6), QByteArray("hhh\x18\x05\x00", 6));
        quint8 type = 0;
        QVERIFY(CommonHead::CheckShamHead(buf, type));
        QCOMPARE(type, quint8(24));
        // A typed head is no plain head unless its type happens to be 0x68.
        QVERIFY(!CommonHead::CheckHead(buf));

        // Byte 3 is reported even when the check fails.
        const char bad[] = {0x68, 0x00, 0x68, 0x07, 0, 0};
        type = 0;
        QVERIFY(!CommonHead::CheckShamHead(bad, type));
        QCOMPARE(type, quint8(7));

        QVERIFY(!CommonHead::CheckHead(nullptr));
        QVERIFY(!CommonHead::CheckShamHead(nullptr, type));
    }

    void numbersAtAnyAlignment()
    {
        char buf[16] = {};
        for (int offset = 0; offset < 4; ++offset) {
            CommonHead::UInt2Char(buf + offset, 0xA1B2C3D4u);
            QCOMPARE(CommonHead::Char2UInt(buf + offset), 0xA1B2C3D4u);
            CommonHead::Word2Char(buf + 8 + offset, 0xBEEF);
            QCOMPARE(CommonHead::Char2Word(buf + 8 + offset), quint16(0xBEEF));
        }
        // Host order is least significant byte first on the supported platform.
        CommonHead::UInt2Char(buf, 0x01020304u);
        QCOMPARE(QByteArray(buf, 4), QByteArray("\x04\x03\x02\x01", 4));
        CommonHead::Word2Char(buf, 0x0102);
        QCOMPARE(QByteArray(buf, 2), QByteArray("\x02\x01", 2));
    }
};

QEL_TEST_CORE_MAIN(TestCommonHead)
#include "tst_commonhead.moc"
