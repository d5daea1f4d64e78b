// The programmer viewers and the firmware dialog on a remote programmer: the
// client station runs as its own program with a simulated disk programmer and
// reaches the server's TCP listener; the server is this test's window.
#include "stationprocess.h"

#include "answeredboxes.h"
#include "burnhub.h"
#include "cimagepanel.h"
#include "clienttest.h"
#include "cremoteactions.h"
#include "cremoteservice.h"
#include "cserverhost.h"
#include "cviewerset.h"
#include "mainwindow.h"
#include "mosquittobroker.h"
#include "progsimprocess.h"
#include "sendfirmdlg.h"
#include "serverdefs.h"
#include "showconfigdlg.h"
#include "showimagedlg.h"
#include "showsignaldlg.h"

#include <configform.h>
#include <selfirmform.h>
#include <cpubactions.h>
#include <functool.h>

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeWidget>

namespace {
const QString kId = QStringLiteral("3F0027000B51353235383233");

QStringList Listed(showimagedlg *dlg)
{
    QStringList names;
    auto *list = dlg->findChild<QTreeWidget *>(QStringLiteral("lv_image"));
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        names << list->topLevelItem(i)->text(0) + QLatin1Char(':') + list->topLevelItem(i)->text(1);
    return names;
}
} // namespace

class TestRemoteViewers : public QObject
{
    Q_OBJECT
private slots:
    void viewersOnAStationsProgrammer();
};

void TestRemoteViewers::viewersOnAStationsProgrammer()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    qputenv("QEL_PROG_DIRS", "");
    ProgSim sim(dir.filePath(QStringLiteral("disk")), kId, QStringLiteral("QEL720A"));
    QVERIFY(sim.WaitReady());
    // Two images on the programmer before the station comes.
    const QString image = dir.filePath(QStringLiteral("x.img"));
    QVERIFY(clienttest::MakeImage(dir.path(), image));
    BurnHub *hub = BurnHub::Instance();
    hub->SetProgRoot(sim.Folder() + QLatin1Char('/'));
    QString err;
    QVERIFY(hub->DownImageFile(4, image, QStringLiteral("p.img"), err));
    QVERIFY(hub->DownImageFile(9, image, QStringLiteral("q.img"), err));
    QMap<QString, QString> param;
    QVERIFY(hub->ReadConfig(param, err));

    qeltest::Boxes boxes;
    MainWindow w;
    CServerHost host(&w);
    const quint16 port = qeltest::freePort();
    QVERIFY(w.RemoteActions()->Service()->StartTcp(QStringLiteral("127.0.0.1"), port));
    StationProcess station(dir.filePath(QStringLiteral("client")), sim.Folder(),
                           {QStringLiteral("tcp"), QStringLiteral("127.0.0.1"), QString::number(port)});
    auto *list = w.findChild<QTreeWidget *>(QStringLiteral("lv_prog"));
    QTRY_VERIFY_WITH_TIMEOUT(list->topLevelItemCount() == 1 && w.Programmers().At(0)->m_strID == kId, 20000);
    list->topLevelItem(0)->setCheckState(0, Qt::Checked);

    // The configuration arrives with the station's answer.
    w.findChild<QPushButton *>(QStringLiteral("btn_upconfig"))->click();
    showconfigdlg *config = w.Viewers()->ConfigViewer();
    auto *swd = config->Form()->findChild<QComboBox *>(QStringLiteral("combo_swdclk"));
    QTRY_VERIFY_WITH_TIMEOUT(w.LogText().contains(QStringLiteral("更新远程配置信息数据")), 20000);
    QTRY_COMPARE(swd->currentIndex(), param.value(QStringLiteral("swdClk")).toInt());
    QVERIFY(!swd->isEnabled());

    // Images: listed from the answer; one cleared, then all ("all" to the station).
    w.findChild<QPushButton *>(QStringLiteral("btn_imagemgr"))->click();
    showimagedlg *images = w.Viewers()->ImageViewer();
    QTRY_COMPARE_WITH_TIMEOUT(Listed(images), QStringList({"4:p.img", "9:q.img"}), 20000);
    auto *lv = images->findChild<QTreeWidget *>(QStringLiteral("lv_image"));
    lv->setCurrentItem(lv->topLevelItem(0));
    images->on_btn_clearone_clicked();
    QTRY_VERIFY_WITH_TIMEOUT(w.LogText().contains(QStringLiteral("镜像p.img清除成功!")), 20000);
    QTRY_COMPARE_WITH_TIMEOUT(Listed(images), QStringList({"9:q.img"}), 20000);
    images->on_btn_clearall_clicked();
    QTRY_VERIFY_WITH_TIMEOUT(w.LogText().contains(QStringLiteral("镜像all清除成功!")), 20000);
    QTRY_VERIFY_WITH_TIMEOUT(Listed(images).isEmpty(), 20000);
    QVERIFY(sim.WaitFor(QStringLiteral("images: none")));

    // Signal settings come under their own names in a configuration answer.
    QAction *signalAction = w.findChild<QAction *>(QStringLiteral("actionprogsignal"));
    w.actionTriggered(signalAction);
    showsignaldlg *signal = w.Viewers()->SignalViewer();
    QMap<QString, QString> answer = param;
    answer.insert(QStringLiteral("startTime"), QStringLiteral("300"));
    w.ShowRemoteConfig(*w.Programmers().At(0), answer);
    QCOMPARE(signal->findChild<QLineEdit *>(QStringLiteral("edit_startTime"))->text(), QStringLiteral("300"));
    // Sending them to a station's programmer is refused: it would load them as parameters.
    boxes.shown.clear();
    signal->findChild<QPushButton *>(QStringLiteral("btn_update"))->click();
    QVERIFY(boxes.Shown(QStringLiteral("仅支持本地下载器")));

    // Firmware: sent as "update.bin" and loaded by the station.
    const QByteArray firmware = QByteArray(4000, '\x3C') + "remote";
    QVERIFY(FuncTool::WriteFile(dir.filePath(QStringLiteral("fw.bin")), firmware));
    w.actionTriggered(w.findChild<QAction *>(QStringLiteral("actionproc")));
    sendfirmdlg *firm = w.Viewers()->FirmDialog();
    firm->SetFirmPath(dir.filePath(QStringLiteral("fw.bin")));
    firm->findChild<QPushButton *>(QStringLiteral("btn_down"))->click();
    QVERIFY(firm->IsSending());
    QVERIFY(!firm->Form()->findChild<QPushButton *>(QStringLiteral("btn_open"))->isEnabled());
    QVERIFY(station.WaitFor(QStringLiteral("收到文件推送, name=update.bin")));
    QVERIFY(sim.WaitFor(QStringLiteral("update.bin: %1 bytes").arg(firmware.size())));
    QTRY_VERIFY_WITH_TIMEOUT(!firm->IsSending(), 20000);
    QCOMPARE(firm->Progress(), 100);
    QCOMPARE(FuncTool::ReadFile(sim.Folder() + QStringLiteral("/update.bin")), firmware);
}

QEL_TEST_MAIN(TestRemoteViewers)
#include "tst_remoteviewers.moc"
