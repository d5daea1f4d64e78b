#pragma once
// Disks as they are mounted and unmounted, and programmer folders that are not
// mounts (simulator, tests) as their identity file appears and disappears.
// Every root is reported with a trailing "/".
#include <QObject>
#include <QSet>
#include <QStringList>

class QSocketNotifier;
class QTimer;

class CMountWatch : public QObject
{
    Q_OBJECT
public:
    explicit CMountWatch(QObject *parent = nullptr);
    ~CMountWatch() override;

    // Folders searched for "sys/qelprogrammer.dat"; what is present now is taken
    // as known, so only later changes are reported.
    void SetSearchDirs(const QStringList &dirs);
    QStringList SearchDirs() const { return m_searchDirs; }

    // Also rescan mounts on the slow timer (no mount notification available).
    void SetPollMounts(bool poll) { m_bPollMounts = poll; }
    bool HasMountNotifier() const { return m_pNotifier != nullptr; }

    static QSet<QString> MountedRoots();
    static QString RootOf(const QString &path);

public slots:
    void RescanMounts();
    void RescanSearchDirs();

signals:
    void sigCome(const QString &root);
    void sigRemove(const QString &root);

private:
    void OnPoll();
    QSet<QString> PresentProgDirs() const;

    int m_fdMountInfo = -1;
    QSocketNotifier *m_pNotifier = nullptr;
    QTimer *m_pDebounce = nullptr;
    QTimer *m_pPoll = nullptr;
    bool m_bPollMounts = false;
    QSet<QString> m_mounts;
    QStringList m_searchDirs;
    QSet<QString> m_progDirs;
};
