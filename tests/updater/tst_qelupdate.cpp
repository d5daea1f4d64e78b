// The real qelupdate, started by the update front as a program starts it,
// updating a stand-in program served by a real HTTP server on loopback.
#include "cpubactions.h"
#include "functool.h"
#include "httpdir.h"
#include "qeltest.h"
#include "updateinter.h"
#include "zipmaker.h"

#include <QProcess>
#include <QTemporaryDir>

#include <memory>

namespace {
constexpr int kWaitMs = 60000;
const QString kIni = QStringLiteral("e2e.ini");

class RecordingUpdate : public UpdateInter
{
public:
    void FinishUpdate(bool ok, const QString &message) override { results << qMakePair(ok, message); }
    QList<QPair<bool, QString>> results;
};

QStringList Lines(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}
} // namespace

class TestQelUpdate : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void updatesStoppedProgramAndStartsItAgain();
    void failedDownloadChangesNothing();
    void tooFewArguments();

private:
    QString App(const QString &rel = QString()) const { return m_app.path() + QLatin1Char('/') + rel; }
    // Runs the app folder's qelupdate through UpdateInter to its end.
    QList<QPair<bool, QString>> RunUpdate(const QString &definition, const QString &module, const QString &current);

    QTemporaryDir m_app;
    QTemporaryDir m_other;
    QTemporaryDir m_web;
    std::unique_ptr<HttpDir> m_http;
};

void TestQelUpdate::initTestCase()
{
    QVERIFY(m_app.isValid() && m_other.isValid() && m_web.isValid());
    const QString bin = qeltest::binDir();
    // The program folder: the updater beside the program it updates.
    QVERIFY(QFile::copy(bin + "/qelupdate", App("qelupdate")));
    QVERIFY(QFile::copy(bin + "/update_standin", App("standin")));
    QVERIFY(QFile::copy(bin + "/update_standin", m_other.filePath("standin")));
    QVERIFY(WriteBytes(App("version.txt"), "1.0"));
    QVERIFY(WriteBytes(App("keep.txt"), "user data"));

    QFile standin(bin + "/update_standin");
    QVERIFY(standin.open(QIODevice::ReadOnly));
    QVERIFY(MakeZip(m_web.filePath("standin-2.0.zip"), {{"standin", standin.readAll(), false, 0755},
                                                        {"version.txt", "2.0"},
                                                        {"data/new.txt", "fresh"}}));
    m_http = std::make_unique<HttpDir>(m_web.path(), QString::fromLocal8Bit(qgetenv("QEL_UPDATE_HTTP")));
    QVERIFY(m_http->IsRunning());
    qputenv("QELUPDATE_ASSUME_YES", "1");
}

QList<QPair<bool, QString>> TestQelUpdate::RunUpdate(const QString &definition, const QString &module,
                                                     const QString &current)
{
    WriteBytes(m_web.filePath("standin.json"), definition.toUtf8());
    CPubActions(false).WriteString(QStringLiteral("UPDATE"), QStringLiteral("URL"), m_http->Url("standin.json"), kIni);
    RecordingUpdate update;
    update.SetUpdaterProgram(App("qelupdate"));
    update.CheckUpdate(module, kIni, current, false);
    auto *proc = update.findChild<QProcess *>();
    if (!proc)
        return {};
    if (proc->state() != QProcess::NotRunning && !proc->waitForFinished(kWaitMs))
        return {};
    QCoreApplication::processEvents();
    return update.results;
}

void TestQelUpdate::updatesStoppedProgramAndStartsItAgain()
{
    QProcess running;
    running.start(App("standin"), {QStringLiteral("60")});
    QVERIFY(running.waitForStarted());
    // A copy of the same name elsewhere is another program.
    QProcess elsewhere;
    elsewhere.start(m_other.filePath("standin"), {QStringLiteral("60")});
    QVERIFY(elsewhere.waitForStarted());
    QTRY_COMPARE_WITH_TIMEOUT(Lines(App("started.log")).size(), 1, 10000);
    QVERIFY(Lines(App("started.log")).first().endsWith(QLatin1String(" 1.0")));

    const QString zip = m_web.filePath("standin-2.0.zip");
    const QString definition = QStringLiteral(
        R"({"updates":{"windows":{"latest-version":"9.9"},"linux":{"latest-version":"V2.0","changelog":"new",)"
        R"("download-url":"%1","latest-md5":"%2"}}})")
                                   .arg(m_http->Url("redirect/standin-2.0.zip"), FuncTool::MakeMd5(zip));
    const auto results = RunUpdate(definition, QStringLiteral("standin.exe"), QStringLiteral("v1.0"));
    QCOMPARE(results.size(), 1);
    QVERIFY(results.first().first);
    QCOMPARE(results.first().second, QDir::homePath() + QStringLiteral("/Downloads/standin-2.0.zip"));

    // The running copy was stopped, the new files are in, and it runs again.
    QTRY_COMPARE_WITH_TIMEOUT(running.state(), QProcess::NotRunning, 10000);
    QCOMPARE(running.exitStatus(), QProcess::CrashExit);
    QCOMPARE(Snapshot(App()).value("version.txt"), QByteArray("2.0"));
    QCOMPARE(Snapshot(App()).value("data/new.txt"), QByteArray("fresh"));
    QCOMPARE(Snapshot(App()).value("keep.txt"), QByteArray("user data"));
    QVERIFY(!QFileInfo::exists(App("temp")));
    QTRY_COMPARE_WITH_TIMEOUT(Lines(App("started.log")).size(), 2, 10000);
    QVERIFY(Lines(App("started.log")).last().endsWith(QLatin1String(" 2.0")));

    QCOMPARE(elsewhere.state(), QProcess::Running);
    elsewhere.kill();
    elsewhere.waitForFinished(5000);
}

void TestQelUpdate::failedDownloadChangesNothing()
{
    const auto before = Snapshot(App());
    const QString definition = QStringLiteral(R"({"updates":{"linux":{"latest-version":"3.0","download-url":"%1"}}})")
                                   .arg(m_http->Url("notfound404"));
    const auto results = RunUpdate(definition, QStringLiteral("standin"), QStringLiteral("2.0"));
    QCOMPARE(results.size(), 1);
    QVERIFY(!results.first().first);
    QCOMPARE(results.first().second, QDir::homePath() + QStringLiteral("/Downloads/notfound404"));
    QCOMPARE(Snapshot(App()), before);
}

void TestQelUpdate::tooFewArguments()
{
    QProcess updater;
    updater.start(App("qelupdate"), {QStringLiteral("standin"), m_http->Url("standin.json")});
    QVERIFY(updater.waitForFinished(kWaitMs));
    QCOMPARE(updater.exitCode(), 1);
    const QString output = QString::fromLocal8Bit(updater.readAllStandardError());
    QVERIFY2(output.contains(QStringLiteral("传入参数不正确!")), qPrintable(output));
    QVERIFY(!updater.readAllStandardOutput().contains('$'));
}

QEL_TEST_MAIN(TestQelUpdate)
#include "tst_qelupdate.moc"
