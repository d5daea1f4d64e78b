// Lists the programmers this PC can see: mounted programmer disks and the
// folders of the programmer search list.
#include "burnhub.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    BurnHub *hub = BurnHub::Instance();
    const QStringList args = app.arguments().mid(1);
    if (!args.isEmpty())
        hub->SetSearchDirs(args);

    const QList<ProgerInfo> programmers = hub->GetProgerList();
    out << "Searched: " << hub->GetSearchDirs().join(QLatin1String(", ")) << " and the mounted volumes\n";
    out << programmers.size() << " programmer(s) found\n";
    for (const ProgerInfo &info : programmers) {
        out << QStringLiteral("  %1  ID=%2 MODEL=%3 VER=%4 HW=%5  at %6\n")
                   .arg(info.GetDesc(), -16)
                   .arg(info.m_strID, info.m_strModel, info.m_strVer, info.m_strHW, info.m_strRoot);
    }
    BurnHub::Exitance();
    return 0;
}
