#pragma once
// "查看下载器配置": the programmer's parameters in a read-only configuration
// form; a remote programmer's arrive with its station's answer.
#include "cprogerway.h"

#include <QDialog>

class configform;

class showconfigdlg : public QDialog
{
    Q_OBJECT
public:
    explicit showconfigdlg(const CProgerWay &way, QWidget *parent = nullptr);

    const CProgerWay &Way() const { return m_way; }
    configform *Form() const { return m_pForm; }
    // Reads the parameters (disk, USB) or asks the station for them (remote).
    void Open();
    // A configuration for this programmer: shown.
    void ShowConfig(const QMap<QString, QString> &config);

signals:
    void sigLog(const QString &text);

private:
    CProgerWay m_way;
    configform *m_pForm = nullptr; // child
};
