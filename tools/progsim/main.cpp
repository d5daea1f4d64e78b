// progsim: a simulated programmer for tests and the demo.
//   progsim --disk <folder> --id <24 hex> [--model QEL720A] [--ver V2.1.5] [--hw H1.0] [--keep]
#include "burnhub.h"
#include "cdisksim.h"
#include "csignalquit.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

#include <memory>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("progsim"));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Simulated QEL programmer. On SIGINT or SIGTERM it is unplugged: "
                                                    "its identity file is removed (unless --keep)."));
    parser.addHelpOption();
    const QCommandLineOption disk(QStringLiteral("disk"), QStringLiteral("Programmer disk mode: keep the programmer folder <folder>."),
                                  QStringLiteral("folder"));
    const QCommandLineOption id(QStringLiteral("id"), QStringLiteral("Programmer ID, 24 hexadecimal digits."), QStringLiteral("id"));
    const QCommandLineOption model(QStringLiteral("model"), QStringLiteral("Model word (default QEL720A)."),
                                   QStringLiteral("model"), QStringLiteral("QEL720A"));
    const QCommandLineOption ver(QStringLiteral("ver"), QStringLiteral("Firmware version (default V2.1.5)."),
                                 QStringLiteral("version"), QStringLiteral("V2.1.5"));
    const QCommandLineOption hw(QStringLiteral("hw"), QStringLiteral("Hardware version (default H1.0)."),
                                QStringLiteral("hw"), QStringLiteral("H1.0"));
    const QCommandLineOption keep(QStringLiteral("keep"), QStringLiteral("Keep the identity file when stopping."));
    parser.addOptions({disk, id, model, ver, hw, keep});
    parser.process(app);

    QTextStream err(stderr);
    if (!parser.isSet(disk)) {
        err << "progsim: choose a mode (--disk <folder>); see --help" << Qt::endl;
        return 2;
    }
    SimIdentity identity;
    identity.strID = parser.value(id).toUpper();
    identity.strModel = parser.value(model);
    identity.strVer = parser.value(ver);
    identity.strHW = parser.value(hw);
    QString why;
    if (!identity.Check(why)) {
        err << "progsim: " << why << Qt::endl;
        return 2;
    }

    // Catch the stop signals before saying "ready", so a caller may stop us at once.
    CSignalQuit quit;
    auto device = std::make_unique<CDiskSim>(parser.value(disk), identity);
    device->SetKeepIdentity(parser.isSet(keep));
    QObject::connect(&quit, &CSignalQuit::sigQuit, &app, [&device]() {
        device->Stop();
        QCoreApplication::quit();
    });
    if (!device->Start(why)) {
        err << "progsim: " << why << Qt::endl;
        return 1;
    }
    const int ret = app.exec();
    device.reset();
    BurnHub::Exitance();
    return ret;
}
