#pragma once
// Programmer record sync: a disk programmer's record file goes to the cloud
// service in chunks, and once the service holds all of it the file is taken
// off the programmer (the programmer starts a new record).
#include <QCoreApplication>
#include <QMap>
#include <QObject>
#include <QString>

#include <functional>

class ProgerInfo;
class remoteServer;

class CRemoteRecordSync : public QObject
{
    Q_OBJECT
public:
    static const char *const RecordFile; // "record_mcu.dat"

    // cloud outlives this object; log takes every line.
    CRemoteRecordSync(remoteServer *cloud, std::function<void(const QString &)> log, QObject *parent = nullptr);

    // Starts the upload of proger's record; false (with the reason logged or
    // returned for a message box) when there is nothing to send.
    bool Start(const ProgerInfo *proger, QString &warning);
    bool IsRunning(const QString &uid) const { return m_paths.contains(uid); }

private:
    void Progress(const QString &uid, const QString &name, int percent);
    void Done(const QString &uid, const QString &name);
    void Failed(const QString &uid, const QString &name);

    remoteServer *m_pCloud;
    std::function<void(const QString &)> m_log;
    QMap<QString, QString> m_paths; // uid -> record file being sent
};
