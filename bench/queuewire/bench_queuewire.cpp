// Throughput of queuewire through the NSQ doubles on loopback:
//   1. publishing with QueueWire::AddPubMessage (drained one message per 1 ms tick),
//   2. the same messages written by a bare NsqProducer in one burst (no tick),
//   3. consuming: the nsqd double sends, HandleTopicMsg counts on the GUI thread.
// The design bounds publishing near 1000 messages per second; the bare producer
// shows what the link itself carries. Usage: bench_queuewire [messages]
#include "logwriter.h"
#include "nsqdoubles.h"
#include "nsqproducer.h"
#include "queuewire.h"

#include "eventloop.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdio>
#include <functional>
#include <thread>

namespace {

class Counter : public QueueWire
{
public:
    void HandleTopicMsg(const QByteArray &, const QString &) override { ++received; }
    void HandleConnState(bool connected) override { up = connected; }
    int received = 0;
    bool up = false;
};

bool waitFor(const std::function<bool()> &done, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 2);
    }
    return true;
}

void report(const char *what, int count, qint64 ns)
{
    const double seconds = double(ns) / 1e9;
    const double rate = count / seconds;
    std::fprintf(stderr, "%-34s %6d msgs in %8.3f s = %9.0f msg/s (%.2fx the 1000 msg/s bound)\n", what, count, seconds,
                 rate, rate / 1000.0);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int count = argc > 1 ? std::max(1, atoi(argv[1])) : 2000;

    // Figures only: the per-message log lines are produced but not printed.
    uv::LogWriter::Instance()->registerLogCallback([](int, const std::string &) {});
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &text) {
        if (type != QtDebugMsg)
            std::fprintf(stderr, "%s\n", qPrintable(text));
    });

    nsqdouble::NsqDoubles doubles;
    if (!doubles.start(1)) {
        std::fprintf(stderr, "cannot start the NSQ doubles\n");
        return 1;
    }
    nsqdouble::NsqdDouble &node = doubles.node(0);
    const QByteArray body(100, 'x');

    Counter wire;
    wire.RunInst({"bench_in"}, "127.0.0.1", doubles.lookupPort());
    if (!waitFor([&] { return wire.up && node.openConnections() == 2 && !node.commands("RDY").isEmpty(); }, 10000)) {
        std::fprintf(stderr, "queuewire did not connect\n");
        return 1;
    }

    // 1. QueueWire publishing.
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < count; ++i)
        wire.AddPubMessage("bench_out", body);
    if (!waitFor([&] { return node.published("bench_out").size() >= count; }, count * 20 + 10000)) {
        std::fprintf(stderr, "publishing stalled at %d\n", int(node.published("bench_out").size()));
        return 1;
    }
    report("QueueWire::AddPubMessage", count, timer.nsecsElapsed());

    // 2. A bare producer on its own loop, all messages at once.
    {
        uv::EventLoop loop;
        std::unique_ptr<nsq::NsqProducer> producer;
        loop.runInLoop([&] { producer = std::make_unique<nsq::NsqProducer>(&loop, uv::SocketAddr("127.0.0.1", node.tcpPort())); });
        std::thread thread([&loop] { loop.run(); });
        const int before = node.connectionCount();
        waitFor([&] { return node.connectionCount() > before && node.received(node.connectionCount()).size() >= 4; }, 5000);
        timer.restart();
        loop.runInLoop([&] {
            for (int i = 0; i < count; ++i)
                producer->publish("bench_raw", body.toStdString());
        });
        waitFor([&] { return node.published("bench_raw").size() >= count; }, 60000);
        report("NsqProducer burst (no tick)", int(node.published("bench_raw").size()), timer.nsecsElapsed());
        loop.runInLoop([&] { producer.reset(); });
        loop.stop();
        thread.join();
    }

    // 3. Consuming through QueueWire onto the GUI thread.
    timer.restart();
    for (int i = 0; i < count; ++i)
        node.publish("bench_in", body);
    const qint64 sent = timer.nsecsElapsed();
    if (!waitFor([&] { return wire.received >= count; }, 60000)) {
        std::fprintf(stderr, "consuming stalled at %d\n", wire.received);
        return 1;
    }
    report("HandleTopicMsg (consume)", count, timer.nsecsElapsed());
    std::fprintf(stderr, "  (the double itself took %.3f s to hand out the %d messages)\n", double(sent) / 1e9, count);

    wire.CloseInst();
    wire.Exitance();
    return 0;
}
