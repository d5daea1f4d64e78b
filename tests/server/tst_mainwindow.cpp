// The server window offscreen, on programmer folders written by the test or
// kept by the programmer simulator.
#include "answeredboxes.h"
#include "bintreewidget.h"
#include "burnhub.h"
#include "cmessagebox.h"
#include "configform.h"
#include "cpubactions.h"
#include "functool.h"
#include "httpdir.h"
#include "backuploaddlg.h"
#include "mainwindow.h"
#include "myfreshcheck.h"
#include "passworddlg.h"
#include "progsimprocess.h"
#include "qeltest.h"
#include "serverdefs.h"
#include "serverevents.h"
#include "traymessagedlg.h"

#include <QAction>
#include <QClipboard>
#include <QMenu>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolTip>
#include <QTreeWidget>

#include <functional>
#include <thread>

namespace {
using qeltest::Box;
using qeltest::Boxes;

void MakeProger(const QString &root, const QString &id, const QString &model, const QString &ver)
{
    QVERIFY(FuncTool::WriteFile(root + QStringLiteral("/sys/qelprogrammer.dat"),
                                QStringLiteral("ID=%1\r\nVER=%2\r\nHW=H1.0\r\nMODEL=%3\r\n").arg(id, ver, model).toUtf8()));
}

int CountOf(const QString &log, const QString &part)
{
    return log.count(part);
}

QTreeWidget *List(MainWindow &w)
{
    return w.findChild<QTreeWidget *>(QStringLiteral("lv_prog"));
}

QAction *Action(MainWindow &w, const char *name)
{
    return w.findChild<QAction *>(QLatin1String(name));
}

// Runs fill on the password dialog once it is up (it runs its own loop).
void WhenPasswordDialog(std::function<void(passworddlg *)> fill)
{
    auto *timer = new QTimer;
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, [timer, fill]() {
        auto *dlg = qobject_cast<passworddlg *>(QApplication::activeModalWidget());
        if (!dlg || !dlg->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        fill(dlg);
    });
    timer->start();
}

// Picks the n-th entry of the context menu once it is open.
void WhenMenu(int n)
{
    auto *timer = new QTimer;
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, [timer, n]() {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (!menu)
            return;
        timer->stop();
        timer->deleteLater();
        for (int i = 0; i < n; ++i)
            QTest::keyClick(menu, Qt::Key_Down);
        QTest::keyClick(menu, Qt::Key_Return);
    });
    timer->start();
}

void TypePassword(passworddlg *dlg, const QString &text)
{
    auto *edit = dlg->findChild<QLineEdit *>(QStringLiteral("edit_pwd"));
    edit->clear();
    QTest::keyClicks(edit, text);
    QTest::mouseClick(dlg->findChild<QPushButton *>(QStringLiteral("btn_ok")), Qt::LeftButton);
}
} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void disscanListsNothing();
    void listedModelsAndFirmwareCheck();
    void firstTickedRowIsSelected();
    void passwordRulesAndDownload();
    void nameFieldBlocksSpecialCharacters();
    void remoteProgrammerGoneEvent();
    void closeAsksFirst();
    void internalTestModeToggles();
    void simulatedProgrammersComeGoAndTakeConfig();
    void imagePanelKeepsItsSettings();
    void storedEnglishIsApplied();
    void rowMenuCopiesAndEjects();
    void menuActions();
    void firmwareUpdateReachesTheWindow();
    void devicesComeAndGoKeepingTicks();

private:
    QString Dir(const QString &name) const { return m_dir->path() + QLatin1Char('/') + name; }
    void UsePrograms(const QStringList &names);
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestMainWindow::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    CPubActions(true).DeleteGroup(QStringLiteral("INI"), ServerDefs::IniFile());
    // Firmware checks of listed programmers go to a closed loopback port, not to a real server.
    CPubActions(false).WriteString(QStringLiteral("UPDATE"), QStringLiteral("URL"), QStringLiteral("http://127.0.0.1:1/qel.json"),
                                   ServerDefs::IniFile());
}

void TestMainWindow::cleanup()
{
    qunsetenv("QEL_PROG_DIRS");
    if (TrayMessageDlg::current())
        TrayMessageDlg::current()->close();
    BurnHub::Exitance();
    m_dir.reset();
}

void TestMainWindow::UsePrograms(const QStringList &names)
{
    QStringList dirs;
    for (const QString &name : names)
        dirs << Dir(name);
    qputenv("QEL_PROG_DIRS", dirs.join(QLatin1Char(':')).toLocal8Bit());
}

void TestMainWindow::disscanListsNothing()
{
    MakeProger(Dir("A"), "3F0027000B51353235383233", "QEL720A", "V2.1.5");
    UsePrograms({"A"});
    CPubActions(true).WriteInt(QStringLiteral("INI"), QStringLiteral("DISSCAN"), 1, ServerDefs::IniFile());
    Boxes boxes;
    MainWindow w;
    QVERIFY(w.IsDiskScanOff());
    QCOMPARE(List(w)->topLevelItemCount(), 0);
    // Scanning was switched off on purpose: start-up does not call that a failure.
    QCOMPARE(CountOf(w.LogText(), "本地下载器刷新失败, 需开启自动扫描磁盘"), 0);
    // An arrival lists again, and is refused with the reason.
    w.UDiskCome(Dir("A"));
    QCOMPARE(List(w)->topLevelItemCount(), 0);
    QCOMPARE(CountOf(w.LogText(), "本地下载器刷新失败, 需开启自动扫描磁盘"), 1);
    QCOMPARE(CountOf(w.LogText(), "本地下载器已刷新"), 0);
}

void TestMainWindow::listedModelsAndFirmwareCheck()
{
    QTemporaryDir site;
    QVERIFY(FuncTool::WriteFile(site.filePath("firm.json"),
                                QByteArray(R"({"updates":{"linux":{"latest-version":"V2.0.1","changelog":"-"}}})")));
    HttpDir http(site.path());
    QVERIFY(http.IsRunning());
    CPubActions(false).WriteString(QStringLiteral("UPDATE"), QStringLiteral("URL"), http.Url(QStringLiteral("firm.json")),
                                   ServerDefs::IniFile());

    MakeProger(Dir("B"), "2B0033000E51353235383233", "QEL720B", "V2.0.1");
    MakeProger(Dir("C"), "1A0033000E51353235383233", "QEL720C", "V2.0.9");
    MakeProger(Dir("D"), "4D0033000E51353235383233", "QEL719A", "V1.0.0");
    UsePrograms({"B", "C", "D"});
    Boxes boxes;
    MainWindow w;
    // Only QEL720A and QEL720C are listed; only QEL720A and QEL720B are checked.
    QCOMPARE(List(w)->topLevelItemCount(), 1);
    QTreeWidgetItem *row = List(w)->topLevelItem(0);
    QCOMPARE(row->text(1), QStringLiteral("1A0033000E51353235383233"));
    QCOMPARE(row->text(3), QStringLiteral("QEL720C"));
    QCOMPARE(row->text(4), QStringLiteral("V2.0.9"));
    QCOMPARE(row->text(5), QStringLiteral("H1.0"));
    QCOMPARE(row->text(0), Dir("C") + QLatin1Char('/'));
    QCOMPARE(row->checkState(0), Qt::Unchecked);
    QCOMPARE(CountOf(w.LogText(), "下载器固件检查更新..."), 1);
    QVERIFY(w.LogText().contains("本地下载器已刷新"));
    // The QEL720B's check reached the update server and was answered in a tip.
    QTRY_VERIFY_WITH_TIMEOUT(TrayMessageDlg::current() && TrayMessageDlg::current()->text().contains("当前已使用最新版本：V2.0.1"),
                             20000);
    QCOMPARE(TrayMessageDlg::current()->title(), QStringLiteral("在线更新"));
    QVERIFY(http.Requests().contains("GET /firm.json"));
}

void TestMainWindow::firstTickedRowIsSelected()
{
    MakeProger(Dir("A1"), "3F0027000B51353235383231", "QEL720A", "V2.1.5");
    MakeProger(Dir("A2"), "3F0027000B51353235383232", "QEL720A", "V2.1.5");
    MakeProger(Dir("A3"), "3F0027000B51353235383233", "QEL720C", "V2.1.5");
    QVERIFY(FuncTool::WriteFile(Dir("A2") + "/config/param.ini", QByteArray("contInterval=3456\r\nvoltage=1\r\n")));
    UsePrograms({"A1", "A2", "A3"});
    Boxes boxes;
    MainWindow w;
    QTreeWidget *list = List(w);
    QCOMPARE(list->topLevelItemCount(), 3);
    QVERIFY(!w.GetSelectedProger());

    // Nothing ticked: every action that needs a programmer says so.
    Action(w, "actionpassword")->trigger();
    Action(w, "actionupdatefirm")->trigger();
    QTest::mouseClick(w.findChild<QPushButton *>(QStringLiteral("btn_downconfig")), Qt::LeftButton);
    QCOMPARE(boxes.shown.size(), 3);
    for (const Box &box : boxes.shown) {
        QCOMPARE(box.title, QStringLiteral("提示"));
        QCOMPARE(box.text, QStringLiteral("下载器未选择!"));
    }

    // Ticked later but higher up wins; the ticked programmer's settings are shown.
    list->topLevelItem(2)->setCheckState(0, Qt::Checked);
    QCOMPARE(w.GetSelectedProger()->m_strID, QStringLiteral("3F0027000B51353235383233"));
    list->topLevelItem(1)->setCheckState(0, Qt::Checked);
    QCOMPARE(w.GetSelectedProger()->m_strID, QStringLiteral("3F0027000B51353235383232"));
    QCOMPARE(w.ConfigForm()->findChild<QLineEdit *>(QStringLiteral("edit_contInterval"))->text(), QStringLiteral("3456"));
    list->topLevelItem(1)->setCheckState(0, Qt::Unchecked);
    QCOMPARE(w.GetSelectedProger()->m_strID, QStringLiteral("3F0027000B51353235383233"));
    // A double click toggles the tick.
    emit list->itemDoubleClicked(list->topLevelItem(0), 0);
    QCOMPARE(list->topLevelItem(0)->checkState(0), Qt::Checked);
    QCOMPARE(w.GetSelectedProger()->m_strID, QStringLiteral("3F0027000B51353235383231"));
    // A programmer without a parameter file leaves the form at its defaults.
    QVERIFY(w.LogText().contains("本地下载器配置读取失败!"));
    QCOMPARE(w.ConfigForm()->findChild<QLineEdit *>(QStringLiteral("edit_contInterval"))->text(), QStringLiteral("2000"));
}

void TestMainWindow::passwordRulesAndDownload()
{
    MakeProger(Dir("A"), "3F0027000B51353235383233", "QEL720A", "V2.1.5");
    UsePrograms({"A"});
    Boxes boxes;
    MainWindow w;
    w.show();
    List(w)->topLevelItem(0)->setCheckState(0, Qt::Checked);

    // Ten digits are refused and the dialog stays; "0" (no password) is taken.
    WhenPasswordDialog([&boxes](passworddlg *dlg) {
        TypePassword(dlg, QStringLiteral("1234567890"));
        QVERIFY(dlg->isVisible());
        QVERIFY(boxes.Shown(QStringLiteral("当前版本只支持1~9位的用户密码设置")));
        TypePassword(dlg, QStringLiteral("0"));
    });
    Action(w, "actionpassword")->trigger();
    QCOMPARE(boxes.shown.size(), 1);
    QCOMPARE(boxes.shown.first().title, QStringLiteral("错误"));
    QCOMPARE(FuncTool::ReadFile(Dir("A") + "/sys/password.dat"), QByteArray("0"));
    QVERIFY(w.LogText().contains("更新密码成功，烧录器重新上电以生效"));
    QVERIFY(!QFile::exists(ServerDefs::WorkDir() + "password.dat"));

    // Nine digits are the most; letters cannot be typed at all.
    WhenPasswordDialog([](passworddlg *dlg) { TypePassword(dlg, QStringLiteral("12ab3456789")); });
    Action(w, "actionpassword")->trigger();
    QCOMPARE(FuncTool::ReadFile(Dir("A") + "/sys/password.dat"), QByteArray("123456789"));

    WhenPasswordDialog([](passworddlg *dlg) { dlg->reject(); });
    Action(w, "actionpassword")->trigger();
    QVERIFY(w.LogText().contains("取消更新密码"));
    QCOMPARE(FuncTool::ReadFile(Dir("A") + "/sys/password.dat"), QByteArray("123456789"));

    // Only disk programmers take a password.
    MyProger remote = MyProger::TcpRemote(QStringLiteral("127.0.0.1"), 6000);
    List(w)->topLevelItem(0)->setCheckState(0, Qt::Unchecked);
    w.AddRemoteProger(remote);
    List(w)->topLevelItem(1)->setCheckState(0, Qt::Checked);
    Action(w, "actionpassword")->trigger();
    QVERIFY(boxes.Shown(QStringLiteral("仅支持本地下载器")));
}

void TestMainWindow::nameFieldBlocksSpecialCharacters()
{
    UsePrograms({});
    Boxes boxes;
    MainWindow w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    auto *name = w.findChild<QLineEdit *>(QStringLiteral("edit_name"));
    name->setFocus();
    QTest::keyClicks(name, QStringLiteral("fw"));
    QVERIFY(QToolTip::text().isEmpty() || !QToolTip::isVisible());
    QTest::keyClicks(name, QStringLiteral("="));
    QCOMPARE(QToolTip::text(), QStringLiteral("特殊字符已被禁止输入"));
    QTest::keyClicks(name, QStringLiteral("_v2.img"));
    QCOMPARE(name->text(), QStringLiteral("fw_v2.img"));
    for (const QChar c : QStringLiteral("\\/:*?\"<>|")) {
        QTest::keyClicks(name, QString(c));
        QCOMPARE(name->text(), QStringLiteral("fw_v2.img"));
    }
    // Chinese names are fine (typed as text, the way an input method delivers it).
    for (const QChar c : QStringLiteral("镜像")) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(name, &press);
    }
    QCOMPARE(name->text(), QStringLiteral("fw_v2.img镜像"));
}

void TestMainWindow::remoteProgrammerGoneEvent()
{
    MakeProger(Dir("A"), "3F0027000B51353235383233", "QEL720A", "V2.1.5");
    UsePrograms({"A"});
    Boxes boxes;
    MainWindow w;
    MyProger tcp = MyProger::TcpRemote(QStringLiteral("192.168.1.7"), 5000);
    tcp.m_strID = QStringLiteral("AA0033000E51353235383233");
    w.AddRemoteProger(tcp);
    w.AddRemoteProger(MyProger::UidRemote(MyProger::ViaMqtt, QStringLiteral("BB0033000E51353235383233")));
    QCOMPARE(List(w)->topLevelItemCount(), 3);
    QCOMPARE(List(w)->topLevelItem(1)->text(0), QStringLiteral("192.168.1.7:5000"));
    QCOMPARE(List(w)->topLevelItem(2)->text(0), QStringLiteral("BB0033000E51353235383233"));
    // The same route again updates its row.
    tcp.m_strVer = QStringLiteral("V3.0.0");
    w.AddRemoteProger(tcp);
    QCOMPARE(List(w)->topLevelItemCount(), 3);
    QCOMPARE(List(w)->topLevelItem(1)->text(4), QStringLiteral("V3.0.0"));
    List(w)->topLevelItem(1)->setCheckState(0, Qt::Checked);

    ServerEvents::PostProgerGone(MyProger::TcpRemote(QStringLiteral("192.168.1.7"), 5000));
    QTRY_COMPARE(List(w)->topLevelItemCount(), 2);
    QVERIFY(w.LogText().contains("断开远程下载器 192.168.1.7:5000"));
    QCOMPARE(List(w)->topLevelItem(1)->text(0), QStringLiteral("BB0033000E51353235383233"));
    QVERIFY(!w.GetSelectedProger());
    // Local rows are not touched by a remote removal, nor by a refresh.
    w.RefreshLocalProg();
    QCOMPARE(List(w)->topLevelItemCount(), 2);

    // Log lines from other threads arrive as events 2000.
    std::thread([]() { ServerEvents::PostLog(QStringLiteral("from a link thread")); }).join();
    QTRY_VERIFY(w.LogText().contains("from a link thread"));
}

void TestMainWindow::closeAsksFirst()
{
    UsePrograms({});
    Boxes boxes;
    MainWindow w;
    w.show();
    boxes.answer = QMessageBox::No;
    QVERIFY(!w.close());
    QVERIFY(w.isVisible());
    QCOMPARE(boxes.shown.size(), 1);
    QCOMPARE(boxes.shown.first().title, QStringLiteral("提示"));
    QCOMPARE(boxes.shown.first().text, QStringLiteral("确认退出程序?"));
    boxes.answer = QMessageBox::Yes;
    Action(w, "actionexit")->trigger();
    QVERIFY(!w.isVisible());
    QCOMPARE(boxes.shown.size(), 2);
}

void TestMainWindow::internalTestModeToggles()
{
    MakeProger(Dir("A"), "3F0027000B51353235383233", "QEL720A", "V2.1.5");
    UsePrograms({"A"});
    Boxes boxes;
    MainWindow w;
    const auto type = [&w](const QList<int> &keys) {
        for (int key : keys)
            QTest::keyClick(&w, Qt::Key(key));
    };
    const QList<int> sequence{Qt::Key_Q, Qt::Key_E, Qt::Key_L, Qt::Key_7, Qt::Key_2, Qt::Key_0, Qt::Key_A, Qt::Key_T};
    type({Qt::Key_Q, Qt::Key_E, Qt::Key_L, Qt::Key_7, Qt::Key_2, Qt::Key_0, Qt::Key_A}); // one short
    QVERIFY(!w.IsInternalTestMode());
    type({Qt::Key_X});
    type(sequence);
    QVERIFY(w.IsInternalTestMode());
    QVERIFY(w.LogText().contains("内部测试模式已开启"));

    // In the mode, programmers that come are not checked for firmware.
    const int checks = CountOf(w.LogText(), "下载器固件检查更新...");
    w.UDiskCome(Dir("A"));
    QCOMPARE(CountOf(w.LogText(), "下载器固件检查更新..."), checks);
    QCOMPARE(List(w)->topLevelItemCount(), 1);

    type(sequence);
    QVERIFY(!w.IsInternalTestMode());
    QVERIFY(w.LogText().contains("内部测试模式已关闭"));
}

void TestMainWindow::simulatedProgrammersComeGoAndTakeConfig()
{
    ProgSim a(Dir("SIM_A"), "3F0027000B51353235383233", "QEL720A");
    ProgSim c(Dir("SIM_C"), "1A0033000E51353235383233", "QEL720C", "V2.0.9");
    QVERIFY2(a.WaitReady(), qPrintable(a.Output()));
    QVERIFY2(c.WaitReady(), qPrintable(c.Output()));
    UsePrograms({"SIM_A", "SIM_C", "SIM_LATER"});
    Boxes boxes;
    MainWindow w;
    QCOMPARE(List(w)->topLevelItemCount(), 2);

    // A programmer plugged in while the server runs is found by the device watch.
    ProgSim later(Dir("SIM_LATER"), "5E0033000E51353235383233", "QEL720A");
    QVERIFY(later.WaitReady());
    QTRY_COMPARE_WITH_TIMEOUT(List(w)->topLevelItemCount(), 3, 20000);
    QVERIFY(w.LogText().contains("检测到设备接入 "));

    // Sending the configuration: the simulator reloads it and takes the command away.
    List(w)->topLevelItem(1)->setCheckState(0, Qt::Checked);
    auto *interval = w.ConfigForm()->findChild<QLineEdit *>(QStringLiteral("edit_contInterval"));
    QCOMPARE(interval->text(), QStringLiteral("2000"));
    interval->setText(QStringLiteral("1500"));
    QTest::mouseClick(w.findChild<QPushButton *>(QStringLiteral("btn_downconfig")), Qt::LeftButton);
    QVERIFY(boxes.Shown(QStringLiteral("下发镜像将修改下载器的参数配置，是否继续?")));
    QVERIFY(boxes.Shown(QStringLiteral("本地配置下载成功")));
    QVERIFY2(c.WaitFor(QStringLiteral("reloaded param.ini: contInterval=1500")), qPrintable(c.Output()));
    QTRY_VERIFY(!QFile::exists(Dir("SIM_C") + "/cmd/param_refresh.cmd"));

    // Unplugged: its row goes.
    later.Stop();
    QTRY_COMPARE_WITH_TIMEOUT(List(w)->topLevelItemCount(), 2, 20000);
    QVERIFY(w.LogText().contains("检测到设备退出"));
}

void TestMainWindow::imagePanelKeepsItsSettings()
{
    MakeProger(Dir("A"), "3F0027000B51353235383233", "QEL720A", "V2.1.5");
    UsePrograms({"A"});
    QVERIFY(FuncTool::WriteFile(Dir("app.bin"), QByteArray(100, 'a')));
    QVERIFY(FuncTool::WriteFile(Dir("data.bin"), QByteArray(100, 'd')));
    CPubActions ini(true);
    ini.WriteInt(QStringLiteral("IMAGE"), QStringLiteral("INDEX"), 51, ServerDefs::IniFile());
    ini.WriteString(QStringLiteral("IMAGE"), QStringLiteral("NAME"), QStringLiteral("app.img"), ServerDefs::IniFile());
    ini.WriteInt(QStringLiteral("IMAGE"), QStringLiteral("CHIP"), 4, ServerDefs::IniFile());
    ini.WriteString(QStringLiteral("BIN"), QStringLiteral("51"), QString::fromLatin1(R"([["0x08000000","/x/app.bin"]])"),
                    ServerDefs::IniFile());
    Boxes boxes;
    {
        MainWindow w;
        auto *index = w.findChild<QComboBox *>(QStringLiteral("combo_index"));
        QCOMPARE(index->currentText(), QStringLiteral("51"));
        QCOMPARE(index->count(), 201); // 200 numbers and the separator after 49
        QCOMPARE(index->itemText(50), QString());
        QCOMPARE(w.findChild<QComboBox *>(QStringLiteral("combo_chip"))->currentText(), QStringLiteral("QM-05"));
        QCOMPARE(w.findChild<QComboBox *>(QStringLiteral("combo_chip"))->count(), 9);
        QCOMPARE(w.findChild<QLineEdit *>(QStringLiteral("edit_name"))->text(), QStringLiteral("app.img"));
        QCOMPARE(w.findChild<QLineEdit *>(QStringLiteral("edit_count"))->placeholderText(), QStringLiteral("0表示不限制次数"));
        auto *tree = w.findChild<BinTreeWidget *>(QStringLiteral("treeBin"));
        QCOMPARE(tree->GetBinInfos().size(), 1);
        QCOMPARE(tree->GetBinInfos().first().m_strPath, QStringLiteral("/x/app.bin"));

        // A built image stores the panel.
        index->setCurrentIndex(index->findData(7));
        w.findChild<QLineEdit *>(QStringLiteral("edit_name"))->setText(QStringLiteral("boot.img"));
        tree->SetBinInfos({{QStringLiteral("0x08000000"), Dir("app.bin")}, {QStringLiteral("0x08004000"), Dir("data.bin")}});
        List(w)->topLevelItem(0)->setCheckState(0, Qt::Checked);
        QTest::mouseClick(w.findChild<QPushButton *>(QStringLiteral("btn_downimage")), Qt::LeftButton);
        QVERIFY(w.LogText().contains("镜像文件处理完成!"));
    }
    QCOMPARE(ini.GetInt(QStringLiteral("IMAGE"), QStringLiteral("INDEX"), -1, ServerDefs::IniFile()), 7);
    QCOMPARE(ini.GetString(QStringLiteral("IMAGE"), QStringLiteral("NAME"), QString(), ServerDefs::IniFile()),
             QStringLiteral("boot.img"));
    QCOMPARE(BinTreeWidget::FromDesc(ini.GetString(QStringLiteral("BIN"), QStringLiteral("7"), QString(), ServerDefs::IniFile())).size(),
             2);
    // Loading the description of another number brings back its programs.
    MainWindow w;
    auto *index = w.findChild<QComboBox *>(QStringLiteral("combo_index"));
    index->setCurrentIndex(index->findData(51));
    QTest::mouseClick(w.findChild<QPushButton *>(QStringLiteral("btn_load")), Qt::LeftButton);
    QCOMPARE(w.findChild<BinTreeWidget *>(QStringLiteral("treeBin"))->GetBinInfos().size(), 1);
}

void TestMainWindow::storedEnglishIsApplied()
{
    UsePrograms({});
    CPubActions(false).WriteInt(QStringLiteral("UI"), QStringLiteral("LANGUAGE"), 1, ServerDefs::IniFile());
    Boxes boxes;
    {
        MainWindow w;
        QTRY_COMPARE(w.windowTitle(), QStringLiteral("QEL Programmer Server v1.3.8.beta"));
        QCOMPARE(List(w)->headerItem()->text(0), QStringLiteral("Location"));
        QCOMPARE(Action(w, "actionserver")->text(), QStringLiteral("Start remote service"));
        QTRY_COMPARE(w.findChild<BinTreeWidget *>(QStringLiteral("treeBin"))->headerItem()->text(1), QStringLiteral("File path"));
        QVERIFY(w.close());
        QCOMPARE(boxes.shown.last().text, QStringLiteral("Really exit the program?"));
    }
    CPubActions(false).WriteInt(QStringLiteral("UI"), QStringLiteral("LANGUAGE"), 0, ServerDefs::IniFile());
    MainWindow chinese;
    QTRY_COMPARE(chinese.windowTitle(), QStringLiteral("QEL下载器服务端 v1.3.8.beta"));
    QCOMPARE(List(chinese)->headerItem()->text(0), QStringLiteral("位置"));
}

void TestMainWindow::rowMenuCopiesAndEjects()
{
    MakeProger(Dir("A"), "3F0027000B51353235383233", "QEL720A", "V2.1.5");
    UsePrograms({"A"});
    Boxes boxes;
    MainWindow w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QTreeWidget *list = List(w);
    const QPoint row = list->visualItemRect(list->topLevelItem(0)).center();

    WhenMenu(1);
    w.tree_mouseEvent(row);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("3F0027000B51353235383233"));
    QVERIFY(w.LogText().contains("序列号已复制至剪切板！"));

    // A programmer folder is no mounted disk: the eject fails and says why.
    WhenMenu(2);
    w.tree_mouseEvent(row);
    QVERIFY(boxes.Shown(QStringLiteral("即将弹出本地下载器 %1 (3F0027000B51353235383233)").arg(Dir("A") + "/")));
    QVERIFY(boxes.Shown(QStringLiteral("弹出设备失败")));
    QVERIFY(w.LogText().contains("本地下载器弹出失败: "));
    QCOMPARE(list->topLevelItemCount(), 1);

    // Remote rows cannot be ejected; below the rows there is no menu.
    w.AddRemoteProger(MyProger::TcpRemote(QStringLiteral("127.0.0.1"), 9000));
    const int before = boxes.shown.size();
    WhenMenu(2);
    w.tree_mouseEvent(list->visualItemRect(list->topLevelItem(1)).center());
    QCOMPARE(boxes.shown.size(), before);
    w.tree_mouseEvent(QPoint(5, list->viewport()->height() - 2));
    QVERIFY(!QApplication::activePopupWidget());
}

void TestMainWindow::menuActions()
{
    UsePrograms({});
    Boxes boxes;
    MainWindow w;
    Action(w, "actionabout")->trigger();
    QCOMPARE(boxes.shown.last().title, QStringLiteral("关于"));
    QCOMPARE(boxes.shown.last().text, QStringLiteral("QEL下载器服务端 v1.3.8.beta"));
    QCOMPARE(w.windowTitle(), QStringLiteral("QEL下载器服务端 v1.3.8.beta"));
    QCOMPARE(Action(w, "actionserver")->text(), QStringLiteral("开启远程服务"));

    // Saving the log writes it to the working folder under the time's name.
    ServerEvents::PostLog(QStringLiteral("a line to keep"));
    QTRY_VERIFY(w.LogText().contains("a line to keep"));
    Action(w, "actionsavelog")->trigger();
    const QStringList saved = QDir(ServerDefs::WorkDir()).entryList({QStringLiteral("*_log.txt")}, QDir::Files);
    QCOMPARE(saved.size(), 1);
    QVERIFY(w.LogText().contains(QStringLiteral("保存日志完成: ") + ServerDefs::WorkDir() + saved.first()));
    QVERIFY(QRegularExpression(QStringLiteral("^\\d{2}-\\d{2}-\\d{2}-\\d{2}\\.\\d{2}\\.\\d{2}_log\\.txt$")).match(saved.first()).hasMatch());
    QVERIFY(QString::fromUtf8(FuncTool::ReadFile(ServerDefs::WorkDir() + saved.first())).contains("a line to keep"));
    QFile::remove(ServerDefs::WorkDir() + saved.first());

    Action(w, "actionclear")->trigger();
    QVERIFY(w.LogText().isEmpty());
    // The backup action opens its dialog, the same one each time.
    Action(w, "actionbackup")->trigger();
    QVERIFY(w.BackupDialog()->isVisible());
    QCOMPARE(w.BackupDialog()->windowTitle(), QStringLiteral("备份/恢复下载器镜像"));
    // Record sync needs a programmer.
    Action(w, "actionrecordsync")->trigger();
    QCOMPARE(boxes.shown.last().text, QStringLiteral("下载器未选择!"));
}

void TestMainWindow::firmwareUpdateReachesTheWindow()
{
    QTemporaryDir site;
    QVERIFY(FuncTool::WriteFile(site.filePath("firm.json"),
                                QByteArray(R"({"updates":{"linux":{"latest-version":"V9.0.0","changelog":"new <a href='http://x'>chips</a>"}}})")));
    HttpDir http(site.path());
    QVERIFY(http.IsRunning());
    CPubActions(false).WriteString(QStringLiteral("UPDATE"), QStringLiteral("URL"), http.Url(QStringLiteral("firm.json")),
                                   ServerDefs::IniFile());
    // The updater's side: one verdict line naming the downloaded firmware.
    const QString updater = site.filePath("qelupdate");
    QVERIFY(FuncTool::WriteFile(updater, QByteArray("#!/bin/sh\necho 'success$/tmp/update_v9.bin'\n")));
    QFile::setPermissions(updater, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    MakeProger(Dir("A"), "3F0027000B51353235383233", "QEL720C", "V2.1.5");
    UsePrograms({"A"});
    Boxes boxes;
    MainWindow w;
    w.FreshCheck()->SetUpdaterProgram(updater);
    List(w)->topLevelItem(0)->setCheckState(0, Qt::Checked);
    Action(w, "actionupdatefirm")->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(w.LogText().contains("固件下载成功:/tmp/update_v9.bin"), 20000);
    QVERIFY(TrayMessageDlg::current());
    QVERIFY2(TrayMessageDlg::current()->text().contains("固件更新成功[V9.0.0]"), qPrintable(TrayMessageDlg::current()->text()));
    // What the server sent is shown as text, never as a link.
    QVERIFY(TrayMessageDlg::current()->text().contains("new &lt;a href="));
}

void TestMainWindow::devicesComeAndGoKeepingTicks()
{
    MakeProger(Dir("A"), "3F0027000B51353235383231", "QEL720A", "V2.1.5");
    MakeProger(Dir("B"), "3F0027000B51353235383232", "QEL720A", "V2.1.5");
    QVERIFY(FuncTool::WriteFile(Dir("B") + "/config/param.ini", QByteArray("contInterval=3456\r\n")));
    UsePrograms({"A", "B", "C"});
    Boxes boxes;
    MainWindow w;
    QTreeWidget *list = List(w);
    auto *group = w.findChild<QGroupBox *>(QStringLiteral("group_config"));
    auto interval = [&w]() { return w.ConfigForm()->findChild<QLineEdit *>(QStringLiteral("edit_contInterval")); };
    QCOMPARE(group->title(), QStringLiteral("下载器配置"));
    QVERIFY(w.LogText().contains(QStringLiteral("下载器已接入: 3F0027000B51353235383231 (%1/)").arg(Dir("A"))));
    QCOMPARE(CountOf(w.LogText(), "下载器固件检查更新..."), 2);

    // The panel names the programmer it shows.
    list->topLevelItem(1)->setCheckState(0, Qt::Checked);
    QCOMPARE(group->title(), QStringLiteral("下载器配置 - 3F0027000B51353235383232 (%1/)").arg(Dir("B")));
    QCOMPARE(interval()->text(), QStringLiteral("3456"));

    // Another arrives: the tick stays, the log names it, no second firmware tip for the others.
    MakeProger(Dir("C"), "3F0027000B51353235383233", "QEL720C", "V2.0.9");
    w.UDiskCome(Dir("C"));
    QCOMPARE(list->topLevelItemCount(), 3);
    QCOMPARE(list->topLevelItem(1)->checkState(0), Qt::Checked);
    QCOMPARE(w.GetSelectedProger()->m_strID, QStringLiteral("3F0027000B51353235383232"));
    QVERIFY(w.LogText().contains(QStringLiteral("下载器已接入: 3F0027000B51353235383233 (%1/)").arg(Dir("C"))));
    QCOMPARE(CountOf(w.LogText(), "下载器已接入: "), 3);
    QCOMPARE(CountOf(w.LogText(), "下载器固件检查更新..."), 2);

    // A leaves: B stays ticked; then B leaves and the panel shows no one's values.
    QVERIFY(QFile::remove(Dir("A") + "/sys/qelprogrammer.dat"));
    w.UDiskRemove(Dir("A"));
    QVERIFY(w.LogText().contains(QStringLiteral("下载器已移除: 3F0027000B51353235383231 (%1/)").arg(Dir("A"))));
    QCOMPARE(list->topLevelItemCount(), 2);
    QCOMPARE(w.GetSelectedProger()->m_strID, QStringLiteral("3F0027000B51353235383232"));
    QVERIFY(QFile::remove(Dir("B") + "/sys/qelprogrammer.dat"));
    w.UDiskRemove(Dir("B"));
    QVERIFY(!w.GetSelectedProger());
    QCOMPARE(group->title(), QStringLiteral("下载器配置"));
    QCOMPARE(interval()->text(), QStringLiteral("2000"));

    // Back again with the same firmware: no new tip; unticking clears the panel too.
    MakeProger(Dir("A"), "3F0027000B51353235383231", "QEL720A", "V2.1.5");
    w.UDiskCome(Dir("A"));
    QCOMPARE(CountOf(w.LogText(), "下载器固件检查更新..."), 2);
    QTreeWidgetItem *a = list->findItems(Dir("A") + "/", Qt::MatchExactly).value(0);
    QVERIFY(a);
    a->setCheckState(0, Qt::Checked);
    QVERIFY(group->title().contains(QStringLiteral("3F0027000B51353235383231")));
    a->setCheckState(0, Qt::Unchecked);
    QCOMPARE(group->title(), QStringLiteral("下载器配置"));

    // Sending the configuration or a password says to which programmer.
    a->setCheckState(0, Qt::Checked);
    QTest::mouseClick(w.findChild<QPushButton *>(QStringLiteral("btn_downconfig")), Qt::LeftButton);
    QVERIFY2(w.LogText().contains(QStringLiteral("本地配置下载成功: 3F0027000B51353235383231 (%1/)").arg(Dir("A"))),
             qPrintable(w.LogText()));
    WhenPasswordDialog([](passworddlg *dlg) { TypePassword(dlg, QStringLiteral("42")); });
    w.show();
    Action(w, "actionpassword")->trigger();
    QVERIFY(w.LogText().contains(QStringLiteral("更新密码成功，烧录器重新上电以生效: 3F0027000B51353235383231 (%1/)").arg(Dir("A"))));
}

QEL_TEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
