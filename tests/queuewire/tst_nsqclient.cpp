// NSQ protocol client: frame reading, message decoding, commands, lookup parsing,
// and consumers and producers against the nsqd double.
#include "loopthread.h"
#include "qeltest.h"

#include "cyclebuffer.h"
#include "dataformat.h"
#include "nodelookup.h"
#include "nsqcommand.h"
#include "nsqconsumer.h"
#include "nsqddouble.h"
#include "nsqdoubles.h"
#include "nsqmessage.h"
#include "nsqproducer.h"

#include <memory>

using nsqdouble::NsqdDouble;

namespace {

const QByteArray Opening = QByteArray("  V2") + "SUB orders ch1\n" + "RDY 64\n";

// A consumer on its own loop thread, recording what reaches its callbacks.
class ConsumerRig
{
public:
    explicit ConsumerRig(quint16 port, const std::string &topic = "orders")
    {
        m_thread.call([&] {
            m_consumer = std::make_unique<nsq::NsqConsumer>(m_thread.loop(), topic, "ch1");
            m_consumer->setAddress(uv::SocketAddr("127.0.0.1", port));
            m_consumer->setReadyCount(64);
            m_consumer->setMessageCallback([this](nsq::NsqMessage &message) {
                QMutexLocker lock(&m_mutex);
                m_messages.append(message);
            });
            m_consumer->setResponseCallback([this](const std::string &body) {
                QMutexLocker lock(&m_mutex);
                m_responses.append(QByteArray::fromStdString(body));
            });
            m_consumer->start();
        });
    }
    ~ConsumerRig()
    {
        m_thread.call([&] { m_consumer.reset(); });
    }

    QList<nsq::NsqMessage> messages() const
    {
        QMutexLocker lock(&m_mutex);
        return m_messages;
    }
    QByteArrayList responses() const
    {
        QMutexLocker lock(&m_mutex);
        return m_responses;
    }

private:
    LoopThread m_thread;
    std::unique_ptr<nsq::NsqConsumer> m_consumer;
    mutable QMutex m_mutex;
    QList<nsq::NsqMessage> m_messages;
    QByteArrayList m_responses;
};

QByteArray bodies(const QList<nsq::NsqMessage> &messages)
{
    QByteArrayList out;
    for (const auto &message : messages)
        out.append(QByteArray::fromStdString(message.body));
    return out.join('|');
}

} // namespace

class TstNsqClient : public QObject
{
    Q_OBJECT

private slots:
    void frameReader();
    void frameReaderRejectsGarbage();
    void messageDecoding();
    void commandBytes();
    void lookupParsing_data();
    void lookupParsing();
    void lookupAgainstDouble();
    void consumerOpeningAndMessages();
    void heartbeatAndResponses();
    void shortMessageIsNotFinished();
    void framesSplitAndJoined();
    void reconnectRepeatsOpening();
    void oversizedFrameResynchronises();
    void producerPublishes();
};

void TstNsqClient::frameReader()
{
    // The reader is installed by the first client; install it here for the pure tests.
    LoopThread thread;
    thread.call([&] { nsq::NsqClient(thread.loop(), uv::SocketAddr("127.0.0.1", 1)); });

    uv::CycleBuffer buffer(1024);
    const QByteArray two = NsqdDouble::frame(0, "OK") + NsqdDouble::frame(1, "E_INVALID x");
    QCOMPARE(buffer.append(two.constData(), uint64_t(two.size())), 0);
    nsq::DataFormat frame;
    QCOMPARE(buffer.readFrame(frame), 0);
    QCOMPARE(frame.type, uint32_t(0));
    QCOMPARE(frame.size, uint32_t(6));
    QCOMPARE(frame.body, std::string("OK"));
    QCOMPARE(buffer.readFrame(frame), 0);
    QCOMPARE(frame.type, uint32_t(1));
    QCOMPARE(frame.body, std::string("E_INVALID x"));
    QCOMPARE(buffer.readFrame(frame), -1);

    // An empty frame is exactly 8 bytes and is read as soon as they are there.
    const QByteArray empty = NsqdDouble::frame(0, QByteArray());
    QCOMPARE(empty.size(), 8);
    for (int i = 0; i < 7; ++i) {
        buffer.append(empty.constData() + i, 1);
        QCOMPARE(buffer.readFrame(frame), -1);
    }
    buffer.append(empty.constData() + 7, 1);
    QCOMPARE(buffer.readFrame(frame), 0);
    QVERIFY(frame.body.empty());
    QCOMPARE(buffer.readSize(), uint64_t(0));
}

void TstNsqClient::frameReaderRejectsGarbage()
{
    LogCapture log;
    LoopThread thread;
    thread.call([&] { nsq::NsqClient(thread.loop(), uv::SocketAddr("127.0.0.1", 1)); });
    nsq::DataFormat frame;
    uv::CycleBuffer buffer(1024);
    // Unknown type 7: everything buffered goes.
    const QByteArray unknown = NsqdDouble::frame(7, "xyz") + NsqdDouble::frame(0, "OK");
    buffer.append(unknown.constData(), uint64_t(unknown.size()));
    QCOMPARE(buffer.readFrame(frame), -1);
    QCOMPARE(buffer.readSize(), uint64_t(0));
    QVERIFY(log.contains("Error :err parse buffer."));
    // A size word too small to hold the type word is no frame either.
    const QByteArray tiny("\0\0\0\x02\0\0\0\0", 8);
    buffer.append(tiny.constData(), 8);
    QCOMPARE(buffer.readFrame(frame), -1);
    QCOMPARE(buffer.readSize(), uint64_t(0));
}

void TstNsqClient::messageDecoding()
{
    const QByteArray data = NsqdDouble::messageFrame(0x0102030405060708LL, 0x0203, "0123456789abcdef", "body").mid(8);
    nsq::NsqMessage message;
    QVERIFY(message.decode(data.toStdString()));
    QCOMPARE(message.timestamp, qint64(0x0102030405060708LL));
    QCOMPARE(message.attempts, quint16(0x0203));
    QCOMPARE(message.id, std::string("0123456789abcdef"));
    QCOMPARE(message.body, std::string("body"));

    QVERIFY(message.decode(data.left(26).toStdString()));
    QVERIFY(message.body.empty());
    QVERIFY(!message.decode(data.left(25).toStdString()));
}

void TstNsqClient::commandBytes()
{
    QCOMPARE(nsq::NsqCommand::magic(), std::string("  V2"));
    QCOMPARE(nsq::NsqCommand::sub("t", "c"), std::string("SUB t c\n"));
    QCOMPARE(nsq::NsqCommand::rdy(64), std::string("RDY 64\n"));
    QCOMPARE(nsq::NsqCommand::fin("0123456789abcdef"), std::string("FIN 0123456789abcdef\n"));
    QCOMPARE(nsq::NsqCommand::nop(), std::string("NOP\n"));
    QCOMPARE(nsq::NsqCommand::pub("t", ""), std::string("PUB t\n\0\0\0\0", 10));
    const std::string big(300, 'x');
    QCOMPARE(nsq::NsqCommand::pub("t", big), std::string("PUB t\n\0\0\x01\x2c", 10) + big);
}

void TstNsqClient::lookupParsing_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("ports"); // tcp:http per node

    QTest::newRow("two") << QByteArray(R"({"producers":[{"remote_address":"a:1","tcp_port":4150,"http_port":4151},
                                           {"remote_address":"b:2","tcp_port":4160,"http_port":4161,"extra":[1]}]})")
                         << true << "4150:4151 4160:4161";
    QTest::newRow("no producers") << QByteArray(R"({"topics":[]})") << true << "";
    QTest::newRow("empty producers") << QByteArray(R"({"producers":[]})") << true << "";
    QTest::newRow("float and bool") << QByteArray(R"({"producers":[{"remote_address":"a","tcp_port":4150.0,"http_port":true}]})")
                                    << true << "4150:1";
    QTest::newRow("port as text") << QByteArray(R"({"producers":[{"remote_address":"a","tcp_port":"4150","http_port":1}]})")
                                  << false << "";
    QTest::newRow("port out of range") << QByteArray(R"({"producers":[{"remote_address":"a","tcp_port":70000,"http_port":1}]})")
                                       << false << "";
    QTest::newRow("negative port") << QByteArray(R"({"producers":[{"remote_address":"a","tcp_port":-1,"http_port":1}]})")
                                   << false << "";
    QTest::newRow("address not text") << QByteArray(R"({"producers":[{"remote_address":5,"tcp_port":1,"http_port":1}]})")
                                      << false << "";
    QTest::newRow("missing port") << QByteArray(R"({"producers":[{"remote_address":"a","http_port":1}]})") << false << "";
    QTest::newRow("producers not a list") << QByteArray(R"({"producers":{}})") << false << "";
    QTest::newRow("top level list") << QByteArray("[1,2]") << false << "";
    QTest::newRow("not json") << QByteArray("{\"producers\":[") << false << "";
}

void TstNsqClient::lookupParsing()
{
    QFETCH(QByteArray, body);
    QFETCH(bool, ok);
    QFETCH(QString, ports);
    LogCapture log;
    const nsq::NsqNodesPtr nodes = nsq::NodeLookup::parseNodes(body.toStdString());
    QCOMPARE(bool(nodes), ok);
    QCOMPARE(log.contains("Error :parse json fail."), !ok);
    if (!nodes)
        return;
    QStringList seen;
    for (const auto &node : *nodes)
        seen.append(QString("%1:%2").arg(node.tcp_port).arg(node.http_port));
    QCOMPARE(seen.join(' '), ports);
}

void TstNsqClient::lookupAgainstDouble()
{
    nsqdouble::NsqDoubles doubles;
    QVERIFY(doubles.start(2));
    auto lookup = [](quint16 port, const std::string &host = "127.0.0.1") {
        LoopThread thread;
        std::promise<nsq::NsqNodesPtr> result;
        std::unique_ptr<nsq::NodeLookup> lookup;
        thread.call([&] {
            lookup = std::make_unique<nsq::NodeLookup>(thread.loop());
            lookup->lookupNodes(host, port, [&result](nsq::NsqNodesPtr nodes) { result.set_value(nodes); });
        });
        nsq::NsqNodesPtr nodes = result.get_future().get();
        thread.call([&] { lookup.reset(); });
        return nodes;
    };
    nsq::NsqNodesPtr nodes = lookup(doubles.lookupPort());
    QVERIFY(nodes);
    QCOMPARE(int(nodes->size()), 2);
    QCOMPARE(nodes->at(0).tcp_port, doubles.node(0).tcpPort());
    QCOMPARE(nodes->at(1).tcp_port, doubles.node(1).tcpPort());
    QVERIFY(doubles.lookup().requests().value(0).contains("Host: 127.0.0.1:" + QByteArray::number(doubles.lookupPort())));

    LogCapture log;
    doubles.lookup().setFixedAnswer(500, R"({"producers":[]})");
    QVERIFY(!lookup(doubles.lookupPort()));
    QVERIFY(!log.contains("get server fail."));
    doubles.lookup().setFixedAnswer(0, QByteArray());
    doubles.lookup().setRawAnswer("HTTP/1.1 200 OK\r\n\r\n{\"producers\":[{\"remote_address\":");
    QVERIFY(!lookup(doubles.lookupPort()));
    QVERIFY(log.contains("Error :parse json fail."));
    QVERIFY(!lookup(closedPort()));
    QVERIFY(log.contains("Error :get server fail."));
    // Names are not resolved: only literal addresses reach a lookup.
    doubles.lookup().setRawAnswer(QByteArray());
    log.clear();
    QVERIFY(!lookup(doubles.lookupPort(), "localhost"));
    QVERIFY(log.contains("Error :get server fail."));
}

void TstNsqClient::consumerOpeningAndMessages()
{
    NsqdDouble nsqd;
    QVERIFY(nsqd.start());
    ConsumerRig rig(nsqd.tcpPort());
    QTRY_COMPARE(nsqd.received(1), Opening);
    nsqd.publish("orders", "first");
    nsqd.publish("orders", "second");
    QTRY_COMPARE(rig.messages().size(), 2);
    const auto messages = rig.messages();
    QCOMPARE(bodies(messages), QByteArray("first|second"));
    QCOMPARE(messages[0].attempts, quint16(1));
    QCOMPARE(int(messages[0].id.size()), 16);
    QVERIFY(messages[0].timestamp > 0);
    // Both finished, with their own ids; "OK" of SUB reached the response callback.
    QTRY_COMPARE(nsqd.finished(), (QByteArrayList{QByteArray::fromStdString(messages[0].id),
                                                   QByteArray::fromStdString(messages[1].id)}));
    QCOMPARE(nsqd.inFlight(), 0);
    QCOMPARE(rig.responses(), QByteArrayList{"OK"});
}

void TstNsqClient::heartbeatAndResponses()
{
    NsqdDouble nsqd;
    QVERIFY(nsqd.start());
    ConsumerRig rig(nsqd.tcpPort());
    QTRY_COMPARE(nsqd.received(1), Opening);
    nsqd.sendHeartbeat(1);
    QTRY_COMPARE(nsqd.commands("NOP").size(), 1);
    // Longer than "_heartbeat_": an ordinary response, not answered.
    nsqd.sendRaw(1, NsqdDouble::frame(0, "_heartbeat_x"));
    QTRY_COMPARE(rig.responses(), (QByteArrayList{"OK", "_heartbeat_x"}));
    nsqd.sendHeartbeat(1);
    QTRY_COMPARE(nsqd.commands("NOP").size(), 2);
    QCOMPARE(rig.responses().size(), 2);
}

void TstNsqClient::shortMessageIsNotFinished()
{
    LogCapture log;
    NsqdDouble nsqd;
    QVERIFY(nsqd.start());
    ConsumerRig rig(nsqd.tcpPort());
    QTRY_COMPARE(nsqd.received(1), Opening);
    const QByteArray shortBody = NsqdDouble::messageFrame(1, 1, "0123456789abcdef", "").mid(8).left(25);
    nsqd.sendRaw(1, NsqdDouble::frame(2, shortBody));
    QTRY_VERIFY(log.contains("Error :decode message error :"));
    // The connection still works after it, and only the good message is finished.
    nsqd.publish("orders", "after");
    QTRY_COMPARE(nsqd.finished().size(), 1);
    QCOMPARE(bodies(rig.messages()), QByteArray("after"));
    QVERIFY(!nsqd.received(1).contains("FIN 0123456789abcde"));
}

void TstNsqClient::framesSplitAndJoined()
{
    LogCapture log;
    NsqdDouble nsqd;
    QVERIFY(nsqd.start());
    ConsumerRig rig(nsqd.tcpPort());
    QTRY_COMPARE(nsqd.received(1), Opening);
    // The answer to SUB must be in first, or it would share a read with the part below.
    QTRY_COMPARE(rig.responses(), QByteArrayList{"OK"});
    const QByteArray one = NsqdDouble::messageFrame(5, 1, "aaaaaaaaaaaaaaaa", "split-body");
    // First part; wait until the client has read it before sending the rest.
    nsqd.sendRaw(1, one.left(13));
    QTRY_VERIFY(log.contains("receive message 13 :"));
    QCOMPARE(rig.messages().size(), 0);
    nsqd.sendRaw(1, one.mid(13));
    QTRY_COMPARE(bodies(rig.messages()), QByteArray("split-body"));

    const QByteArray two = NsqdDouble::messageFrame(6, 1, "bbbbbbbbbbbbbbbb", "x")
        + NsqdDouble::messageFrame(7, 1, "cccccccccccccccc", "y");
    nsqd.sendRaw(1, two);
    QTRY_COMPARE(bodies(rig.messages()), QByteArray("split-body|x|y"));
    QVERIFY(log.contains("hex : 0x0  0x0  0x0  0x"));
}

void TstNsqClient::reconnectRepeatsOpening()
{
    LogCapture log;
    NsqdDouble nsqd;
    QVERIFY(nsqd.start());
    ConsumerRig rig(nsqd.tcpPort());
    QTRY_COMPARE(nsqd.received(1), Opening);
    nsqd.dropConnection(1);
    QTRY_VERIFY(log.contains("Warn :disconnect from sever and retry..."));
    QTRY_COMPARE(nsqd.connectionCount(), 2);
    QTRY_COMPARE(nsqd.received(2), Opening);
    nsqd.publish("orders", "again");
    QTRY_COMPARE(bodies(rig.messages()), QByteArray("again"));
}

void TstNsqClient::oversizedFrameResynchronises()
{
    LogCapture log;
    NsqdDouble nsqd;
    QVERIFY(nsqd.start());
    ConsumerRig rig(nsqd.tcpPort());
    QTRY_COMPARE(nsqd.received(1), Opening);
    // A frame larger than the receive buffer; its tail must not be read as frames.
    QByteArray tail;
    for (int i = 0; i < 4000; ++i)
        tail += NsqdDouble::messageFrame(1, 1, "dddddddddddddddd", "ghost");
    nsqd.sendRaw(1, NsqdDouble::messageFrame(1, 1, "eeeeeeeeeeeeeeee", QByteArray(1100 * 1024, 'z')).left(1050 * 1024) + tail);
    QTRY_VERIFY(log.contains("Error :buffer not enough :"));
    QTRY_COMPARE(nsqd.received(2), Opening);
    nsqd.publish("orders", "clean");
    QTRY_COMPARE(bodies(rig.messages()), QByteArray("clean"));
}

void TstNsqClient::producerPublishes()
{
    LogCapture log;
    NsqdDouble nsqd;
    QVERIFY(nsqd.start());
    LoopThread thread;
    std::unique_ptr<nsq::NsqProducer> producer;
    // Before the connection is up the write is refused and lost.
    const int early = thread.call([&] {
        producer = std::make_unique<nsq::NsqProducer>(thread.loop(), uv::SocketAddr("127.0.0.1", nsqd.tcpPort()));
        return producer->publish("orders", "too early");
    });
    QCOMPARE(early, -1);
    QVERIFY(log.contains("try write a disconnect connection."));
    QTRY_COMPARE(nsqd.received(1), QByteArray("  V2"));
    QCOMPARE(thread.call([&] { return producer->publish("orders", "hello"); }), 0);
    QTRY_COMPARE(nsqd.published("orders"), QByteArrayList{"hello"});

    // nsqd refuses an empty body and closes; the producer comes back.
    QCOMPARE(thread.call([&] { return producer->publish("orders", ""); }), 0);
    QTRY_VERIFY(nsqd.received(1).endsWith(QByteArray("PUB orders\n\0\0\0\0", 15)));
    QTRY_COMPARE(nsqd.connectionCount(), 2);
    QTRY_COMPARE(nsqd.received(2), QByteArray("  V2"));
    QCOMPARE(thread.call([&] { return producer->publish("orders", "back"); }), 0);
    QTRY_COMPARE(nsqd.published("orders"), (QByteArrayList{"hello", "back"}));
    thread.call([&] { producer.reset(); });
}

QEL_TEST_CORE_MAIN(TstNsqClient)
#include "tst_nsqclient.moc"
