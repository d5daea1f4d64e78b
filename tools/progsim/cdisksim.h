#pragma once
// A programmer attached as a USB disk: keeps its folder (identity file,
// config/, procs/, cmd/), reloads its parameters when "cmd/param_refresh.cmd"
// appears (and removes it), and logs what it holds whenever that changes.
#include "csimdevice.h"

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
    QString Root() const { return m_strRoot; }

    // Default files of a fresh programmer.
    static QString DefaultParam();
    static QString DefaultSignal();

private:
    void Scan();
    bool WriteIdentity();
    bool RunCommands();
    void LogHoldings();
    QMap<QString, QString> Snapshot() const;

    QString m_strRoot;
    QFileSystemWatcher *m_pWatcher = nullptr; // child
    QTimer *m_pSettle = nullptr;              // child
    QTimer *m_pPoll = nullptr;                // child
    QMap<QString, QString> m_snapshot;
    bool m_bKeepIdentity = false;
    bool m_bStarted = false;
};
