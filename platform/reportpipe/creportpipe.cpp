#include "creportpipe.h"

#include "hidbackend.h"
#include "hidrawbackend.h"
#include "hidsimbackend.h"
#include "hidsimwire.h"

namespace {
QString &SimDirOverride()
{
    static QString dir;
    return dir;
}
} // namespace

CReportPipe *CReportPipe::m_pInstance = nullptr;

CReportPipe::CReportPipe()
{
    const QString dir = SimulationDir();
    m_bSimulated = !dir.isEmpty();
    if (m_bSimulated)
        m_pBackend = std::make_unique<HidSimBackend>(dir);
    else
        m_pBackend = std::make_unique<HidRawBackend>();
    m_pBackend->onReport = [this](const QString &key, const QByteArray &report) {
        HidRecvData data;
        data.pData = reinterpret_cast<const unsigned char *>(report.constData());
        data.nLen = report.size();
        data.strKey = key;
        HandleRecvData(data);
    };
    m_pBackend->onLost = [this](const QString &key) {
        m_pBackend->Close(key);
        HandleDevState(false, key);
    };
    m_pInstance = this;
}

CReportPipe::~CReportPipe()
{
    if (m_pInstance == this)
        m_pInstance = nullptr;
    m_pBackend->onReport = nullptr;
    m_pBackend->onLost = nullptr;
}

CReportPipe *CReportPipe::Instance()
{
    return m_pInstance;
}

void CReportPipe::SetSimulationDir(const QString &dir)
{
    SimDirOverride() = dir;
}

QString CReportPipe::SimulationDir()
{
    if (!SimDirOverride().isEmpty())
        return SimDirOverride();
    return QString::fromLocal8Bit(qgetenv(HidSimWire::EnvName()));
}

bool CReportPipe::EnumDevices(QList<CHidInfo> &list, unsigned int vid, unsigned int pid)
{
    if (vid > 0xFFFF || pid > 0xFFFF)
        return false;
    const QList<CHidInfo> found = m_pBackend->Enumerate(quint16(vid), quint16(pid));
    list.append(found);
    return !found.isEmpty();
}

bool CReportPipe::StartNewHid(const QList<CHidInfo> &devices, bool flag)
{
    Q_UNUSED(flag)
    bool all = true;
    for (const CHidInfo &info : devices) {
        if (m_pBackend->IsOpen(info.m_strPath))
            continue;
        if (m_pBackend->Open(info))
            HandleDevState(true, info.m_strPath);
        else
            all = false;
    }
    return all;
}

void CReportPipe::CloseOneHid(const QString &key)
{
    m_pBackend->Close(key);
}

bool CReportPipe::SendData(unsigned char *bytes, unsigned short count, const QString &key)
{
    if (!bytes || count == 0 || !m_pBackend->IsOpen(key))
        return false;
    for (const QByteArray &report : HidSimWire::SplitReports(reinterpret_cast<const char *>(bytes), count)) {
        if (!m_pBackend->Write(key, report))
            return false;
    }
    return true;
}

bool CReportPipe::IsOpen(const QString &key) const
{
    return m_pBackend->IsOpen(key);
}

bool CReportPipe::IsSimulated() const
{
    return m_bSimulated;
}

void CReportPipe::HandleRecvData(const HidRecvData &) {}

void CReportPipe::HandleDevState(bool, const QString &) {}
