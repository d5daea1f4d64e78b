// CStreamHost and CStreamDial against each other and against plain sockets.
#include "qeltest.h"
#include "stucklistener.h"

#include <cstreamdial.h>
#include <cstreamhost.h>

#include <QTcpServer>
#include <QTcpSocket>

namespace {

struct Event
{
    bool connected;
    QString ip;
    int port;
};

class Host : public ns_streamhost::CStreamHost
{
public:
    QList<Event> states;
    QMap<int, QByteArray> bytes; // by peer port
    std::function<void()> onData;

protected:
    void HandleRecvData(const ns_streamhost::RecvData &data) override
    {
        bytes[data.nPort].append(data.pData, data.nLen);
        if (onData)
            onData();
    }
    void HandleConnState(bool connected, QString ip, int port) override { states.append({connected, ip, port}); }
};

class Dial : public ns_streamdial::CStreamDial
{
public:
    QList<Event> states;
    QByteArray bytes;

protected:
    void HandleRecvData(const ns_streamdial::RecvData &data) override { bytes.append(data.pData, data.nLen); }
    void HandleConnState(bool connected, QString ip, int port) override { states.append({connected, ip, port}); }
};

} // namespace

class TestStream : public QObject
{
    Q_OBJECT
private slots:
    void hostAndDialExchangeInOrder()
    {
        Host host;
        QVERIFY(host.StartServer(QStringLiteral("127.0.0.1"), 0, true, nullptr));
        Dial dial;
        dial.StartClient(QStringLiteral("127.0.0.1"), host.ListenPort(), true, nullptr);
        QTRY_COMPARE(dial.states.size(), 1);
        QVERIFY(dial.states[0].connected);
        QCOMPARE(dial.states[0].ip, QStringLiteral("127.0.0.1"));
        QCOMPARE(dial.states[0].port, int(host.ListenPort()));
        QVERIFY(dial.IsOnline());
        QTRY_COMPARE(host.states.size(), 1);
        const Event peer = host.states[0];
        QVERIFY(peer.connected);
        QCOMPARE(peer.ip, QStringLiteral("127.0.0.1"));

        // Two sends to one peer arrive in that order, joined or not.
        char one[] = "first|";
        char two[] = "second";
        host.SendData(one, 6, peer.ip, peer.port);
        host.SendData(two, 6, peer.ip, peer.port);
        QTRY_COMPARE(dial.bytes, QByteArray("first|second"));

        char back[] = "back";
        dial.SendData(back, 4, dial.states[0].ip, dial.states[0].port);
        QTRY_COMPARE(host.bytes.value(peer.port), QByteArray("back"));

        // The dial closing is seen by the host as the peer going.
        dial.CloseClient();
        QCOMPARE(dial.states.size(), 2);
        QVERIFY(!dial.states[1].connected);
        QTRY_COMPARE(host.states.size(), 2);
        QVERIFY(!host.states[1].connected);
        QCOMPARE(host.states[1].port, peer.port);

        // A send to the peer that has gone does nothing visible.
        host.SendData(one, 6, peer.ip, peer.port);
        char none[] = "x";
        dial.SendData(none, 1, QString(), 0);
        QCOMPARE(host.states.size(), 2);
    }

    void closingServerDropsPeers()
    {
        Host host;
        QVERIFY(host.StartServer(QString(), 0, true, nullptr));
        QTcpSocket a;
        QTcpSocket b;
        a.connectToHost(QHostAddress::LocalHost, host.ListenPort());
        b.connectToHost(QHostAddress::LocalHost, host.ListenPort());
        QTRY_COMPARE(host.states.size(), 2);
        host.CloseServer();
        QVERIFY(!host.IsListening());
        QCOMPARE(host.states.size(), 4);
        QVERIFY(!host.states[2].connected && !host.states[3].connected);
        QTRY_COMPARE(a.state(), QAbstractSocket::UnconnectedState);
        QTRY_COMPARE(b.state(), QAbstractSocket::UnconnectedState);
        // Restartable after a close.
        QVERIFY(host.StartServer(QStringLiteral("0.0.0.0"), 0, true, nullptr));
    }

    void badListenAddressFails()
    {
        Host host;
        QVERIFY(!host.StartServer(QStringLiteral("not-an-address"), 0, true, nullptr));
        QVERIFY(!host.StartServer(QStringLiteral("127.0.0.1"), 70000, true, nullptr));
        QTcpServer taken;
        QVERIFY(taken.listen(QHostAddress::LocalHost, 0));
        QVERIFY(!host.StartServer(QStringLiteral("127.0.0.1"), taken.serverPort(), true, nullptr));
    }

    void peerClosingRightAfterSendingIsReported()
    {
        Host host;
        QVERIFY(host.StartServer(QStringLiteral("127.0.0.1"), 0, true, nullptr));
        {
            QTcpSocket s;
            s.connectToHost(QHostAddress::LocalHost, host.ListenPort());
            QVERIFY(s.waitForConnected(5000));
            s.write("bye");
            s.waitForBytesWritten(5000);
            s.disconnectFromHost();
        }
        QTRY_COMPARE(host.states.size(), 2);
        QCOMPARE(host.bytes.value(host.states[0].port), QByteArray("bye"));
        QVERIFY(!host.states[1].connected);
    }

    void refusedDialReportsFalse()
    {
        QTcpServer probe;
        QVERIFY(probe.listen(QHostAddress::LocalHost, 0));
        const quint16 port = probe.serverPort();
        probe.close();
        Dial dial;
        dial.StartClient(QStringLiteral("127.0.0.1"), port, true, nullptr);
        QTRY_COMPARE(dial.states.size(), 1);
        QVERIFY(!dial.states[0].connected);
        QVERIFY(!dial.IsOnline());
        // A bad port fails the same way, through the event loop.
        dial.StartClient(QStringLiteral("127.0.0.1"), 0, true, nullptr);
        QCOMPARE(dial.states.size(), 1);
        QTRY_COMPARE(dial.states.size(), 2);
        QVERIFY(!dial.states[1].connected);
    }

    void closingAStuckDialReturnsAndReports()
    {
        qeltest::StuckListener stuck;
        QVERIFY(stuck.start());
        Dial dial;
        dial.StartClient(QStringLiteral("127.0.0.1"), stuck.port(), true, nullptr);
        QTest::qWait(200);
        QVERIFY(dial.states.isEmpty());
        dial.CloseClient();
        QCOMPARE(dial.states.size(), 1);
        QVERIFY(!dial.states[0].connected);
        QVERIFY(!dial.IsOnline());

        // The time-out gives a stuck attempt up by itself.
        dial.SetConnectTimeout(100);
        dial.StartClient(QStringLiteral("127.0.0.1"), stuck.port(), true, nullptr);
        QTRY_COMPARE(dial.states.size(), 2);
        QVERIFY(!dial.states[1].connected);
    }

    void handlerMayCloseTheServer()
    {
        Host host;
        QVERIFY(host.StartServer(QStringLiteral("127.0.0.1"), 0, true, nullptr));
        host.onData = [&host] { host.CloseServer(); };
        QTcpSocket s;
        s.connectToHost(QHostAddress::LocalHost, host.ListenPort());
        QVERIFY(s.waitForConnected(5000));
        s.write("stop");
        QTRY_VERIFY(!host.IsListening());
        QTRY_COMPARE(s.state(), QAbstractSocket::UnconnectedState);
        QCOMPARE(host.states.size(), 2);
    }
};

QEL_TEST_CORE_MAIN(TestStream)
#include "tst_stream.moc"
