#include "hidrawbackend.h"

#include "hidsimwire.h"

#include <QDebug>

#include <hidapi.h>

#include <atomic>
#include <thread>

namespace {
bool EnsureHidApi()
{
    static const bool ok = hid_init() == 0;
    return ok;
}

QString WideText(const wchar_t *text)
{
    return text ? QString::fromWCharArray(text) : QString();
}
} // namespace

// One open device and its reader thread.
class HidRawDevice
{
public:
    HidRawDevice(hid_device *handle, const QString &key) : m_pHandle(handle), m_strKey(key) {}
    ~HidRawDevice()
    {
        m_bStop = true;
        if (m_thread.joinable())
            m_thread.join();
        hid_close(m_pHandle);
    }

    void StartReading(QObject *context, HidBackend *backend)
    {
        m_thread = std::thread([this, context, backend] {
            unsigned char buf[HidSimWire::kMaxReport];
            while (!m_bStop) {
                const int n = hid_read_timeout(m_pHandle, buf, sizeof(buf), 100);
                if (n == 0)
                    continue;
                const QString key = m_strKey;
                if (n < 0) {
                    QMetaObject::invokeMethod(context, [backend, key] {
                        if (backend->IsOpen(key) && backend->onLost)
                            backend->onLost(key);
                    }, Qt::QueuedConnection);
                    return;
                }
                const QByteArray report(reinterpret_cast<const char *>(buf), n);
                QMetaObject::invokeMethod(context, [backend, key, report] {
                    if (backend->IsOpen(key) && backend->onReport)
                        backend->onReport(key, report);
                }, Qt::QueuedConnection);
            }
        });
    }

    bool Write(const QByteArray &report)
    {
        // Report ID 0 first: the programmers use unnumbered reports.
        QByteArray out(1, '\0');
        out.append(report);
        return hid_write(m_pHandle, reinterpret_cast<const unsigned char *>(out.constData()), size_t(out.size())) >= 0;
    }

private:
    hid_device *m_pHandle;
    QString m_strKey;
    std::atomic<bool> m_bStop{false};
    std::thread m_thread;
};

HidRawBackend::HidRawBackend() = default;

HidRawBackend::~HidRawBackend()
{
    m_devices.clear();
}

QList<CHidInfo> HidRawBackend::Enumerate(quint16 vid, quint16 pid)
{
    QList<CHidInfo> list;
    if (!EnsureHidApi())
        return list;
    hid_device_info *all = hid_enumerate(vid, pid);
    for (hid_device_info *d = all; d; d = d->next) {
        CHidInfo info;
        info.m_nVid = d->vendor_id;
        info.m_nPid = d->product_id;
        info.m_strProduct = WideText(d->product_string);
        info.m_strPath = QString::fromLocal8Bit(d->path);
        info.m_strSerial = WideText(d->serial_number);
        list.append(info);
    }
    hid_free_enumeration(all);
    return list;
}

bool HidRawBackend::Open(const CHidInfo &info)
{
    if (m_devices.contains(info.m_strPath))
        return true;
    if (!EnsureHidApi())
        return false;
    hid_device *handle = hid_open_path(info.m_strPath.toLocal8Bit().constData());
    if (!handle) {
        qDebug() << "HidRawBackend: cannot open" << info.m_strPath;
        return false;
    }
    auto device = std::make_shared<HidRawDevice>(handle, info.m_strPath);
    m_devices.insert(info.m_strPath, device);
    device->StartReading(this, this);
    return true;
}

void HidRawBackend::Close(const QString &key)
{
    m_devices.remove(key);
}

bool HidRawBackend::IsOpen(const QString &key) const
{
    return m_devices.contains(key);
}

bool HidRawBackend::Write(const QString &key, const QByteArray &report)
{
    const auto device = m_devices.value(key);
    return device && device->Write(report);
}
