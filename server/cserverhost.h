#pragma once
// The server as the links and the received messages see it: log lines,
// remote programmers and what their stations answer go to the main window.
// Calls may come from link threads; everything reaches the window on its own
// thread.
#include "cmainhost.h"
#include "myproger.h"

#include <QPointer>

class MainWindow;

class CServerHost : public CMainHost
{
public:
    explicit CServerHost(MainWindow *window);
    ~CServerHost() override;

    static MyProger ProgerOf(const CRemoteKey &key);

    void Log(const QString &text) override;
    // Control frames of HID and VCP programmers go to the USB console.
    void OnUsbFrame(const QByteArray &frame, const QString &key) override;
    void AddRemoteProger(const CRemoteKey &key) override;
    void RemoveRemoteProger(const CRemoteKey &key) override;
    void ShowServiceState(CRemoteKey::Kind kind, bool on, const QString &text) override;
    void UpdateRemoteProger(const CRemoteKey &key, const qelmsg::ProgResponse &info) override;
    void ShowRemoteImages(const CRemoteKey &key, const QList<ImageInfo> &images) override;
    void ShowRemoteConfig(const CRemoteKey &key, const QMap<QString, QString> &config) override;

private:
    // Runs f on the window's thread (at once when already there).
    template <typename F> void OnWindow(F f);

    QPointer<MainWindow> m_pWindow;
};
