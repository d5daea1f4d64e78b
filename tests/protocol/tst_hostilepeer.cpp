// Peers that try to make the server hang, hand out files or keep memory:
// repeated JSON keys, links and FIFOs in the work folder, oversized programmer
// descriptions, long messages, and stations that never read what they asked for.
#include "fifoguard.h"
#include "framereader.h"
#include "qeltest.h"
#include "testhost.h"

#include <cfilesender.h>
#include <clinktcps.h>
#include <cpeerjson.h>
#include <packets.h>

#include <clogview.h>
#include <functool.h>

#include <QJsonArray>
#include <QTcpSocket>
#include <QTemporaryDir>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace ns_prog720a;

namespace {

QByteArray Json(const QJsonObject &o)
{
    return QJsonDocument(o).toJson(QJsonDocument::Compact);
}

QByteArray FileRead(const QString &name)
{
    return Json({{"cmd", "file-read"}, {"name", name}, {"image-index", 1}});
}

// The server's listener with its program side.
struct Server
{
    TestHost host;
    CLinkTcpS link;

    bool Start()
    {
        host.m_links.pTcpServer = &link;
        return link.StartServer("127.0.0.1", 0, true, nullptr);
    }
};

// A client station that reads what it is sent.
struct Station
{
    QTcpSocket socket;
    std::unique_ptr<FrameReader> reader;
    CRemoteKey key;

    bool Connect(Server &server)
    {
        TestHost &host = server.host;
        const int before = host.added.size();
        socket.connectToHost(QHostAddress::LocalHost, server.link.ListenPort());
        if (!socket.waitForConnected(5000) || !QTest::qWaitFor([&] { return host.added.size() > before; }))
            return false;
        key = host.added.last();
        reader = std::make_unique<FrameReader>(&socket);
        return true;
    }
};

// A station that asks and never reads: a plain socket with a small receive
// window, so what the server sends piles up on the server's side.
struct Sink
{
    int fd = -1;
    CRemoteKey key;

    ~Sink()
    {
        if (fd >= 0)
            ::close(fd);
    }
    bool Connect(Server &server)
    {
        TestHost &host = server.host;
        const int before = host.added.size();
        fd = ::socket(AF_INET, SOCK_STREAM, 0);
        const int small = 4096;
        ::setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &small, sizeof(small));
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_port = htons(server.link.ListenPort());
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (::connect(fd, reinterpret_cast<sockaddr *>(&addr), sizeof(addr)) != 0)
            return false;
        if (!QTest::qWaitFor([&] { return host.added.size() > before; }))
            return false;
        key = host.added.last();
        return true;
    }
    bool Send(const QByteArray &message) const
    {
        const QByteArray frame = CFrameCutter::MakeTcp(message);
        return ::send(fd, frame.constData(), size_t(frame.size()), 0) == frame.size();
    }
};

QByteArray Payload(int size)
{
    QByteArray data(size, '\0');
    for (int i = 0; i < size; ++i)
        data[i] = char(i * 31 + i / 251);
    return data;
}

QByteArray Received(const QList<QJsonObject> &objects, const QString &name)
{
    QByteArray data;
    for (const QJsonObject &o : objects) {
        if (o.value("cmd").toString() == "file-content" && o.value("name").toString() == name)
            data += QByteArray::fromBase64(o.value("data").toString().toLatin1());
    }
    return data;
}

} // namespace

class TestHostilePeer : public QObject
{
    Q_OBJECT

    QString m_work;

private slots:
    void init() { m_work = CFileSender::WorkDir(); }

    // Same objects as Qt's reader where Qt's is sound; repeated keys keep the
    // last value and nothing else.
    void peerJson()
    {
        const QList<QByteArray> texts = {
            R"({"cmd":"prog-response","id":"A","n":-12,"big":9007199254740992,"f":1.5,"e":1e300,"t":true,"z":null})",
            "{\"a\":[1,\"x\",{\"b\":[]},[[]]],\"u\":\"\\u4e2d\\u00e9\\ud83d\\ude00\",\"s\":\"a\\\"b\\\\c\\n\"}",
            R"(  {"k":18446744073709551615,"m":-9223372036854775808}  )",
            "{}", "[]", "", "{", R"({"a":1,})", R"({"a":01})", "{\"a\":\"\xff\"}", R"({"a":1} x)", "nul", R"("s")",
        };
        for (const QByteArray &text : texts) {
            QJsonParseError error{};
            const QJsonDocument qt = QJsonDocument::fromJson(text, &error);
            const bool qtOk = error.error == QJsonParseError::NoError && qt.isObject();
            QJsonObject ours;
            QCOMPARE(CPeerJson::ParseObject(text, ours), qtOk);
            if (qtOk)
                QVERIFY2(ours == qt.object(), text.constData());
        }

        QJsonObject object;
        QVERIFY(CPeerJson::ParseObject(R"({"k":[{}],"k":[{}],"k":[1,2]})", object));
        QCOMPARE(object.value("k").toArray(), (QJsonArray{1, 2}));
        std::unique_ptr<RecvPacket> packet(ParsePacket(R"({"cmd":"file-read","name":"a","name":"b.img"})"));
        QVERIFY(dynamic_cast<FileReadPacket *>(packet.get()));
        QCOMPARE(packet->GetString("name"), QStringLiteral("b.img"));

        // Nesting beyond any message of ours is refused (and cannot exhaust the stack).
        const auto nested = [](int depth) {
            return "{\"a\":" + QByteArray(depth, '[') + QByteArray(depth, ']') + "}";
        };
        QVERIFY(CPeerJson::ParseObject(nested(CPeerJson::kMaxDepth - 2), object));
        QVERIFY(!CPeerJson::ParseObject(nested(CPeerJson::kMaxDepth), object));
        QVERIFY(!CPeerJson::ParseObject(nested(60000), object));
    }

    void programmerDescriptionsHaveLimits()
    {
        TestHost host;
        const QString topic = QStringLiteral("0123456789ABCDEF01234567_C2S");
        const auto respond = [&](const QString &id, const QString &model, const QString &path) {
            host.DispatchTopic(CRemoteKey::Mqtt, topic,
                               Json({{"cmd", "prog-response"}, {"id", id}, {"model", model}, {"ver", "V1"}, {"path", path}}));
        };
        respond(QString(24, 'A'), "QEL720A", "/media/p/");
        QCOMPARE(host.updated.size(), 1);
        respond(QString(65, 'A'), "QEL720A", "/media/p/");
        respond(QString(4 << 20, 'A'), "QEL720A", "/media/p/");
        respond(QString(24, 'A'), QString(65, 'M'), "/media/p/");
        respond(QString(24, 'A'), "QEL720A", QString(5000, 'p'));
        QCOMPARE(host.updated.size(), 1);
        QVERIFY(host.Logged(QStringLiteral("下载器信息超出长度限制")));
        // A received message is logged shortened, with its length.
        QVERIFY(host.logs.last().size() < 2 * CLogView::kMessageChars);
        for (const QString &line : qAsConst(host.logs))
            QVERIFY(line.size() < 2 * CLogView::kMessageChars);
    }

    // "file-read" is confined by where a name leads, and a FIFO never blocks.
    void fileReadFollowsNoLinkOut()
    {
        Server server;
        QVERIFY(server.Start());
        TestHost &host = server.host;
        Station station;
        QVERIFY(station.Connect(server));

        QTemporaryDir outside;
        QVERIFY(FuncTool::WriteFile(outside.filePath("secret"), QByteArray("secret")));
        QFile::remove(m_work + "secret.img");
        QFile::remove(m_work + "passwd.img");
        QVERIFY(QFile::link(outside.filePath("secret"), m_work + "secret.img"));
        QVERIFY(QFile::link("/etc/passwd", m_work + "passwd.img"));
        QVERIFY(FuncTool::WriteFile(m_work + "real.img", Payload(300)));
        QFile::remove(m_work + "alias.img");
        QVERIFY(QFile::link(m_work + "real.img", m_work + "alias.img"));
        FifoGuard fifo(m_work + "pipe.img");
        QVERIFY(fifo.Made());

        for (const char *name : {"secret.img", "passwd.img", "pipe.img"}) {
            host.logs.clear();
            host.DispatchTcp(FileRead(name), station.key.strIP, station.key.nPort);
            QVERIFY2(host.Logged(QStringLiteral("打开文件失败:")), name);
        }
        QVERIFY(!fifo.HadToRelease());
        // A link that stays inside the work folder is served.
        host.DispatchTcp(FileRead("alias.img"), station.key.strIP, station.key.nPort);
        QTRY_COMPARE(Received(station.reader->Objects(), "alias.img"), Payload(300));
        for (const char *name : {"secret.img", "passwd.img", "pipe.img"})
            QVERIFY(Received(station.reader->Objects(), name).isEmpty());
        QFile::remove(m_work + "pipe.img");
    }

    // A big file goes out from the event loop, not in one go inside the handler.
    void streamingLeavesTheLoopFree()
    {
        Server server;
        QVERIFY(server.Start());
        TestHost &host = server.host;
        Station station;
        QVERIFY(station.Connect(server));
        const QByteArray content = Payload(1 << 20);
        QVERIFY(FuncTool::WriteFile(m_work + "big.img", content));

        int turns = 0;
        QTimer ticker;
        QObject::connect(&ticker, &QTimer::timeout, [&turns] { ++turns; });
        ticker.start(1);
        host.DispatchTcp(FileRead("big.img"), station.key.strIP, station.key.nPort);
        QCOMPARE(CFileSender::Running(), 1);
        QVERIFY(Received(station.reader->Objects(), "big.img").isEmpty());
        QTRY_COMPARE_WITH_TIMEOUT(Received(station.reader->Objects(), "big.img").size(), content.size(), 60000);
        QCOMPARE(Received(station.reader->Objects(), "big.img"), content);
        QCOMPARE(CFileSender::Running(), 0);
        QVERIFY(turns > 0);
    }

    // A station that asks for a big file thirty times and never reads: a few
    // transfers run and wait, the rest are refused, what waits for it stays
    // bounded, and another station is served meanwhile.
    void nonReadingPeerIsBounded()
    {
        Server server;
        QVERIFY(server.Start());
        TestHost &host = server.host;
        CLinkTcpS &link = server.link;
        QVERIFY(FuncTool::WriteFile(m_work + "mib.img", Payload(1 << 20)));
        QVERIFY(FuncTool::WriteFile(m_work + "small.img", Payload(5000)));

        Sink sink;
        QVERIFY(sink.Connect(server));
        for (int i = 0; i < 30; ++i)
            QVERIFY(sink.Send(FileRead("mib.img")));
        QTRY_COMPARE(host.logs.filter(QStringLiteral("文件发送任务过多")).size(), 30 - CFileSender::kMaxPerPeer);
        QCOMPARE(CFileSender::Running(), CFileSender::kMaxPerPeer);
        // Its transfers stop at the pause mark instead of buffering the files.
        QTRY_VERIFY(link.PendingBytes(sink.key.strIP, sink.key.nPort) > CFileSender::kPauseBytes / 2);
        const qint64 bound = CFileSender::kPauseBytes + CFileSender::kMaxPerPeer * CFileSender::kChunksPerTurn * 512;

        Station station;
        QVERIFY(station.Connect(server));
        host.DispatchTcp(FileRead("small.img"), station.key.strIP, station.key.nPort);
        QTRY_COMPARE(Received(station.reader->Objects(), "small.img"), Payload(5000));
        for (int i = 0; i < 20; ++i) {
            QTest::qWait(50);
            QVERIFY(link.PendingBytes(sink.key.strIP, sink.key.nPort) <= bound);
        }
        QCOMPARE(CFileSender::Running(), CFileSender::kMaxPerPeer);

        // When it goes, its transfers end.
        ::close(sink.fd);
        sink.fd = -1;
        QTRY_COMPARE(CFileSender::Running(), 0);
        QVERIFY(host.Logged(QStringLiteral("对端已断开, 停止发送文件:mib.img")));
    }

    // Past the per-peer limit the listener drops the peer, says so, and goes on.
    void sendLimitDropsThePeer()
    {
        Server server;
        server.link.SetSendLimit(64 * 1024);
        QVERIFY(server.Start());
        TestHost &host = server.host;
        CLinkTcpS &link = server.link;
        Sink sink;
        QVERIFY(sink.Connect(server));
        const QByteArray message = Json({{"cmd", "file-content"}, {"data", QString(30000, 'd')}});
        QTRY_VERIFY_WITH_TIMEOUT(
            [&] {
                link.SendMessage(message, sink.key.strIP, sink.key.nPort);
                return host.removed.contains(sink.key);
            }(),
            20000);
        QCOMPARE(link.PendingBytes(sink.key.strIP, sink.key.nPort), qint64(-1));
        QVERIFY(host.Logged(QStringLiteral("未读取的数据超过")));

        Station station;
        QVERIFY(station.Connect(server));
        QTRY_COMPARE(station.reader->Objects().size(), 1); // its prog-request
    }
};

QEL_TEST_MAIN(TestHostilePeer)
#include "tst_hostilepeer.moc"
