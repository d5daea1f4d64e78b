#pragma once
// A real FTP server (pyftpdlib) on loopback serving one folder to one account.
#include "toolprocess.h"

#include <memory>

class FtpServerProcess
{
public:
    // rate: bytes per second of every transfer, 0 = unlimited.
    FtpServerProcess(const QString &root, const QString &user, const QString &password, int rate = 0,
                     int port = 0)
        : m_root(root), m_user(user), m_password(password)
    {
        Start(rate, port);
    }

    bool Start(int rate = 0, int port = 0)
    {
        const QString script = QString::fromLocal8Bit(qgetenv("QEL_SOURCE_DIR")) + QStringLiteral("/tests/common/ftpserver.py");
        m_tool = std::make_unique<ToolProcess>(QStringLiteral("/usr/bin/python3"),
            QStringList{script, QStringLiteral("--root"), m_root, QStringLiteral("--user"), m_user,
                        QStringLiteral("--password"), m_password, QStringLiteral("--rate"), QString::number(rate),
                        QStringLiteral("--port"), QString::number(port)});
        if (!m_tool->WaitFor(QStringLiteral("\n"), 1, 10000))
            return false;
        const QString first = m_tool->Output().section(QLatin1Char('\n'), 0, 0);
        m_port = first.startsWith(QStringLiteral("ready ")) ? first.mid(6).toInt() : 0;
        return m_port > 0;
    }
    // Ends the server at once, as a crash or a pulled cable would.
    void Kill()
    {
        m_tool->Process().kill();
        m_tool->Process().waitForFinished(5000);
    }
    int Port() const { return m_port; }

private:
    QString m_root, m_user, m_password;
    std::unique_ptr<ToolProcess> m_tool;
    int m_port = 0;
};
