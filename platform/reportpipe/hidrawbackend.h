#pragma once
// HID devices on hidraw through hidapi. Each open device has a reader thread;
// its reports are handed to the owning thread with queued calls.
#include "hidbackend.h"

#include <QMap>
#include <QObject>

#include <memory>

class HidRawDevice;

class HidRawBackend : public QObject, public HidBackend
{
    Q_OBJECT
public:
    HidRawBackend();
    ~HidRawBackend() override;

    QList<CHidInfo> Enumerate(quint16 vid, quint16 pid) override;
    bool Open(const CHidInfo &info) override;
    void Close(const QString &key) override;
    bool IsOpen(const QString &key) const override;
    bool Write(const QString &key, const QByteArray &report) override;

private:
    QMap<QString, std::shared_ptr<HidRawDevice>> m_devices;
};
