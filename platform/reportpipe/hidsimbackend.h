#pragma once
// Simulated HID devices: one local socket per device in a folder (hidsimwire.h).
#include "hidbackend.h"
#include "hidsimwire.h"

#include <QMap>
#include <QObject>

class QLocalSocket;

class HidSimBackend : public QObject, public HidBackend
{
    Q_OBJECT
public:
    explicit HidSimBackend(const QString &dir);
    ~HidSimBackend() override;

    QList<CHidInfo> Enumerate(quint16 vid, quint16 pid) override;
    bool Open(const CHidInfo &info) override;
    void Close(const QString &key) override;
    bool IsOpen(const QString &key) const override;
    bool Write(const QString &key, const QByteArray &report) override;

private:
    struct Device
    {
        QLocalSocket *pSocket = nullptr;
        HidSimWire::Decoder decoder;
    };

    void OnReadyRead(const QString &key);
    void OnGone(const QString &key);

    QString m_strDir;
    QMap<QString, Device> m_devices;
};
