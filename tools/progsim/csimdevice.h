#pragma once
// One simulated programmer. Each way a programmer is reached (disk, VCP, HID)
// is a subclass; they share the identity and the log format.
#include "simidentity.h"

#include <QObject>

class CSimDevice : public QObject
{
    Q_OBJECT
public:
    explicit CSimDevice(const SimIdentity &identity, QObject *parent = nullptr);

    // Brings the device up; false with the reason when it cannot.
    virtual bool Start(QString &err) = 0;
    // The device goes away (unplugged).
    virtual void Stop() = 0;
    virtual QString Mode() const = 0;

    const SimIdentity &Identity() const { return m_identity; }

protected:
    // "[time] <mode> <id>: text" on standard output, one line, flushed.
    void Log(const QString &text) const;

private:
    SimIdentity m_identity;
};
