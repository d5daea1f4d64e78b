// The server's remote services against a client station over TCP, MQTT and
// NSQ: the station is the client program's own code in a process of its own,
// with a simulated programmer; the server is this test's window.
#include "clienttest.h"
#include "cimagepanel.h"
#include "cremoteactions.h"
#include "cremoteservice.h"
#include "cserverhost.h"
#include "mainwindow.h"
#include "mosquittobroker.h"
#include "nsqdoubles.h"
#include "progsimprocess.h"
#include "serverdefs.h"
#include "stationprocess.h"

#include <cframecutter.h>
#include <cpubactions.h>

#include <QJsonDocument>
#include <QJsonObject>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>

namespace {
const QString kId = QStringLiteral("3F0027000B51353235383233");

const MyProger *Remote(const MainWindow &w, const QString &id)
{
    for (int i = 0; i < w.Programmers().Count(); ++i) {
        const MyProger *p = w.Programmers().At(i);
        if (p->m_bRemote && p->m_strID == id)
            return p;
    }
    return nullptr;
}

const MyProger *RemoteAt(const MainWindow &w, const CRemoteKey &key)
{
    for (int i = 0; i < w.Programmers().Count(); ++i) {
        const MyProger *p = w.Programmers().At(i);
        if (p->m_bRemote && CRemoteService::KeyOf(*p) == key)
            return p;
    }
    return nullptr;
}

// A file the server pushes, written to its working folder.
QString ServerFile(const QString &name, const QByteArray &bytes = QByteArray())
{
    const QString path = ServerDefs::WorkDir() + name;
    if (bytes.isEmpty())
        clienttest::MakeImage(ServerDefs::WorkDir() + QStringLiteral("build"), path);
    else
        FuncTool::WriteFile(path, bytes);
    return path;
}

QByteArray Frame(const char *json)
{
    return CFrameCutter::MakeTcp(QByteArray(json));
}
} // namespace

class TestRemote : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        qputenv("QEL_PROG_DIRS", "");
    }
    void cleanup() { m_dir.reset(); }

    void tcpStationEndToEnd();
    void tcpLivenessAndGoodbye();
    void mqttStationEndToEnd();
    void nsqStationWithALongUid();
    void pushesReachAVcpProgrammer();

private:
    // The whole exchange with a station already connected.
    void Drive(MainWindow &w, ProgSim &sim, StationProcess &station);
    QString Dir(const QString &name) const { return m_dir->filePath(name); }
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestRemote::Drive(MainWindow &w, ProgSim &sim, StationProcess &station)
{
    CRemoteService *service = w.RemoteActions()->Service();
    QTRY_VERIFY_WITH_TIMEOUT(Remote(w, kId), 20000);
    const MyProger proger = *Remote(w, kId);
    QCOMPARE(proger.m_strModel, QStringLiteral("QEL720A"));
    QCOMPARE(proger.m_strVer, QStringLiteral("V2.1.5"));
    QCOMPARE(QDir(proger.m_strRoot), QDir(sim.Folder()));

    QVERIFY(service->RequestConfig(proger));
    QTRY_VERIFY_WITH_TIMEOUT(w.LogText().contains(QStringLiteral("更新远程配置信息数据")), 10000);

    // An image pushed with its slot reaches the programmer, which checks it.
    QString err;
    QVERIFY2(CImagePanel::AnnounceFile(proger, ServerFile(QStringLiteral("e2e.img")), 4, err), qPrintable(err));
    QVERIFY(station.WaitFor(QStringLiteral("收到文件推送, name=e2e.img")));
    QVERIFY(sim.WaitFor(QStringLiteral("image 4 e2e.img: accepted")));
    QTRY_VERIFY_WITH_TIMEOUT(w.LogText().contains(QStringLiteral("文件e2e.img下装成功!")), 10000);
    QVERIFY(service->RequestImages(proger));
    QTRY_VERIFY_WITH_TIMEOUT(w.LogText().contains(QStringLiteral("4 e2e.img ")), 10000);

    // A path in a clear request deletes nothing.
    QVERIFY(service->ClearImage(proger, QStringLiteral("../sys/qelprogrammer.dat")));
    QTRY_VERIFY_WITH_TIMEOUT(w.LogText().contains(QStringLiteral("镜像../sys/qelprogrammer.dat清除失败!")), 10000);
    QVERIFY(QFile::exists(sim.Folder() + QStringLiteral("/sys/qelprogrammer.dat")));
    QVERIFY(!sim.Output().contains(QStringLiteral("identity file restored")));

    // One image, then all of them.
    QVERIFY(service->ClearImage(proger, QStringLiteral("e2e.img")));
    QTRY_VERIFY_WITH_TIMEOUT(w.LogText().contains(QStringLiteral("镜像e2e.img清除成功!")), 10000);
    QVERIFY(CImagePanel::AnnounceFile(proger, ServerFile(QStringLiteral("two.img")), 5, err));
    QVERIFY(sim.WaitFor(QStringLiteral("image 5 two.img: accepted")));
    QVERIFY(service->ClearImage(proger, QStringLiteral("all")));
    QTRY_VERIFY_WITH_TIMEOUT(w.LogText().contains(QStringLiteral("镜像all清除成功!")), 10000);
    QVERIFY(sim.WaitFor(QStringLiteral("images: none")));

    // Firmware by its name whatever its slot; ".ini" as the parameters.
    QVERIFY(CImagePanel::AnnounceFile(proger, ServerFile(QStringLiteral("update.bin"), QByteArray(300, 'F')), 9, err));
    QVERIFY(sim.WaitFor(QStringLiteral("update.bin: 300 bytes")));
    QVERIFY(CImagePanel::AnnounceFile(proger, ServerFile(QStringLiteral("param.ini"), "[PARAM]\r\nchip=3\r\n"), 0, err));
    QVERIFY(sim.WaitFor(QStringLiteral("param_refresh.cmd")));
    QTRY_VERIFY_WITH_TIMEOUT(w.LogText().contains(QStringLiteral("文件param.ini下装成功!")), 10000);
}

void TestRemote::tcpStationEndToEnd()
{
    ProgSim sim(Dir(QStringLiteral("disk")), kId, QStringLiteral("QEL720A"));
    QVERIFY(sim.WaitReady());
    clienttest::Boxes boxes;
    MainWindow w;
    CServerHost host(&w);
    CRemoteService *service = w.RemoteActions()->Service();
    const quint16 port = qeltest::freePort();
    QVERIFY(service->StartTcp(QStringLiteral("127.0.0.1"), port));
    QTRY_VERIFY(w.LogText().contains(QStringLiteral("远程服务启动成功")));

    StationProcess station(Dir(QStringLiteral("client")), sim.Folder(),
                           {QStringLiteral("tcp"), QStringLiteral("127.0.0.1"), QString::number(port)});
    Drive(w, sim, station);

    // The station goes: its programmer with it.
    station.Send("disconnect");
    QTRY_VERIFY_WITH_TIMEOUT(!Remote(w, kId), 10000);
    service->StopTcp();
    QTRY_VERIFY(w.LogText().contains(QStringLiteral("远程服务已关闭")));
}

void TestRemote::tcpLivenessAndGoodbye()
{
    clienttest::Boxes boxes;
    MainWindow w;
    CServerHost host(&w);
    CRemoteService *service = w.RemoteActions()->Service();
    const quint16 port = qeltest::freePort();
    QVERIFY(service->StartTcp(QStringLiteral("127.0.0.1"), port));

    // One station answers without a programmer, one never answers.
    QTcpSocket answers;
    QTcpSocket silent;
    answers.connectToHost(QHostAddress::LocalHost, port);
    silent.connectToHost(QHostAddress::LocalHost, port);
    QVERIFY(answers.waitForConnected(5000) && silent.waitForConnected(5000));
    const CRemoteKey answerKey = CRemoteKey::ByPeer(QStringLiteral("127.0.0.1"), answers.localPort());
    const CRemoteKey silentKey = CRemoteKey::ByPeer(QStringLiteral("127.0.0.1"), silent.localPort());
    QTRY_VERIFY(RemoteAt(w, answerKey) && RemoteAt(w, silentKey));
    QTRY_VERIFY(answers.bytesAvailable() > 0);
    answers.write(Frame(R"({"cmd":"prog-response","id":"","reason":"未找到下载器"})"));

    QElapsedTimer clock;
    clock.start();
    QTRY_VERIFY_WITH_TIMEOUT(!RemoteAt(w, silentKey), 10000);
    QVERIFY2(clock.elapsed() > 4000, "dropped before its six ticks");
    QVERIFY(w.LogText().contains(QStringLiteral("断开远程下载器 127.0.0.1:%1").arg(silent.localPort())));
    QVERIFY(RemoteAt(w, answerKey));

    // A goodbye over TCP removes that station; the listener goes on.
    answers.write(Frame(R"({"cmd":"prog-disconnect"})"));
    QTRY_VERIFY(!RemoteAt(w, answerKey));
    QVERIFY(service->IsTcpOn());
}

void TestRemote::mqttStationEndToEnd()
{
    qeltest::MosquittoBroker broker;
    QVERIFY(broker.start());
    ProgSim sim(Dir(QStringLiteral("disk")), kId, QStringLiteral("QEL720A"));
    QVERIFY(sim.WaitReady());
    clienttest::Boxes boxes;
    MainWindow w;
    CServerHost host(&w);
    CRemoteService *service = w.RemoteActions()->Service();
    service->SetBroker(QStringLiteral("127.0.0.1"), broker.port(), 0);

    // Exactly 24 characters.
    QVERIFY(!service->StartMqtt(kId.left(23)));
    QVERIFY(!service->StartMqtt(kId + QLatin1Char('0')));
    QTRY_COMPARE(w.LogText().count(QStringLiteral("请正确输入UID")), 2);
    QVERIFY(service->MqttUID().isEmpty());

    StationProcess station(Dir(QStringLiteral("client")), sim.Folder(),
                           {QStringLiteral("mqtt"), QStringLiteral("127.0.0.1"), QString::number(broker.port())});
    QVERIFY(station.WaitFor(QStringLiteral("MQTT云端服务器已连接")));
    QVERIFY(service->StartMqtt(kId));
    Drive(w, sim, station);

    // The station's goodbye removes it and ends the service that served it.
    QVERIFY(broker.publish(kId + QStringLiteral("_C2S"), R"({"cmd":"prog-disconnect"})"));
    QTRY_VERIFY_WITH_TIMEOUT(!Remote(w, kId), 10000);
    QTRY_VERIFY_WITH_TIMEOUT(service->MqttUID().isEmpty(), 10000);
}

void TestRemote::nsqStationWithALongUid()
{
    nsqdouble::NsqDoubles doubles;
    QVERIFY(doubles.start(1));
    // A programmer whose ID is longer than 24 characters; the list keys it by the first 24.
    const QString uid = kId + QStringLiteral("7");
    const QString disk = Dir(QStringLiteral("disk"));
    QVERIFY(clienttest::MakeProger(disk, uid));
    clienttest::Boxes boxes;
    MainWindow w;
    CServerHost host(&w);
    CRemoteService *service = w.RemoteActions()->Service();
    service->SetBroker(QStringLiteral("127.0.0.1"), 0, doubles.lookupPort());
    QVERIFY(!service->StartNsq(kId.left(23)));
    QTRY_VERIFY(w.LogText().contains(QStringLiteral("请正确输入UID")));

    StationProcess station(Dir(QStringLiteral("client")), disk,
                           {QStringLiteral("nsq"), QStringLiteral("127.0.0.1"), QString::number(doubles.lookupPort())});
    QVERIFY(station.WaitFor(QStringLiteral("station started")));
    QVERIFY(service->StartNsq(uid));
    const CRemoteKey key = CRemoteKey::ByUID(CRemoteKey::Nsq, kId);
    QTRY_VERIFY_WITH_TIMEOUT(RemoteAt(w, key) && !RemoteAt(w, key)->m_strID.isEmpty(), 20000);
    const MyProger proger = *RemoteAt(w, key);
    QCOMPARE(proger.m_strID, uid);

    // A push reaches the station on the topic it listens on.
    QString err;
    QVERIFY(CImagePanel::AnnounceFile(proger, ServerFile(QStringLiteral("long.img")), 2, err));
    QVERIFY(station.WaitFor(QStringLiteral("收到文件推送, name=long.img")));
    QTRY_VERIFY_WITH_TIMEOUT(w.LogText().contains(QStringLiteral("文件long.img下装成功!")), 20000);
    QVERIFY(FuncTool::ReadFile(disk + QStringLiteral("/config/image.dat")).contains("long.img"));
    QVERIFY(doubles.published((uid + QStringLiteral("_S2C")).toUtf8()).size() > 1);
    QVERIFY(doubles.published((kId + QStringLiteral("_S2C")).toUtf8()).isEmpty());

    // Images and configuration asked over NSQ, and the image cleared again.
    CRemoteService *nsq = w.RemoteActions()->Service();
    QVERIFY(nsq->RequestImages(proger));
    QTRY_VERIFY_WITH_TIMEOUT(w.LogText().contains(QStringLiteral("2 long.img ")), 20000);
    QVERIFY(nsq->RequestConfig(proger));
    QTRY_VERIFY_WITH_TIMEOUT(w.LogText().contains(QStringLiteral("更新远程配置信息数据")), 20000);
    QVERIFY(nsq->ClearImage(proger, QStringLiteral("long.img")));
    QTRY_VERIFY_WITH_TIMEOUT(w.LogText().contains(QStringLiteral("镜像long.img清除成功!")), 20000);
    QVERIFY(!FuncTool::ReadFile(disk + QStringLiteral("/config/image.dat")).contains("long.img"));

    // The station's disconnect button says goodbye: its programmer goes, the service ends.
    station.Send("disconnect");
    QTRY_VERIFY_WITH_TIMEOUT(!RemoteAt(w, key), 10000);
    QTRY_VERIFY_WITH_TIMEOUT(service->NsqUID().isEmpty(), 10000);
}

void TestRemote::pushesReachAVcpProgrammer()
{
    const QString vcpId = QStringLiteral("3F0027000B51353235383299");
    const QString port = Dir(QStringLiteral("vcp0"));
    ProgSim sim({QStringLiteral("--vcp"), QStringLiteral("--id"), vcpId, QStringLiteral("--link"), port,
                 QStringLiteral("--dir"), Dir(QStringLiteral("vcpfiles"))});
    QVERIFY(sim.WaitReady());
    clienttest::Boxes boxes;
    MainWindow w;
    CServerHost host(&w);
    CRemoteService *service = w.RemoteActions()->Service();
    const quint16 tcpPort = qeltest::freePort();
    QVERIFY(service->StartTcp(QStringLiteral("127.0.0.1"), tcpPort));
    // The station's only programmer is on a virtual COM port.
    StationProcess station(Dir(QStringLiteral("client")), Dir(QStringLiteral("nodisk")),
                           {QStringLiteral("tcp"), QStringLiteral("127.0.0.1"), QString::number(tcpPort)},
                           {{QStringLiteral("QEL_VCP_PORTS"), port}, {QStringLiteral("QEL_STATION_DELAY_MS"), QStringLiteral("1500")}});
    QVERIFY(station.WaitFor(QStringLiteral("USB-VCP下载器建立连接")));
    QTRY_VERIFY_WITH_TIMEOUT(Remote(w, vcpId), 20000);
    const MyProger proger = *Remote(w, vcpId);
    QCOMPARE(proger.m_strModel, QStringLiteral("QEL720A"));
    QCOMPARE(proger.m_strRoot, port);

    // An image with its slot: the programmer pulls it, then its index, and switches to it.
    QString err;
    QVERIFY(CImagePanel::AnnounceFile(proger, ServerFile(QStringLiteral("vcp.img")), 6, err));
    QVERIFY(sim.WaitFor(QStringLiteral("received vcp.img")));
    QVERIFY(sim.WaitFor(QStringLiteral("active image 6")));
    QTRY_VERIFY_WITH_TIMEOUT(w.LogText().contains(QStringLiteral("文件vcp.img下装成功!")), 20000);
    QVERIFY(service->RequestImages(proger));
    QTRY_VERIFY_WITH_TIMEOUT(w.LogText().contains(QStringLiteral("6 vcp.img ")), 10000);
    // Cleared again: the file goes from the programmer and so does its index entry.
    const int emptyIndexes = sim.Output().count(QStringLiteral("image index: none"));
    QVERIFY(service->ClearImage(proger, QStringLiteral("vcp.img")));
    QTRY_VERIFY_WITH_TIMEOUT(w.LogText().contains(QStringLiteral("镜像vcp.img清除成功!")), 10000);
    QVERIFY(sim.WaitFor(QStringLiteral("deleted vcp.img")));
    QVERIFY(sim.ToolProcess::WaitFor(QStringLiteral("image index: none"), emptyIndexes + 1, 20000));
    // Firmware whatever its slot, and the parameters.
    QVERIFY(CImagePanel::AnnounceFile(proger, ServerFile(QStringLiteral("update.bin"), QByteArray(300, 'F')), 9, err));
    QVERIFY(sim.WaitFor(QStringLiteral("received update.bin: 300 bytes")));
    QTRY_VERIFY_WITH_TIMEOUT(w.LogText().contains(QStringLiteral("文件update.bin下装成功!")), 20000);
    QVERIFY(CImagePanel::AnnounceFile(proger, ServerFile(QStringLiteral("param.ini"), "[PARAM]\r\nchip=3\r\n"), 0, err));
    QVERIFY(sim.WaitFor(QStringLiteral("received param.ini")));
    QTRY_VERIFY_WITH_TIMEOUT(w.LogText().contains(QStringLiteral("文件param.ini下装成功!")), 20000);
}

QEL_TEST_MAIN(TestRemote)
#include "tst_remote.moc"
