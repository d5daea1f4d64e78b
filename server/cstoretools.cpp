#include "cstoretools.h"

#include "cmessagebox.h"
#include "cpubactions.h"
#include "crecordstore.h"
#include "exfactorydlg.h"
#include "remoteserver.h"
#include "repairdlg.h"
#include "serverdefs.h"
#include "uploaderlogindlg.h"

#include <QAction>
#include <QDir>
#include <QWidget>

namespace {
// pyftpdlib's own port: an FTP server on loopback needs no root rights.
const int kFtpPort = 2121;
} // namespace

FtpAccount CStoreTools::FtpSettings()
{
    CPubActions ini(true);
    const QString file = ServerDefs::IniFile();
    const QString group = QStringLiteral("FTP");
    FtpAccount account;
    account.host = ini.GetString(group, QStringLiteral("HOST"), account.host, file);
    account.port = ini.GetInt(group, QStringLiteral("PORT"), kFtpPort, file);
    account.user = ini.GetString(group, QStringLiteral("USER"), QStringLiteral("qelftp"), file);
    account.password = ini.GetString(group, QStringLiteral("PASSWORD"), QStringLiteral("qelftp"), file);
    account.folder = ini.GetString(group, QStringLiteral("FOLDER"), account.folder, file);
    return account;
}

CStoreTools::CStoreTools(QWidget *window, remoteServer *cloud, QAction *upload, QAction *factoryTest, QAction *repair)
    : QObject(window), m_pWindow(window), m_pCloud(cloud), m_pUpload(upload), m_pFactoryTest(factoryTest), m_pRepair(repair)
{
}

CStoreTools::~CStoreTools()
{
    // The dialogs use the store: they go first.
    delete m_pUploader;
    delete m_pFactory;
    delete m_pRepairDlg;
}

bool CStoreTools::Handle(QAction *action)
{
    QWidget *dlg = nullptr;
    if (action == m_pUpload) {
        dlg = Uploader();
    } else if (action == m_pFactoryTest || action == m_pRepair) {
        databasedlg *records = action == m_pFactoryTest ? static_cast<databasedlg *>(FactoryTest()) : Repair();
        if (records) {
            records->show();
            records->raise();
            records->RequestTable();
        }
        return true;
    } else {
        return false;
    }
    if (dlg) {
        dlg->show();
        dlg->raise();
        dlg->activateWindow();
    }
    return true;
}

uploaderlogindlg *CStoreTools::Uploader()
{
    if (m_pUploader)
        return m_pUploader;
    remoteServer *cloud = m_pCloud;
    uploaderlogindlg::Requests requests;
    requests.login = [cloud](const QString &table, const QString &user, const QString &password) {
        cloud->FindDBLogin(table, user, password);
    };
    requests.images = [cloud](const QString &user) { cloud->GetUserImages(user); };
    requests.remove = [cloud](const QString &user, const QString &name, bool all) { cloud->DeleteImage(user, name, all); };
    requests.share = [cloud](const QString &user, const QString &name, int days, int count) {
        cloud->ShareImage(user, name, days, count);
    };
    requests.registerImage = [cloud](const QString &token, const QString &name, const QString &crc2) {
        cloud->UpdateImageRecord(token, name, crc2);
    };
    requests.log = [this](const QString &text) {
        if (m_log)
            m_log(text);
    };
    requests.accountIni = ServerDefs::IniFile();
    m_pUploader = new uploaderlogindlg(requests, m_pWindow);
    m_pUploader->setWindowFlag(Qt::Window);
    COfflineUploader &uploader = m_pUploader->Uploader();
    uploader.SetAccount(FtpSettings());
    uploader.SetDataDir(ServerDefs::WorkDir());
    uploader.SetBuilder([this](COfflineUploader::HomeImage &image) { return m_builder && m_builder(image); });
    connect(cloud, &remoteServer::sigFindDBLoginResp, m_pUploader, &uploaderlogindlg::HandleLoginResp);
    connect(cloud, &remoteServer::sigGetUserOIIResp, m_pUploader, &uploaderlogindlg::HandleImages);
    connect(cloud, &remoteServer::sigDeleteIMGResp, m_pUploader, &uploaderlogindlg::HandleDeleted);
    connect(cloud, &remoteServer::sigShareIMGResp, m_pUploader, &uploaderlogindlg::HandleShared);
    connect(cloud, &remoteServer::sigUpdateIMGRecResp, m_pUploader, &uploaderlogindlg::HandleRegistered);
    return m_pUploader;
}

bool CStoreTools::OpenStore()
{
    if (m_pStore)
        return true;
    auto store = std::make_unique<CRecordStore>(QDir(ServerDefs::WorkDir()).filePath(CRecordStore::kFileName));
    QString err;
    if (!store->Open(err)) {
        CMessageBox::Error(m_pWindow, tr("错误"), tr("本地数据库打开失败!") + QLatin1Char('\n') + err);
        return false;
    }
    m_pStore = std::move(store);
    return true;
}

databasedlg::Requests CStoreTools::CloudRequests() const
{
    remoteServer *cloud = m_pCloud;
    databasedlg::Requests requests;
    requests.pull = [cloud](const QString &name) { return cloud->PullFile(name); };
    requests.append = [cloud](const qelmsg::RecordAppend &record) { cloud->AppendRecord(record); };
    return requests;
}

void CStoreTools::Attach(databasedlg *dlg)
{
    dlg->setWindowFlag(Qt::Window);
    connect(m_pCloud, &remoteServer::sigDataBaseFile, dlg, &databasedlg::ReadDataBaseFromSQL);
    connect(m_pCloud, &remoteServer::sigRecordAppendResp, dlg, &databasedlg::OnAppendResp);
}

exfactorydlg *CStoreTools::FactoryTest()
{
    if (m_pFactory || !OpenStore())
        return m_pFactory;
    m_pFactory = new exfactorydlg(*m_pStore, CloudRequests(), m_pWindow);
    Attach(m_pFactory);
    m_pFactory->SetProgrammers(m_ids);
    return m_pFactory;
}

repairdlg *CStoreTools::Repair()
{
    if (m_pRepairDlg || !OpenStore())
        return m_pRepairDlg;
    m_pRepairDlg = new repairdlg(*m_pStore, CloudRequests(), m_pWindow);
    Attach(m_pRepairDlg);
    return m_pRepairDlg;
}

void CStoreTools::ProgerCame(const QString &id, bool testMode)
{
    if (id.isEmpty())
        return;
    if (!m_ids.contains(id))
        m_ids << id;
    if (m_pFactory)
        m_pFactory->SetProgrammers(m_ids);
    if (testMode && FactoryTest())
        m_pFactory->SaveExFactoryData(id);
}

void CStoreTools::ProgerGone(const QString &id)
{
    m_ids.removeAll(id);
    if (m_pFactory)
        m_pFactory->SetProgrammers(m_ids);
}
