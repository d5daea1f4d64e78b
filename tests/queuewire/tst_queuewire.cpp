// The exported QueueWire end to end through the NSQ doubles: lookup, publishing,
// receiving on the GUI thread, the state calls, and a clean restart.
#include "qeltest.h"

#include "nsqdoubles.h"
#include "queuewire.h"

#include <QDir>
#include <QRegularExpression>
#include <QThread>

namespace {

// The program's side: records what reaches the two virtual functions.
class Recorder : public QueueWire
{
public:
    void HandleTopicMsg(const QByteArray &body, const QString &topic) override
    {
        messages.append(topic + "=" + QString::fromUtf8(body));
        onGuiThread = onGuiThread && QThread::currentThread() == QCoreApplication::instance()->thread();
    }
    void HandleConnState(bool connected) override
    {
        states.append(connected);
        onGuiThread = onGuiThread && QThread::currentThread() == QCoreApplication::instance()->thread();
    }

    QStringList messages;
    QList<bool> states;
    bool onGuiThread = true;
};

// Qt's debug lines (the library's own notes) from any thread.
QStringList g_debugLines;
QMutex g_debugMutex;
QtMessageHandler g_previousHandler = nullptr;

void captureDebug(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    {
        QMutexLocker lock(&g_debugMutex);
        g_debugLines.append(text);
    }
    g_previousHandler(type, context, text);
}

bool debugSeen(const QString &text)
{
    QMutexLocker lock(&g_debugMutex);
    return g_debugLines.contains(text);
}

// The library's threads, by the names it gives them (nsq-worker, nsq-consumer, nsq-producer).
QStringList libraryThreads()
{
    QStringList names;
    for (const QString &task : QDir("/proc/self/task").entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile comm("/proc/self/task/" + task + "/comm");
        if (comm.open(QIODevice::ReadOnly))
            names.append(QString::fromUtf8(comm.readAll()).trimmed());
    }
    names = names.filter(QRegularExpression("^nsq-"));
    names.sort();
    return names;
}

int subscriptions(nsqdouble::NsqdDouble &node, const QByteArray &topic)
{
    int n = 0;
    for (const auto &command : node.commands("SUB"))
        n += command.params.value(0) == topic ? 1 : 0;
    return n;
}

} // namespace

class TstQueueWire : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { g_previousHandler = qInstallMessageHandler(captureDebug); }
    void init()
    {
        QMutexLocker lock(&g_debugMutex);
        g_debugLines.clear();
    }
    void cleanup()
    {
        // A failed test must not leave its instance to the next one.
        QueueWire cleaner;
        cleaner.CloseInst();
        cleaner.Exitance();
    }
    void publishBeforeRunGoesOutAfterLookup();
    void topicMessageReachesGuiThread();
    void twoTopicsOnTwoNodes();
    void failedLookupStaysIdle_data();
    void failedLookupStaysIdle();
    void closeWithoutRun();
    void restartAfterExitance();
    void secondRunInstKeepsConnections();
    void exitanceWithoutCloseEndsThreads();
    void exitanceFromStateCallback();
    void destroyedInstanceGetsNoEvents();
};

void TstQueueWire::publishBeforeRunGoesOutAfterLookup()
{
    nsqdouble::NsqDoubles doubles;
    QVERIFY(doubles.start(1));
    Recorder wire;
    QCOMPARE(QueueWire::Instance(), &wire);
    QVERIFY(wire.AddPubMessage("uid_C2S", "early"));
    QCOMPARE(doubles.node(0).connectionCount(), 0);
    wire.RunInst({"uid_S2C"}, "127.0.0.1", doubles.lookupPort());
    QTRY_COMPARE(doubles.node(0).published("uid_C2S"), QByteArrayList{"early"});
    QTRY_COMPARE(wire.states, QList<bool>{true});
    QVERIFY(debugSeen("RunNSQ Thread"));
    QVERIFY(debugSeen("got NsqNodesPtr"));
    QVERIFY(doubles.lookup().requests().value(0).startsWith("GET /nodes HTTP/1.1\r\n"));
    wire.CloseInst();
    QTRY_COMPARE(wire.states, (QList<bool>{true, false}));
    wire.Exitance();
    QVERIFY(wire.onGuiThread);
}

void TstQueueWire::topicMessageReachesGuiThread()
{
    nsqdouble::NsqDoubles doubles;
    QVERIFY(doubles.start(1));
    Recorder wire;
    wire.RunInst({"uid_C2S"}, "127.0.0.1", doubles.lookupPort());
    QTRY_COMPARE(subscriptions(doubles.node(0), "uid_C2S"), 1);
    QCOMPARE(doubles.node(0).commands("RDY").value(0).params, QByteArrayList{"64"});
    QCOMPARE(doubles.node(0).commands("SUB").value(0).params, (QByteArrayList{"uid_C2S", "ch1"}));
    doubles.node(0).publish("uid_C2S", R"({"cmd":"prog-request"})");
    QTRY_COMPARE(wire.messages, QStringList{R"(uid_C2S={"cmd":"prog-request"})"});
    QVERIFY(wire.onGuiThread);
    QTRY_COMPARE(doubles.node(0).finished().size(), 1);
    QVERIFY(debugSeen(R"(Consumer recv: {"cmd":"prog-request"})"));
    wire.CloseInst();
    wire.Exitance();
}

void TstQueueWire::twoTopicsOnTwoNodes()
{
    nsqdouble::NsqDoubles doubles;
    QVERIFY(doubles.start(2));
    Recorder wire;
    wire.RunInst({"alpha", "beta"}, "127.0.0.1", doubles.lookupPort());
    for (int i = 0; i < 2; ++i) {
        QTRY_COMPARE(subscriptions(doubles.node(i), "alpha"), 1);
        QTRY_COMPARE(subscriptions(doubles.node(i), "beta"), 1);
        // Two consumers and one producer per node.
        QTRY_COMPARE(doubles.node(i).openConnections(), 3);
    }
    doubles.node(1).publish("beta", "one");
    QTRY_COMPARE(wire.messages, QStringList{"beta=one"});
    // Published through both nodes, so both consumers of "alpha" deliver it.
    wire.AddPubMessage("alpha", "both");
    QTRY_COMPARE(wire.messages, (QStringList{"beta=one", "alpha=both", "alpha=both"}));
    QCOMPARE(doubles.published("alpha"), (QByteArrayList{"both", "both"}));
    wire.CloseInst();
    wire.Exitance();
}

void TstQueueWire::failedLookupStaysIdle_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("body");
    QTest::newRow("empty producers") << 200 << QByteArray(R"({"producers":[]})");
    QTest::newRow("not found") << 404 << QByteArray(R"({"message":"NOT_FOUND"})");
    QTest::newRow("not json") << 200 << QByteArray("<html>");
}

void TstQueueWire::failedLookupStaysIdle()
{
    QFETCH(int, status);
    QFETCH(QByteArray, body);
    nsqdouble::NsqDoubles doubles;
    QVERIFY(doubles.start(1));
    doubles.lookup().setFixedAnswer(status, body);
    Recorder wire;
    wire.AddPubMessage("t", "never sent");
    wire.RunInst({"t"}, "127.0.0.1", doubles.lookupPort());
    QTRY_VERIFY(debugSeen("can not find NsqNodesPtr"));
    QCoreApplication::processEvents();
    QCOMPARE(wire.states, QList<bool>{});
    QCOMPARE(doubles.node(0).connectionCount(), 0);
    QCOMPARE(doubles.lookup().requestCount(), 1);
    wire.CloseInst();
    wire.Exitance();
}

void TstQueueWire::closeWithoutRun()
{
    Recorder wire;
    wire.CloseInst();
    QVERIFY(debugSeen("stop nsq loops."));
    QTRY_COMPARE(wire.states, QList<bool>{false});
    wire.Exitance();
    QCOMPARE(libraryThreads(), QStringList());
}

void TstQueueWire::restartAfterExitance()
{
    nsqdouble::NsqDoubles doubles;
    QVERIFY(doubles.start(1));
    Recorder wire;
    wire.RunInst({"t"}, "127.0.0.1", doubles.lookupPort());
    QTRY_COMPARE(doubles.node(0).openConnections(), 2);
    QCOMPARE(libraryThreads(), (QStringList{"nsq-consumer", "nsq-producer", "nsq-worker"}));
    wire.CloseInst();
    QTRY_COMPARE(wire.states, (QList<bool>{true, false}));
    // A RunInst on the closed instance starts nothing.
    wire.RunInst({"t"}, "127.0.0.1", doubles.lookupPort());
    QTRY_COMPARE(doubles.node(0).openConnections(), 0);
    wire.Exitance();
    QCOMPARE(libraryThreads(), QStringList());
    QCOMPARE(doubles.lookup().requestCount(), 1);

    wire.RunInst({"t"}, "127.0.0.1", doubles.lookupPort());
    QTRY_COMPARE(doubles.node(0).openConnections(), 2);
    QTRY_COMPARE(wire.states, (QList<bool>{true, false, true}));
    QTRY_COMPARE(subscriptions(doubles.node(0), "t"), 2);
    wire.AddPubMessage("t", "round trip");
    QTRY_COMPARE(wire.messages, QStringList{"t=round trip"});
    wire.CloseInst();
    wire.Exitance();
    QCOMPARE(libraryThreads(), QStringList());
}

void TstQueueWire::secondRunInstKeepsConnections()
{
    nsqdouble::NsqDoubles doubles;
    QVERIFY(doubles.start(1));
    Recorder wire;
    wire.RunInst({"first"}, "127.0.0.1", doubles.lookupPort());
    QTRY_COMPARE(subscriptions(doubles.node(0), "first"), 1);
    wire.RunInst({"second"}, "127.0.0.1", doubles.lookupPort());
    // Still working: a publication goes out and comes back on the old topic only.
    wire.AddPubMessage("first", "still");
    QTRY_COMPARE(wire.messages, QStringList{"first=still"});
    QCOMPARE(subscriptions(doubles.node(0), "second"), 0);
    QCOMPARE(doubles.lookup().requestCount(), 1);
    wire.CloseInst();
    wire.Exitance();
}

void TstQueueWire::exitanceWithoutCloseEndsThreads()
{
    nsqdouble::NsqDoubles doubles;
    QVERIFY(doubles.start(1));
    Recorder wire;
    wire.RunInst({"t"}, "127.0.0.1", doubles.lookupPort());
    QTRY_COMPARE(doubles.node(0).openConnections(), 2);
    wire.Exitance();
    QCOMPARE(libraryThreads(), QStringList());
    QTRY_COMPARE(doubles.node(0).openConnections(), 0);
}

void TstQueueWire::exitanceFromStateCallback()
{
    struct Closer : Recorder
    {
        void HandleConnState(bool connected) override
        {
            Recorder::HandleConnState(connected);
            Exitance(); // as a link does when told that it is down
        }
    };
    nsqdouble::NsqDoubles doubles;
    QVERIFY(doubles.start(1));
    Closer wire;
    wire.RunInst({"t"}, "127.0.0.1", doubles.lookupPort());
    QTRY_COMPARE(wire.states, QList<bool>{true});
    QCOMPARE(libraryThreads(), QStringList());
    wire.CloseInst();
    QTRY_COMPARE(wire.states, (QList<bool>{true, false}));
    QTRY_COMPARE(doubles.node(0).openConnections(), 0);
}

void TstQueueWire::destroyedInstanceGetsNoEvents()
{
    {
        Recorder wire;
        wire.CloseInst(); // posts the state event for later
    }
    QCOMPARE(QueueWire::Instance(), nullptr);
    QCoreApplication::processEvents();
    Recorder next;
    next.Exitance();
    QCOMPARE(next.states, QList<bool>{});
}

QEL_TEST_CORE_MAIN(TstQueueWire)
#include "tst_queuewire.moc"
