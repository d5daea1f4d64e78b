#include "crcreference.h"
#include "qeltest.h"

#include "functool.h"

#include <QCryptographicHash>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <xxhash.h>

namespace {
// Textbook CRC-32/MPEG-2 over bytes.
quint32 mpeg2Bytes(const QByteArray &bytes)
{
    quint32 crc = 0xFFFFFFFF;
    for (const char c : bytes) {
        crc ^= quint32(quint8(c)) << 24;
        for (int i = 0; i < 8; ++i)
            crc = (crc & 0x80000000u) ? (crc << 1) ^ 0x04C11DB7 : crc << 1;
    }
    return crc;
}

QByteArray randomBytes(int n)
{
    QByteArray out(n, Qt::Uninitialized);
    for (char &c : out)
        c = char(QRandomGenerator::global()->bounded(256));
    return out;
}

QString writeTemp(const QTemporaryDir &dir, const QString &name, const QByteArray &data)
{
    const QString path = dir.filePath(name);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(data) != data.size())
        return QString();
    return path;
}
} // namespace

class TestChecksum : public QObject
{
    Q_OBJECT

private slots:
    void workedValues()
    {
        QCOMPARE(FuncTool::CalcBytesCRCNum("12345678"), 0xFEFC54F9u);
        QCOMPARE(FuncTool::CalcBytesCRCNum("abcd"), 0xA62F1C36u);
        QCOMPARE(FuncTool::CalcBytesCRCNum("abcd", 8), 0x6AB6A8CCu);
        QCOMPARE(mpeg2Bytes("123456789"), 0x0376E6E7u); // the reference itself

        const quint32 words[2] = {0x34333231, 0x38373635}; // "12345678" as words
        QCOMPARE(FuncTool::crc32_st(words, 2), 0xFEFC54F9u);
        QCOMPARE(FuncTool::crc32_st(words, 0), 0xFFFFFFFFu);
        QCOMPARE(FuncTool::crc32_st(nullptr, 5), 0xFFFFFFFFu);
        QCOMPARE(FuncTool::crc32_st_expand(words, 1, 2), FuncTool::CalcBytesCRCNum("1234\xFF\xFF\xFF\xFF"));
        // No padding when the data already reaches the total.
        QCOMPARE(FuncTool::crc32_st_expand(words, 2, 1), 0xFEFC54F9u);
    }

    void tableMatchesBitwiseRule()
    {
        for (int n = 0; n < 200; ++n) {
            const QByteArray data = randomBytes(n);
            const quint32 expected = qeltest::CrcWordsBitwise(data);
            QCOMPARE(FuncTool::CalcBytesCRCNum(data), expected);
            // Unaligned data gives the same result.
            const QByteArray shifted = QByteArray(1, 'x') + data;
            QCOMPARE(FuncTool::CalcBytesCRCNum(QByteArray::fromRawData(shifted.constData() + 1, n)), expected);

            // Equal to standard MPEG-2 over each word's bytes reversed.
            QByteArray reversed;
            for (int i = 0; i + 4 <= n; i += 4)
                for (int b = 3; b >= 0; --b)
                    reversed += data.at(i + b);
            QCOMPARE(expected, mpeg2Bytes(reversed));
        }
    }

    void trailingBytesAndPadding()
    {
        const QByteArray four = "QEL7";
        for (const QByteArray &tail : {QByteArray("5"), QByteArray("56"), QByteArray("567")})
            QCOMPARE(FuncTool::CalcBytesCRCNum(four + tail), FuncTool::CalcBytesCRCNum(four));

        QCOMPARE(FuncTool::CalcBytesCRCNum(QByteArray()), 0xFFFFFFFFu);
        QCOMPARE(FuncTool::CalcBytesCRCNum(QByteArray(), 8), qeltest::CrcWordsBitwise(QByteArray(8, '\xFF')));
        // A pad size below the data size pads nothing.
        QCOMPARE(FuncTool::CalcBytesCRCNum("12345678", 4), 0xFEFC54F9u);

        QTemporaryDir dir;
        const QByteArray ten = "0123456789";
        const QString path = writeTemp(dir, "ten.bin", ten);
        const QByteArray padded = ten.left(8) + QByteArray(8, '\xFF');
        QCOMPARE(FuncTool::CalcFileCRCNum(path, 16), qeltest::CrcWordsBitwise(padded));
        QCOMPARE(FuncTool::CalcFileCRCNum(path), qeltest::CrcWordsBitwise(ten));
        QCOMPARE(FuncTool::CalcFileCRC(path, 16), QString::asprintf("%08X", qeltest::CrcWordsBitwise(padded)));
    }

    void filesOfEveryShape()
    {
        QTemporaryDir dir;
        // Empty and unreadable files give 0, unlike an empty byte array.
        QCOMPARE(FuncTool::CalcFileCRCNum(writeTemp(dir, "empty", QByteArray()), 16), 0u);
        QCOMPARE(FuncTool::CalcFileCRCNum(dir.filePath("missing")), 0u);
        QCOMPARE(FuncTool::CalcFileCRCNum(dir.path()), 0u);
        QCOMPARE(FuncTool::CalcFileCRC(dir.filePath("missing")), QStringLiteral("00000000"));

        // Several read blocks, with the words split across blocks.
        for (const int size : {65536 * 3 + 3, 65536 + 2, 1000001}) {
            const QByteArray data = randomBytes(size);
            const QString path = writeTemp(dir, QStringLiteral("big%1").arg(size), data);
            QCOMPARE(FuncTool::CalcFileCRCNum(path), FuncTool::CalcBytesCRCNum(data));
            QCOMPARE(FuncTool::CalcFileCRCNum(path, size + 100), FuncTool::CalcBytesCRCNum(data, size + 100));
        }
    }

    void digests()
    {
        QTemporaryDir dir;
        const QString abc = writeTemp(dir, "abc", "abc");
        QCOMPARE(FuncTool::MakeMd5(abc), QStringLiteral("900150983cd24fb0d6963f7d28e17f72"));
        QCOMPARE(FuncTool::MakeXxHash32(abc), quint32(XXH32("abc", 3, 0)));
        const QString empty = writeTemp(dir, "empty", QByteArray());
        QCOMPARE(FuncTool::MakeXxHash32(empty), 0x02CC5D05u);
        QCOMPARE(FuncTool::MakeMd5(empty), QStringLiteral("d41d8cd98f00b204e9800998ecf8427e"));

        const QByteArray data = randomBytes(65536 * 2 + 10240 + 77);
        const QString big = writeTemp(dir, "big", data);
        QCOMPARE(FuncTool::MakeXxHash32(big), quint32(XXH32(data.constData(), size_t(data.size()), 0)));
        QCOMPARE(FuncTool::MakeMd5(big),
                 QString::fromLatin1(QCryptographicHash::hash(data, QCryptographicHash::Md5).toHex()));

        QCOMPARE(FuncTool::MakeXxHash32(dir.filePath("missing")), 0u);
        QVERIFY(FuncTool::MakeMd5(dir.filePath("missing")).isEmpty());
    }

    void hexText()
    {
        QCOMPARE(FuncTool::Byte2HexString(QByteArray("\x0a\xff", 2)), QStringLiteral("0a ff "));
        QCOMPARE(FuncTool::Byte2HexString(QByteArray()), QString());
        QCOMPARE(FuncTool::HexStr(0xABCDEF), QStringLiteral("0x00ABCDEF"));
        QCOMPARE(FuncTool::HexStr(0), QStringLiteral("0x00000000"));
    }

    void string2UInt_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<quint32>("value");
        QTest::newRow("hex in spaces") << " 0xFF " << 255u;
        QTest::newRow("upper prefix, mixed digits") << "0XaBcD" << 0xABCDu;
        QTest::newRow("binary upper prefix") << "0B101" << 5u;
        QTest::newRow("decimal") << "1234" << 1234u;
        QTest::newRow("largest") << "4294967295" << 0xFFFFFFFFu;
        QTest::newRow("hex largest") << "0xFFFFFFFF" << 0xFFFFFFFFu;
        QTest::newRow("decimal ends in letter") << "12a" << 0u;
        QTest::newRow("empty") << "" << 0u;
        QTest::newRow("blank") << "   " << 0u;
        QTest::newRow("bare prefix") << "0x" << 0u;
        QTest::newRow("prefix twice") << "0x0x1" << 0u;
        QTest::newRow("too large") << "4294967296" << 0u;
        QTest::newRow("hex too large") << "0x1FFFFFFFF" << 0u;
        QTest::newRow("bad binary digit") << "0b102" << 0u;
        QTest::newRow("negative") << "-1" << 0u;
        QTest::newRow("inner space") << "1 2" << 0u;
        QTest::newRow("full-width digits") << QString::fromUtf8("１２") << 0u;
    }

    void string2UInt()
    {
        QFETCH(QString, text);
        QFETCH(quint32, value);
        QCOMPARE(FuncTool::String2UInt(text), value);
    }
};

QEL_TEST_CORE_MAIN(TestChecksum)
#include "tst_checksum.moc"
