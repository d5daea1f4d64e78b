#include "cvcpsim.h"

#include "cptyport.h"
#include "csimframeinput.h"
#include "csimprogrammer.h"

CVcpSim::CVcpSim(const QString &folder, const SimIdentity &identity, const SimBehaviour &behaviour, QObject *parent)
    : CSimDevice(identity, parent), m_strFolder(folder)
{
    m_pPort = new CPtyPort(this);
    m_pInput = new CSimFrameInput(false, this);
    m_pProg = new CSimProgrammer(identity, behaviour, this);
    m_pProg->SetLogger([this](const QString &text) { Log(text); });
    const QByteArray noise = behaviour.bNoise ? QByteArray::fromHex("680900C4") : QByteArray();
    m_pProg->SetSender([this, noise](const QByteArray &frame) {
        if (!m_pPort->Write(noise + frame))
            Log(QStringLiteral("answer of %1 bytes dropped: the port is closed or the host is not reading").arg(frame.size()));
    });
    connect(m_pPort, &CPtyPort::sigData, m_pInput, &CSimFrameInput::Feed);
    connect(m_pInput, &CSimFrameInput::sigFrame, this, [this](const QByteArray &frame) { m_pProg->Receive(frame); });
    connect(m_pInput, &CSimFrameInput::sigDropped, this,
            [this](int count, const QString &why) { Log(QStringLiteral("dropped %1 bytes: %2").arg(count).arg(why)); });
}

CVcpSim::~CVcpSim() = default;

QString CVcpSim::PortPath() const
{
    return m_pPort->LinkPath().isEmpty() ? m_pPort->SlavePath() : m_pPort->LinkPath();
}

bool CVcpSim::Start(QString &err)
{
    if (!m_pProg->Open(m_strFolder, err) || !m_pPort->Open(err))
        return false;
    if (!m_strLink.isEmpty() && !m_pPort->MakeLink(m_strLink, err)) {
        m_pPort->Close();
        return false;
    }
    m_bStarted = true;
    Log(QStringLiteral("port %1%2 (model %3, version %4, hardware %5)")
            .arg(m_pPort->SlavePath(),
                 m_strLink.isEmpty() ? QString() : QStringLiteral(" linked as %1").arg(m_strLink),
                 Identity().strModel, Identity().strVer, Identity().strHW));
    Log(QStringLiteral("ready"));
    return true;
}

void CVcpSim::Stop()
{
    if (!m_bStarted)
        return;
    m_bStarted = false;
    m_pPort->Close();
    m_pInput->Reset();
    Log(QStringLiteral("unplugged"));
}
