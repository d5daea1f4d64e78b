// The simulator in VCP mode, run as its own program and driven over its
// pseudo-terminal by the suite's host handler, as the console drives a
// programmer on a virtual COM port.
#include "progsimprocess.h"
#include "qeltest.h"
#include "simhost.h"

#include <burnhub.h>
#include <cusbcrc.h>
#include <cusbframe.h>
#include <cusbserialno.h>
#include <functool.h>
#include <imagebuilder.h>

#include <clinepipe.h>

#include <QLoggingCategory>
#include <QTemporaryDir>

namespace {
// The console's serial transport, bytes handed to the test.
class Line : public CLinePipe
{
public:
    std::function<void(const QByteArray &)> onBytes;
    QList<QPair<bool, QString>> states;

protected:
    void HandleRecvData(const SerialRecvData &data) override
    {
        if (onBytes)
            onBytes(QByteArray(data.pData, data.nLen));
    }
    void HandleConnState(bool open, QString port) override { states << qMakePair(open, port); }
};

const QString kID = QStringLiteral("3F0027000B51353235383233");
const QString kOtherID = QStringLiteral("1A0033000E51353235383233");

QByteArray pattern(int n, int seed)
{
    QByteArray b(n, '\0');
    for (int i = 0; i < n; ++i)
        b[i] = char((i * 7 + seed + i / 251) & 0xFF);
    return b;
}

// An image as the image panel builds it, from one BIN at addr.
QString buildImage(const QString &dir, const QString &name, const QByteArray &program, quint32 addr, quint32 limit,
                   bool encrypt, const QString &id, CImageResult &result)
{
    const QString bin = dir + QStringLiteral("/") + name + QStringLiteral(".bin");
    if (!FuncTool::WriteFile(bin, program))
        return QString();
    CImageBuilder builder(dir);
    CImageParams params;
    params.m_nLimit = limit;
    params.m_nVersion = 7;
    params.m_nChip = 2;
    params.m_bEncrypt = encrypt;
    params.m_strGivenID = id;
    const QString path = dir + QStringLiteral("/") + name;
    QString err;
    if (!builder.SaveImageFile({CBinEntry{addr, bin}}, params, path, result, err)) {
        qWarning() << err;
        return QString();
    }
    return path;
}
} // namespace

class TestVcpSim : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<ProgSim> m_sim;
    Line m_line;
    QByteArray m_buf;
    SimHost m_host;

    bool simSays(const QString &text) { return m_sim->WaitFor(text); }
    QString simFile(const QString &relative) const { return m_dir.filePath(QStringLiteral("P/") + relative); }

private slots:
    void initTestCase()
    {
        QLoggingCategory::setFilterRules(QStringLiteral("qel.usbcontrol.debug=false"));
        QVERIFY(m_dir.isValid());
        m_sim = std::make_unique<ProgSim>(QStringList{
            "--vcp", "--id", kID.toLower(), "--model", "QEL720C", "--dir", m_dir.filePath("P"), "--link",
            m_dir.filePath("ttyQEL0"), "--counters", "12/3", "--result", "0,0xE3,0,0", "--start-ms", "20",
            "--flm-timeout", "2", "--image", "3"});
        QVERIFY2(m_sim->WaitReady(), qPrintable(m_sim->Output()));
        QCOMPARE(m_sim->PortPath(), m_dir.filePath("ttyQEL0"));

        m_host.dir = m_dir.filePath("host");
        m_host.dev.m_nType = CUsbDev::KindVcp;
        m_host.dev.m_strPort = m_sim->PortPath();
        m_host.dev.m_nSlot = 0;
        QVERIFY(m_line.StartMultipleSerial(m_sim->PortPath(), 115200, true, nullptr));
        m_line.onBytes = [this](const QByteArray &bytes) { m_host.FeedStream(m_buf, bytes); };
        m_host.transmit = [this](const QByteArray &frame) {
            QByteArray bytes = frame;
            return m_line.SendData(bytes.data(), uint(bytes.size()), m_host.dev.m_strPort);
        };
    }

    void init() { m_host.logs.clear(); }

    void initialisesLikeAProgrammer()
    {
        m_host.RequestUid(m_host.dev);
        QTRY_VERIFY_WITH_TIMEOUT(m_host.dev.m_bInit, 20000);
        // The UID words are the ID's three 8-digit parts, without leading zeros.
        QCOMPARE(m_host.dev.m_strName, QStringLiteral("003F002700B51353235383233"));
        QVERIFY(m_host.dev.m_bSync);
        QCOMPARE(m_host.pass, 12u);
        QCOMPARE(m_host.fail, 3u);
        QVERIFY(m_sim->Output().contains(QRegularExpression("sync: time \"\\d\\d-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d [1-7]\", counters 12/3")));
        // The pulled files are the programmer's own.
        ProgerInfo info;
        QVERIFY(BurnHub::IsRightProger(m_host.Mirror("qelprogrammer.dat"), info));
        QCOMPARE(info.m_strID, kID);
        QCOMPARE(info.m_strModel, QStringLiteral("QEL720C"));
        QCOMPARE(FuncTool::ReadFile(m_host.Mirror("param.ini")), FuncTool::ReadFile(simFile("config/param.ini")));
        QVERIFY(m_host.logged("烧录器-0 配置信息拉取完成"));
        QCOMPARE(m_host.logs.last(), QStringLiteral("下载器初始化完成，可以进行后续操作"));
    }

    void imageDownloadIsCheckedAndBurned()
    {
        CImageResult built;
        const QByteArray program = pattern(3000, 1);
        const QString image = buildImage(m_dir.path(), "app.img", program, 0x1000, 2, true, kID, built);
        QVERIFY(!image.isEmpty());
        // The console's local index already names it (as the image panel writes it).
        QVERIFY(FuncTool::WriteFile(m_host.Mirror("image.dat"), QByteArray("3=app.img\n")));
        m_host.image = 3;
        QVERIFY(m_host.DownloadFile(m_host.dev, image));
        QTRY_VERIFY_WITH_TIMEOUT(m_host.logged("烧录器-0 执行:切换镜像号, 成功! 现在可以触发执行烧录！"), 20000);
        QVERIFY(m_host.logged("烧录器-0 镜像号: 3 数据传输完成！"));
        QCOMPARE(FuncTool::ReadFile(simFile("procs/app.img")), FuncTool::ReadFile(image));
        QVERIFY2(simSays(QStringLiteral("received app.img: %1 bytes, crc32 0x%2 verified")
                             .arg(QFileInfo(image).size())
                             .arg(QString::number(CUsbCrc::Crc32(FuncTool::ReadFile(image)), 16).toUpper())),
                 qPrintable(m_sim->Output()));
        QVERIFY2(simSays(QStringLiteral("image 3 app.img: accepted crc=%1 size=%2 encrypted=1 limit=2 version=7 chip=QM-03 start=0x00001000")
                             .arg(built.m_strCRC)
                             .arg(QFileInfo(image).size())),
                 qPrintable(m_sim->Output()));

        m_builtCrc = built.m_trailer.m_nCRC;
        m_program = program;
    }

    void runsReportConfiguredResultsAndKeepTheLimit()
    {
        // Results come in turn: pass, 0xE3, pass, pass; a pass burns image 3.
        send(CUsbFrame::Make(UsbCmd::START_CMD));
        QTRY_COMPARE_WITH_TIMEOUT(m_host.results.size(), 1, 20000);
        QVERIFY(m_host.logged("烧录器-0 启动成功"));
        QVERIFY(m_host.logged("下载器执行-FLM函数，超时计数为: 2"));
        QVERIFY(m_host.results.at(0).IsPass());
        QCOMPARE(m_host.results.at(0).checksum, m_builtCrc);
        QVERIFY(m_host.logged(QStringLiteral("烧录器-0 执行结果成功, 校验码为[0x%1]").arg(QString::number(m_builtCrc, 16).toUpper())));

        // What landed in the target flash is the program, at its address.
        UsbReadMcu read;
        read.addr = 0x1000;
        read.count = quint32(m_program.size());
        send(read.Frame());
        QTRY_VERIFY_WITH_TIMEOUT(m_host.logged("烧录器-0 MCU-FLASH数据拉取完成， 正在解析..."), 20000);
        QCOMPARE(FuncTool::ReadFile(m_host.flashPath), m_program);

        send(CUsbFrame::Make(UsbCmd::START_CMD));
        QTRY_COMPARE_WITH_TIMEOUT(m_host.results.size(), 2, 20000);
        QCOMPARE(m_host.results.at(1).code, quint8(UsbCmd::RES_VERIFY));
        QVERIFY(m_host.logged("烧录器-0 执行结果失败! 原因为[目标板校验错误]"));

        send(CUsbFrame::Make(UsbCmd::START_CMD));
        QTRY_COMPARE_WITH_TIMEOUT(m_host.results.size(), 3, 20000);
        QVERIFY(m_host.results.at(2).IsPass());
        // Two burns of an image limited to two: the next start is refused.
        send(CUsbFrame::Make(UsbCmd::START_CMD));
        QTRY_COMPARE_WITH_TIMEOUT(m_host.starts.size(), 4, 20000);
        QCOMPARE(m_host.starts.last(), false);
        QVERIFY(m_host.logged("烧录器-0 启动失败!"));
        QVERIFY(simSays("start refused: image 3 (app.img) reached its download limit 2"));

        // The count query has no handler on the host.
        send(CUsbFrame::Make(UsbCmd::CHECK_CNT_CMD));
        QTRY_VERIFY_WITH_TIMEOUT(m_host.loggedPart("收到不支持指令： 0xC3"), 20000);
        QVERIFY(simSays("count query: 14/4"));
        QCOMPARE(FuncTool::ReadFile(simFile("config/record_mcu.dat")).count("\r\n"), 3);
    }

    void imageForAnotherProgrammerIsRejected()
    {
        CImageResult built;
        const QString image = buildImage(m_dir.path(), "other.img", pattern(500, 2), 0, 0, true, kOtherID, built);
        QVERIFY(!image.isEmpty());
        QVERIFY(FuncTool::WriteFile(m_host.Mirror("image.dat"), QByteArray("3=app.img\n5=other.img\n")));
        m_host.image = 5;
        QVERIFY(m_host.DownloadFile(m_host.dev, image));
        QTRY_VERIFY_WITH_TIMEOUT(m_host.logged("烧录器-0 执行:切换镜像号, 成功! 现在可以触发执行烧录！"), 20000);
        QVERIFY2(simSays("image 5 other.img: rejected: Check that this is the right programmer!"), qPrintable(m_sim->Output()));
        // Image 3 did not change, so it is not checked again.
        QCOMPARE(m_sim->Output().count("image 3 app.img: accepted"), 1);
        // The run is configured to pass, but the image cannot be burned.
        send(CUsbFrame::Make(UsbCmd::START_CMD));
        QTRY_COMPARE_WITH_TIMEOUT(m_host.results.size(), 4, 20000);
        QCOMPARE(m_host.results.last().code, quint8(UsbCmd::RES_OTHER));
        QVERIFY(m_host.logged("烧录器-0 执行结果失败! 原因为[其他错误]"));
        // The image attributes carry the CRC of the good image only.
        m_host.PullFile(m_host.dev, "config/image_attr.dat");
        QTRY_COMPARE_WITH_TIMEOUT(m_host.attrs.size(), 2, 20000);
        QCOMPARE(m_host.attrs.at(0).m_strName, QStringLiteral("app.img"));
        QCOMPARE(m_host.attrs.at(0).m_nA, 3);
        QCOMPARE(m_host.attrs.at(0).m_nB, m_builtCrc);
        QCOMPARE(m_host.attrs.at(1).m_nB, 0u);
    }

    void serialNumberLandsInTheTargetFlash()
    {
        const QByteArray sn = CUsbSerialNo::GenerateSN(QDate(2024, 3, 17), 42);
        QStringList lines;
        send(CUsbSerialNo::BuildFrame(0, 0x1FC00, sn, lines));
        QTRY_COMPARE_WITH_TIMEOUT(m_host.specResults.size(), 1, 20000);
        const QByteArray written = sn + QByteArray(3, '\xFF');
        QVERIFY(m_host.specResults.at(0).IsPass());
        QCOMPARE(m_host.specResults.at(0).checksum, FuncTool::CalcBytesCRCNum(written));
        QVERIFY(simSays(QStringLiteral("serial data written: 40 bytes at 0x1FC00: ") + QString::fromLatin1(sn)));

        UsbReadMcu read;
        read.addr = 0x1FC00;
        read.count = 40;
        m_host.flashPath.clear();
        send(read.Frame());
        QTRY_VERIFY_WITH_TIMEOUT(!m_host.flashPath.isEmpty(), 20000);
        QTRY_COMPARE_WITH_TIMEOUT(FuncTool::ReadFile(m_host.flashPath), written, 20000);

        // Past the end of the flash, and not in whole words.
        send(CUsbSerialNo::BuildFrame(0, 0x1FFF0, sn, lines));
        UsbSpecData odd;
        odd.addr = 0x1F000;
        odd.data = sn;
        send(odd.Frame());
        QTRY_COMPARE_WITH_TIMEOUT(m_host.specResults.size(), 3, 20000);
        QCOMPARE(m_host.specResults.at(1).code, quint8(UsbCmd::RES_OTHER));
        QCOMPARE(m_host.specResults.at(2).code, quint8(UsbCmd::RES_FRAME_LEN));
        QVERIFY(m_host.logged("[编程特定数据] 烧录器-0 执行结果失败! 原因为[帧长度错误]"));
        read.addr = 0x1FFF0;
        send(read.Frame());
        QTRY_VERIFY_WITH_TIMEOUT(m_host.logged("下载器-0 读取MCU-FLASH数据失败！"), 20000);
    }

    void badFramesAndLineNoise()
    {
        QByteArray bad = CUsbFrame::Make(UsbCmd::START_CMD);
        bad[4] = char(bad[4] ^ 0x01);
        send(bad);
        QTRY_VERIFY_WITH_TIMEOUT(m_host.logged(m_host.dev.m_strPort + QStringLiteral(" 检测到帧CRC错误")), 20000);
        QVERIFY(simSays("frame CRC error: 68 06 00 C1 1D 23"));

        // Noise before a frame is skipped up to the next head.
        UsbByte page;
        page.cmd = UsbCmd::SWITCH_PAGE_CMD;
        page.value = UsbCmd::PAGE_VERIFY;
        send(QByteArray("\x01\x02noise", 7) + page.Frame());
        QTRY_VERIFY_WITH_TIMEOUT(m_host.logged("烧录器-0 执行:切换校验页面, 成功! "), 20000);
        QVERIFY(simSays("bytes: no frame head"));
        // A head whose frame never comes is dropped after a pause.
        send(QByteArray::fromHex("68400001"));
        QVERIFY(simSays("dropped 4 bytes: unfinished frame"));
        page.value = UsbCmd::PAGE_HELP;
        send(page.Frame());
        QTRY_VERIFY_WITH_TIMEOUT(m_host.logged("烧录器-0 执行:切换帮助页面, 成功! "), 20000);
    }

    void filesAndExtendedCommand()
    {
        UsbByte ex;
        ex.cmd = UsbCmd::EX_CMD;
        ex.value = UsbCmd::EX_IMAGE_NO;
        send(ex.Frame());
        QTRY_VERIFY_WITH_TIMEOUT(m_host.logged(QStringLiteral("烧录器-0(%1) 当前镜像号为: 5").arg(m_host.dev.m_strPort)), 20000);

        UsbFileName del;
        del.cmd = UsbCmd::DEL_FILE_CMD;
        del.name = QStringLiteral("other.img");
        send(del.Frame());
        QTRY_VERIFY_WITH_TIMEOUT(m_host.logged("烧录器-0 执行:移除文件, 成功! "), 20000);
        QVERIFY(!QFile::exists(simFile("procs/other.img")));
        send(del.Frame());
        QTRY_VERIFY_WITH_TIMEOUT(m_host.logged("烧录器-0 执行:移除文件, 失败!"), 20000);

        // A start with a given image makes it the active one.
        UsbByte startImage;
        startImage.cmd = UsbCmd::START_IMAGE_CMD;
        startImage.value = 149;
        send(startImage.Frame());
        QTRY_COMPARE_WITH_TIMEOUT(m_host.results.size(), 5, 20000);
        QVERIFY(m_host.logged("烧录器-0 执行:切换镜像号, 成功! 现在可以触发执行烧录！"));
        QVERIFY(simSays("start with image 149 (not in the index)"));
        send(ex.Frame());
        QTRY_VERIFY_WITH_TIMEOUT(m_host.logged(QStringLiteral("烧录器-0(%1) 当前镜像号为: 149").arg(m_host.dev.m_strPort)), 20000);

        // A programmer takes no new identity.
        const QString identity = m_dir.filePath("qelprogrammer.dat");
        QVERIFY(FuncTool::WriteFile(identity, QByteArray("ID=000000000000000000000001\r\n")));
        QVERIFY(m_host.DownloadFile(m_host.dev, identity));
        QTRY_VERIFY_WITH_TIMEOUT(m_host.logged("烧录器-0 拒绝进行文件传输"), 20000);
        QVERIFY(FuncTool::ReadFile(simFile("sys/qelprogrammer.dat")).contains(kID.toUtf8()));

        // New parameters are stored and read back with the suite's reader.
        const QString param = m_dir.filePath("param.ini");
        QVERIFY(FuncTool::WriteFile(param, QByteArray("voltage=1\r\ncontInterval=900\r\n")));
        QVERIFY(m_host.DownloadFile(m_host.dev, param));
        QTRY_VERIFY_WITH_TIMEOUT(m_host.logged("烧录器-0 烧录器配置更新完成"), 20000);
        QVERIFY(simSays("param.ini: contInterval=900 voltage=1"));
    }

    void unplugging()
    {
        m_sim->Stop();
        QVERIFY(m_sim->Output().contains(": unplugged"));
        // A pulled cable, as the serial link sees it.
        QTRY_VERIFY_WITH_TIMEOUT(m_line.states.contains(qMakePair(false, m_host.dev.m_strPort)), 20000);
        QVERIFY(!m_line.IsOpen(m_host.dev.m_strPort));
        QVERIFY(!QFileInfo(m_dir.filePath("ttyQEL0")).isSymLink());
    }

private:
    void send(const QByteArray &frame) { QVERIFY(m_host.transmit(frame)); }

    quint32 m_builtCrc = 0;
    QByteArray m_program;
};

QEL_TEST_CORE_MAIN(TestVcpSim)
#include "tst_vcpsim.moc"
