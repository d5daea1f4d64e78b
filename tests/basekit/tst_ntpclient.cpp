// NtpClient against an NTP responder on loopback that answers as told.
#include "qeltest.h"
#include "ntpclient.h"

#include <QSignalSpy>
#include <QUdpSocket>
#include <QtEndian>

namespace {
// Seconds of 2023-11-14 22:13:20 UTC since 1970.
constexpr qint64 kUnixSecs = 1700000000;

QByteArray Answer(int mode, quint32 secs, quint32 fraction, int size = 48)
{
    QByteArray a(48, '\0');
    a[0] = char(0x20 | mode); // version 4
    a[1] = 2;
    qToBigEndian<quint32>(secs, a.data() + 40);
    qToBigEndian<quint32>(fraction, a.data() + 44);
    return a.left(size);
}
} // namespace

class NtpResponder : public QObject
{
    Q_OBJECT
public:
    NtpResponder()
    {
        m_socket.bind(QHostAddress(QHostAddress::LocalHost), 0);
        connect(&m_socket, &QUdpSocket::readyRead, this, [this]() {
            while (m_socket.hasPendingDatagrams()) {
                QByteArray req(int(m_socket.pendingDatagramSize()), '\0');
                QHostAddress from;
                quint16 port = 0;
                m_socket.readDatagram(req.data(), req.size(), &from, &port);
                requests << req;
                if (!answer.isEmpty())
                    m_socket.writeDatagram(answer, from, port);
            }
        });
    }
    quint16 port() const { return m_socket.localPort(); }

    QByteArray answer;
    QList<QByteArray> requests;

private:
    QUdpSocket m_socket;
};

class TestNtpClient : public QObject
{
    Q_OBJECT
private slots:
    void validAnswerGivesTime();
    void noWaitDeliversThroughSignal();
    void badAnswersGiveNothing_data();
    void badAnswersGiveNothing();
    void storedTimeAfterServerFallsSilent();
};

void TestNtpClient::validAnswerGivesTime()
{
    NtpResponder server;
    server.answer = Answer(4, quint32(kUnixSecs + NtpClient::SecsTo1970), 0x80000000u);
    NtpClient ntp(QStringLiteral("127.0.0.1"));
    ntp.SetPort(server.port());
    QSignalSpy spy(&ntp, &NtpClient::receiveTime);

    const QDateTime before = QDateTime::currentDateTimeUtc();
    const QDateTime t = ntp.getDateTime(true);
    QCOMPARE(t.toMSecsSinceEpoch(), kUnixSecs * 1000 + 500);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toDateTime(), t);

    // The request: 48 bytes, client mode, our poll and precision, our clock.
    QCOMPARE(server.requests.size(), 1);
    const QByteArray req = server.requests.first();
    QCOMPARE(req.size(), 48);
    QCOMPARE(quint8(req.at(0)), quint8(0x1B));
    QCOMPARE(quint8(req.at(2)), quint8(4));
    QCOMPARE(quint8(req.at(3)), quint8(0xFA));
    QCOMPARE(qFromBigEndian<quint32>(req.constData() + 4), 0x00010000u);
    QCOMPARE(qFromBigEndian<quint32>(req.constData() + 8), 0x00010000u);
    const qint64 sent = qint64(qFromBigEndian<quint32>(req.constData() + 40)) - NtpClient::SecsTo1970;
    QVERIFY(qAbs(sent - before.toSecsSinceEpoch()) <= 2);
}

void TestNtpClient::noWaitDeliversThroughSignal()
{
    NtpResponder server;
    // Fraction 0xFFFFFFFF is 999.99… ms: rounded down.
    server.answer = Answer(4, quint32(kUnixSecs + NtpClient::SecsTo1970), 0xFFFFFFFFu);
    NtpClient ntp(QStringLiteral("127.0.0.1"));
    ntp.SetPort(server.port());
    QSignalSpy spy(&ntp, &NtpClient::receiveTime);
    QVERIFY(!ntp.getDateTime(false).isValid());
    QVERIFY(spy.wait(10000));
    QCOMPARE(spy.at(0).at(0).toDateTime().toMSecsSinceEpoch(), kUnixSecs * 1000 + 999);
}

void TestNtpClient::badAnswersGiveNothing_data()
{
    const quint32 secs = quint32(kUnixSecs + NtpClient::SecsTo1970);
    QTest::addColumn<QByteArray>("answer");
    QTest::newRow("short") << Answer(4, secs, 0, 47);
    QTest::newRow("mode 5") << Answer(5, secs, 0);
    QTest::newRow("mode 0") << Answer(0, secs, 0);
    QTest::newRow("no timestamp") << Answer(4, 0, 0);
}

void TestNtpClient::badAnswersGiveNothing()
{
    QFETCH(QByteArray, answer);
    NtpResponder server;
    server.answer = answer;
    NtpClient ntp(QStringLiteral("127.0.0.1"));
    ntp.SetPort(server.port());
    QSignalSpy spy(&ntp, &NtpClient::receiveTime);
    QVERIFY(!ntp.getDateTime(true).isValid());
    QCOMPARE(server.requests.size(), 1); // it was asked, and the answer refused
    QCOMPARE(spy.count(), 0);
}

void TestNtpClient::storedTimeAfterServerFallsSilent()
{
    NtpResponder server;
    server.answer = Answer(4, quint32(kUnixSecs + NtpClient::SecsTo1970), 0);
    NtpClient ntp(QStringLiteral("127.0.0.1"));
    ntp.SetPort(server.port());
    const QDateTime first = ntp.getDateTime(true);
    QVERIFY(first.isValid());

    server.answer.clear();
    const QDateTime again = ntp.getDateTime(true);
    // The stored answer, moved on by the time since it came.
    QVERIFY(again >= first);
    QVERIFY(again < first.addSecs(3600));
}

QEL_TEST_CORE_MAIN(TestNtpClient)
#include "tst_ntpclient.moc"
