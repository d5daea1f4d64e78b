// CBrokerPipe against a real mosquitto, cross-checked with mosquitto_pub and
// mosquitto_sub, and against peers that fail it.
#include "mosquittobroker.h"
#include "qeltest.h"

#include <cbrokerpipe.h>

#include <QTcpServer>

namespace {

class Pipe : public CBrokerPipe
{
public:
    QList<bool> states;
    QList<QPair<QString, QByteArray>> messages;
    std::function<void(const QString &, const QByteArray &)> onMessage;

protected:
    void HandleTopicMsg(const QString &topic, const QByteArray &message) override
    {
        messages.append({topic, message});
        if (onMessage)
            onMessage(topic, message);
    }
    void HandleConnState(bool connected, QString, int) override { states.append(connected); }
};

} // namespace

class TestBrokerPipe : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY2(m_broker.start(), "mosquitto did not start"); }

    void subscribesAndReceivesFromMosquittoPub()
    {
        Pipe pipe;
        pipe.RunInst({QStringLiteral("qel/a"), QStringLiteral("qel/b")}, QStringLiteral("127.0.0.1"), m_broker.port());
        QTRY_COMPARE(pipe.states, QList<bool>{true});
        QVERIFY(pipe.IsOnline());
        QVERIFY(m_broker.publish(QStringLiteral("qel/b"), "{\"cmd\":\"x\"}"));
        QVERIFY(m_broker.publish(QStringLiteral("qel/a"), QByteArray(3000, 'z')));
        QVERIFY(m_broker.publish(QStringLiteral("qel/other"), "ignored"));
        QTRY_COMPARE(pipe.messages.size(), 2);
        QCOMPARE(pipe.messages[0].first, QStringLiteral("qel/b"));
        QCOMPARE(pipe.messages[0].second, QByteArray("{\"cmd\":\"x\"}"));
        QCOMPARE(pipe.messages[1].second, QByteArray(3000, 'z'));
        pipe.CloseInst();
        QCOMPARE(pipe.states, (QList<bool>{true, false}));
        QVERIFY(!pipe.IsOnline());
    }

    void publishesToMosquittoSub()
    {
        qeltest::MosquittoBroker::Subscriber sub(m_broker.port(), QStringLiteral("qel/out"), 2);
        QVERIFY(sub.waitReady());
        Pipe pipe;
        pipe.RunInst({}, QStringLiteral("localhost"), m_broker.port());
        // Published before the connection is up: sent once it is.
        pipe.AddPubMessage(QStringLiteral("qel/out"), "early");
        QTRY_COMPARE(pipe.states, QList<bool>{true});
        pipe.AddPubMessage(QStringLiteral("qel/out"), "late");
        QCOMPARE(sub.lines(), (QStringList{QStringLiteral("qel/out early"), QStringLiteral("qel/out late")}));
    }

    void handlerMayCloseAndRestart()
    {
        Pipe pipe;
        pipe.onMessage = [&pipe, this](const QString &, const QByteArray &message) {
            if (message == "close")
                pipe.CloseInst();
            else if (message == "restart")
                pipe.RunInst({QStringLiteral("qel/ctl")}, QStringLiteral("127.0.0.1"), m_broker.port());
        };
        pipe.RunInst({QStringLiteral("qel/ctl")}, QStringLiteral("127.0.0.1"), m_broker.port());
        QTRY_COMPARE(pipe.states.size(), 1);
        QVERIFY(m_broker.publish(QStringLiteral("qel/ctl"), "restart"));
        QTRY_COMPARE(pipe.states, (QList<bool>{true, false, true}));
        QVERIFY(m_broker.publish(QStringLiteral("qel/ctl"), "close"));
        QTRY_COMPARE(pipe.states, (QList<bool>{true, false, true, false}));
        QVERIFY(!pipe.IsOnline());
    }

    void failedConnectionsReportFalse()
    {
        Pipe pipe;
        pipe.RunInst({QStringLiteral("t")}, QStringLiteral("127.0.0.1"), qeltest::freePort());
        QTRY_COMPARE(pipe.states, QList<bool>{false});
        pipe.RunInst({QStringLiteral("t")}, QStringLiteral("no-such-host.invalid"), 1883);
        QTRY_COMPARE(pipe.states, (QList<bool>{false, false}));
        // Without a session a publication goes nowhere and nothing breaks.
        pipe.AddPubMessage(QStringLiteral("t"), "dropped");
        pipe.CloseInst();
        QCOMPARE(pipe.states.size(), 2);
    }

    void closingAStuckConnectReturns()
    {
        // Accepts TCP but never answers CONNECT: the case that hangs a loop thread.
        QTcpServer silent;
        QVERIFY(silent.listen(QHostAddress::LocalHost, 0));
        Pipe pipe;
        pipe.RunInst({QStringLiteral("t")}, QStringLiteral("127.0.0.1"), silent.serverPort());
        QTRY_VERIFY(silent.hasPendingConnections());
        QVERIFY(!pipe.IsOnline());
        pipe.CloseInst();
        QCOMPARE(pipe.states, QList<bool>{false});

        // Left alone, the attempt is given up after the time-out.
        pipe.SetConnectTimeout(100);
        pipe.RunInst({QStringLiteral("t")}, QStringLiteral("127.0.0.1"), silent.serverPort());
        QTRY_COMPARE(pipe.states, (QList<bool>{false, false}));
    }

    void garbageFromThePeerEndsTheSession()
    {
        QTcpServer liar;
        QVERIFY(liar.listen(QHostAddress::LocalHost, 0));
        Pipe pipe;
        pipe.RunInst({QStringLiteral("t")}, QStringLiteral("127.0.0.1"), liar.serverPort());
        QTRY_VERIFY(liar.hasPendingConnections());
        QTcpSocket *peer = liar.nextPendingConnection();
        peer->write(QByteArray::fromHex("ff00ffee112233445566778899"));
        peer->write(QByteArray(4096, '\xff'));
        QTRY_COMPARE(pipe.states, QList<bool>{false});
        QVERIFY(!pipe.IsOnline());
    }

    void brokerGoingAwayIsReported()
    {
        qeltest::MosquittoBroker broker;
        QVERIFY(broker.start());
        Pipe pipe;
        pipe.RunInst({QStringLiteral("t")}, QStringLiteral("127.0.0.1"), broker.port());
        QTRY_COMPARE(pipe.states, QList<bool>{true});
        broker.stop();
        QTRY_COMPARE(pipe.states, (QList<bool>{true, false}));
        QVERIFY(!pipe.IsOnline());
    }

private:
    qeltest::MosquittoBroker m_broker;
};

QEL_TEST_CORE_MAIN(TestBrokerPipe)
#include "tst_brokerpipe.moc"
