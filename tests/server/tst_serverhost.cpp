// Messages of client stations reach the window through the server's host.
#include "cmessagebox.h"
#include "configform.h"
#include "cserverhost.h"
#include "mainwindow.h"
#include "qeltest.h"

#include <QLineEdit>
#include <QTreeWidget>

#include <thread>

class TestServerHost : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void stationAnswersBecomeRows();
    void logFromLinkThreads();

private:
    QTreeWidget *List(MainWindow &w) { return w.findChild<QTreeWidget *>(QStringLiteral("lv_prog")); }
};

void TestServerHost::init()
{
    qputenv("QEL_PROG_DIRS", "");
    CMessageBox::SetResponder([](CMessageBox::Kind, const QString &, const QString &) { return QMessageBox::Yes; });
}

void TestServerHost::stationAnswersBecomeRows()
{
    MainWindow w;
    CServerHost host(&w);
    QCOMPARE(CMainHost::Instance(), &host);

    const QByteArray answer = R"({"cmd":"prog-response","path":"E:/","id":"3F0027000B51353235383233","model":"QEL720A","ver":"V2.1.5"})";
    host.DispatchTcp(answer, QStringLiteral("127.0.0.1"), 5000);
    QTRY_COMPARE(List(w)->topLevelItemCount(), 1);
    QTreeWidgetItem *row = List(w)->topLevelItem(0);
    QCOMPARE(row->text(0), QStringLiteral("127.0.0.1:5000"));
    QCOMPARE(row->text(1), QStringLiteral("3F0027000B51353235383233"));
    QCOMPARE(row->text(2), QStringLiteral("127.0.0.1:5000-E"));
    QCOMPARE(row->text(3), QStringLiteral("QEL720A"));

    // The same station again: one row. A station without a programmer: no row.
    host.DispatchTcp(answer, QStringLiteral("127.0.0.1"), 5000);
    host.DispatchTcp(R"({"cmd":"prog-response","reason":"no programmer"})", QStringLiteral("127.0.0.1"), 5001);
    QTRY_VERIFY(w.LogText().contains("127.0.0.1:5001: no programmer"));
    QCOMPARE(List(w)->topLevelItemCount(), 1);

    // Its configuration fills the panel while it is the selected programmer.
    row->setCheckState(0, Qt::Checked);
    host.DispatchTcp(R"({"cmd":"config-response","contInterval":"777"})", QStringLiteral("127.0.0.1"), 5000);
    QTRY_COMPARE(w.ConfigForm()->findChild<QLineEdit *>(QStringLiteral("edit_contInterval"))->text(), QStringLiteral("777"));

    host.RemoveRemoteProger(CRemoteKey::ByPeer(QStringLiteral("127.0.0.1"), 5000));
    QTRY_COMPARE(List(w)->topLevelItemCount(), 0);
    QVERIFY(w.LogText().contains("断开远程下载器 127.0.0.1:5000"));

    host.AddRemoteProger(CRemoteKey::ByUID(CRemoteKey::Mqtt, QStringLiteral("AB0033000E51353235383233")));
    QTRY_COMPARE(List(w)->topLevelItemCount(), 1);
    QCOMPARE(List(w)->topLevelItem(0)->text(0), QStringLiteral("AB0033000E51353235383233"));
}

void TestServerHost::logFromLinkThreads()
{
    MainWindow w;
    {
        CServerHost host(&w);
        std::thread link([&host]() {
            for (int i = 0; i < 50; ++i)
                host.Log(QStringLiteral("line %1").arg(i));
        });
        link.join();
        QTRY_VERIFY(w.LogText().contains("line 49"));
        // Lines keep their order.
        QVERIFY(w.LogText().indexOf("line 10") < w.LogText().indexOf("line 11"));
    }
    // Without the host the links fall back to the default one.
    QVERIFY(CMainHost::Instance() != nullptr);
}

QEL_TEST_MAIN(TestServerHost)
#include "tst_serverhost.moc"
