// The stream links with real peers: the TCP listener and dialler on loopback,
// the VCP link over a pseudo-terminal, the HID link through simulated devices.
#include "framereader.h"
#include "ptypair.h"
#include "qeltest.h"
#include "stucklistener.h"
#include "testhost.h"

#include <chidsimdevice.h>
#include <clinkhid.h>
#include <clinkserial.h>
#include <clinktcpc.h>
#include <clinktcps.h>
#include <cusbframe.h>
#include <hidsimwire.h>
#include <packets.h>

#include <functool.h>

#include <QRandomGenerator>
#include <QTcpServer>
#include <QTemporaryDir>

using namespace ns_prog720a;

namespace {

QByteArray Message(const char *json)
{
    return CFrameCutter::MakeTcp(QByteArray(json));
}

void Send(QTcpSocket &socket, const QByteArray &bytes)
{
    socket.write(bytes);
    socket.flush();
    socket.waitForBytesWritten(1000);
}

int ProgResponses(const TestHost &host, const QString &id)
{
    int n = 0;
    for (const TestHost::Update &u : host.updated)
        n += u.info.id == id ? 1 : 0;
    return n;
}

QByteArray Usb(quint8 command, const QByteArray &payload)
{
    return CUsbFrame(command).Bytes(payload).Finish();
}

} // namespace

class TestStreamLinks : public QObject
{
    Q_OBJECT
private slots:
    void listenerAgainstDialler()
    {
        TestHost host;
        CLinkTcpS server;
        CLinkTcpC station(CLinkTcpC::Station);
        host.m_links.pTcpServer = &server;
        QVERIFY(server.StartServer(QStringLiteral("127.0.0.1"), 0, true, nullptr));
        station.Connect(QStringLiteral("127.0.0.1"), server.ListenPort());
        QTRY_VERIFY(station.IsConnected());
        QTRY_COMPARE(host.added.size(), 1);
        const CRemoteKey peer = host.added[0];
        QCOMPARE(peer.kind, CRemoteKey::Tcp);
        QVERIFY(host.Logged(QStringLiteral("%1:%2 已连接 ").arg(peer.strIP).arg(peer.nPort)));
        // The listener asks every new station who it is.
        QTRY_VERIFY(host.Logged(QStringLiteral("收到报文:{\"cmd\":\"prog-request\"}")));
        QVERIFY(host.Logged(QStringLiteral("%1:%2 发送报文:{\"cmd\":\"prog-request\"}").arg(peer.strIP).arg(peer.nPort)));

        QVERIFY(station.SendMessage(R"({"cmd":"prog-response","id":"A1","model":"QEL720A"})"));
        QVERIFY(station.SendMessage(R"({"cmd":"prog-response","id":"A2"})"));
        QTRY_COMPARE(host.updated.size(), 2);
        QCOMPARE(host.updated[0].key, peer);
        QCOMPARE(host.updated[0].info.id, QStringLiteral("A1"));
        QCOMPARE(host.updated[1].info.id, QStringLiteral("A2"));

        // Answers go back to the same peer.
        ImageReqPacket request;
        request.SetPeer(peer.strIP, peer.nPort);
        QVERIFY(request.Send());
        QTRY_VERIFY(host.Logged(QStringLiteral("收到报文:{\"cmd\":\"image-request\"}")));

        station.CloseClient();
        QVERIFY(!station.IsConnected());
        QTRY_COMPARE(host.removed, QList<CRemoteKey>{peer});
        QCOMPARE(server.BufferCount(), 0);
        QVERIFY(!station.SendMessage("{}"));
    }

    void listenerReassemblesOddSplits()
    {
        TestHost host;
        CLinkTcpS server;
        host.m_links.pTcpServer = &server;
        QVERIFY(server.StartServer(QStringLiteral("127.0.0.1"), 0, true, nullptr));
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, server.ListenPort());
        QVERIFY(socket.waitForConnected(5000));
        QTRY_COMPARE(host.added.size(), 1);

        // Two messages in one write, both delivered in order.
        Send(socket, Message(R"({"cmd":"prog-response","id":"one"})") + Message(R"({"cmd":"prog-response","id":"two"})"));
        QTRY_COMPARE(host.updated.size(), 2);
        QCOMPARE(host.updated[0].info.id, QStringLiteral("one"));
        QCOMPARE(host.updated[1].info.id, QStringLiteral("two"));
        QTRY_COMPARE(server.BufferCount(), 0);

        // One message over three writes, delivered once after the third.
        const QByteArray split = Message(R"({"cmd":"prog-response","id":"three"})");
        Send(socket, split.left(4));
        QTRY_COMPARE(server.BufferCount(), 1);
        Send(socket, split.mid(4, 10));
        QTest::qWait(50);
        QCOMPARE(ProgResponses(host, "three"), 0);
        Send(socket, split.mid(14));
        QTRY_COMPARE(ProgResponses(host, "three"), 1);
        QTRY_COMPARE(server.BufferCount(), 0);

        // A head announcing nothing is kept, then used when more bytes come.
        Send(socket, CFrameCutter::MakeTcp(QByteArray()));
        QTRY_COMPARE(server.BufferCount(), 1);
        Send(socket, Message(R"({"cmd":"prog-response","id":"four"})"));
        QTRY_COMPARE(ProgResponses(host, "four"), 1);

        // A bad first byte loses the buffer; the next good frame gets through.
        Send(socket, "X" + Message(R"({"cmd":"prog-response","id":"lost"})"));
        QTest::qWait(200); // let the bad bytes be read on their own
        Send(socket, Message(R"({"cmd":"prog-response","id":"five"})"));
        QTRY_COMPARE(ProgResponses(host, "five"), 1);
        QCOMPARE(ProgResponses(host, "lost"), 0);

        // A peer that goes with half a message leaves no buffer behind.
        Send(socket, split.left(9));
        QTRY_COMPARE(server.BufferCount(), 1);
        socket.disconnectFromHost();
        QTRY_COMPARE(host.removed.size(), 1);
        QCOMPARE(server.BufferCount(), 0);
    }

    void garbageFromPeersNeverCrashes()
    {
        TestHost host;
        CLinkTcpS server;
        host.m_links.pTcpServer = &server;
        QVERIFY(server.StartServer(QStringLiteral("127.0.0.1"), 0, true, nullptr));
        QRandomGenerator random(20240607);
        const QList<QByteArray> evil = {
            Message("not json"), Message("[1,2,3]"), Message("{\"cmd\":null}"), Message("{\"cmd\":\"file-read\",\"name\":{}}"),
            Message("{\"cmd\":\"image-response\",\"images\":\"x\"}"), Message("{\"cmd\":\"config-response\",\"a\":[1]}"),
            Message("{\"cmd\":\"file-read\",\"name\":\"/dev/zero\"}"), CFrameCutter::MakeTcp(QByteArray(3000, '\0')),
        };
        for (int round = 0; round < 20; ++round) {
            QTcpSocket socket;
            socket.connectToHost(QHostAddress::LocalHost, server.ListenPort());
            QVERIFY(socket.waitForConnected(5000));
            QByteArray noise(int(random.bounded(1, 2000)), '\0');
            for (char &c : noise)
                c = char(random.bounded(256));
            if (round % 3 == 0)
                noise.prepend("hhhh");
            Send(socket, evil[round % evil.size()] + noise);
            socket.disconnectFromHost();
        }
        QTRY_COMPARE(host.removed.size(), 20);
        QCOMPARE(server.BufferCount(), 0);
        QVERIFY(server.IsListening());
        QVERIFY(host.updated.isEmpty());
    }

    void closingWithUnreachablePeersReturns()
    {
        TestHost host;
        qeltest::StuckListener stuck;
        QVERIFY(stuck.start());
        CLinkTcpC cloud;
        host.m_links.pCloud = &cloud;
        cloud.Connect(QStringLiteral("127.0.0.1"), stuck.port());
        QVERIFY(!cloud.IsConnected());
        LoginQelvoSPacket login;
        login.SetData({QStringLiteral("u"), QStringLiteral("p")});
        QVERIFY(!login.Send()); // not connected: nothing sent
        cloud.CloseClient();
        QVERIFY(!cloud.IsConnected());

        // A listener whose peer never reads: closing drops it at once.
        CLinkTcpS server;
        host.m_links.pTcpServer = &server;
        QVERIFY(server.StartServer(QStringLiteral("127.0.0.1"), 0, true, nullptr));
        QTcpSocket lazy;
        lazy.connectToHost(QHostAddress::LocalHost, server.ListenPort());
        QVERIFY(lazy.waitForConnected(5000));
        QTRY_COMPARE(host.added.size(), 1);
        const QByteArray big(60000, 'b');
        for (int i = 0; i < 50; ++i)
            QVERIFY(server.SendMessage(big, host.added[0].strIP, host.added[0].nPort));
        QVERIFY(!server.SendMessage(QByteArray(70000, 'c'), host.added[0].strIP, host.added[0].nPort));
        QVERIFY(host.Logged(QStringLiteral("报文过长(70000字节), 未发送")));
        server.CloseServer();
        QCOMPARE(host.removed.size(), 1);
        QVERIFY(!server.IsListening());
    }

    void cloudConnection()
    {
        TestHost host;
        QTcpServer cloudDouble;
        QVERIFY(cloudDouble.listen(QHostAddress::LocalHost, 0));
        CLinkTcpC cloud;
        host.m_links.pCloud = &cloud;
        cloud.Connect(QStringLiteral("127.0.0.1"), cloudDouble.serverPort());
        QTRY_VERIFY(cloud.IsConnected());
        QCOMPARE(cloud.PeerPort(), int(cloudDouble.serverPort()));
        QTRY_VERIFY(cloudDouble.hasPendingConnections());
        QTcpSocket *service = cloudDouble.nextPendingConnection();
        FrameReader reader(service);

        PullFileDataPacket pull;
        pull.SetData({QStringLiteral("Repair.sql"), 0});
        pull.SetPeer(QStringLiteral("10.9.9.9"), 1); // ignored: cloud requests take the cloud link
        QVERIFY(pull.Send());
        QTRY_COMPARE(reader.Objects().size(), 1);
        QCOMPARE(reader.Objects()[0].value("cmd").toString(), QStringLiteral("pull-filedata-req"));
        QCOMPARE(reader.Objects()[0].value("name").toString(), QStringLiteral("Repair.sql"));

        service->write(FrameReader::Frame({{"cmd", "loginResp"}, {"ret", false}, {"reason", "bad"}}) +
                       FrameReader::Frame({{"cmd", "pull-filedata-resp"}, {"name", "Repair.sql"}, {"ba", QString(2000, 'A')}}));
        QTRY_COMPARE(host.pulls.size(), 1);
        QCOMPARE(host.logins.size(), 1);
        QVERIFY(!host.logins[0].ret);
        QCOMPARE(host.logins[0].reason, QStringLiteral("bad"));
        QVERIFY(host.logs.isEmpty()); // the cloud link writes debug lines only

        service->close();
        QTRY_VERIFY(!cloud.IsConnected());
        QCOMPARE(cloud.PeerPort(), 0);
    }

    void serialLinkOverPseudoTerminal()
    {
        TestHost host;
        PtyPair pty;
        QVERIFY(pty.IsValid());
        CLinkSerial link;
        QVERIFY(link.Open(pty.Path()));
        const QByteArray a = QByteArray::fromHex("680600c11c23");
        const QByteArray b = Usb(0xC0, QByteArray::fromHex("000000110000002200000033"));
        const QByteArray big = Usb(0xFB, QByteArray(1024, '\x42'));

        // Both frames of one read are delivered, with the port name.
        QVERIFY(pty.Write(a + b));
        QTRY_COMPARE(host.frames.size(), 2);
        QCOMPARE(host.frames[0], qMakePair(pty.Path(), a));
        QCOMPARE(host.frames[1].second, b);
        QCOMPARE(link.PortName(), pty.Path());

        // A frame of more than 255 bytes, in pieces, after some noise.
        QVERIFY(pty.Write("\x01\x02noise" + big.left(500)));
        QTest::qWait(50);
        QCOMPARE(host.frames.size(), 2);
        QVERIFY(pty.Write(big.mid(500)));
        QTRY_COMPARE(host.frames.size(), 3);
        QCOMPARE(host.frames[2].second, big);
        QCOMPARE(link.Pending(), 0);

        QVERIFY(link.Send(a, pty.Path()));
        QTRY_COMPARE(pty.Read(), a);
        QVERIFY(!link.Send(a, QStringLiteral("/dev/not-this-one")));

        // Garbage is skipped without harm, and the port closes cleanly.
        QRandomGenerator random(7);
        QByteArray noise(4000, '\0');
        for (char &c : noise)
            c = char(random.bounded(256));
        QVERIFY(pty.Write(noise));
        QTest::qWait(100);
        link.Close(pty.Path());
        QVERIFY(!link.IsOpen(pty.Path()));
        QCOMPARE(link.Pending(), 0);
    }

    void hidLinkThroughSimulatedDevices()
    {
        QTemporaryDir dir(QStringLiteral("/tmp/qelhid-XXXXXX"));
        CReportPipe::SetSimulationDir(dir.path());
        TestHost host;
        CHidSimDevice one;
        CHidSimDevice two;
        CHidSimDevice stranger;
        QVERIFY(one.Start(dir.path(), 0x0483, 0x5751, QStringLiteral("P1")));
        QVERIFY(two.Start(dir.path(), 0x0485, 0x5760, QStringLiteral("P2")));
        QVERIFY(stranger.Start(dir.path(), 0x0483, 0x0001, QStringLiteral("P3")));

        CLinkHid link;
        host.m_links.pHid = &link;
        QCOMPARE(CReportPipe::Instance(), &link);
        const QList<CHidInfo> found = link.OpenNewDevices();
        QCOMPARE(found.size(), 2);
        QVERIFY(link.OpenNewDevices().isEmpty());
        QTRY_VERIFY(one.IsAttached() && two.IsAttached());
        QVERIFY(!stranger.IsAttached());

        // "abc" goes out as 11 bytes, padded to one report by the transport.
        QSignalSpy reports(&one, &CHidSimDevice::sigReport);
        QVERIFY(link.SendToHid(CLinkHid::JsonText, "abc", one.Path()));
        QTRY_COMPARE(reports.size(), 1);
        QCOMPARE(reports[0][0].toByteArray().left(11), QByteArray::fromHex("6868686803000026616263"));
        QVERIFY(!link.SendToHid(CLinkHid::JsonText, "abc", QStringLiteral("unknown")));
        QVERIFY(host.Logged(QStringLiteral("数据传输失败")));

        // Only the first of two frames in one read is delivered.
        const QByteArray a = QByteArray::fromHex("680600c11c23");
        const QByteArray b = Usb(0xC5, "\x00");
        QVERIFY(one.SendFrame(a + b));
        QTRY_COMPARE(host.frames.size(), 1);
        QCOMPARE(host.frames[0], qMakePair(one.Path(), a));
        QTest::qWait(50);
        QCOMPARE(host.frames.size(), 1);

        // A frame longer than one report is joined from several.
        const QByteArray big = Usb(0xFB, QByteArray(200, '\x33'));
        QVERIFY(two.SendFrame(big));
        QTRY_COMPARE(host.frames.size(), 2);
        QCOMPARE(host.frames[1], qMakePair(two.Path(), big));

        // A JSON answer from the programmer reaches the parser with its device key.
        host.waitSerial = one.Path();
        auto *request = new FReadAttrReqPacket;
        request->m_nNo = 3;
        host.waits.append(new WaitCmd(request));
        QVERIFY(one.SendFrame(CFrameCutter::MakeHidMessage(0, R"({"cmd":"fverify-resp","no":3,"ret":true})")));
        QTRY_VERIFY(host.waits.isEmpty());
        QCOMPARE(host.progress, (QList<QPair<QString, int>>{{one.Path(), 100}}));

        // The binary file-write frame takes the same link.
        QTemporaryDir files;
        QVERIFY(FuncTool::WriteFile(files.filePath("image.img"), QByteArray(100, 'i')));
        FWriteReqPacket write;
        write.SetProger(nullptr);
        write.m_serial = one.Path();
        write.SetData(4, files.filePath("image.img"), QStringLiteral("1.img"), 0);
        reports.clear();
        QVERIFY(write.Send());
        QTRY_COMPARE(reports.size(), 3); // 8 + 172 bytes in reports of 64
        const QByteArray sent = reports[0][0].toByteArray() + reports[1][0].toByteArray() + reports[2][0].toByteArray();
        QCOMPARE(sent.left(8), QByteArray::fromHex("68686868ac0001") + sent.mid(7, 1));
        QCOMPARE(sent.mid(8, 4), QByteArray::fromHex("0a040100"));

        // Garbage reports are dropped; a good frame afterwards still arrives.
        QRandomGenerator random(11);
        for (int i = 0; i < 30; ++i) {
            QByteArray noise(HidSimWire::kReportSize, '\0');
            for (char &c : noise)
                c = char(random.bounded(256));
            if (i % 4 == 0)
                noise[0] = char(0x68);
            QVERIFY(two.SendReport(noise));
        }
        QTest::qWait(100);
        two.Stop();
        QTRY_VERIFY(!link.IsOpen(two.Path()));
        QVERIFY(two.Start(dir.path(), 0x0485, 0x5760, QStringLiteral("P2")));
        QCOMPARE(link.OpenNewDevices().size(), 1);
        QTRY_VERIFY(two.IsAttached());
        const int before = host.frames.size();
        QVERIFY(two.SendFrame(a));
        QTRY_COMPARE(host.frames.size(), before + 1);
        QCOMPARE(host.frames.last(), qMakePair(two.Path(), a));

        // Closing a device that stopped answering returns at once.
        link.CloseOneHid(one.Path());
        QVERIFY(!link.IsOpen(one.Path()));
        CReportPipe::SetSimulationDir(QString());
    }
};

QEL_TEST_CORE_MAIN(TestStreamLinks)
#include "tst_streamlinks.moc"
