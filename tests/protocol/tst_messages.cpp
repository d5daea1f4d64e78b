// The server's side of the message protocol: parsing, the codecs, topics,
// routing, what each received message does, and the file streaming.
#include "framereader.h"
#include "qeltest.h"
#include "testhost.h"

#include <cfilesender.h>
#include <clinkmqtt.h>
#include <clinktcps.h>
#include <packets.h>
#include <prototext.h>

#include <functool.h>

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QTcpSocket>

using namespace ns_prog720a;

namespace {

QByteArray Json(const QJsonObject &o)
{
    return QJsonDocument(o).toJson(QJsonDocument::Compact);
}

template <class P>
bool Is(const QByteArray &text)
{
    std::unique_ptr<RecvPacket> packet(ParsePacket(text));
    return dynamic_cast<P *>(packet.get()) != nullptr;
}

const QString kUid = QStringLiteral("0123456789ABCDEF01234567");

// The server's listener with one plain socket as the client station.
struct Station
{
    CLinkTcpS link;
    QTcpSocket socket;
    std::unique_ptr<FrameReader> reader;
    QString ip;
    int port = 0;

    bool Connect(TestHost &host)
    {
        host.m_links.pTcpServer = &link;
        if (!link.StartServer(QStringLiteral("127.0.0.1"), 0, true, nullptr))
            return false;
        socket.connectToHost(QHostAddress::LocalHost, link.ListenPort());
        if (!socket.waitForConnected(5000))
            return false;
        if (!QTest::qWaitFor([&host] { return !host.added.isEmpty(); }))
            return false;
        ip = host.added.last().strIP;
        port = host.added.last().nPort;
        reader = std::make_unique<FrameReader>(&socket);
        return true;
    }
};

} // namespace

class TestMessages : public QObject
{
    Q_OBJECT
private slots:
    void parseRefusesWhatIsNotAMessage()
    {
        QVERIFY(!ParsePacket("{}"));
        QVERIFY(!ParsePacket("[]"));
        QVERIFY(!ParsePacket("[{\"cmd\":\"prog-response\"}]"));
        QVERIFY(!ParsePacket(""));
        QVERIFY(!ParsePacket("{\"cmd\":\"prog-response\""));
        QVERIFY(!ParsePacket("\xff\xfe garbage"));
        QVERIFY(!ParsePacket("{\"cmd\":17}"));
        QVERIFY(!ParsePacket("{\"no\":1}"));
        QVERIFY(!ParsePacket("{\"cmd\":\"no-such-command\"}"));
        // The client's requests are not the server's to receive.
        QVERIFY(!ParsePacket("{\"cmd\":\"prog-request\"}"));
        QVERIFY(!ParsePacket("{\"cmd\":\"get-offline-img-resp\"}"));
    }

    void parseFillsThePacket()
    {
        std::unique_ptr<RecvPacket> packet(ParsePacket("{\"cmd\":\"prog-response\"}"));
        auto *resp = dynamic_cast<ProgRespPacket *>(packet.get());
        QVERIFY(resp);
        const qelmsg::ProgResponse d = resp->Data();
        QVERIFY(d.path.isEmpty() && d.id.isEmpty() && d.model.isEmpty() && d.ver.isEmpty());
        QCOMPARE(resp->m_nNo, quint8(0));
        QVERIFY(resp->IsOk());
        QCOMPARE(resp->GetInt(QStringLiteral("missing")), 0);
        QVERIFY(!resp->GetBool(QStringLiteral("missing")));

        packet.reset(ParsePacket("{\"cmd\":\"write-resp\",\"no\":300,\"ret\":false,\"type\":\"clock\"}"));
        QCOMPARE(packet->m_nNo, quint8(44));
        QVERIFY(!packet->IsOk());
        QCOMPARE(packet->GetString(QStringLiteral("type")), QStringLiteral("clock"));
        QCOMPARE(packet->m_json.value(QStringLiteral("no")).toInt(), 300);
    }

    void serverFactoryAcceptsItsNames()
    {
        // Which class each name makes is checked by the handler tests below.
        const char *names[] = {"prog-response", "socket-disconnect", "prog-disconnect", "file-read", "file-save",
                               "file-download", "image-response", "config-response", "clearimage-response",
                               "fwrite-resp", "fdel-resp", "write-resp", "file-attr-resp", "fverify-resp",
                               "down-result", "loginResp", "read-record-resp", "pull-filedata-resp",
                               "record-append-resp", "upload-file-resp", "find-db-login-resp", "get-user-oii-resp",
                               "update-img-rec-resp", "delete-img-resp", "share-img-resp"};
        for (const char *name : names) {
            std::unique_ptr<RecvPacket> packet(ParsePacket(QByteArray("{\"cmd\":\"") + name + "\"}"));
            QVERIFY2(packet, name);
        }
        QVERIFY(Is<FVerifyRespPacket>("{\"cmd\":\"fverify-resp\"}"));
        QVERIFY(Is<MqttSocketDisconnect>("{\"cmd\":\"socket-disconnect\"}"));
    }

    void codecsWriteTheirMembers()
    {
        FileContentPacket content;
        content.SetData({QStringLiteral("a.img"), 3, 7, QStringLiteral("QUJD"), true});
        const QJsonObject o = QJsonDocument::fromJson(content.ToText()).object();
        QCOMPARE(o.value("cmd").toString(), QStringLiteral("file-content"));
        QCOMPARE(o.value("name").toString(), QStringLiteral("a.img"));
        QCOMPARE(o.value("image-index").toInt(), 3);
        QCOMPARE(o.value("file-id").toInt(), 7);
        QCOMPARE(o.value("data").toString(), QStringLiteral("QUJD"));
        QCOMPARE(o.value("more").toBool(), true);
        QCOMPARE(o.size(), 6);

        FileAttribPacket attrib;
        attrib.SetData({QStringLiteral("big.img"), 1, 5000000000LL, QStringLiteral("2024/01/02 03:04:05.006")});
        QCOMPARE(qint64(QJsonDocument::fromJson(attrib.ToText()).object().value("size").toDouble()), 5000000000LL);
        // A size no 64-bit number can hold reads as 0, like any other bad member.
        QCOMPARE(qelmsg::FileAttrib::FromJson({{"size", 1e300}}).size, 0LL);
        QCOMPARE(qelmsg::FileAttrib::FromJson({{"size", -1e300}}).size, 0LL);
        QCOMPARE(qelmsg::FileAttrib::FromJson({{"size", 9.2e18}}).size, 9200000000000000000LL);

        // The record type decides which members a record carries.
        qelmsg::RecordAppend record;
        record.factory.resultTest = QStringLiteral("pass");
        record.repair.staff = QStringLiteral("li");
        record.recordType = qelmsg::RecordAppend::FactoryTest;
        QJsonObject r = record.ToJson();
        QVERIFY(r.contains("resultTest") && r.contains("failReason") && !r.contains("staff"));
        QCOMPARE(r.size(), 7);
        record.recordType = qelmsg::RecordAppend::Repair;
        r = record.ToJson();
        QVERIFY(r.contains("staff") && r.contains("resultRepair") && !r.contains("resultTest"));
        QCOMPARE(r.size(), 12);
        QCOMPARE(qelmsg::RecordAppend::FromJson(r).repair.staff, QStringLiteral("li"));
        record.recordType = 5;
        QCOMPARE(record.ToJson().size(), 2);

        // Configuration entries are members of their own; "cmd" cannot be overwritten.
        qelmsg::ConfigResponse config;
        config.entries = {{"speed", "3"}, {"chip", "1"}, {"cmd", "evil"}};
        const QJsonObject c = config.ToJson();
        QCOMPARE(c.value("cmd").toString(), QStringLiteral("config-response"));
        QCOMPARE(c.size(), 3);

        // A missing "ret" is success, except for the offline-image answer.
        QVERIFY(qelmsg::LoginResp::FromJson({}).ret);
        QVERIFY(!qelmsg::LoginResp::FromJson({{"ret", false}}).ret);
        QVERIFY(!qelmsg::GetOfflineImgResp::FromJson({}).ret);
    }

    void replyTopicsAndKeys()
    {
        QCOMPARE(ReplyTopic(kUid + "_C2S"), kUid + "_S2C");
        QCOMPARE(ReplyTopic(kUid + "_S2C"), kUid + "_C2S");
        QCOMPARE(ReplyTopic(kUid.left(23) + "_C2S"), QString());
        QCOMPARE(ReplyTopic(kUid + "_X2Y"), QString());
        QCOMPARE(ReplyTopic(QString()), QString());
        QCOMPARE(ReplyTopic(kUid + "Z_C2S"), kUid + "Z_S2C");
        QCOMPARE(TopicKey(kUid + "_C2S"), kUid);
        QCOMPARE(TopicKey(kUid + "Z_C2S"), kUid);
        QCOMPARE(TopicKey(kUid.left(23) + "_C2S"), QString());
    }

    void routingFollowsTheFields()
    {
        TestHost host;
        CLinkMQTT mqtt; // not connected: the send is only logged
        host.m_links.pMqtt = &mqtt;
        ImageReqPacket request;
        QVERIFY(!request.Send()); // no route at all
        request.SetPeer(QStringLiteral("10.0.0.1"), 0);
        QVERIFY(!request.Send()); // a port of 0 is no TCP route
        request.SetMqttTopic(kUid + "_S2C");
        QVERIFY(request.Send());
        QVERIFY(host.Logged(QStringLiteral("topic:%1 发送报文:{\"cmd\":\"image-request\"}").arg(kUid + "_S2C")));
        // A TCP peer wins over a topic, and without a listener nothing goes.
        request.SetPeer(QStringLiteral("10.0.0.1"), 5000);
        QVERIFY(!request.Send());

        // Requests to a programmer need its device key.
        FReadAttrReqPacket attr;
        attr.SetMqttTopic(kUid + "_S2C");
        QVERIFY(!attr.Send());
        // Cloud requests go nowhere without the cloud connection, whatever the fields hold.
        LoginQelvoSPacket login;
        login.SetMqttTopic(kUid + "_S2C");
        QVERIFY(!login.Send());
    }

    void stationAnswersReachTheProgram()
    {
        TestHost host;
        host.m_links = CLinkSet();
        host.DispatchTcp(R"({"cmd":"prog-response","path":"E:/","id":"ID1","model":"QEL720A","ver":"1.0"})",
                         QStringLiteral("10.1.1.1"), 4000);
        host.DispatchTopic(CRemoteKey::Nsq, kUid + "_C2S", R"({"cmd":"prog-response","id":"N"})");
        host.DispatchTopic(CRemoteKey::Mqtt, kUid + "_C2S", R"({"cmd":"prog-response","id":"M"})");
        // No origin that names a programmer: ignored.
        host.DispatchTopic(CRemoteKey::Mqtt, QStringLiteral("short_C2S"), R"({"cmd":"prog-response"})");
        QCOMPARE(host.updated.size(), 3);
        QCOMPARE(host.updated[0].key, CRemoteKey::ByPeer(QStringLiteral("10.1.1.1"), 4000));
        QCOMPARE(host.updated[0].info.model, QStringLiteral("QEL720A"));
        QCOMPARE(host.updated[1].key, CRemoteKey::ByUID(CRemoteKey::Nsq, kUid));
        QCOMPARE(host.updated[2].key, CRemoteKey::ByUID(CRemoteKey::Mqtt, kUid));
        QVERIFY(host.Logged(QStringLiteral("10.1.1.1:4000 收到报文:")));
        QVERIFY(host.Logged(QStringLiteral("topic:%1 收到报文:").arg(kUid + "_C2S")));

        host.DispatchTcp(R"({"cmd":"image-response","images":[{"index":2,"name":"b.img","lastModi":"2024-01-01 00:00:00"},{"name":"c"},7]})",
                         QStringLiteral("10.1.1.1"), 4000);
        QCOMPARE(host.images.size(), 3);
        QCOMPARE(host.images[0].m_nIndex, 2);
        QCOMPARE(host.images[0].m_strTime, QStringLiteral("2024-01-01 00:00:00"));
        QCOMPARE(host.images[1].m_nIndex, 0);
        QCOMPARE(host.images[1].m_strName, QStringLiteral("c"));
        QVERIFY(host.images[2].m_strName.isEmpty());
        QVERIFY(host.Logged(QStringLiteral("更新远程镜像信息")));

        host.DispatchTcp(R"({"cmd":"config-response","speed":"2","chip":"5","eraseall":true})", QStringLiteral("10.1.1.1"), 4000);
        QCOMPARE(host.config.keys(), (QStringList{"chip", "eraseall", "speed"}));
        QCOMPARE(host.config.value("eraseall"), QStringLiteral("true"));
        QVERIFY(host.Logged(QStringLiteral("更新远程配置信息数据")));

        host.DispatchTcp(R"({"cmd":"clearimage-response","image-name":"x.img","result":false})", QStringLiteral("10.1.1.1"), 4000);
        QVERIFY(host.refreshed.isEmpty());
        QVERIFY(host.Logged(QStringLiteral("镜像x.img清除失败!")));
        host.DispatchTcp(R"({"cmd":"clearimage-response","image-name":"x.img","result":true})", QStringLiteral("10.1.1.1"), 4000);
        QCOMPARE(host.refreshed.size(), 1);
        QVERIFY(host.Logged(QStringLiteral("镜像x.img清除成功!")));

        host.DispatchTcp(R"({"cmd":"file-save","name":"a.img","result":true})", QStringLiteral("10.1.1.1"), 4000);
        QVERIFY(host.Logged(QStringLiteral("文件a.img发送成功!")));
        host.DispatchTcp(R"({"cmd":"file-download","name":"a.img","result":true})", QStringLiteral("10.1.1.1"), 4000);
        host.DispatchTcp(R"({"cmd":"file-download","name":"a.img"})", QStringLiteral("10.1.1.1"), 4000);
        QVERIFY(host.Logged(QStringLiteral("文件a.img下装成功!")));
        QVERIFY(host.Logged(QStringLiteral("文件a.img下装失败!")));
        QCOMPARE(host.busyClosed, 2);

        // A goodbye removes the station on the link it came by.
        host.DispatchTopic(CRemoteKey::Nsq, kUid + "_C2S", R"({"cmd":"prog-disconnect"})");
        host.DispatchTopic(CRemoteKey::Mqtt, kUid + "_C2S", R"({"cmd":"prog-disconnect"})");
        host.DispatchTcp(R"({"cmd":"prog-disconnect"})", QStringLiteral("10.1.1.1"), 4000);
        QCOMPARE(host.removed, (QList<CRemoteKey>{CRemoteKey::ByUID(CRemoteKey::Nsq, kUid), CRemoteKey::ByUID(CRemoteKey::Mqtt, kUid),
                                                  CRemoteKey::ByPeer(QStringLiteral("10.1.1.1"), 4000)}));
        host.DispatchTopic(CRemoteKey::Mqtt, kUid + "_C2S", R"({"cmd":"socket-disconnect"})");
        QVERIFY(host.Logged(QStringLiteral("对端已断开, 自动断开云服务器连接")));
    }

    void fileStreamingInChunks()
    {
        TestHost host;
        Station station;
        QVERIFY(station.Connect(host));
        QTRY_COMPARE(station.reader->Objects().size(), 1); // the prog-request on connecting

        QByteArray content(400, '\0');
        for (int i = 0; i < content.size(); ++i)
            content[i] = char(i * 7);
        const QString dir = CFileSender::WorkDir();
        QCOMPARE(dir, FuncTool::GetQELDir() + "qel720A_server/");
        QVERIFY(FuncTool::WriteFile(dir + "four.img", content));
        QVERIFY(FuncTool::WriteFile(dir + "empty.img", QByteArray()));

        const int first = CFileSender::NextFileId();
        host.DispatchTcp(R"({"cmd":"file-read","name":"four.img","image-index":4})", station.ip, station.port);
        QCOMPARE(CFileSender::NextFileId(), first + 1);
        QTRY_COMPARE(station.reader->Objects().size(), 3);
        const QJsonObject a = station.reader->Objects()[1];
        const QJsonObject b = station.reader->Objects()[2];
        QCOMPARE(a.value("cmd").toString(), QStringLiteral("file-content"));
        QCOMPARE(a.value("more").toBool(), true);
        QCOMPARE(b.value("more").toBool(), false);
        QCOMPARE(a.value("file-id").toInt(), first);
        QCOMPARE(b.value("file-id").toInt(), first);
        QCOMPARE(a.value("image-index").toInt(), 4);
        QCOMPARE(QByteArray::fromBase64(a.value("data").toString().toLatin1()) +
                     QByteArray::fromBase64(b.value("data").toString().toLatin1()),
                 content);
        QCOMPARE(host.busy, QStringList{QStringLiteral("远程下发镜像中...")});
        QVERIFY(host.Logged(QStringLiteral("开始发送文件:four.img")));

        // An empty file sends nothing and still uses up a file number.
        host.DispatchTcp(R"({"cmd":"file-read","name":"empty.img","image-index":1})", station.ip, station.port);
        QCOMPARE(CFileSender::NextFileId(), first + 2);
        QCOMPARE(host.busy.size(), 1);

        // 201 bytes: the second chunk holds one byte.
        QVERIFY(FuncTool::WriteFile(dir + "odd.bin", QByteArray(201, 'o')));
        host.DispatchTcp(R"({"cmd":"file-read","name":"odd.bin"})", station.ip, station.port);
        QTRY_COMPARE(station.reader->Objects().size(), 5);
        QCOMPARE(station.reader->Objects()[4].value("data").toString(), QStringLiteral("bw=="));
        QCOMPARE(station.reader->Objects()[4].value("file-id").toInt(), first + 2);
    }

    void fileReadRefusesPathsAndMissingFiles()
    {
        TestHost host;
        Station station;
        QVERIFY(station.Connect(host));
        const QString dir = CFileSender::WorkDir();
        QVERIFY(FuncTool::WriteFile(dir + "../secret.txt", QByteArray("secret")));
        const int first = CFileSender::NextFileId();
        const QStringList bad = {"../secret.txt", dir + "four.img", "/etc/passwd", "sub/x.img", "..", "a\\b", "C:x"};
        for (const QString &name : bad) {
            host.logs.clear();
            const QJsonObject request{{"cmd", "file-read"}, {"name", name}, {"image-index", 0}};
            host.DispatchTcp(Json(request), station.ip, station.port);
            QVERIFY2(host.Logged(QStringLiteral("文件名不合法, 拒绝发送:")), qPrintable(name));
        }
        host.logs.clear();
        host.DispatchTcp(R"({"cmd":"file-read","name":"missing.img"})", station.ip, station.port);
        QVERIFY(host.Logged(QStringLiteral("打开文件失败:") + dir + "missing.img"));
        QCOMPARE(CFileSender::NextFileId(), first);
        QTest::qWait(100);
        QCOMPARE(station.reader->Objects().size(), 1); // only the prog-request
        QVERIFY(host.busy.isEmpty());
    }

    void binaryFileWriteFrame()
    {
        QTemporaryDir tmp;
        QByteArray content(1000, '\0');
        for (int i = 0; i < content.size(); ++i)
            content[i] = char(i);
        const QString path = tmp.filePath("fw.bin");
        QVERIFY(FuncTool::WriteFile(path, content));

        FWriteReqPacket packet;
        packet.SetData(9, path, QString(70, 'N'), 0);
        bool more = false;
        qint64 size = 0;
        QByteArray frame = packet.BuildFrame(&more, &size);
        QCOMPARE(frame.size(), 72 + 880);
        QCOMPARE(quint8(frame[0]), quint8(0x0A));
        QCOMPARE(quint8(frame[1]), quint8(9));
        QCOMPARE(quint8(frame[2]), quint8(1));
        QCOMPARE(quint8(frame[3]), quint8(1));
        QVERIFY(more);
        QCOMPARE(size, 1000);
        QCOMPARE(frame.mid(8, 64), QByteArray(64, 'N')); // longer names are cut
        QCOMPARE(frame.mid(72), content.left(880));

        packet.SetData(10, path, QStringLiteral("fw.bin"), 880);
        frame = packet.BuildFrame(&more);
        QCOMPARE(frame.size(), 72 + 120);
        QCOMPARE(frame.mid(4, 4), QByteArray::fromHex("70030000"));
        QCOMPARE(frame.mid(8, 64), QByteArray("fw.bin") + QByteArray(58, '\0'));
        QCOMPARE(quint8(frame[3]), quint8(0));
        QVERIFY(!more);

        // A file that cannot be read goes out as a head with status 0.
        packet.SetData(11, tmp.filePath("missing"), QStringLiteral("x"), 0);
        frame = packet.BuildFrame();
        QCOMPARE(frame.size(), 72);
        QCOMPARE(quint8(frame[2]), quint8(0));

        TestHost host;
        QVERIFY(!packet.Send());
        QVERIFY(host.Logged(QStringLiteral("HID传输数据失败!")));

        QCOMPARE(FWriteReqPacket::ShownProgress(5000, 10000, QStringLiteral("a.img"), QString()), 50);
        QCOMPARE(FWriteReqPacket::ShownProgress(9900, 10000, QStringLiteral("a.img"), QString()), 98);
        QCOMPARE(FWriteReqPacket::ShownProgress(0, 8800, QStringLiteral("a.img"), QString()), 98);
        QCOMPARE(FWriteReqPacket::ShownProgress(4400, 8801, QString(), QStringLiteral("fw.bin")), 49);
        QCOMPARE(FWriteReqPacket::ShownProgress(9900, 10000, QStringLiteral("param.ini"), QStringLiteral("p.ini")), 99);
        QCOMPARE(FWriteReqPacket::ShownProgress(10, 0, QStringLiteral("a.img"), QString()), 0);
    }

    void programmerAnswersSettleTheirRequests()
    {
        TestHost host;
        host.waitSerial = QStringLiteral("HID-1");
        auto *clock = new WriteReqPacket;
        clock->SetData(5, QStringLiteral("clock"), QStringLiteral("2024-01-01"));
        QCOMPARE(QJsonDocument::fromJson(clock->ToText()).object().value("no").toInt(), 5);
        host.waits.append(new WaitCmd(clock));
        auto *verify = new FReadAttrReqPacket;
        verify->m_nNo = 7;
        host.waits.append(new WaitCmd(verify));
        host.waits.append(new WaitCmd(nullptr));
        QCOMPARE(host.waits[2]->GetNo(), quint8(0));
        QVERIFY(!host.waits[0]->CheckTimeout(2));
        QVERIFY(host.waits[0]->CheckTimeout(2));

        host.DispatchHid(R"({"cmd":"fwrite-resp","no":7,"ret":true,"more":true})", QStringLiteral("HID-1"));
        QCOMPARE(host.waits.size(), 3); // recognised, nothing done
        QVERIFY(host.progress.isEmpty());

        host.DispatchHid(R"({"cmd":"fverify-resp","no":7})", QStringLiteral("HID-1"));
        QCOMPARE(host.waits.size(), 2);
        QCOMPARE(host.waits[0]->GetNo(), quint8(5));
        QCOMPARE(host.progress, (QList<QPair<QString, int>>{{"HID-1", 100}}));
        QVERIFY(host.Logged(QStringLiteral("文件校验完成")));

        host.DispatchHid(R"({"cmd":"fverify-resp","no":99,"ret":false})", QStringLiteral("HID-1"));
        QCOMPARE(host.waits.size(), 2);
        QVERIFY(host.Logged(QStringLiteral("文件校验失败！请重新下发")));

        host.DispatchHid(R"({"cmd":"write-resp","no":5,"type":"clock","curValue":"12:00","ret":true})", QStringLiteral("HID-1"));
        QCOMPARE(host.waits.size(), 1);
        QVERIFY(host.Logged(QStringLiteral("下载器对时成功:12:00")));
        // Another programmer's answer settles nothing here.
        host.DispatchHid(R"({"cmd":"write-resp","no":0,"type":"refresh","ret":false})", QStringLiteral("HID-2"));
        QCOMPARE(host.waits.size(), 1);
        QVERIFY(host.Logged(QStringLiteral("下载器更新指令失败")));
        qDeleteAll(host.waits);

        host.DispatchHid(R"({"cmd":"file-attr-resp","points":[{"name":"1.img","date":20240101,"time":120000}],"more":true,"offset":1})",
                         QStringLiteral("HID-1"));
        QCOMPARE(host.filesSerial, QStringLiteral("HID-1"));
        QCOMPARE(host.files.size(), 1);
        QCOMPARE(host.files[0].date, 20240101);
        QVERIFY(host.Logged(QStringLiteral("拉取文件属性...")));
        host.DispatchHid(R"({"cmd":"file-attr-resp","points":[],"more":false})", QStringLiteral("HID-1"));
        QVERIFY(host.Logged(QStringLiteral("镜像文件属性拉取完毕")));

        host.DispatchHid(R"({"cmd":"fdel-resp","file-name":"ALL"})", QStringLiteral("HID-1"));
        QVERIFY(host.Logged(QStringLiteral("下载器所有镜像文件已删除")));
        host.DispatchHid(R"({"cmd":"fdel-resp","file-name":"3.img","ret":false})", QStringLiteral("HID-1"));
        QVERIFY(host.Logged(QStringLiteral("删除镜像文件失败")));
        host.DispatchHid(R"({"cmd":"down-result","ret":false})", QStringLiteral("HID-1"));
        QVERIFY(host.Logged(QStringLiteral("下载器HID-1下载失败")));
    }

    void englishLogLines()
    {
        TestHost host;
        QVERIFY(ProtoText::LoadLanguage(true));
        host.DispatchTcp(R"({"cmd":"file-save","name":"a.img","result":false})", QStringLiteral("10.1.1.1"), 4000);
        QVERIFY(host.Logged(QStringLiteral("Sending file a.img failed!")));
        QVERIFY(ProtoText::LoadLanguage(false));
        host.DispatchTcp(R"({"cmd":"file-save","name":"a.img","result":false})", QStringLiteral("10.1.1.1"), 4000);
        QVERIFY(host.Logged(QStringLiteral("文件a.img发送失败!")));
    }

    void cloudAnswersNamingFilesAreChecked()
    {
        TestHost host;
        host.DispatchCloud(R"({"cmd":"pull-filedata-resp","name":"Repair.sql","left":true,"offset":0,"ba":"QQ=="})",
                           QStringLiteral("127.0.0.1"), 61690);
        host.DispatchCloud(R"({"cmd":"pull-filedata-resp","name":"../../x.sql"})", QStringLiteral("127.0.0.1"), 61690);
        host.DispatchCloud(R"({"cmd":"upload-file-resp","name":"/abs/record_mcu.dat"})", QStringLiteral("127.0.0.1"), 61690);
        host.DispatchCloud(R"({"cmd":"upload-file-resp","name":"record_mcu.dat","offset":32768,"size":70000})",
                           QStringLiteral("127.0.0.1"), 61690);
        host.DispatchCloud(R"({"cmd":"loginResp","reason":"ok"})", QStringLiteral("127.0.0.1"), 61690);
        QCOMPARE(host.pulls.size(), 1);
        QVERIFY(host.pulls[0].ret && host.pulls[0].left);
        QCOMPARE(host.uploads.size(), 1);
        QCOMPARE(host.uploads[0].offset, 32768);
        QCOMPARE(host.logins.size(), 1);
        QVERIFY(host.logins[0].ret);
        QVERIFY(host.Logged(QStringLiteral("文件名不合法, 已忽略:../../x.sql")));
        // Cloud traffic goes to the debug output, not the log view.
        QVERIFY(!host.Logged(QStringLiteral("收到报文")));

        // Only the cloud connection answers for the cloud.
        host.DispatchTcp(R"({"cmd":"loginResp","ret":true})", QStringLiteral("10.1.1.1"), 4000);
        host.DispatchTopic(CRemoteKey::Mqtt, QStringLiteral("3F0027000B51353235383233_C2S"),
                           R"({"cmd":"pull-filedata-resp","name":"Repair.sql","left":true,"offset":1,"ba":"QQ=="})");
        host.DispatchHid(R"({"cmd":"upload-file-resp","name":"record_mcu.dat","offset":65536,"size":70000})",
                         QStringLiteral("HID-1"));
        QCOMPARE(host.logins.size(), 1);
        QCOMPARE(host.pulls.size(), 1);
        QCOMPARE(host.uploads.size(), 1);
        QCOMPARE(host.logs.count(QStringLiteral("云端应答来自非云端连接, 已忽略")), 3);
    }
};

QEL_TEST_CORE_MAIN(TestMessages)
#include "tst_messages.moc"
