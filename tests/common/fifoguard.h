#pragma once
// A FIFO made by a test where a file is expected. Code that opens it the plain
// way blocks in open() until a writer comes; the guard comes as that writer
// after a bounded wait, so such a test fails instead of hanging the suite.
#include <QByteArray>
#include <QFile>
#include <QString>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

class FifoGuard
{
public:
    explicit FifoGuard(const QString &path, int waitMs = 5000) : m_path(QFile::encodeName(path))
    {
        m_bMade = ::mkfifo(m_path.constData(), 0600) == 0;
        m_thread = std::thread([this, waitMs] {
            std::unique_lock<std::mutex> lock(m_mutex);
            if (m_cv.wait_for(lock, std::chrono::milliseconds(waitMs), [this] { return m_bDone; }))
                return;
            // Still there: someone is stuck on it. Open both ends' partner and let go.
            m_bHadToRelease = true;
            for (int i = 0; i < 50 && !m_bDone; ++i) {
                const int fd = ::open(m_path.constData(), O_RDWR | O_NONBLOCK);
                if (fd >= 0)
                    ::close(fd);
                m_cv.wait_for(lock, std::chrono::milliseconds(100), [this] { return m_bDone; });
            }
        });
    }
    ~FifoGuard()
    {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_bDone = true;
        }
        m_cv.notify_all();
        m_thread.join();
    }

    bool Made() const { return m_bMade; }
    // True when something blocked on the FIFO past the wait.
    bool HadToRelease() const { return m_bHadToRelease; }

private:
    QByteArray m_path;
    bool m_bMade = false;
    std::atomic<bool> m_bHadToRelease{false};
    bool m_bDone = false;
    std::mutex m_mutex;
    std::condition_variable m_cv;
    std::thread m_thread;
};
