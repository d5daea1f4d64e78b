#pragma once
// The client's HID link: tells the window when a device it opened went away,
// also where no device watch reports it (simulated devices).
#include <clinkhid.h>

#include <functional>

class CClientHidLink : public CLinkHid
{
public:
    explicit CClientHidLink(std::function<void(const QString &key)> lost) : m_lost(std::move(lost)) {}

protected:
    void HandleDevState(bool open, const QString &key) override
    {
        CLinkHid::HandleDevState(open, key);
        if (!open && m_lost)
            m_lost(key);
    }

private:
    std::function<void(const QString &)> m_lost;
};
