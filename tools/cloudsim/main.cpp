// cloudsim: the cloud service double for tests and the demo.
//   cloudsim --state <folder> [--listen 127.0.0.1] [--port 61690] [--user name:password]...
//            [--users <file.json>] [--chunk 32768] [--upload-keep 0] [--clock-offset 0]
#include "ccloudserver.h"
#include "ccloudservice.h"
#include "ccloudstore.h"
#include "csignalquit.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

namespace {

void Log(const QString &text)
{
    static QTextStream out(stdout);
    out << QStringLiteral("[%1] cloudsim: %2").arg(QDateTime::currentDateTime().toString(QStringLiteral("hh:mm:ss.zzz")), text)
        << Qt::endl;
}

// "name:password" from the command line and [{"user": ..., "password": ...}] from a file.
bool AddUsers(CCloudStore &store, const QStringList &pairs, const QString &file, QString &err)
{
    QList<QPair<QString, QString>> users;
    for (const QString &pair : pairs) {
        const int colon = pair.indexOf(QLatin1Char(':'));
        if (colon <= 0) {
            err = QStringLiteral("--user needs name:password, got \"%1\"").arg(pair);
            return false;
        }
        users.append({pair.left(colon), pair.mid(colon + 1)});
    }
    if (!file.isEmpty()) {
        QFile f(file);
        if (!f.open(QIODevice::ReadOnly) || f.size() > 1024 * 1024) {
            err = QStringLiteral("cannot read the users file ") + file;
            return false;
        }
        const QJsonDocument doc = QJsonDocument::fromJson(f.readAll());
        if (!doc.isArray()) {
            err = QStringLiteral("the users file must hold a JSON array of {\"user\", \"password\"}");
            return false;
        }
        for (const QJsonValue &v : doc.array())
            users.append({v.toObject().value(QStringLiteral("user")).toString(),
                          v.toObject().value(QStringLiteral("password")).toString()});
    }
    for (const auto &user : users) {
        if (!store.AddUser(user.first, user.second, err))
            return false;
        Log(QStringLiteral("user %1").arg(user.first));
    }
    return true;
}

bool Number(const QString &text, qint64 min, qint64 max, qint64 &out)
{
    bool ok = false;
    out = text.toLongLong(&ok);
    return ok && out >= min && out <= max;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("cloudsim"));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Cloud service double: answers the cloud requests of the suite on TCP, keeping users, uploaded files, "
        "offline images with their share limits, operation records and the factory-test and repair tables in "
        "the state folder. It logs one line per event on standard output and \"ready\" once up; SIGINT or "
        "SIGTERM stops it."));
    parser.addHelpOption();
    const QCommandLineOption state(QStringLiteral("state"), QStringLiteral("Folder of the service's state (created)."),
                                   QStringLiteral("folder"));
    const QCommandLineOption listen(QStringLiteral("listen"), QStringLiteral("Address to listen on (default 127.0.0.1)."),
                                    QStringLiteral("address"), QStringLiteral("127.0.0.1"));
    const QCommandLineOption port(QStringLiteral("port"), QStringLiteral("Port (default 61690; 0 picks a free one)."),
                                  QStringLiteral("port"), QStringLiteral("61690"));
    const QCommandLineOption user(QStringLiteral("user"), QStringLiteral("Adds or updates a user (repeatable)."),
                                  QStringLiteral("name:password"));
    const QCommandLineOption users(QStringLiteral("users"),
                                   QStringLiteral("Adds the users of a JSON file: [{\"user\": ..., \"password\": ...}]."),
                                   QStringLiteral("file"));
    const QCommandLineOption chunk(QStringLiteral("chunk"), QStringLiteral("Bytes per pulled piece (default 32768)."),
                                   QStringLiteral("bytes"), QStringLiteral("32768"));
    const QCommandLineOption keep(QStringLiteral("upload-keep"),
                                  QStringLiteral("Keep at most this many bytes of each uploaded chunk, so the client "
                                                 "goes on from the offset answered (default 0: all)."),
                                  QStringLiteral("bytes"), QStringLiteral("0"));
    const QCommandLineOption clock(QStringLiteral("clock-offset"),
                                   QStringLiteral("Seconds added to the service's clock (default 0)."),
                                   QStringLiteral("seconds"), QStringLiteral("0"));
    parser.addOptions({state, listen, port, user, users, chunk, keep, clock});
    parser.process(app);

    QTextStream err(stderr);
    CCloudService::Options options;
    qint64 portValue = 0;
    qint64 value = 0;
    QHostAddress address;
    if (!parser.isSet(state) || !address.setAddress(parser.value(listen))
        || !Number(parser.value(port), 0, 65535, portValue) || !Number(parser.value(chunk), 1, 40000, value)) {
        err << "cloudsim: needs --state <folder>, an address, a port of 0-65535 and a chunk of 1-40000 bytes; see --help"
            << Qt::endl;
        return 2;
    }
    options.nPullChunk = int(value);
    if (!Number(parser.value(keep), 0, 1 << 20, options.nUploadKeep)
        || !Number(parser.value(clock), -(qint64(1) << 40), qint64(1) << 40, options.nClockOffset)) {
        err << "cloudsim: --upload-keep and --clock-offset need numbers" << Qt::endl;
        return 2;
    }

    CCloudStore store(parser.value(state));
    QString why;
    if (!store.Open(why) || !AddUsers(store, parser.values(user), parser.value(users), why)) {
        err << "cloudsim: " << why << Qt::endl;
        return 1;
    }
    // Catch the stop signals before saying "ready", so a caller may stop us at once.
    CSignalQuit quit;
    CCloudService service(store, options, Log);
    CCloudServer server(service, Log);
    if (!server.Listen(address, quint16(portValue), why)) {
        err << "cloudsim: " << why << Qt::endl;
        return 1;
    }
    QObject::connect(&quit, &CSignalQuit::sigQuit, &app, [](int signo) {
        Log(QStringLiteral("stopping on signal %1").arg(signo));
        QCoreApplication::quit();
    });
    Log(QStringLiteral("listening on %1:%2").arg(address.toString()).arg(server.Port()));
    Log(QStringLiteral("ready"));
    return app.exec();
}
