// Offline images fetched by a client station from the cloud double: the code a
// user shares, the login, the fetch with its limits, and the checks of the
// pulled image against the station's programmer.
#include "clienttest.h"
#include "clientdefs.h"
#include "cloudpeer.h"
#include "cloudsimprocess.h"
#include "cofflinefetch.h"
#include "mainwindow.h"
#include "progsimprocess.h"
#include "remoteform.h"
#include "selindexdlg.h"

#include <burnhub.h>
#include <cmainhost.h>
#include <cofflinecode.h>
#include <cpubactions.h>
#include <imagecipher.h>
#include <messages.h>

#include <QAction>
#include <QInputDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <sys/stat.h>

using namespace qelmsg;

namespace {
const QString kDiskId = QStringLiteral("3F0027000B51353235383233");
const QString kOtherId = QStringLiteral("3F0027000B51353235389999");
const QString kOwner = QStringLiteral("alice");

// An image of a small program, encrypted for id when id is given.
QByteArray BuildImage(const QString &work, const QString &id, int programBytes = 3000)
{
    QByteArray program(programBytes, '\0');
    for (int i = 0; i < programBytes; ++i)
        program[i] = char(i * 13 + 5);
    const QString bin = work + QStringLiteral("/program.bin");
    const QString image = work + QStringLiteral("/built.img");
    CImageParams params;
    params.m_bEncrypt = !id.isEmpty();
    params.m_strProgerID = id;
    CImageResult result;
    QString err;
    if (!FuncTool::WriteFile(bin, program)
        || !CImageBuilder(work).SaveImageFile({{0x08000000, bin}}, params, image, result, err))
        return QByteArray();
    QFile file(image);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Uploads, registers and shares an image as the server's offline-image dialog
// does; the share text is the code handed to stations.
QString Share(CloudPeer &peer, const QString &name, const QByteArray &image, int days, int count)
{
    const QJsonObject up =
        peer.Ask(UploadFileReq{name, kOwner, QString::fromLatin1(image.toBase64()), 0, image.size()}.ToJson());
    if (!up.value("ret").toBool())
        return QString();
    if (!peer.Ask(UpdateImageRecordReq{COfflineCode::Make(kOwner, name), name, "C2"}.ToJson()).value("ret").toBool())
        return QString();
    return ShareIMGResp::FromJson(peer.Ask(OfflineIMGShareReq{kOwner, name, days, count}.ToJson())).shareText;
}

QPushButton *Button(remoteform *page, const char *name)
{
    return page->findChild<QPushButton *>(QLatin1String(name));
}
} // namespace

class TestOfflineFetch : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        QVERIFY(QDir().mkpath(m_dir->filePath(QStringLiteral("work"))));
    }
    void cleanup()
    {
        qunsetenv("QEL_PROG_DIRS");
        BurnHub::Exitance();
        m_dir.reset();
    }

    // Codes and pulled files, without a window.
    void codesAndImageChecks()
    {
        QString user;
        QString file;
        QString err;
        QVERIFY(COfflineFetch::Decode(COfflineCode::Make(kOwner, QStringLiteral("a.img")), user, file, err));
        QCOMPARE(user, kOwner);
        QCOMPARE(file, QStringLiteral("a.img"));
        // Base64 of 17 bytes: not whole blocks.
        QVERIFY(!COfflineFetch::Decode(QString::fromLatin1(QByteArray(17, 'x').toBase64()), user, file, err));
        QCOMPARE(err, QStringLiteral("离线镜像码长度出错"));
        QVERIFY(!COfflineFetch::Decode(QStringLiteral("not base64 at all!"), user, file, err));
        QCOMPARE(err, QStringLiteral("离线镜像码长度出错"));
        // Whole blocks under the right key, but no object with both members.
        const QString noFile = QString::fromLatin1(COfflineCode::Seal(R"({"user":"alice"})"));
        QVERIFY(!COfflineFetch::Decode(noFile, user, file, err));
        QCOMPARE(err, QStringLiteral("离线镜像解析出错"));

        const QString work = m_dir->filePath(QStringLiteral("work"));
        const QString path = m_dir->filePath(QStringLiteral("pulled.img"));
        COfflineFetch::Check c = COfflineFetch::CheckImage(path, kDiskId);
        QVERIFY(!c.fetched);
        QCOMPARE(c.err, QStringLiteral("文件不存在或者不可读"));

        QVERIFY(FuncTool::WriteFile(path, BuildImage(work, kOtherId)));
        c = COfflineFetch::CheckImage(path, kDiskId);
        QVERIFY(!c.fetched);
        QCOMPARE(c.err, QStringLiteral("请确认当前下载器是否匹配！此为加密镜像，校验码不匹配！"));
        c = COfflineFetch::CheckImage(path, QStringLiteral("not-an-id"));
        QCOMPARE(c.err, QStringLiteral("下载器ID格式有误,加密镜像必须绑定下载器!"));
        c = COfflineFetch::CheckImage(path, kOtherId);
        QVERIFY(c.fetched && c.parsed);
        QVERIFY(c.trailer.m_bEncrypt);

        // A plain image fits any programmer; a damaged one is fetched but does not read.
        QByteArray plain = BuildImage(work, QString());
        QVERIFY(FuncTool::WriteFile(path, plain));
        c = COfflineFetch::CheckImage(path, kDiskId);
        QVERIFY(c.fetched && c.parsed);
        // Only the regular file itself: not a link to a sound image, not a FIFO (which would block the read).
        const QString link = m_dir->filePath(QStringLiteral("link.img"));
        QVERIFY(QFile::link(path, link));
        c = COfflineFetch::CheckImage(link, kDiskId);
        QVERIFY(!c.fetched);
        QCOMPARE(c.err, QStringLiteral("文件不存在或者不可读"));
        const QString fifo = m_dir->filePath(QStringLiteral("fifo.img"));
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        c = COfflineFetch::CheckImage(fifo, kDiskId);
        QVERIFY(!c.fetched);
        QCOMPARE(c.err, QStringLiteral("文件不存在或者不可读"));
        plain[10] = char(plain[10] ^ 0x55);
        QVERIFY(FuncTool::WriteFile(path, plain));
        c = COfflineFetch::CheckImage(path, kDiskId);
        QVERIFY(c.fetched);
        QVERIFY(!c.parsed);
        QVERIFY(!c.err.isEmpty());
    }

    // The station's whole fetch against the cloud double and a simulated programmer.
    void fetchThroughTheCloud()
    {
        const QString disk = m_dir->filePath(QStringLiteral("disk"));
        ProgSim prog(disk, kDiskId, QStringLiteral("QEL720A"));
        QVERIFY(prog.WaitReady());
        qputenv("QEL_PROG_DIRS", disk.toLocal8Bit());
        CloudSim cloud(m_dir->filePath(QStringLiteral("cloud")),
                       {QStringLiteral("--user"), QStringLiteral("alice:pw"), QStringLiteral("--user"),
                        QStringLiteral("station7:s3cret"), QStringLiteral("--chunk"), QStringLiteral("1000")});
        QVERIFY(cloud.WaitReady());
        CloudPeer owner;
        QVERIFY(owner.Connect(cloud.Port()));
        const QString work = m_dir->filePath(QStringLiteral("work"));
        const QByteArray mine = BuildImage(work, kDiskId);
        QVERIFY(!mine.isEmpty());
        const QString onceCode = Share(owner, QStringLiteral("once.img"), mine, 0, 1);
        const QString otherCode = Share(owner, QStringLiteral("other.img"), BuildImage(work, kOtherId), 0, 0);
        QVERIFY(!onceCode.isEmpty());
        QVERIFY(!otherCode.isEmpty());

        CPubActions ini(true);
        const QString file = ClientDefs::IniFile();
        ini.WriteString(QStringLiteral("CLOUD"), QStringLiteral("HOST"), QStringLiteral("127.0.0.1"), file);
        ini.WriteInt(QStringLiteral("CLOUD"), QStringLiteral("PORT"), cloud.Port(), file);
        ini.WriteString(QStringLiteral("CLOUD"), QStringLiteral("USER"), QStringLiteral("station7"), file);
        ini.WriteString(QStringLiteral("CLOUD"), QStringLiteral("PASSWORD"), QStringLiteral("wrong"), file);

        clienttest::Boxes boxes;
        MainWindow w;
        remoteform *page = w.RemotePage();
        auto *code = page->findChild<QLineEdit *>(QStringLiteral("edit_offline"));
        QVERIFY(!Button(page, "btn_offlineimgget")->isEnabled());

        // Answers nobody asked for (here from a server station) change nothing.
        CMainHost::Instance()->DispatchTcp(R"({"cmd":"loginResp","ret":true})", QStringLiteral("127.0.0.1"), 5000);
        CMainHost::Instance()->DispatchTcp(R"({"cmd":"get-offline-img-resp","ret":true,"imageName":"x.img"})",
                                           QStringLiteral("127.0.0.1"), 5000);
        QCoreApplication::processEvents();
        QVERIFY(!Button(page, "btn_offlineimgget")->isEnabled());
        QVERIFY(!page->LogText().contains(QStringLiteral("登录成功")));
        QVERIFY(!page->LogText().contains(QStringLiteral("请求文件数据失败!")));

        // A refused login.
        Button(page, "btn_offlineimglogin")->click();
        QTRY_VERIFY_WITH_TIMEOUT(boxes.Shown(QStringLiteral("连接登录QEL服务器失败!")), 5000);
        QCOMPARE(boxes.shown.last().title, QStringLiteral("错误"));
        QVERIFY(!Button(page, "btn_offlineimgget")->isEnabled());

        ini.WriteString(QStringLiteral("CLOUD"), QStringLiteral("PASSWORD"), QStringLiteral("s3cret"), file);
        Button(page, "btn_offlineimglogin")->click();
        QTRY_VERIFY_WITH_TIMEOUT(boxes.Shown(QStringLiteral("离线服务器登录成功~")), 5000);
        QVERIFY(page->LogText().contains(QStringLiteral("登录成功")));
        QVERIFY(!Button(page, "btn_offlineimglogin")->isEnabled());
        QVERIFY(Button(page, "btn_offlineimgget")->isEnabled());
        QVERIFY(Button(page, "btn_offlineimgclose")->isEnabled());

        // A code of 17 bytes never reaches the service.
        code->setText(QString::fromLatin1(QByteArray(17, 'q').toBase64()));
        Button(page, "btn_offlineimgget")->click();
        QVERIFY(page->LogText().contains(QStringLiteral("离线镜像码长度出错")));
        QCOMPARE(boxes.shown.last().text, QStringLiteral("解析镜像码失败"));
        QVERIFY(!cloud.Output().contains(QStringLiteral("get-offline-img")));

        // Shared once: fetched whole (in pieces of 1000), checked, ready to download.
        code->setText(onceCode);
        Button(page, "btn_offlineimgget")->click();
        QVERIFY(page->LogText().contains(QStringLiteral("正在获取...")));
        QTRY_VERIFY_WITH_TIMEOUT(page->LogText().contains(QStringLiteral("请点击【下载本地镜像】进行下发")), 10000);
        QVERIFY(page->LogText().contains(QStringLiteral("文件传输完成 :once.img")));
        QVERIFY(page->LogText().contains(QStringLiteral("镜像文件解析完成")));
        const QString pulled = page->findChild<QLineEdit *>(QStringLiteral("edit_image"))->text();
        QCOMPARE(pulled, ClientDefs::WorkDir() + QStringLiteral("once.img"));
        QFile got(pulled);
        QVERIFY(got.open(QIODevice::ReadOnly));
        QCOMPARE(got.readAll(), mine);
        QVERIFY(cloud.Output().count(QStringLiteral("pull once.img offset=")) >= mine.size() / 1000);

        // The second fetch is refused with the service's reason.
        Button(page, "btn_offlineimgget")->click();
        QTRY_VERIFY_WITH_TIMEOUT(page->LogText().contains(QStringLiteral("获取离线镜像失败，原因为：当前镜像已无权限获取")),
                                 5000);

        // An encrypted image for another programmer is not taken.
        code->setText(otherCode);
        Button(page, "btn_offlineimgget")->click();
        QTRY_VERIFY_WITH_TIMEOUT(
            page->LogText().contains(QStringLiteral("请确认当前下载器是否匹配！此为加密镜像，校验码不匹配！")), 10000);
        QVERIFY(!QFileInfo::exists(ClientDefs::WorkDir() + QStringLiteral("other.img")));
        QCOMPARE(page->findChild<QLineEdit *>(QStringLiteral("edit_image"))->text(), pulled);

        // The fetched image goes into the programmer, which accepts it.
        clienttest::WhenDialog<selindexdlg>([](selindexdlg *dlg) {
            dlg->SetIndex(3);
            dlg->accept();
        });
        Button(page, "btn_sendimage")->click();
        QVERIFY(page->LogText().contains(QStringLiteral("下载本地镜像：镜像号=3，镜像名称=once.img 成功")));
        QVERIFY(prog.WaitFor(QStringLiteral("image 3 once.img: accepted")));

        // Closing ends the connection; the buttons return to the login.
        Button(page, "btn_offlineimgclose")->click();
        QVERIFY(page->LogText().contains(QStringLiteral("离线镜像获取连接已关闭")));
        QVERIFY(Button(page, "btn_offlineimglogin")->isEnabled());
        QVERIFY(!Button(page, "btn_offlineimgget")->isEnabled());

        // The main window's action logs in by itself and fetches the code typed in.
        QFile::remove(pulled);
        const QString againCode = Share(owner, QStringLiteral("again.img"), mine, 0, 0);
        clienttest::WhenDialog<QInputDialog>([againCode](QInputDialog *dlg) {
            QCOMPARE(dlg->labelText(), QStringLiteral("请输入镜像获取字符"));
            dlg->setTextValue(againCode);
            dlg->accept();
        });
        w.Action(QStringLiteral("actionofflineimage"))->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(page->LogText().contains(QStringLiteral("文件传输完成 :again.img")), 10000);
        QTRY_COMPARE(page->findChild<QLineEdit *>(QStringLiteral("edit_image"))->text(),
                     ClientDefs::WorkDir() + QStringLiteral("again.img"));

        // The service going away ends the login.
        cloud.Stop();
        QTRY_VERIFY_WITH_TIMEOUT(Button(page, "btn_offlineimglogin")->isEnabled(), 5000);
        ini.WriteString(QStringLiteral("CLOUD"), QStringLiteral("USER"), QString(), file);
        ini.WriteString(QStringLiteral("CLOUD"), QStringLiteral("PASSWORD"), QString(), file);
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

QTEST_MAIN(TestOfflineFetch)
#include "tst_offlinefetch.moc"
