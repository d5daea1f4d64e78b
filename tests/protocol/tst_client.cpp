// The client's side: what it accepts, and how it answers a server station over
// TCP and over a real mosquitto broker.
#include "framereader.h"
#include "mosquittobroker.h"
#include "qeltest.h"
#include "stucklistener.h"
#include "testhost.h"

#include <clinkmqtt.h>
#include <clinktcpc.h>
#include <linktopics.h>
#include <packets.h>

#include <QJsonArray>
#include <QTcpServer>

namespace {
const QString kUid = QStringLiteral("00FFEEDDCCBBAA9988776655");

template <class P>
bool Is(const char *cmd)
{
    std::unique_ptr<RecvPacket> packet(ParsePacket(QByteArray("{\"cmd\":\"") + cmd + "\"}"));
    return dynamic_cast<P *>(packet.get()) != nullptr;
}

// The client station connected to a plain server socket.
struct ServerStation
{
    QTcpServer server;
    CLinkTcpC link{CLinkTcpC::Station};
    QTcpSocket *peer = nullptr;
    std::unique_ptr<FrameReader> reader;

    bool Connect(TestHost &host)
    {
        host.m_links.pTcpStation = &link;
        if (!server.listen(QHostAddress::LocalHost, 0))
            return false;
        link.Connect(QStringLiteral("127.0.0.1"), server.serverPort());
        if (!QTest::qWaitFor([this] { return link.IsConnected() && server.hasPendingConnections(); }))
            return false;
        peer = server.nextPendingConnection();
        reader = std::make_unique<FrameReader>(peer);
        return true;
    }
    void Ask(const QJsonObject &request) { peer->write(FrameReader::Frame(request)); }
};
} // namespace

class TestClient : public QObject
{
    Q_OBJECT
private slots:
    void clientFactory()
    {
        QVERIFY(Is<ProgReqPacket>("prog-request"));
        QVERIFY(Is<MqttSocketDisconnect>("socket-disconnect"));
        QVERIFY(Is<ImageReqPacket>("image-request"));
        QVERIFY(Is<ConfigReqPacket>("config-request"));
        QVERIFY(Is<ClearImageReqPacket>("clearimage-request"));
        QVERIFY(Is<FileAttribPacket>("file-attrib"));
        QVERIFY(Is<FileContentPacket>("file-content"));
        QVERIFY(Is<PullFileDataRespPacket>("pull-filedata-resp"));
        QVERIFY(Is<GetOfflineImgRespPacket>("get-offline-img-resp"));
        // The offline login's answer: without it the login never completes.
        QVERIFY(Is<LoginRespPacket>("loginResp"));
        for (const char *serverOnly : {"prog-response", "file-read", "file-save", "fverify-resp"})
            QVERIFY2(!ParsePacket(QByteArray("{\"cmd\":\"") + serverOnly + "\"}"), serverOnly);
        QCOMPARE(LinkTopics::Listen(kUid), kUid + "_S2C");
        QCOMPARE(LinkTopics::Talk(kUid), kUid + "_C2S");
    }

    void answersAServerStationOverTcp()
    {
        TestHost host;
        ServerStation station;
        QVERIFY(station.Connect(host));
        QCOMPARE(host.states.size(), 1);
        QVERIFY(host.states[0].on);

        station.Ask({{"cmd", "prog-request"}});
        QTRY_COMPARE(station.reader->Objects().size(), 1);
        QJsonObject answer = station.reader->Objects()[0];
        QCOMPARE(answer.value("cmd").toString(), QStringLiteral("prog-response"));
        QCOMPARE(answer.value("reason").toString(), QStringLiteral("未找到下载器"));
        QVERIFY(answer.value("id").toString().isEmpty());

        host.hasProger = true;
        host.proger = ProgerInfo(QStringLiteral("F:/"), QStringLiteral("ID-77"), QStringLiteral("QEL720A"), QStringLiteral("1.2"));
        host.localImages = {ImageInfo{3, QStringLiteral("three.img"), QStringLiteral("2024-02-03 04:05:06"), 0, false}};
        host.localConfig = {{"speed", "4"}, {"chip", "2"}};
        host.clearResult = false;
        station.Ask({{"cmd", "prog-request"}});
        station.Ask({{"cmd", "image-request"}});
        station.Ask({{"cmd", "config-request"}});
        station.Ask({{"cmd", "clearimage-request"}, {"image-name", "three.img"}});
        QTRY_COMPARE(station.reader->Objects().size(), 5);
        const QList<QJsonObject> answers = station.reader->Objects();
        QCOMPARE(answers[1].value("path").toString(), QStringLiteral("F:/"));
        QCOMPARE(answers[1].value("id").toString(), QStringLiteral("ID-77"));
        QCOMPARE(answers[1].value("ver").toString(), QStringLiteral("1.2"));
        const QJsonObject image = answers[2].value("images").toArray().at(0).toObject();
        QCOMPARE(image.value("index").toInt(), 3);
        QCOMPARE(image.value("lastModi").toString(), QStringLiteral("2024-02-03 04:05:06"));
        QCOMPARE(answers[3].value("speed").toString(), QStringLiteral("4"));
        QCOMPARE(answers[3].value("chip").toString(), QStringLiteral("2"));
        QCOMPARE(answers[4].value("cmd").toString(), QStringLiteral("clearimage-response"));
        QCOMPARE(answers[4].value("result").toBool(), false);
        QCOMPARE(host.cleared, QStringList{QStringLiteral("three.img")});
    }

    void pushedFilesAreNamedSafely()
    {
        TestHost host;
        ServerStation station;
        QVERIFY(station.Connect(host));

        station.Ask({{"cmd", "file-attrib"}, {"name", "1.img"}, {"image-index", 1}, {"size", 400}, {"date", "2024/01/01 00:00:00.000"}});
        QTRY_COMPARE(station.reader->Objects().size(), 1);
        const QJsonObject read = station.reader->Objects()[0];
        QCOMPARE(read.value("cmd").toString(), QStringLiteral("file-read"));
        QCOMPARE(read.value("name").toString(), QStringLiteral("1.img"));
        QCOMPARE(read.value("image-index").toInt(), 1);
        QVERIFY(host.Logged(QStringLiteral("收到文件推送, name=1.img, size=400, date=2024/01/01 00:00:00.000")));
        QVERIFY(host.Logged(QStringLiteral("开始召唤文件")));
        // A peer's name is logged as it is, placeholders and all.
        station.Ask({{"cmd", "file-attrib"}, {"name", "a%2b.img"}, {"size", 7}, {"date", "d"}});
        QTRY_VERIFY(host.Logged(QStringLiteral("收到文件推送, name=a%2b.img, size=7, date=d")));
        QTRY_COMPARE(station.reader->Objects().size(), 2);

        // A name with a path is refused: no file-read, no chunk handed on.
        station.Ask({{"cmd", "file-attrib"}, {"name", "../../etc/x"}, {"size", 1}});
        station.Ask({{"cmd", "file-content"}, {"name", "/tmp/x"}, {"data", "QUJD"}, {"more", false}});
        station.Ask({{"cmd", "file-content"}, {"name", "1.img"}, {"file-id", 4}, {"data", "QUJD"}, {"more", true}});
        QTRY_COMPARE(host.chunks.size(), 1);
        QCOMPARE(host.chunks[0].data, QByteArray("ABC"));
        QCOMPARE(host.chunks[0].msg.fileId, 4);
        QVERIFY(host.chunks[0].msg.more);
        QCOMPARE(station.reader->Objects().size(), 2);
        QVERIFY(host.Logged(QStringLiteral("文件名不合法, 拒绝接收:../../etc/x")));
        QVERIFY(host.Logged(QStringLiteral("文件名不合法, 拒绝接收:/tmp/x")));

        // The answers of the program go back the same way.
        FileSavePacket saved;
        saved.SetPeer(station.link.PeerIP(), station.link.PeerPort());
        saved.SetData({QStringLiteral("1.img"), true});
        QVERIFY(saved.Send());
        QTRY_COMPARE(station.reader->Objects().size(), 3);
        QCOMPARE(station.reader->Objects()[2].value("cmd").toString(), QStringLiteral("file-save"));

        station.peer->close();
        QTRY_VERIFY(!station.link.IsConnected());
        QVERIFY(!saved.Send());
    }

    void answersOverMqtt()
    {
        qeltest::MosquittoBroker broker;
        QVERIFY(broker.start());
        TestHost host;
        host.hasProger = true;
        host.proger = ProgerInfo(QString(), kUid, QStringLiteral("QEL720A"), QStringLiteral("3"));
        CLinkMQTT link;
        host.m_links.pMqtt = &link;
        qeltest::MosquittoBroker::Subscriber server(broker.port(), kUid + "_C2S", 1);
        QVERIFY(server.waitReady());

        link.StartService(kUid, QStringLiteral("127.0.0.1"), broker.port());
        QTRY_VERIFY(link.IsOnline());
        QVERIFY(host.Logged(QStringLiteral("MQTT云端服务器已连接")));
        QVERIFY(broker.publish(kUid + "_S2C", R"({"cmd":"prog-request"})"));
        QTRY_VERIFY(host.Logged(QStringLiteral("topic:%1 发送报文:").arg(kUid + "_C2S")));
        const QStringList lines = server.lines();
        QCOMPARE(lines.size(), 1);
        const QJsonObject answer = QJsonDocument::fromJson(lines[0].mid(kUid.size() + 5).toUtf8()).object();
        QCOMPARE(answer.value("cmd").toString(), QStringLiteral("prog-response"));
        QCOMPARE(answer.value("id").toString(), kUid);

        // The server's "socket-disconnect" closes the station's broker connection.
        QVERIFY(broker.publish(kUid + "_S2C", R"({"cmd":"socket-disconnect"})"));
        QTRY_VERIFY(!link.IsOnline());
        QVERIFY(host.Logged(QStringLiteral("对端已断开, 自动断开云服务器连接")));
        QVERIFY(host.Logged(QStringLiteral("MQTT云端服务器已断开")));
    }

    void closingUnreachableLinks()
    {
        TestHost host;
        qeltest::StuckListener stuck;
        QVERIFY(stuck.start());
        CLinkTcpC station(CLinkTcpC::Station);
        station.Connect(QStringLiteral("127.0.0.1"), stuck.port());
        CLinkMQTT mqtt;
        mqtt.StartService(kUid, QStringLiteral("127.0.0.1"), stuck.port());
        QTest::qWait(100);
        QVERIFY(!station.IsConnected() && !mqtt.IsOnline());
        station.CloseClient();
        mqtt.CloseInst();
        QCOMPARE(host.states.size(), 2);
        QVERIFY(!host.states[0].on && !host.states[1].on);
        // A "socket-disconnect" with the broker down changes nothing.
        host.m_links.pMqtt = &mqtt;
        host.DispatchTopic(CRemoteKey::Mqtt, kUid + "_S2C", R"({"cmd":"socket-disconnect"})");
        QVERIFY(!host.Logged(QStringLiteral("对端已断开")));
    }
};

QEL_TEST_CORE_MAIN(TestClient)
#include "tst_client.moc"
