// The cloud service double as the suite meets it: a process on a free
// loopback port, spoken to over TCP with the suite's message codecs.
#include "cloudpeer.h"
#include "cloudsimprocess.h"
#include "qeltest.h"

#include <ccloudstore.h>
#include <cofflinecode.h>
#include <csharelimit.h>
#include <csqltext.h>
#include <messages.h>

#include <QDir>
#include <QJsonArray>
#include <QSqlQuery>
#include <QTemporaryDir>

using namespace qelmsg;

namespace {
const QString kUser = QStringLiteral("alice");
const QStringList kUsers = {QStringLiteral("--user"), QStringLiteral("alice:pw"), QStringLiteral("--user"),
                            QStringLiteral("bob:secret")};

QJsonObject Upload(CloudPeer &peer, const QString &uid, const QString &name, const QByteArray &data, qint64 offset = 0)
{
    return peer.Ask(UploadFileReq{name, uid, QString::fromLatin1(data.toBase64()), offset, data.size()}.ToJson());
}

// An image in the store, registered for user with its upload token.
void PutImage(CloudPeer &peer, const QString &user, const QString &name, const QByteArray &data)
{
    QVERIFY(Upload(peer, user, name, data).value("ret").toBool());
    const QJsonObject r = peer.Ask(UpdateImageRecordReq{COfflineCode::Make(user, name), name, "C2"}.ToJson());
    QVERIFY(r.value("ret").toBool());
}

bool Start(CloudSim &sim, CloudPeer &peer)
{
    return sim.WaitReady() && peer.Connect(sim.Port());
}

QString GetImage(CloudPeer &peer, const QString &name)
{
    const GetOfflineImgResp r = GetOfflineImgResp::FromJson(peer.Ask(GetOfflineIMGReq{kUser, name}.ToJson()));
    return r.ret ? QStringLiteral("ok") : r.reason;
}

// The whole file as the double hands it out, piece after piece.
QByteArray Pull(CloudPeer &peer, const QString &name, bool *ok)
{
    QByteArray data;
    *ok = false;
    for (int i = 0; i < 1000; ++i) {
        const PullFileDataResp r = PullFileDataResp::FromJson(peer.Ask(PullFileData{name, data.size()}.ToJson()));
        if (!r.ret || r.name != name || r.offset != data.size())
            return data;
        data += QByteArray::fromBase64(r.ba.toLatin1());
        if (!r.left) {
            *ok = true;
            return data;
        }
    }
    return data;
}
} // namespace

class TestCloudSim : public QObject
{
    Q_OBJECT
private slots:
    void shareLimitsAndRestart()
    {
        QTemporaryDir dir;
        const QString state = dir.path() + QStringLiteral("/state");
        CloudSim sim(state, kUsers);
        CloudPeer peer;
        QVERIFY(Start(sim, peer));

        const QByteArray image(20000, 'i');
        for (const char *name : {"neither.img", "count.img", "days.img", "both.img"})
            PutImage(peer, kUser, QString::fromLatin1(name), image);
        auto share = [&](const char *name, int days, int count) {
            return ShareIMGResp::FromJson(peer.Ask(OfflineIMGShareReq{kUser, name, days, count}.ToJson()));
        };
        QVERIFY(share("neither.img", 0, 0).ret);
        QVERIFY(share("count.img", 0, 2).ret);
        const ShareIMGResp days = share("days.img", 1, 0);
        QVERIFY(days.ret);
        QVERIFY(days.deadLine > QDateTime::currentSecsSinceEpoch() + 86000);
        const ShareIMGResp both = share("both.img", 1, 1);
        QVERIFY(both.ret);
        // The share text is the offline code a client station decodes.
        QString user;
        QString file;
        QCOMPARE(COfflineCode::Parse(both.shareText, user, file), COfflineCode::Ok);
        QCOMPARE(user, kUser);
        QCOMPARE(file, QStringLiteral("both.img"));
        QVERIFY(!share("missing.img", 0, 0).ret);

        for (int i = 0; i < 3; ++i)
            QCOMPARE(GetImage(peer, "neither.img"), QStringLiteral("ok"));
        QCOMPARE(GetImage(peer, "count.img"), QStringLiteral("ok"));
        QCOMPARE(GetImage(peer, "count.img"), QStringLiteral("ok"));
        QCOMPARE(GetImage(peer, "count.img"), QStringLiteral("当前镜像已无权限获取"));
        QCOMPARE(GetImage(peer, "days.img"), QStringLiteral("ok"));
        QCOMPARE(GetImage(peer, "both.img"), QStringLiteral("ok"));
        QCOMPARE(GetImage(peer, "both.img"), QStringLiteral("当前镜像已无权限获取"));

        // A granted image is pulled whole once.
        bool ok = false;
        QCOMPARE(Pull(peer, "days.img", &ok), image);
        QVERIFY(ok);
        Pull(peer, "days.img", &ok);
        QVERIFY(!ok);

        // Records and tables go into the state too.
        peer.Send(UploadRecord{kUser, "p-1.pimg", "backup", 1700000000, "00AA"}.ToJson());
        RecordAppend factory;
        factory.factory = {1, "00AA", "QEL720A", "通过测试", "NULL"};
        QVERIFY(peer.Ask(factory.ToJson()).value("ret").toBool());
        QVERIFY(sim.Stop());

        // Two days later the days limits have run out; the counters stayed.
        CloudSim later(state, {QStringLiteral("--clock-offset"), QStringLiteral("180000")}, sim.Port());
        CloudPeer again;
        QVERIFY(Start(later, again));
        QCOMPARE(GetImage(again, "days.img"), QStringLiteral("当前镜像已经过期，无法获取"));
        QCOMPARE(GetImage(again, "both.img"), QStringLiteral("当前镜像已经过期，无法获取"));
        QCOMPARE(GetImage(again, "count.img"), QStringLiteral("当前镜像已无权限获取"));
        QCOMPARE(GetImage(again, "neither.img"), QStringLiteral("ok"));

        const GetUserOIIResp list = GetUserOIIResp::FromJson(again.Ask(GetUserOIIReq{kUser}.ToJson()));
        QCOMPARE(list.records.size(), 4);
        QMap<QString, OiiItem> byName;
        for (const OiiItem &item : list.records)
            byName.insert(item.name, item);
        QCOMPARE(byName["neither.img"].history, 4);
        QCOMPARE(byName["count.img"].get, 2);
        QCOMPARE(byName["count.img"].max, 2);
        QCOMPARE(byName["both.img"].deadline, both.deadLine);
        QCOMPARE(byName["days.img"].size, qint64(image.size()));

        const ReadRecordResp records = ReadRecordResp::FromJson(again.Ask(ReadRecordReq{kUser}.ToJson()));
        QVERIFY(records.exist);
        QCOMPARE(records.records.size(), 1);
        QCOMPARE(records.records[0].packetName, QStringLiteral("p-1.pimg"));
        QVERIFY(QString::fromUtf8(Pull(again, "ExFactory.sql", &ok)).contains(QStringLiteral("'通过测试'")));

        // The image store's fetch record follows the counters.
        QFile record(state + QStringLiteral("/ftp/custom_bin/record.ini"));
        QVERIFY(record.open(QIODevice::ReadOnly));
        QByteArray plain;
        QVERIFY(COfflineCode::Open(record.readAll(), plain));
        const QJsonArray fetches = QJsonDocument::fromJson(plain).array();
        QCOMPARE(fetches.size(), 4);
        QVERIFY(QFile::exists(state + QStringLiteral("/ftp/custom_bin/qel720a_ftpuser_alice.json")));
        QVERIFY(later.Stop());
    }

    void twoClientsAtOnce()
    {
        QTemporaryDir dir;
        CloudSim sim(dir.path(), kUsers + QStringList{QStringLiteral("--chunk"), QStringLiteral("1000")});
        QVERIFY(sim.WaitReady());
        CloudPeer a;
        CloudPeer b;
        QVERIFY(a.Connect(sim.Port()));
        QVERIFY(b.Connect(sim.Port()));
        PutImage(a, kUser, "shared.img", QByteArray(5000, 's'));
        QVERIFY(a.Ask(OfflineIMGShareReq{kUser, "shared.img", 0, 0}.ToJson()).value("ret").toBool());

        // Both ask before either reads: each gets its own answers, in order.
        a.Send(Login{kUser, "pw"}.ToJson());
        b.Send(Login{"bob", "wrong"}.ToJson());
        a.Send(GetOfflineIMGReq{kUser, "shared.img"}.ToJson());
        b.Send(FindDBLoginReq{"Account", "bob", "secret"}.ToJson());
        const LoginResp la = LoginResp::FromJson(a.Next());
        const LoginResp lb = LoginResp::FromJson(b.Next());
        QVERIFY(la.ret);
        QVERIFY(!lb.ret);
        QCOMPARE(lb.reason, QStringLiteral("用户名或密码错误"));
        QVERIFY(a.Next().value("ret").toBool());
        const FindDBLoginResp db = FindDBLoginResp::FromJson(b.Next());
        QVERIFY(db.correct);
        QCOMPARE(db.loginCount, 1);

        // The grant is a's; b pulls nothing, a the whole image in 1000-byte pieces.
        bool ok = false;
        Pull(b, "shared.img", &ok);
        QVERIFY(!ok);
        QCOMPARE(Pull(a, "shared.img", &ok), QByteArray(5000, 's'));
        QVERIFY(ok);
        QVERIFY(sim.WaitFor(QStringLiteral("pull shared.img offset="), 5));
        QCOMPARE(sim.Output().count(QStringLiteral("pull shared.img offset=")), 5);
        QVERIFY(sim.Stop());
    }

    void badRequestsAreDropped()
    {
        QTemporaryDir dir;
        const QString state = dir.path() + QStringLiteral("/state");
        CloudSim sim(state, kUsers);
        CloudPeer peer;
        QVERIFY(Start(sim, peer));
        peer.SendRaw(CFrameCutter::MakeTcp("not json"));
        peer.SendRaw(CFrameCutter::MakeTcp(R"({"cmd":"format-disk"})"));
        peer.SendRaw(CFrameCutter::MakeTcp(R"(["login"])"));
        QVERIFY(sim.WaitFor(QStringLiteral("dropped: unknown cmd")));
        // The largest message a head can announce, full of nothing.
        peer.SendRaw(CFrameCutter::MakeTcp(QByteArray(CFrameCutter::kMaxTcpMessage, '{')));
        QVERIFY(sim.WaitFor(QStringLiteral("dropped: not a JSON object"), 3));

        // Names that leave the store, data that is not Base64, a gap in the offsets.
        QVERIFY(!Upload(peer, "u1", "../../escape.txt", "x").value("ret").toBool());
        QVERIFY(!Upload(peer, "..", "a.txt", "x").value("ret").toBool());
        QVERIFY(!peer.Ask(UploadFileReq{"b.txt", "u1", "!!not base64!!", 0, 1}.ToJson()).value("ret").toBool());
        QVERIFY(Upload(peer, "u1", "c.txt", "0123").value("ret").toBool());
        const UploadFileResp gap = UploadFileResp::FromJson(Upload(peer, "u1", "c.txt", "89", 8));
        QVERIFY(!gap.ret);
        QCOMPARE(gap.offset, 4);
        QVERIFY(!peer.Ask(PullFileData{"../cloud.db", 0}.ToJson()).value("ret").toBool());
        QVERIFY(!peer.Ask(UpdateImageRecordReq{"garbage", "c.img", "x"}.ToJson()).value("ret").toBool());
        QVERIFY(!peer.Ask(UpdateImageRecordReq{COfflineCode::Make("mallory", "c.img"), "c.img", "x"}.ToJson())
                     .value("ret").toBool());
        QCOMPARE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList{"state"});
        QVERIFY(!QFile::exists(state + QStringLiteral("/escape.txt")));

        // A bad head loses the buffer; the connection goes on.
        peer.SendRaw("\x01\x02\x03\x04\x05\x06\x07");
        QVERIFY(sim.WaitFor(QStringLiteral("dropped: bad head")));
        QVERIFY(peer.Ask(Login{kUser, "pw"}.ToJson()).value("ret").toBool());
        QCOMPARE(peer.Unread(), 0);
        QVERIFY(sim.Stop());
    }

    void shareLimitRule()
    {
        const qint64 now = 1700000000;
        CShareLimit neither = CShareLimit::Share(0, 0, now);
        neither.get = 1000;
        QCOMPARE(neither.Check(now + 1000000), CShareLimit::Granted);
        const CShareLimit days = CShareLimit::Share(2, 0, now);
        QCOMPARE(days.Check(now + 2 * 86400), CShareLimit::Granted);
        QCOMPARE(days.Check(now + 2 * 86400 + 1), CShareLimit::Expired);
        CShareLimit count = CShareLimit::Share(0, 3, now);
        count.get = 2;
        QCOMPARE(count.Check(now), CShareLimit::Granted);
        count.get = 3;
        QCOMPARE(count.Check(now), CShareLimit::Exhausted);
        // Both run out: expiry is what the user is told.
        CShareLimit both = CShareLimit::Share(1, 1, now);
        both.get = 1;
        QCOMPARE(both.Check(now + 90000), CShareLimit::Expired);
    }

    // The tables' SQL text run the way the records dialogs run it: split at ";".
    void sqlTextRebuildsTheTable()
    {
        QTemporaryDir dir;
        CCloudStore store(dir.path());
        QString err;
        QVERIFY2(store.Open(err), qPrintable(err));
        qelmsg::RecordAppend repair;
        repair.recordType = RecordAppend::Repair;
        repair.repair = {7, "00BB", "QEL720C", "VER_B", "it's; broken", "line", "ann", "a;b;c", "new key", "ok"};
        QVERIFY(store.AppendRecord(repair, 1700000000, err));
        const QString text = QString::fromUtf8(store.TableText("Repair", err));
        QVERIFY(!text.isEmpty());

        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "rebuilt");
        db.setDatabaseName(dir.path() + "/local.db");
        QVERIFY(db.open());
        {
            QSqlQuery setup(db);
            QVERIFY(setup.exec("CREATE TABLE Repair(ID INTEGER, stale TEXT)"));
            for (const QString &piece : text.split(QLatin1Char(';'))) {
                if (piece.trimmed().isEmpty())
                    continue;
                QSqlQuery q(db);
                QVERIFY2(q.exec(piece), qPrintable(piece));
            }
            QSqlQuery rows(db);
            QVERIFY(rows.exec("SELECT ID, UID, Abstract, Analysis FROM Repair"));
            QVERIFY(rows.next());
            QCOMPARE(rows.value(0).toInt(), 7);
            QCOMPARE(rows.value(1).toString(), QStringLiteral("00BB"));
            QCOMPARE(rows.value(2).toString(), QStringLiteral("it's; broken"));
            QCOMPARE(rows.value(3).toString(), QStringLiteral("a;b;c"));
            QVERIFY(!rows.next());
        }
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase("rebuilt");
    }
};

QEL_TEST_CORE_MAIN(TestCloudSim)
#include "tst_cloudsim.moc"
