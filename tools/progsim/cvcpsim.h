#pragma once
// A programmer attached as a USB virtual COM port: the programmer model on a
// pseudo-terminal whose slave path the host opens as its serial port.
#include "csimdevice.h"
#include "simbehaviour.h"

class CPtyPort;
class CSimFrameInput;
class CSimProgrammer;

class CVcpSim : public CSimDevice
{
    Q_OBJECT
public:
    // folder: the programmer's files; empty for a temporary folder.
    CVcpSim(const QString &folder, const SimIdentity &identity, const SimBehaviour &behaviour, QObject *parent = nullptr);
    ~CVcpSim() override;

    // A symbolic link to the port, made when started.
    void SetLink(const QString &link) { m_strLink = link; }

    bool Start(QString &err) override;
    // Closes the port: the host sees the device go.
    void Stop() override;
    QString Mode() const override { return QStringLiteral("vcp"); }

    QString PortPath() const;

private:
    QString m_strFolder;
    QString m_strLink;
    CPtyPort *m_pPort = nullptr;         // child
    CSimFrameInput *m_pInput = nullptr;  // child
    CSimProgrammer *m_pProg = nullptr;   // child
    bool m_bStarted = false;
};
