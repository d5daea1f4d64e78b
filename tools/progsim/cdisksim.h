#pragma once
// A programmer attached as a USB disk: keeps its folder (identity file,
// config/, procs/, cmd/), reloads its parameters when "cmd/param_refresh.cmd"
// appears (and removes it), logs what it holds whenever that changes, and
// checks every image the index names when it is new or changed.
#include "csimdevice.h"
#include "csimfolder.h"
#include "csimimagecheck.h"

#include <QMap>

class QFileSystemWatcher;
class QTimer;

class CDiskSim : public CSimDevice
{
    Q_OBJECT
public:
    CDiskSim(const QString &folder, const SimIdentity &identity, QObject *parent = nullptr);

    bool Start(QString &err) override;
    // Removes the identity file, as if the disk was unplugged, unless kept.
    void Stop() override;
    QString Mode() const override { return QStringLiteral("disk"); }

    void SetKeepIdentity(bool keep) { m_bKeepIdentity = keep; }
    QString Root() const { return m_folder.Root(); }

private:
    void Scan();
    bool RunCommands();
    void LogHoldings();
    QMap<QString, QString> Snapshot() const;

    CSimFolder m_folder;
    CSimImageCheck m_check;
    QFileSystemWatcher *m_pWatcher = nullptr; // child
    QTimer *m_pSettle = nullptr;              // child
    QTimer *m_pPoll = nullptr;                // child
    QMap<QString, QString> m_snapshot;
    bool m_bKeepIdentity = false;
    bool m_bStarted = false;
};
