// Release check against a real HTTP server on loopback, and the updater run
// that installs what it found.
#include "cfreshcheck.h"
#include "cpubactions.h"
#include "httpdir.h"
#include "qeltest.h"

#include <QFile>
#include <QTemporaryDir>

namespace {
const QString kIni = QStringLiteral("fresh_test.ini");

class RecordingCheck : public CFreshCheck
{
public:
    QStringList events;
    Release release;
    QString reason;
    bool installedOk = false;

protected:
    void OnLatest(const Release &r) override { events << QStringLiteral("latest"); release = r; }
    void OnAvailable(const Release &r) override { events << QStringLiteral("available"); release = r; }
    void OnCheckFailed(const QString &, const QString &why) override { events << QStringLiteral("failed"); reason = why; }
    void OnInstalled(const Release &r, bool ok, const QString &message) override
    {
        events << QStringLiteral("installed");
        release = r;
        installedOk = ok;
        reason = message;
    }
};

void WriteFile(const QString &path, const QByteArray &data)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(data);
}

QByteArray Definition(const char *platform, const char *latest)
{
    const QString json = QLatin1String(R"({"updates":{"%1":{"latest-version":"%2","changelog":"fixes","download-url":"http://127.0.0.1/p.zip"}}})");
    return json.arg(QLatin1String(platform), QLatin1String(latest)).toUtf8();
}
} // namespace

class TestFreshCheck : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void verdicts_data();
    void verdicts();
    void installRunsUpdaterAndReportsItsVerdict();
    void sameCheckTwiceRunsOnce();
    void defaultUrlIsTheUpdateServers();

private:
    void UseDefinition(const QString &file);
    QTemporaryDir m_dir;
    std::unique_ptr<HttpDir> m_http;
};

void TestFreshCheck::initTestCase()
{
    QVERIFY(m_dir.isValid());
    WriteFile(m_dir.filePath("newer.json"), Definition("windows", "V1.4.0"));
    WriteFile(m_dir.filePath("same.json"), Definition("windows", "v1.3.8.beta"));
    WriteFile(m_dir.filePath("older.json"), Definition("windows", "1.2"));
    // "linux" wins over "windows" when both are there.
    WriteFile(m_dir.filePath("linux.json"),
              R"({"updates":{"windows":{"latest-version":"9.0"},"linux":{"latest-version":"1.3.8"}}})");
    WriteFile(m_dir.filePath("bad.json"), "this is no json");
    WriteFile(m_dir.filePath("empty.json"), R"({"updates":{}})");
    m_http = std::make_unique<HttpDir>(m_dir.path());
    QVERIFY(m_http->IsRunning());
}

void TestFreshCheck::UseDefinition(const QString &file)
{
    CPubActions(false).WriteString(QStringLiteral("UPDATE"), QStringLiteral("URL"), m_http->Url(file), kIni);
}

void TestFreshCheck::verdicts_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("current");
    QTest::addColumn<QString>("event");
    QTest::addColumn<QString>("latest");
    QTest::newRow("newer") << "newer.json" << "v1.3.8.beta" << "available" << "V1.4.0";
    QTest::newRow("same") << "same.json" << "v1.3.8.beta" << "latest" << "v1.3.8.beta";
    QTest::newRow("older") << "older.json" << "1.3" << "latest" << "1.2";
    QTest::newRow("linux entry") << "linux.json" << "V1.3.8" << "latest" << "1.3.8";
    QTest::newRow("not json") << "bad.json" << "1.0" << "failed" << "";
    QTest::newRow("no entry") << "empty.json" << "1.0" << "failed" << "";
    QTest::newRow("not found") << "missing.json" << "1.0" << "failed" << "";
}

void TestFreshCheck::verdicts()
{
    QFETCH(QString, file);
    QFETCH(QString, current);
    QFETCH(QString, event);
    QFETCH(QString, latest);
    UseDefinition(file);
    RecordingCheck check;
    check.CheckUpdate(QStringLiteral("test"), kIni, current, false, QStringLiteral("qel720A_server"));
    QTRY_COMPARE_WITH_TIMEOUT(check.events.size(), 1, 20000);
    QCOMPARE(check.events.first(), event);
    QCOMPARE(check.release.strLatest, latest);
    if (event == QLatin1String("available")) {
        QCOMPARE(check.release.strChangelog, QStringLiteral("fixes"));
        QCOMPARE(check.release.strUrl, QStringLiteral("http://127.0.0.1/p.zip"));
    }
    if (file == QLatin1String("missing.json"))
        QVERIFY2(check.reason.contains(QLatin1String("404")), qPrintable(check.reason));
    QCOMPARE(check.PendingChecks(), 0);
}

void TestFreshCheck::installRunsUpdaterAndReportsItsVerdict()
{
    UseDefinition(QStringLiteral("newer.json"));
    // The updater's side of the exchange: its arguments in, one verdict line out.
    const QString args = m_dir.filePath("args.txt");
    const QString updater = m_dir.filePath("qelupdate");
    WriteFile(updater, QStringLiteral("#!/bin/sh\nprintf '%s\\n' \"$@\" > '%1'\necho 'downloading'\necho 'success$/tmp/firm.bin'\n")
                           .arg(args)
                           .toUtf8());
    QFile::setPermissions(updater, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    RecordingCheck check;
    check.SetUpdaterProgram(updater);
    check.CheckUpdate(QStringLiteral("test"), kIni, QStringLiteral("V1.0.0"), true, QStringLiteral("qel720A"), true);
    QTRY_COMPARE_WITH_TIMEOUT(check.events.size(), 2, 20000);
    QCOMPARE(check.events, (QStringList{QStringLiteral("available"), QStringLiteral("installed")}));
    QVERIFY(check.installedOk);
    QCOMPARE(check.reason, QStringLiteral("/tmp/firm.bin"));
    QVERIFY(check.release.bFirmware);
    QCOMPARE(check.release.strLatest, QStringLiteral("V1.4.0"));
    QFile file(args);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts),
             (QStringList{QStringLiteral("qel720A"), m_http->Url(QStringLiteral("newer.json")), QStringLiteral("V1.0.0"),
                          QStringLiteral("1")}));
}

void TestFreshCheck::sameCheckTwiceRunsOnce()
{
    UseDefinition(QStringLiteral("same.json"));
    RecordingCheck check;
    check.CheckUpdate(QStringLiteral("a"), kIni, QStringLiteral("v1.3.8.beta"), false, QStringLiteral("m"));
    check.CheckUpdate(QStringLiteral("b"), kIni, QStringLiteral("v1.3.8.beta"), false, QStringLiteral("m"));
    check.CheckUpdate(QStringLiteral("c"), kIni, QStringLiteral("v1.0"), false, QStringLiteral("m"));
    QCOMPARE(check.PendingChecks(), 2);
    QTRY_COMPARE_WITH_TIMEOUT(check.events.size(), 2, 20000);
}

void TestFreshCheck::defaultUrlIsTheUpdateServers()
{
    QCOMPARE(CFreshCheck::DefinitionUrl(QStringLiteral("qel720A_server.exe"), QStringLiteral("none.ini")),
             QStringLiteral("http://127.0.0.1:8085/api/files/qel720A_server.json"));
}

QEL_TEST_CORE_MAIN(TestFreshCheck)
#include "tst_freshcheck.moc"
