#pragma once
// "备份/恢复下载器镜像": backs up every image of the selected programmer into
// one package file (".pimg") and restores such a package onto the selected
// programmer, after a login to the cloud service, which gets a record of
// each backup and restore. The rules are in CImagePackage, CRestoreRun,
// CBackupTarget and CAccountStore; the dialog maps widgets to them.
#include "crestorerun.h"
#include "messages.h"

#include <QDialog>
#include <QPointer>

#include <memory>

class CBackupTarget;
class MainWindow;
class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressDialog;
class QPushButton;
class QStackedWidget;
class QTableWidget;

class backuploaddlg : public QDialog
{
    Q_OBJECT
public:
    enum Page { PageLogin = 0, PageMain = 1, PageRecord = 2 };

    explicit backuploaddlg(MainWindow *window);
    ~backuploaddlg() override;

    // Folder of the packages: the working folder + "backup/", created when missing.
    static QString BackupDir();

    bool IsLoggedIn() const { return m_bLogin; }
    QString PackagePath() const { return m_strPackagePath; }
    const CRestoreRun &Run() const { return m_run; }

    // Writes a package of the selected programmer.
    void BackupProgrammer();
    // Loads a package and, when the user agrees, restores it to the selected programmer;
    // true when the restore started.
    bool ParseXMLFile(const QString &path);
    // Sends the next file of the restore (the index comes first).
    void CheckSend();
    // A transfer to the programmer has finished.
    void SetProgressBarText(const QString &fileName, bool done);

public slots:
    void on_btn_ok_clicked();
    void on_btn_cancel_clicked();
    void on_btn_loginout_clicked();
    void on_btn_backup_clicked();
    void on_btn_load_clicked();
    void on_btn_record_clicked();
    void on_btn_back_clicked();
    void stack_index_changed(int index);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void BuildUi();
    // The login page as the stored account says, each time the dialog opens.
    void LoadAccount();
    void SetStatus(const QString &text);
    // Login and connection for backups and record lists; says why not.
    bool CheckOnline();
    // The selected programmer as a target; null (and said) when none is selected or it is remote.
    std::unique_ptr<CBackupTarget> SelectTarget(const QString &noneText);
    void OnPackageRead(bool ok, const QString &err);
    bool StartRestore();
    void EndRestore();
    void SendRecord(const QString &type, const QString &uid, const QString &path);
    void OnLoginResp(const qelmsg::LoginResp &answer);
    void OnRecords(const qelmsg::ReadRecordResp &answer);
    void OnConnState(bool connected);

    QPointer<MainWindow> m_pWindow;
    QStackedWidget *m_pStack = nullptr;
    QLineEdit *m_pUser = nullptr;
    QLineEdit *m_pPassword = nullptr;
    QCheckBox *m_pRemember = nullptr;
    QLabel *m_pStatus = nullptr;
    QLabel *m_pUserLabel = nullptr;
    QTableWidget *m_pRecords = nullptr;
    QProgressDialog *m_pProgress = nullptr; // child, created for each restore

    std::unique_ptr<CBackupTarget> m_pTarget;
    CImagePackage m_package;
    CRestoreRun m_run;
    QString m_strUser;
    QString m_strPackagePath;
    bool m_bLogin = false;
    bool m_bWaitLogin = false;
    bool m_bWaitRecords = false;
    bool m_bBackingUp = false;
};
