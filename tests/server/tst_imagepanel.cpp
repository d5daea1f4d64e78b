// The image panel's rules without a window: the checks before a download, the
// build into the working folder, and the preparation of each way down.
#include "burnhub.h"
#include "cimagepanel.h"
#include "cmessagebox.h"
#include "functool.h"
#include "imagefile.h"
#include "qeltest.h"

#include <QTemporaryDir>
#include <QTranslator>

namespace {
const QString kIdA = QStringLiteral("3F0027000B51353235383233");
const QString kIdB = QStringLiteral("1A0033000E51353235383233");

MyProger Disk(const QString &root, const QString &id = kIdA, const QString &model = QStringLiteral("QEL720A"))
{
    return MyProger(ProgerInfo(root, id, model, QStringLiteral("V2.1.5")));
}

MyProger Usb(const QString &id)
{
    MyProger p;
    p.MarkVCPProger(id, QStringLiteral("/dev/pts/9"));
    return p;
}
} // namespace

class TestImagePanel : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void downloadChecks_data();
    void downloadChecks();
    void checksComeInOrder();
    void buildRefusals();
    void encryptedBuildIsBoundToTheProgrammer();
    void crcFollowsTheList();
    void usbImageUpdatesTheMirrorIndex();
    void diskDownload();
    void exportIDs_data();
    void exportIDs();
    void englishTexts();

private:
    QString File(const QString &name, const QByteArray &content)
    {
        const QString path = m_dir->filePath(name);
        FuncTool::WriteFile(path, content);
        return path;
    }
    CPanelValues Values(const QList<BinInfo> &bins, const QString &index = QStringLiteral("3"),
                        const QString &name = QStringLiteral("app"))
    {
        CPanelValues v;
        v.bins = bins;
        v.strIndex = index;
        v.strName = name;
        v.nChip = 2;
        v.strLimit = QStringLiteral("0");
        v.strVersion = QStringLiteral("7");
        return v;
    }
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestImagePanel::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    CMessageBox::SetResponder([](CMessageBox::Kind, const QString &, const QString &) { return QMessageBox::Yes; });
}

void TestImagePanel::cleanup()
{
    CMessageBox::SetResponder({});
    BurnHub::Exitance();
    m_dir.reset();
}

void TestImagePanel::downloadChecks_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<bool>("encrypt");
    QTest::addColumn<QString>("index");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("error"); // empty: accepted

    const QString big49 = QStringLiteral("镜像号设置失败，原因为:镜像号错误，当前下载器支持最大镜像号为:49!(加密镜像)");
    const QString big149 = QStringLiteral("镜像号设置失败，原因为:镜像号错误，当前下载器支持最大镜像号为:149!(非加密镜像)");
    QTest::newRow("49 encrypted") << "QEL720A" << true << "49" << "a" << "";
    QTest::newRow("50 encrypted") << "QEL720A" << true << "50" << "a" << big49;
    QTest::newRow("149 plain") << "QEL720A" << false << "149" << "a" << "";
    QTest::newRow("150 plain") << "QEL720A" << false << "150" << "a" << big149;
    QTest::newRow("150 QEL720C") << "QEL720C" << false << "150" << "a" << big149;
    QTest::newRow("199 other model") << "QEL730A" << true << "199" << "a" << "";
    QTest::newRow("200") << "QEL730A" << false << "200" << "a" << "镜像号超出范围，支持[0,199]";
    QTest::newRow("not a number") << "QEL730A" << false << "x" << "a" << "镜像号超出范围，支持[0,199]";
    // Chinese characters are two bytes each in the index's code page.
    const QString cn32 = QString(32, QChar(0x955C));
    QTest::newRow("64 bytes") << "QEL720A" << false << "1" << cn32 << "";
    QTest::newRow("64 bytes mixed") << "QEL720A" << false << "1" << cn32.left(31) + "xy" << "";
    QTest::newRow("65 bytes") << "QEL720A" << false << "1" << cn32 + "x" << "镜像名称不能大于64字节!";
    QTest::newRow("65 bytes mixed") << "QEL720A" << false << "1" << cn32.left(31) + "xyz" << "镜像名称不能大于64字节!";
    QTest::newRow("equals sign") << "QEL720A" << false << "1" << "a=b" << "镜像名称不能包含等号(=)";
    QTest::newRow("empty name") << "QEL720A" << false << "1" << "" << "镜像名称不能为空";
}

void TestImagePanel::downloadChecks()
{
    QFETCH(QString, model);
    QFETCH(bool, encrypt);
    QFETCH(QString, index);
    QFETCH(QString, name);
    QFETCH(QString, error);
    const MyProger proger = Disk(QStringLiteral("/p/"), kIdA, model);
    CPanelValues v = Values({}, index, name);
    v.bEncrypt = encrypt;
    QString checked;
    int number = -1;
    CPanelMessage msg;
    QCOMPARE(CImagePanel::CheckDownload(v, &proger, checked, number, msg), error.isEmpty());
    if (error.isEmpty()) {
        QCOMPARE(number, index.toInt());
        QCOMPARE(checked, name + ".img");
    } else {
        QCOMPARE(msg.way, CPanelMessage::Warn);
        QCOMPARE(msg.text, error);
    }
}

void TestImagePanel::checksComeInOrder()
{
    // The name before the number, the number before the programmer.
    CPanelValues v = Values({}, QStringLiteral("500"), QStringLiteral("a=b"));
    QString name;
    int index = 0;
    CPanelMessage msg;
    QVERIFY(!CImagePanel::CheckDownload(v, nullptr, name, index, msg));
    QCOMPARE(msg.text, QStringLiteral("镜像名称不能包含等号(=)"));
    v.strName = QStringLiteral("fw.img");
    QVERIFY(!CImagePanel::CheckDownload(v, nullptr, name, index, msg));
    QCOMPARE(msg.text, QStringLiteral("镜像号超出范围，支持[0,199]"));
    v.strIndex = QStringLiteral("5");
    QVERIFY(!CImagePanel::CheckDownload(v, nullptr, name, index, msg));
    QCOMPARE(msg.text, QStringLiteral("下载器未选择!"));
    // A name that ends in ".img" keeps it.
    const MyProger proger = Disk(QStringLiteral("/p/"));
    QVERIFY(CImagePanel::CheckDownload(v, &proger, name, index, msg));
    QCOMPARE(name, QStringLiteral("fw.img"));
}

void TestImagePanel::buildRefusals()
{
    const QString work = m_dir->filePath("work");
    CImagePanel panel(work);
    const QString bin = File("app.bin", QByteArray(10, 'a'));
    const MyProger proger = Disk(QStringLiteral("/p/"));
    CImageResult result;
    CPanelMessage msg;

    // A limit needs encryption; nothing is left behind.
    CPanelValues v = Values({{"0x0000", bin}});
    v.strLimit = QStringLiteral("5");
    QVERIFY(!panel.Build(v, &proger, QString(), panel.ImagePath("app.img"), result, msg));
    QCOMPARE(msg.way, CPanelMessage::Error);
    QCOMPARE(msg.text, QStringLiteral("要有效限制下载次数，请选择加密镜像!"));
    QVERIFY(!QFile::exists(panel.ImagePath("app.img")));
    QVERIFY(!QFile::exists(work + "/history/images.log"));

    // Encrypted without a programmer ID.
    v.bEncrypt = true;
    QVERIFY(!panel.Build(v, nullptr, QString(), panel.ImagePath("app.img"), result, msg));
    QCOMPARE(msg.way, CPanelMessage::Error);
    QCOMPARE(msg.text, QStringLiteral("下载器ID格式有误,加密镜像必须绑定下载器!"));
    const MyProger noHex = Disk(QStringLiteral("/p/"), QStringLiteral("NOT-AN-ID"));
    QVERIFY(!panel.Build(v, &noHex, QString(), panel.ImagePath("app.img"), result, msg));
    QCOMPARE(msg.text, QStringLiteral("下载器ID格式有误,加密镜像必须绑定下载器!"));

    // An empty list, an empty path, an address that is no number, a missing file.
    v.bEncrypt = false;
    v.strLimit = QStringLiteral("0");
    v.bins.clear();
    QVERIFY(!panel.Build(v, &proger, QString(), panel.ImagePath("app.img"), result, msg));
    QCOMPARE(msg.text, QStringLiteral("程序列表不能为空，程序路径不能为空!"));
    v.bins = {{"0x0000", bin}, {"0x0100", ""}};
    QVERIFY(!panel.Build(v, &proger, QString(), panel.ImagePath("app.img"), result, msg));
    QCOMPARE(msg.text, QStringLiteral("程序列表不能为空，程序路径不能为空!"));
    v.bins = {{"0xZZ", bin}};
    QVERIFY(!panel.Build(v, &proger, QString(), panel.ImagePath("app.img"), result, msg));
    QCOMPARE(msg.text, QStringLiteral("起始地址格式错误:0xZZ"));
    v.bins = {{"0x0000", m_dir->filePath("gone.bin")}};
    QVERIFY(!panel.Build(v, &proger, QString(), panel.ImagePath("app.img"), result, msg));
    QVERIFY(msg.text.startsWith(QStringLiteral("程序文件读取错误")));
    QVERIFY(msg.text.contains(m_dir->filePath("gone.bin")));
    // Nothing to burn, or two programs on the same bytes (in either order).
    v.bins = {{"0x0000", File("empty.bin", QByteArray())}};
    QVERIFY(!panel.Build(v, &proger, QString(), panel.ImagePath("app.img"), result, msg));
    QVERIFY(msg.text.endsWith(QStringLiteral("程序文件为空:") + m_dir->filePath("empty.bin")));
    v.bins = {{"0x0000", File("nodata.hex", QByteArray(":00000001FF\n"))}};
    QVERIFY(!panel.Build(v, &proger, QString(), panel.ImagePath("app.img"), result, msg));
    QVERIFY(msg.text.contains(QStringLiteral("程序文件为空:")));
    const QString tail = File("tail.bin", QByteArray(8, 't'));
    v.bins = {{"0x0000", bin}, {"0x0009", tail}};
    QVERIFY(!panel.Build(v, &proger, QString(), panel.ImagePath("app.img"), result, msg));
    QVERIFY(msg.text.endsWith(QStringLiteral("程序地址重叠: %1 与 %2").arg(tail, bin)));
    v.bins = {{"0x0000", bin}, {"0x0020", tail}, {"0x001C", tail}};
    QVERIFY(!panel.Build(v, &proger, QString(), panel.ImagePath("app.img"), result, msg));
    QVERIFY(msg.text.contains(QStringLiteral("程序地址重叠")));
    // Touching is not overlapping.
    v.bins = {{"0x0000", bin}, {"0x000A", tail}};
    QVERIFY2(panel.Build(v, &proger, QString(), panel.ImagePath("touch.img"), result, msg), qPrintable(msg.text));
    QVERIFY(!QFile::exists(panel.ImagePath("app.img")));

    // Limit 0 without encryption builds: 10 bytes make a 16-byte program, an 84-byte image.
    v.bins = {{"0x0000", bin}};
    QVERIFY(panel.Build(v, &proger, QString(), panel.ImagePath("app.img"), result, msg));
    QCOMPARE(QFileInfo(panel.ImagePath("app.img")).size(), 84);
    QCOMPARE(QFileInfo(work + "/merge_data.bin").size(), 16);
    QCOMPARE(result.m_summary.last(), QStringLiteral("镜像文件处理完成!"));
    QVERIFY(result.m_summary.contains(QStringLiteral("MCU类型: QM-03")));
    QVERIFY(result.m_summary.contains(QStringLiteral("版本: 7")));
}

void TestImagePanel::encryptedBuildIsBoundToTheProgrammer()
{
    CImagePanel panel(m_dir->filePath("work"));
    // Two programs with a gap; the second one from a HEX file.
    const QString bin = File("a.bin", QByteArray("\x01\x02\x03\x04", 4));
    const QString hex = File("b.hex", QByteArray(":0400000005060708E2\n:00000001FF\n"));
    CPanelValues v = Values({{"0x08000000", bin}, {"0x08000010", hex}});
    v.bEncrypt = true;
    v.strLimit = QStringLiteral("5");
    const MyProger proger = Disk(QStringLiteral("/p/"), kIdA);
    CImageResult result;
    CPanelMessage msg;
    const QString path = panel.ImagePath("bound.img");
    QVERIFY2(panel.Build(v, &proger, QString(), path, result, msg), qPrintable(msg.text));

    QByteArray image = FuncTool::ReadFile(path);
    QCOMPARE(image.size(), 32 + 68);
    QVERIFY(CImageFile::IsEncrypted(image));
    QByteArray other = image;
    CImageTrailer trailer;
    QString err;
    QVERIFY(!CImageFile::Open(other, kIdB, trailer, err));
    QVERIFY(!err.isEmpty());
    QVERIFY2(CImageFile::Open(image, kIdA, trailer, err), qPrintable(err));
    QCOMPARE(image.mid(0, 4), QByteArray("\x01\x02\x03\x04", 4));
    QCOMPARE(image.mid(4, 12), QByteArray(12, '\xFF'));
    QCOMPARE(image.mid(16, 4), QByteArray("\x05\x06\x07\x08", 4));
    QCOMPARE(trailer.m_nLimit, 5u);
    QCOMPARE(trailer.m_nVersion, 7u);
    QCOMPARE(trailer.m_nChip, 2u);
    QCOMPARE(trailer.m_nStartAddr, 0x08000000u);
    QCOMPARE(result.m_strCRC, CImageBuilder::CRCText(trailer.m_nCRC));

    // The export's ID wins over the selected programmer's.
    QVERIFY(panel.Build(v, &proger, kIdB, path, result, msg));
    image = FuncTool::ReadFile(path);
    QVERIFY(CImageFile::Open(image, kIdB, trailer, err));
    // History: one copy and one log line per build.
    const QStringList copies = QDir(panel.WorkDir() + "/history").entryList({"*_bound.img"}, QDir::Files);
    QVERIFY(!copies.isEmpty());
    const QString log = QString::fromLocal8Bit(FuncTool::ReadFile(panel.WorkDir() + "/history/images.log"));
    QCOMPARE(log.count("name=bound.img ver=7 counts=5 encrypt=1"), 2);
}

void TestImagePanel::crcFollowsTheList()
{
    CImagePanel panel(m_dir->filePath("work"));
    QString crc;
    QString why;
    QVERIFY(!panel.RefreshCRC({}, crc, why));
    QCOMPARE(why, QStringLiteral("binInfos is empty"));
    QVERIFY(!panel.RefreshCRC({{"0x0", ""}}, crc, why));
    QVERIFY(why.startsWith(QStringLiteral("MergeBinInfos fail")));
    QVERIFY(crc.isEmpty());

    const QString bin = File("a.bin", QByteArray(10, 'z'));
    QVERIFY(panel.RefreshCRC({{"0x0", bin}}, crc, why));
    // The CRC the panel shows is the one the image carries.
    const MyProger proger = Disk(QStringLiteral("/p/"));
    CImageResult result;
    CPanelMessage msg;
    QVERIFY(panel.Build(Values({{"0x0", bin}}), &proger, QString(), panel.ImagePath("a.img"), result, msg));
    QCOMPARE(crc, result.m_strCRC);
    QVERIFY(crc.startsWith("0x"));
    QCOMPARE(crc, crc.toUpper().replace("0X", "0x"));
    QString second;
    QVERIFY(panel.RefreshCRC({{"0x0", bin}, {"0x10", bin}}, second, why));
    QVERIFY(second != crc);
}

void TestImagePanel::usbImageUpdatesTheMirrorIndex()
{
    // Listed under its console name; its own ID comes from the pulled identity file.
    const MyProger proger = Usb(QStringLiteral("00ABC"));
    const QString mirror = BurnHub::Instance()->GetUSBProgFilePath(QStringLiteral("00ABC"), QString());
    QCOMPARE(CImagePanel::KeyID(proger), QStringLiteral("00ABC"));
    QVERIFY(FuncTool::WriteFile(mirror + "qelprogrammer.dat", QByteArray("ID=" + kIdB.toLatin1() + "\r\nVER=V2.1.5\r\nMODEL=QEL720A\r\n")));
    QCOMPARE(CImagePanel::KeyID(proger), kIdB);
    const MyProger disk = Disk(QStringLiteral("/p/"));
    QCOMPARE(CImagePanel::KeyID(disk), kIdA);

    CPanelMessage msg;
    QVERIFY(!CImagePanel::PrepareUsbImage(proger, 150, "fw.img", msg));
    QCOMPARE(msg.text, QStringLiteral("USB-HID&VCP模式不支持该镜像号下发！（仅支持0~149镜像号）"));
    QVERIFY(!QFile::exists(mirror + "image.dat"));

    QVERIFY(CImagePanel::PrepareUsbImage(proger, 149, "fw.img", msg));
    QCOMPARE(msg.way, CPanelMessage::Log);
    QCOMPARE(msg.text, QStringLiteral("正在下发镜像数据, 请勿断开连接"));
    QCOMPARE(FuncTool::ReadFile(mirror + "image.dat"), QByteArray("149=fw.img\n"));

    // The same name under another number: the question, then the old number goes.
    QVERIFY(CImagePanel::PrepareUsbImage(proger, 2, "fw.img", msg));
    QCOMPARE(FuncTool::ReadFile(mirror + "image.dat"), QByteArray("2=fw.img\n"));
    CMessageBox::SetResponder([](CMessageBox::Kind, const QString &, const QString &) { return QMessageBox::No; });
    QVERIFY(!CImagePanel::PrepareUsbImage(proger, 4, "fw.img", msg));
    QCOMPARE(msg.way, CPanelMessage::Warn);
    QVERIFY(msg.text.startsWith(QStringLiteral("修改索引文件失败! fw.img已经配置在镜像号2中")));
    QCOMPARE(FuncTool::ReadFile(mirror + "image.dat"), QByteArray("2=fw.img\n"));
}

void TestImagePanel::diskDownload()
{
    const QString root = m_dir->filePath("disk") + "/";
    QVERIFY(FuncTool::WriteFile(root + "sys/qelprogrammer.dat", QByteArray("ID=" + kIdA.toLatin1() + "\r\nMODEL=QEL720A\r\n")));
    const QString image = File("fw.img", QByteArray(84, 'i'));
    QString line;
    QVERIFY(CImagePanel::DownImageToDisk(Disk(root), 7, image, "fw.img", line));
    QCOMPARE(line, QStringLiteral("下载镜像：镜像号=7，镜像名称=fw.img 成功"));
    QCOMPARE(FuncTool::ReadFile(root + "config/image.dat"), QByteArray("7=fw.img\n"));
    QCOMPARE(FuncTool::ReadFile(root + "procs/fw.img"), QByteArray(84, 'i'));

    // A source that has gone: the reason follows.
    QVERIFY(!CImagePanel::DownImageToDisk(Disk(root), 8, m_dir->filePath("none.img"), "none.img", line));
    QVERIFY(line.startsWith(QStringLiteral("下载镜像：镜像号=8，镜像名称=none.img 失败.\nreason: ")));
    QVERIFY(line.size() > QStringLiteral("下载镜像：镜像号=8，镜像名称=none.img 失败.\nreason: ").size());
}

void TestImagePanel::exportIDs_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("id");
    QTest::newRow("full") << " 3f0027000b51353235383233 " << "3F0027000B51353235383233";
    QTest::newRow("short") << "ABCD" << "00000000000000000000ABCD";
    QTest::newRow("25 digits") << "13F0027000B51353235383233" << "";
    QTest::newRow("not hex") << "3F0027000B5135323538323G" << "";
    QTest::newRow("empty") << "" << "";
}

void TestImagePanel::exportIDs()
{
    QFETCH(QString, typed);
    QFETCH(QString, id);
    QCOMPARE(CImagePanel::ExportID(typed), id);
}

void TestImagePanel::englishTexts()
{
    QTranslator english;
    QVERIFY(english.load(QStringLiteral(":/en.qm")));
    QCoreApplication::installTranslator(&english);
    CPanelValues v = Values({}, QStringLiteral("5"), QStringLiteral("fw"));
    QString name;
    int index = 0;
    CPanelMessage msg;
    QVERIFY(!CImagePanel::CheckDownload(v, nullptr, name, index, msg));
    QCOMPARE(msg.text, QStringLiteral("No programmer selected!"));
    QString line;
    CImagePanel::DownImageToDisk(Disk(m_dir->filePath("none/")), 1, m_dir->filePath("none.img"), "none.img", line);
    QVERIFY2(line.startsWith(QStringLiteral("Download image: number 1, name none.img failed.")), qPrintable(line));
    QCoreApplication::removeTranslator(&english);
}

QEL_TEST_MAIN(TestImagePanel)
#include "tst_imagepanel.moc"
