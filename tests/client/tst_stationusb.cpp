// The station's HID and VCP programmers through the control frames: identity
// read at arrival, a local image and a firmware file sent and taken by the
// simulator, and a programmer that stops answering dropped with its message.
#include "clienttest.h"
#include "clientdefs.h"
#include "cstationusb.h"
#include "mainwindow.h"
#include "progsimprocess.h"
#include "remoteform.h"
#include "selindexdlg.h"
#include "sendfirmdlg.h"

#include <burnhub.h>
#include <creportpipe.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <csignal>

namespace {
const QString kVcpId = QStringLiteral("3F0027000B51353235383255");
const QString kHidId = QStringLiteral("3F0027000B51353235383266");

int RowOf(remoteform *page, const QString &part)
{
    auto *list = page->findChild<QComboBox *>(QStringLiteral("combo_prog"));
    for (int i = 0; i < list->count(); ++i)
        if (list->itemText(i).contains(part))
            return i;
    return -1;
}

QString Field(remoteform *page, const char *name)
{
    return page->findChild<QLineEdit *>(QLatin1String(name))->text();
}

// The local image at path sent to the current programmer under index.
void SendImage(remoteform *page, const QString &path, int index)
{
    page->findChild<QLineEdit *>(QStringLiteral("edit_image"))->setText(path);
    clienttest::WhenDialog<selindexdlg>([index](selindexdlg *dlg) {
        dlg->SetIndex(index);
        dlg->accept();
    });
    page->findChild<QPushButton *>(QStringLiteral("btn_sendimage"))->click();
}
} // namespace

class TestStationUsb : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
    }
    void cleanup()
    {
        qunsetenv("QEL_VCP_PORTS");
        CReportPipe::SetSimulationDir(QString());
        BurnHub::Exitance();
        m_dir.reset();
    }

    void folderNamesStayInTheirFolder()
    {
        QCOMPARE(CUsbDev::FolderIdOf(QStringLiteral("../a/b:c")), QStringLiteral(".._a_b_c"));
        QCOMPARE(CUsbDev::FolderIdOf(QStringLiteral("..")), QStringLiteral("__"));
        QCOMPARE(CUsbDev::FolderIdOf(kVcpId), kVcpId);
    }

    void imagesAndFirmwareReachVcpAndHidProgrammers()
    {
        const QString port = m_dir->filePath(QStringLiteral("vcp0"));
        const QString hidDir = m_dir->filePath(QStringLiteral("hid"));
        ProgSim vcp({QStringLiteral("--vcp"), QStringLiteral("--id"), kVcpId, QStringLiteral("--link"), port,
                     QStringLiteral("--dir"), m_dir->filePath(QStringLiteral("vcpfiles"))});
        ProgSim hid({QStringLiteral("--hid"), QStringLiteral("--id"), kHidId, QStringLiteral("--hid-dir"), hidDir,
                     QStringLiteral("--dir"), m_dir->filePath(QStringLiteral("hidfiles"))});
        QVERIFY(vcp.WaitReady());
        QVERIFY(hid.WaitReady());
        qputenv("QEL_VCP_PORTS", port.toLocal8Bit());
        CReportPipe::SetSimulationDir(hidDir);
        const QString work = m_dir->filePath(QStringLiteral("work"));
        const QString image = m_dir->filePath(QStringLiteral("blink.img"));
        QVERIFY(clienttest::MakeImage(work, image));

        clienttest::Boxes boxes;
        MainWindow w;
        remoteform *page = w.RemotePage();
        // Each says who it is; the list and the identity fields show it.
        QTRY_VERIFY_WITH_TIMEOUT(RowOf(page, kVcpId) >= 0 && RowOf(page, kHidId) >= 0, 15000);
        QVERIFY(page->LogText().contains(QStringLiteral("USB-VCP下载器建立连接")));
        QVERIFY(page->LogText().contains(QStringLiteral("USB-HID下载器建立连接")));
        page->combo_prog_activated(RowOf(page, kVcpId));
        QCOMPARE(Field(page, "edit_progid"), kVcpId);
        QCOMPARE(Field(page, "edit_progmodel"), QStringLiteral("QEL720A"));
        QVERIFY(!Field(page, "edit_progver").isEmpty());

        // A local image into the VCP programmer: pulled, verified, indexed and switched to.
        SendImage(page, image, 7);
        QVERIFY2(page->LogText().contains(QStringLiteral("正在下发镜像数据, 请勿断开连接")), qPrintable(page->LogText().right(600)));
        QTRY_VERIFY_WITH_TIMEOUT(page->LogText().contains(QStringLiteral("下载本地镜像：镜像号=7，镜像名称=blink.img 成功")), 20000);
        QVERIFY(vcp.WaitFor(QStringLiteral("received blink.img")));
        QVERIFY(vcp.WaitFor(QStringLiteral("received image.dat")));
        QVERIFY(vcp.WaitFor(QStringLiteral("active image 7")));
        // Numbers above 149 are not for these programmers.
        SendImage(page, image, 150);
        QVERIFY(boxes.Shown(QStringLiteral("USB-HID&VCP模式不支持该镜像号下发！（仅支持0~149镜像号）")));

        // The same through HID.
        page->combo_prog_activated(RowOf(page, kHidId));
        QCOMPARE(Field(page, "edit_progid"), kHidId);
        SendImage(page, image, 3);
        QTRY_VERIFY_WITH_TIMEOUT(page->LogText().contains(QStringLiteral("下载本地镜像：镜像号=3，镜像名称=blink.img 成功")), 20000);
        QVERIFY(hid.WaitFor(QStringLiteral("received blink.img")));
        QVERIFY(hid.WaitFor(QStringLiteral("active image 3")));

        // Firmware to the HID programmer.
        const QString firm = m_dir->filePath(QStringLiteral("fw_v2.bin"));
        QVERIFY(FuncTool::WriteFile(firm, QByteArray(2000, 'F')));
        clienttest::WhenDialog<sendfirmdlg>([](sendfirmdlg *dlg) {
            dlg->findChild<QPushButton *>(QStringLiteral("btn_send"))->click();
        });
        page->SendFirmware(firm);
        QVERIFY(hid.WaitFor(QStringLiteral("received update.bin: 2000 bytes")));
    }

    void silentProgrammerTimesOut()
    {
        const QString port = m_dir->filePath(QStringLiteral("vcp1"));
        ProgSim vcp({QStringLiteral("--vcp"), QStringLiteral("--id"), kVcpId, QStringLiteral("--link"), port,
                     QStringLiteral("--dir"), m_dir->filePath(QStringLiteral("vcpfiles"))});
        QVERIFY(vcp.WaitReady());
        qputenv("QEL_VCP_PORTS", port.toLocal8Bit());
        const QString image = m_dir->filePath(QStringLiteral("late.img"));
        QVERIFY(clienttest::MakeImage(m_dir->filePath(QStringLiteral("work")), image));

        clienttest::Boxes boxes;
        MainWindow w;
        remoteform *page = w.RemotePage();
        QTRY_VERIFY_WITH_TIMEOUT(RowOf(page, kVcpId) >= 0, 15000);
        page->combo_prog_activated(RowOf(page, kVcpId));
        page->Usb()->SetTimeout(600);
        const qint64 pid = vcp.Process().processId();
        QCOMPARE(::kill(pid_t(pid), SIGSTOP), 0);
        SendImage(page, image, 2);
        QTRY_VERIFY_WITH_TIMEOUT(page->LogText().contains(QStringLiteral("通信超时, 请重试")), 10000);
        QVERIFY2(page->LogText().contains(QStringLiteral("下载本地镜像失败! late.img")), qPrintable(page->LogText().right(600)));
        QVERIFY(!page->Usb()->IsBusy(port));
        QCOMPARE(::kill(pid_t(pid), SIGCONT), 0);

        // Answering again, it takes the next file.
        page->Usb()->SetTimeout(CStationUsb::kDefaultTimeoutMs);
        QTest::qWait(300);
        SendImage(page, image, 2);
        QTRY_VERIFY_WITH_TIMEOUT(page->LogText().contains(QStringLiteral("下载本地镜像：镜像号=2，镜像名称=late.img 成功")), 20000);
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

QTEST_MAIN(TestStationUsb)
#include "tst_stationusb.moc"
