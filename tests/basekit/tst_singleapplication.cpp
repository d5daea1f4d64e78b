// Single instance and mailboxes between real processes: this test program is
// module 30, the peers are sham_peer processes, and a test-owned CShamMailbox
// plays a program that does not read its mailbox.
#include "ckeylock.h"
#include "cshammailbox.h"
#include "cshamoutbox.h"
#include "moduleid.h"
#include "qeltest.h"
#include "singleapplication.h"

#include <QProcess>
#include <QSignalSpy>

#include <sys/ipc.h>
#include <sys/shm.h>

namespace {
constexpr int kSelf = 30;
constexpr int kWaitMs = 10000;

// One sham_peer process and its output lines.
class Peer
{
public:
    explicit Peer(int module)
    {
        m_process.start(qeltest::binDir() + QStringLiteral("/sham_peer"), {QString::number(module)});
    }
    ~Peer()
    {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.write("quit\n");
        if (!m_process.waitForFinished(5000)) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
    }
    // Waits until a line starting with prefix arrives; returns it (empty on time-out).
    QByteArray WaitFor(const QByteArray &prefix, int ms = kWaitMs)
    {
        QElapsedTimer timer;
        timer.start();
        for (;;) {
            for (int i = 0; i < m_lines.size(); ++i) {
                if (m_lines.at(i).startsWith(prefix))
                    return m_lines.takeAt(i);
            }
            if (timer.elapsed() > ms)
                return QByteArray();
            if (m_process.state() == QProcess::NotRunning)
                ReadLines();
            else if (m_process.waitForReadyRead(50))
                ReadLines();
            if (m_process.state() == QProcess::NotRunning && !m_process.bytesAvailable() && !HasLine(prefix))
                return QByteArray();
            QCoreApplication::processEvents();
        }
    }
    void Send(const QByteArray &line) { m_process.write(line + '\n'); }
    QProcess &Process() { return m_process; }

private:
    void ReadLines()
    {
        m_buffer += m_process.readAllStandardOutput();
        int end;
        while ((end = m_buffer.indexOf('\n')) >= 0) {
            m_lines << m_buffer.left(end);
            m_buffer.remove(0, end + 1);
        }
    }
    bool HasLine(const QByteArray &prefix) const
    {
        for (const QByteArray &l : m_lines)
            if (l.startsWith(prefix))
                return true;
        return false;
    }
    QProcess m_process;
    QByteArray m_buffer;
    QList<QByteArray> m_lines;
};

SingleApplication *app()
{
    return static_cast<SingleApplication *>(QCoreApplication::instance());
}

// Takes from box until count messages arrived or the wait ends.
QList<CShamMailbox::Message> Collect(CShamMailbox &box, int count, int ms = kWaitMs)
{
    QList<CShamMailbox::Message> got;
    QElapsedTimer timer;
    timer.start();
    while (got.size() < count && timer.elapsed() < ms) {
        got += box.Take();
        if (got.size() < count)
            QTest::qWait(40);
    }
    return got;
}
} // namespace

class TestSingleApplication : public QObject
{
    Q_OBJECT
private slots:
    void thisProgramOwnsItsKey();
    void secondStartRefused();
    void killedOwnerDoesNotBlock();
    void messagesBothWays();
    void fullMailboxKeepsQueueAndDropsOldest();
    void messageToStoppedProgramVanishes();
    void heartbeat();
    void mailboxFormat();
};

void TestSingleApplication::thisProgramOwnsItsKey()
{
    QVERIFY(!app()->isRunning());
    QVERIFY(!app()->refuseSecondStart());
    QVERIFY(SingleApplication::checkSpecAppRunning(kSelf));
    QVERIFY(!SingleApplication::checkSpecAppRunning(QStringLiteral("qelmod_36")));
}

void TestSingleApplication::secondStartRefused()
{
    // Module 38 has no name of its own: it runs under "Unknown module".
    Peer first(38);
    QCOMPARE(first.WaitFor("ready"), QByteArray("ready"));
    QVERIFY(SingleApplication::checkSpecAppRunning(QStringLiteral("Unknown module")));

    Peer second(38);
    const QByteArray notice = second.WaitFor("notice");
    QVERIFY2(notice.contains("Unknown module"), notice.constData());
    QVERIFY(second.Process().waitForFinished(kWaitMs));
    QCOMPARE(second.Process().exitCode(), 3);
    // The refused start did not disturb the first one.
    QVERIFY(SingleApplication::checkSpecAppRunning(QStringLiteral("Unknown module")));

    first.Send("quit");
    QVERIFY(first.Process().waitForFinished(kWaitMs));
    QCOMPARE(first.Process().exitCode(), 0);
    QVERIFY(!SingleApplication::checkSpecAppRunning(QStringLiteral("Unknown module")));
}

void TestSingleApplication::killedOwnerDoesNotBlock()
{
    {
        Peer victim(31);
        QCOMPARE(victim.WaitFor("ready"), QByteArray("ready"));
        victim.Process().kill();
        QVERIFY(victim.Process().waitForFinished(kWaitMs));
    }
    // Its segment outlives it (looked up without attaching, which would remove
    // it), but nobody owns the key any more.
    const key_t key = ::ftok(QFile::encodeName(CKeyLock::SegmentFile(ModuleName(31))).constData(), 'Q');
    QVERIFY(key != -1);
    QVERIFY(::shmget(key, 0, 0400) >= 0);
    QVERIFY(!SingleApplication::checkSpecAppRunning(31));

    Peer next(31);
    QCOMPARE(next.WaitFor("ready"), QByteArray("ready"));
    QVERIFY(SingleApplication::checkSpecAppRunning(31));
    // The taken-over mailbox works.
    SingleApplication::sendSpecMessage(31, "after restart");
    QCOMPARE(next.WaitFor("recv"), QByteArray("recv 30 after restart"));
}

void TestSingleApplication::messagesBothWays()
{
    Peer peer(32);
    QCOMPARE(peer.WaitFor("ready"), QByteArray("ready"));
    QSignalSpy received(app(), &SingleApplication::bytesAvailable);

    QVERIFY(SingleApplication::sendSpecMessage(32, "hello peer"));
    QVERIFY(SingleApplication::sendSpecMessage(ModuleName(32), QByteArray("\x00\x68\x68\x68 binary", 11)));
    QCOMPARE(peer.WaitFor("recv"), QByteArray("recv 30 hello peer"));
    QCOMPARE(peer.WaitFor("recv"), QByteArray("recv 30 \x00\x68\x68\x68 binary", 19));

    peer.Send("send 30 hello test");
    QVERIFY(received.wait(kWaitMs));
    QCOMPARE(received.first().at(0).value<quint8>(), quint8(32));
    QCOMPARE(received.first().at(1).toByteArray(), QByteArray("hello test"));
}

void TestSingleApplication::fullMailboxKeepsQueueAndDropsOldest()
{
    // A program that does not read: its mailbox is filled up to the last byte.
    CShamMailbox box(ModuleName(33));
    QCOMPARE(box.Own(), CShamMailbox::Claimed);
    const QByteArray big(CShamMailbox::MaxPayload, 'b');
    QCOMPARE(CShamMailbox::Send(box.Key(), 99, big), CShamMailbox::Delivered);
    QCOMPARE(CShamMailbox::Send(box.Key(), 99, "x"), CShamMailbox::Full);

    for (int i = 0; i <= CShamOutbox::MaxEntries; ++i)
        QVERIFY(SingleApplication::sendSpecMessage(33, QByteArray("m") + QByteArray::number(i).rightJustified(4, '0')));
    QTest::qWait(100);
    QCOMPARE(SingleApplication::pendingMessages(), 1024);

    QList<CShamMailbox::Message> got = box.Take();
    QCOMPARE(got.size(), 1);
    QCOMPARE(got.first().sender, quint8(99));
    QCOMPARE(got.first().payload, big);

    // Room again: the queue drains in its order, over several rounds.
    got = Collect(box, 1024);
    QCOMPARE(got.size(), 1024);
    for (int i = 0; i < got.size(); ++i) {
        QCOMPARE(got.at(i).sender, quint8(kSelf));
        QCOMPARE(got.at(i).payload, QByteArray("m") + QByteArray::number(i + 1).rightJustified(4, '0'));
    }
    QTRY_COMPARE_WITH_TIMEOUT(SingleApplication::pendingMessages(), 0, kWaitMs);

    // A payload that could never fit is refused instead of blocking the queue.
    QVERIFY(!SingleApplication::sendSpecMessage(33, QByteArray(CShamMailbox::MaxPayload + 1, 'x')));
    QCOMPARE(SingleApplication::pendingMessages(), 0);
}

void TestSingleApplication::messageToStoppedProgramVanishes()
{
    QVERIFY(SingleApplication::sendSpecMessage(34, "nobody there"));
    QTRY_COMPARE_WITH_TIMEOUT(SingleApplication::pendingMessages(), 0, kWaitMs);
    // A later owner does not find it.
    CShamMailbox box(ModuleName(34));
    QCOMPARE(box.Own(), CShamMailbox::Claimed);
    QTest::qWait(100);
    QVERIFY(box.Take().isEmpty());
}

void TestSingleApplication::heartbeat()
{
    QCOMPARE(SingleApplication::heartbeatText(), QByteArray("{\"heartbeat\": \"request\"}"));
    QCOMPARE(SingleApplication::heartbeatText().size(), 24);
    CShamMailbox receiver(ModuleName(Mod_Heartbeat));
    QCOMPARE(receiver.Own(), CShamMailbox::Claimed);
    app()->enableAutoHeart();
    app()->enableAutoHeart();
    const QList<CShamMailbox::Message> got = Collect(receiver, 1, 9000);
    QCOMPARE(got.size(), 1);
    QCOMPARE(got.first().sender, quint8(kSelf));
    QCOMPARE(got.first().payload, SingleApplication::heartbeatText());
}

void TestSingleApplication::mailboxFormat()
{
    QByteArray segment(CShamMailbox::SegmentSize, '\0');
    char *s = segment.data();
    QVERIFY(CShamMailbox::Append(s, 9, "abc"));
    QVERIFY(CShamMailbox::Append(s, 10, QByteArray()));
    // Count (host order) grows by payload + 6; heads are 68 68 68 <sender> <len lo> <len hi>.
    QCOMPARE(segment.left(4), QByteArray("\x0f\x00\x00\x00", 4));
    QCOMPARE(segment.mid(4, 9), QByteArray("\x68\x68\x68\x09\x03\x00" "abc", 9));
    auto got = CShamMailbox::Read(s);
    QCOMPARE(got.size(), 2);
    QCOMPARE(got.at(1).sender, quint8(10));
    QVERIFY(got.at(1).payload.isEmpty());

    QVERIFY(CShamMailbox::Fits(0, CShamMailbox::MaxPayload));
    QVERIFY(!CShamMailbox::Fits(0, CShamMailbox::MaxPayload + 1));
    QVERIFY(!CShamMailbox::Fits(0xFFFFFFFFu, 1));

    // A count beyond the segment and a length beyond the count are not followed.
    segment.fill('\0');
    QVERIFY(CShamMailbox::Append(s, 1, "ok"));
    segment.replace(12, 6, QByteArray("\x68\x68\x68\x01\xff\xff", 6));
    segment.replace(0, 4, QByteArray("\xff\xff\xff\xff", 4));
    got = CShamMailbox::Read(s);
    QCOMPARE(got.size(), 1);
    QCOMPARE(got.first().payload, QByteArray("ok"));
    // A broken head ends the walk.
    segment.replace(0, 4, QByteArray("\x20\x00\x00\x00", 4));
    segment[12] = 0x67;
    QCOMPARE(CShamMailbox::Read(s).size(), 1);
}

int main(int argc, char *argv[])
{
    qeltest::prepareHome();
    SingleApplication a(argc, argv, kSelf);
    if (a.isRunning())
        return 2;
    TestSingleApplication tc;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&tc, argc, argv);
}

#include "tst_singleapplication.moc"
