// The client window offscreen with simulated programmers: start-up, pages,
// the programmers found, and a local image loaded into a disk programmer.
#include "clienttest.h"
#include "chipform.h"
#include "clientdefs.h"
#include "mainwindow.h"
#include "myupdater.h"
#include "progsimprocess.h"
#include "remoteform.h"
#include "selindexdlg.h"
#include "sendfirmdlg.h"
#include "showconfigdlg.h"
#include "showimagedlg.h"

#include <burnhub.h>
#include <creportpipe.h>
#include <cpubactions.h>
#include <ctranslations.h>

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTreeWidget>

namespace {
const QString kDiskId = QStringLiteral("3F0027000B51353235383233");
const QString kVcpId = QStringLiteral("3F0027000B51353235383255");
const QString kHidId = QStringLiteral("3F0027000B51353235383266");

QComboBox *ProgList(MainWindow &w)
{
    return w.RemotePage()->findChild<QComboBox *>(QStringLiteral("combo_prog"));
}

QString Field(MainWindow &w, const char *name)
{
    return w.RemotePage()->findChild<QLineEdit *>(QLatin1String(name))->text();
}

bool Listed(MainWindow &w, const QString &part)
{
    QComboBox *list = ProgList(w);
    for (int i = 0; i < list->count(); ++i)
        if (list->itemText(i).contains(part))
            return true;
    return false;
}
} // namespace

class TestClientWindow : public QObject
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
        qunsetenv("QEL_PROG_DIRS");
        qunsetenv("QEL_VCP_PORTS");
        CPubActions(true).WriteString(QStringLiteral("REMOTE"), QStringLiteral("TCPSERVER"), QString(), ClientDefs::IniFile());
        BurnHub::Exitance();
        m_dir.reset();
    }

    void startsOnTheRemotePageAndSwitchesPages()
    {
        clienttest::Boxes boxes;
        MainWindow w;
        QCOMPARE(w.windowTitle(), QStringLiteral("QEL下载器客户端 v1.1.6-远程镜像下载"));
        QVERIFY(w.Action(QStringLiteral("actionremote"))->isChecked());
        QVERIFY(!w.Action(QStringLiteral("actionusbhid"))->isVisible());
        QVERIFY(!w.Action(QStringLiteral("actionproc"))->isVisible());
        QVERIFY(w.RemotePage()->LogText().contains(QStringLiteral("下载器列表已刷新!")));

        w.Action(QStringLiteral("actionchip"))->trigger();
        QCOMPARE(w.windowTitle(), QStringLiteral("QEL下载器客户端 v1.1.6-QEL芯片管理"));
        QVERIFY(!w.ChipPage()->isHidden());
        QVERIFY(!w.Action(QStringLiteral("actionremote"))->isChecked());

        w.Action(QStringLiteral("actionnsq"))->trigger();
        QVERIFY(w.RemotePage()->isVisibleTo(&w));
        QVERIFY(!w.Action(QStringLiteral("actionremote"))->isChecked());
        QVERIFY(!w.Action(QStringLiteral("actionchip"))->isChecked());
        QCOMPARE(w.windowTitle(), QStringLiteral("QEL下载器客户端 v1.1.6-NSQ远程镜像下载"));

        // Connections need a programmer (its UID for the brokers); nothing starts without one.
        auto *page = w.RemotePage();
        page->findChild<QPushButton *>(QStringLiteral("btn_login"))->click();
        QVERIFY(boxes.Shown(QStringLiteral("未检测到下载器!")));
        page->findChild<QPushButton *>(QStringLiteral("btn_mqttconnect"))->click();
        page->findChild<QPushButton *>(QStringLiteral("btn_nsqconnect"))->click();
        QCOMPARE(boxes.shown.last().title, QStringLiteral("错误"));
        QCOMPARE(boxes.shown.last().text, QStringLiteral("当前未检测到下载器，无法获取有效的UID."));
        QVERIFY(!page->LogText().contains(QStringLiteral("发起连接")));
        QVERIFY(page->findChild<QPushButton *>(QStringLiteral("btn_mqttconnect"))->isEnabled());

        // Actions that need a programmer say so; clearing empties the page's log.
        w.Action(QStringLiteral("actionofflineimage"))->trigger();
        QVERIFY(boxes.Shown(QStringLiteral("下载器未连接!")));
        w.Action(QStringLiteral("actionclear"))->trigger();
        QVERIFY(w.RemotePage()->LogText().isEmpty());

        // Only yes closes.
        w.show();
        boxes.answer = QMessageBox::No;
        QVERIFY(!w.close());
        QVERIFY(boxes.Shown(QStringLiteral("确认退出程序?")));
        boxes.answer = QMessageBox::Yes;
        QVERIFY(w.close());
    }

    void storedEnglishIsApplied()
    {
        CPubActions(false).WriteInt(QStringLiteral("UI"), QStringLiteral("LANGUAGE"), CTranslations::English,
                                    QStringLiteral("qel720A_client.ini"));
        // The links' own log lines follow the language too.
        QTcpServer server;
        QVERIFY(server.listen(QHostAddress::LocalHost, 0));
        QVERIFY(CPubActions(true).WriteString(QStringLiteral("REMOTE"), QStringLiteral("TCPSERVER"),
                                              QStringLiteral("127.0.0.1:%1").arg(server.serverPort()),
                                              ClientDefs::IniFile()));
        const QString disk = m_dir->filePath(QStringLiteral("disk"));
        QVERIFY(clienttest::MakeProger(disk, kDiskId));
        qputenv("QEL_PROG_DIRS", disk.toLocal8Bit());
        {
            MainWindow w;
            QCOMPARE(w.windowTitle(), QStringLiteral("QEL programmer client v1.1.6-Remote image download"));
            QVERIFY(w.RemotePage()->LogText().contains(QStringLiteral("Programmer list refreshed!")));
            QTRY_VERIFY_WITH_TIMEOUT(w.RemotePage()->LogText().contains(QStringLiteral(" connected")), 5000);
            QVERIFY(!w.RemotePage()->LogText().contains(QStringLiteral("已连接")));
        }
        CPubActions(false).WriteInt(QStringLiteral("UI"), QStringLiteral("LANGUAGE"), CTranslations::Chinese,
                                    QStringLiteral("qel720A_client.ini"));
        CTranslations::LoadTranslations(false);
    }

    void findsDiskVcpAndHidProgrammers()
    {
        const QString disk = m_dir->filePath(QStringLiteral("disk"));
        const QString port = m_dir->filePath(QStringLiteral("vcp0"));
        const QString hidDir = m_dir->filePath(QStringLiteral("hid"));
        ProgSim diskSim(disk, kDiskId, QStringLiteral("QEL720A"));
        ProgSim vcpSim({QStringLiteral("--vcp"), QStringLiteral("--id"), kVcpId, QStringLiteral("--link"), port});
        ProgSim hidSim({QStringLiteral("--hid"), QStringLiteral("--id"), kHidId, QStringLiteral("--hid-dir"), hidDir});
        QVERIFY(diskSim.WaitReady());
        QVERIFY(vcpSim.WaitReady());
        QVERIFY(hidSim.WaitReady());
        qputenv("QEL_PROG_DIRS", disk.toLocal8Bit());
        qputenv("QEL_VCP_PORTS", port.toLocal8Bit());
        CReportPipe::SetSimulationDir(hidDir);

        clienttest::Boxes boxes;
        MainWindow w;
        QTRY_VERIFY_WITH_TIMEOUT(Listed(w, QStringLiteral("USB-VCP ") + port), 5000);
        QVERIFY(Listed(w, QStringLiteral("USB-HID ")));
        QCOMPARE(ProgList(w)->count(), 3);
        // The disk comes first and is the current programmer.
        QCOMPARE(Field(w, "edit_progid"), kDiskId);
        QCOMPARE(Field(w, "edit_progmodel"), QStringLiteral("QEL720A"));
        QCOMPARE(Field(w, "edit_progver"), QStringLiteral("V2.1.5"));
        QCOMPARE(Field(w, "edit_hwver"), QStringLiteral("H1.0"));
        QVERIFY(w.RemotePage()->LogText().contains(QStringLiteral("检测到USB-VCP模式下载器")));
        QVERIFY(w.RemotePage()->LogText().contains(QStringLiteral("检测到USB-HID模式下载器")));

        // Unplugged programmers leave the list.
        vcpSim.Stop();
        hidSim.Stop();
        QTRY_VERIFY_WITH_TIMEOUT(!Listed(w, QStringLiteral("USB-VCP")) && !Listed(w, QStringLiteral("USB-HID")), 10000);
        QVERIFY(w.RemotePage()->LogText().contains(QStringLiteral("检测到VCP下载器已断开连接:") + port));
        QVERIFY(w.RemotePage()->LogText().contains(QStringLiteral("检测到HID下载器已断开连接")));
        CReportPipe::SetSimulationDir(QString());
    }

    void tcpServerSettingConnectsOnceAProgrammerIsThere()
    {
        QTcpServer server;
        QVERIFY(server.listen(QHostAddress::LocalHost, 0));
        CPubActions ini(true);
        const QString file = ClientDefs::IniFile();
        QVERIFY(ini.WriteString(QStringLiteral("REMOTE"), QStringLiteral("TCPSERVER"),
                                QStringLiteral("127.0.0.1:%1").arg(server.serverPort()), file));
        clienttest::Boxes boxes;
        {
            // No programmer yet: the address is shown, nothing is connected, nothing asked.
            MainWindow w;
            QCOMPARE(Field(w, "edit_ip"), QStringLiteral("127.0.0.1"));
            QCOMPARE(Field(w, "edit_port"), QString::number(server.serverPort()));
            QCOMPARE(w.RemotePage()->findChild<QTabWidget *>(QStringLiteral("tabWidget"))->currentIndex(), 1);
            QVERIFY(!server.waitForNewConnection(500));
            QVERIFY(boxes.shown.isEmpty());
        }
        BurnHub::Exitance();
        const QString disk = m_dir->filePath(QStringLiteral("disk"));
        QVERIFY(clienttest::MakeProger(disk, kDiskId));
        qputenv("QEL_PROG_DIRS", disk.toLocal8Bit());
        MainWindow w;
        QTRY_VERIFY_WITH_TIMEOUT(server.hasPendingConnections(), 5000);
        QVERIFY(w.RemotePage()->LogText().contains(QStringLiteral("发起连接")));
    }

    void localImageGoesIntoTheProgrammer()
    {
        const QString disk = m_dir->filePath(QStringLiteral("disk"));
        ProgSim sim(disk, kDiskId, QStringLiteral("QEL720A"));
        QVERIFY(sim.WaitReady());
        qputenv("QEL_PROG_DIRS", disk.toLocal8Bit());
        const QString image = m_dir->filePath(QStringLiteral("blink.img"));
        QVERIFY(clienttest::MakeImage(m_dir->filePath(QStringLiteral("work")), image));

        clienttest::Boxes boxes;
        MainWindow w;
        remoteform *page = w.RemotePage();
        auto *send = page->findChild<QPushButton *>(QStringLiteral("btn_sendimage"));
        auto *path = page->findChild<QLineEdit *>(QStringLiteral("edit_image"));

        path->setText(m_dir->filePath(QStringLiteral("missing.img")));
        send->click();
        QVERIFY(boxes.Shown(QStringLiteral("已选本地镜像不存在!")));

        path->setText(image);
        clienttest::WhenDialog<selindexdlg>([](selindexdlg *dlg) {
            QCOMPARE(dlg->windowTitle(), QStringLiteral("镜像号设置"));
            // Forbidden characters never reach the field.
            auto *name = dlg->findChild<QLineEdit *>(QStringLiteral("edit_name"));
            name->clear();
            QTest::keyClicks(name, QStringLiteral("line:1"));
            QCOMPARE(name->text(), QStringLiteral("line1"));
            dlg->SetIndex(5);
            dlg->accept();
        });
        send->click();
        QVERIFY(page->LogText().contains(QStringLiteral("下载本地镜像：镜像号=5，镜像名称=line1.img 成功")));
        QVERIFY(sim.WaitFor(QStringLiteral("image 5 line1.img: accepted")));

        // The image dialog lists it and clears it.
        int rows = -1;
        clienttest::WhenDialog<showimagedlg>([&rows](showimagedlg *dlg) {
            auto *list = dlg->findChild<QTreeWidget *>(QStringLiteral("lv_image"));
            rows = list->topLevelItemCount();
            QCOMPARE(list->topLevelItem(0)->text(0), QStringLiteral("5"));
            QCOMPARE(list->topLevelItem(0)->text(1), QStringLiteral("line1.img"));
            dlg->findChild<QPushButton *>(QStringLiteral("btn_clearone"))->click();
            list->setCurrentItem(list->topLevelItem(0));
            dlg->findChild<QPushButton *>(QStringLiteral("btn_clearone"))->click();
            QCOMPARE(list->topLevelItemCount(), 0);
            dlg->reject();
        });
        page->findChild<QPushButton *>(QStringLiteral("btn_showimage"))->click();
        QCOMPARE(rows, 1);
        QVERIFY(boxes.Shown(QStringLiteral("镜像未选择!")));
        QVERIFY(boxes.Shown(QStringLiteral("确定清除镜像line1.img?")));
        QVERIFY(page->LogText().contains(QStringLiteral("镜像已清除: line1.img")));
        QVERIFY(sim.WaitFor(QStringLiteral("images: none")));

        // The configuration dialog shows the parameters and writes them back.
        QString title;
        clienttest::WhenDialog<showconfigdlg>([&title](showconfigdlg *dlg) {
            title = dlg->windowTitle();
            dlg->findChild<QPushButton *>(QStringLiteral("btn_downconfig"))->click();
            dlg->reject();
        });
        page->findChild<QPushButton *>(QStringLiteral("btn_showconfig"))->click();
        QVERIFY(title.startsWith(QStringLiteral("修改配置")));
        QVERIFY(boxes.Shown(QStringLiteral("配置下发成功")));
        QVERIFY(sim.WaitFor(QStringLiteral("param_refresh.cmd: reloaded param.ini")));
    }

    void firmwareDownloadReachesThePage()
    {
        // The updater's side: one verdict line naming the downloaded firmware.
        const QString updater = m_dir->filePath(QStringLiteral("qelupdate"));
        QVERIFY(FuncTool::WriteFile(updater, QByteArray("#!/bin/sh\necho 'success$/tmp/update_v9.bin'\n")));
        QFile::setPermissions(updater, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        clienttest::Boxes boxes;
        {
            MainWindow w;
            w.Action(QStringLiteral("actionupdatefirm"))->trigger();
            QVERIFY(boxes.Shown(QStringLiteral("未检测到下载器!")));
        }
        QVERIFY(clienttest::MakeProger(m_dir->filePath(QStringLiteral("disk")), kDiskId));
        qputenv("QEL_PROG_DIRS", m_dir->filePath(QStringLiteral("disk")).toLocal8Bit());
        MainWindow w;
        w.Updater()->SetUpdaterProgram(updater);
        // The firmware dialog opens with the file; a file that is not there is refused.
        QString preset;
        clienttest::WhenDialog<sendfirmdlg>([&preset](sendfirmdlg *dlg) {
            preset = dlg->File();
            dlg->findChild<QPushButton *>(QStringLiteral("btn_send"))->click();
            dlg->reject();
        });
        w.Action(QStringLiteral("actionupdatefirm"))->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(w.RemotePage()->LogText().contains(QStringLiteral("固件下载成功:/tmp/update_v9.bin")), 20000);
        QTRY_COMPARE(preset, QStringLiteral("/tmp/update_v9.bin"));
        QVERIFY(boxes.Shown(QStringLiteral("选择固件文件不存在")));

        // A firmware file that is there goes to the programmer as update.bin.
        const QString firmware = m_dir->filePath(QStringLiteral("fw.bin"));
        QVERIFY(FuncTool::WriteFile(firmware, QByteArray(100, 'F')));
        clienttest::WhenDialog<sendfirmdlg>([firmware](sendfirmdlg *dlg) {
            dlg->findChild<QLineEdit *>(QStringLiteral("edit_file"))->setText(firmware);
            dlg->findChild<QPushButton *>(QStringLiteral("btn_send"))->click();
        });
        w.RemotePage()->SendFirmware(QString());
        QVERIFY(boxes.Shown(QStringLiteral("下发固件文件并重启下载器后")));
        QVERIFY(w.RemotePage()->LogText().contains(QStringLiteral("固件已下发:") + firmware));
        QCOMPARE(FuncTool::ReadFile(m_dir->filePath(QStringLiteral("disk/update.bin"))), QByteArray(100, 'F'));
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

QEL_TEST_MAIN(TestClientWindow)
#include "tst_clientwindow.moc"
