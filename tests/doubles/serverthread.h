#pragma once
// Runs one server object of a double on a thread of its own. The server is
// created by start(), listens there, and is deleted on that thread when the
// thread ends; call() runs a function on it and waits for it.
#include <QMetaObject>
#include <QThread>

#include <memory>
#include <utility>

namespace nsqdouble {

template <class Server>
class ServerThread
{
public:
    explicit ServerThread(const char *name) { m_thread.setObjectName(QString::fromLatin1(name)); }
    ~ServerThread()
    {
        if (m_server)
            m_server->deleteLater();
        m_thread.quit();
        m_thread.wait();
    }
    ServerThread(const ServerThread &) = delete;
    ServerThread &operator=(const ServerThread &) = delete;

    // Creates the server from args and lets it listen; true when it does.
    template <class... Args>
    bool start(Args &&...args)
    {
        if (m_server)
            return true;
        auto server = std::make_unique<Server>(std::forward<Args>(args)...);
        server->moveToThread(&m_thread);
        m_thread.start();
        m_server = server.release(); // from here on deleted through deleteLater
        bool ok = false;
        QMetaObject::invokeMethod(m_server, [this, &ok] { ok = m_server->listen(); }, Qt::BlockingQueuedConnection);
        return ok;
    }

    // fn(server) on the server's thread; nothing when it has not started.
    template <class Fn>
    void call(Fn fn)
    {
        if (m_server)
            QMetaObject::invokeMethod(m_server, [this, fn] { fn(*m_server); }, Qt::BlockingQueuedConnection);
    }

private:
    QThread m_thread;
    Server *m_server = nullptr;
};

} // namespace nsqdouble
