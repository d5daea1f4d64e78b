#pragma once
// A simulated USB programmer (tools/progsim --vcp or --hid) run by a test. The
// waits keep the test's event loop turning, so the console works meanwhile.
#include "progsimprocess.h"
#include "qeltest.h"

#include <QElapsedTimer>
#include <QThread>

#include <functional>

namespace usbtest {

// Runs the event loop until cond holds or ms have passed.
inline bool waitUntil(const std::function<bool()> &cond, int ms = 30000)
{
    QElapsedTimer timer;
    timer.start();
    while (!cond()) {
        if (timer.elapsed() > ms)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(2);
    }
    return true;
}

// --vcp with the port linked as link, or --hid in the simulation folder hidDir.
class UsbSim : public ProgSim
{
public:
    UsbSim(const QString &id, const QString &folder, const QString &link, const QStringList &extra = {},
           const QString &hidDir = QString())
        : ProgSim(Arguments(id, folder, link, extra, hidDir)), m_strLink(link)
    {
    }
    QString Link() const { return m_strLink; }

private:
    static QStringList Arguments(const QString &id, const QString &folder, const QString &link,
                                 const QStringList &extra, const QString &hidDir)
    {
        QStringList args;
        if (hidDir.isEmpty())
            args << QStringLiteral("--vcp") << QStringLiteral("--link") << link;
        else
            args << QStringLiteral("--hid") << QStringLiteral("--hid-dir") << hidDir;
        return args << QStringLiteral("--id") << id << QStringLiteral("--dir") << folder << extra;
    }

    QString m_strLink;
};

} // namespace usbtest
