#pragma once
// Asks the cloud service for a table and loads the SQL text it sends into the
// local record database. The wait is a timer: a table that does not arrive in
// time is reported once and a late file is not loaded.
#include "crecordstore.h"

#include <QObject>
#include <QTimer>

#include <functional>

class CTableRequest : public QObject
{
    Q_OBJECT
public:
    static constexpr int kTimeoutMs = 5000;
    static constexpr qint64 kMaxTextBytes = 64 * 1024 * 1024;
    // Asks for a file by name ("ExFactory.sql"); false when it could not be asked.
    using Puller = std::function<bool(const QString &name)>;

    CTableRequest(CRecordStore &store, Puller pull, QObject *parent = nullptr);

    bool Request(const QString &table);
    bool IsWaiting() const { return m_timer.isActive(); }
    // A table file has arrived at path.
    void OnFile(const QString &table, const QString &path);

signals:
    void sigLoaded(const QString &table);
    void sigLoadFailed(const QString &table, const QString &error);
    void sigTimedOut(const QString &table);

private:
    CRecordStore &m_store;
    Puller m_pull;
    QTimer m_timer;
    QString m_strTable;
};
