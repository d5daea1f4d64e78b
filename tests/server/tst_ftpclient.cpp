// The offline image store's FTP client against a real FTP server on loopback.
#include "cftpclient.h"
#include "ftpserverprocess.h"
#include "qeltest.h"

#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>

class TestFtpClient : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;   // root served, local files
    QString m_root, m_local;

    FtpAccount Account(int port, const QString &password = QStringLiteral("secret")) const
    {
        FtpAccount a;
        a.port = port;
        a.user = QStringLiteral("qel");
        a.password = password;
        return a;
    }
    static QByteArray Bytes(int size)
    {
        QByteArray data(size, Qt::Uninitialized);
        for (char &c : data)
            c = char(QRandomGenerator::global()->bounded(256));
        return data;
    }
    static void Write(const QString &path, const QByteArray &data)
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(data);
    }
    static QByteArray Read(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    // Runs until finished(); the result, or an empty one after a bounded wait.
    static CFtpClient::Result Finish(CFtpClient &ftp, int ms = 20000)
    {
        QSignalSpy spy(&ftp, &CFtpClient::finished);
        if (!spy.wait(ms))
            return {};
        return spy.first().first().value<CFtpClient::Result>();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_root = m_dir.path() + QStringLiteral("/root");
        m_local = m_dir.path() + QStringLiteral("/local");
        QVERIFY(QDir().mkpath(m_root + QStringLiteral("/ftp/custom_bin")));
        QVERIFY(QDir().mkpath(m_local));
    }

    void loginRefusedThenAccepted()
    {
        FtpServerProcess server(m_root, QStringLiteral("qel"), QStringLiteral("secret"));
        QVERIFY(server.Port() > 0);
        CFtpClient ftp;
        ftp.SetAccount(Account(server.Port(), QStringLiteral("wrong")));
        QVERIFY(ftp.list());
        CFtpClient::Result r = Finish(ftp);
        QCOMPARE(r.command, CFtpClient::List);
        QVERIFY(!r.ok);
        QVERIFY(!r.error.isEmpty());

        ftp.SetAccount(Account(server.Port()));
        QVERIFY(ftp.list());
        r = Finish(ftp);
        QVERIFY2(r.ok, qPrintable(r.error));
    }

    // Upload, list, size, download, delete: what the image page does with one image.
    void roundTrip()
    {
        FtpServerProcess server(m_root, QStringLiteral("qel"), QStringLiteral("secret"));
        CFtpClient ftp;
        ftp.SetAccount(Account(server.Port()));
        const QByteArray image = Bytes(300 * 1024);
        const QString name = QStringLiteral("镜像 1.img");
        Write(m_local + QStringLiteral("/up.img"), image);

        QSignalSpy progress(&ftp, &CFtpClient::progress);
        QVERIFY(ftp.put(m_local + QStringLiteral("/up.img"), name));
        QVERIFY(!ftp.list());   // one command at a time
        CFtpClient::Result r = Finish(ftp);
        QVERIFY2(r.ok, qPrintable(r.error));
        QCOMPARE(r.size, qint64(image.size()));
        QCOMPARE(Read(m_root + QStringLiteral("/ftp/custom_bin/") + name), image);
        QTRY_VERIFY_WITH_TIMEOUT(!progress.isEmpty(), 2000);
        QCOMPARE(progress.last().at(0).toLongLong(), qint64(image.size()));

        QVERIFY(ftp.list());
        r = Finish(ftp);
        QVERIFY(r.ok);
        QVERIFY(r.entries.contains(name));

        QVERIFY(ftp.size(name));
        r = Finish(ftp);
        QVERIFY2(r.ok, qPrintable(r.error));
        QCOMPARE(r.size, qint64(image.size()));

        QVERIFY(ftp.get(name, m_local));
        r = Finish(ftp);
        QVERIFY2(r.ok, qPrintable(r.error));
        QCOMPARE(Read(m_local + QLatin1Char('/') + name), image);

        QVERIFY(ftp.remove(name));
        r = Finish(ftp);
        QVERIFY2(r.ok, qPrintable(r.error));
        QVERIFY(!QFile::exists(m_root + QStringLiteral("/ftp/custom_bin/") + name));

        // Gone files fail and say so.
        QVERIFY(ftp.get(name, m_dir.path()));
        r = Finish(ftp);
        QVERIFY(!r.ok);
        QVERIFY(!QFile::exists(m_dir.path() + QLatin1Char('/') + name));
        QVERIFY(ftp.remove(name));
        QVERIFY(!Finish(ftp).ok);
    }

    // A file the server makes larger than asked for is not taken: the transfer
    // stops at the bound and the old local copy stays.
    void downloadBounded()
    {
        FtpServerProcess server(m_root, QStringLiteral("qel"), QStringLiteral("secret"));
        CFtpClient ftp;
        ftp.SetAccount(Account(server.Port()));
        const QString name = QStringLiteral("record.ini");
        Write(m_root + QStringLiteral("/ftp/custom_bin/") + name, Bytes(200 * 1024));
        Write(m_local + QLatin1Char('/') + name, QByteArrayLiteral("old"));

        QVERIFY(ftp.get(name, m_local, 64 * 1024));
        CFtpClient::Result r = Finish(ftp);
        QCOMPARE(r.command, CFtpClient::Get);
        QVERIFY(!r.ok);
        QCOMPARE(r.failure, CFtpClient::TransferFailed);
        QCOMPARE(Read(m_local + QLatin1Char('/') + name), QByteArrayLiteral("old"));

        const QByteArray small = Bytes(1000);
        Write(m_root + QStringLiteral("/ftp/custom_bin/") + name, small);
        QVERIFY(ftp.get(name, m_local, 1000));
        r = Finish(ftp);
        QVERIFY2(r.ok, qPrintable(r.error));
        QCOMPARE(Read(m_local + QLatin1Char('/') + name), small);
        QVERIFY(QFile::remove(m_root + QStringLiteral("/ftp/custom_bin/") + name));
    }

    // Names are plain names: nothing outside the folders, nothing into a command line.
    void namesRefused()
    {
        CFtpClient ftp;
        QSignalSpy started(&ftp, &CFtpClient::started);
        QVERIFY(!ftp.get(QStringLiteral("../escape.img"), m_local));
        QVERIFY(!ftp.get(QStringLiteral("/etc/passwd"), m_local));
        QVERIFY(!ftp.remove(QStringLiteral("a.img\r\nRMD /ftp")));
        QVERIFY(!ftp.put(m_local + QStringLiteral("/up.img"), QStringLiteral("sub/a.img")));
        QVERIFY(!ftp.size(QString()));
        QCOMPARE(started.count(), 0);
        QVERIFY(!ftp.isBusy());
    }

    // The server goes away in the middle of an upload and of a download: the
    // command fails with curl's text, an older local copy survives, and the next
    // command on a server that is back works.
    void serverStopsMidTransfer()
    {
        const QByteArray image = Bytes(1024 * 1024);
        Write(m_local + QStringLiteral("/big.img"), image);
        Write(m_root + QStringLiteral("/ftp/custom_bin/big.img"), image);
        const QByteArray older("the copy from before");
        QVERIFY(QDir().mkpath(m_local + QStringLiteral("/dl")));
        Write(m_local + QStringLiteral("/dl/big.img"), older);

        for (const bool upload : {true, false}) {
            FtpServerProcess server(m_root, QStringLiteral("qel"), QStringLiteral("secret"), 64 * 1024);
            QVERIFY(server.Port() > 0);
            CFtpClient ftp;
            ftp.SetStallSeconds(5);
            ftp.SetAccount(Account(server.Port()));
            QSignalSpy progress(&ftp, &CFtpClient::progress);
            QSignalSpy finished(&ftp, &CFtpClient::finished);
            QVERIFY(upload ? ftp.put(m_local + QStringLiteral("/big.img"), QStringLiteral("half.img"))
                           : ftp.get(QStringLiteral("big.img"), m_local + QStringLiteral("/dl")));
            QTRY_VERIFY_WITH_TIMEOUT(!progress.isEmpty(), 10000);
            server.Kill();
            QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 20000);
            const auto r = finished.first().first().value<CFtpClient::Result>();
            QVERIFY(!r.ok);
            QVERIFY(!r.error.isEmpty());
            QVERIFY(!ftp.isBusy());
            if (!upload)
                QCOMPARE(Read(m_local + QStringLiteral("/dl/big.img")), older);

            FtpServerProcess again(m_root, QStringLiteral("qel"), QStringLiteral("secret"));
            ftp.SetAccount(Account(again.Port()));
            QVERIFY(ftp.list());
            const auto listed = Finish(ftp);
            QVERIFY2(listed.ok, qPrintable(listed.error));
            QVERIFY(listed.entries.contains(QStringLiteral("big.img")));
        }
    }

    // Abort ends a transfer as failed; a client that goes away stops its
    // transfer; neither leaves a partial file behind.
    void abortAndDestroy()
    {
        FtpServerProcess server(m_root, QStringLiteral("qel"), QStringLiteral("secret"), 32 * 1024);
        const QString folder = m_local + QStringLiteral("/aborted");
        QVERIFY(QDir().mkpath(folder));
        auto ftp = std::make_unique<CFtpClient>();
        ftp->SetAccount(Account(server.Port()));
        QSignalSpy progress(ftp.get(), &CFtpClient::progress);
        QVERIFY(ftp->get(QStringLiteral("big.img"), folder));
        QTRY_VERIFY_WITH_TIMEOUT(!progress.isEmpty(), 10000);
        ftp->abort();
        const auto r = Finish(*ftp);
        QCOMPARE(r.command, CFtpClient::Get);
        QVERIFY(!r.ok);

        progress.clear();
        QVERIFY(ftp->get(QStringLiteral("big.img"), folder));
        QTRY_VERIFY_WITH_TIMEOUT(!progress.isEmpty(), 10000);
        ftp.reset();
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList());
    }
};

QEL_TEST_MAIN(TestFtpClient)
#include "tst_ftpclient.moc"
