// The programmer viewers and the firmware dialog of the server window,
// offscreen, on a simulated USB-disk programmer and on simulated programmers
// on a virtual COM port and on HID reached through the USB console.
#include "answeredboxes.h"
#include "burnhub.h"
#include "cpubactions.h"
#include "creportpipe.h"
#include "cserverhost.h"
#include "cusbconsole.h"
#include "cusbprogmanager.h"
#include "cviewerset.h"
#include "functool.h"
#include "imagebuilder.h"
#include "mainwindow.h"
#include "progsimprocess.h"
#include "qeltest.h"
#include "sendfirmdlg.h"
#include "serverdefs.h"
#include "serverevents.h"
#include "showconfigdlg.h"
#include "showimagedlg.h"
#include "showsignaldlg.h"
#include "usbcontroldlg.h"

#include <configform.h>
#include <selfirmform.h>

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTreeWidget>

namespace {
const QString kId = QStringLiteral("3F0027000B51353235383233");

QTreeWidget *List(MainWindow &w) { return w.findChild<QTreeWidget *>(QStringLiteral("lv_prog")); }
template <class T> T *Child(QWidget *w, const char *name) { return w->findChild<T *>(QLatin1String(name)); }
void Click(QWidget *w, const char *name) { Child<QPushButton>(w, name)->click(); }

// An image of a small program, as the image panel builds it.
bool MakeImage(const QString &work, const QString &path)
{
    QByteArray program(64, '\0');
    for (int i = 0; i < program.size(); ++i)
        program[i] = char(i * 5 + 3);
    const QString bin = work + QStringLiteral("/program.bin");
    CImageResult result;
    QString err;
    return FuncTool::WriteFile(bin, program)
        && CImageBuilder(work).SaveImageFile({{0x08000000, bin}}, CImageParams(), path, result, err);
}

// The names the viewer lists, in its order.
QStringList Listed(showimagedlg *dlg)
{
    QStringList names;
    auto *list = Child<QTreeWidget>(dlg, "lv_image");
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        names << list->topLevelItem(i)->text(0) + QLatin1Char(':') + list->topLevelItem(i)->text(1);
    return names;
}

void SelectRow(showimagedlg *dlg, int row)
{
    auto *list = Child<QTreeWidget>(dlg, "lv_image");
    list->setCurrentItem(list->topLevelItem(row));
}
} // namespace

class TestViewers : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void diskConfigAndImages();
    void diskSignal();
    void diskFirmware();
    void usbViewersThroughTheConsole();
    void hidFirmware();
    void nothingSelected();

private:
    QString Dir(const QString &name) const { return m_dir->filePath(name); }
    // The window with the only programmer listed ticked.
    void Tick(MainWindow &w) { List(w)->topLevelItem(0)->setCheckState(0, Qt::Checked); }
    bool Asked(const QString &text) const
    {
        for (const qeltest::Box &box : m_boxes->shown)
            if (box.kind == CMessageBox::Question && box.text.contains(text))
                return true;
        return false;
    }
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<qeltest::Boxes> m_boxes;
};

void TestViewers::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_boxes = std::make_unique<qeltest::Boxes>();
    CPubActions(false).WriteString(QStringLiteral("UPDATE"), QStringLiteral("URL"), QStringLiteral("http://127.0.0.1:1/qel.json"),
                                   ServerDefs::IniFile());
    qputenv("QEL_VCP_PORTS", "");
}

void TestViewers::cleanup()
{
    CReportPipe::SetSimulationDir(QString());
    qunsetenv("QEL_PROG_DIRS");
    qunsetenv("QEL_VCP_PORTS");
    m_boxes.reset();
    BurnHub::Exitance();
    QDir(ServerDefs::WorkDir()).removeRecursively();
    m_dir.reset();
}

void TestViewers::diskConfigAndImages()
{
    ProgSim sim(Dir("SIM"), kId, QStringLiteral("QEL720A"));
    QVERIFY2(sim.WaitReady(), qPrintable(sim.Output()));
    QVERIFY(MakeImage(m_dir->path(), Dir("x.img")));
    BurnHub *hub = BurnHub::Instance();
    hub->SetProgRoot(Dir("SIM/"));
    QString err;
    QVERIFY(hub->DownImageFile(3, Dir("x.img"), QStringLiteral("a.img"), err));
    QVERIFY(hub->DownImageFile(7, Dir("x.img"), QStringLiteral("b.img"), err));
    QMap<QString, QString> param;
    QVERIFY(hub->ReadConfig(param, err));
    qputenv("QEL_PROG_DIRS", Dir("SIM").toLocal8Bit());
    MainWindow w;
    Tick(w);

    // The configuration, read-only.
    Click(&w, "btn_upconfig");
    showconfigdlg *config = w.Viewers()->ConfigViewer();
    QVERIFY(config && config->isVisible());
    QVERIFY(config->windowTitle().startsWith(QStringLiteral("查看下载器配置 ")));
    QVERIFY(!param.isEmpty());
    const QList<QPair<QString, QString>> shown = {{"voltage", "combo_voltage"}, {"swdClk", "combo_swdclk"}, {"usbmode", "combo_usbmode"}};
    for (const auto &key : shown) {
        auto *combo = config->Form()->findChild<QComboBox *>(key.second);
        QVERIFY2(combo, qPrintable(key.second));
        QCOMPARE(combo->currentIndex(), param.value(key.first).toInt());
        QVERIFY(!combo->isEnabled());
    }

    // Images in index order; clearing without a row asks nothing and keeps them.
    Click(&w, "btn_imagemgr");
    showimagedlg *images = w.Viewers()->ImageViewer();
    QVERIFY(images);
    QCOMPARE(Listed(images), QStringList({"3:a.img", "7:b.img"}));
    QSignalSpy cleared(images, &showimagedlg::sig_hasClear);
    images->on_btn_clearone_clicked();
    QVERIFY(m_boxes->Shown(QStringLiteral("镜像未选择!")));
    QVERIFY(!Asked(QStringLiteral("确定清除镜像")));
    QCOMPARE(cleared.count(), 0);

    SelectRow(images, 0);
    m_boxes->answer = QMessageBox::No;
    images->on_btn_clearone_clicked();
    QVERIFY(Asked(QStringLiteral("确定清除镜像a.img?")));
    QCOMPARE(Listed(images).size(), 2);
    m_boxes->answer = QMessageBox::Yes;
    images->on_btn_clearone_clicked();
    QCOMPARE(Listed(images), QStringList({"7:b.img"}));
    QCOMPARE(cleared.count(), 1);
    QCOMPARE(cleared.at(0).at(0).toString(), QStringLiteral("a.img"));
    QVERIFY(!QFile::exists(Dir("SIM/procs/a.img")));

    images->on_btn_clearall_clicked();
    QVERIFY(Asked(QStringLiteral("确定清除全部镜像?")));
    QVERIFY(Listed(images).isEmpty());
    QCOMPARE(cleared.last().at(0).toString(), QStringLiteral("ALL"));
    QMap<int, ImageInfo> index;
    hub->SetProgRoot(Dir("SIM/"));
    QVERIFY(hub->ReadImageIndex(index, err));
    QVERIFY(index.isEmpty());
    QVERIFY(sim.WaitFor(QStringLiteral("images: none")));
}

void TestViewers::diskSignal()
{
    ProgSim sim(Dir("SIM"), kId, QStringLiteral("QEL720A"));
    QVERIFY2(sim.WaitReady(), qPrintable(sim.Output()));
    QVERIFY(QFile::remove(Dir("SIM/config/signal.ini")));
    qputenv("QEL_PROG_DIRS", Dir("SIM").toLocal8Bit());
    MainWindow w;
    Tick(w);
    w.actionTriggered(w.findChild<QAction *>(QStringLiteral("actionprogsignal")));
    showsignaldlg *dlg = w.Viewers()->SignalViewer();
    QVERIFY(dlg);
    QVERIFY(m_boxes->Shown(QStringLiteral("本地下载器信号配置不存在, 可下发更新")));
    // The form keeps its defaults.
    ProgerSignal defaults;
    QCOMPARE(Child<QLineEdit>(dlg, "edit_signalDuration")->text(), QString::number(defaults.signalDuration));
    QCOMPARE(Child<QLineEdit>(dlg, "edit_startTime")->text(), QString::number(defaults.startTime));

    Child<QComboBox>(dlg, "combo_signalType")->setCurrentIndex(1);
    Child<QLineEdit>(dlg, "edit_signalDuration")->setText(QStringLiteral("250"));
    // With no programmer ticked any more, nothing is asked or sent.
    List(w)->topLevelItem(0)->setCheckState(0, Qt::Unchecked);
    Click(dlg, "btn_update");
    QVERIFY(m_boxes->Shown(QStringLiteral("下载器未选择!")));
    QVERIFY(!Asked(QStringLiteral("信号配置")));
    QVERIFY(!QFile::exists(Dir("SIM/config/signal.ini")));
    Tick(w);
    Click(dlg, "btn_update");
    QVERIFY(Asked(QStringLiteral("下发镜像将修改下载器的信号配置，是否继续?")));
    QVERIFY2(w.LogText().contains(QStringLiteral("本地信号配置下发成功，重新上电烧录器后生效")), qPrintable(w.LogText()));
    QVERIFY(sim.WaitFor(QStringLiteral("signalDuration=250")));
    QVERIFY(sim.Output().contains(QStringLiteral("signalType=1")));

    // Read back the next time.
    m_boxes->shown.clear();
    w.actionTriggered(w.findChild<QAction *>(QStringLiteral("actionprogsignal")));
    dlg = w.Viewers()->SignalViewer();
    QVERIFY(m_boxes->shown.isEmpty());
    QCOMPARE(Child<QLineEdit>(dlg, "edit_signalDuration")->text(), QStringLiteral("250"));
    QCOMPARE(Child<QComboBox>(dlg, "combo_signalType")->currentIndex(), 1);
}

void TestViewers::diskFirmware()
{
    ProgSim sim(Dir("SIM"), kId, QStringLiteral("QEL720A"));
    QVERIFY2(sim.WaitReady(), qPrintable(sim.Output()));
    qputenv("QEL_PROG_DIRS", Dir("SIM").toLocal8Bit());
    MainWindow w;
    Tick(w);
    w.actionTriggered(w.findChild<QAction *>(QStringLiteral("actionproc")));
    sendfirmdlg *dlg = w.Viewers()->FirmDialog();
    QVERIFY(dlg);
    QCOMPARE(dlg->windowTitle(), QStringLiteral("更新下载器固件程序"));

    // A missing file: said, nothing asked, nothing sent.
    dlg->SetFirmPath(Dir("none.bin"));
    Click(dlg, "btn_down");
    QVERIFY(m_boxes->Shown(QStringLiteral("选择固件文件不存在")));
    QVERIFY(!Asked(QStringLiteral("下发固件文件")));
    QVERIFY(!QFile::exists(Dir("SIM/update.bin")));

    // A downloaded firmware opens the dialog on it.
    const QByteArray firmware = QByteArray(3000, '\x5A') + "end";
    QVERIFY(FuncTool::WriteFile(Dir("fw.bin"), firmware));
    ServerEvents::PostFirmDown(Dir("fw.bin"));
    QTRY_VERIFY(w.LogText().contains(QStringLiteral("固件下载成功:") + Dir("fw.bin")));
    dlg = w.Viewers()->FirmDialog();
    QCOMPARE(dlg->Form()->GetSelPath(), Dir("fw.bin"));
    Click(dlg, "btn_down");
    QVERIFY(Asked(QStringLiteral("下发固件文件并重启下载器后，将更新下载器固件，是否继续?")));
    QVERIFY2(w.LogText().contains(QStringLiteral("下发固件成功")), qPrintable(w.LogText()));
    QCOMPARE(FuncTool::ReadFile(Dir("SIM/update.bin")), firmware);
    QVERIFY(sim.WaitFor(QStringLiteral("update.bin: %1 bytes").arg(firmware.size())));
    QCOMPARE(dlg->Progress(), 100);
    QVERIFY(!dlg->IsSending());
}

void TestViewers::usbViewersThroughTheConsole()
{
    // The programmer's folder holds two images and no signal file before it is plugged in.
    const QString folder = Dir("VCP");
    QVERIFY(QDir().mkpath(folder + QStringLiteral("/procs")));
    QVERIFY(MakeImage(m_dir->path(), folder + QStringLiteral("/procs/a.img")));
    QVERIFY(MakeImage(m_dir->path(), folder + QStringLiteral("/procs/b.img")));
    QVERIFY(FuncTool::WriteFile(folder + QStringLiteral("/config/image.dat"), QByteArray("2=a.img\n5=b.img\n")));
    const QString link = Dir("vcp0");
    qputenv("QEL_PROG_DIRS", "");
    qputenv("QEL_VCP_PORTS", link.toLocal8Bit());
    ProgSim sim({QStringLiteral("--vcp"), QStringLiteral("--link"), link, QStringLiteral("--id"), kId, QStringLiteral("--dir"), folder});
    QVERIFY2(sim.WaitReady(), qPrintable(sim.Output()));
    QVERIFY(QFile::remove(folder + QStringLiteral("/config/signal.ini")));
    MainWindow w;
    CServerHost host(&w);
    QTRY_VERIFY_WITH_TIMEOUT(List(w)->topLevelItemCount() == 1, 30000);
    CUsbConsole *console = w.UsbManager()->Console();
    QTRY_VERIFY_WITH_TIMEOUT(console->Find(link) && console->Find(link)->m_bInit, 30000);
    Tick(w);
    QVERIFY(w.Programmers().At(0)->m_bVCP);

    // Configuration: the copy the console pulled.
    Click(&w, "btn_upconfig");
    QVERIFY(!m_boxes->Shown(QStringLiteral("本地下载器配置读取失败!")));
    auto *voltage = w.Viewers()->ConfigViewer()->Form()->findChild<QComboBox *>(QStringLiteral("combo_voltage"));
    QVERIFY(!voltage->isEnabled());

    // Images: the pulled index; a clear goes on to the programmer.
    Click(&w, "btn_imagemgr");
    showimagedlg *images = w.Viewers()->ImageViewer();
    QCOMPARE(Listed(images), QStringList({"2:a.img", "5:b.img"}));
    SelectRow(images, 0);
    images->on_btn_clearone_clicked();
    QCOMPARE(Listed(images), QStringList({"5:b.img"}));
    QTRY_VERIFY_WITH_TIMEOUT(sim.Output().contains(QStringLiteral("deleted a.img")), 20000);
    QTRY_VERIFY_WITH_TIMEOUT(sim.Output().contains(QStringLiteral("received image.dat")), 20000);
    QVERIFY(!QFile::exists(folder + QStringLiteral("/procs/a.img")));
    images->on_btn_clearall_clicked();
    QVERIFY(Listed(images).isEmpty());
    QTRY_VERIFY_WITH_TIMEOUT(sim.Output().contains(QStringLiteral("deleted ALL: 1 images")), 20000);
    QVERIFY(!QFile::exists(folder + QStringLiteral("/procs/b.img")));

    // Signal: pulled through the console; without the file the defaults stay.
    w.actionTriggered(w.findChild<QAction *>(QStringLiteral("actionprogsignal")));
    showsignaldlg *signal = w.Viewers()->SignalViewer();
    QCOMPARE(signal->windowTitle(), QStringLiteral("查看下载器信号配置-USB"));
    QVERIFY(w.LogText().contains(QStringLiteral("正在读取烧录器信号配置")));
    QTRY_VERIFY_WITH_TIMEOUT(m_boxes->Shown(QStringLiteral("本地下载器信号配置不存在, 可下发更新")), 20000);
    QCOMPARE(Child<QLineEdit>(signal, "edit_startTime")->text(), QString::number(ProgerSignal().startTime));
    Child<QLineEdit>(signal, "edit_startTime")->setText(QStringLiteral("120"));
    Click(signal, "btn_update");
    QTRY_VERIFY_WITH_TIMEOUT(sim.Output().contains(QStringLiteral("received signal.ini")), 20000);
    QTRY_VERIFY_WITH_TIMEOUT(sim.Output().contains(QStringLiteral("startTime=120")), 20000);
    // Pulled again, it shows what the programmer now holds.
    m_boxes->shown.clear();
    w.actionTriggered(w.findChild<QAction *>(QStringLiteral("actionprogsignal")));
    signal = w.Viewers()->SignalViewer();
    QTRY_VERIFY_WITH_TIMEOUT(w.LogText().contains(QStringLiteral("烧录器信号配置已刷新")), 20000);
    QCOMPARE(Child<QLineEdit>(signal, "edit_startTime")->text(), QStringLiteral("120"));
    QVERIFY(m_boxes->shown.isEmpty());

    // Firmware: "update.bin" through the console, no other file chosen meanwhile.
    QByteArray firmware(5000, '\0');
    for (int i = 0; i < firmware.size(); ++i)
        firmware[i] = char(i % 251);
    QVERIFY(FuncTool::WriteFile(Dir("new.bin"), firmware));
    w.actionTriggered(w.findChild<QAction *>(QStringLiteral("actionproc")));
    sendfirmdlg *firm = w.Viewers()->FirmDialog();
    firm->SetFirmPath(Dir("new.bin"));
    Click(firm, "btn_down");
    QVERIFY(w.LogText().contains(QStringLiteral("USB 模式下发固件... 请勿断开连接")));
    QVERIFY(firm->IsSending());
    QVERIFY(!Child<QPushButton>(firm->Form(), "btn_open")->isEnabled());
    QTRY_VERIFY_WITH_TIMEOUT(!firm->IsSending(), 30000);
    QVERIFY(Child<QPushButton>(firm->Form(), "btn_open")->isEnabled());
    QCOMPARE(firm->Progress(), 100);
    QVERIFY(w.LogText().contains(QStringLiteral("下发固件成功")));
    QVERIFY(sim.Output().contains(QStringLiteral("received update.bin: %1 bytes").arg(firmware.size())));
    QCOMPARE(FuncTool::ReadFile(folder + QStringLiteral("/update.bin")), firmware);

    // Unplugged while a firmware goes: the dialog says so and lets a file be chosen again.
    QVERIFY(FuncTool::WriteFile(Dir("big.bin"), QByteArray(400 * 1024, '\x11')));
    firm->SetFirmPath(Dir("big.bin"));
    Click(firm, "btn_down");
    QVERIFY(firm->IsSending());
    QTRY_VERIFY_WITH_TIMEOUT(firm->Progress() > 0, 20000);
    QVERIFY(sim.Stop());
    QTRY_VERIFY_WITH_TIMEOUT(!firm->IsSending(), 20000);
    QVERIFY(w.LogText().contains(QStringLiteral("下发固件失败")));
    QVERIFY(Child<QPushButton>(firm->Form(), "btn_open")->isEnabled());
    QVERIFY(firm->Progress() < 100);
}

// A HID programmer takes the firmware the same way, as "update.bin".
void TestViewers::hidFirmware()
{
    const QString folder = Dir("HID");
    const QString hidDir = Dir("hid");
    QVERIFY(QDir().mkpath(hidDir));
    qputenv("QEL_PROG_DIRS", "");
    CReportPipe::SetSimulationDir(hidDir);
    ProgSim sim({QStringLiteral("--hid"), QStringLiteral("--hid-dir"), hidDir, QStringLiteral("--id"), kId, QStringLiteral("--dir"), folder});
    QVERIFY2(sim.WaitReady(), qPrintable(sim.Output()));
    MainWindow w;
    CServerHost host(&w);
    w.ScanHIDProg();
    QTRY_VERIFY_WITH_TIMEOUT(List(w)->topLevelItemCount() == 1, 30000);
    CUsbConsole *console = w.UsbManager()->Console();
    QTRY_VERIFY_WITH_TIMEOUT(console->Keys().size() == 1 && console->Find(console->Keys().first())->m_bInit, 30000);
    Tick(w);

    QByteArray firmware(3000, '\0');
    for (int i = 0; i < firmware.size(); ++i)
        firmware[i] = char(i % 241);
    QVERIFY(FuncTool::WriteFile(Dir("hid.bin"), firmware));
    w.actionTriggered(w.findChild<QAction *>(QStringLiteral("actionproc")));
    sendfirmdlg *firm = w.Viewers()->FirmDialog();
    firm->SetFirmPath(Dir("hid.bin"));
    Click(firm, "btn_down");
    QTRY_VERIFY_WITH_TIMEOUT(!firm->IsSending(), 30000);
    QVERIFY2(w.LogText().contains(QStringLiteral("下发固件成功")), qPrintable(w.LogText()));
    QVERIFY(sim.Output().contains(QStringLiteral("received update.bin: %1 bytes").arg(firmware.size())));
    QCOMPARE(FuncTool::ReadFile(folder + QStringLiteral("/update.bin")), firmware);
}

void TestViewers::nothingSelected()
{
    qputenv("QEL_PROG_DIRS", "");
    MainWindow w;
    for (const char *button : {"btn_upconfig", "btn_imagemgr"}) {
        m_boxes->shown.clear();
        Click(&w, button);
        QVERIFY(m_boxes->Shown(QStringLiteral("下载器未选择!")));
    }
    for (const char *action : {"actionproc", "actionprogsignal"}) {
        m_boxes->shown.clear();
        w.actionTriggered(w.findChild<QAction *>(QLatin1String(action)));
        QVERIFY(m_boxes->Shown(QStringLiteral("下载器未选择!")));
    }
    QVERIFY(!w.Viewers()->ConfigViewer() && !w.Viewers()->ImageViewer());
    QVERIFY(!w.Viewers()->SignalViewer() && !w.Viewers()->FirmDialog());
    // A downloaded firmware without a programmer is only logged.
    ServerEvents::PostFirmDown(QStringLiteral("/tmp/x.bin"));
    QTRY_VERIFY(w.LogText().contains(QStringLiteral("固件下载成功:/tmp/x.bin")));
    QVERIFY(!w.Viewers()->FirmDialog());
}

QEL_TEST_MAIN(TestViewers)
#include "tst_viewers.moc"
