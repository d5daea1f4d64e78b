// Resident memory after many peer messages with repeated keys, read by the
// suite's ParsePacket and, as the peer, by Qt's own QJsonDocument::fromJson.
//   bench_peerjson [parses]   (default 200000)
#include "besttime.h"

#include <packet.h>

#include <QByteArray>
#include <QFile>
#include <QJsonDocument>

#include <cstdio>
#include <memory>

namespace {

// Resident set size of this process, in MB.
double RssMb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    }
    return -1;
}

} // namespace

int main(int argc, char *argv[])
{
    const int parses = argc > 1 ? QByteArray(argv[1]).toInt() : 200000;
    const QByteArray text = R"({"cmd":"file-save","name":"a.img","k":[{}],"k":[{}],"result":true})";

    const double start = RssMb();
    const double ours = qelbench::Best(
        [&] {
            for (int i = 0; i < parses; ++i)
                std::unique_ptr<ns_prog720a::RecvPacket> packet(ns_prog720a::ParsePacket(text));
            return true;
        },
        1);
    const double afterOurs = RssMb();
    std::printf("ParsePacket       %d parses: %8.1f ms, RSS %7.1f -> %7.1f MB (+%.1f)\n", parses, ours, start,
                afterOurs, afterOurs - start);

    const double qt = qelbench::Best(
        [&] {
            for (int i = 0; i < parses; ++i)
                QJsonDocument::fromJson(text);
            return true;
        },
        1);
    const double afterQt = RssMb();
    std::printf("QJsonDocument     %d parses: %8.1f ms, RSS %7.1f -> %7.1f MB (+%.1f)\n", parses, qt, afterOurs,
                afterQt, afterQt - afterOurs);
    std::printf("target: ParsePacket grows by less than 5 MB whatever the count\n");
    return 0;
}
