// bench_qelctldownload [programmers...]: "qelctl download" of a 1 MiB image to
// one and to eight simulated VCP programmers (progsim on pseudo-terminals), as
// a script on a production line runs it, and prints the rate beside the bound
// of the protocol's fixed pauses.
//
// The host waits 5 ms after each 1024-byte frame request before it answers,
// so 204.8 kB/s is the most one programmer can get. qelctl keeps that pause
// per programmer, so eight together may reach eight times it. The time of a
// "qelctl list" of the same programmers (the initialisation every command
// does) is measured in the same run and taken off, so what is compared is the
// transfer with its index, refresh and switch. Targets: one programmer at
// least 80% of the bound; each of eight at least 80% of what one gets alone.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <cstdio>
#include <memory>
#include <vector>

namespace {
constexpr int kImageSize = 1024 * 1024;
constexpr double kPauseMs = 5.0;

QString BinDir() { return QCoreApplication::applicationDirPath(); }

struct Sim
{
    std::unique_ptr<QProcess> proc;
    QString port;
};

bool StartSims(int count, const QString &dir, std::vector<Sim> &sims)
{
    for (int i = 0; i < count; ++i) {
        Sim sim;
        sim.proc = std::make_unique<QProcess>();
        sim.port = QStringLiteral("%1/vcp%2").arg(dir).arg(i);
        const QString id = QStringLiteral("%1000000000051353235383233").arg(i + 0x10, 2, 16, QLatin1Char('0')).left(24).toUpper();
        sim.proc->setProcessChannelMode(QProcess::MergedChannels);
        sim.proc->start(BinDir() + QStringLiteral("/progsim"), {QStringLiteral("--vcp"), QStringLiteral("--id"), id,
                                                               QStringLiteral("--link"), sim.port});
        sims.push_back(std::move(sim));
    }
    for (Sim &sim : sims) {
        QByteArray out;
        QElapsedTimer t;
        t.start();
        while (!out.contains(": ready") && t.elapsed() < 10000) {
            sim.proc->waitForReadyRead(100);
            out += sim.proc->readAll();
        }
        if (!out.contains(": ready"))
            return false;
    }
    return true;
}

// Runs qelctl with the ports; milliseconds it took, or -1 when it failed.
qint64 RunQelctl(const QStringList &args, const QStringList &ports, const QString &home)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QEL_VCP_PORTS"), ports.join(QLatin1Char(':')));
    env.insert(QStringLiteral("QEL_PROG_DIRS"), QString());
    env.insert(QStringLiteral("QEL_DATA_DIR"), home + QStringLiteral("/qel-data"));
    env.insert(QStringLiteral("HOME"), home);
    p.setProcessEnvironment(env);
    QElapsedTimer t;
    t.start();
    p.start(BinDir() + QStringLiteral("/qelctl"), args);
    if (!p.waitForFinished(600000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        fprintf(stderr, "qelctl %s: %s\n", qPrintable(args.join(QLatin1Char(' '))), p.readAllStandardError().constData());
        return -1;
    }
    return t.elapsed();
}
} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QList<int> counts;
    for (int i = 1; i < argc; ++i)
        counts << QString::fromLocal8Bit(argv[i]).toInt();
    if (counts.isEmpty())
        counts = {1, 8};
    QTemporaryDir dir;
    const QString home = dir.path() + QStringLiteral("/home");
    QDir().mkpath(home);

    // A 1 MiB image: the program and its 68-byte trailer.
    QByteArray program(kImageSize - 68 - 12, '\0');
    for (int i = 0; i < program.size(); ++i)
        program[i] = char((i * 31 + i / 977) & 0xFF);
    QFile bin(dir.filePath(QStringLiteral("fw.bin")));
    if (!bin.open(QIODevice::WriteOnly) || bin.write(program) != program.size())
        return 1;
    bin.close();
    if (RunQelctl({QStringLiteral("image"), QStringLiteral("build"), QStringLiteral("--program"), QStringLiteral("0:") + bin.fileName(),
                   QStringLiteral("--name"), QStringLiteral("fw"), QStringLiteral("-o"), dir.path() + QLatin1Char('/')},
                  {}, home)
        < 0)
        return 1;
    const QString image = dir.filePath(QStringLiteral("fw.img"));
    const qint64 size = QFileInfo(image).size();
    const double bound = 1024.0 / kPauseMs; // kB/s of one programmer
    printf("image %lld bytes (%lld frames); bound of the pauses %.1f kB/s per programmer\n", size, (size + 1023) / 1024, bound);

    double one = 0;
    int status = 0;
    for (int count : counts) {
        std::vector<Sim> sims;
        const QString simDir = dir.path() + QStringLiteral("/sims%1").arg(count);
        QDir().mkpath(simDir);
        if (!StartSims(count, simDir, sims)) {
            fprintf(stderr, "the simulators did not start\n");
            return 1;
        }
        QStringList ports;
        for (const Sim &s : sims)
            ports << s.port;
        const qint64 init = RunQelctl({QStringLiteral("list")}, ports, home);
        const qint64 total = RunQelctl({QStringLiteral("download"), image, QStringLiteral("--number"), QStringLiteral("1"),
                                        QStringLiteral("--to"), QStringLiteral("all")},
                                       ports, home);
        for (Sim &s : sims) {
            s.proc->terminate();
            s.proc->waitForFinished(5000);
        }
        if (init < 0 || total < 0)
            return 1;
        const qint64 transfer = qMax<qint64>(1, total - init);
        const double each = size / 1000.0 / (transfer / 1000.0);
        if (count == 1)
            one = each;
        printf("%d programmer(s): download %lld ms (initialisation %lld ms, transfer %lld ms); %.1f kB/s each, %.1f kB/s "
               "together; %.0f%% of the bound\n",
               count, total, init, transfer, each, each * count, 100.0 * each / bound);
        const bool ok = count == 1 ? each >= 0.8 * bound : (one <= 0 || each >= 0.8 * one);
        printf("  target %s: %s\n", count == 1 ? "80% of the bound" : "each 80% of one alone", ok ? "met" : "MISSED");
        if (!ok)
            status = 2;
    }
    return status;
}
