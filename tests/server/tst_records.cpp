// Records against the cloud service double: tables pulled as SQL text into a
// real SQLite file, each new record acknowledged by the service before the
// local table changes.
#include "cloudendpoint.h"
#include "cloudsimprocess.h"
#include "qeltest.h"

#include <crecordappender.h>
#include <cserverhost.h>
#include <ctablerequest.h>
#include <remoteserver.h>

#include <QSignalSpy>
#include <QSqlQuery>
#include <QTemporaryDir>

using namespace qelmsg;

namespace {

const int kWait = 10000;

} // namespace

class TestRecords : public QObject
{
    Q_OBJECT

    // Pulls table's SQL text from the service and loads it.
    static bool Pull(CTableRequest &request, const QString &table)
    {
        QSignalSpy loaded(&request, &CTableRequest::sigLoaded);
        QSignalSpy failed(&request, &CTableRequest::sigLoadFailed);
        if (!request.Request(table))
            return false;
        (void)QTest::qWaitFor([&] { return !loaded.isEmpty() || !failed.isEmpty(); }, kWait);
        if (!failed.isEmpty())
            qWarning() << failed.first();
        return !loaded.isEmpty() && loaded.first().first().toString() == table;
    }

private slots:
    void acknowledgedThenStored()
    {
        QTemporaryDir dir;
        CloudSim sim(dir.path());
        QVERIFY(sim.WaitReady());
        SetCloudEndpoint(sim.Port());
        remoteServer cloud;
        CServerHost host(nullptr);   // hands the service's answers to the cloud client
        host.SetCloud(&cloud);
        CRecordStore store(dir.filePath(CRecordStore::kFileName));
        QString err;
        QVERIFY2(store.Open(err), qPrintable(err));
        CRecordAppender appender(store, [&cloud](const RecordAppend &r) { cloud.AppendRecord(r); });
        connect(&cloud, &remoteServer::sigRecordAppendResp, &appender, &CRecordAppender::OnAck);
        QSignalSpy stored(&appender, &CRecordAppender::sigStored);
        QSignalSpy remoteFailed(&appender, &CRecordAppender::sigRemoteFailed);
        CTableRequest tables(store, [&cloud](const QString &name) { return cloud.PullFile(name); });
        connect(&cloud, &remoteServer::sigDataBaseFile, &tables, &CTableRequest::OnFile);

        QVERIFY(Pull(tables, CRecordStore::kExFactory));
        QVERIFY(Pull(tables, CRecordStore::kRepair));
        QCOMPARE(store.RowCount(CRecordStore::kExFactory), 0);
        QCOMPARE(store.Stats().PassRate(), QStringLiteral("100.00%(100.00%)"));

        ProgrammerRecord test{2, "00AA11", "2026-03-01 10:00:00", "QEL720C", "测试失败", "屏幕问题"};
        QVERIFY(appender.AppendFactory(test));
        QVERIFY(!appender.AppendFactory(test));   // one at a time
        QVERIFY(stored.wait(kWait));
        QCOMPARE(store.FindUid(CRecordStore::kExFactory, "00AA11"), std::optional<int>(2));

        // Quotes and SQL in the text survive the service, its SQL text and our loader.
        const QString nasty = QStringLiteral("O'Brien \"x\" '; DROP TABLE Repair; --");
        RepairRecord repair;
        repair.id = 1;
        repair.uid = "00BB22";
        repair.model = "QEL720A";
        repair.hwVer = "VER_B";
        repair.abstract = nasty;
        repair.source = "客户返修";
        repair.staff = nasty;
        QVERIFY(appender.AppendRepair(repair, "2026-03-02 11:00:00"));
        QTRY_COMPARE_WITH_TIMEOUT(stored.count(), 2, kWait);
        QVERIFY(Pull(tables, CRecordStore::kRepair));
        QVERIFY(Pull(tables, CRecordStore::kExFactory));
        QSqlQuery q(store.Database());
        QVERIFY(q.exec("SELECT Abstract, Staff, Source FROM Repair"));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toString(), nasty);
        QCOMPARE(q.value(1).toString(), nasty);
        QCOMPARE(q.value(2).toString(), QStringLiteral("客户返修"));
        QVERIFY(!q.next());
        QCOMPARE(store.RowCount(CRecordStore::kExFactory), 1);
        QCOMPARE(remoteFailed.count(), 0);

        // Without a source nothing is sent.
        repair.source.clear();
        QVERIFY(!appender.AppendRepair(repair, "2026-03-03 00:00:00"));
        QVERIFY(!appender.IsWaiting());

        // The service gone: no acknowledgement, the local table stays.
        QVERIFY(sim.Stop());
        repair.source = "产线";
        repair.uid = "00CC33";
        QVERIFY(appender.AppendRepair(repair, "2026-03-04 00:00:00"));
        QVERIFY(remoteFailed.wait(kWait));
        QCOMPARE(remoteFailed.first().first().toInt(), int(RecordAppend::Repair));
        QVERIFY(!store.FindUid(CRecordStore::kRepair, "00CC33"));
        QCOMPARE(store.RowCount(CRecordStore::kRepair), 1);
        QCOMPARE(stored.count(), 2);

        // Nor does a table arrive: reported once, the local one stays.
        QSignalSpy timedOut(&tables, &CTableRequest::sigTimedOut);
        QVERIFY(tables.Request(CRecordStore::kRepair));
        QVERIFY(timedOut.wait(kWait));
        QCOMPARE(timedOut.first().first().toString(), CRecordStore::kRepair);
        QCOMPARE(store.RowCount(CRecordStore::kRepair), 1);
    }
};

QEL_TEST_MAIN(TestRecords)
#include "tst_records.moc"
