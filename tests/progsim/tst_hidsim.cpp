// The simulator in HID mode, found and opened through CReportPipe's
// simulation backend and driven by the suite's host handler.
#include "progsimprocess.h"
#include "qeltest.h"
#include "simhost.h"

#include <burnhub.h>
#include <cusbframe.h>
#include <functool.h>
#include <creportpipe.h>

#include <QLoggingCategory>
#include <QTemporaryDir>

namespace {
const QString kID = QStringLiteral("5E0036000C51353235383233");

class HidPipe : public CReportPipe
{
public:
    std::function<void(const QByteArray &)> onReport;
    QList<QPair<bool, QString>> states;

protected:
    void HandleRecvData(const HidRecvData &data) override
    {
        if (onReport)
            onReport(QByteArray(reinterpret_cast<const char *>(data.pData), data.nLen));
    }
    void HandleDevState(bool open, const QString &key) override { states << qMakePair(open, key); }
};
} // namespace

class TestHidSim : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<ProgSim> m_sim;
    std::unique_ptr<HidPipe> m_pipe;
    QByteArray m_buf;
    SimHost m_host;

    QString hidDir() const { return m_dir.filePath("hid"); }

private slots:
    void initTestCase()
    {
        QLoggingCategory::setFilterRules(QStringLiteral("qel.usbcontrol.debug=false"));
        QVERIFY(m_dir.isValid());
        CReportPipe::SetSimulationDir(hidDir());
        m_pipe = std::make_unique<HidPipe>();
        QVERIFY(m_pipe->IsSimulated());
        m_sim = std::make_unique<ProgSim>(QStringList{"--hid", "--id", kID, "--hid-dir", hidDir(), "--dir", m_dir.filePath("P"),
                                                      "--counters", "5/1", "--result", "0xE1", "--start-ms", "10"});
        QVERIFY2(m_sim->WaitReady(), qPrintable(m_sim->Output()));
        m_host.dir = m_dir.filePath("host");
        m_pipe->onReport = [this](const QByteArray &report) { m_host.FeedReport(m_buf, report); };
        m_host.transmit = [this](const QByteArray &frame) {
            QByteArray bytes = frame;
            return m_pipe->SendData(reinterpret_cast<unsigned char *>(bytes.data()), quint16(bytes.size()), m_host.dev.m_strName);
        };
    }

    void cleanupTestCase() { CReportPipe::SetSimulationDir(QString()); }

    void foundByVendorAndProduct()
    {
        QList<CHidInfo> list;
        QVERIFY(m_pipe->EnumDevices(list, 0x0483, 0x5751));
        QCOMPARE(list.size(), 1);
        QCOMPARE(list.first().m_strSerial, kID);
        QVERIFY(!m_pipe->EnumDevices(list, 0x0485, 0x5760));
        QVERIFY(m_pipe->StartNewHid(list, false));
        m_host.dev.m_nType = CUsbDev::KindHid;
        m_host.dev.m_strName = list.first().m_strPath;
        m_host.dev.m_strSecondId = list.first().m_strSerial;
        m_host.dev.m_nSlot = 4;
        QVERIFY(m_sim->WaitFor("host opened the device"));

        // The other pair the host looks for.
        ProgSim other({"--hid", "--id", "1A0033000E51353235383233", "--hid-dir", hidDir(), "--usb-id", "0485:5760"});
        QVERIFY2(other.WaitReady(), qPrintable(other.Output()));
        QList<CHidInfo> second;
        QVERIFY(m_pipe->EnumDevices(second, 0x0485, 0x5760));
        QCOMPARE(second.size(), 1);
        QCOMPARE(second.first().m_strSerial, QStringLiteral("1A0033000E51353235383233"));
    }

    void initialisesWithoutUid()
    {
        // A HID programmer is named by its path and pulled at once.
        m_host.QueueInitPulls(m_host.dev);
        QTRY_VERIFY_WITH_TIMEOUT(m_host.dev.m_bInit, 20000);
        QCOMPARE(m_host.pass, 5u);
        QCOMPARE(m_host.fail, 1u);
        ProgerInfo info;
        QVERIFY(BurnHub::IsRightProger(m_host.Mirror("qelprogrammer.dat"), info));
        QCOMPARE(info.m_strID, kID);
        QVERIFY(m_host.logged("烧录器-4 镜像信息拉取完成"));
    }

    void pushAndRunOverReports()
    {
        // Frames of 1032 bytes travel as many padded reports.
        QByteArray text;
        for (int i = 0; i < 300; ++i)
            text += QByteArray("voltage=1\r\n");
        text += "contInterval=700\r\n";
        const QString param = m_dir.filePath("param.ini");
        QVERIFY(FuncTool::WriteFile(param, text));
        QVERIFY(m_host.DownloadFile(m_host.dev, param));
        QTRY_VERIFY_WITH_TIMEOUT(m_host.logged("烧录器-4 烧录器配置更新完成"), 20000);
        QCOMPARE(FuncTool::ReadFile(m_dir.filePath("P/config/param.ini")), text);
        QVERIFY(m_sim->WaitFor("param.ini: contInterval=700 voltage=1"));

        QVERIFY(m_host.transmit(CUsbFrame::Make(UsbCmd::START_CMD)));
        QTRY_COMPARE_WITH_TIMEOUT(m_host.results.size(), 1, 20000);
        QCOMPARE(m_host.results.first().code, quint8(UsbCmd::RES_SWD));
        QVERIFY(m_host.logged("烧录器-4 执行结果失败! 原因为[SWD通信失败]"));

        QByteArray bad = CUsbFrame::Make(UsbCmd::REFRESH_IMAGE_CMD);
        bad[3] = char(UsbCmd::START_CMD);
        QVERIFY(m_host.transmit(bad));
        QTRY_VERIFY_WITH_TIMEOUT(m_host.logged(m_host.dev.m_strName + QStringLiteral(" 检测到帧CRC错误")), 20000);
        QCOMPARE(m_host.results.size(), 1);
    }

    void unplugging()
    {
        const QString path = m_host.dev.m_strName;
        m_sim->Stop();
        QTRY_VERIFY_WITH_TIMEOUT(m_pipe->states.contains(qMakePair(false, path)), 20000);
        QVERIFY(!m_pipe->IsOpen(path));
        QList<CHidInfo> list;
        QVERIFY(!m_pipe->EnumDevices(list, 0x0483, 0x5751));
    }
};

QEL_TEST_CORE_MAIN(TestHidSim)
#include "tst_hidsim.moc"
