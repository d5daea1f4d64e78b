// The remote services' rules: which stations stay, which UIDs are taken, and
// where a message to a station goes.
#include "cremoteliveness.h"
#include "cremoteservice.h"
#include "cserverhost.h"
#include "qeltest.h"

#include <clinknsq.h>
#include <cmainhost.h>
#include <packets.h>

namespace {
const QString kUid = QStringLiteral("3F0027000B51353235383233");
const CRemoteKey kA = CRemoteKey::ByPeer(QStringLiteral("10.0.0.1"), 5000);
const CRemoteKey kB = CRemoteKey::ByUID(CRemoteKey::Mqtt, kUid);
} // namespace

class TestRemoteService : public QObject
{
    Q_OBJECT
private slots:
    void stationsThatAnswerStay()
    {
        CRemoteLiveness liveness;
        liveness.Add(kA);
        liveness.Add(kB);
        for (int tick = 1; tick <= 5; ++tick)
            QVERIFY(liveness.Tick().isEmpty());
        // Answering within five ticks keeps a station for good, even without a programmer.
        liveness.Answered(kB);
        QCOMPARE(liveness.Tick(), QList<CRemoteKey>{kA});
        QVERIFY(!liveness.Contains(kA));
        for (int tick = 0; tick < 20; ++tick)
            QVERIFY(liveness.Tick().isEmpty());
        QVERIFY(liveness.Contains(kB));
        QVERIFY(!liveness.IsWaiting(kB));

        // Asked again: the countdown starts anew; removed stations are forgotten.
        liveness.Add(kB);
        QVERIFY(liveness.IsWaiting(kB));
        liveness.Remove(kB);
        QVERIFY(!liveness.Contains(kB));
        liveness.Answered(kA); // unknown: nothing happens
        QVERIFY(!liveness.Contains(kA));
        QVERIFY(!liveness.IsWaiting(CRemoteKey()));
    }

    void uidLengths()
    {
        QVERIFY(CRemoteService::IsMqttUid(kUid));
        QVERIFY(!CRemoteService::IsMqttUid(kUid.left(23)));
        QVERIFY(!CRemoteService::IsMqttUid(kUid + "0"));
        QVERIFY(CRemoteService::IsNsqUid(kUid));
        QVERIFY(!CRemoteService::IsNsqUid(kUid.left(23)));
        QVERIFY(CRemoteService::IsNsqUid(kUid + "0"));
    }

    void messagesGoWhereTheStationListens()
    {
        CMainHost host;
        CMainHost::SetInstance(&host);
        CLinkNsq nsq;
        host.m_links.pNsq = &nsq;
        nsq.SetUID(kUid + "XY");

        ns_prog720a::ImageReqPacket packet;
        const MyProger nsqProger = CServerHost::ProgerOf(CRemoteKey::ByUID(CRemoteKey::Nsq, kUid));
        CRemoteService::Route(nsqProger, packet);
        QCOMPARE(packet.m_strNsqTopic, kUid + "XY_S2C");
        QCOMPARE(CRemoteService::KeyOf(nsqProger), CRemoteKey::ByUID(CRemoteKey::Nsq, kUid));

        ns_prog720a::ImageReqPacket mqtt;
        CRemoteService::Route(CServerHost::ProgerOf(kB), mqtt);
        QCOMPARE(mqtt.m_strMqttTopic, kUid + "_S2C");
        ns_prog720a::ImageReqPacket tcp;
        CRemoteService::Route(CServerHost::ProgerOf(kA), tcp);
        QCOMPARE(tcp.m_strIP, QStringLiteral("10.0.0.1"));
        QCOMPARE(tcp.m_nPort, 5000);
        host.m_links.pNsq = nullptr;
        CMainHost::SetInstance(nullptr);
    }
};

QEL_TEST_MAIN(TestRemoteService)
#include "tst_remoteservice.moc"
