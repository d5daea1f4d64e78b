#pragma once
// "查看下载器信号配置": the programmer's machine-signal settings in a signal
// form, and "下发" to send the form's settings to it. A HID or VCP programmer's
// file is pulled through the USB console first.
#include "cprogerway.h"

#include <QDialog>

#include <functional>

class signalform;

class showsignaldlg : public QDialog
{
    Q_OBJECT
public:
    explicit showsignaldlg(const CProgerWay &way, QWidget *parent = nullptr);

    const CProgerWay &Way() const { return m_way; }
    signalform *Form() const { return m_pForm; }
    // "下发" needs a programmer ticked in the main window; true when none is asked for.
    void SetSelectedCheck(std::function<bool()> selected) { m_selected = std::move(selected); }
    // Disk: reads the file; USB: pulls it first; remote: asks the station.
    void Open();
    // A remote configuration for this programmer: its signal settings.
    void ShowConfig(const QMap<QString, QString> &config);
    // The USB console's pull of path from the programmer of key is over.
    void OnPullDone(const QString &key, const QString &path, bool ok);

public slots:
    void on_btn_update_clicked();

signals:
    void sigLog(const QString &text);

private:
    // The programmer's file as read; the "不存在" message when it is missing.
    void ShowLocal();
    void Missing();

    CProgerWay m_way;
    signalform *m_pForm = nullptr; // child
    std::function<bool()> m_selected;
    bool m_bPulling = false;
};
