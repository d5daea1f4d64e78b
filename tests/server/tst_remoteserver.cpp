// The server's cloud client against the cloud service double, started as a
// process on a free loopback port; bad answers from a plain socket.
#include "cloudsimprocess.h"
#include "framereader.h"
#include "qeltest.h"

#include <cofflinecode.h>
#include <cpubactions.h>
#include <cserverhost.h>
#include <packets.h>
#include <remoteserver.h>
#include <serverdefs.h>

#include <QTcpServer>
#include <QTemporaryDir>

using namespace qelmsg;

namespace {

// The program's host with the log kept for the test.
class Host : public CServerHost
{
public:
    Host() : CServerHost(nullptr) {}
    void Log(const QString &text) override { logs.append(text); }
    int Logged(const QString &part) const
    {
        int n = 0;
        for (const QString &line : logs)
            n += line.contains(part) ? 1 : 0;
        return n;
    }
    QStringList logs;
};

// Everything the cloud client hands on.
struct Answers
{
    explicit Answers(remoteServer &cloud)
    {
        QObject::connect(&cloud, &remoteServer::sigConnState, [this](bool on) { states.append(on); });
        QObject::connect(&cloud, &remoteServer::sigRequestDropped, [this](const QString &cmd) { dropped.append(cmd); });
        QObject::connect(&cloud, &remoteServer::sigLoginResp, [this](const LoginResp &a) { logins.append(a); });
        QObject::connect(&cloud, &remoteServer::sigReadRecordResp, [this](const ReadRecordResp &a) { records.append(a); });
        QObject::connect(&cloud, &remoteServer::sigRecordAppendResp, [this](const RecordAppendResp &a) { appends.append(a); });
        QObject::connect(&cloud, &remoteServer::sigFindDBLoginResp, [this](const FindDBLoginResp &a) { dbLogins.append(a); });
        QObject::connect(&cloud, &remoteServer::sigGetUserOIIResp, [this](const GetUserOIIResp &a) { images.append(a); });
        QObject::connect(&cloud, &remoteServer::sigUpdateIMGRecResp, [this](const UpdateIMGRecResp &a) { registered.append(a); });
        QObject::connect(&cloud, &remoteServer::sigDeleteIMGResp, [this](const DeleteIMGResp &a) { deleted.append(a); });
        QObject::connect(&cloud, &remoteServer::sigShareIMGResp, [this](const ShareIMGResp &a) { shares.append(a); });
        QObject::connect(&cloud, &remoteServer::sigUploadProgress,
                         [this](const QString &, const QString &, int percent) { progress.append(percent); });
        QObject::connect(&cloud, &remoteServer::sigUploadDone,
                         [this](const QString &uid, const QString &name) { uploaded.append(uid + '/' + name); });
        QObject::connect(&cloud, &remoteServer::sigUploadFailed,
                         [this](const QString &, const QString &name, const QString &) { uploadFailed.append(name); });
        QObject::connect(&cloud, &remoteServer::sigPullDone,
                         [this](const QString &name, const QString &path) { pulled.insert(name, path); ++pulls; });
        QObject::connect(&cloud, &remoteServer::sigPullFailed,
                         [this](const QString &name, const QString &) { pullFailed.append(name); });
        QObject::connect(&cloud, &remoteServer::sigDataBaseFile,
                         [this](const QString &table, const QString &) { tables.append(table); });
    }
    QList<bool> states;
    QStringList dropped;
    QList<LoginResp> logins;
    QList<ReadRecordResp> records;
    QList<RecordAppendResp> appends;
    QList<FindDBLoginResp> dbLogins;
    QList<GetUserOIIResp> images;
    QList<UpdateIMGRecResp> registered;
    QList<DeleteIMGResp> deleted;
    QList<ShareIMGResp> shares;
    QList<int> progress;
    QStringList uploaded;
    QStringList uploadFailed;
    QMap<QString, QString> pulled;
    int pulls = 0;
    QStringList pullFailed;
    QStringList tables;
};

// The program's side: its host and cloud client, and what the client hands on.
struct Station
{
    Station() { host.SetCloud(&cloud); }
    Host host;
    remoteServer cloud;
    Answers a{cloud};
};

// The cloud endpoint of the server's settings: this port on loopback, no fallback addresses.
void SetEndpoint(int port)
{
    CPubActions ini(false);
    const QString file = ServerDefs::IniFile();
    ini.WriteString("CLOUD", "HOST", "127.0.0.1", file);
    ini.WriteString("CLOUD", "FALLBACK1", "", file);
    ini.WriteString("CLOUD", "FALLBACK2", "", file);
    ini.WriteInt("CLOUD", "PORT", port, file);
}

QByteArray ReadAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

QString WorkFile(const QString &name)
{
    return ServerDefs::WorkDir() + name;
}

const QStringList kUsers = {"--user", "alice:pw"};
const int kWait = 10000;

} // namespace

class TestRemoteServer : public QObject
{
    Q_OBJECT
private slots:
    void everyRequestRoundTrips()
    {
        QTemporaryDir dir;
        CloudSim sim(dir.path(), kUsers);
        QVERIFY(sim.WaitReady());
        SetEndpoint(sim.Port());
        Station s;

        s.cloud.Login("alice", "wrong");
        s.cloud.Login("alice", "pw");
        QTRY_COMPARE_WITH_TIMEOUT(s.a.logins.size(), 2, kWait);
        QVERIFY(s.cloud.IsConnected());
        QCOMPARE(s.a.states, QList<bool>{true});
        QVERIFY(!s.a.logins[0].ret);
        QCOMPARE(s.a.logins[0].reason, QStringLiteral("用户名或密码错误"));
        QVERIFY(s.a.logins[1].ret);

        s.cloud.FindDBLogin("Account", "alice", "pw");
        s.cloud.FindDBLogin("Account", "alice", "pw");
        s.cloud.FindDBLogin("Account", "alice", "nope");
        QTRY_COMPARE_WITH_TIMEOUT(s.a.dbLogins.size(), 3, kWait);
        QVERIFY(s.a.dbLogins[0].correct);
        QCOMPARE(s.a.dbLogins[0].userName, QStringLiteral("alice"));
        QVERIFY(s.a.dbLogins[0].id > 0);
        QCOMPARE(s.a.dbLogins[0].loginCount, 1);
        QCOMPARE(s.a.dbLogins[1].loginCount, 2);
        QVERIFY(!s.a.dbLogins[1].lastLogin.isEmpty());
        QVERIFY(!s.a.dbLogins[2].correct);

        s.cloud.UploadRecord({"alice", "00AA-2026.pimg", "backup", 1765000000, "00AA"});
        s.cloud.ReadRecords("alice");
        s.cloud.ReadRecords("nobody");
        QTRY_COMPARE_WITH_TIMEOUT(s.a.records.size(), 2, kWait);
        QVERIFY(s.a.records[0].exist);
        QCOMPARE(s.a.records[0].records.size(), 1);
        QCOMPARE(s.a.records[0].records[0].packetName, QStringLiteral("00AA-2026.pimg"));
        QCOMPARE(s.a.records[0].records[0].type, QStringLiteral("backup"));
        QCOMPARE(s.a.records[0].records[0].uid, QStringLiteral("00AA"));
        QVERIFY(!s.a.records[1].exist);

        RecordAppend factory;
        factory.factory = {3, "00CC", "QEL720B", "测试失败", "按键问题"};
        RecordAppend other;
        other.recordType = 5;
        s.cloud.AppendRecord(factory);
        s.cloud.AppendRecord(other);
        QTRY_COMPARE_WITH_TIMEOUT(s.a.appends.size(), 2, kWait);
        QVERIFY(s.a.appends[0].ret);
        QCOMPARE(s.a.appends[0].recordType, 0);
        QVERIFY(!s.a.appends[1].ret);
        QCOMPARE(s.a.appends[1].recordType, 5);
        QVERIFY(s.cloud.PullFile("ExFactory.sql"));
        QTRY_COMPARE_WITH_TIMEOUT(s.a.tables, QStringList{"ExFactory"}, kWait);
        QVERIFY(QString::fromUtf8(ReadAll(WorkFile("ExFactory.sql"))).contains("'00CC'"));

        // An offline image: uploaded, registered with its token, listed, shared, deleted.
        QFile image(dir.path() + "/a.img");
        QVERIFY(image.open(QIODevice::WriteOnly) && image.write(QByteArray(1000, 'm')) == 1000);
        image.close();
        QVERIFY(s.cloud.UploadFile("alice", image.fileName()));
        QTRY_COMPARE_WITH_TIMEOUT(s.a.uploaded, QStringList{"alice/a.img"}, kWait);
        s.cloud.UpdateImageRecord(COfflineCode::Make("alice", "a.img"), "a.img", "1A2B");
        s.cloud.UpdateImageRecord("not a token", "a.img", "1A2B");
        s.cloud.GetUserImages("alice");
        QTRY_COMPARE_WITH_TIMEOUT(s.a.images.size(), 1, kWait);
        QCOMPARE(s.a.registered.size(), 2);
        QVERIFY(s.a.registered[0].ret);
        QVERIFY(!s.a.registered[1].ret);
        QVERIFY(!s.a.images[0].empty);
        QCOMPARE(s.a.images[0].records.size(), 1);
        const OiiItem item = s.a.images[0].records[0];
        QCOMPARE(item.name, QStringLiteral("a.img"));
        QCOMPARE(item.size, qint64(1000));
        QCOMPARE(item.crc2, QStringLiteral("1A2B"));
        QVERIFY(item.lastModi > 0);

        s.cloud.ShareImage("alice", "a.img", 2, 5);
        QTRY_COMPARE_WITH_TIMEOUT(s.a.shares.size(), 1, kWait);
        const ShareIMGResp share = s.a.shares[0];
        QVERIFY(share.ret);
        QCOMPARE(share.name, QStringLiteral("a.img"));
        QCOMPARE(share.userName, QStringLiteral("alice"));
        QVERIFY(share.deadLine > QDateTime::currentSecsSinceEpoch() + 2 * 86400 - 600);
        QString user;
        QString file;
        QCOMPARE(COfflineCode::Parse(share.shareText, user, file), COfflineCode::Ok);
        QCOMPARE(file, QStringLiteral("a.img"));

        s.cloud.DeleteImage("alice", "a.img", false);
        s.cloud.DeleteImage("alice", "a.img", false);
        s.cloud.DeleteImage("alice", QString(), true);
        s.cloud.GetUserImages("alice");
        QTRY_COMPARE_WITH_TIMEOUT(s.a.images.size(), 2, kWait);
        QCOMPARE(s.a.deleted.size(), 3);
        QVERIFY(s.a.deleted[0].ret);
        QCOMPARE(s.a.deleted[0].name, QStringLiteral("a.img"));
        QVERIFY(!s.a.deleted[1].ret);
        QVERIFY(s.a.deleted[2].ret && s.a.deleted[2].all);
        QVERIFY(s.a.images[1].empty);
        QCOMPARE(s.host.Logged("无请求等待的应答"), 0);
    }

    void nothingSentWhileNotConnectedAndLossReconnects()
    {
        QTemporaryDir dir;
        int port = 0;
        {
            CloudSim probe(dir.path(), kUsers);
            QVERIFY(probe.WaitReady());
            port = probe.Port();
        }
        SetEndpoint(port);
        Station s;
        QVERIFY(!s.cloud.Link()->SendMessage("{}"));

        // No service: the request never leaves, and the caller hears of it.
        s.cloud.Login("alice", "pw");
        s.cloud.ReadRecords("alice");
        QTRY_COMPARE_WITH_TIMEOUT(s.a.dropped, (QStringList{"login", "read-record"}), kWait);
        QCOMPARE(s.a.states, QList<bool>{false});
        QCOMPARE(s.host.Logged("云服务器连接失败, 请求未发送: login"), 1);

        CloudSim sim(dir.path(), {}, port);
        QVERIFY(sim.WaitReady());
        s.cloud.Login("alice", "pw");
        QTRY_COMPARE_WITH_TIMEOUT(s.a.logins.size(), 1, kWait);
        QVERIFY(s.a.logins[0].ret);
        QVERIFY(sim.WaitFor("login alice"));
        QCOMPARE(sim.Output().count("login alice"), 1);
        QCOMPARE(sim.Output().count("read-record"), 0);

        // The service goes: reported; the next operation connects again.
        QVERIFY(sim.Stop());
        QTRY_COMPARE_WITH_TIMEOUT(s.a.states, (QList<bool>{false, true, false}), kWait);
        QCOMPARE(s.host.Logged("云服务器连接已断开"), 1);
        CloudSim back(dir.path(), {}, port);
        QVERIFY(back.WaitReady());
        s.cloud.ReadRecords("alice");
        QTRY_COMPARE_WITH_TIMEOUT(s.a.records.size(), 1, kWait);
        QCOMPARE(s.a.states, (QList<bool>{false, true, false, true}));
    }

    void pulledFilesStartEmpty()
    {
        QTemporaryDir dir;
        CloudSim sim(dir.path(), kUsers + QStringList{"--chunk", "100"});
        QVERIFY(sim.WaitReady());
        SetEndpoint(sim.Port());
        Station s;

        // A shared image of 0 bytes, fetched as a client station fetches it.
        const QString empty = dir.path() + "/empty.img";
        QFile(empty).open(QIODevice::WriteOnly);
        QVERIFY(s.cloud.UploadFile("alice", empty));
        s.cloud.UpdateImageRecord(COfflineCode::Make("alice", "empty.img"), "empty.img", "0");
        s.cloud.ShareImage("alice", "empty.img", 0, 0);
        QTRY_COMPARE_WITH_TIMEOUT(s.a.shares.size(), 1, kWait);
        QVERIFY(sim.WaitFor("upload alice/empty.img offset=0 bytes=0 kept=0 held=0"));
        ns_prog720a::GetOfflineIMGReqPacket get;
        get.SetData({"alice", "empty.img"});
        QVERIFY(get.Send());
        QVERIFY(s.cloud.PullFile("empty.img"));
        QTRY_VERIFY_WITH_TIMEOUT(s.a.pulled.contains("empty.img"), kWait);
        QCOMPARE(s.a.pulled["empty.img"], WorkFile("empty.img"));
        QCOMPARE(QFileInfo(WorkFile("empty.img")).size(), qint64(0));
        QVERIFY(sim.WaitFor("pull empty.img offset=0 bytes=0 left=0"));
        QCOMPARE(sim.Output().count("pull empty.img offset="), 1);

        // Repair.sql twice, in 100-byte pieces: each pull starts from an empty file.
        QFile stale(WorkFile("Repair.sql"));
        QVERIFY(stale.open(QIODevice::WriteOnly) && stale.write("stale;") == 6);
        stale.close();
        RecordAppend first;
        first.recordType = RecordAppend::Repair;
        first.repair = {1, "00R1", "QEL720A", "VER_A", "no power", "line 2", "li", "fuse", "new fuse", "ok"};
        s.cloud.AppendRecord(first);
        QVERIFY(s.cloud.PullFile("Repair.sql"));
        QTRY_COMPARE_WITH_TIMEOUT(s.a.tables.size(), 1, kWait);
        const QByteArray once = ReadAll(WorkFile("Repair.sql"));
        QVERIFY(!once.contains("stale"));
        QVERIFY(once.contains("'00R1'"));
        RecordAppend second = first;
        second.repair.uid = "00R2";
        s.cloud.AppendRecord(second);
        QVERIFY(s.cloud.PullFile("Repair.sql"));
        QTRY_COMPARE_WITH_TIMEOUT(s.a.tables.size(), 2, kWait);
        const QString twice = QString::fromUtf8(ReadAll(WorkFile("Repair.sql")));
        QCOMPARE(twice.count("CREATE TABLE"), 1);
        QCOMPARE(twice.count("'00R1'"), 1);
        QCOMPARE(twice.count("'00R2'"), 1);
        QVERIFY(sim.WaitFor("pull Repair.sql offset=", 5));
        QCOMPARE(s.a.tables, (QStringList{"Repair", "Repair"}));
    }

    void uploadsGoInChunksFromTheAnsweredOffset()
    {
        QTemporaryDir dir;
        QByteArray data(70000, '\0');
        for (int i = 0; i < data.size(); ++i)
            data[i] = char(i * 7);
        const QString path = dir.path() + "/record_mcu.dat";
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(data) == data.size());
        file.close();

        for (const QString &keep : {QString("0"), QString("30000")}) {
            const QString state = dir.path() + "/state" + keep;
            CloudSim sim(state, {"--upload-keep", keep});
            QVERIFY(sim.WaitReady());
            SetEndpoint(sim.Port());
            Station s;
            QVERIFY(s.cloud.UploadFile("0123456789ABCDEF01234567", path));
            QTRY_COMPARE_WITH_TIMEOUT(s.a.uploaded.size(), 1, kWait);
            QVERIFY(sim.WaitFor("held=70000"));
            const QString log = sim.Output();
            if (keep == "0") {
                QVERIFY(log.contains("offset=0 bytes=32768 kept=32768"));
                QVERIFY(log.contains("offset=32768 bytes=32768 kept=32768"));
                QVERIFY(log.contains("offset=65536 bytes=4464 kept=4464 held=70000"));
                QCOMPARE(s.a.progress, (QList<int>{46, 93}));
            } else {
                // The service kept less each time; the client went on from there.
                QVERIFY(log.contains("offset=0 bytes=32768 kept=30000"));
                QVERIFY(log.contains("offset=30000 bytes=32768 kept=30000"));
                QVERIFY(log.contains("offset=60000 bytes=10000 kept=10000 held=70000"));
            }
            QCOMPARE(log.count("record_mcu.dat offset="), 3);
            QCOMPARE(ReadAll(state + "/uploads/0123456789ABCDEF01234567/record_mcu.dat"), data);
        }
    }

    void badAnswersAreDropped()
    {
        QTcpServer service;
        QVERIFY(service.listen(QHostAddress::LocalHost, 0));
        SetEndpoint(service.serverPort());
        Station s;
        QTemporaryDir outside;
        const QString target = outside.path() + "/target.sql";
        QFile keep(target);
        QVERIFY(keep.open(QIODevice::WriteOnly) && keep.write("keep") == 4);
        keep.close();
        QFile::remove(WorkFile("Repair.sql"));
        QVERIFY(QFile::link(target, WorkFile("Repair.sql")));

        QVERIFY(!s.cloud.PullFile("../escape.sql"));
        QVERIFY(s.cloud.PullFile("Repair.sql"));
        QVERIFY(s.cloud.PullFile("ExFactory.sql"));
        QVERIFY(s.cloud.PullFile("b.bin"));
        s.cloud.ShareImage("alice", "a.img", 0, 0);
        QTRY_VERIFY_WITH_TIMEOUT(service.hasPendingConnections(), kWait);
        QTcpSocket *peer = service.nextPendingConnection();
        FrameReader reader(peer);
        QTRY_COMPARE_WITH_TIMEOUT(reader.Objects().size(), 4, kWait);

        auto answer = [&](const QJsonObject &o) { peer->write(FrameReader::Frame(o)); };
        peer->write(CFrameCutter::MakeTcp("{not json"));
        peer->write(CFrameCutter::MakeTcp(QByteArray(CFrameCutter::kMaxTcpMessage, '[')));
        answer({{"cmd", "loginResp"}, {"ret", true}});
        answer({{"cmd", "pull-filedata-resp"}, {"name", "other.sql"}, {"left", false}, {"ba", "QQ=="}});
        answer({{"cmd", "pull-filedata-resp"}, {"name", "../../x.sql"}, {"ba", "QQ=="}});
        answer({{"cmd", "pull-filedata-resp"}, {"name", "Repair.sql"}, {"left", true}, {"offset", 0}, {"ba", "QUJD"}});
        answer({{"cmd", "pull-filedata-resp"}, {"name", "ExFactory.sql"}, {"left", true}, {"offset", 0}, {"ba", "*not*base64*"}});
        answer({{"cmd", "pull-filedata-resp"}, {"name", "b.bin"}, {"left", true}, {"offset", 7}, {"ba", "QQ=="}});
        answer({{"cmd", "upload-file-resp"}, {"name", "record_mcu.dat"}, {"uid", "1"}, {"offset", 5}});
        // A share answer without its text: the offline code is made here.
        answer({{"cmd", "share-img-resp"}, {"userName", "alice"}, {"name", "a.img"}, {"deadLine", 0}});
        QTRY_COMPARE_WITH_TIMEOUT(s.a.pullFailed.size(), 2, kWait);
        QCOMPARE(s.a.pullFailed, (QStringList{"ExFactory.sql", "b.bin"}));
        QTRY_COMPARE_WITH_TIMEOUT(reader.Objects().size(), 5, kWait); // the next piece of Repair.sql
        QCOMPARE(reader.Objects()[4].value("offset").toInt(), 3);
        QTRY_COMPARE_WITH_TIMEOUT(s.a.shares.size(), 1, kWait);
        QCOMPARE(s.a.shares[0].shareText, COfflineCode::Make("alice", "a.img"));
        QVERIFY(s.a.logins.isEmpty());
        QCOMPARE(s.host.Logged("无请求等待的应答, 已忽略: loginResp"), 1);
        QCOMPARE(s.host.Logged("未请求的文件数据, 已忽略:other.sql"), 1);
        QCOMPARE(s.host.Logged("文件名不合法, 已忽略:../../x.sql"), 1);
        QCOMPARE(s.host.Logged("未上传的文件, 已忽略:record_mcu.dat"), 1);
        QVERIFY(!QFile::exists(WorkFile("ExFactory.sql")));
        QVERIFY(!QFile::exists(WorkFile("b.bin")));

        // The link in the work folder went; its target stayed as it was.
        QCOMPARE(ReadAll(target), QByteArray("keep"));
        QVERIFY(!QFileInfo(WorkFile("Repair.sql")).isSymLink());
        QCOMPARE(ReadAll(WorkFile("Repair.sql")), QByteArray("ABC"));

        // A lost connection ends the pull still running.
        peer->abort();
        QTRY_VERIFY_WITH_TIMEOUT(s.a.pullFailed.contains("Repair.sql"), kWait);
        QVERIFY(!QFile::exists(WorkFile("Repair.sql")));
    }
};

QEL_TEST_MAIN(TestRemoteServer)
#include "tst_remoteserver.moc"
