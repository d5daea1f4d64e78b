#include "clioptions.h"

namespace CliOptions {

QCommandLineOption Timeout(int defaultSeconds)
{
    return QCommandLineOption(QStringLiteral("timeout"), QStringLiteral("Seconds to wait for the programmers (default %1).").arg(defaultSeconds),
                              QStringLiteral("s"), QString::number(defaultSeconds));
}

bool TimeoutMs(const QCommandLineParser &parser, int &ms, QString &err)
{
    bool ok = false;
    const double s = parser.value(QStringLiteral("timeout")).toDouble(&ok);
    if (!ok || s <= 0 || s > 3600) {
        err = QStringLiteral("--timeout needs seconds between 0 and 3600, got \"%1\"").arg(parser.value(QStringLiteral("timeout")));
        return false;
    }
    ms = int(s * 1000);
    return true;
}

} // namespace CliOptions
