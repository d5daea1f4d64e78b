#include "qeltest.h"

#include "cpubactions.h"
#include "functool.h"

class TestPubActions : public QObject
{
    Q_OBJECT

private slots:
    void roundTripsInBothFolders_data()
    {
        QTest::addColumn<bool>("qelDir");
        QTest::newRow("data folder") << true;
        QTest::newRow("per-user folder") << false;
    }

    void roundTripsInBothFolders()
    {
        QFETCH(bool, qelDir);
        const QString file = qelDir ? QStringLiteral("data.ini") : QStringLiteral("user.ini");
        CPubActions pub(qelDir);
        const QString expectedDir = (qelDir ? FuncTool::GetQELDir() : FuncTool::GetAppDataDir()) + "ini/";
        QCOMPARE(pub.IniPath(file), expectedDir + file);

        QVERIFY(pub.WriteInt("IMAGE", "INDEX", 42, file));
        QVERIFY(pub.WriteString("IMAGE", "NAME", QStringLiteral("镜像,一"), file));
        QVERIFY(pub.WriteStringList("SCAN", "PORTS", {"COM1", "COM2"}, file));

        // A fresh object reads what the file holds.
        CPubActions other(qelDir);
        QCOMPARE(other.GetInt("IMAGE", "INDEX", 0, file), 42);
        QCOMPARE(other.GetString("IMAGE", "NAME", QString(), file), QStringLiteral("镜像,一"));
        QCOMPARE(other.GetStringList("SCAN", "PORTS", {}, file), (QStringList{"COM1", "COM2"}));
        QCOMPARE(other.GetString("SCAN", "PORTS", QString(), file), QStringLiteral("COM1,COM2"));
        QCOMPARE(other.GetInt("IMAGE", "MISSING", 7, file), 7);
        QCOMPARE(other.GetString("IMAGE", "MISSING", "dflt", file), QStringLiteral("dflt"));

        // UTF-8 text on disk, in the chosen folder only.
        const QByteArray bytes = FuncTool::ReadFile(expectedDir + file);
        QVERIFY(bytes.contains(QStringLiteral("镜像").toUtf8()));
        const QString otherDir = (qelDir ? FuncTool::GetAppDataDir() : FuncTool::GetQELDir()) + "ini/";
        QVERIFY(!QFileInfo::exists(otherDir + file));
        QVERIFY(pub.GetLastModify(file).isValid());
        QVERIFY(!pub.GetLastModify("never-written.ini").isValid());
    }

    void keysAndDeletion()
    {
        const QString file = QStringLiteral("keys.ini");
        CPubActions pub;
        QVERIFY(pub.WriteInt("BIN", "1", 1, file));
        QVERIFY(pub.WriteInt("BIN", "2", 2, file));
        QVERIFY(pub.WriteInt("KEEP", "x", 3, file));
        QStringList keys = pub.GetKeys("BIN", file);
        keys.sort();
        QCOMPARE(keys, (QStringList{"1", "2"}));

        QVERIFY(pub.DeleteItem("BIN", "1", file));
        QCOMPARE(pub.GetKeys("BIN", file), QStringList{"2"});
        QVERIFY(pub.DeleteGroup("BIN", file));
        QVERIFY(pub.GetKeys("BIN", file).isEmpty());

        // An empty group or key must not wipe the file.
        QVERIFY(!pub.DeleteGroup(QString(), file));
        QVERIFY(!pub.DeleteItem("KEEP", QString(), file));
        QCOMPARE(CPubActions().GetInt("KEEP", "x", 0, file), 3);
    }

    void switchingFilesAndCopies()
    {
        CPubActions pub;
        QVERIFY(pub.WriteString("A", "k", "one", "first.ini"));
        QVERIFY(pub.WriteString("A", "k", "two", "second.ini"));
        QCOMPARE(pub.GetString("A", "k", QString(), "first.ini"), QStringLiteral("one"));

        CPubActions copy(pub);
        QVERIFY(copy.WriteString("A", "k", "three", "first.ini"));
        QCOMPARE(pub.GetString("A", "k", QString(), "first.ini"), QStringLiteral("three"));
        copy = CPubActions(false);
        QCOMPARE(copy.GetString("A", "k", "none", "first.ini"), QStringLiteral("none"));
        QCOMPARE(pub.GetString("A", "k", QString(), "second.ini"), QStringLiteral("two"));
    }

    void damagedFiles()
    {
        CPubActions pub;
        const QString file = QStringLiteral("damaged.ini");
        static const char damaged[] = "[UI\nLANGUAGE=abc\n\0\xff\xfe=\n[";
        QVERIFY(FuncTool::WriteFile(pub.IniPath(file), QByteArray(damaged, int(sizeof(damaged)) - 1)));
        QCOMPARE(pub.GetInt("UI", "LANGUAGE", 5, file), 5);
        QCOMPARE(pub.GetString("NONE", "x", "d", file), QStringLiteral("d"));

        const QString hand = QStringLiteral("hand.ini");
        QVERIFY(FuncTool::WriteFile(pub.IniPath(hand), QByteArray("[UI]\nLANGUAGE=junk\nCOUNT= 12 \n")));
        QCOMPARE(pub.GetInt("UI", "LANGUAGE", 1, hand), 1);
        QCOMPARE(pub.GetInt("UI", "COUNT", 0, hand), 12);
    }
};

QEL_TEST_CORE_MAIN(TestPubActions)
#include "tst_cpubactions.moc"
