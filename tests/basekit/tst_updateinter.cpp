// UpdateInter against stand-in updaters (shell scripts) that print like qelupdate.
#include "qeltest.h"
#include "cmessagebox.h"
#include "cpubactions.h"
#include "updateinter.h"

#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>

namespace {
class RecordingUpdate : public UpdateInter
{
public:
    using UpdateInter::UpdateInter;
    void FinishUpdate(bool ok, const QString &message) override { results << qMakePair(ok, message); }
    QList<QPair<bool, QString>> results;
};
} // namespace

class TestUpdateInter : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void updaterBesideProgram();
    void verdictWithArguments();
    void urlFromIni();
    void verdicts_data();
    void verdicts();
    void missingUpdaterWarns();

private:
    QString Script(const QString &body);
    // Runs the stand-in to its end and returns what FinishUpdate received.
    QList<QPair<bool, QString>> Run(const QString &body, const QString &appName = "qel720A_client",
                                    const QString &ini = "qel720A_client.ini");

    QTemporaryDir m_dir;
    int m_nScripts = 0;
};

void TestUpdateInter::init()
{
    CMessageBox::SetResponder({});
}

QString TestUpdateInter::Script(const QString &body)
{
    const QString path = m_dir.filePath(QString("qelupdate%1").arg(++m_nScripts));
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return QString();
    f.write("#!/bin/sh\n" + body.toLocal8Bit() + "\n");
    f.close();
    f.setPermissions(f.permissions() | QFile::ExeOwner);
    return path;
}

QList<QPair<bool, QString>> TestUpdateInter::Run(const QString &body, const QString &appName, const QString &ini)
{
    RecordingUpdate update;
    update.SetUpdaterProgram(Script(body));
    update.CheckUpdate(appName, ini, "v1.3.8", true);
    auto *proc = update.findChild<QProcess *>();
    if (!proc)
        return {};
    QSignalSpy done(proc, QOverload<int, QProcess::ExitStatus>::of(&QProcess::finished));
    if (proc->state() != QProcess::NotRunning && !done.wait(20000))
        return {};
    QCoreApplication::processEvents();
    return update.results;
}

void TestUpdateInter::updaterBesideProgram()
{
    UpdateInter update;
    QCOMPARE(update.UpdaterProgram(), QCoreApplication::applicationDirPath() + "/qelupdate");
}

void TestUpdateInter::verdictWithArguments()
{
    // The stand-in echoes its four arguments as the message.
    const auto results = Run("echo 'checking...'\nprintf 'success$%s|%s|%s|%s$\\n' \"$1\" \"$2\" \"$3\" \"$4\"",
                             "qel720A_client.exe");
    QCOMPARE(results.size(), 1);
    QVERIFY(results.at(0).first);
    QCOMPARE(results.at(0).second,
             QString("qel720A_client.exe|%1/api/files/qel720A_client.json|v1.3.8|1").arg(UpdateInter::DefaultServer));
}

void TestUpdateInter::urlFromIni()
{
    CPubActions(false).WriteString("UPDATE", "URL", "http://updates.local:9000/x.json", "upd.ini");
    const auto results = Run("printf 'success$%s\\n' \"$2\"", "qel720A_server", "upd.ini");
    QCOMPARE(results.size(), 1);
    QCOMPARE(results.at(0).second, QString("http://updates.local:9000/x.json"));
}

void TestUpdateInter::verdicts_data()
{
    QTest::addColumn<QString>("body");
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("message");
    QTest::newRow("success") << "echo 'success$/home/u/Downloads/pkg.zip'" << 1 << true << "/home/u/Downloads/pkg.zip";
    QTest::newRow("fail") << "echo 'fail$/home/u/Downloads/pkg.zip'" << 1 << false << "/home/u/Downloads/pkg.zip";
    QTest::newRow("no dollar") << "echo 'update check failed'\necho 'bye'" << 0 << false << "";
    QTest::newRow("split line") << "printf 'succ'\nsleep 0.3\nprintf 'ess$/tmp/p.zip\\n'" << 1 << true << "/tmp/p.zip";
    QTest::newRow("no line end") << "printf 'success$/tmp/q.zip'" << 1 << true << "/tmp/q.zip";
    QTest::newRow("stderr merged") << "echo 'fail$' >&2" << 1 << false << "";
}

void TestUpdateInter::verdicts()
{
    QFETCH(QString, body);
    QFETCH(int, count);
    QFETCH(bool, ok);
    QFETCH(QString, message);
    const auto results = Run(body);
    QCOMPARE(results.size(), count);
    if (count) {
        QCOMPARE(results.at(0).first, ok);
        QCOMPARE(results.at(0).second, message);
    }
}

void TestUpdateInter::missingUpdaterWarns()
{
    QList<QStringList> boxes;
    CMessageBox::SetResponder([&](CMessageBox::Kind kind, const QString &title, const QString &text) {
        boxes << QStringList{QString::number(kind), title, text};
        return QMessageBox::Ok;
    });
    RecordingUpdate update;
    update.SetUpdaterProgram(m_dir.filePath("missing/qelupdate"));
    update.CheckUpdate("qel720A_client", "qel720A_client.ini", "v1.0", false);
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes.at(0), QStringList({QString::number(CMessageBox::Warning), "错误", "qelupdate 未找到，无法检查更新!"}));
    QVERIFY(!update.findChild<QProcess *>());
}

QEL_TEST_MAIN(TestUpdateInter)
#include "tst_updateinter.moc"
