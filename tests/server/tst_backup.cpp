// Backup and restore of programmer images in the server window, offscreen:
// packages written from simulated programmers (USB disk, VCP and HID), restored
// onto a programmer with another ID, damaged packages refused with nothing
// written, the operation records at the cloud double, and the remembered account.
#include "answeredboxes.h"
#include "backuploaddlg.h"
#include "burnhub.h"
#include "caccountstore.h"
#include "cloudendpoint.h"
#include "cloudsimprocess.h"
#include "cpubactions.h"
#include "creportpipe.h"
#include "crestorerun.h"
#include "cserverhost.h"
#include "cusbconsole.h"
#include "cusbprogmanager.h"
#include "functool.h"
#include "imagecipher.h"
#include "imagefile.h"
#include "imagepackage.h"
#include "mainwindow.h"
#include "progsimprocess.h"
#include "qeltest.h"
#include "serverdefs.h"
#include "testimages.h"

#include <QAction>
#include <QCheckBox>
#include <QDirIterator>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTreeWidget>

namespace {
const QString kIdA = QStringLiteral("3F0027000B51353235383233");
const QString kIdB = QStringLiteral("1A0033000E51353235383233");
const int kWait = 30000;

// Every file below root with its content: what a refused restore must leave alone.
QMap<QString, QByteArray> snapshot(const QString &root)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files.insert(path, FuncTool::ReadFile(path));
    }
    return files;
}
} // namespace

class TestBackup : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void rememberedPasswordRoundTrips();
    void restoreRunSendsIndexFirstAndStopsAtAFailure();
    void diskBackupAndRestoreOntoAnotherProgrammer();
    void usbBackupAndRestoreOntoAnotherProgrammer_data();
    void usbBackupAndRestoreOntoAnotherProgrammer();

private:
    QString Dir(const QString &name) const { return m_dir->path() + QLatin1Char('/') + name; }
    // Three images on a programmer folder: 1 and 3 plain, 2 encrypted for id.
    void PutImages(const QString &root, const QString &id);
    void Login(backuploaddlg *dlg, const QString &user, const QString &password, bool remember);
    void Select(MainWindow &w, const QString &id);
    QTreeWidget *List(MainWindow &w) { return w.findChild<QTreeWidget *>(QStringLiteral("lv_prog")); }
    QProgressDialog *Progress(backuploaddlg *dlg) { return dlg->findChild<QProgressDialog *>(QStringLiteral("progress_restore")); }
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestBackup::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    // Firmware checks of listed programmers go to a closed loopback port.
    CPubActions(false).WriteString(QStringLiteral("UPDATE"), QStringLiteral("URL"), QStringLiteral("http://127.0.0.1:1/qel.json"),
                                   ServerDefs::IniFile());
    CPubActions(true).DeleteGroup(QStringLiteral("ACCOUNT"), ServerDefs::IniFile());
}

void TestBackup::cleanup()
{
    qunsetenv("QEL_PROG_DIRS");
    qunsetenv("QEL_VCP_PORTS");
    BurnHub::Exitance();
    QDir(ServerDefs::WorkDir()).removeRecursively();
    m_dir.reset();
}

void TestBackup::PutImages(const QString &root, const QString &id)
{
    QVERIFY(FuncTool::WriteFile(root + "/procs/one.img", qeltest::MakeProgramImage(4, 1, false, id)));
    QVERIFY(FuncTool::WriteFile(root + "/procs/two.img", qeltest::MakeProgramImage(6, 2, true, id)));
    QVERIFY(FuncTool::WriteFile(root + "/procs/three.img", qeltest::MakeProgramImage(2, 3, false, id)));
    QVERIFY(FuncTool::WriteFile(root + "/config/image.dat", QByteArray("3=three.img\n1=one.img\n2=two.img\n")));
}

void TestBackup::Login(backuploaddlg *dlg, const QString &user, const QString &password, bool remember)
{
    dlg->findChild<QLineEdit *>(QStringLiteral("edit_userName"))->setText(user);
    dlg->findChild<QLineEdit *>(QStringLiteral("edit_password"))->setText(password);
    dlg->findChild<QCheckBox *>(QStringLiteral("check_account"))->setChecked(remember);
    dlg->findChild<QPushButton *>(QStringLiteral("btn_ok"))->click();
}

void TestBackup::Select(MainWindow &w, const QString &id)
{
    for (int i = 0; i < List(w)->topLevelItemCount(); ++i) {
        const MyProger *row = w.Programmers().At(i);
        const bool mine = row->m_strID == id || BurnHub::Instance()->GetUSBProgInfo(row->m_strID).m_strID == id;
        List(w)->topLevelItem(i)->setCheckState(0, mine ? Qt::Checked : Qt::Unchecked);
    }
    QVERIFY(w.GetSelectedProger());
}

void TestBackup::rememberedPasswordRoundTrips()
{
    const QString sixteen = QStringLiteral("abcdefghijklmnop");
    for (const QString &password : {sixteen, QStringLiteral("pw"), QStringLiteral("a b"), QStringLiteral("密码password很长的一段文字"), QString()}) {
        const QString stored = CAccountStore::EncryptPassword(password);
        QVERIFY(!stored.contains(password.isEmpty() ? QStringLiteral("\x01") : password));
        QCOMPARE(CAccountStore::DecryptPassword(stored), password);
    }
    // Exactly 16 bytes take one block, unpadded; shorter ones are padded with blanks to it.
    QCOMPARE(QByteArray::fromBase64(CAccountStore::EncryptPassword(sixteen).toLatin1()).size(), 16);
    QCOMPARE(QByteArray::fromBase64(CAccountStore::EncryptPassword("pw").toLatin1()).size(), 16);
    QCOMPARE(QByteArray::fromBase64(CAccountStore::EncryptPassword(sixteen + "q").toLatin1()).size(), 32);
    QCOMPARE(CAccountStore::DecryptPassword(QStringLiteral("not base64!")), QString());

    CAccountStore store(ServerDefs::IniFile());
    QCOMPARE(store.Load().strUser, QStringLiteral("user"));
    QVERIFY(!store.Load().bRemember);
    QVERIFY(store.Save(QStringLiteral("alice"), sixteen));
    CPubActions ini(true);
    QCOMPARE(ini.GetInt("ACCOUNT", "REMEMBER", 0, ServerDefs::IniFile()), 1);
    QVERIFY(ini.GetString("ACCOUNT", "PASSWORD", QString(), ServerDefs::IniFile()) != sixteen);
    QCOMPARE(store.Load().strPassword, sixteen);
    QCOMPARE(store.Load().strUser, QStringLiteral("alice"));
    // Unticked, the account is no longer offered; ticked again, the new one is.
    QVERIFY(store.Keep(false, QStringLiteral("bob"), QStringLiteral("pw")));
    QVERIFY(!store.Load().bRemember);
    QVERIFY(store.Keep(true, QStringLiteral("bob"), QStringLiteral("pw")));
    QVERIFY(store.Load().bRemember);
    QCOMPARE(store.Load().strUser, QStringLiteral("bob"));
    QCOMPARE(store.Load().strPassword, QStringLiteral("pw"));
}

void TestBackup::restoreRunSendsIndexFirstAndStopsAtAFailure()
{
    CImagePackage package;
    package.m_strUID = kIdA;
    for (const auto &e : {qMakePair(4, QStringLiteral("d.img")), qMakePair(2, QStringLiteral("b.img"))}) {
        CPackageEntry entry;
        entry.m_nIndex = quint32(e.first);
        entry.m_strName = e.second;
        entry.m_bHasFile = true;
        entry.m_baData = qeltest::MakeProgramImage(1, char(e.first), false, kIdA);
        entry.m_nSize = quint32(entry.m_baData.size());
        package.m_entries << entry;
    }
    package.m_nImageCount = 2;
    QString err;

    // A HID/VCP programmer gets the index after each image: the next file waits for it.
    CRestoreRun run;
    QVERIFY2(run.Prepare(package, kIdB, 1, err), qPrintable(err));
    run.SetIndexFollowsImage(true);
    QCOMPARE(run.Total(), 3);
    const CRestoreRun::File index = run.TakeNext();
    QCOMPARE(index.strName, QStringLiteral("image.dat"));
    QCOMPARE(index.baData, QByteArray("2=b.img\n4=d.img\n"));
    QVERIFY(!run.CanSend());
    QCOMPARE(run.Finished("b.img", true), CRestoreRun::Ignored);
    QCOMPARE(run.Finished("image.dat", true), CRestoreRun::Advanced);
    QCOMPARE(run.TakeNext().strName, QStringLiteral("b.img"));
    QCOMPARE(run.Finished("b.img", true), CRestoreRun::Advanced);
    QVERIFY(!run.CanSend());
    QCOMPARE(run.Finished("image.dat", true), CRestoreRun::Ignored);
    QVERIFY(run.CanSend());
    QCOMPARE(run.TakeNext().nIndex, 4);
    QCOMPARE(run.Finished("d.img", true), CRestoreRun::Advanced);
    QVERIFY(!run.IsComplete());
    QCOMPARE(run.Finished("image.dat", true), CRestoreRun::Ignored);
    QVERIFY(run.IsComplete());
    QCOMPARE(run.Done(), 3);

    // A failed transfer ends the run; nothing more goes out.
    QVERIFY(run.Prepare(package, kIdB, 1, err));
    run.TakeNext();
    QCOMPARE(run.Finished("image.dat", false), CRestoreRun::Failed);
    QVERIFY(run.IsFailed() && !run.CanSend() && !run.IsActive());

    // An encrypted image for another programmer than the package names is refused whole.
    package.m_entries[0].m_baData = qeltest::MakeProgramImage(1, 9, true, kIdB);
    package.m_entries[0].m_bEncrypt = true;
    QVERIFY(!run.Prepare(package, kIdB, 1, err));
    QVERIFY2(err.contains("d.img"), qPrintable(err));
    QCOMPARE(run.Total(), 0);
}

void TestBackup::diskBackupAndRestoreOntoAnotherProgrammer()
{
    CloudSim cloud(Dir("cloud"), {"--user", "alice:0123456789abcdef"});
    QVERIFY2(cloud.WaitReady(), qPrintable(cloud.Output()));
    SetCloudEndpoint(cloud.Port());
    ProgSim a(Dir("SIM_A"), kIdA, QStringLiteral("QEL720A"));
    ProgSim b(Dir("SIM_B"), kIdB, QStringLiteral("QEL720A"));
    QVERIFY2(a.WaitReady(), qPrintable(a.Output()));
    QVERIFY2(b.WaitReady(), qPrintable(b.Output()));
    PutImages(Dir("SIM_A"), kIdA);
    qputenv("QEL_PROG_DIRS", (Dir("SIM_A") + ":" + Dir("SIM_B")).toLocal8Bit());
    qeltest::Boxes boxes;
    MainWindow w;
    CServerHost host(&w);
    QCOMPARE(List(w)->topLevelItemCount(), 2);

    // The backup action opens the dialog; nothing works before a login.
    w.actionTriggered(w.findChild<QAction *>(QStringLiteral("actionbackup")));
    backuploaddlg *dlg = w.BackupDialog();
    QVERIFY(dlg->isVisible());
    Select(w, kIdA);
    dlg->BackupProgrammer();
    QVERIFY(boxes.Shown(QStringLiteral("当前网络连接已断开！")));
    Login(dlg, "alice", "wrong", true);
    QTRY_VERIFY_WITH_TIMEOUT(boxes.Shown(QStringLiteral("用户名或密码错误")), kWait);
    QVERIFY(!dlg->IsLoggedIn());
    QCOMPARE(CPubActions(true).GetInt("ACCOUNT", "REMEMBER", 0, ServerDefs::IniFile()), 0);
    Login(dlg, "alice", "0123456789abcdef", true);
    QTRY_VERIFY_WITH_TIMEOUT(dlg->IsLoggedIn(), kWait);
    QCOMPARE(dlg->findChild<QLabel *>(QStringLiteral("statusLabel"))->text(), QStringLiteral("登录验证成功"));
    QCOMPARE(CAccountStore(ServerDefs::IniFile()).Load().strPassword, QStringLiteral("0123456789abcdef"));
    {
        // The next time it opens, the login page holds the remembered account.
        backuploaddlg again(&w);
        again.show();
        QCOMPARE(again.findChild<QLineEdit *>(QStringLiteral("edit_userName"))->text(), QStringLiteral("alice"));
        QCOMPARE(again.findChild<QLineEdit *>(QStringLiteral("edit_password"))->text(), QStringLiteral("0123456789abcdef"));
        QVERIFY(again.findChild<QCheckBox *>(QStringLiteral("check_account"))->isChecked());
    }

    // Backup of A: three images, one encrypted for A.
    dlg->BackupProgrammer();
    QTRY_VERIFY_WITH_TIMEOUT(boxes.Shown(QStringLiteral("下载器镜像已备份完成!")), kWait);
    const QString path = dlg->PackagePath();
    QCOMPARE(QFileInfo(path).absolutePath() + "/", backuploaddlg::BackupDir());
    QVERIFY(QFileInfo(path).fileName().startsWith(kIdA + "-"));
    CImagePackage package;
    QString err;
    QVERIFY(package.ParseXMLFile(path, err));
    QCOMPARE(package.m_entries.size(), 3);
    QCOMPARE(package.m_entries[1].m_strName, QStringLiteral("two.img"));
    QVERIFY(package.m_entries[1].m_bEncrypt && !package.m_entries[0].m_bEncrypt);
    QCOMPARE(package.m_entries[1].m_baData, FuncTool::ReadFile(Dir("SIM_A/procs/two.img")));
    QVERIFY2(cloud.WaitFor(QStringLiteral("upload-record alice backup %1 %2: stored").arg(QFileInfo(path).fileName(), kIdA)),
             qPrintable(cloud.Output()));

    // Damaged or unsafe packages are refused before anything reaches B.
    Select(w, kIdB);
    const QByteArray text = FuncTool::ReadFile(path);
    const QByteArray firstData = text.mid(text.indexOf("data=\"") + 6, 2);
    const QList<QPair<QByteArray, QByteArray>> damages = {
        {"name=\"one.img\"", "name=\"../one.img\""},
        {"data=\"" + firstData, "data=\"z" + firstData.mid(1)},
        {"uid=\"" + kIdA.toLatin1(), "uid=\"" + kIdB.toLatin1()}, // the encrypted image does not open with it
        {QByteArray(), QByteArray()},                                // cut short
    };
    const QMap<QString, QByteArray> before = snapshot(Dir("SIM_B"));
    for (const auto &damage : damages) {
        QByteArray bad = text;
        if (damage.first.isEmpty())
            bad.truncate(bad.size() / 2);
        else
            bad.replace(damage.first, damage.second);
        QVERIFY(bad != text);
        const QString badPath = Dir("bad.pimg");
        QVERIFY(FuncTool::WriteFile(badPath, bad));
        boxes.shown.clear();
        QVERIFY(!dlg->ParseXMLFile(badPath));
        QVERIFY(!boxes.shown.isEmpty());
        QCOMPARE(boxes.shown.last().title, QStringLiteral("错误"));
        QVERIFY(!dlg->Run().IsActive());
    }
    QCoreApplication::processEvents();
    QCOMPARE(snapshot(Dir("SIM_B")), before);
    QVERIFY(!QFile::exists(Dir("SIM_B/one.img")) && !QFile::exists(Dir("one.img")));

    // Restore onto B: the index first, then each image; the encrypted one re-keyed for B.
    boxes.shown.clear();
    QVERIFY(dlg->ParseXMLFile(path));
    QVERIFY(boxes.Shown(QStringLiteral("已读取加载完成, 是否恢复到当前选择的下载器?")));
    QTRY_VERIFY_WITH_TIMEOUT(boxes.Shown(QStringLiteral("镜像包所有镜像已恢复完成！")), kWait);
    QCOMPARE(Progress(dlg)->maximum(), 4);
    QCOMPARE(Progress(dlg)->value(), 4);
    QCOMPARE(Progress(dlg)->windowTitle(), QStringLiteral("正在恢复备份文件，总进度:"));
    QCOMPARE(Progress(dlg)->labelText(), QStringLiteral("镜像文件传输成功, 总进度:"));
    QCOMPARE(FuncTool::ReadFile(Dir("SIM_B/config/image.dat")), QByteArray("1=one.img\n2=two.img\n3=three.img\n"));
    for (const char *line : {"image 1 one.img: accepted", "image 3 three.img: accepted"})
        QVERIFY2(b.WaitFor(QString::fromLatin1(line)), qPrintable(b.Output()));
    QVERIFY2(b.WaitFor(QStringLiteral("image 2 two.img: accepted")), qPrintable(b.Output()));
    QByteArray two = FuncTool::ReadFile(Dir("SIM_B/procs/two.img"));
    QVERIFY(CImageFile::IsEncrypted(two));
    CImageTrailer trailer;
    QByteArray forA = two;
    QVERIFY(!CImageFile::Open(forA, kIdA, trailer, err));
    QVERIFY2(CImageFile::Open(two, kIdB, trailer, err), qPrintable(err));
    QVERIFY(trailer.m_nTime > 1700000000u);
    QCOMPARE(FuncTool::ReadFile(Dir("SIM_B/procs/one.img")), FuncTool::ReadFile(Dir("SIM_A/procs/one.img")));
    QVERIFY2(cloud.WaitFor(QStringLiteral("upload-record alice restore %1 %2: stored").arg(QFileInfo(path).fileName(), kIdB)),
             qPrintable(cloud.Output()));

    // Two images: the bar ends at 3 of 3.
    CImagePackage pair;
    pair.m_strUID = kIdA;
    pair.m_nImageCount = 2;
    pair.m_entries = package.m_entries.mid(0, 2);
    pair.m_entries[0].m_nIndex = 8;
    pair.m_entries[0].m_strName = QStringLiteral("eight.img");
    const QString pairPath = backuploaddlg::BackupDir() + "pair.pimg";
    QVERIFY(pair.SaveFile(pairPath, err));
    boxes.shown.clear();
    QVERIFY(dlg->ParseXMLFile(pairPath));
    QTRY_VERIFY_WITH_TIMEOUT(boxes.Shown(QStringLiteral("镜像包所有镜像已恢复完成！")), kWait);
    QCOMPARE(Progress(dlg)->maximum(), 3);
    QCOMPARE(Progress(dlg)->value(), 3);
    QVERIFY2(b.WaitFor(QStringLiteral("image 8 eight.img: accepted")), qPrintable(b.Output()));

    // The records of this user, newest last.
    QVERIFY(cloud.WaitFor(QStringLiteral("upload-record alice restore pair.pimg")));
    dlg->findChild<QPushButton *>(QStringLiteral("btn_record"))->click();
    auto *table = dlg->findChild<QTableWidget *>(QStringLiteral("tw_record"));
    QTRY_COMPARE_WITH_TIMEOUT(table->rowCount(), 3, kWait);
    QCOMPARE(table->horizontalHeaderItem(1)->text(), QStringLiteral("操作类型"));
    QCOMPARE(table->item(0, 0)->text(), kIdA);
    QCOMPARE(table->item(0, 1)->text(), QStringLiteral("备份"));
    QCOMPARE(table->item(1, 1)->text(), QStringLiteral("恢复"));
    QCOMPARE(table->item(1, 0)->text(), kIdB);
    QCOMPARE(table->item(2, 2)->text(), QStringLiteral("pair.pimg"));
}

void TestBackup::usbBackupAndRestoreOntoAnotherProgrammer_data()
{
    QTest::addColumn<bool>("hid");
    QTest::newRow("virtual COM port") << false;
    QTest::newRow("HID") << true;
}

void TestBackup::usbBackupAndRestoreOntoAnotherProgrammer()
{
    QFETCH(bool, hid);
    CloudSim cloud(Dir("cloud"), {"--user", "bob:pw"});
    QVERIFY2(cloud.WaitReady(), qPrintable(cloud.Output()));
    SetCloudEndpoint(cloud.Port());
    qputenv("QEL_PROG_DIRS", QByteArray());
    // A's images are in its folder before it is plugged in.
    PutImages(Dir("USB_A"), kIdA);
    QVERIFY(FuncTool::WriteFile(Dir("USB_B/config/image.dat"), QByteArray("9=old.img\n")));
    const QString hidDir = Dir("hid");
    QVERIFY(QDir().mkpath(hidDir));
    const auto mode = [&](const QString &name) {
        return hid ? QStringList{"--hid", "--hid-dir", hidDir} : QStringList{"--vcp", "--link", Dir(name)};
    };
    if (hid)
        CReportPipe::SetSimulationDir(hidDir);
    ProgSim a(mode("usbA") + QStringList{"--id", kIdA, "--dir", Dir("USB_A")});
    ProgSim b(mode("usbB") + QStringList{"--id", kIdB, "--dir", Dir("USB_B")});
    QVERIFY2(a.WaitReady(), qPrintable(a.Output()));
    QVERIFY2(b.WaitReady(), qPrintable(b.Output()));
    if (!hid)
        qputenv("QEL_VCP_PORTS", (Dir("usbA") + ":" + Dir("usbB")).toLocal8Bit());
    qeltest::Boxes boxes;
    MainWindow w;
    CServerHost host(&w);
    if (hid)
        w.ScanHIDProg();
    QTRY_COMPARE_WITH_TIMEOUT(List(w)->topLevelItemCount(), 2, kWait);
    CUsbConsole *console = w.UsbManager()->Console();
    for (const QString &key : console->Keys())
        QTRY_VERIFY_WITH_TIMEOUT(console->Find(key)->m_bInit, kWait);

    backuploaddlg *dlg = w.BackupDialog();
    Login(dlg, "bob", "pw", false);
    QTRY_VERIFY_WITH_TIMEOUT(dlg->IsLoggedIn(), kWait);
    QCOMPARE(CPubActions(true).GetInt("ACCOUNT", "REMEMBER", 0, ServerDefs::IniFile()), 0);

    // The images come from the programmer through the console's pulls.
    Select(w, kIdA);
    dlg->BackupProgrammer();
    QTRY_VERIFY2_WITH_TIMEOUT(boxes.Shown(QStringLiteral("下载器镜像已备份完成!")), qPrintable(w.LogText() + a.Output()), kWait);
    CImagePackage package;
    QString err;
    QVERIFY(package.ParseXMLFile(dlg->PackagePath(), err));
    QCOMPARE(package.m_strUID, kIdA);
    QCOMPARE(package.m_entries.size(), 3);
    for (const CPackageEntry &entry : qAsConst(package.m_entries))
        QCOMPARE(entry.m_baData, FuncTool::ReadFile(Dir("USB_A/procs/") + entry.m_strName));

    Select(w, kIdB);
    QVERIFY(dlg->ParseXMLFile(dlg->PackagePath()));
    QTRY_VERIFY_WITH_TIMEOUT(boxes.Shown(QStringLiteral("镜像包所有镜像已恢复完成！")), 60000);
    QCOMPARE(Progress(dlg)->value(), 4);
    for (const char *line : {"image 1 one.img: accepted", "image 2 two.img: accepted", "image 3 three.img: accepted"})
        QVERIFY2(b.WaitFor(QString::fromLatin1(line)), qPrintable(b.Output()));
    QCOMPARE(FuncTool::ReadFile(Dir("USB_B/config/image.dat")), QByteArray("1=one.img\n2=two.img\n3=three.img\n"));
    QByteArray two = FuncTool::ReadFile(Dir("USB_B/procs/two.img"));
    CImageTrailer trailer;
    QVERIFY2(CImageFile::Open(two, kIdB, trailer, err), qPrintable(err));
    QVERIFY2(cloud.WaitFor(QStringLiteral("upload-record bob restore %1 %2: stored").arg(QFileInfo(dlg->PackagePath()).fileName(), kIdB)),
             qPrintable(cloud.Output()));
    CReportPipe::SetSimulationDir(QString());
}

QEL_TEST_MAIN(TestBackup)
#include "tst_backup.moc"
