#pragma once
// Test helpers: an EventLoop running on its own thread, and a capture of the
// library's log lines.
#include "eventloop.h"
#include "logwriter.h"

#include <QMutex>
#include <QMutexLocker>
#include <QStringList>
#include <QTcpServer>

#include <functional>
#include <future>
#include <thread>

class LoopThread
{
public:
    LoopThread()
    {
        std::promise<void> running;
        m_loop.runInLoop([&running] { running.set_value(); });
        m_thread = std::thread([this] { m_loop.run(); });
        running.get_future().wait();
    }
    ~LoopThread()
    {
        m_loop.stop();
        m_thread.join();
    }

    uv::EventLoop *loop() { return &m_loop; }

    // Runs fn on the loop thread and waits for it.
    template<typename Fn>
    auto call(Fn fn) -> decltype(fn())
    {
        std::packaged_task<decltype(fn())()> task(fn);
        auto result = task.get_future();
        m_loop.runInLoop([&task] { task(); });
        return result.get();
    }

private:
    uv::EventLoop m_loop;
    std::thread m_thread;
};

class LogCapture
{
public:
    LogCapture()
    {
        uv::LogWriter::Instance()->setLevel(uv::LogWriter::Debug);
        uv::LogWriter::Instance()->registerLogCallback([this](int level, const std::string &text) {
            QMutexLocker lock(&m_mutex);
            m_lines.append(QString::fromStdString(uv::LogWriter::levelName(level) + " :" + text));
        });
    }
    ~LogCapture() { uv::LogWriter::Instance()->registerLogCallback(nullptr); }

    int count(const QString &text) const
    {
        QMutexLocker lock(&m_mutex);
        int n = 0;
        for (const QString &line : m_lines)
            n += line.contains(text) ? 1 : 0;
        return n;
    }
    bool contains(const QString &text) const { return count(text) > 0; }
    void clear()
    {
        QMutexLocker lock(&m_mutex);
        m_lines.clear();
    }

private:
    mutable QMutex m_mutex;
    QStringList m_lines;
};

// A loopback port that nothing listens on (just freed).
inline quint16 closedPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}
