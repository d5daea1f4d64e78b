#include "chidsim.h"

#include "csimframeinput.h"
#include "csimprogrammer.h"

#include <chidsimdevice.h>

CHidSim::CHidSim(const QString &folder, const QString &hidDir, const SimIdentity &identity,
                 const SimBehaviour &behaviour, QObject *parent)
    : CSimDevice(identity, parent), m_strFolder(folder), m_strHidDir(hidDir)
{
    m_pDevice = new CHidSimDevice(this);
    m_pInput = new CSimFrameInput(true, this);
    m_pProg = new CSimProgrammer(identity, behaviour, this);
    m_pProg->SetLogger([this](const QString &text) { Log(text); });
    m_pProg->SetSender([this](const QByteArray &frame) {
        if (!m_pDevice->SendFrame(frame))
            Log(QStringLiteral("answer of %1 bytes dropped: no host has the device open").arg(frame.size()));
    });
    connect(m_pDevice, &CHidSimDevice::sigReport, m_pInput, &CSimFrameInput::Feed);
    connect(m_pDevice, &CHidSimDevice::sigAttached, this, [this](bool attached) {
        m_pInput->Reset();
        Log(attached ? QStringLiteral("host opened the device") : QStringLiteral("host closed the device"));
    });
    connect(m_pInput, &CSimFrameInput::sigFrame, this, [this](const QByteArray &frame) { m_pProg->Receive(frame); });
    connect(m_pInput, &CSimFrameInput::sigDropped, this,
            [this](int count, const QString &why) { Log(QStringLiteral("dropped %1 bytes: %2").arg(count).arg(why)); });
}

CHidSim::~CHidSim() = default;

void CHidSim::SetUsbIds(quint16 vid, quint16 pid)
{
    m_nVid = vid;
    m_nPid = pid;
}

QString CHidSim::DevicePath() const
{
    return m_pDevice->Path();
}

bool CHidSim::Start(QString &err)
{
    if (m_strHidDir.isEmpty()) {
        err = QStringLiteral("no HID simulation folder: give --hid-dir or set QEL_HID_SIM_DIR");
        return false;
    }
    if (!m_pProg->Open(m_strFolder, err))
        return false;
    // The ID doubles as the device's serial number.
    if (!m_pDevice->Start(m_strHidDir, m_nVid, m_nPid, Identity().strID)) {
        err = QStringLiteral("cannot create the HID device in %1").arg(m_strHidDir);
        return false;
    }
    m_bStarted = true;
    Log(QStringLiteral("hid device %1 (%2:%3, model %4, version %5, hardware %6)")
            .arg(m_pDevice->Path())
            .arg(m_nVid, 4, 16, QLatin1Char('0'))
            .arg(m_nPid, 4, 16, QLatin1Char('0'))
            .arg(Identity().strModel, Identity().strVer, Identity().strHW));
    Log(QStringLiteral("ready"));
    return true;
}

void CHidSim::Stop()
{
    if (!m_bStarted)
        return;
    m_bStarted = false;
    m_pDevice->Stop();
    m_pInput->Reset();
    Log(QStringLiteral("unplugged"));
}
