// The updater's check and download against a real HTTP server on loopback
// (httpserve.py), with the questions answered by the test.
#include "cmessagebox.h"
#include "cupdaterules.h"
#include "downloader.h"
#include "functool.h"
#include "httpdir.h"
#include "qeltest.h"
#include "qsimpleupdater.h"
#include "updater.h"
#include "zipmaker.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QUrl>

#include <memory>

namespace {
constexpr int kWaitMs = 30000;
} // namespace

class TestUpdater : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();
    void versions_data();
    void versions();
    void checkFollowsRedirect();
    void checkFailures();
    void downloads_data();
    void downloads();
    void badDownloadKeepsGoodFile();
    void packageWithoutFileNameRefused();
    void rarRefused();
    void texts();

private:
    // Writes a definition and returns its URL (unique per call, so each check
    // gets its own Updater).
    QString Define(const QString &latest, const QString &downloadPath, const QString &md5 = QString(),
                   const QString &platform = QStringLiteral("linux"));
    // Runs a check (and the download when wanted) to its end.
    Updater *Run(const QString &url, const QString &module, const QString &current, bool download, bool customInstall);

    QTemporaryDir m_web;
    QTemporaryDir m_program;
    std::unique_ptr<HttpDir> m_http;
    QList<QStringList> m_boxes;
    int m_nDefinitions = 0;
};

void TestUpdater::initTestCase()
{
    QVERIFY(m_web.isValid() && m_program.isValid());
    QVERIFY(MakeZip(m_web.filePath("pkg.zip"), {{"app", "new app", false, 0755}, {"readme.txt", "hello"}}));
    QVERIFY(QFile::copy(m_web.filePath("pkg.zip"), m_web.filePath("pkg2.zip")));
    QVERIFY(WriteBytes(m_web.filePath("big.zip"), QByteArray(200000, 'z')));
    QVERIFY(WriteBytes(m_web.filePath("pkg.rar"), "Rar!\x1a\x07"));
    QVERIFY(WriteBytes(m_program.filePath("mod"), "module bytes"));
    m_http = std::make_unique<HttpDir>(m_web.path(), QString::fromLocal8Bit(qgetenv("QEL_UPDATE_HTTP")));
    QVERIFY(m_http->IsRunning());
}

void TestUpdater::init()
{
    m_boxes.clear();
    CMessageBox::SetResponder([this](CMessageBox::Kind kind, const QString &title, const QString &text) {
        m_boxes << QStringList{QString::number(kind), title, text};
        return kind == CMessageBox::Question ? QMessageBox::Yes : QMessageBox::Ok;
    });
}

void TestUpdater::cleanupTestCase()
{
    CMessageBox::SetResponder({});
    QSimpleUpdater::release();
}

QString TestUpdater::Define(const QString &latest, const QString &downloadPath, const QString &md5, const QString &platform)
{
    const QString name = QStringLiteral("def%1.json").arg(++m_nDefinitions);
    QString entry = QStringLiteral(R"("latest-version":"%1","changelog":"fixes","download-url":"%2")")
                        .arg(latest, m_http->Url(downloadPath));
    if (!md5.isEmpty())
        entry += QStringLiteral(R"(,"latest-md5":"%1")").arg(md5);
    WriteBytes(m_web.filePath(name), QStringLiteral(R"({"updates":{"%1":{%2}}})").arg(platform, entry).toUtf8());
    return m_http->Url(name);
}

Updater *TestUpdater::Run(const QString &url, const QString &module, const QString &current, bool download,
                          bool customInstall)
{
    QSimpleUpdater *u = QSimpleUpdater::getInstance();
    u->setModuleName(url, module);
    u->setModuleVersion(url, current);
    u->setProgramDir(url, m_program.path());
    u->setNotifyOnUpdate(url, true);
    u->setNotifyOnFinish(url, true);
    u->setDownloaderEnabled(url, download);
    u->setUseCustomInstallProcedure(url, customInstall);
    QSignalSpy done(u, &QSimpleUpdater::workFinished);
    u->checkForUpdates(url);
    if (!done.wait(kWaitMs) || done.first().at(0).toString() != url)
        return nullptr;
    return u->getUpdater(url);
}

void TestUpdater::versions_data()
{
    QTest::addColumn<QString>("module");
    QTest::addColumn<QString>("current");
    QTest::addColumn<QString>("latest");
    QTest::addColumn<QString>("md5");
    QTest::addColumn<bool>("available");
    const QString moduleMd5 = FuncTool::MakeMd5(m_program.filePath("mod"));
    QTest::newRow("equal, no md5") << "mod" << "2.0" << "2.0" << "" << false;
    QTest::newRow("1.10 after 1.9") << "mod" << "1.9" << "1.10" << "" << true;
    QTest::newRow("v2.0 is 2.0") << "mod" << "v2.0" << "2.0" << "" << false;
    QTest::newRow("V:2.0 is 2.0") << "mod" << "2.0" << "V:2.0" << "" << false;
    QTest::newRow("2.0.1 after 2.0") << "mod" << "2.0" << "2.0.1" << "" << true;
    QTest::newRow("older") << "mod" << "2.1" << "2.0.9" << "" << false;
    QTest::newRow("1.02 is 1.2") << "mod" << "1.2" << "1.02" << "" << false;
    QTest::newRow("equal, other md5") << "mod.exe" << "2.0" << "2.0" << "0123456789abcdef0123456789abcdef" << true;
    QTest::newRow("equal, same md5") << "mod" << "2.0" << "2.0" << moduleMd5.toUpper() << false;
    QTest::newRow("equal, no module file") << "none" << "2.0" << "2.0" << "0123456789abcdef0123456789abcdef" << false;
}

void TestUpdater::versions()
{
    QFETCH(QString, module);
    QFETCH(QString, current);
    QFETCH(QString, latest);
    QFETCH(QString, md5);
    QFETCH(bool, available);
    Updater *u = Run(Define(latest, "pkg.zip", md5), module, current, false, true);
    QVERIFY(u);
    QCOMPARE(u->updateAvailable(), available);
    QCOMPARE(u->latestVersion(), latest);
    // Only an available update is offered.
    QCOMPARE(m_boxes.size(), available ? 1 : 0);
    if (available) {
        QCOMPARE(m_boxes.first().at(0), QString::number(CMessageBox::Question));
        QVERIFY(m_boxes.first().at(2).contains(QStringLiteral("应用[%1]的 %2 版本已经发布!").arg(module, latest)));
    }
}

void TestUpdater::checkFollowsRedirect()
{
    const QString url = Define("3.0", "pkg.zip", QString(), QStringLiteral("windows"));
    const QString redirected = m_http->Url(QStringLiteral("redirect/") + QUrl(url).fileName());
    Updater *u = Run(redirected, "mod", "2.0", false, true);
    QVERIFY(u);
    QVERIFY(u->updateAvailable());
    QCOMPARE(u->changelog(), QStringLiteral("fixes"));
    QVERIFY(m_http->Requests().contains("GET /redirect/"));
}

void TestUpdater::checkFailures()
{
    Updater *u = Run(m_http->Url("missing.json"), "mod", "1.0", true, true);
    QVERIFY(u);
    QVERIFY(!u->updateAvailable());
    QCOMPARE(m_boxes.size(), 1);
    QCOMPARE(m_boxes.first().at(1), QStringLiteral("检查失败"));
    QVERIFY(m_boxes.first().at(2).startsWith(QStringLiteral("检查更新失败 mod，服务器返回失败，error=")));

    m_boxes.clear();
    WriteBytes(m_web.filePath("bad.json"), "{not json");
    u = Run(m_http->Url("bad.json"), "mod", "1.0", true, true);
    QVERIFY(u);
    QVERIFY(!u->updateAvailable());
    QCOMPARE(m_boxes.size(), 1);
    QCOMPARE(m_boxes.first().at(2), QStringLiteral("检查更新失败 mod, Json解析失败!"));
}

void TestUpdater::downloads_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("md5");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("file");
    const QString zipMd5 = FuncTool::MakeMd5(m_web.filePath("pkg.zip"));
    QTest::newRow("direct") << "pkg.zip" << "" << true << "pkg.zip";
    QTest::newRow("redirect") << "redirect/pkg2.zip" << "" << true << "pkg2.zip";
    QTest::newRow("md5 matches") << "pkg.zip" << zipMd5 << true << "pkg.zip";
    QTest::newRow("md5 differs") << "pkg2.zip" << "0123456789abcdef0123456789abcdef" << false << "pkg2.zip";
    QTest::newRow("404 status") << "notfound404" << "" << false << "notfound404";
    QTest::newRow("404 body") << "ok404" << "" << false << "ok404";
    QTest::newRow("truncated") << "truncate/big.zip" << "" << false << "big.zip";
}

void TestUpdater::downloads()
{
    QFETCH(QString, path);
    QFETCH(QString, md5);
    QFETCH(bool, ok);
    QFETCH(QString, file);
    const QString downloads = QDir::homePath() + QStringLiteral("/Downloads/");
    QFile::remove(downloads + file);
    Updater *u = Run(Define("9.0", path, md5), "mod", "1.0", true, true);
    QVERIFY(u);
    QCOMPARE(u->downloadedFile(), downloads + file);
    QCOMPARE(u->downloader()->lastVerdict(), ok);
    QCOMPARE(QFileInfo::exists(downloads + file), ok);
    QVERIFY(!QFileInfo::exists(downloads + file + QStringLiteral(".part")));
    if (ok)
        QCOMPARE(FuncTool::MakeMd5(downloads + file), FuncTool::MakeMd5(m_web.filePath(file)));
}

void TestUpdater::badDownloadKeepsGoodFile()
{
    Updater *u = Run(Define("9.0", "big.zip"), "mod", "1.0", true, true);
    QVERIFY(u && u->downloader()->lastVerdict());
    u = Run(Define("9.0", "truncate/big.zip"), "mod", "1.0", true, true);
    QVERIFY(u && !u->downloader()->lastVerdict());
    QCOMPARE(QFileInfo(u->downloadedFile()).size(), qint64(200000));
}

void TestUpdater::packageWithoutFileNameRefused()
{
    const auto program = Snapshot(m_program.path());
    Updater *u = Run(Define("9.0", ""), "mod", "1.0", true, false);
    QVERIFY(u);
    QCOMPARE(u->downloadedFile(), QDir::homePath() + QStringLiteral("/Downloads/QSU_Update.bin"));
    QVERIFY(QFileInfo::exists(u->downloadedFile()));
    QVERIFY(!u->downloader()->lastVerdict());
    QCOMPARE(m_boxes.last(), (QStringList{QString::number(CMessageBox::Critical), "错误", "找不到更新文件!"}));
    QCOMPARE(Snapshot(m_program.path()), program);
}

void TestUpdater::rarRefused()
{
    const auto program = Snapshot(m_program.path());
    Updater *u = Run(Define("9.0", "pkg.rar"), "mod", "1.0", true, false);
    QVERIFY(u);
    QVERIFY(!u->downloader()->lastVerdict());
    QCOMPARE(m_boxes.last().at(0), QString::number(CMessageBox::Critical));
    QVERIFY(m_boxes.last().at(2).contains(QStringLiteral("RAR")));
    QCOMPARE(Snapshot(m_program.path()), program);
}

void TestUpdater::texts()
{
    QCOMPARE(CUpdateRules::SizeText(-1), QStringLiteral("大小未知"));
    QCOMPARE(CUpdateRules::SizeText(1023), QStringLiteral("1023 bytes"));
    QCOMPARE(CUpdateRules::SizeText(1024 * 1023), QStringLiteral("1023 KB"));
    QCOMPARE(CUpdateRules::SizeText(3 * 1024 * 1024 / 2), QStringLiteral("1.5 MB"));
    QCOMPARE(CUpdateRules::TimeLeftText(-1), QString());
    QCOMPARE(CUpdateRules::TimeLeftText(1), QStringLiteral("1 秒"));
    QCOMPARE(CUpdateRules::TimeLeftText(59), QStringLiteral("59 秒"));
    QCOMPARE(CUpdateRules::TimeLeftText(90), QStringLiteral("1 分钟"));
    QCOMPARE(CUpdateRules::TimeLeftText(600), QStringLiteral("10 分钟"));
    QCOMPARE(CUpdateRules::TimeLeftText(4000), QStringLiteral("约1小时"));
    QCOMPARE(CUpdateRules::TimeLeftText(3 * 3600 + 5), QStringLiteral("约 3 小时"));
    // Half of 1000 bytes in 2 s: the other half needs 2 s more.
    QCOMPARE(CUpdateRules::SecondsLeft(500, 1000, 2000), qint64(2));
    QCOMPARE(CUpdateRules::SecondsLeft(0, 1000, 2000), qint64(-1));
    QCOMPARE(CUpdateRules::FileNameFromUrl(QUrl("http://h/a/b/pkg.zip?x=1")), QStringLiteral("pkg.zip"));
    QCOMPARE(CUpdateRules::FileNameFromUrl(QUrl("http://h/a/")), QStringLiteral("QSU_Update.bin"));
    QCOMPARE(CUpdateRules::FileNameFromUrl(QUrl("http://h/a/..")), QStringLiteral("QSU_Update.bin"));
    // A separator hidden in the URL never reaches the file name.
    QCOMPARE(CUpdateRules::FileNameFromUrl(QUrl("http://h/a%2F..%2F..%2Fevil")), QStringLiteral("evil"));
    QCOMPARE(CUpdateRules::VerdictLine(false, "/x/y.zip"), QStringLiteral("fail$/x/y.zip"));
    QCOMPARE(CUpdateRules::ProgramName("qel720A_client.EXE"), QStringLiteral("qel720A_client"));
    QCOMPARE(CUpdateRules::UserAgent("m", "1.2"), QStringLiteral("m/1.2 (Qt; QSimpleUpdater)"));
}

QEL_TEST_MAIN(TestUpdater)
#include "tst_updater.moc"
