// The store's fetch record and the texts of the image page.
#include "cofflinecode.h"
#include "cofflinerecord.h"
#include "qeltest.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

using namespace qelmsg;

class TestOfflineRecord : public QObject
{
    Q_OBJECT

    static QByteArray Sealed(const QJsonArray &array)
    {
        return COfflineCode::Seal(QJsonDocument(array).toJson(QJsonDocument::Compact));
    }

private slots:
    void recordOntoList()
    {
        const QJsonArray array{
            QJsonObject{{"name", "a.img"}, {"get", 2}, {"max", 5}, {"history", 9}, {"deadline", 1767225600.0}},
            QJsonObject{{"name", "../evil.img"}, {"get", 1}},
            QJsonObject{{"name", "gone.img"}, {"get", 7}, {"deadline", 1.7e41}},
            QJsonValue(3)};
        QList<COfflineRecord::Entry> entries;
        QVERIFY(COfflineRecord::Parse(Sealed(array) + "\n", entries));
        QCOMPARE(entries.size(), 2);   // the path is no plain name, the number no object's name
        QCOMPARE(entries[1].deadline, qint64(0));   // no time holds it: no limit

        QList<OiiItem> images{{1, "a.img", 10, "CRC", 0, 0, 0, 0, 0}, {2, "b.img", 20, "CRC", 0, 0, 0, 4, 0}};
        COfflineRecord::Apply(entries, images);
        QCOMPARE(images[0].get, 2);
        QCOMPARE(images[0].max, 5);
        QCOMPARE(images[0].history, 9);
        QCOMPARE(images[0].deadline, qint64(1767225600));
        QCOMPARE(images[1].history, 4);   // not in the record: as listed
    }

    void badRecords_data()
    {
        QTest::addColumn<QByteArray>("sealed");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("not base64 blocks") << QByteArray("abc");
        QTest::newRow("not json") << COfflineCode::Seal("{{{");
        QTest::newRow("object") << COfflineCode::Seal("{\"name\":\"a.img\"}");
        QTest::newRow("plain json") << QByteArray("[{\"name\":\"a.img\"}]");
    }
    void badRecords()
    {
        QFETCH(QByteArray, sealed);
        QList<COfflineRecord::Entry> entries{{"x", 1, 1, 1, 1}};
        QVERIFY(!COfflineRecord::Parse(sealed, entries));
        QVERIFY(entries.isEmpty());
    }

    void texts()
    {
        OiiItem image{1, "%2 name.img", 1234, "CRC", 0, 1, 3, 8, 0};
        const QString info = COfflineRecord::InfoText(image);
        QVERIFY(info.startsWith("镜像名称:%2 name.img\n"));
        QVERIFY(info.contains("文件大小(字节):1234\n历史获取次数:8\n已经获取/最大获取数:1/3\n"));
        QVERIFY(info.endsWith("截止获取时间:无限制"));
        image.deadline = QDateTime(QDate(2027, 1, 2), QTime(3, 4)).toSecsSinceEpoch();
        QVERIFY(COfflineRecord::InfoText(image).endsWith("截止获取时间:2027-01-02 03::04"));

        QCOMPARE(COfflineRecord::LimitText(0, 0), QString());
        QCOMPARE(COfflineRecord::LimitText(30, 0), QStringLiteral("30天内有效    "));
        QCOMPARE(COfflineRecord::LimitText(3, 10), QStringLiteral("3天内有效    最大可获取10次"));
        QVERIFY(COfflineRecord::ListAccepted(100));
        QVERIFY(!COfflineRecord::ListAccepted(101));
    }
};

QEL_TEST_CORE_MAIN(TestOfflineRecord)
#include "tst_offlinerecord.moc"
