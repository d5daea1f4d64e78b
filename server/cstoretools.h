#pragma once
// The window's entries for the offline image store and the record databases:
// creates each dialog once, wires it to the cloud client and tells the
// factory-test dialog which programmers are attached.
#include "cftpclient.h"
#include "cofflineuploader.h"
#include "databasedlg.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>

class CRecordStore;
class QAction;
class QWidget;
class exfactorydlg;
class remoteServer;
class repairdlg;
class uploaderlogindlg;

class CStoreTools : public QObject
{
    Q_OBJECT
public:
    // Group "FTP" of the server's INI: HOST, PORT, USER, PASSWORD, FOLDER.
    static FtpAccount FtpSettings();

    CStoreTools(QWidget *window, remoteServer *cloud, QAction *upload, QAction *factoryTest, QAction *repair);
    ~CStoreTools() override;

    // The home image of the window, built for the store.
    void SetImageBuilder(COfflineUploader::Builder builder) { m_builder = std::move(builder); }
    void SetLogger(std::function<void(const QString &)> log) { m_log = std::move(log); }

    // True when the action is one of these entries (and it was opened).
    bool Handle(QAction *action);
    // Programmers coming and going; in test mode an arrival stores its factory test.
    void ProgerCame(const QString &id, bool testMode);
    void ProgerGone(const QString &id);

    uploaderlogindlg *Uploader();
    exfactorydlg *FactoryTest();
    repairdlg *Repair();

private:
    bool OpenStore();
    // The record dialogs reach the cloud through these.
    databasedlg::Requests CloudRequests() const;
    void Attach(databasedlg *dlg);

    QWidget *m_pWindow;
    remoteServer *m_pCloud;
    QAction *m_pUpload;
    QAction *m_pFactoryTest;
    QAction *m_pRepair;
    COfflineUploader::Builder m_builder;
    std::function<void(const QString &)> m_log;
    std::unique_ptr<CRecordStore> m_pStore;
    QPointer<uploaderlogindlg> m_pUploader;
    QPointer<exfactorydlg> m_pFactory;
    QPointer<repairdlg> m_pRepairDlg;
    QStringList m_ids;
};
