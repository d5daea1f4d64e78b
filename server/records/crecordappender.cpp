#include "crecordappender.h"

CRecordAppender::CRecordAppender(CRecordStore &store, Sender send, QObject *parent)
    : QObject(parent), m_store(store), m_send(std::move(send))
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(kAckMs);
    connect(&m_timer, &QTimer::timeout, this, [this] { emit sigRemoteFailed(m_pending.recordType); });
}

bool CRecordAppender::AppendFactory(const ProgrammerRecord &record)
{
    qelmsg::RecordAppend message;
    message.recordType = qelmsg::RecordAppend::FactoryTest;
    message.factory.id = record.id;
    message.factory.uid = record.uid;
    message.factory.model = record.model;
    message.factory.resultTest = record.result;
    message.factory.failReason = record.failReason;
    if (!Send(message))
        return false;
    m_factory = record;
    return true;
}

bool CRecordAppender::AppendRepair(const qelmsg::RepairRecord &record, const QString &dateTime)
{
    if (!CRecordStore::IsComplete(record))
        return false;
    qelmsg::RecordAppend message;
    message.recordType = qelmsg::RecordAppend::Repair;
    message.repair = record;
    if (!Send(message))
        return false;
    m_strDateTime = dateTime;
    return true;
}

bool CRecordAppender::Send(const qelmsg::RecordAppend &message)
{
    if (IsWaiting())
        return false;
    m_pending = message;
    m_timer.start();
    m_send(message);
    return true;
}

void CRecordAppender::OnAck(const qelmsg::RecordAppendResp &answer)
{
    if (!IsWaiting() || answer.recordType != m_pending.recordType)
        return;
    m_timer.stop();
    const int type = m_pending.recordType;
    if (!answer.ret) {
        emit sigRemoteFailed(type);
        return;
    }
    QString err;
    const bool factory = type == qelmsg::RecordAppend::FactoryTest;
    const bool ok = factory ? m_store.SaveExFactory(m_factory, err)
                            : m_store.SaveRepair(m_pending.repair, m_strDateTime, err);
    if (ok)
        emit sigStored(type, factory ? m_factory.uid : m_pending.repair.uid);
    else
        emit sigLocalFailed(type, err);
}
