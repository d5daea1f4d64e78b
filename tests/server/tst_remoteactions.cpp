// The remote-service actions of the server's window: their dialogs, texts and
// status label, on a real listener.
#include "answeredboxes.h"
#include "cmessagebox.h"
#include "cremoteactions.h"
#include "cremoteservice.h"
#include "cserverhost.h"
#include "mainwindow.h"
#include "mosquittobroker.h"
#include "qeltest.h"
#include "serverdefs.h"
#include "serverdlg.h"

#include <cpubactions.h>

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>
#include <QTcpSocket>


namespace {
using qeltest::WhenDialog;

QAction *Action(MainWindow &w, const char *name)
{
    return w.findChild<QAction *>(QLatin1String(name));
}

bool StateShows(MainWindow &w, const QString &text)
{
    for (QLabel *label : w.statusBar()->findChildren<QLabel *>())
        if (label->text() == text)
            return true;
    return false;
}
} // namespace

class TestRemoteActions : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        qputenv("QEL_PROG_DIRS", "");
        CPubActions(true).WriteString(QStringLiteral("REMOTE"), QStringLiteral("TCPLISTEN"), QString(), ServerDefs::IniFile());
        CMessageBox::SetResponder([](CMessageBox::Kind, const QString &, const QString &) { return QMessageBox::Yes; });
    }

    void tcpServiceOnAndOff()
    {
        MainWindow w;
        CServerHost host(&w);
        QAction *tcp = Action(w, "actionserver");
        QVERIFY(StateShows(w, QStringLiteral("远程服务已关闭")));
        const quint16 port = qeltest::freePort();
        WhenDialog<serverdlg>([port](serverdlg *dlg) {
            QCOMPARE(dlg->windowTitle(), QStringLiteral("TCP服务器参数设置"));
            QCOMPARE(dlg->edit_ip->text(), QStringLiteral("0.0.0.0"));
            QCOMPARE(dlg->edit_port->text(), QStringLiteral("5000"));
            dlg->edit_ip->setText(QStringLiteral("127.0.0.1"));
            dlg->edit_port->setText(QString::number(port));
            dlg->accept();
        });
        tcp->trigger();
        QVERIFY(tcp->isChecked());
        QCOMPARE(tcp->text(), QStringLiteral("关闭远程服务"));
        QVERIFY(StateShows(w, QStringLiteral("远程服务已开启-127.0.0.1:%1").arg(port)));
        QTcpSocket station;
        station.connectToHost(QHostAddress::LocalHost, port);
        QVERIFY(station.waitForConnected(5000));
        QTRY_COMPARE(w.Programmers().Count(), 1);

        tcp->trigger();
        QVERIFY(!tcp->isChecked());
        QCOMPARE(tcp->text(), QStringLiteral("开启远程服务"));
        QVERIFY(StateShows(w, QStringLiteral("远程服务已关闭")));
        QTRY_COMPARE(w.Programmers().Count(), 0);
        QTRY_VERIFY(w.LogText().contains(QStringLiteral("远程服务已关闭")));

        // A port taken by another listener: the start fails and nothing changes.
        QTcpServer taken;
        QVERIFY(taken.listen(QHostAddress::LocalHost, 0));
        WhenDialog<serverdlg>([&taken](serverdlg *dlg) {
            dlg->edit_ip->setText(QStringLiteral("127.0.0.1"));
            dlg->edit_port->setText(QString::number(taken.serverPort()));
            dlg->accept();
        });
        tcp->trigger();
        QVERIFY(!tcp->isChecked());
        QTRY_VERIFY(w.LogText().contains(QStringLiteral("远程服务启动失败")));
    }

    void tcpListenSettingStartsTheServiceAtStartUp()
    {
        const quint16 port = qeltest::freePort();
        CPubActions ini(true);
        const QString file = ServerDefs::IniFile();
        QVERIFY(ini.WriteString(QStringLiteral("REMOTE"), QStringLiteral("TCPLISTEN"),
                                QStringLiteral("127.0.0.1:%1").arg(port), file));
        {
            MainWindow w;
            CServerHost host(&w);
            QVERIFY(Action(w, "actionserver")->isChecked());
            QVERIFY(StateShows(w, QStringLiteral("远程服务已开启-127.0.0.1:%1").arg(port)));
            QTcpSocket station;
            station.connectToHost(QHostAddress::LocalHost, port);
            QVERIFY(station.waitForConnected(5000));
            QTRY_COMPARE(w.Programmers().Count(), 1);
        }
        // Without the key the service waits for the action.
        QVERIFY(ini.WriteString(QStringLiteral("REMOTE"), QStringLiteral("TCPLISTEN"), QString(), file));
        MainWindow w;
        QVERIFY(!Action(w, "actionserver")->isChecked());
        QTcpSocket station;
        station.connectToHost(QHostAddress::LocalHost, port);
        QVERIFY(!station.waitForConnected(1000));
    }

    void mqttServiceFollowsItsConnection()
    {
        qeltest::MosquittoBroker broker;
        QVERIFY(broker.start());
        MainWindow w;
        CServerHost host(&w);
        w.RemoteActions()->Service()->SetBroker(QStringLiteral("127.0.0.1"), broker.port(), 0);
        QAction *mqtt = Action(w, "actionmqtt");
        const QString uid = QStringLiteral("3F0027000B51353235383233");
        WhenDialog<servertopicdlg>([uid](servertopicdlg *dlg) {
            QCOMPARE(dlg->windowTitle(), QStringLiteral("云服务器连接设置"));
            dlg->edit_uid->setText(uid);
            dlg->accept();
        });
        mqtt->trigger();
        QCOMPARE(mqtt->text(), QStringLiteral("关闭远程MQTT服务"));
        QVERIFY(StateShows(w, QStringLiteral("远程MQTT服务已开启-%1").arg(uid)));
        // The connection brings the station's programmer, which is asked who it is.
        QTRY_COMPARE(w.Programmers().Count(), 1);
        QVERIFY(w.RemoteActions()->Service()->Liveness().IsWaiting(CRemoteKey::ByUID(CRemoteKey::Mqtt, uid)));

        mqtt->trigger();
        QTRY_COMPARE(mqtt->text(), QStringLiteral("开启远程MQTT服务"));
        QTRY_COMPARE(w.Programmers().Count(), 0);
        QVERIFY(StateShows(w, QStringLiteral("远程服务已关闭")));
    }
};

QEL_TEST_MAIN(TestRemoteActions)
#include "tst_remoteactions.moc"
