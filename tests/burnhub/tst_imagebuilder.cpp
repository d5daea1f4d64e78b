#include "qeltest.h"

#include "functool.h"
#include "imagebuilder.h"
#include "imagecipher.h"
#include "imagefile.h"
#include "progerinfo.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtEndian>

namespace {

const QString kIdA = QStringLiteral("0123456789ABCDEF01234567");
const QString kIdB = QStringLiteral("00000000000000000000ABCD");

quint32 at(const QByteArray &image, int offset)
{
    return qFromLittleEndian<quint32>(reinterpret_cast<const uchar *>(image.constData()) + offset);
}

QByteArray bytes(int n, int first = 1)
{
    QByteArray b;
    for (int i = 0; i < n; ++i)
        b.append(char(first + i));
    return b;
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestImageBuilder : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString file(const QString &name, const QByteArray &content)
    {
        const QString path = m_dir.filePath(name);
        QFile f(path);
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(content);
        return path;
    }

    // A fresh working folder per build, so history checks see only their own files.
    QString workDir(const QString &name)
    {
        const QString dir = m_dir.filePath(name);
        QDir(dir).removeRecursively();
        QDir().mkpath(dir);
        return dir;
    }

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    // One 10-byte BIN: a 16-byte program and an 84-byte image with every trailer field in place.
    void singleBin()
    {
        const QString work = workDir("single");
        const CImageBuilder builder(work);
        CImageParams params;
        params.m_nVersion = 7;
        params.m_nChip = 3;
        params.m_dtBuild = QDateTime::fromSecsSinceEpoch(1700000000);
        CImageResult result;
        QString err;
        const QString image = work + "/a.img";
        QVERIFY2(builder.SaveImageFile({{0x08000000, file("ten.bin", bytes(10))}}, params, image, result, err),
                 qPrintable(err));

        const QByteArray program = bytes(10) + QByteArray(6, char(0xFF));
        QCOMPARE(readAll(work + "/merge_data.bin"), program);
        const QByteArray img = readAll(image);
        QCOMPARE(img.size(), 84);
        QCOMPARE(img.left(16), program);
        quint32 sum = 0;
        for (int i = 0; i < 16 + 60; ++i)
            sum += uchar(img[i]);
        QCOMPARE(at(img, 16), 0u);
        QCOMPARE(at(img, 20), 1700000000u);
        QCOMPARE(at(img, 24), 0u);
        QCOMPARE(at(img, 28), 7u);
        QCOMPARE(at(img, 32), FuncTool::CalcBytesCRCNum(bytes(10)));
        QCOMPARE(at(img, 36), FuncTool::CalcBytesCRCNum(program));
        QCOMPARE(at(img, 40), 3u);
        QCOMPARE(at(img, 44), 0x08000000u);
        QCOMPARE(img.mid(48, 28), QByteArray(28, '\0'));
        QCOMPARE(at(img, 76), sum);
        QCOMPARE(at(img, 80), 0u);
        QCOMPARE(result.m_strCRC, FuncTool::HexStr(at(img, 36)));
        QCOMPARE(result.m_summary, QStringList({"镜像名称: a.img", "是否加密: 否", "最大烧写次数: 0", "MCU类型: QM-04",
                                                "镜像CRC: " + result.m_strCRC, "版本: 7", "镜像文件处理完成!"}));

        // History copy and one log line per build.
        const QString stamp = params.m_dtBuild.toString("yyyyMMdd_hhmmss");
        QCOMPARE(readAll(work + "/history/" + stamp + "_a.img"), img);
        QVERIFY(builder.SaveImageFile({{0x08000000, m_dir.filePath("ten.bin")}}, params, image, result, err));
        const QByteArray line = QStringLiteral("[%1] name=a.img ver=7 counts=0 encrypt=0 crc1=%2 crc2=%3\r\n")
                                    .arg(params.m_dtBuild.toString("yyyy-MM-dd hh:mm:ss"), FuncTool::HexStr(at(img, 36)),
                                         FuncTool::HexStr(sum))
                                    .toLocal8Bit();
        QCOMPARE(readAll(work + "/history/images.log"), line + line);
    }

    // BIN and HEX programs at their addresses: 0xFF between, the HEX laid out from its own first block.
    void mergePrograms()
    {
        const CImageBuilder builder(workDir("merge"));
        CMergedProgram merged;
        QString err;
        QVERIFY(builder.MergeBinInfos({{0x0000, file("a.bin", bytes(4))}, {0x0010, file("b.BIN", bytes(4, 0x20))}},
                                      merged, err));
        QCOMPARE(merged.m_baData, bytes(4) + QByteArray(12, char(0xFF)) + bytes(4, 0x20) + QByteArray(12, char(0xFF)));
        QCOMPARE(merged.m_nFirstCRC, FuncTool::CalcBytesCRCNum(bytes(4)));

        const QString hex = file("c.hex", ":020000040800F2\r\n:0200100041426B\r\n:00000001FF\r\n");
        QVERIFY(builder.MergeBinInfos({{0x100, file("d.bin", bytes(2))}, {0x104, hex}}, merged, err));
        QCOMPARE(merged.m_baData, bytes(2) + QByteArray(2, char(0xFF)) + "AB" + QByteArray(10, char(0xFF)));
        QCOMPARE(merged.m_nStartAddr, 0x100u);
    }

    void mergeFailures_data()
    {
        QTest::addColumn<quint32>("addr");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("message");
        file("ok.bin", bytes(4));
        file("x.txt", bytes(4));
        file("bad.hex", ":0400000001020304F3\n:00000001FF\n");
        QTest::newRow("extension") << 0x1000u << "x.txt" << "选择文件格式不支持!";
        QTest::newRow("missing") << 0x1000u << "none.bin" << "文件打开失败:" + m_dir.filePath("none.bin");
        QTest::newRow("below start") << 0x0FFFu << "ok.bin" << "程序地址超出范围:" + m_dir.filePath("ok.bin");
        QTest::newRow("far away") << 0x20001000u << "ok.bin" << "程序地址超出范围:" + m_dir.filePath("ok.bin");
        QTest::newRow("bad hex") << 0x1000u << "bad.hex"
                                 << "文件打开失败:" + m_dir.filePath("bad.hex") + " HEX文件转换出错，校验错误 (第1行)";
        file("empty.bin", QByteArray());
        QTest::newRow("empty") << 0x1004u << "empty.bin" << "程序文件为空:" + m_dir.filePath("empty.bin");
        QTest::newRow("overlap") << 0x1003u << "ok.bin"
                                 << QStringLiteral("程序地址重叠: %1 与 %1").arg(m_dir.filePath("ok.bin"));
    }

    void mergeFailures()
    {
        QFETCH(quint32, addr);
        QFETCH(QString, name);
        QFETCH(QString, message);
        const QString work = workDir("fail");
        CImageResult result;
        QString err;
        const QVector<CBinEntry> list = {{0x1000, m_dir.filePath("ok.bin")}, {addr, m_dir.filePath(name)}};
        QVERIFY(!CImageBuilder(work).SaveImageFile(list, CImageParams(), work + "/f.img", result, err));
        QCOMPARE(err, "程序文件读取错误 " + message);
        QVERIFY(!QFile::exists(work + "/f.img"));
        QVERIFY(!QDir(work + "/history").exists());
    }

    void buildChecks_data()
    {
        QTest::addColumn<quint32>("limit");
        QTest::addColumn<bool>("encrypt");
        QTest::addColumn<QString>("given");
        QTest::addColumn<QString>("proger");
        QTest::addColumn<bool>("withPath");
        QTest::addColumn<QString>("message");
        const QString limitMsg = "要有效限制下载次数，请选择加密镜像!";
        const QString idMsg = "下载器ID格式有误,加密镜像必须绑定下载器!";
        QTest::newRow("limit 5 plain") << 5u << false << kIdA << kIdA << true << limitMsg;
        QTest::newRow("limit 0 plain") << 0u << false << "" << "" << true << "";
        QTest::newRow("limit 5 encrypted") << 5u << true << "" << kIdA << true << "";
        QTest::newRow("no ID") << 0u << true << "" << "" << true << idMsg;
        QTest::newRow("not hex") << 0u << true << "" << "0123456789ABCDEF0123456Z" << true << idMsg;
        QTest::newRow("too long") << 0u << true << "" << kIdA + "0" << true << idMsg;
        QTest::newRow("short ID padded") << 0u << true << "" << "ABCD" << true << "";
        QTest::newRow("given 24 wins") << 0u << true << kIdA << "nonsense" << true << "";
        QTest::newRow("empty path") << 0u << false << "" << "" << false << "程序列表不能为空，程序路径不能为空!";
    }

    void buildChecks()
    {
        QFETCH(quint32, limit);
        QFETCH(bool, encrypt);
        QFETCH(QString, given);
        QFETCH(QString, proger);
        QFETCH(bool, withPath);
        QFETCH(QString, message);
        const QString work = workDir("checks");
        CImageParams params;
        params.m_nLimit = limit;
        params.m_bEncrypt = encrypt;
        params.m_strGivenID = given;
        params.m_strProgerID = proger;
        const QVector<CBinEntry> list = {{0, file("p.bin", bytes(40))}, {0x40, withPath ? m_dir.filePath("p.bin") : " "}};
        CImageResult result;
        QString err;
        const bool ok = CImageBuilder(work).SaveImageFile(list, params, work + "/c.img", result, err);
        QCOMPARE(err, message);
        QCOMPARE(ok, message.isEmpty());
        QCOMPARE(QFile::exists(work + "/c.img"), ok);
        QCOMPARE(QFile::exists(work + "/history/images.log"), ok);
        QString empty;
        QVERIFY(!CImageBuilder(work).SaveImageFile({}, CImageParams(), work + "/e.img", result, empty));
        QCOMPARE(empty, QStringLiteral("程序列表不能为空，程序路径不能为空!"));
    }

    void imageIndex()
    {
        ProgerInfo a("/p", kIdA, "QEL720A", "1.0");
        ProgerInfo c("/p", kIdA, "QEL720C", "1.0");
        ProgerInfo other("/p", kIdA, "QEL800", "1.0");
        QString reason;
        QVERIFY(CImageBuilder::CheckImageIndex(&a, 49, true, reason));
        QVERIFY(!CImageBuilder::CheckImageIndex(&a, 50, true, reason));
        QCOMPARE(reason, QStringLiteral("镜像号错误，当前下载器支持最大镜像号为:49!(加密镜像)"));
        QVERIFY(CImageBuilder::CheckImageIndex(&a, 149, false, reason));
        QVERIFY(!CImageBuilder::CheckImageIndex(&a, 150, false, reason));
        QCOMPARE(reason, QStringLiteral("镜像号错误，当前下载器支持最大镜像号为:149!(非加密镜像)"));
        QVERIFY(!CImageBuilder::CheckImageIndex(&c, 50, true, reason));
        QVERIFY(CImageBuilder::CheckImageIndex(&other, 199, true, reason));
        QVERIFY(!CImageBuilder::CheckImageIndex(&other, 200, false, reason));
        QVERIFY(!CImageBuilder::CheckImageIndex(&other, -1, false, reason));
        QVERIFY(!CImageBuilder::CheckImageIndex(nullptr, 0, false, reason));
        QCOMPARE(reason, QStringLiteral("下载器未选择！"));
        QVERIFY(CImageBuilder::CheckIndexRange(199, reason));
        QVERIFY(!CImageBuilder::CheckIndexRange(200, reason));
        QCOMPARE(reason, QStringLiteral("镜像号超出范围，支持[0,199]"));
    }

    void imageNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("result");
        const QString tooLong = "镜像名称不能大于64字节!";
        QTest::newRow("64 bytes") << QString(60, 'a') + ".img" << QString(60, 'a') + ".img";
        QTest::newRow("65 bytes") << QString(61, 'a') + ".img" << tooLong;
        QTest::newRow("32 Chinese = 64 bytes") << QString(32, QChar(0x955C)) << QString(32, QChar(0x955C)) + ".img";
        QTest::newRow("32 Chinese + 1 = 65 bytes") << QString(32, QChar(0x955C)) + "a" << tooLong;
        QTest::newRow("equals sign") << "a=b" << "镜像名称不能包含等号(=)";
        QTest::newRow("empty") << "" << "镜像名称不能为空";
        QTest::newRow("suffix added") << "fw.IMG" << "fw.IMG.img";
        QTest::newRow("not in GBK") << QStringLiteral("fw\U0001F600") << QStringLiteral("镜像名称含有GBK编码无法表示的字符: fw\U0001F600");
    }

    void imageNames()
    {
        QFETCH(QString, name);
        QFETCH(QString, result);
        QString err;
        const bool ok = CImageBuilder::CheckImageName(name, err);
        QCOMPARE(ok ? name : err, result);
    }

    void imageKey()
    {
        const QByteArray key = CImageCipher::ImageKey(kIdA);
        QCOMPARE(key.left(12).toHex(), QByteArray("67452301efcdab8967452301"));
        QCOMPARE(at(key, 12), CImageCipher::ImageKeyWord);
        QCOMPARE(CImageCipher::ImageKey("ABCD"), CImageCipher::ImageKey("00000000000000000000abcd"));
        QCOMPARE(CImageCipher::KeyFromID(kIdA, 0x11223344).right(4).toHex(), QByteArray("44332211"));
        for (const QString &bad : {QString(), QString("xyz"), kIdA + "0", QString("１２")})
            QVERIFY(CImageCipher::ImageKey(bad).isEmpty());
    }

    // Our AES-128-ECB against the openssl command on the same key and data.
    void cipherAgainstOpenssl()
    {
        const QString openssl = QStandardPaths::findExecutable("openssl");
        if (openssl.isEmpty())
            QSKIP("openssl command not installed");
        const QByteArray key = CImageCipher::ImageKey(kIdA);
        QByteArray data = bytes(64, 3);
        const QString in = file("plain.dat", data);
        const QString out = m_dir.filePath("cipher.dat");
        QCOMPARE(QProcess::execute(openssl, {"enc", "-aes-128-ecb", "-nopad", "-K", key.toHex(), "-in", in, "-out", out}), 0);
        QVERIFY(CImageCipher::EncryptECB(key, data));
        QCOMPARE(data, readAll(out));
        QVERIFY(CImageCipher::DecryptECB(key, data));
        QCOMPARE(data, bytes(64, 3));
        QByteArray odd(15, 'x');
        QVERIFY(!CImageCipher::EncryptECB(key, odd));
        QVERIFY(!CImageCipher::EncryptECB(key.left(8), data));
    }

    // Encrypted for one programmer: readable with its ID, refused with another, movable by re-keying.
    void encryptedImage()
    {
        const QString work = workDir("enc");
        CImageParams params;
        params.m_bEncrypt = true;
        params.m_nLimit = 5;
        params.m_strProgerID = kIdA;
        params.m_dtBuild = QDateTime::fromSecsSinceEpoch(1600000000);
        CImageResult result;
        QString err;
        const QVector<CBinEntry> list = {{0x08000000, file("e.bin", bytes(100))}};
        QVERIFY2(CImageBuilder(work).SaveImageFile(list, params, work + "/e.img", result, err), qPrintable(err));
        const QByteArray image = readAll(work + "/e.img");
        QCOMPARE(image.size(), 112 + 68);
        QCOMPARE(image.right(4), QByteArray::fromHex("04030201"));
        QVERIFY(CImageFile::IsEncrypted(image));
        QVERIFY(image.left(100) != bytes(100));

        QByteArray plain = image;
        CImageTrailer trailer;
        QVERIFY2(CImageFile::Open(plain, kIdA, trailer, err), qPrintable(err));
        QCOMPARE(plain.left(100), bytes(100));
        QCOMPARE(trailer.m_nLimit, 5u);
        QCOMPARE(trailer.m_nTime, 1600000000u);
        QCOMPARE(trailer.m_nCRC, result.m_trailer.m_nCRC);
        QVERIFY(trailer.m_bEncrypt);

        QByteArray other = image;
        QVERIFY(!CImageFile::Open(other, kIdB, trailer, err));
        QCOMPARE(err, QStringLiteral("请确认当前下载器是否匹配！此为加密镜像，校验码不匹配！"));
        QCOMPARE(other, image);

        QByteArray moved = image;
        QVERIFY(CImageFile::ReKey(moved, kIdA, kIdB, 1650000000, err));
        QByteArray stale = moved;
        QVERIFY(!CImageFile::Open(stale, kIdA, trailer, err));
        QVERIFY2(CImageFile::Open(moved, kIdB, trailer, err), qPrintable(err));
        QCOMPARE(trailer.m_nTime, 1650000000u);
        QCOMPARE(moved.left(100), bytes(100));
    }

    void openRejects()
    {
        const QString work = workDir("rej");
        CImageResult result;
        QString err;
        QVERIFY(CImageBuilder(work).SaveImageFile({{0, file("r.bin", bytes(32))}}, CImageParams(), work + "/r.img", result, err));
        const QByteArray image = readAll(work + "/r.img");
        CImageTrailer trailer;

        QByteArray img = image.left(image.size() - 1);
        QVERIFY(!CImageFile::Open(img, QString(), trailer, err));
        QCOMPARE(err, QStringLiteral("镜像文件长度错误"));
        img = image;
        img[5] = char(img[5] ^ 1);
        QVERIFY(!CImageFile::Open(img, QString(), trailer, err));
        QCOMPARE(err, QStringLiteral("镜像校验和错误"));
        img = image;
        img[5] = char(img[5] + 1); // the sum holds, the CRC does not
        img[6] = char(img[6] - 1);
        QVERIFY(!CImageFile::Open(img, QString(), trailer, err));
        QCOMPARE(err, QStringLiteral("镜像CRC错误"));
        img = image;
        img[img.size() - 1] = 7;
        QVERIFY(!CImageFile::Open(img, QString(), trailer, err));
        QCOMPARE(err, QStringLiteral("镜像加密标志错误"));
        img = image;
        QVERIFY(CImageFile::Open(img, QString(), trailer, err));
        QVERIFY(!trailer.m_bEncrypt);
    }
};

QEL_TEST_CORE_MAIN(TestImageBuilder)
#include "tst_imagebuilder.moc"
