#pragma once
// A pseudo-terminal pair for serial tests: the program opens the slave's path
// as its port; the test reads and writes the master end.
#include <QByteArray>
#include <QString>

#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

class PtyPair
{
public:
    PtyPair()
    {
        char name[256] = {};
        if (openpty(&m_master, &m_slave, name, nullptr, nullptr) != 0)
            return;
        termios raw{};
        tcgetattr(m_slave, &raw);
        cfmakeraw(&raw);
        tcsetattr(m_slave, TCSANOW, &raw);
        fcntl(m_master, F_SETFL, fcntl(m_master, F_GETFL) | O_NONBLOCK);
        m_path = QString::fromLocal8Bit(name);
    }
    ~PtyPair()
    {
        CloseMaster();
        if (m_slave >= 0)
            ::close(m_slave);
    }
    PtyPair(const PtyPair &) = delete;
    PtyPair &operator=(const PtyPair &) = delete;

    bool IsValid() const { return !m_path.isEmpty(); }
    QString Path() const { return m_path; }

    bool Write(const QByteArray &bytes) const { return ::write(m_master, bytes.constData(), size_t(bytes.size())) == bytes.size(); }
    // Whatever has arrived at the master end so far.
    QByteArray Read()
    {
        char buf[4096];
        ssize_t n;
        while ((n = ::read(m_master, buf, sizeof(buf))) > 0)
            m_in.append(buf, int(n));
        return m_in;
    }
    void CloseMaster()
    {
        if (m_master >= 0)
            ::close(m_master);
        m_master = -1;
    }

private:
    int m_master = -1;
    int m_slave = -1;
    QString m_path;
    QByteArray m_in;
};
