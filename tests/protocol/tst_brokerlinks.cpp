// The broker links of the server: MQTT against a real mosquitto (checked with
// mosquitto_pub and mosquitto_sub), NSQ through the nsqd and lookup doubles.
#include "mosquittobroker.h"
#include "nsqdoubles.h"
#include "qeltest.h"
#include "stucklistener.h"
#include "testhost.h"

#include <clinkmqtt.h>
#include <clinknsq.h>
#include <packets.h>

#include <QJsonDocument>
#include <QRandomGenerator>

using namespace ns_prog720a;

namespace {
const QString kUid = QStringLiteral("A1B2C3D4E5F6A7B8C9D0E1F2");

QJsonObject Object(const QString &line, const QString &topic)
{
    return QJsonDocument::fromJson(line.mid(topic.size() + 1).toUtf8()).object();
}
} // namespace

class TestBrokerLinks : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY2(m_broker.start(), "mosquitto did not start"); }

    void mqttServesAStation()
    {
        TestHost host;
        CLinkMQTT link;
        host.m_links.pMqtt = &link;
        const QString toStation = kUid + "_S2C";
        const QString toServer = kUid + "_C2S";
        qeltest::MosquittoBroker::Subscriber station(m_broker.port(), toStation, 2);
        QVERIFY(station.waitReady());

        link.StartService(kUid, QStringLiteral("127.0.0.1"), m_broker.port());
        QCOMPARE(link.GetUID(), kUid);
        QTRY_COMPARE(host.states.size(), 1);
        QVERIFY(host.states[0].on);
        QCOMPARE(host.states[0].kind, CRemoteKey::Mqtt);
        QCOMPARE(host.states[0].text, kUid);
        QCOMPARE(host.added, QList<CRemoteKey>{CRemoteKey::ByUID(CRemoteKey::Mqtt, kUid)});
        QVERIFY(host.Logged(QStringLiteral("云端服务器已连接")));

        // The station answers through the broker; the answer finds its programmer.
        QVERIFY(m_broker.publish(toServer, R"({"cmd":"prog-response","path":"E:/","id":"P-9","model":"QEL720A","ver":"2"})"));
        QTRY_COMPARE(host.updated.size(), 1);
        QCOMPARE(host.updated[0].key, CRemoteKey::ByUID(CRemoteKey::Mqtt, kUid));
        QCOMPARE(host.updated[0].info.id, QStringLiteral("P-9"));

        ConfigReqPacket request;
        request.SetMqttTopic(toStation);
        QVERIFY(request.Send());
        QVERIFY(host.Logged(QStringLiteral("topic:%1 发送报文:{\"cmd\":\"config-request\"}").arg(toStation)));
        const QStringList lines = station.lines();
        QCOMPARE(lines.size(), 2);
        QCOMPARE(Object(lines[0], toStation).value("cmd").toString(), QStringLiteral("prog-request"));
        QCOMPARE(Object(lines[1], toStation).value("cmd").toString(), QStringLiteral("config-request"));

        // Garbage from the broker is logged and dropped.
        QRandomGenerator random(3);
        QByteArray noise(500, '\0');
        for (char &c : noise)
            c = char(random.bounded(1, 256));
        for (const QByteArray &bad : {QByteArray("not json"), QByteArray("{\"cmd\":[]}"), noise, QByteArray(200000, '{')})
            QVERIFY(m_broker.publish(toServer, bad));
        QVERIFY(m_broker.publish(toServer, R"({"cmd":"prog-response","id":"after"})"));
        QTRY_COMPARE(host.updated.size(), 2);

        // The station saying it has gone closes the service and drops its programmer.
        QVERIFY(m_broker.publish(toServer, R"({"cmd":"socket-disconnect"})"));
        QTRY_COMPARE(host.states.size(), 2);
        QVERIFY(!host.states[1].on);
        QCOMPARE(host.removed, QList<CRemoteKey>{CRemoteKey::ByUID(CRemoteKey::Mqtt, kUid)});
        QVERIFY(link.GetUID().isEmpty());
        QVERIFY(!link.IsOnline());
        QVERIFY(host.Logged(QStringLiteral("云端服务器已断开")));
    }

    void mqttClosingWhileTheBrokerIsUnreachable()
    {
        TestHost host;
        qeltest::StuckListener stuck;
        QVERIFY(stuck.start());
        CLinkMQTT link;
        link.StartService(kUid, QStringLiteral("127.0.0.1"), stuck.port());
        QTest::qWait(100);
        QVERIFY(host.states.isEmpty());
        link.CloseInst();
        QCOMPARE(host.states.size(), 1);
        QVERIFY(!host.states[0].on);
        QCOMPARE(host.removed.size(), 1);
        QVERIFY(host.added.isEmpty());

        // A broker that never was: the attempt fails by itself.
        link.StartService(kUid, QStringLiteral("127.0.0.1"), qeltest::freePort());
        QTRY_COMPARE(host.states.size(), 2);
        QVERIFY(!host.states[1].on);
    }

    void nsqServesAStation()
    {
        nsqdouble::NsqDoubles doubles;
        QVERIFY(doubles.start(1));
        TestHost host;
        auto link = std::make_unique<CLinkNsq>();
        host.m_links.pNsq = link.get();
        // A UID longer than 24 characters is accepted for NSQ; its key is the first 24.
        const QString uid = kUid + "X";
        link->StartService(uid, QStringLiteral("127.0.0.1"), doubles.lookupPort());
        QTRY_COMPARE(host.states.size(), 1);
        QVERIFY(host.states[0].on);
        QCOMPARE(host.added, QList<CRemoteKey>{CRemoteKey::ByUID(CRemoteKey::Nsq, kUid)});
        QTRY_COMPARE(doubles.published((uid + "_S2C").toUtf8()), QByteArrayList{"{\"cmd\":\"prog-request\"}"});

        QTRY_VERIFY(!doubles.node(0).commands("SUB").isEmpty());
        doubles.node(0).publish((uid + "_C2S").toUtf8(), R"({"cmd":"prog-response","id":"N-1"})");
        doubles.node(0).publish((uid + "_C2S").toUtf8(), "\x01\x02 garbage");
        QTRY_COMPARE(host.updated.size(), 1);
        QCOMPARE(host.updated[0].key, CRemoteKey::ByUID(CRemoteKey::Nsq, kUid));

        // "prog-disconnect" drops the programmer and stops the service.
        doubles.node(0).publish((uid + "_C2S").toUtf8(), R"({"cmd":"prog-disconnect"})");
        QTRY_COMPARE(host.states.size(), 2);
        QVERIFY(!host.states[1].on);
        QVERIFY(host.removed.contains(CRemoteKey::ByUID(CRemoteKey::Nsq, kUid)));
        link->Exitance();
    }

    void nsqClosingWhileTheLookupIsUnreachable()
    {
        TestHost host;
        qeltest::StuckListener stuck;
        QVERIFY(stuck.start());
        auto link = std::make_unique<CLinkNsq>();
        link->StartService(kUid, QStringLiteral("127.0.0.1"), stuck.port());
        link->CloseInst();
        QTRY_COMPARE(host.states.size(), 1);
        QVERIFY(!host.states[0].on);
        QVERIFY(host.added.isEmpty());
        link->Exitance();
    }

private:
    qeltest::MosquittoBroker m_broker;
};

QEL_TEST_CORE_MAIN(TestBrokerLinks)
#include "tst_brokerlinks.moc"
