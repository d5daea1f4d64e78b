// The image package (".pimg"): what a backup writes, what a restore accepts,
// and the re-keying of encrypted images for another programmer.
#include "functool.h"
#include "imagecipher.h"
#include "imagefile.h"
#include "imagepackage.h"
#include "progerinfo.h"
#include "qeltest.h"
#include "testimages.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QXmlStreamReader>

namespace {
const QString kIdA = QStringLiteral("3F0027000B51353235383233");
const QString kIdB = QStringLiteral("1A0033000E51353235383233");

QByteArray makeImage(int blocks, char seed, bool encrypt, const QString &id = kIdA)
{
    return qeltest::MakeProgramImage(blocks, seed, encrypt, id);
}

QMap<int, ImageInfo> indexOf(const QMap<int, QString> &names)
{
    QMap<int, ImageInfo> index;
    for (auto it = names.cbegin(); it != names.cend(); ++it) {
        ImageInfo info;
        info.m_nIndex = it.key();
        info.m_strName = it.value();
        index.insert(it.key(), info);
    }
    return index;
}
} // namespace

class TestImagePackage : public QObject
{
    Q_OBJECT
private slots:
    void backupWritesEveryImageInIndexOrder();
    void packageReadsBackAndKeepsWhatWasRead();
    void unsafeOrDamagedPackagesAreRefused_data();
    void unsafeOrDamagedPackagesAreRefused();
    void reKeyingMovesAnImageToAnotherProgrammer();
    void failedSaveLeavesNoPackage();
    void backupReadsNoFileOutsideTheImageFolder();

private:
    // Three images, the middle one encrypted for kIdA, and a fourth indexed but missing.
    CImagePackage ThreeImages(QTemporaryDir &dir);
};

CImagePackage TestImagePackage::ThreeImages(QTemporaryDir &dir)
{
    const QString procs = dir.path() + QStringLiteral("/procs/");
    QDir().mkpath(procs);
    FuncTool::WriteFile(procs + QStringLiteral("b.img"), makeImage(2, 1, false));
    FuncTool::WriteFile(procs + QStringLiteral("a.img"), makeImage(3, 7, true));
    // Ends in 01 02 03 04: not the encryption mark.
    FuncTool::WriteFile(procs + QStringLiteral("c.img"), QByteArray("\x10\x20\x01\x02\x03\x04", 6));
    CImagePackage package;
    QString err;
    const QMap<int, QString> names{{12, QStringLiteral("c.img")}, {0, QStringLiteral("b.img")}, {5, QStringLiteral("a.img")},
                                   {7, QStringLiteral("gone.img")}};
    if (!package.ReadFromFolder(indexOf(names), procs, kIdA, err))
        qWarning() << err;
    return package;
}

void TestImagePackage::backupWritesEveryImageInIndexOrder()
{
    QTemporaryDir dir;
    const CImagePackage package = ThreeImages(dir);
    const QByteArray xml = package.ToXml();

    QXmlStreamReader reader(xml);
    QStringList elements;
    QList<QXmlStreamAttributes> entries;
    QString uid;
    QString count;
    bool inImages = false;
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement)
            continue;
        elements << reader.name().toString();
        if (reader.name() == QLatin1String("programmer")) {
            uid = reader.attributes().value(QLatin1String("uid")).toString();
            count = reader.attributes().value(QLatin1String("image-count")).toString();
        } else if (inImages) {
            entries << reader.attributes();
        } else if (reader.name() == QLatin1String("image")) {
            inImages = true;
        }
    }
    QVERIFY2(!reader.hasError(), qPrintable(reader.errorString()));
    QCOMPARE(elements.mid(0, 3), QStringList({"backup-programmer-xml", "programmer", "image"}));
    QCOMPARE(elements.mid(3), QStringList({"镜像1", "镜像2", "镜像3", "镜像4"}));
    QCOMPARE(uid, kIdA);
    QCOMPARE(count, QStringLiteral("4"));
    // Ascending image number; encrypt from the last four bytes.
    QCOMPARE(entries[0].value("index").toString(), QStringLiteral("0"));
    QCOMPARE(entries[0].value("name").toString(), QStringLiteral("b.img"));
    QCOMPARE(entries[0].value("encrypt").toString(), QStringLiteral("false"));
    QCOMPARE(entries[1].value("name").toString(), QStringLiteral("a.img"));
    QCOMPARE(entries[1].value("encrypt").toString(), QStringLiteral("true"));
    QCOMPARE(entries[2].value("name").toString(), QStringLiteral("gone.img"));
    QCOMPARE(entries[3].value("name").toString(), QStringLiteral("c.img"));
    QCOMPARE(entries[3].value("encrypt").toString(), QStringLiteral("false"));
    QCOMPARE(entries[3].value("data").toString(), QStringLiteral("10 20 01 02 03 04"));
    QCOMPARE(entries[3].value("size").toString(), QStringLiteral("6"));
    QVERIFY(entries[3].value("lastModi").toString().contains(QRegularExpression("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d$")));
    // A missing file: empty size, no encrypt, no data.
    QVERIFY(entries[2].hasAttribute("size") && entries[2].value("size").isEmpty());
    QVERIFY(!entries[2].hasAttribute("encrypt") && !entries[2].hasAttribute("data"));
    // Written with indentation, one entry per line.
    QVERIFY(xml.contains("\n    <image>"));

    QCOMPARE(CImagePackage::PackageFileName(kIdA, QDateTime(QDate(2026, 3, 4), QTime(5, 6))),
             kIdA + QStringLiteral("-2026-03-04-05-06.pimg"));
}

void TestImagePackage::packageReadsBackAndKeepsWhatWasRead()
{
    QTemporaryDir dir;
    const CImagePackage written = ThreeImages(dir);
    const QString path = dir.filePath("p.pimg");
    QString err;
    QVERIFY2(written.SaveFile(path, err), qPrintable(err));

    CImagePackage read;
    QVERIFY2(read.ParseXMLFile(path, err), qPrintable(err));
    QCOMPARE(read.m_strFileName, path);
    QCOMPARE(read.m_strUID, kIdA);
    QCOMPARE(read.m_nImageCount, 4);
    QCOMPARE(read.m_entries.size(), 4);
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(read.m_entries[i].m_nIndex, written.m_entries[i].m_nIndex);
        QCOMPARE(read.m_entries[i].m_strName, written.m_entries[i].m_strName);
        QCOMPARE(read.m_entries[i].m_baData, written.m_entries[i].m_baData);
        QCOMPARE(read.m_entries[i].m_bEncrypt, written.m_entries[i].m_bEncrypt);
        QCOMPARE(read.m_entries[i].m_bHasFile, written.m_entries[i].m_bHasFile);
    }
    QVERIFY2(read.CheckRestorable(err), qPrintable(err));
    // The index names every entry; files go for those that have one, by number.
    QCOMPARE(read.IndexFileData(), QByteArray("0=b.img\n5=a.img\n7=gone.img\n12=c.img\n"));
    const QList<CPackageEntry> files = read.FileEntries();
    QCOMPARE(files.size(), 3);
    QCOMPARE(files.last().m_strName, QStringLiteral("c.img"));

    // Without the end tag of the root it reads the same.
    QByteArray text = written.ToXml();
    text.truncate(text.lastIndexOf("</backup-programmer-xml>"));
    read.ParseXML(text);
    QCOMPARE(read.m_entries.size(), 4);
    QVERIFY2(read.CheckRestorable(err), qPrintable(err));

    // A file that cannot be opened is said so.
    QVERIFY(!read.ParseXMLFile(dir.filePath("none.pimg"), err));
    QCOMPARE(err, QStringLiteral("镜像包文件读取失败"));
}

void TestImagePackage::unsafeOrDamagedPackagesAreRefused_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QString>("reason");
    QTest::newRow("parent folder") << "name=\"b.img\"" << "name=\"../b.img\"" << "名称非法";
    QTest::newRow("absolute") << "name=\"b.img\"" << "name=\"/tmp/b.img\"" << "名称非法";
    QTest::newRow("backslash") << "name=\"b.img\"" << "name=\"..\\b.img\"" << "名称非法";
    QTest::newRow("index file") << "name=\"b.img\"" << "name=\"image.dat\"" << "名称非法";
    QTest::newRow("firmware") << "name=\"b.img\"" << "name=\"update.bin\"" << "名称非法";
    QTest::newRow("bad hex") << "data=\"10 20" << "data=\"1g 20" << "数据有误";
    QTest::newRow("odd digits") << "data=\"10 20" << "data=\"1 20" << "数据有误";
    QTest::newRow("size") << "size=\"6\"" << "size=\"7\"" << "大小不符";
    QTest::newRow("mark") << "encrypt=\"true\"" << "encrypt=\"false\"" << "加密标志不符";
    QTest::newRow("number") << "index=\"12\"" << "index=\"200\"" << "超出范围";
    QTest::newRow("same number") << "index=\"12\"" << "index=\"5\"" << "重复";
    QTest::newRow("truncated") << "" << "" << "不完整";
}

void TestImagePackage::unsafeOrDamagedPackagesAreRefused()
{
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    QByteArray xml = ThreeImages(dir).ToXml();
    if (from.isEmpty()) {
        // Cut in the middle of the second entry's data.
        xml.truncate(xml.indexOf("镜像2") + 100);
    } else {
        QVERIFY(xml.contains(from.toUtf8()));
        xml.replace(xml.indexOf(from.toUtf8()), from.toUtf8().size(), to.toUtf8());
    }
    CImagePackage package;
    package.ParseXML(xml);
    QString err;
    QVERIFY(!package.CheckRestorable(err));
    QVERIFY2(err.contains(reason), qPrintable(err));
}

void TestImagePackage::reKeyingMovesAnImageToAnotherProgrammer()
{
    const QByteArray original = makeImage(4, 3, true, kIdA);
    QByteArray image = original;
    QString err;
    QVERIFY2(CImagePackage::UpdateEnc(image, kIdA, kIdB, 1800000000, err), qPrintable(err));
    QCOMPARE(image.size(), original.size());
    QVERIFY(CImageFile::IsEncrypted(image));

    // B opens it, A no longer does; the build time is new and the checksum fits it.
    QByteArray forA = image;
    CImageTrailer trailer;
    QVERIFY(!CImageFile::Open(forA, kIdA, trailer, err));
    QByteArray forB = image;
    QVERIFY2(CImageFile::Open(forB, kIdB, trailer, err), qPrintable(err));
    QCOMPARE(trailer.m_nTime, 1800000000u);
    QByteArray plain = original;
    CImageTrailer before;
    QVERIFY(CImageFile::Open(plain, kIdA, before, err));
    QCOMPARE(trailer.m_nCRC, before.m_nCRC);
    QCOMPARE(forB.left(64), plain.left(64));

    // Without a target it stays decrypted; a wrong source key changes nothing.
    QByteArray loose = original;
    QVERIFY(CImagePackage::UpdateEnc(loose, kIdA, QString(), 1800000000, err));
    QVERIFY(!CImageFile::IsEncrypted(loose));
    QByteArray wrong = original;
    QVERIFY(!CImagePackage::UpdateEnc(wrong, kIdB, kIdA, 1800000000, err));
    QCOMPARE(wrong, original);
}

void TestImagePackage::failedSaveLeavesNoPackage()
{
    QTemporaryDir dir;
    const CImagePackage package = ThreeImages(dir);
    QString err;
    // A folder that cannot take the file: nothing is left behind, not even a temporary file.
    QVERIFY(FuncTool::WriteFile(dir.filePath("plain"), QByteArray("x")));
    QVERIFY(!package.SaveFile(dir.filePath("plain/p.pimg"), err));
    QCOMPARE(err, QStringLiteral("镜像包文件写入失败！"));
    QVERIFY(QDir().mkpath(dir.filePath("backup/p.pimg")));
    QVERIFY(!package.SaveFile(dir.filePath("backup/p.pimg"), err));
    QCOMPARE(QDir(dir.filePath("backup")).entryList(QDir::Files | QDir::Hidden).size(), 0);

    // An image that exists but is no file to read stops the backup.
    const QString procs = dir.path() + QStringLiteral("/procs/");
    QVERIFY(QDir().mkpath(procs + "d.img"));
    CImagePackage failed;
    QVERIFY(!failed.ReadFromFolder(indexOf({{0, QStringLiteral("b.img")}, {1, QStringLiteral("d.img")}}), procs, kIdA, err));
    QVERIFY2(err.startsWith(QStringLiteral("程序文件读取失败！")), qPrintable(err));
    // A name that leaves the folder is no image of this programmer: missing.
    CImagePackage outside;
    QVERIFY(outside.ReadFromFolder(indexOf({{0, QStringLiteral("../a.img")}}), procs + "sub/", kIdA, err));
    QVERIFY(!outside.m_entries.first().m_bHasFile);
}

void TestImagePackage::backupReadsNoFileOutsideTheImageFolder()
{
    QTemporaryDir dir;
    const QString procs = dir.path() + QStringLiteral("/procs/");
    QVERIFY(QDir().mkpath(procs));
    QVERIFY(FuncTool::WriteFile(dir.filePath(QStringLiteral("secret.img")), makeImage(1, 3, false)));
    QVERIFY(FuncTool::WriteFile(procs + QStringLiteral("b.img"), makeImage(2, 1, false)));
    // A link in the folder to a file elsewhere fails the backup rather than copy that file.
    QVERIFY(QFile::link(dir.filePath(QStringLiteral("secret.img")), procs + QStringLiteral("link.img")));
    CImagePackage package;
    QString err;
    QVERIFY(!package.ReadFromFolder(indexOf({{0, QStringLiteral("b.img")}, {1, QStringLiteral("link.img")}}), procs,
                                    kIdA, err));
    QVERIFY2(err.contains(QStringLiteral("link.img")), qPrintable(err));
}

QEL_TEST_CORE_MAIN(TestImagePackage)
#include "tst_imagepackage.moc"
