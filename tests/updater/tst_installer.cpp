// Release packages over a program folder: unsafe entries are refused before
// anything is written, and a replacement is all or nothing.
#include "cpackageinstaller.h"
#include "qeltest.h"
#include "zipmaker.h"

#include <QTemporaryDir>

#include <memory>

class TestInstaller : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void installsOverProgram();
    void unsafePackagesRefused_data();
    void unsafePackagesRefused();
    void folderLinkLeavingProgramRefused();
    void failureHalfWayRestoresOldFiles();
    void fileOverFolderRefused();
    void notAZip();

private:
    QString Path(const QString &rel) const { return m_dir->path() + QLatin1Char('/') + rel; }
    // Installs Path("pkg.zip") over Path("program").
    bool Install(QString &reason);

    std::unique_ptr<QTemporaryDir> m_dir;
    QStringList m_log;
};

void TestInstaller::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_log.clear();
    QVERIFY(WriteBytes(Path("program/app"), "old app"));
    QVERIFY(WriteBytes(Path("program/keep.txt"), "kept"));
    QVERIFY(WriteBytes(Path("program/lib/old.so"), "old lib"));
    QVERIFY(WriteBytes(Path("outside/secret.txt"), "secret"));
}

bool TestInstaller::Install(QString &reason)
{
    CPackageInstaller installer([this](const QString &text) { m_log << text; });
    return installer.Install(Path("pkg.zip"), Path("program"), reason);
}

void TestInstaller::installsOverProgram()
{
    QVERIFY(MakeZip(Path("pkg.zip"), {{"app", "new app", false, 0755},
                                      {"lib/old.so", "new lib"},
                                      {"share/doc/readme.txt", "read me"}}));
    QString reason;
    QVERIFY2(Install(reason), qPrintable(reason));
    const QMap<QString, QByteArray> after = Snapshot(Path("program"));
    QCOMPARE(after.value("app"), QByteArray("new app"));
    QCOMPARE(after.value("lib/old.so"), QByteArray("new lib"));
    QCOMPARE(after.value("share/doc/readme.txt"), QByteArray("read me"));
    QCOMPARE(after.value("keep.txt"), QByteArray("kept"));
    QVERIFY(QFileInfo(Path("program/app")).isExecutable());
    // The work folder is gone; the log tells what happened.
    QVERIFY(!QFileInfo::exists(Path("program/temp")));
    QVERIFY(m_log.contains("解压缩完成，共3个文件..."));
    QVERIFY(m_log.contains("完成文件替换"));
}

void TestInstaller::unsafePackagesRefused_data()
{
    QTest::addColumn<QList<ZipEntry>>("entries");
    QTest::addColumn<QString>("bad");
    const ZipEntry good{"app", "new app"};
    QTest::newRow("parent folder") << QList<ZipEntry>{good, {"../evil", "x"}} << "../evil";
    QTest::newRow("deeper parent") << QList<ZipEntry>{good, {"lib/../../outside/secret.txt", "x"}}
                                   << "lib/../../outside/secret.txt";
    QTest::newRow("absolute") << QList<ZipEntry>{good, {Path("outside/secret.txt"), "x"}} << Path("outside/secret.txt");
    QTest::newRow("drive letter") << QList<ZipEntry>{good, {"C:/evil", "x"}} << "C:/evil";
    QTest::newRow("backslash parent") << QList<ZipEntry>{good, {"..\\evil", "x"}} << "..\\evil";
    QTest::newRow("symlink") << QList<ZipEntry>{good, {"link", Path("outside").toUtf8(), true}} << "link";
    QTest::newRow("file under a link") << QList<ZipEntry>{{"lnk", Path("outside").toUtf8(), true}, {"lnk/secret.txt", "x"}}
                                       << "lnk";
    QTest::newRow("work folder") << QList<ZipEntry>{good, {"temp/backup/app", "x"}} << "temp/backup/app";
}

void TestInstaller::unsafePackagesRefused()
{
    QFETCH(QList<ZipEntry>, entries);
    QFETCH(QString, bad);
    QVERIFY(MakeZip(Path("pkg.zip"), entries));
    const auto program = Snapshot(Path("program"));
    const auto outside = Snapshot(Path("outside"));
    QString reason;
    QVERIFY(!Install(reason));
    QVERIFY2(reason.contains(bad), qPrintable(reason));
    QCOMPARE(Snapshot(Path("program")), program);
    QCOMPARE(Snapshot(Path("outside")), outside);
    QVERIFY(!QFileInfo::exists(Path("evil")));
}

void TestInstaller::folderLinkLeavingProgramRefused()
{
    // The program's own folder "plugins" leads elsewhere: nothing is written through it.
    QVERIFY(QFile::link(Path("outside"), Path("program/plugins")));
    QVERIFY(MakeZip(Path("pkg.zip"), {{"app", "new app"}, {"plugins/secret.txt", "overwritten"}}));
    const auto program = Snapshot(Path("program"));
    QString reason;
    QVERIFY(!Install(reason));
    QVERIFY2(reason.contains("plugins/secret.txt"), qPrintable(reason));
    QCOMPARE(Snapshot(Path("program")), program);
    QCOMPARE(Snapshot(Path("outside")).value("secret.txt"), QByteArray("secret"));
}

void TestInstaller::failureHalfWayRestoresOldFiles()
{
    // "cfg" is a file, so "cfg/x.ini" cannot be placed after "app" was replaced.
    QVERIFY(WriteBytes(Path("program/cfg"), "a file"));
    QVERIFY(WriteBytes(Path("program/zz.txt"), "old zz"));
    QVERIFY(MakeZip(Path("pkg.zip"), {{"app", "new app"},
                                      {"bin/tool", "new tool"},
                                      {"cfg/x.ini", "new cfg"},
                                      {"zz.txt", "new zz"}}));
    const auto program = Snapshot(Path("program"));
    QString reason;
    QVERIFY(!Install(reason));
    QVERIFY2(reason.contains("cfg"), qPrintable(reason));
    QVERIFY(m_log.contains(QStringLiteral("替换文件成功！")));
    QVERIFY(m_log.contains(QStringLiteral("还原文件: ") + Path("program/app")));
    // Every old file back, no new file or folder left, no work folder.
    QCOMPARE(Snapshot(Path("program")), program);
}

void TestInstaller::fileOverFolderRefused()
{
    // The package's "lib" is a file; the program's "lib" folder with its files stays.
    QVERIFY(MakeZip(Path("pkg.zip"), {{"app", "new app"}, {"lib", "a file now"}}));
    const auto program = Snapshot(Path("program"));
    QString reason;
    QVERIFY(!Install(reason));
    QVERIFY2(reason.contains("lib"), qPrintable(reason));
    QCOMPARE(Snapshot(Path("program")), program);
}

void TestInstaller::notAZip()
{
    QVERIFY(WriteBytes(Path("pkg.zip"), "this is not an archive"));
    const auto program = Snapshot(Path("program"));
    QString reason;
    QVERIFY(!Install(reason));
    QVERIFY(!reason.isEmpty());
    QCOMPARE(Snapshot(Path("program")), program);
    QVERIFY(!CPackageInstaller::SafeEntryName(QString()));
    QVERIFY(CPackageInstaller::SafeEntryName(QStringLiteral("a/b..c/d")));
}

QEL_TEST_MAIN(TestInstaller)
#include "tst_installer.moc"
