#pragma once
// The offline image store of a registered user: disclaimer and login, the
// list of the user's images with their fetch counters, upload of the home
// image, delete, details and share. The requests go out through the functions
// given; the service's answers come back through the Handle* slots. Nothing
// here waits: every step goes on when its answer arrives.
#include "cofflineuploader.h"
#include "messages.h"

#include <QDialog>
#include <QTimer>

#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QStackedWidget;
class QTreeWidget;
class uploadercfgdlg;

class uploaderlogindlg : public QDialog
{
    Q_OBJECT
public:
    struct Requests
    {
        std::function<void(const QString &table, const QString &user, const QString &password)> login;
        std::function<void(const QString &user)> images;
        std::function<void(const QString &user, const QString &name, bool all)> remove;
        std::function<void(const QString &user, const QString &name, int days, int count)> share;
        std::function<void(const QString &token, const QString &name, const QString &crc2)> registerImage;
        std::function<void(const QString &text)> log;
        // Where the remembered account lives; empty: nothing is remembered.
        QString accountIni;
    };
    enum Page { LoginPage, ImagePage, DisclaimerPage };
    static constexpr int kAnswerMs = 10000;

    uploaderlogindlg(Requests requests, QWidget *parent = nullptr);
    ~uploaderlogindlg() override;

    COfflineUploader &Uploader() { return m_uploader; }
    bool IsLoggedIn() const { return m_bLoggedIn; }
    const QList<qelmsg::OiiItem> &Images() const { return m_images; }
    // Selects the image of that name in the list; false when it is not listed.
    bool SelectImage(const QString &name);
    QString SelectedName() const;
    uploadercfgdlg *ShareDialog();

    // Widgets, by their names.
    QStackedWidget *stackedWidget = nullptr;
    QLineEdit *edit_userName = nullptr;
    QLineEdit *edit_password = nullptr;
    QCheckBox *check_account = nullptr;
    QCheckBox *checkdisclaimer = nullptr;
    QLabel *label_disclaimer = nullptr;
    QPushButton *btn_ok = nullptr;
    QPushButton *btn_cancel = nullptr;
    QTreeWidget *lv_image = nullptr;
    QPushButton *btn_loginout = nullptr;
    QPushButton *btn_upload = nullptr;
    QPushButton *btn_share = nullptr;
    QPushButton *btn_clearone = nullptr;
    QPushButton *btn_clearall = nullptr;
    QPushButton *btn_info = nullptr;
    QLabel *statusIcon = nullptr;
    QLabel *statusLabel = nullptr;
    QProgressBar *progressBar = nullptr;

public slots:
    void HandleLoginResp(const qelmsg::FindDBLoginResp &answer);
    void HandleImages(const qelmsg::GetUserOIIResp &answer);
    void HandleDeleted(const qelmsg::DeleteIMGResp &answer);
    void HandleShared(const qelmsg::ShareIMGResp &answer);
    void HandleRegistered(const qelmsg::UpdateIMGRecResp &answer);
    void showDisclaimerPage();
    void Upload();
    void ShareTip(const QString &text, int days, int count);

private slots:
    void on_btn_ok_clicked();
    void on_btn_loginout_clicked();
    void on_btn_share_clicked();
    void on_btn_clearone_clicked();
    void on_btn_clearall_clicked();
    void on_btn_info_clicked();

protected:
    void showEvent(QShowEvent *event) override;

private:
    QWidget *BuildLoginPage();
    QWidget *BuildImagePage();
    QWidget *BuildDisclaimerPage();
    void HandleOfflineLogin(const qelmsg::FindDBLoginResp &answer);
    // The box shows whether an account is remembered, and a remembered one fills the fields.
    void LoadAccount();
    // Kept when the box is ticked, once the service has taken it.
    void RememberAccount();
    void RefreshList();
    void ShowList();
    void SetStatus(const QString &text);
    void Log(const QString &text);
    void SetLoginInputs(bool enabled);
    void SetImageButtons(bool enabled);
    void UpdateTitle();
    // The answer awaited, and what to do when it does not come.
    void Await(const QString &what);
    void Answered();

    Requests m_requests;
    COfflineUploader m_uploader;
    uploadercfgdlg *m_pShareDlg = nullptr;
    QTimer m_answerTimer;
    QString m_strAwaited;
    QString m_strUser;
    QString m_strPassword;
    bool m_bLoggedIn = false;
    QList<qelmsg::OiiItem> m_images;
    int m_nShareDays = 0;
    int m_nShareCount = 0;
};
