#pragma once
// A real HTTP server on loopback for the tests: Python's http.server serving a
// folder on a free port, or a script built on it that prints the same
// "Serving HTTP on ... port N" line and takes the folder as its argument.
#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QtTest>

class HttpDir
{
public:
    explicit HttpDir(const QString &folder, const QString &script = QString())
    {
        m_process.setProcessChannelMode(QProcess::MergedChannels);
        if (script.isEmpty())
            m_process.start(QStringLiteral("/usr/bin/python3"),
                            {QStringLiteral("-u"), QStringLiteral("-m"), QStringLiteral("http.server"), QStringLiteral("0"),
                             QStringLiteral("--bind"), QStringLiteral("127.0.0.1"), QStringLiteral("--directory"), folder});
        else
            m_process.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-u"), script, folder});
        if (!m_process.waitForStarted(10000))
            return;
        // "Serving HTTP on 127.0.0.1 port 40123 (http://127.0.0.1:40123/) ..."
        static const QRegularExpression portLine(QStringLiteral("port (\\d+)"));
        QByteArray out;
        while (m_nPort == 0 && m_process.waitForReadyRead(10000)) {
            out += m_process.readAll();
            const QRegularExpressionMatch m = portLine.match(QString::fromUtf8(out));
            if (m.hasMatch())
                m_nPort = m.captured(1).toInt();
        }
    }
    ~HttpDir()
    {
        m_process.terminate();
        if (!m_process.waitForFinished(5000))
            m_process.kill();
        m_process.waitForFinished(5000);
    }

    bool IsRunning() const { return m_nPort > 0; }
    QString Url(const QString &path) const { return QStringLiteral("http://127.0.0.1:%1/%2").arg(m_nPort).arg(path); }
    // Request lines logged so far ("GET /x.json HTTP/1.1" ...).
    QString Requests()
    {
        m_log += QString::fromUtf8(m_process.readAll());
        return m_log;
    }

private:
    QProcess m_process;
    int m_nPort = 0;
    QString m_log;
};
