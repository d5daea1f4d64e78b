#pragma once
// Update front: runs the updater program beside the calling program and hands
// its verdict ("status$message") to FinishUpdate.
#include "basekit_global.h"

#include <QObject>
#include <QPointer>
#include <QProcess>

class QWidget;

class BASEKIT_EXPORT UpdateInter : public QObject
{
    Q_OBJECT
public:
    explicit UpdateInter(QWidget *parent = nullptr);
    ~UpdateInter() override;

    // appName: module name; iniFile: the program's INI file (per-user folder)
    // that may hold the update URL; firmware: checking a programmer firmware.
    void CheckUpdate(const QString &appName, const QString &iniFile, const QString &current, bool firmware);

    // The updater to run; by default "qelupdate" in the calling program's folder.
    void SetUpdaterProgram(const QString &path) { m_strUpdater = path; }
    QString UpdaterProgram() const;

    // Default update server, used when the INI file names no URL.
    static const char DefaultServer[];

    // Called with the updater's verdict; the programs override it.
    virtual void FinishUpdate(bool ok, const QString &message);

private:
    QString GetUrl(const QString &appName, const QString &iniFile) const;
    void getOutput();
    void HandleLine(const QString &line);
    void StopUpdater();

    QPointer<QWidget> m_pParent;
    QProcess *m_pProcess = nullptr; // child of this object
    QByteArray m_pending;
    QString m_strUpdater;
};
