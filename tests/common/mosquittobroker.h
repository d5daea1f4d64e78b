#pragma once
// A real mosquitto broker for tests, on a free loopback port with anonymous
// access, and the mosquitto_pub / mosquitto_sub clients as independent peers.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThread>

#include <memory>

namespace qeltest {

// A loopback port nobody listens on right now.
inline quint16 freePort()
{
    QTcpServer probe;
    if (!probe.listen(QHostAddress::LocalHost, 0))
        return 0;
    return probe.serverPort();
}

class MosquittoBroker
{
public:
    ~MosquittoBroker() { stop(); }

    // Starts the broker and waits until it accepts connections.
    bool start()
    {
        if (!m_dir.isValid())
            return false;
        m_port = freePort();
        const QString conf = m_dir.filePath(QStringLiteral("mosquitto.conf"));
        QFile file(conf);
        if (!file.open(QIODevice::WriteOnly))
            return false;
        file.write(QStringLiteral("listener %1 127.0.0.1\nallow_anonymous true\npersistence false\n")
                       .arg(m_port)
                       .toLatin1());
        file.close();
        m_process = std::make_unique<QProcess>();
        m_process->setProcessChannelMode(QProcess::MergedChannels);
        m_process->start(QStringLiteral("/usr/sbin/mosquitto"), {QStringLiteral("-c"), conf});
        if (!m_process->waitForStarted(5000))
            return false;
        for (int i = 0; i < 100; ++i) {
            QTcpSocket probe;
            probe.connectToHost(QHostAddress::LocalHost, m_port);
            if (probe.waitForConnected(100))
                return true;
            if (m_process->state() != QProcess::Running)
                return false;
            QThread::msleep(50);
        }
        return false;
    }

    void stop()
    {
        if (!m_process)
            return;
        m_process->terminate();
        if (!m_process->waitForFinished(3000))
            m_process->kill();
        m_process->waitForFinished(3000);
        m_process.reset();
    }

    quint16 port() const { return m_port; }
    QString output() const { return m_process ? QString::fromLocal8Bit(m_process->readAll()) : QString(); }

    // One message published by mosquitto_pub; true when it exited cleanly.
    bool publish(const QString &topic, const QByteArray &message) const
    {
        QProcess pub;
        pub.start(QStringLiteral("/usr/bin/mosquitto_pub"),
                  {QStringLiteral("-h"), QStringLiteral("127.0.0.1"), QStringLiteral("-p"), QString::number(m_port),
                   QStringLiteral("-q"), QStringLiteral("1"), QStringLiteral("-t"), topic, QStringLiteral("-s")});
        if (!pub.waitForStarted(5000))
            return false;
        pub.write(message);
        pub.closeWriteChannel();
        return pub.waitForFinished(10000) && pub.exitStatus() == QProcess::NormalExit && pub.exitCode() == 0;
    }

    // A mosquitto_sub that prints "topic payload" lines for count messages.
    // Ready once its subscription is acknowledged (see Subscriber::waitReady).
    class Subscriber
    {
    public:
        Subscriber(quint16 port, const QString &topic, int count)
        {
            // Unbuffered, so the subscription acknowledgement shows at once.
            m_process.start(QStringLiteral("/usr/bin/stdbuf"),
                            {QStringLiteral("-o0"), QStringLiteral("/usr/bin/mosquitto_sub"), QStringLiteral("-h"), QStringLiteral("127.0.0.1"), QStringLiteral("-p"),
                             QString::number(port), QStringLiteral("-q"), QStringLiteral("1"), QStringLiteral("-d"),
                             QStringLiteral("-v"), QStringLiteral("-t"), topic, QStringLiteral("-C"),
                             QString::number(count)});
        }
        ~Subscriber()
        {
            m_process.kill();
            m_process.waitForFinished(3000);
        }
        bool waitReady()
        {
            for (int i = 0; i < 200 && !m_out.contains("SUBACK"); ++i) {
                m_process.waitForReadyRead(50);
                m_out += m_process.readAll();
            }
            return m_out.contains("SUBACK");
        }
        // Waits for the process to end and returns its "topic payload" lines.
        QStringList lines()
        {
            m_process.waitForFinished(15000);
            m_out += m_process.readAll();
            QStringList result;
            for (const QByteArray &line : m_out.split('\n')) {
                if (!line.isEmpty() && !line.startsWith("Client ") && !line.startsWith("Subscribed"))
                    result.append(QString::fromUtf8(line));
            }
            return result;
        }

    private:
        QProcess m_process;
        QByteArray m_out;
    };

private:
    QTemporaryDir m_dir;
    std::unique_ptr<QProcess> m_process;
    quint16 m_port = 0;
};

} // namespace qeltest
