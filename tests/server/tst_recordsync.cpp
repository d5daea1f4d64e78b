// Programmer record sync: a disk programmer's record file reaches the cloud
// double whole, in chunks, and is then taken off the programmer.
#include "answeredboxes.h"
#include "burnhub.h"
#include "cloudendpoint.h"
#include "cloudsimprocess.h"
#include "cremoterecordsync.h"
#include "cserverhost.h"
#include "functool.h"
#include "mainwindow.h"
#include "remoteserver.h"

#include <progerinfo.h>

#include <QAction>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

namespace {
const QString kID = QStringLiteral("3F0027000B51353235383233");

QByteArray Record(int size)
{
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i)
        bytes[i] = char((i * 31 + i / 251) & 0xFF);
    return bytes;
}

void MakeProger(const QString &root, const QString &id)
{
    QVERIFY(FuncTool::WriteFile(root + QStringLiteral("/sys/qelprogrammer.dat"),
                                QStringLiteral("ID=%1\r\nVER=V2.1.5\r\nHW=H1.0\r\nMODEL=QEL720A\r\n").arg(id).toUtf8()));
}

QByteArray ReadAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
} // namespace

class TestRecordSync : public QObject
{
    Q_OBJECT
private slots:
    void cleanup()
    {
        qunsetenv("QEL_PROG_DIRS");
        BurnHub::Exitance();
    }

    // What is refused before anything is sent.
    void refusals()
    {
        QTemporaryDir dir;
        remoteServer cloud;
        QStringList log;
        CRemoteRecordSync sync(&cloud, [&log](const QString &text) { log << text; });
        QString warning;
        QVERIFY(!sync.Start(nullptr, warning));
        QCOMPARE(warning, QStringLiteral("下载器未选择!"));

        ProgerInfo hid;
        hid.MarkHIDProger(kID);
        QVERIFY(!sync.Start(&hid, warning));
        QCOMPARE(warning, QStringLiteral("记录文件数据量一般较大，暂不支持当前USB通信模式进行同步!"));
        ProgerInfo vcp;
        vcp.MarkVCPProger(kID, QStringLiteral("/dev/ttyACM0"));
        QVERIFY(!sync.Start(&vcp, warning));
        QCOMPARE(warning, QStringLiteral("记录文件数据量一般较大，暂不支持当前USB通信模式进行同步!"));

        // A station's programmer: a local folder of the same path is not its record.
        const QString root = dir.filePath(QStringLiteral("P")) + QLatin1Char('/');
        MakeProger(root, kID);
        QVERIFY(FuncTool::WriteFile(root + QStringLiteral("config/record_mcu.dat"), Record(100)));
        ProgerInfo remote(root, kID, QStringLiteral("QEL720A"), QStringLiteral("V2.1.5"));
        remote.MarkAsTCPRemote(QStringLiteral("127.0.0.1"), 5000);
        QVERIFY(!sync.Start(&remote, warning));
        QVERIFY(QFileInfo::exists(root + QStringLiteral("config/record_mcu.dat")));

        // A record that is a link out of the programmer's folder is not sent, nor is what it names removed.
        const QString linkedRoot = dir.filePath(QStringLiteral("L")) + QLatin1Char('/');
        MakeProger(linkedRoot, kID);
        const QString secret = dir.filePath(QStringLiteral("secret.txt"));
        QVERIFY(FuncTool::WriteFile(secret, QByteArray("not the programmer's")));
        QVERIFY(QDir().mkpath(linkedRoot + QStringLiteral("config")));
        QVERIFY(QFile::link(secret, linkedRoot + QStringLiteral("config/record_mcu.dat")));
        const ProgerInfo linked(linkedRoot, kID, QStringLiteral("QEL720A"), QStringLiteral("V2.1.5"));
        QVERIFY(!sync.Start(&linked, warning));
        QCOMPARE(warning, QStringLiteral("当前烧录器无记录数据！"));
        QVERIFY(QFileInfo::exists(secret));

        const ProgerInfo empty(dir.filePath(QStringLiteral("Q")) + QLatin1Char('/'), kID, QStringLiteral("QEL720A"),
                               QStringLiteral("V2.1.5"));
        QVERIFY(!sync.Start(&empty, warning));
        QCOMPARE(warning, QStringLiteral("当前烧录器无记录数据！"));
        QVERIFY(log.isEmpty());
    }

    // From the window's action to the cloud double and back: 70,000 bytes in
    // three chunks, then the record is released; an empty record takes one request.
    void recordReachesTheCloudAndIsReleased()
    {
        QTemporaryDir dir;
        const QString state = dir.filePath(QStringLiteral("cloud"));
        CloudSim sim(state);
        QVERIFY(sim.WaitReady());
        SetCloudEndpoint(sim.Port());
        const QString root = dir.filePath(QStringLiteral("P"));
        MakeProger(root, kID);
        const QString record = root + QStringLiteral("/config/record_mcu.dat");
        const QByteArray bytes = Record(70000);
        QVERIFY(FuncTool::WriteFile(record, bytes));
        qputenv("QEL_PROG_DIRS", root.toLocal8Bit());

        qeltest::Boxes boxes;
        MainWindow w;
        CServerHost host(&w);
        auto *list = w.findChild<QTreeWidget *>(QStringLiteral("lv_prog"));
        QCOMPARE(list->topLevelItemCount(), 1);
        auto *action = w.findChild<QAction *>(QStringLiteral("actionrecordsync"));
        action->trigger();
        QVERIFY(boxes.Shown(QStringLiteral("下载器未选择!")));
        list->topLevelItem(0)->setCheckState(0, Qt::Checked);
        action->trigger();
        QVERIFY(w.LogText().contains(QStringLiteral("开始上传文件数据")));
        QTRY_VERIFY_WITH_TIMEOUT(w.LogText().contains(QStringLiteral("下载器：%1， 上传文件数据完成并释放下载器文件").arg(kID)),
                                 10000);
        QCOMPARE(ReadAll(state + QStringLiteral("/uploads/") + kID + QStringLiteral("/record_mcu.dat")), bytes);
        QVERIFY(!QFileInfo::exists(record));
        QVERIFY(w.LogText().contains(QStringLiteral("下载器-%1 文件上传进度: 46 %").arg(kID)));
        QVERIFY(w.LogText().contains(QStringLiteral("下载器-%1 文件上传进度: 93 %").arg(kID)));
        QVERIFY(w.LogText().contains(QStringLiteral("下载器-%1 文件上传进度: 100 %").arg(kID)));
        QCOMPARE(sim.Output().count(QStringLiteral("upload %1/record_mcu.dat offset=").arg(kID)), 3);
        QVERIFY(sim.Output().contains(QStringLiteral("offset=65536 bytes=4464")));

        // Nothing left to send.
        boxes.shown.clear();
        action->trigger();
        QVERIFY(boxes.Shown(QStringLiteral("当前烧录器无记录数据！")));

        // An empty record: one request with no data, then released.
        QVERIFY(FuncTool::WriteFile(record, QByteArray()));
        action->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(w.LogText().count(QStringLiteral("上传文件数据完成并释放下载器文件")) == 2, 10000);
        QVERIFY(sim.Output().contains(QStringLiteral("upload %1/record_mcu.dat offset=0 bytes=0").arg(kID)));
        QVERIFY(!QFileInfo::exists(record));
    }

    // The service refusing a chunk ends the upload; the record stays.
    void refusedUploadKeepsTheRecord()
    {
        QTemporaryDir dir;
        const QString state = dir.filePath(QStringLiteral("cloud"));
        CloudSim sim(state);
        QVERIFY(sim.WaitReady());
        SetCloudEndpoint(sim.Port());
        // A regular file cannot hold the uploads folder of this programmer.
        QVERIFY(FuncTool::WriteFile(state + QStringLiteral("/uploads/") + kID, QByteArray("x")));
        const QString root = dir.filePath(QStringLiteral("P")) + QLatin1Char('/');
        MakeProger(root, kID);
        const QString record = root + QStringLiteral("config/record_mcu.dat");
        QVERIFY(FuncTool::WriteFile(record, Record(5000)));

        remoteServer cloud;
        CServerHost host(nullptr);
        host.SetCloud(&cloud);
        QStringList log;
        CRemoteRecordSync sync(&cloud, [&log](const QString &text) { log << text; });
        connect(&cloud, &remoteServer::sigUploadFailed, this, [&log](const QString &, const QString &, const QString &reason) {
            log << reason;
        });
        const ProgerInfo proger(root, kID, QStringLiteral("QEL720A"), QStringLiteral("V2.1.5"));
        QString warning;
        QVERIFY(sync.Start(&proger, warning));
        QTRY_VERIFY_WITH_TIMEOUT(log.contains(QStringLiteral("下载器：%1， 上传文件数据失败").arg(kID)), 10000);
        QVERIFY(!sync.IsRunning(kID));
        QCOMPARE(ReadAll(record), Record(5000));
    }
};

QTEST_MAIN(TestRecordSync)
#include "tst_recordsync.moc"
