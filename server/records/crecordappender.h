#pragma once
// Stores a new or changed record: it goes to the cloud service first, and the
// local table changes only once the service has acknowledged it. The wait is a
// timer, so the window keeps running; an acknowledgement that does not come in
// time, or says no, leaves the local table as it was.
#include "crecordstore.h"

#include <QObject>
#include <QTimer>

#include <functional>

class CRecordAppender : public QObject
{
    Q_OBJECT
public:
    // Ten checks 100 ms apart, one seen at the tenth counting as missing.
    static constexpr int kAckMs = 1000;
    using Sender = std::function<void(const qelmsg::RecordAppend &)>;

    CRecordAppender(CRecordStore &store, Sender send, QObject *parent = nullptr);

    // False (nothing sent) while another record waits, or for a repair record
    // without its required fields.
    bool AppendFactory(const ProgrammerRecord &record);
    bool AppendRepair(const qelmsg::RepairRecord &record, const QString &dateTime);
    bool IsWaiting() const { return m_timer.isActive(); }

    void OnAck(const qelmsg::RecordAppendResp &answer);

signals:
    void sigStored(int recordType, const QString &uid);
    void sigRemoteFailed(int recordType);
    void sigLocalFailed(int recordType, const QString &error);

private:
    bool Send(const qelmsg::RecordAppend &message);

    CRecordStore &m_store;
    Sender m_send;
    QTimer m_timer;
    qelmsg::RecordAppend m_pending;
    ProgrammerRecord m_factory;
    QString m_strDateTime;
};
