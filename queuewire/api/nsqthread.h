#pragma once
// Worker thread: runs the node lookup on the lookup loop. A plain joinable thread:
// Qt 5 starts QThreads detached, and Exitance must know the thread is really gone.
#include <atomic>
#include <thread>

class NsqHandle;

class NsqThread
{
public:
    explicit NsqThread(NsqHandle *handle)
        : m_handle(handle)
    {
    }
    ~NsqThread() { wait(); }
    NsqThread(const NsqThread &) = delete;
    NsqThread &operator=(const NsqThread &) = delete;

    // Starts run() unless it is still running; a finished run is joined first.
    void start();
    bool isRunning() const { return m_running; }
    // Joins the thread if there is one.
    void wait();

protected:
    void run();

private:
    NsqHandle *m_handle;
    std::thread m_thread;
    std::atomic<bool> m_running{false};
};
