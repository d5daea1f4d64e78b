#include "cviewerset.h"

#include "cremoteservice.h"
#include "cusbconsole.h"
#include "cusbprogmanager.h"
#include "sendfirmdlg.h"
#include "showconfigdlg.h"
#include "showimagedlg.h"
#include "showsignaldlg.h"

CViewerSet::CViewerSet(QWidget *window, CRemoteService *remote, CUsbProgManager *usb, LogFn log)
    : QObject(window), m_pWindow(window), m_pRemote(remote), m_pUsb(usb), m_log(std::move(log))
{
}

CViewerSet::~CViewerSet() = default;

showconfigdlg *CViewerSet::ConfigViewer() const { return m_pConfig; }
showimagedlg *CViewerSet::ImageViewer() const { return m_pImages; }
showsignaldlg *CViewerSet::SignalViewer() const { return m_pSignal; }
sendfirmdlg *CViewerSet::FirmDialog() const { return m_pFirm; }

CProgerWay CViewerSet::WayOf(const MyProger &proger) const
{
    return CProgerWay(proger, m_pRemote, m_pUsb);
}

template <class T> T *CViewerSet::Show(QPointer<T> &slot, T *dlg)
{
    // One viewer of a kind: a new one replaces the one open.
    if (slot)
        slot->close();
    slot = dlg;
    dlg->setAttribute(Qt::WA_DeleteOnClose);
    connect(dlg, &T::sigLog, this, [this](const QString &text) {
        if (m_log)
            m_log(text);
    });
    dlg->show();
    dlg->raise();
    return dlg;
}

void CViewerSet::ConnectConsole()
{
    if (m_bConsoleConnected || !m_pUsb || !m_pUsb->HasConsole())
        return;
    m_bConsoleConnected = true;
    CUsbConsole *console = m_pUsb->Console();
    connect(console, &CUsbConsole::sigPullDone, this,
            [this](const QString &key, const QString &path, const QString &, quint32, bool ok) {
                if (m_pSignal)
                    m_pSignal->OnPullDone(key, path, ok);
            });
    connect(console, &CUsbConsole::sigFileProgress, this, [this](const QString &key, const QString &name, int percent) {
        if (m_pFirm)
            m_pFirm->OnUsbProgress(key, name, percent);
    });
    connect(console, &CUsbConsole::sigFileResult, this, [this](const QString &key, const QString &name, bool ok) {
        if (m_pFirm)
            m_pFirm->OnUsbResult(key, name, ok);
    });
    // A programmer that goes away ends what waits for it.
    connect(console, &CUsbConsole::sigProgerRemoved, this, [this](const QString &key) {
        if (m_pFirm)
            m_pFirm->OnUsbGone(key);
        if (m_pSignal)
            m_pSignal->OnPullDone(key, QString::fromLatin1(CProgerWay::kSignalPath), false);
    });
}

showconfigdlg *CViewerSet::OpenConfig(const MyProger &proger)
{
    showconfigdlg *dlg = Show(m_pConfig, new showconfigdlg(WayOf(proger), m_pWindow));
    dlg->Open();
    return dlg;
}

showimagedlg *CViewerSet::OpenImages(const MyProger &proger)
{
    showimagedlg *dlg = Show(m_pImages, new showimagedlg(WayOf(proger), m_pWindow));
    const CProgerWay way = dlg->Way();
    // The programmer the viewer was opened for, whatever is ticked by now.
    connect(dlg, &showimagedlg::sig_hasClear, this, [this, way](const QString &name) {
        if (way.GetKind() == CProgerWay::KindUsb && m_pUsb)
            m_pUsb->DeleteFile(way.Proger().m_strRoot, name);
    });
    connect(dlg, &showimagedlg::sig_UpdateIndex, this, [this, way]() {
        if (way.GetKind() == CProgerWay::KindUsb && m_pUsb)
            m_pUsb->SendFileToProger(way.Proger().m_strRoot, way.UsbFolderFile(QStringLiteral("image.dat")));
    });
    dlg->Refill();
    return dlg;
}

showsignaldlg *CViewerSet::OpenSignal(const MyProger &proger)
{
    ConnectConsole();
    showsignaldlg *dlg = Show(m_pSignal, new showsignaldlg(WayOf(proger), m_pWindow));
    dlg->SetSelectedCheck(m_selected);
    dlg->Open();
    return dlg;
}

sendfirmdlg *CViewerSet::OpenFirm(const MyProger &proger, const QString &path)
{
    ConnectConsole();
    // A send under way keeps its dialog until it ends.
    if (m_pFirm && m_pFirm->IsSending() && m_pFirm->Way().IsFor(proger)) {
        m_pFirm->raise();
        return m_pFirm;
    }
    sendfirmdlg *dlg = Show(m_pFirm, new sendfirmdlg(WayOf(proger), m_pWindow));
    if (!path.isEmpty())
        dlg->SetFirmPath(path);
    return dlg;
}

void CViewerSet::ShowRemoteConfig(const MyProger &key, const QMap<QString, QString> &config)
{
    if (m_pConfig && m_pConfig->Way().IsFor(key))
        m_pConfig->ShowConfig(config);
    if (m_pSignal && m_pSignal->Way().IsFor(key))
        m_pSignal->ShowConfig(config);
}

bool CViewerSet::ShowRemoteImages(const MyProger &key, const QList<ImageInfo> &images)
{
    if (!m_pImages || !m_pImages->Way().IsFor(key))
        return false;
    m_pImages->ShowImages(images);
    return true;
}

void CViewerSet::RefreshRemoteImages(const MyProger &key)
{
    if (m_pImages && m_pImages->Way().IsFor(key))
        m_pImages->Refill();
}

void CViewerSet::OnRemoteFileLoaded(const MyProger &key, const QString &name, bool ok)
{
    if (m_pFirm && m_pFirm->Way().IsFor(key))
        m_pFirm->OnRemoteLoaded(name, ok);
}
