#pragma once
// The server's release checks, answered with tray tips; a downloaded firmware
// goes to the window as event 2003.
#include "cfreshcheck.h"

class MyFreshCheck : public CFreshCheck
{
    Q_OBJECT
public:
    explicit MyFreshCheck(QObject *parent = nullptr);

    // The maker's download page named in the notice of a new version:
    // [UPDATE] PAGE of the server's INI file in the per-user folder.
    static QString DownloadPage();

protected:
    void OnLatest(const Release &release) override;
    void OnAvailable(const Release &release) override;
    void OnCheckFailed(const QString &module, const QString &reason) override;
    void OnInstalled(const Release &release, bool ok, const QString &message) override;

private:
    static QString Details(const Release &release);
    // Plain text unless rich: the texts carry what the update server sent.
    static void ShowTip(const QString &text, bool rich = false);
};
