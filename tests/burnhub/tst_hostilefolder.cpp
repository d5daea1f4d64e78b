// Programmer folders laid out to harm: FIFOs where files belong, links out of
// the folder, oversized identity files and IDs. Nothing hangs, nothing outside
// the folder changes, nothing oversized is believed.
#include "burnhub.h"
#include "fifoguard.h"
#include "functool.h"
#include "qeltest.h"

#include <QTemporaryDir>


namespace {
const QByteArray kIdentity = "ID=0123456789ABCDEF01234567\nVER=V2.1.5\nMODEL=QEL720A\n";
}

class TestHostileFolder : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;
    QString m_root;    // the programmer folder, with a trailing "/"
    QString m_outside; // a file outside it that must keep its content
    QString m_away;    // a folder outside it that must stay empty
    QString m_src;     // a prepared file to send
    const QByteArray m_secret = "outside, keep me";
    BurnHub *m_hub = nullptr;

    bool AwayIsEmpty() const
    {
        return QDir(m_away).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden).isEmpty();
    }

private slots:
    void init()
    {
        QVERIFY(m_dir.isValid());
        m_root = m_dir.path() + "/prog/";
        QDir(m_root).removeRecursively();
        QDir(m_dir.path() + "/away").removeRecursively();
        QVERIFY(FuncTool::WriteFile(m_root + "sys/qelprogrammer.dat", kIdentity));
        m_outside = m_dir.path() + "/outside.txt";
        QVERIFY(FuncTool::WriteFile(m_outside, m_secret));
        m_away = m_dir.path() + "/away";
        QVERIFY(QDir().mkpath(m_away));
        m_src = m_dir.path() + "/param.src";
        QVERIFY(FuncTool::WriteFile(m_src, QByteArray("voltage=33\r\n")));
        m_hub = BurnHub::Instance();
        m_hub->SetSearchDirs({m_root});
        m_hub->SetProgRoot(m_root);
    }
    void cleanup() { BurnHub::Exitance(); }

    // A FIFO as identity file, parameter file or index neither hangs nor counts.
    void fifosAreNotFiles()
    {
        QVERIFY(QFile::remove(m_root + "sys/qelprogrammer.dat"));
        QVERIFY(QDir().mkpath(m_root + "config"));
        FifoGuard identity(m_root + "sys/qelprogrammer.dat");
        FifoGuard param(m_root + "config/param.ini");
        FifoGuard index(m_root + "config/image.dat");
        QVERIFY(identity.Made() && param.Made() && index.Made());

        QVERIFY(m_hub->GetProgerList().isEmpty());
        QVERIFY(!identity.HadToRelease());
        QMap<QString, QString> config;
        QString err;
        QVERIFY(!m_hub->ReadConfig(config, err));
        QVERIFY(!param.HadToRelease());
        QMap<int, ImageInfo> images;
        QVERIFY(!m_hub->ReadImageIndex(images, err));
        qint64 size = 0;
        QByteArray data;
        QVERIFY(!m_hub->ReadFileData("param.ini", size, data));
        QVERIFY(!m_hub->CheckImageVaild(m_root + "config/param.ini"));
        QVERIFY(!param.HadToRelease() && !index.HadToRelease());
        // Sending parameters over a FIFO refuses instead of writing into it.
        QVERIFY(!m_hub->DownConfigFile(m_src, err));
        QVERIFY(!param.HadToRelease());
    }

    // Every write of the file set refuses a link out of the folder.
    void linkedFilesKeepTheirTargets_data()
    {
        QTest::addColumn<QString>("link");
        QTest::newRow("param_refresh.cmd") << "cmd/param_refresh.cmd";
        QTest::newRow("param.ini") << "config/param.ini";
        QTest::newRow("image.dat") << "config/image.dat";
        QTest::newRow("newlist.dat") << "config/newlist.dat";
        QTest::newRow("signal.ini") << "config/signal.ini";
        QTest::newRow("password.dat") << "sys/password.dat";
        QTest::newRow("update.bin") << "update.bin";
        QTest::newRow("image file") << "procs/a.img";
    }
    void linkedFilesKeepTheirTargets()
    {
        QFETCH(QString, link);
        QVERIFY(QDir().mkpath(QFileInfo(m_root + link).absolutePath()));
        QVERIFY(QFile::link(m_outside, m_root + link));
        QString err;
        QMap<int, ImageInfo> images;
        m_hub->DownConfigFile(m_src, err);
        m_hub->DownSignalFile(m_src, err);
        m_hub->DownPasswordFile(m_src, err);
        m_hub->DownFirmFile(m_src, err);
        m_hub->ReadImageIndex(images, err);
        m_hub->DownImageFile(2, m_src, "a.img", err);
        QCOMPARE(FuncTool::ReadFile(m_outside), m_secret);
        QVERIFY(QFileInfo(m_root + link).isSymLink());
    }

    // A linked config/ or procs/ leads out of the folder: nothing lands there.
    void linkedFoldersReceiveNothing_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::newRow("config") << "config";
        QTest::newRow("procs") << "procs";
        QTest::newRow("cmd") << "cmd";
    }
    void linkedFoldersReceiveNothing()
    {
        QFETCH(QString, folder);
        QDir(m_root + folder).removeRecursively();
        QVERIFY(FuncTool::WriteFile(m_away + "/keep.img", QByteArray("keep")));
        QVERIFY(QFile::link(m_away, m_root + folder));
        QString err;
        QMap<int, ImageInfo> images;
        m_hub->ReadImageIndex(images, err);
        m_hub->DownConfigFile(m_src, err);
        m_hub->DownImageFile(1, m_src, "b.img", err);
        m_hub->FileTransfer(m_src + ".img", err);
        m_hub->DeleteAllImage(err);
        QCOMPARE(QDir(m_away).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden),
                 QStringList{"keep.img"});
        QCOMPARE(FuncTool::ReadFile(m_away + "/keep.img"), QByteArray("keep"));
    }

    // Reads follow no link out of the folder either.
    void linkedReadsStayInside()
    {
        QVERIFY(FuncTool::WriteFile(m_outside, QByteArray("secret=1\n")));
        QVERIFY(QDir().mkpath(m_root + "config"));
        QVERIFY(QFile::link(m_outside, m_root + "config/param.ini"));
        QMap<QString, QString> config;
        QString err;
        QVERIFY(!m_hub->ReadConfig(config, err));
        QVERIFY(config.isEmpty());
        qint64 size = 0;
        QByteArray data;
        QVERIFY(!m_hub->ReadFileData("param.ini", size, data));
        QVERIFY(data.isEmpty());
    }

    // The identity file is small and its ID no longer than the model's.
    void oversizedIdentityIsRefused()
    {
        const QString sys = m_root + "sys/qelprogrammer.dat";
        ProgerInfo info;
        QVERIFY(BurnHub::IsRightProger(sys, info));
        QCOMPARE(m_hub->GetProgerList().size(), 1);

        // 3 GiB, sparse: refused from its size, without reading it.
        {
            QFile f(sys);
            QVERIFY(f.open(QIODevice::ReadWrite));
            QVERIFY(f.resize(qint64(3) << 30));
        }
        QVERIFY(!BurnHub::IsRightProger(sys, info));
        QVERIFY(m_hub->GetProgerList().isEmpty());

        const QByteArray longId = "ID=" + QByteArray(65, 'A') + "\nVER=V1\n";
        QVERIFY(FuncTool::WriteFile(sys, longId));
        QVERIFY(!BurnHub::IsRightProger(sys, info));
        QVERIFY(FuncTool::WriteFile(sys, "ID=" + QByteArray(24, 'A') + "\nVER=V1\nMODEL=" + QByteArray(65, 'M') + "\n"));
        QVERIFY(!BurnHub::IsRightProger(sys, info));
        QVERIFY(FuncTool::WriteFile(sys, "ID=" + QByteArray(24, 'A') + "\nVER=V1\n"));
        QVERIFY(BurnHub::IsRightProger(sys, info));
        QCOMPARE(info.m_strID, QString(24, 'A'));
    }
};

QEL_TEST_MAIN(TestHostileFolder)
#include "tst_hostilefolder.moc"
