// The offline image dialog end to end: the cloud service double for logins,
// lists, registrations, deletes and shares, and a real FTP server on loopback
// serving the double's store folder.
#include "answeredboxes.h"
#include "cloudendpoint.h"
#include "cloudsimprocess.h"
#include "ftpserverprocess.h"
#include "qeltest.h"

#include <caccountstore.h>
#include <cofflinecode.h>
#include <cpubactions.h>
#include <cserverhost.h>
#include <cimagesettings.h>
#include <cstoretools.h>
#include <exfactorydlg.h>
#include <functool.h>
#include <mainwindow.h>
#include <repairdlg.h>
#include <remoteserver.h>
#include <serverdefs.h>
#include <uploadercfgdlg.h>
#include <uploaderlogindlg.h>

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTreeWidget>

using qeltest::Boxes;

namespace {

const int kWait = 20000;
const QString kUser = QStringLiteral("alice");
const QString kPassword = QStringLiteral("s3cret");
const QString kFtpUser = QStringLiteral("qelftp");
const QString kFtpPassword = QStringLiteral("ftp-pw");

void SetFtpEndpoint(int port)
{
    CPubActions ini(true);
    const QString file = ServerDefs::IniFile();
    ini.WriteString("FTP", "HOST", "127.0.0.1", file);
    ini.WriteInt("FTP", "PORT", port, file);
    ini.WriteString("FTP", "USER", kFtpUser, file);
    ini.WriteString("FTP", "PASSWORD", kFtpPassword, file);
}

// The double, its FTP server and the window's store entries, wired as the program wires them.
struct Rig
{
    explicit Rig(int rate = 0)
        : sim(state.path(), {QStringLiteral("--user"), kUser + QLatin1Char(':') + kPassword})
    {
        ok = sim.WaitReady();
        ftp = std::make_unique<FtpServerProcess>(state.path(), kFtpUser, kFtpPassword, rate);
        ok = ok && ftp->Port() > 0;
        SetCloudEndpoint(sim.Port());
        SetFtpEndpoint(ftp->Port());
        host.SetCloud(&cloud);
        tools = std::make_unique<CStoreTools>(&window, &cloud, &upload, &factory, &repair);
        tools->SetLogger([this](const QString &line) { log << line; });
        tools->SetImageBuilder([this](COfflineUploader::HomeImage &image) {
            if (nextImage.name.isEmpty())
                return false;
            image = nextImage;
            return true;
        });
        dlg = tools->Uploader();
        dlg->Uploader().SetStallSeconds(5);
        ok = ok && tools->Handle(&upload) && dlg->isVisible();
    }
    QString StoreDir() const { return state.filePath(QStringLiteral("ftp/custom_bin")); }
    bool Logged(const QString &text) const
    {
        for (const QString &line : log)
            if (line.contains(text))
                return true;
        return false;
    }
    // A home image of that many bytes.
    void MakeImage(const QString &name, int bytes, const QString &crc2)
    {
        const QString path = images.filePath(name);
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QByteArray data(bytes, '\0');
        for (int i = 0; i < bytes; ++i)
            data[i] = char(i * 7 + bytes);
        file.write(data);
        nextImage = {path, name, crc2};
    }
    bool Login() { return Login(dlg); }
    static bool Login(uploaderlogindlg *dlg)
    {
        dlg->checkdisclaimer->setChecked(true);
        dlg->edit_userName->setText(kUser);
        dlg->edit_password->setText(kPassword);
        dlg->btn_ok->click();
        return QTest::qWaitFor([&] { return dlg->IsLoggedIn() && dlg->btn_upload->isEnabled(); }, kWait);
    }
    const qelmsg::OiiItem *Listed(const QString &name) const
    {
        for (const qelmsg::OiiItem &item : dlg->Images())
            if (item.name == name)
                return &item;
        return nullptr;
    }
    // True once no step runs and the buttons take clicks again.
    bool Ready()
    {
        return QTest::qWaitFor([&] { return !dlg->Uploader().IsBusy() && dlg->btn_upload->isEnabled(); }, kWait);
    }
    // Upload pressed; true once the dialog is ready again.
    bool Upload()
    {
        dlg->btn_upload->click();
        return Ready();
    }

    QTemporaryDir state;
    QTemporaryDir images;
    CloudSim sim;
    std::unique_ptr<FtpServerProcess> ftp;
    remoteServer cloud;
    CServerHost host{nullptr};
    QWidget window;
    QAction upload{nullptr}, factory{nullptr}, repair{nullptr};
    std::unique_ptr<CStoreTools> tools;
    uploaderlogindlg *dlg = nullptr;
    COfflineUploader::HomeImage nextImage;
    QStringList log;
    bool ok = false;
};

} // namespace

class TestOfflineUpload : public QObject
{
    Q_OBJECT

private slots:
    void loginChecks()
    {
        Rig rig;
        QVERIFY(rig.ok);
        Boxes boxes;
        uploaderlogindlg *dlg = rig.dlg;
        QVERIFY(rig.tools->Handle(&rig.upload));
        QCOMPARE(dlg->stackedWidget->currentIndex(), int(uploaderlogindlg::LoginPage));

        // Disclaimer first, then both fields.
        dlg->edit_userName->setText(kUser);
        dlg->edit_password->setText(kPassword);
        dlg->btn_ok->click();
        QVERIFY(boxes.Shown(QStringLiteral("使用本功能需要接收qel720A上位机软件免责声明")));
        dlg->checkdisclaimer->setChecked(true);
        dlg->edit_password->clear();
        dlg->btn_ok->click();
        QVERIFY(boxes.Shown(QStringLiteral("用户名密码不能为空")));

        // A wrong password: refused, the inputs usable again.
        dlg->edit_password->setText(QStringLiteral("wrong"));
        dlg->btn_ok->click();
        QVERIFY(!dlg->btn_ok->isEnabled());
        QTRY_COMPARE_WITH_TIMEOUT(dlg->statusLabel->text(), QStringLiteral("登陆失败-用户名或密码错误"), kWait);
        QVERIFY(rig.Logged(QStringLiteral("错误, 用户名或密码错误")));
        QVERIFY(dlg->btn_ok->isEnabled());
        QVERIFY(!dlg->IsLoggedIn());

        // The right one: the image page with the (empty) list.
        QVERIFY(rig.Login());
        QVERIFY(boxes.Shown(QStringLiteral("登录成功， 上次登录时间为: ")));
        QCOMPARE(dlg->stackedWidget->currentIndex(), int(uploaderlogindlg::ImagePage));
        QVERIFY(dlg->windowTitle().contains(kUser));
        QCOMPARE(dlg->lv_image->topLevelItemCount(), 0);

        // Buttons that need a selection say so.
        boxes.shown.clear();
        dlg->btn_share->click();
        dlg->btn_clearone->click();
        dlg->btn_info->click();
        QCOMPARE(boxes.shown.size(), 3);
        for (const qeltest::Box &box : boxes.shown)
            QCOMPARE(box.text, QStringLiteral("镜像未选择!"));
    }

    // Kept only when ticked, and shown again when the dialog next opens.
    void rememberedAccount()
    {
        const CAccountStore store(ServerDefs::IniFile());
        QVERIFY(store.Forget());
        Rig rig;
        QVERIFY(rig.ok);
        Boxes boxes;
        uploaderlogindlg *dlg = rig.dlg;
        QVERIFY(!dlg->check_account->isChecked());
        dlg->check_account->setChecked(true);
        QVERIFY(rig.Login());
        CAccountStore::Account account = store.Load();
        QVERIFY(account.bRemember);
        QCOMPARE(account.strUser, kUser);
        QCOMPARE(account.strPassword, kPassword);
        // The file holds the password only encrypted.
        QVERIFY(!QString::fromUtf8(FuncTool::ReadFile(ServerDefs::IniFile())).contains(kPassword));

        dlg->btn_loginout->click();
        dlg->hide();
        dlg->edit_userName->clear();
        dlg->check_account->setChecked(false);
        dlg->show();
        QVERIFY(dlg->check_account->isChecked());
        QCOMPARE(dlg->edit_userName->text(), kUser);
        QCOMPARE(dlg->edit_password->text(), kPassword);

        // Unticked at the next login: forgotten.
        dlg->check_account->setChecked(false);
        dlg->btn_ok->click();
        QTRY_VERIFY_WITH_TIMEOUT(dlg->IsLoggedIn(), kWait);
        QVERIFY(!store.Load().bRemember);
    }

    void accountFileCheck()
    {
        Rig rig;
        QVERIFY(rig.ok);
        Boxes boxes;
        QVERIFY(rig.Login());
        const QString name = COfflineUploader::AccountFileName(kUser);
        const QString remote = QDir(rig.StoreDir()).filePath(name);
        const QString local = QDir(ServerDefs::WorkDir()).filePath(name);
        QFile original(remote);
        QVERIFY(original.open(QIODevice::ReadOnly));
        const QByteArray account = original.readAll();
        original.close();
        rig.MakeImage(QStringLiteral("first.img"), 3000, QStringLiteral("0xAB12"));

        // An account file naming another password: refused, nothing uploaded, no copy kept.
        QJsonObject other = QJsonDocument::fromJson(account).object();
        other[QStringLiteral("passWord")] = QStringLiteral("not-it");
        QVERIFY(QFile::remove(remote));
        QFile changed(remote);
        QVERIFY(changed.open(QIODevice::WriteOnly));
        changed.write(QJsonDocument(other).toJson());
        changed.close();
        QVERIFY(rig.Upload());
        QCOMPARE(rig.dlg->statusLabel->text(), QStringLiteral("登陆失败-用户名或密码错误"));
        QVERIFY(rig.Logged(QStringLiteral("正在核验账号")));
        QVERIFY(!QFile::exists(local));
        QVERIFY(!QFile::exists(QDir(rig.StoreDir()).filePath(QStringLiteral("first.img"))));

        // Not JSON, and no "user": each said, the copy deleted too.
        for (const QByteArray &bad : {QByteArray("{not json"), QByteArray("{\"passWord\": \"s3cret\"}")}) {
            QFile file(remote);
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write(bad);
            file.close();
            QVERIFY(rig.Upload());
            QVERIFY(!QFile::exists(local));
        }
        QVERIFY(rig.Logged(QStringLiteral("错误, ParseError")));
        QVERIFY(rig.Logged(QStringLiteral("错误, No Contains User")));

        // No account file at all.
        QVERIFY(QFile::remove(remote));
        QVERIFY(rig.Upload());
        QVERIFY(boxes.Shown(QStringLiteral("获取服务器信息失败")));
        QVERIFY(!QFile::exists(local));

        // The right one: the upload goes ahead and the copy is gone again.
        QFile restored(remote);
        QVERIFY(restored.open(QIODevice::WriteOnly));
        restored.write(account);
        restored.close();
        QVERIFY(rig.Upload());
        QVERIFY(boxes.Shown(QStringLiteral("镜像文件first.img上传完成！")));
        QVERIFY(!QFile::exists(local));
    }

    void uploadListShareDelete()
    {
        Rig rig;
        QVERIFY(rig.ok);
        Boxes boxes;
        uploaderlogindlg *dlg = rig.dlg;
        QVERIFY(rig.Login());

        // Two uploads, each listed with its size and CRC2.
        rig.MakeImage(QStringLiteral("固件 A.img"), 70000, QStringLiteral("0x1A2B"));
        QVERIFY(rig.Upload());
        rig.MakeImage(QStringLiteral("second.img"), 1234, QStringLiteral("0x3C4D"));
        QVERIFY(rig.Upload());
        QTRY_VERIFY_WITH_TIMEOUT(rig.Listed(QStringLiteral("second.img")), kWait);
        QTRY_COMPARE_WITH_TIMEOUT(dlg->lv_image->topLevelItemCount(), 2, kWait);
        const qelmsg::OiiItem *first = rig.Listed(QStringLiteral("固件 A.img"));
        QVERIFY(first);
        QCOMPARE(first->size, qint64(70000));
        QCOMPARE(first->crc2, QStringLiteral("0x1A2B"));
        QCOMPARE(QFileInfo(QDir(rig.StoreDir()).filePath(first->name)).size(), qint64(70000));
        QVERIFY(dlg->SelectImage(QStringLiteral("固件 A.img")));
        const QTreeWidgetItem *row = dlg->lv_image->currentItem();
        QCOMPARE(row->text(1), QStringLiteral("0x1A2B"));
        QCOMPARE(row->text(3), QStringLiteral("70000"));
        QVERIFY(rig.Logged(QStringLiteral("文件上传成功")));

        // Details: no share yet, so no deadline.
        boxes.shown.clear();
        dlg->btn_info->click();
        QCOMPARE(boxes.shown.size(), 1);
        QCOMPARE(boxes.shown.first().title, QStringLiteral("更多信息"));
        QVERIFY(boxes.shown.first().text.contains(QStringLiteral("截止获取时间:无限制")));

        // Share with no limit: no notice, empty limit text, the code on the clipboard.
        QVERIFY(rig.Ready());
        boxes.shown.clear();
        qeltest::WhenDialog<uploadercfgdlg>([](uploadercfgdlg *cfg) {
            cfg->checkBox_date->setChecked(false);
            cfg->checkBox_count->setChecked(false);
            cfg->accept();
        });
        dlg->btn_share->click();
        QTRY_VERIFY_WITH_TIMEOUT(boxes.Shown(QStringLiteral("已设置到剪贴板")), kWait);
        QVERIFY(!boxes.Shown(QStringLiteral("需要有效设置获取限制")));
        QCOMPARE(boxes.shown.last().text, QStringLiteral("已设置到剪贴板, 粘贴以分发程序镜像给客户端。 "));
        QString user, file;
        QCOMPARE(COfflineCode::Parse(QApplication::clipboard()->text(), user, file), COfflineCode::Ok);
        QCOMPARE(user, kUser);
        QCOMPARE(file, QStringLiteral("固件 A.img"));

        // Share with both limits: the notice, and the limits in the tip and the details.
        QVERIFY(rig.Ready());
        boxes.shown.clear();
        QApplication::clipboard()->clear();
        qeltest::WhenDialog<uploadercfgdlg>([](uploadercfgdlg *cfg) {
            cfg->checkBox_date->setChecked(true);
            cfg->comboBox_date->setCurrentIndex(cfg->comboBox_date->findText(QStringLiteral("30天")));
            cfg->checkBox_count->setChecked(true);
            cfg->edit_count->setText(QStringLiteral("5"));
            cfg->accept();
        });
        const qint64 before = QDateTime::currentSecsSinceEpoch();
        dlg->btn_share->click();
        QTRY_VERIFY_WITH_TIMEOUT(boxes.Shown(QStringLiteral("已设置到剪贴板")), kWait);
        QVERIFY(boxes.Shown(QStringLiteral("需要有效设置获取限制")));
        QVERIFY(boxes.shown.last().text.endsWith(COfflineRecord::LimitText(30, 5)));
        QVERIFY(!QApplication::clipboard()->text().isEmpty());
        QTRY_VERIFY_WITH_TIMEOUT(rig.Listed(QStringLiteral("固件 A.img"))
                                     && rig.Listed(QStringLiteral("固件 A.img"))->max == 5, kWait);
        QVERIFY(rig.Ready());
        const qelmsg::OiiItem shared = *rig.Listed(QStringLiteral("固件 A.img"));
        QVERIFY(shared.deadline >= before + 30 * 86400 && shared.deadline <= before + 30 * 86400 + 120);
        boxes.shown.clear();
        QVERIFY(dlg->SelectImage(shared.name));
        dlg->btn_info->click();
        QCOMPARE(boxes.shown.size(), 1);
        QVERIFY(boxes.shown.first().text.contains(COfflineRecord::TimeText(shared.deadline)));
        QVERIFY(boxes.shown.first().text.contains(QStringLiteral("已经获取/最大获取数:0/5")));

        // Delete one, after the question.
        boxes.shown.clear();
        QVERIFY(rig.Ready());
        QVERIFY(dlg->SelectImage(QStringLiteral("second.img")));
        dlg->btn_clearone->click();
        QVERIFY(boxes.Shown(QStringLiteral("确定清除镜像second.img?")));
        QTRY_VERIFY_WITH_TIMEOUT(rig.Logged(QStringLiteral("删除镜像数据：second.img，成功")), kWait);
        QTRY_COMPARE_WITH_TIMEOUT(dlg->lv_image->topLevelItemCount(), 1, kWait);
        QVERIFY(!QFile::exists(QDir(rig.StoreDir()).filePath(QStringLiteral("second.img"))));
        QVERIFY(rig.Listed(QStringLiteral("固件 A.img")));

        // Delete all: answered "no" nothing goes; "yes" everything.
        QVERIFY(rig.Ready());
        boxes.answer = QMessageBox::No;
        dlg->btn_clearall->click();
        QTest::qWait(300);
        QCOMPARE(dlg->lv_image->topLevelItemCount(), 1);
        boxes.answer = QMessageBox::Yes;
        QVERIFY(rig.Ready());
        dlg->btn_clearall->click();
        QTRY_VERIFY_WITH_TIMEOUT(boxes.Shown(QStringLiteral("删除所有镜像数据成功")), kWait);
        QTRY_COMPARE_WITH_TIMEOUT(dlg->lv_image->topLevelItemCount(), 0, kWait);
        QVERIFY(!QFile::exists(QDir(rig.StoreDir()).filePath(QStringLiteral("固件 A.img"))));

        // Log out: back to the login page.
        dlg->btn_loginout->click();
        QCOMPARE(dlg->stackedWidget->currentIndex(), int(uploaderlogindlg::LoginPage));
        QVERIFY(!dlg->IsLoggedIn());
        QCOMPARE(dlg->statusLabel->text(), QStringLiteral("连接已经关闭"));
    }

    void hundredFilesAtMost()
    {
        Rig rig;
        QVERIFY(rig.ok);
        Boxes boxes;
        QVERIFY(rig.Login());
        // Fill the folder so that the next upload makes exactly 100 entries.
        QDir store(rig.StoreDir());
        const int present = store.entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot).size();
        for (int i = present; i < COfflineRecord::kMaxFiles - 1; ++i) {
            QFile filler(store.filePath(QStringLiteral("filler%1.bin").arg(i)));
            QVERIFY(filler.open(QIODevice::WriteOnly));
        }
        rig.MakeImage(QStringLiteral("hundredth.img"), 500, QStringLiteral("0x0100"));
        QVERIFY(rig.Upload());
        QCOMPARE(store.entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot).size(), COfflineRecord::kMaxFiles);
        QVERIFY(boxes.Shown(QStringLiteral("镜像文件hundredth.img上传完成！")));
        QTRY_VERIFY_WITH_TIMEOUT(rig.Listed(QStringLiteral("hundredth.img")), kWait);

        // One more makes 101: this upload is taken back.
        rig.MakeImage(QStringLiteral("one-too-many.img"), 500, QStringLiteral("0x0101"));
        QVERIFY(rig.Upload());
        QVERIFY(boxes.Shown(QStringLiteral("镜像文件上传失败!:one-too-many.img")));
        QVERIFY(rig.Logged(QStringLiteral("上传文件数量超过限制，请先删除部分镜像")));
        QVERIFY(!QFile::exists(store.filePath(QStringLiteral("one-too-many.img"))));
        QVERIFY(QFile::exists(store.filePath(QStringLiteral("hundredth.img"))));
        QVERIFY(!boxes.Shown(QStringLiteral("镜像文件one-too-many.img上传完成！")));
        QVERIFY(!rig.Listed(QStringLiteral("one-too-many.img")));
    }

    void serverStopsMidTransfer()
    {
        Rig rig(64 * 1024);   // slow enough to stop it halfway
        QVERIFY(rig.ok);
        Boxes boxes;
        uploaderlogindlg *dlg = rig.dlg;
        QVERIFY(rig.Login());
        rig.MakeImage(QStringLiteral("big.img"), 1024 * 1024, QStringLiteral("0xB16B"));
        dlg->btn_upload->click();
        QTRY_VERIFY_WITH_TIMEOUT(!dlg->progressBar->isHidden() && dlg->progressBar->value() > 0, kWait);
        QVERIFY(!dlg->btn_upload->isEnabled());
        const int port = rig.ftp->Port();
        rig.ftp->Kill();
        QTRY_COMPARE_WITH_TIMEOUT(dlg->statusLabel->text(), QStringLiteral("远端数据更新错误"), kWait);
        QVERIFY(rig.Logged(QStringLiteral("远端数据更新错误：")));
        QTRY_VERIFY_WITH_TIMEOUT(dlg->btn_upload->isEnabled(), kWait);
        QVERIFY(!boxes.Shown(QStringLiteral("上传完成")));

        // Nothing was registered; once the server is back, the same dialog uploads.
        QVERIFY(!rig.Listed(QStringLiteral("big.img")));
        QVERIFY(rig.ftp->Start(0, port));
        QVERIFY(rig.Upload());
        QVERIFY(boxes.Shown(QStringLiteral("镜像文件big.img上传完成！")));
        QTRY_VERIFY_WITH_TIMEOUT(rig.Listed(QStringLiteral("big.img")), kWait);
        QCOMPARE(rig.Listed(QStringLiteral("big.img"))->size, qint64(1024 * 1024));
    }

    void windowEntries()
    {
        // The window's entries open their dialogs (once each), no longer "not available".
        qputenv("QEL_PROG_DIRS", QByteArray());
        Boxes boxes;
        MainWindow w;
        for (const char *name : {"actionupload", "actionfTest", "actionrepair"}) {
            QAction *action = w.findChild<QAction *>(QLatin1String(name));
            QVERIFY(action);
            action->trigger();
            action->trigger();
        }
        QCOMPARE(w.findChildren<uploaderlogindlg *>().size(), 1);
        QCOMPARE(w.findChildren<exfactorydlg *>().size(), 1);
        QCOMPARE(w.findChildren<repairdlg *>().size(), 1);
        QVERIFY(w.StoreTools()->Uploader()->isVisible());
        QVERIFY(w.StoreTools()->FactoryTest()->isVisible());
        QVERIFY(w.StoreTools()->Repair()->isVisible());
        QVERIFY(!w.LogText().contains(QStringLiteral("当前版本暂不支持此功能")));
    }

    void homeImageOfTheWindow()
    {
        Rig rig;
        QVERIFY(rig.ok);
        Boxes boxes;
        // The image panel as an engineer left it: one program at the flash start.
        QTemporaryDir fw;
        QFile bin(fw.filePath(QStringLiteral("app.bin")));
        QVERIFY(bin.open(QIODevice::WriteOnly));
        QByteArray program(3000, '\0');
        for (int i = 0; i < program.size(); ++i)
            program[i] = char(i * 13);
        bin.write(program);
        bin.close();
        CImageSettings settings;
        settings.Load();
        settings.strName = QStringLiteral("home.img");
        settings.nIndex = 3;
        settings.Save();
        CImageSettings::SaveBinDesc(3, QStringLiteral("[[\"0x08000000\",\"%1\"]]").arg(bin.fileName()));

        qputenv("QEL_PROG_DIRS", QByteArray());
        MainWindow w;
        CServerHost host(&w);
        w.findChild<QAction *>(QStringLiteral("actionupload"))->trigger();
        uploaderlogindlg *dlg = w.StoreTools()->Uploader();
        QVERIFY(Rig::Login(dlg));
        dlg->btn_upload->click();
        QVERIFY(QTest::qWaitFor([&] { return !dlg->Uploader().IsBusy() && dlg->btn_upload->isEnabled(); }, kWait));
        QVERIFY(boxes.Shown(QStringLiteral("镜像文件home.img上传完成！")));

        // Listed with the size the store holds and the CRC the panel shows.
        QTRY_VERIFY_WITH_TIMEOUT(dlg->SelectImage(QStringLiteral("home.img")), kWait);
        const QString crc = w.findChild<QLineEdit *>(QStringLiteral("edit_imagecrc"))->text();
        QVERIFY(!crc.isEmpty());
        const QFileInfo stored(QDir(rig.StoreDir()).filePath(QStringLiteral("home.img")));
        QVERIFY(stored.size() > program.size());
        const QTreeWidgetItem *row = dlg->lv_image->currentItem();
        QCOMPARE(row->text(1), crc);
        QCOMPARE(row->text(3), QString::number(stored.size()));
    }

    void noServerAtAll()
    {
        Rig rig;
        QVERIFY(rig.ok);
        Boxes boxes;
        QVERIFY(rig.Login());
        rig.ftp->Kill();
        rig.MakeImage(QStringLiteral("x.img"), 100, QStringLiteral("0x0001"));
        QVERIFY(rig.Upload());
        QCOMPARE(rig.dlg->statusLabel->text(), QStringLiteral("连接服务器出现错误"));
        QVERIFY(rig.Logged(QStringLiteral("连接服务器出现错误：Connecting to host failed")));

        // A home image that cannot be built.
        QVERIFY(rig.ftp->Start(0, rig.ftp->Port()));
        rig.nextImage = {};
        QVERIFY(rig.Upload());
        QVERIFY(boxes.Shown(QStringLiteral("处理离线镜像数据失败！")));
    }
};

QEL_TEST_MAIN(TestOfflineUpload)
#include "tst_offlineupload.moc"
