#pragma once
// A programmer attached as a USB-HID device: the programmer model on a
// simulated HID device (a socket in the HID simulation folder) that the host's
// CReportPipe finds by vendor and product ID.
#include "csimdevice.h"
#include "simbehaviour.h"

class CHidSimDevice;
class CSimFrameInput;
class CSimProgrammer;

class CHidSim : public CSimDevice
{
    Q_OBJECT
public:
    static constexpr quint16 kVendor = 0x0483;
    static constexpr quint16 kProduct = 0x5751;

    // folder: the programmer's files; empty for a temporary folder. hidDir:
    // the simulation folder the host enumerates.
    CHidSim(const QString &folder, const QString &hidDir, const SimIdentity &identity, const SimBehaviour &behaviour,
            QObject *parent = nullptr);
    ~CHidSim() override;

    void SetUsbIds(quint16 vid, quint16 pid);

    bool Start(QString &err) override;
    // Removes the device: the host sees it go.
    void Stop() override;
    QString Mode() const override { return QStringLiteral("hid"); }

    QString DevicePath() const;

private:
    QString m_strFolder;
    QString m_strHidDir;
    quint16 m_nVid = kVendor;
    quint16 m_nPid = kProduct;
    CHidSimDevice *m_pDevice = nullptr; // child
    CSimFrameInput *m_pInput = nullptr; // child
    CSimProgrammer *m_pProg = nullptr;  // child
    bool m_bStarted = false;
};
