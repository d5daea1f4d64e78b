// bench_usbdownload [programmers...]: sends a 1 MiB "update.bin" through the
// USB console to one and to eight simulated VCP programmers (progsim on
// pseudo-terminals) and prints bytes per second beside the bound that the
// protocol's fixed pauses allow, and the longest stall of the GUI thread.
//
// Per 1024-byte frame the host waits 5 ms after each frame request before it
// answers, so 1024 bytes per 5 ms (204.8 kB/s) is the most one programmer can
// get. Targets: one programmer at least 90% of that bound; eight together at
// least 6 times one; the GUI thread never busy with one event for more than
// 20 ms. The gap between the ticks of a 1 ms timer is printed too: on a busy
// machine it also holds the time the system gave the CPU to others.
#include "cmainhost.h"
#include "cusbconsole.h"
#include "cusbcrc.h"

#include <burnhub.h>

#include <QCoreApplication>
#include <QLoggingCategory>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

namespace {
constexpr int kFileSize = 1024 * 1024;
constexpr double kPauseMs = 5.0;

class BenchHost : public CMainHost
{
public:
    CUsbConsole *console = nullptr;
    void OnUsbFrame(const QByteArray &frame, const QString &key) override
    {
        if (console)
            console->RecvFrame(frame, key);
    }
    void Log(const QString &) override {}
};

// Runs the event loop until cond holds; false after ms.
bool waitUntil(const std::function<bool()> &cond, int ms)
{
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&]() {
        if (cond())
            loop.quit();
    });
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    poll.start(1);
    if (!cond())
        loop.exec();
    return cond();
}

// The longest gap between the ticks of a 1 ms timer on the GUI thread, less
// the tick itself: how long the thread was kept from its events.
class StallMeter
{
public:
    StallMeter()
    {
        m_timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&m_timer, &QTimer::timeout, [this]() {
            const qint64 now = m_clock.nsecsElapsed();
            m_nMax = qMax(m_nMax, now - m_nLast);
            m_nLast = now;
        });
    }
    void Start()
    {
        m_clock.start();
        m_nLast = 0;
        m_nMax = 0;
        m_timer.start(1);
    }
    double StopMs()
    {
        m_timer.stop();
        return qMax(0.0, m_nMax / 1e6 - 1.0);
    }

private:
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_nLast = 0;
    qint64 m_nMax = 0;
};

// Times every event the GUI thread handles: the longest one is the longest
// time the program's own code kept the thread from its other events.
class TimedApp : public QCoreApplication
{
public:
    using QCoreApplication::QCoreApplication;
    bool notify(QObject *receiver, QEvent *event) override
    {
        if (m_nDepth++ > 0) {
            const bool done = QCoreApplication::notify(receiver, event);
            --m_nDepth;
            return done;
        }
        QElapsedTimer t;
        t.start();
        const bool done = QCoreApplication::notify(receiver, event);
        m_nLongest = qMax(m_nLongest, t.nsecsElapsed());
        --m_nDepth;
        return done;
    }
    void Reset() { m_nLongest = 0; }
    double LongestMs() const { return m_nLongest / 1e6; }

private:
    int m_nDepth = 0;
    qint64 m_nLongest = 0;
};

double g_oneRate = 0; // bytes per second of one programmer

// One run: n programmers, each sent the file once, all at the same time.
bool run(int n, const QString &file, const QString &dir)
{
    std::vector<std::unique_ptr<QProcess>> sims;
    QStringList links;
    for (int i = 0; i < n; ++i) {
        const QString link = QStringLiteral("%1/vcp%2_%3").arg(dir).arg(n).arg(i);
        auto sim = std::make_unique<QProcess>();
        sim->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        sim->start(QCoreApplication::applicationDirPath() + QStringLiteral("/progsim"),
                   {QStringLiteral("--vcp"), QStringLiteral("--id"), QStringLiteral("B0000000C0000000D00000%1").arg(n * 10 + i, 2, 10, QLatin1Char('0')),
                    QStringLiteral("--dir"), QStringLiteral("%1/prog%2_%3").arg(dir).arg(n).arg(i), QStringLiteral("--link"), link});
        QProcess *p = sim.get();
        QByteArray out;
        if (!waitUntil([&]() { out += p->readAllStandardOutput(); return out.contains(": ready"); }, 20000)) {
            std::fprintf(stderr, "progsim did not start\n");
            return false;
        }
        sims.push_back(std::move(sim));
        links << link;
    }

    BenchHost host;
    CMainHost::SetInstance(&host);
    CUsbConsole console;
    host.console = &console;
    console.SetWorkDir(dir);
    for (const QString &link : links)
        console.AddVcpProg(link);
    const bool ready = waitUntil([&]() {
        for (const QString &link : links)
            if (!console.Find(link) || !console.Find(link)->m_bInit)
                return false;
        return true;
    }, 60000);
    if (!ready) {
        std::fprintf(stderr, "programmers not initialised\n");
        CMainHost::SetInstance(nullptr);
        return false;
    }

    int done = 0;
    int failed = 0;
    QObject::connect(&console, &CUsbConsole::sigFileResult, [&](const QString &, const QString &, bool ok) {
        ++done;
        failed += ok ? 0 : 1;
    });
    StallMeter stall;
    QElapsedTimer timer;
    stall.Start();
    static_cast<TimedApp *>(QCoreApplication::instance())->Reset();
    timer.start();
    for (const QString &link : links)
        console.SendFileToProger(link, file);
    const bool finished = waitUntil([&]() { return done == n; }, 600000);
    const double secs = timer.nsecsElapsed() / 1e9;
    const double stallMs = stall.StopMs();
    const double eventMs = static_cast<TimedApp *>(QCoreApplication::instance())->LongestMs();
    CMainHost::SetInstance(nullptr);
    if (!finished || failed) {
        std::fprintf(stderr, "download did not finish (%d of %d, %d failed)\n", done, n, failed);
        return false;
    }
    for (auto &sim : sims) {
        sim->terminate();
        sim->waitForFinished(5000);
    }
    const double total = double(kFileSize) * n;
    const double rate = total / secs;
    const double bound = 1024.0 / (kPauseMs / 1000.0);
    std::printf("%d programmer(s): %.0f bytes in %.2f s = %.1f kB/s together, %.1f kB/s each; "
                "bound of the 5 ms pause %.1f kB/s per programmer (each at %.0f%%); "
                "GUI thread: longest event %.1f ms (target at most 20), longest gap between 1 ms ticks %.1f ms\n",
                n, total, secs, rate / 1000.0, rate / 1000.0 / n, bound / 1000.0, 100.0 * rate / n / bound, eventMs, stallMs);
    if (n == 1) {
        g_oneRate = rate;
        std::printf("  target: one programmer at least 90%% of the bound: %s\n", rate >= 0.9 * bound ? "met" : "NOT met");
    } else if (g_oneRate > 0) {
        std::printf("  target: %d programmers together at least 6 times one (%.2f times): %s\n", n, rate / g_oneRate,
                    rate >= 6 * g_oneRate ? "met" : "NOT met");
    }
    std::fflush(stdout);
    return true;
}
} // namespace

int main(int argc, char *argv[])
{
    TimedApp app(argc, argv);
    // One debug line per frame would cost more than the frames.
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));
    QTemporaryDir tmp;
    qputenv("QEL_DATA_DIR", tmp.filePath(QStringLiteral("data")).toLocal8Bit());
    QByteArray data(kFileSize, '\0');
    for (int i = 0; i < kFileSize; ++i)
        data[i] = char((i * 7 + i / 1024) & 0xFF);
    const QString file = tmp.filePath(QStringLiteral("update.bin"));
    QFile f(file);
    if (!f.open(QIODevice::WriteOnly) || f.write(data) != data.size())
        return 1;
    f.close();
    std::printf("file: %d bytes, %d frames, crc32 %08X\n", kFileSize, kFileSize / 1024, CUsbCrc::Crc32(data));

    QList<int> counts = {1, 8};
    if (argc > 1) {
        counts.clear();
        for (int i = 1; i < argc; ++i)
            counts << QString::fromLocal8Bit(argv[i]).toInt();
    }
    bool ok = true;
    for (int n : counts)
        ok = run(qBound(1, n, CUsbConsole::kSlots), file, tmp.path()) && ok;
    BurnHub::Exitance();
    return ok ? 0 : 1;
}
