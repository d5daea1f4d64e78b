#include "cptyport.h"

#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

CPtyPort::CPtyPort(QObject *parent) : QObject(parent) {}

CPtyPort::~CPtyPort()
{
    Close();
}

bool CPtyPort::Open(QString &err)
{
    Close();
    termios raw{};
    cfmakeraw(&raw);
    cfsetispeed(&raw, B115200);
    cfsetospeed(&raw, B115200);
    char name[256] = {};
    if (::openpty(&m_nMaster, &m_nSlave, name, &raw, nullptr) != 0) {
        err = QStringLiteral("openpty: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
        m_nMaster = m_nSlave = -1;
        return false;
    }
    ::fcntl(m_nMaster, F_SETFL, ::fcntl(m_nMaster, F_GETFL) | O_NONBLOCK);
    ::fcntl(m_nMaster, F_SETFD, FD_CLOEXEC);
    ::fcntl(m_nSlave, F_SETFD, FD_CLOEXEC);
    m_strSlave = QString::fromLocal8Bit(name);
    m_pRead = new QSocketNotifier(m_nMaster, QSocketNotifier::Read, this);
    connect(m_pRead, &QSocketNotifier::activated, this, &CPtyPort::OnReadable);
    m_pWrite = new QSocketNotifier(m_nMaster, QSocketNotifier::Write, this);
    m_pWrite->setEnabled(false);
    connect(m_pWrite, &QSocketNotifier::activated, this, &CPtyPort::Flush);
    return true;
}

bool CPtyPort::MakeLink(const QString &link, QString &err)
{
    const QFileInfo info(link);
    if (info.isSymLink()) {
        QFile::remove(link);
    } else if (info.exists()) {
        err = QStringLiteral("%1 exists and is not a symbolic link").arg(link);
        return false;
    }
    if (!QFile::link(m_strSlave, link)) {
        err = QStringLiteral("cannot link %1 to %2").arg(link, m_strSlave);
        return false;
    }
    m_strLink = link;
    return true;
}

void CPtyPort::Close()
{
    delete m_pRead;
    m_pRead = nullptr;
    delete m_pWrite;
    m_pWrite = nullptr;
    // Only our own link: another simulator may have taken the name since.
    if (!m_strLink.isEmpty() && QFileInfo(m_strLink).symLinkTarget() == m_strSlave)
        QFile::remove(m_strLink);
    m_strLink.clear();
    if (m_nMaster >= 0)
        ::close(m_nMaster);
    if (m_nSlave >= 0)
        ::close(m_nSlave);
    m_nMaster = m_nSlave = -1;
    m_pending.clear();
}

void CPtyPort::OnReadable()
{
    char buf[4096];
    QByteArray bytes;
    for (;;) {
        const ssize_t n = ::read(m_nMaster, buf, sizeof(buf));
        if (n > 0) {
            bytes.append(buf, int(n));
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        break;
    }
    if (!bytes.isEmpty())
        emit sigData(bytes);
}

bool CPtyPort::Write(const QByteArray &bytes)
{
    if (m_nMaster < 0 || m_pending.size() + bytes.size() > kMaxPending)
        return false;
    m_pending.append(bytes);
    Flush();
    return true;
}

void CPtyPort::Flush()
{
    while (!m_pending.isEmpty() && m_nMaster >= 0) {
        const ssize_t n = ::write(m_nMaster, m_pending.constData(), size_t(m_pending.size()));
        if (n > 0) {
            m_pending.remove(0, int(n));
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        break; // EAGAIN: the line is full until the host reads
    }
    if (m_pWrite)
        m_pWrite->setEnabled(!m_pending.isEmpty());
}
