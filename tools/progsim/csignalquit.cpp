#include "csignalquit.h"

#include <QSocketNotifier>

#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

int CSignalQuit::s_fds[2] = {-1, -1};

CSignalQuit::CSignalQuit(QObject *parent) : QObject(parent)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, s_fds) != 0)
        return;
    m_pNotifier = new QSocketNotifier(s_fds[1], QSocketNotifier::Read, this);
    connect(m_pNotifier, &QSocketNotifier::activated, this, [this]() {
        unsigned char signo = 0;
        if (::read(s_fds[1], &signo, 1) == 1)
            emit sigQuit(signo);
    });
    struct sigaction action = {};
    action.sa_handler = &CSignalQuit::Handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
}

CSignalQuit::~CSignalQuit()
{
    ::signal(SIGINT, SIG_DFL);
    ::signal(SIGTERM, SIG_DFL);
    delete m_pNotifier;
    for (int &fd : s_fds) {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
}

void CSignalQuit::Handler(int signo)
{
    const unsigned char byte = static_cast<unsigned char>(signo);
    if (s_fds[0] >= 0) {
        const ssize_t written = ::write(s_fds[0], &byte, 1);
        (void)written;
    }
}
