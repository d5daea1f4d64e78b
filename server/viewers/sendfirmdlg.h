#pragma once
// "更新下载器固件程序": sends a firmware file to the programmer as
// "update.bin"; the programmer updates itself when it is restarted. No other
// file can be chosen while one is being sent; the progress is shown.
#include "cprogerway.h"

#include <QDialog>

class QProgressBar;
class selfirmform;

class sendfirmdlg : public QDialog
{
    Q_OBJECT
public:
    explicit sendfirmdlg(const CProgerWay &way, QWidget *parent = nullptr);

    const CProgerWay &Way() const { return m_way; }
    void SetFirmPath(const QString &path);
    selfirmform *Form() const { return m_pForm; }
    bool IsSending() const { return m_bSending; }
    int Progress() const;

    // ---- how a USB or remote send goes on
    void OnUsbProgress(const QString &key, const QString &name, int percent);
    void OnUsbResult(const QString &key, const QString &name, bool ok);
    // The programmer of key was unplugged.
    void OnUsbGone(const QString &key);
    // The station has loaded (or failed to load) a file it was sent.
    void OnRemoteLoaded(const QString &name, bool ok);

public slots:
    void on_btn_down_clicked();

signals:
    void sigLog(const QString &text);

private:
    void SetSending(bool sending);
    void Finish(bool ok);

    CProgerWay m_way;
    selfirmform *m_pForm = nullptr;       // child
    QProgressBar *m_pProgress = nullptr; // child
    bool m_bSending = false;
};
