#include "cclienthost.h"

#include "clientevents.h"
#include "clocalproger.h"
#include "cstationusb.h"
#include "filehandle.h"
#include "remoteserver.h"

#include <burnhub.h>
#include <packets.h>

#include <QFileInfo>

CClientHost::CClientHost(const CStationProgers *progers) : m_pProgers(progers)
{
    CMainHost::SetInstance(this);
}

CClientHost::~CClientHost()
{
    if (CMainHost::Instance() == this)
        CMainHost::SetInstance(nullptr);
}

void CClientHost::Log(const QString &text)
{
    ClientEvents::PostLog(text);
}

void CClientHost::ShowServiceState(CRemoteKey::Kind kind, bool on, const QString &)
{
    if (m_onState)
        m_onState(kind, on);
}

void CClientHost::SetCloud(remoteServer *cloud)
{
    m_pCloud = cloud;
    m_links.pCloud = cloud ? cloud->Link() : nullptr;
}

void CClientHost::OnLoginResp(const qelmsg::LoginResp &msg)
{
    if (m_pCloud)
        m_pCloud->HandleLoginResp(msg);
}

void CClientHost::OnGetOfflineImgResp(const qelmsg::GetOfflineImgResp &msg)
{
    if (m_pCloud)
        m_pCloud->HandleGetOfflineImgResp(msg);
}

void CClientHost::OnPullFileDataResp(const qelmsg::PullFileDataResp &msg)
{
    if (m_pCloud)
        m_pCloud->HandlePullFileDataResp(msg);
}

bool CClientHost::GetSelectedProger(ProgerInfo &info)
{
    const CStationProger *proger = m_pProgers->Current();
    if (!proger)
        return false;
    info = proger->info;
    return true;
}

bool CClientHost::ReadProgerImages(QList<ImageInfo> &images)
{
    QString err;
    const bool ok = CLocalProger(m_pProgers->Current()).ReadImages(images, err);
    if (!ok)
        Log(err);
    return ok;
}

bool CClientHost::ReadProgerConfig(QMap<QString, QString> &config)
{
    QString err;
    const bool ok = CLocalProger(m_pProgers->Current()).ReadConfig(config, err);
    if (!ok)
        Log(err);
    return ok;
}

bool CClientHost::ClearProgerImage(const QString &name)
{
    QString err;
    const bool ok = CLocalProger(m_pProgers->Current()).ClearImage(name, err);
    if (!ok)
        Log(err);
    return ok;
}

void CClientHost::Busy(bool on)
{
    if (m_onBusy)
        m_onBusy(on);
}

void CClientHost::OnFileContent(const RecvPacket &request, const qelmsg::FileContent &msg, const QByteArray &data)
{
    Busy(true);
    QString path;
    QString err;
    const bool added = FileHandle::Instance()->addData(msg.name, msg.fileId, data, msg.more, path, err);
    if (added && msg.more)
        return;
    Busy(false);
    // The rest of a file already refused: answered once, at the refusal.
    if (!added && err.isEmpty())
        return;
    if (!added)
        Log(err);
    FileSavePacket saved;
    request.RouteReply(saved);
    saved.SetData({msg.name, added});
    saved.Send();
    if (!added)
        return;

    const bool loaded = LoadReceived(path, msg.name, msg.imageIndex, err);
    if (!loaded)
        Log(err);
    auto done = std::make_shared<FileDownloadPacket>();
    request.RouteReply(*done);
    done->SetData({msg.name, loaded});
    const CStationProger *proger = m_pProgers->Current();
    // A HID or VCP programmer tells later whether it took the file.
    if (loaded && proger && CLocalProger(proger).IsUsb()) {
        m_pendingDownloads.insert(proger->key, {done, msg.name});
        return;
    }
    done->Send();
}

void CClientHost::OnUsbFrame(const QByteArray &frame, const QString &key)
{
    if (CStationUsb *usb = CStationUsb::Station())
        usb->RecvFrame(frame, key);
}

void CClientHost::OnUsbFileResult(const QString &key, const QString &, bool ok)
{
    // The programmer may keep the file under the name it was loaded as; the
    // server hears about the name it pushed.
    const auto pending = m_pendingDownloads.take(key);
    if (!pending.first)
        return;
    pending.first->SetData({pending.second, ok});
    pending.first->Send();
}

bool CClientHost::LoadReceived(const QString &path, const QString &name, int imageIndex, QString &err)
{
    const CLocalProger proger(m_pProgers->Current());
    // The firmware file is known by its name, whatever slot it came with.
    if (name == QLatin1String("update.bin"))
        return proger.DownFirm(path, err);
    const QString suffix = QFileInfo(name).suffix();
    if (suffix == QLatin1String("ini"))
        return proger.DownConfig(path, err);
    if (BurnHub::IsImageSuffix(suffix)) {
        Log(tr("接收到镜像文件"));
        QString imageName = name;
        return proger.DownImage(imageIndex, path, imageName, err);
    }
    err = tr("未知文件类型");
    return false;
}
