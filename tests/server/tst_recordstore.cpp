// The local record database and the loader of the service's SQL text, on real SQLite files.
#include "crecordstore.h"
#include "csqlscript.h"
#include "qeltest.h"

#include <QSqlQuery>
#include <QTemporaryDir>

namespace {

const QString kTables = QStringLiteral(
    "DROP TABLE IF EXISTS ExFactory;\n"
    "CREATE TABLE ExFactory(ID INTEGER, UID TEXT, DateTime TEXT, Model TEXT, Result TEXT, FailReason TEXT);\n"
    "DROP TABLE IF EXISTS Repair;\n"
    "CREATE TABLE Repair(ID INTEGER, DateTime TEXT, UID TEXT, Model TEXT, HWVer TEXT, Abstract TEXT, Source TEXT, "
    "Staff TEXT, Analysis TEXT, Content TEXT, ResultRepair TEXT);\n");

QString Insert(int id, const QString &uid, const QString &result, const QString &reason)
{
    return QStringLiteral("INSERT INTO ExFactory VALUES(%1,'%2','2026-01-01 08:00:00','QEL720A','%3','%4');\n")
        .arg(QString::number(id), uid, result, reason);
}

} // namespace

class TestRecordStore : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<CRecordStore> m_store;

    void Reload(const QString &rows)
    {
        QString err;
        QVERIFY2(m_store->LoadSqlText(kTables + rows, err), qPrintable(err));
    }
    QStringList Column(const QString &sql) const
    {
        QSqlQuery q(m_store->Database());
        QStringList out;
        if (q.exec(sql))
            while (q.next())
                out << q.value(0).toString();
        return out;
    }

private slots:
    void init()
    {
        m_store.reset();
        QFile::remove(m_dir.filePath(CRecordStore::kFileName));
        m_store = std::make_unique<CRecordStore>(m_dir.filePath(CRecordStore::kFileName));
        QString err;
        QVERIFY2(m_store->Open(err), qPrintable(err));
        QVERIFY(QFile::exists(m_dir.filePath(CRecordStore::kFileName)));
    }

    void split_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("statements");
        QTest::newRow("plain") << "a;\n;b ;\n" << QStringList{"a", "b"};
        QTest::newRow("quoted ;") << "INSERT INTO t VALUES('x;y', \"c;d\");b" << QStringList{"INSERT INTO t VALUES('x;y', \"c;d\")", "b"};
        QTest::newRow("doubled quote") << "VALUES('it''s; fine');c" << QStringList{"VALUES('it''s; fine')", "c"};
        QTest::newRow("comments") << "-- a; b\nx; /* y; */ ;z" << QStringList{"-- a; b\nx", "z"};
        QTest::newRow("open quote") << "a;'b; c" << QStringList{"a", "'b; c"};
        QTest::newRow("empty") << "\n;\n; " << QStringList{};
    }
    void split()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, statements);
        QCOMPARE(CSqlScript::Split(text), statements);
    }

    void refused_data()
    {
        QTest::addColumn<QString>("statement");
        QTest::addColumn<bool>("refused");
        QTest::newRow("attach") << "ATTACH DATABASE '/tmp/x.db' AS x" << true;
        QTest::newRow("detach lower") << "detach x" << true;
        QTest::newRow("pragma") << "  PRAGMA writable_schema=1" << true;
        QTest::newRow("after comment") << "/* hi */ attach '/tmp/x' as y" << true;
        QTest::newRow("vacuum into") << "VACUUM INTO '/tmp/copy.db'" << true;
        QTest::newRow("load_extension") << "SELECT load_extension('/tmp/evil.so')" << true;
        QTest::newRow("pragma function") << "SELECT * FROM pragma_database_list" << true;
        QTest::newRow("word in a literal") << "INSERT INTO Repair(Abstract) VALUES('ATTACH; PRAGMA load_extension')" << false;
        QTest::newRow("insert") << "INSERT INTO ExFactory VALUES(1,'a','b','c','d','e')" << false;
        QTest::newRow("create") << "CREATE TABLE \"PRAGMA\"(x)" << false;
    }
    void refused()
    {
        QFETCH(QString, statement);
        QFETCH(bool, refused);
        QCOMPARE(CSqlScript::IsRefused(statement), refused);
    }

    // A text that fails at its last statement, or holds a refused one, leaves
    // the previous table whole.
    void loadIsAllOrNothing()
    {
        Reload(Insert(1, "A1", CRecordStore::kPassed, CRecordStore::kNull) + Insert(2, "A2", "测试失败", "按键问题"));
        QCOMPARE(m_store->RowCount(CRecordStore::kExFactory), 2);

        QString err;
        QVERIFY(!m_store->LoadSqlText(kTables + Insert(1, "B1", CRecordStore::kPassed, CRecordStore::kNull)
                                          + "INSERT INTO NoSuchTable VALUES(1);",
                                      err));
        QVERIFY(err.contains("NoSuchTable"));
        QCOMPARE(Column("SELECT UID FROM ExFactory ORDER BY ID"), (QStringList{"A1", "A2"}));

        const QString attached = m_dir.filePath("other.db");
        err.clear();
        QVERIFY(!m_store->LoadSqlText(kTables + QStringLiteral("ATTACH DATABASE '%1' AS o;").arg(attached), err));
        QVERIFY(err.startsWith("refused"));
        QVERIFY(!QFile::exists(attached));
        QCOMPARE(m_store->RowCount(CRecordStore::kExFactory), 2);
    }

    void statistics_data()
    {
        QTest::addColumn<QString>("rows");
        QTest::addColumn<int>("total");
        QTest::addColumn<int>("failures");
        QTest::addColumn<int>("secondPasses");
        QTest::addColumn<QString>("rate");
        QTest::newRow("empty") << QString() << 1 << 0 << 0 << "100.00%(100.00%)";
        QTest::newRow("mixed") << Insert(1, "A", CRecordStore::kPassed, "NULL") + Insert(2, "B", "测试失败", "SD卡问题")
                                      + Insert(3, "C", CRecordStore::kSecondPass, "NULL")
                               << 4 << 1 << 1 << "75.00%(50.00%)";
        QTest::newRow("result NULL fails") << Insert(1, "A", "NULL", "NULL") << 2 << 1 << 0 << "50.00%(50.00%)";
    }
    void statistics()
    {
        QFETCH(QString, rows);
        Reload(rows);
        const ExFactoryStats stats = m_store->Stats();
        QTEST(stats.total, "total");
        QTEST(stats.failures, "failures");
        QTEST(stats.secondPasses, "secondPasses");
        QTEST(stats.PassRate(), "rate");
    }

    void searches()
    {
        Reload(Insert(1, "A", "测试失败", "按键问题") + Insert(2, "B", "测试失败", "SD卡问题") + Insert(3, "C", CRecordStore::kPassed, "NULL"));
        QCOMPARE(m_store->FindByCondition("测试失败", "NULL"), (QList<int>{1, 2}));
        QCOMPARE(m_store->FindByCondition("测试失败", "SD卡问题"), (QList<int>{2}));
        QVERIFY(m_store->FindByCondition("二测通过", "NULL").isEmpty());
        QCOMPARE(m_store->FindUid(CRecordStore::kExFactory, "C"), std::optional<int>(3));
        QVERIFY(!m_store->FindUid(CRecordStore::kExFactory, "' OR '1'='1"));
        QVERIFY(!m_store->FindUid("ExFactory; DROP TABLE Repair", "A"));
    }

    // New programmers get a row, known ones are updated; text is stored as typed.
    void savesAsTyped()
    {
        Reload(QString());
        const QString nasty = QStringLiteral("it's \"quoted\" '; DROP TABLE Repair; --");
        qelmsg::RepairRecord r;
        r.id = 1;
        r.uid = nasty;
        r.model = "QEL720A";
        r.hwVer = "VER_A";
        r.abstract = nasty;
        r.source = "客户";
        r.staff = "张三";
        r.content = "%1 %2";
        QString err;
        QVERIFY2(m_store->SaveRepair(r, "2026-01-02 03:04:05", err), qPrintable(err));
        QCOMPARE(Column("SELECT Abstract FROM Repair"), QStringList{nasty});
        QCOMPARE(Column("SELECT Content FROM Repair"), QStringList{"%1 %2"});

        r.abstract = "second";
        QVERIFY(m_store->SaveRepair(r, "2026-01-03 00:00:00", err));
        QCOMPARE(Column("SELECT Abstract || '|' || DateTime FROM Repair"), QStringList{"second|2026-01-03 00:00:00"});

        ProgrammerRecord p{2, nasty, "2026-01-02 03:04:05", "QEL720B", "测试失败", "接口问题"};
        QVERIFY2(m_store->SaveExFactory(p, err), qPrintable(err));
        p.result = CRecordStore::kSecondPass;
        p.dateTime = "2026-02-02 00:00:00";
        QVERIFY(m_store->SaveExFactory(p, err));
        QCOMPARE(Column("SELECT ID || UID || DateTime || Model || Result || FailReason FROM ExFactory"),
                 QStringList{"2" + nasty + "2026-02-02 00:00:00QEL720B二测通过接口问题"});
    }

    void repairRequiredFields()
    {
        qelmsg::RepairRecord r;
        r.uid = "A1";
        r.abstract = "no power";
        r.staff = "李四";
        QVERIFY(!CRecordStore::IsComplete(r));
        r.source = " ";
        QVERIFY(!CRecordStore::IsComplete(r));
        r.source = "产线";
        QVERIFY(CRecordStore::IsComplete(r));
    }
};

QEL_TEST_CORE_MAIN(TestRecordStore)
#include "tst_recordstore.moc"
