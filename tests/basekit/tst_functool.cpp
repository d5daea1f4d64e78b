#include "qeltest.h"

#include "functool.h"
#include "moduleid.h"
#include "cpubactions.h"
#include "zelldir.h"

#include <QComboBox>
#include <QImage>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QTimer>

namespace {
bool writeBytes(const QString &path, const QByteArray &data)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(data) == data.size();
}

QStringList names(const QFileInfoList &list, const QString &base)
{
    QStringList out;
    for (const QFileInfo &info : list)
        out << QDir(base).relativeFilePath(info.absoluteFilePath());
    return out;
}
} // namespace

class TestFuncTool : public QObject
{
    Q_OBJECT

private slots:
    void versions_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<bool>("result");
        QTest::newRow("numeric not textual") << "V1.2.10" << "v1.2.9" << true;
        QTest::newRow("shorter is less") << "1.2" << "1.2.0" << false;
        QTest::newRow("longer is more") << "1.2.0" << "1.2" << true;
        QTest::newRow("equal after cleaning") << "v:1.3.8" << "1.3.8" << true;
        QTest::newRow("older") << "1.2.9" << "1.3" << false;
        QTest::newRow("first part wins") << "2.0" << "1.99.99" << true;
        QTest::newRow("junk part counts 0") << "1.x" << "1.1" << false;
        QTest::newRow("huge part") << "1.99999999999" << "1.2" << true;
    }

    void versions()
    {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(bool, result);
        QCOMPARE(FuncTool::GreaterOrEqualVer(a, b), result);
    }

    void pathsAndSections()
    {
        QString path = "C:\\qel\\data";
        FuncTool::AdjustPath(path);
        QCOMPARE(path, QStringLiteral("C:/qel/data/"));
        FuncTool::AdjustPath(path);
        QCOMPARE(path, QStringLiteral("C:/qel/data/"));
        QString empty;
        FuncTool::AdjustPath(empty);
        QVERIFY(empty.isEmpty());

        QString folder, name;
        QVERIFY(FuncTool::SplitPath("F:\\images\\a.img", folder, name));
        QCOMPARE(folder, QStringLiteral("F:/images/"));
        QCOMPARE(name, QStringLiteral("a.img"));
        QVERIFY(FuncTool::SplitPath("plain.bin", folder, name));
        QVERIFY(folder.isEmpty());
        QCOMPARE(name, QStringLiteral("plain.bin"));
        QVERIFY(!FuncTool::SplitPath(QString(), folder, name));

        const QString text = "a=1 b=2 c=3";
        QCOMPARE(FuncTool::CutString(text, "=", 2), QStringLiteral("a=1 b="));
        QCOMPARE(FuncTool::CutString(text, "=", 9), text);
        QCOMPARE(FuncTool::CutString(text, "#", 1), text);
        QCOMPARE(FuncTool::CutString(text, "", 1), text);
        QCOMPARE(FuncTool::SectionData(text, "=", 2), QStringLiteral("2"));
        QCOMPARE(FuncTool::SectionData(text, "=", 3), QStringLiteral("3"));
        QCOMPARE(FuncTool::SectionData(text, "=", 4), QString());
        QCOMPARE(FuncTool::SectionData("k==v w", "==", 1), QStringLiteral("v"));
        QCOMPARE(FuncTool::SectionData(text, "", 1), QString());
    }

    void encodings()
    {
        const QString chinese = QStringLiteral("烧录器");
        const QByteArray gbk = FuncTool::UTF82GBKStr(QStringLiteral("中文"));
        QCOMPARE(gbk, QByteArray("\xD6\xD0\xCE\xC4"));
        QCOMPARE(FuncTool::GBK2UTF8(FuncTool::UTF82GBKStr(chinese)), chinese);
        QCOMPARE(FuncTool::UTF82GBK(QStringLiteral("中文")), QString::fromLatin1(gbk));
        QCOMPARE(FuncTool::UTF82Unicode(chinese.toUtf8()), chinese);
        // Broken GBK decodes to something, never crashes.
        QVERIFY(!FuncTool::GBK2UTF8(QByteArray("\xD6\xFF\x81", 3)).isEmpty());
    }

    void moduleTable()
    {
        QCOMPARE(ModuleName(Mod_Qel720AServer), QStringLiteral("qel720A_server"));
        QCOMPARE(ModuleName(Mod_Qel720AClient), QStringLiteral("qel720A_client"));
        QCOMPARE(ModuleName(Mod_Qel720A), QStringLiteral("qel720A"));
        QCOMPARE(ModuleName(Mod_Heartbeat), QStringLiteral("qelmod_24"));
        QCOMPARE(ModuleName(0), QStringLiteral("qelmod_00"));
        QCOMPARE(ModuleName(38), QStringLiteral("Unknown module"));
        QCOMPARE(ModuleName(-1), QStringLiteral("Unknown module"));
        QSet<QString> all;
        for (int i = 0; i < ModuleCount; ++i)
            all.insert(ModuleName(i));
        QCOMPARE(all.size(), ModuleCount);
        QVERIFY(!all.contains(QStringLiteral("Unknown module")));
    }

    void dataFolders()
    {
        const QString env = QString::fromLocal8Bit(qgetenv("QEL_DATA_DIR"));
        QVERIFY(!env.isEmpty());
        QString expected = env;
        FuncTool::AdjustPath(expected);
        QCOMPARE(FuncTool::GetQELDir(), expected);

        const QString server = FuncTool::GetDataDir(Mod_Qel720AServer);
        QCOMPARE(server, expected + "qel720A_server/");
        QVERIFY(QFileInfo(server).isDir());
        const QString unknown = FuncTool::GetDataDir(38);
        QCOMPARE(unknown, expected + "Unknown module/");
        QVERIFY(QFileInfo(unknown).isDir());
        QVERIFY(FuncTool::GetDataDir(QString()).isEmpty());

        const QString user = FuncTool::GetAppDataDir();
        QVERIFY(user.endsWith('/'));
        QVERIFY(user.startsWith(QString::fromLocal8Bit(qgetenv("XDG_DATA_HOME"))));
        QVERIFY(QFileInfo(user).isDir());

        // Without the variable: beside the program, as the build folder is writable.
        const QString beside = QCoreApplication::applicationDirPath() + "/qel-data/";
        const bool existed = QFileInfo::exists(beside);
        qunsetenv("QEL_DATA_DIR");
        const QString fallback = FuncTool::GetQELDir();
        qputenv("QEL_DATA_DIR", env.toLocal8Bit());
        if (!existed)
            QDir(beside).removeRecursively();
        QCOMPARE(fallback, beside);
    }

    void readWrite()
    {
        QTemporaryDir dir;
        const QString nested = dir.filePath("a/b/c.txt");
        QVERIFY(FuncTool::WriteFile(nested, QByteArray("one\0two", 7)));
        QCOMPARE(FuncTool::ReadFile(nested), QByteArray("one\0two", 7));
        QVERIFY(FuncTool::WriteFile(nested, QStringLiteral("short")));
        QCOMPARE(FuncTool::ReadFile(nested), QByteArray("short"));

        // A read-only file is made writable for its owner first.
        QFile::setPermissions(nested, QFileDevice::ReadOwner);
        QVERIFY(FuncTool::WriteFile(nested, QByteArray("again")));
        QVERIFY(QFile::permissions(nested) & QFileDevice::WriteOwner);

        QVERIFY(FuncTool::ReadFile(dir.filePath("missing")).isEmpty());
        QVERIFY(FuncTool::ReadFile(dir.path()).isEmpty());
        QVERIFY(!FuncTool::WriteFile(dir.path(), QByteArray("x")));
        QVERIFY(!FuncTool::WriteFile(QString(), QByteArray("x")));
        QVERIFY(FuncTool::CheckFileDir(dir.filePath("x/y/z.bin")));
        QVERIFY(QFileInfo(dir.filePath("x/y")).isDir());
        QVERIFY(ZellDir::MKDir(dir.filePath("m/n")));
        QVERIFY(!ZellDir::MKDir(nested + "/under-a-file"));
    }

    void copyFile()
    {
        QTemporaryDir dir;
        const QString src = dir.filePath("src.bin");
        const QString dst = dir.filePath("dst.bin");
        QVERIFY(writeBytes(src, "AAAA"));
        QVERIFY(writeBytes(dst, "BBBB"));
        QString err = "stale";

        // Same size: taken as already copied, unless verified by digest.
        QVERIFY(FuncTool::CopyFile(src, dst, err));
        QVERIFY(err.isEmpty());
        QCOMPARE(FuncTool::ReadFile(dst), QByteArray("BBBB"));
        QVERIFY(FuncTool::CopyFile(src, dst, err, true));
        QCOMPARE(FuncTool::ReadFile(dst), QByteArray("AAAA"));
        QVERIFY(FuncTool::CopyFile(src, dst, err, true));

        QVERIFY(writeBytes(src, "longer content"));
        QVERIFY(FuncTool::CopyFile(src, dst, err));
        QCOMPARE(FuncTool::ReadFile(dst), QByteArray("longer content"));

        const QString deep = dir.filePath("new/folder/dst.bin");
        QVERIFY(FuncTool::CopyFile(src, deep, err));
        QCOMPARE(FuncTool::ReadFile(deep), QByteArray("longer content"));

        // An empty source is a valid copy.
        const QString empty = dir.filePath("empty");
        QVERIFY(writeBytes(empty, QByteArray()));
        QVERIFY(FuncTool::CopyFile(empty, dst, err));
        QCOMPARE(QFileInfo(dst).size(), 0);
    }

    void copyFileErrors()
    {
        QTemporaryDir dir;
        const QString src = dir.filePath("src.bin");
        QVERIFY(writeBytes(src, "data"));
        QString err;

        QVERIFY(!FuncTool::CopyFile(dir.filePath("missing"), dir.filePath("out"), err));
        QCOMPARE(err, QStringLiteral("读源文件失败"));
        QVERIFY(!FuncTool::CopyFile(dir.path(), dir.filePath("out"), err));
        QCOMPARE(err, QStringLiteral("读源文件失败"));
        QVERIFY(!QFileInfo::exists(dir.filePath("out")));

        QVERIFY(QDir(dir.path()).mkdir("taken"));
        QVERIFY(!FuncTool::CopyFile(src, dir.filePath("taken"), err));
        QCOMPARE(err, QStringLiteral("写目标文件失败"));

        QVERIFY(!FuncTool::CopyFile(src, src + "/below/out", err));
        QCOMPARE(err, QStringLiteral("目标目录创建失败."));
        QCOMPARE(FuncTool::ReadFile(src), QByteArray("data"));
    }

    void replaceFile()
    {
        QTemporaryDir dir;
        const QString src = dir.filePath("new.img");
        const QString dst = dir.filePath("prog/image.img");
        QVERIFY(writeBytes(src, QByteArray(200000, 'n')));
        QVERIFY(FuncTool::ReplaceFile(src, dst));
        QCOMPARE(FuncTool::ReadFile(dst), QByteArray(200000, 'n'));

        QVERIFY(writeBytes(dst, "old image"));
        QVERIFY(!FuncTool::ReplaceFile(dir.filePath("missing"), dst));
        QVERIFY(!FuncTool::ReplaceFile(dir.path(), dst));
        QCOMPARE(FuncTool::ReadFile(dst), QByteArray("old image"));
        QVERIFY(!FuncTool::ReplaceFile(src, dir.filePath("prog")));
        QVERIFY(QFileInfo(dir.filePath("prog")).isDir());

        QVERIFY(FuncTool::ReplaceFile(src, dst));
        QCOMPARE(FuncTool::ReadFile(dst), QByteArray(200000, 'n'));
        // Nothing is left behind under a temporary name.
        QCOMPARE(QDir(dir.filePath("prog")).entryList(QDir::Files | QDir::Hidden), QStringList{"image.img"});
    }

    void folders()
    {
        QTemporaryDir dir;
        const QString src = dir.filePath("src");
        QVERIFY(FuncTool::WriteFile(src + "/b.txt", QByteArray("b")));
        QVERIFY(FuncTool::WriteFile(src + "/A.txt", QByteArray("a")));
        QVERIFY(FuncTool::WriteFile(src + "/sub/c.txt", QByteArray("c")));
        QVERIFY(QFile::link(src + "/b.txt", src + "/link.txt"));
        QVERIFY(QDir(src).mkpath("emptysub"));

        QCOMPARE(names(FuncTool::GetFileInfoList(src), src), (QStringList{"A.txt", "b.txt"}));
        QCOMPARE(names(FuncTool::GetFileInfoList(src, true), src), (QStringList{"A.txt", "b.txt", "sub/c.txt"}));
        QVERIFY(FuncTool::GetFileInfoList(dir.filePath("missing")).isEmpty());

        QString err;
        const QString dst = dir.filePath("dst");
        QVERIFY(FuncTool::CopyDir(src, dst, err));
        QCOMPARE(FuncTool::ReadFile(dst + "/sub/c.txt"), QByteArray("c"));
        QVERIFY(QFileInfo(dst + "/emptysub").isDir());
        QVERIFY(!FuncTool::CopyDir(dir.filePath("missing"), dst, err));
        QCOMPARE(err, QStringLiteral("源目录不存在"));
        QVERIFY(!FuncTool::CopyDir(src, src + "/A.txt/x", err));
        QCOMPARE(err, QStringLiteral("目标目录创建失败."));
        // A target inside the source does not copy itself over and over.
        QVERIFY(FuncTool::CopyDir(src, src + "/inner", err));
        QVERIFY(QFileInfo::exists(src + "/inner/sub/c.txt"));
        QVERIFY(!QFileInfo::exists(src + "/inner/inner"));

        // Clearing keeps the folder and what a link points at.
        QVERIFY(QFile::link(dst, src + "/dstlink"));
        QVERIFY(FuncTool::ClearDir(src));
        QVERIFY(QFileInfo(src).isDir());
        QVERIFY(QDir(src).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System).isEmpty());
        QVERIFY(QFileInfo::exists(dst + "/sub/c.txt"));
        QVERIFY(!FuncTool::ClearDir(dir.filePath("missing")));
    }

    void repairPngs()
    {
        QTemporaryDir dir;
        QImage image(4, 4, QImage::Format_RGB32);
        image.fill(Qt::red);
        QVERIFY(image.save(dir.filePath("good.png"), "PNG"));
        QVERIFY(image.save(dir.filePath("upper.PNG"), "PNG"));
        QVERIFY(writeBytes(dir.filePath("broken.png"), "not a png"));
        QCOMPARE(FuncTool::RepairPngs(dir.path()), 1);
        QCOMPARE(FuncTool::ReadFile(dir.filePath("broken.png")), QByteArray("not a png"));
        QCOMPARE(FuncTool::RepairPngs(dir.filePath("missing")), 0);
    }

    void comboIndex()
    {
        QComboBox combo;
        combo.addItem("low", 1);
        combo.addItem("high", 0);
        QVERIFY(FuncTool::SetComboIndex(&combo, 0));
        QCOMPARE(combo.currentText(), QStringLiteral("high"));
        QVERIFY(FuncTool::SetComboIndex(&combo, QStringLiteral("low")));
        QCOMPARE(combo.currentIndex(), 0);
        QVERIFY(!FuncTool::SetComboIndex(&combo, 7));
        QVERIFY(!FuncTool::SetComboIndex(&combo, QStringLiteral("lo")));
        QCOMPARE(combo.currentIndex(), 0);
        QVERIFY(!FuncTool::SetComboIndex(nullptr, 1));
    }

    void processes()
    {
        // Our own name is longer than the 15 characters the kernel keeps.
        const QString self = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
        QVERIFY(self.size() > 15);
        QVERIFY(FuncTool::CheckProcess(self));
        QVERIFY(FuncTool::CheckProcess(self + ".exe"));
        QVERIFY(!FuncTool::CheckProcess(self + "_other"));
        QVERIFY(!FuncTool::CheckProcess(QStringLiteral("qel_no_such_program")));
        QVERIFY(!FuncTool::CheckProcess(QString()));
        QVERIFY(!FuncTool::CheckProcess(QStringLiteral("/proc")));

        // A sleeper under a name of its own, so nothing else can be hit; kept
        // under the test's home as /tmp may forbid running programs.
        QTemporaryDir dir(QDir::homePath() + "/procXXXXXX");
        QVERIFY(dir.isValid());
        const QString name = QStringLiteral("qk%1").arg(QCoreApplication::applicationPid());
        QVERIFY(QFile::copy(QStringLiteral("/bin/sleep"), dir.filePath(name)));
        QVERIFY(QFile::setPermissions(dir.filePath(name), QFileDevice::ExeOwner | QFileDevice::ReadOwner));
        QProcess sleeper;
        sleeper.start(dir.filePath(name), {QStringLiteral("60")});
        QVERIFY(sleeper.waitForStarted());
        QVERIFY(FuncTool::CheckProcess(name + ".exe"));
        QVERIFY(FuncTool::KillProcess(name + ".exe"));
        QVERIFY(sleeper.waitForFinished(10000));
        QCOMPARE(sleeper.exitStatus(), QProcess::CrashExit);
        QVERIFY(!FuncTool::CheckProcess(name));
        QVERIFY(!FuncTool::KillProcess(name));
        // Never the caller itself.
        QVERIFY(!FuncTool::KillProcess(self));
    }

    void hosts()
    {
        QVERIFY(FuncTool::CheckPing(QStringLiteral("127.0.0.1")));
        QVERIFY(!FuncTool::CheckPing(QString()));
        QVERIFY(!FuncTool::CheckPing(QStringLiteral("-c 1 127.0.0.1")));
        QVERIFY(!FuncTool::CheckPing(QStringLiteral("host.invalid")));

        CPubActions user(false);
        const QString ini = QStringLiteral("wide.ini");
        QCOMPARE(FuncTool::WideServerIP(ini), QStringLiteral("127.0.0.1"));
        QVERIFY(user.WriteString("CLOUD", "HOST", "cloud.example", ini));
        QVERIFY(user.WriteString("CLOUD", "FALLBACK1", "not-an-address", ini));
        QVERIFY(user.WriteString("CLOUD", "FALLBACK2", "127.0.0.1", ini));
        QCOMPARE(FuncTool::WideServerIP(ini), QStringLiteral("127.0.0.1"));
        QVERIFY(user.WriteString("CLOUD", "FALLBACK1", "", ini));
        QVERIFY(user.WriteString("CLOUD", "FALLBACK2", "-1", ini));
        QCOMPARE(FuncTool::WideServerIP(ini), QStringLiteral("cloud.example"));

        QVERIFY(FuncTool::GetKeilDir().isEmpty());
        QVERIFY(FuncTool::GetIarDir().isEmpty());
        QVERIFY(FuncTool::GetSeggerDir().isEmpty());
    }

    void delaysKeepEventsFlowing()
    {
        int fired = 0;
        QTimer::singleShot(0, this, [&fired] { ++fired; });
        FuncTool::DoDelay(20);
        QCOMPARE(fired, 1);
        QTimer::singleShot(0, this, [&fired] { ++fired; });
        FuncTool::DoDelayUI(20);
        QCOMPARE(fired, 2);
        FuncTool::DoDelay(0);
        FuncTool::DoDelay(-5);
    }
};

QEL_TEST_MAIN(TestFuncTool)
#include "tst_functool.moc"
