// Event-loop layer: loops, cross-thread calls, timers, receive buffers, TCP and HTTP.
#include "loopthread.h"
#include "qeltest.h"

#include "cyclebuffer.h"
#include "httpclient.h"
#include "idle.h"
#include "listbuffer.h"
#include "lookupdouble.h"
#include "tcpclient.h"
#include "timer.h"

#include <QTcpServer>
#include <QTcpSocket>

#include <atomic>
#include <memory>

Q_DECLARE_METATYPE(std::shared_ptr<uv::PacketBuffer>)

using uv::TcpClient;
using uv::http::HttpClient;

class TstUvLayer : public QObject
{
    Q_OBJECT

private slots:
    void loopRunsOnce();
    void stopBeforeRunKeepsLoopFromRunning();
    void runInLoopFromForeignThread();
    void timerRepeatsAndCloses();
    void idleRunsEveryIteration();
    void packetBuffer_data();
    void packetBuffer();
    void cycleBufferCapacity();
    void writeBeforeConnect();
    void connectFailure();
    void connectExchangeAndPeerClose();
    void responseParser();
    void httpBodies_data();
    void httpBodies();
    void httpFailures();
};

void TstUvLayer::loopRunsOnce()
{
    uv::EventLoop loop;
    std::promise<void> running;
    loop.runInLoop([&running] { running.set_value(); });
    int first = 99;
    std::thread thread([&] { first = loop.run(); });
    running.get_future().wait();
    QCOMPARE(loop.status(), int(uv::EventLoop::Running));
    loop.stop();
    thread.join();
    QVERIFY(first >= 0); // libuv's own result: 1 when stopped with handles still open
    QCOMPARE(loop.status(), int(uv::EventLoop::Stopped));
    QCOMPARE(loop.run(), -1);
    // Work for a finished loop runs at once on the caller.
    bool ran = false;
    loop.runInLoop([&ran] { ran = true; });
    QVERIFY(ran);
}

void TstUvLayer::stopBeforeRunKeepsLoopFromRunning()
{
    uv::EventLoop loop;
    loop.stop();
    QCOMPARE(loop.run(), -1);
    QVERIFY(loop.isStopped());
}

void TstUvLayer::runInLoopFromForeignThread()
{
    LoopThread thread;
    const std::thread::id loopId = thread.call([] { return std::this_thread::get_id(); });
    QVERIFY(loopId != std::this_thread::get_id());

    std::mutex mutex;
    std::vector<int> order;
    std::vector<std::thread::id> where;
    std::promise<void> done;
    std::thread foreign([&] {
        for (int i = 0; i < 200; ++i) {
            thread.loop()->runInLoop([&, i] {
                std::lock_guard<std::mutex> lock(mutex);
                order.push_back(i);
                where.push_back(std::this_thread::get_id());
            });
        }
        thread.loop()->runInLoop([&done] { done.set_value(); });
    });
    done.get_future().wait();
    foreign.join();
    std::lock_guard<std::mutex> lock(mutex);
    QCOMPARE(int(order.size()), 200);
    for (int i = 0; i < 200; ++i) {
        QCOMPARE(order[size_t(i)], i);
        QVERIFY(where[size_t(i)] == loopId);
    }
    // From inside the loop thread the call is immediate, not queued.
    const bool immediate = thread.call([&thread] {
        bool ran = false;
        thread.loop()->runInLoop([&ran] { ran = true; });
        return ran;
    });
    QVERIFY(immediate);
}

void TstUvLayer::timerRepeatsAndCloses()
{
    LoopThread thread;
    std::atomic<int> ticks{0};
    std::promise<void> closed;
    std::unique_ptr<uv::Timer> timer;
    thread.call([&] {
        timer = std::make_unique<uv::Timer>(thread.loop(), 1, 1, [&](uv::Timer *t) {
            if (++ticks == 3)
                t->close([&](uv::Timer *) {
                    timer.reset(); // freeing in the closed callback is allowed
                    closed.set_value();
                });
        });
        timer->start();
        timer->start(); // a second start changes nothing
    });
    closed.get_future().wait();
    QCOMPARE(ticks.load(), 3);
    QVERIFY(!timer);
}

void TstUvLayer::idleRunsEveryIteration()
{
    LoopThread thread;
    std::promise<void> done;
    std::unique_ptr<uv::Idle> idle;
    int calls = 0;
    thread.call([&] {
        idle = std::make_unique<uv::Idle>(thread.loop());
        idle->setCallback([&] {
            if (++calls == 5)
                done.set_value();
        });
    });
    done.get_future().wait();
    const int seen = thread.call([&] {
        idle.reset();
        return calls;
    });
    QVERIFY(seen >= 5);
}

void TstUvLayer::packetBuffer_data()
{
    QTest::addColumn<std::shared_ptr<uv::PacketBuffer>>("buffer");
    QTest::newRow("cycle") << std::shared_ptr<uv::PacketBuffer>(std::make_shared<uv::CycleBuffer>(32));
    QTest::newRow("list") << std::shared_ptr<uv::PacketBuffer>(std::make_shared<uv::ListBuffer>());
}

void TstUvLayer::packetBuffer()
{
    QFETCH(std::shared_ptr<uv::PacketBuffer>, buffer);
    std::string out;
    QCOMPARE(buffer->readBufferN(out, 1), -1);
    // Enough rounds that the ring's indexes wrap several times.
    std::string expected;
    for (int round = 0; round < 10; ++round) {
        const std::string chunk = "chunk" + std::to_string(round);
        QCOMPARE(buffer->append(chunk.data(), chunk.size()), 0);
        expected += chunk;
        QCOMPARE(buffer->readBufferN(out, 4), 0);
        QCOMPARE(out, expected.substr(0, 4));
        QCOMPARE(buffer->clearBufferN(4), 0);
        expected.erase(0, 4);
        QCOMPARE(buffer->readSize(), uint64_t(expected.size()));
    }
    QCOMPARE(buffer->readBufferN(out, expected.size()), 0);
    QCOMPARE(out, expected);
    QCOMPARE(buffer->readBufferN(out, expected.size() + 1), -1);
    QCOMPARE(buffer->clearBufferN(1000), 0);
    QCOMPARE(buffer->readSize(), uint64_t(0));
}

void TstUvLayer::cycleBufferCapacity()
{
    uv::CycleBuffer buffer(8);
    QCOMPARE(buffer.append("12345", 5), 0);
    QCOMPARE(buffer.clearBufferN(3), 0);
    // Wraps around the end and fills every byte.
    QCOMPARE(buffer.append("abcdef", 6), 0);
    QCOMPARE(buffer.readSize(), uint64_t(8));
    QCOMPARE(buffer.append("x", 1), -1);
    std::string out;
    QCOMPARE(buffer.readBufferN(out, 8), 0);
    QCOMPARE(out, std::string("45abcdef"));
    QCOMPARE(buffer.append("", 0), 0);
}

void TstUvLayer::writeBeforeConnect()
{
    LogCapture log;
    LoopThread thread;
    int callbackStatus = 0;
    const int rc = thread.call([&] {
        TcpClient client(thread.loop());
        return client.write("abc", 3, [&](uv::WriteInfo &info) { callbackStatus = info.status; });
    });
    QCOMPARE(rc, -1);
    QCOMPARE(callbackStatus, -1);
    QVERIFY(log.contains("Warn :try write a disconnect connection."));
}

void TstUvLayer::connectFailure()
{
    const quint16 port = closedPort();
    LogCapture log;
    LoopThread thread;
    std::promise<TcpClient::ConnectStatus> status;
    std::unique_ptr<TcpClient> client;
    thread.call([&] {
        client = std::make_unique<TcpClient>(thread.loop());
        client->setConnectStatusCallback([&](TcpClient::ConnectStatus s) { status.set_value(s); });
        client->connect(uv::SocketAddr("127.0.0.1", port));
    });
    QCOMPARE(status.get_future().get(), TcpClient::ConnectFail);
    QVERIFY(log.contains("connect fail."));
    thread.call([&] { client.reset(); });
}

void TstUvLayer::connectExchangeAndPeerClose()
{
    LogCapture log;
    QTcpServer server;
    QVERIFY(server.listen(QHostAddress::LocalHost, 0));
    LoopThread thread;
    QMutex mutex;
    QList<int> statuses;
    QByteArray received;
    std::unique_ptr<TcpClient> client;
    thread.call([&] {
        client = std::make_unique<TcpClient>(thread.loop());
        client->setConnectStatusCallback([&](TcpClient::ConnectStatus s) {
            QMutexLocker lock(&mutex);
            statuses.append(s);
        });
        client->setMessageCallback([&](const char *data, ssize_t size) {
            QMutexLocker lock(&mutex);
            received.append(data, int(size));
        });
        client->connect(uv::SocketAddr("127.0.0.1", server.serverPort()));
    });
    QVERIFY(server.waitForNewConnection(5000));
    std::unique_ptr<QTcpSocket> peer(server.nextPendingConnection());
    QTRY_VERIFY(thread.call([&] { return client->isConnected(); }));
    QCOMPARE(thread.call([&] { return client->write("ping", 4); }), 0);
    QTRY_COMPARE((peer->waitForReadyRead(50), peer->bytesAvailable()), qint64(4));
    QCOMPARE(peer->readAll(), QByteArray("ping"));
    peer->write("pong");
    peer->flush();
    QTRY_COMPARE((QMutexLocker(&mutex), received), QByteArray("pong"));
    peer->close();
    QTRY_COMPARE((QMutexLocker(&mutex), statuses), (QList<int>{TcpClient::ConnectSuccess, TcpClient::ConnectClose}));
    QVERIFY(log.contains("Info :Close tcp client connection complete."));
    QCOMPARE(thread.call([&] { return client->write("late", 4); }), -1);
    thread.call([&] { client.reset(); });
}

void TstUvLayer::responseParser()
{
    using uv::http::Response;
    const std::string full = "HTTP/1.1 200 OK\r\ncontent-length: 5\r\nX-A:  b \r\n\r\nhello";
    // Every prefix is incomplete; the whole text parses.
    for (size_t n = 0; n < full.size(); ++n) {
        Response partial;
        QCOMPARE(partial.parse(full.substr(0, n), false), Response::ParseIncomplete);
    }
    Response response;
    QCOMPARE(response.parse(full, false), Response::ParseComplete);
    QCOMPARE(response.content(), std::string("hello"));
    QCOMPARE(response.getHead("x-a"), std::string("b"));
    QCOMPARE(response.version(), uv::http::Http1_1);

    Response chunked;
    QCOMPARE(chunked.parse("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n3;ext=1\r\nabc\r\nA\r\n0123456789\r\n0\r\nX-Trailer: 1\r\n\r\n", false),
             Response::ParseComplete);
    QCOMPARE(chunked.content(), std::string("abc0123456789"));

    Response noBody;
    QCOMPARE(noBody.parse("HTTP/1.0 204 No Content\r\n\r\n", false), Response::ParseComplete);
    QCOMPARE(noBody.statusCode(), 204);

    Response byClose;
    QCOMPARE(byClose.parse("HTTP/1.0 200 OK\r\n\r\npartial", false), Response::ParseIncomplete);
    QCOMPARE(byClose.parse("HTTP/1.0 200 OK\r\n\r\npartial", true), Response::ParseComplete);
    QCOMPARE(byClose.content(), std::string("partial"));

    const char *const bad[] = {"SIP/2.0 200 OK\r\n\r\n", "HTTP/1.1 2000 OK\r\n\r\n", "HTTP/1.1 200 OK\r\nno colon\r\n\r\n",
                               "HTTP/1.1 200 OK\r\nContent-Length: -1\r\n\r\n",
                               "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\nzz\r\n",
                               "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n2\r\nabc\r\n"};
    for (const char *text : bad) {
        Response r;
        QVERIFY2(r.parse(text, true) == Response::ParseError, text);
    }
}

namespace {

struct HttpOutcome
{
    HttpClient::ReqResult result = HttpClient::ParseFail;
    int status = 0;
    std::string body;
};

HttpOutcome fetch(quint16 port, const std::string &path)
{
    LoopThread thread;
    std::promise<HttpOutcome> done;
    std::unique_ptr<HttpClient> client;
    thread.call([&] {
        client = std::make_unique<HttpClient>(thread.loop());
        client->setOnResp([&done](HttpClient::ReqResult result, uv::http::Response *response) {
            HttpOutcome outcome;
            outcome.result = result;
            if (response) {
                outcome.status = response->statusCode();
                outcome.body = response->content();
            }
            done.set_value(outcome);
        });
        uv::http::Request request;
        request.setPath(path);
        request.appendHead("Host", "127.0.0.1:" + std::to_string(port));
        client->Req(uv::SocketAddr("127.0.0.1", port), request);
    });
    HttpOutcome outcome = done.get_future().get();
    thread.call([&] { client.reset(); });
    return outcome;
}

} // namespace

void TstUvLayer::httpBodies_data()
{
    QTest::addColumn<int>("mode");
    QTest::newRow("content-length") << int(nsqdouble::LookupDouble::ContentLength);
    QTest::newRow("chunked") << int(nsqdouble::LookupDouble::Chunked);
    QTest::newRow("close") << int(nsqdouble::LookupDouble::CloseDelimited);
}

void TstUvLayer::httpBodies()
{
    QFETCH(int, mode);
    nsqdouble::LookupDouble lookup;
    QVERIFY(lookup.start());
    lookup.setBodyMode(nsqdouble::LookupDouble::BodyMode(mode));
    nsqdouble::NodeEntry node;
    node.tcpPort = 4150;
    lookup.setNodes({node});

    const HttpOutcome outcome = fetch(lookup.port(), "/nodes");
    QCOMPARE(outcome.result, HttpClient::Success);
    QCOMPARE(outcome.status, 200);
    const QJsonObject root = QJsonDocument::fromJson(QByteArray::fromStdString(outcome.body)).object();
    QCOMPARE(root.value("producers").toArray().at(0).toObject().value("tcp_port").toInt(), 4150);
    const QByteArray request = lookup.requests().value(0);
    QVERIFY(request.startsWith("GET /nodes HTTP/1.1\r\n"));
    QVERIFY(request.contains("\r\nHost: 127.0.0.1:" + QByteArray::number(lookup.port())));

    const HttpOutcome missing = fetch(lookup.port(), "/nothing");
    QCOMPARE(missing.result, HttpClient::Success);
    QCOMPARE(missing.status, 404);
}

void TstUvLayer::httpFailures()
{
    LogCapture log;
    nsqdouble::LookupDouble lookup;
    QVERIFY(lookup.start());
    // A peer that keeps talking nonsense on an open link still ends the request.
    lookup.setRawAnswer("garbage that is no HTTP\r\n\r\n");
    QCOMPARE(fetch(lookup.port(), "/nodes").result, HttpClient::ParseFail);
    QVERIFY(log.contains("Error :parse http's response error."));
    // Cut short by the close: fewer bytes than announced.
    lookup.setRawAnswer("HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\nabc");
    QCOMPARE(fetch(lookup.port(), "/nodes").result, HttpClient::ParseFail);

    QCOMPARE(fetch(closedPort(), "/nodes").result, HttpClient::ConnectFail);
}

QEL_TEST_CORE_MAIN(TstUvLayer)
#include "tst_uvlayer.moc"
