#include "ctablerequest.h"

#include "csafefile.h"

#include <QFileInfo>

CTableRequest::CTableRequest(CRecordStore &store, Puller pull, QObject *parent)
    : QObject(parent), m_store(store), m_pull(std::move(pull))
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(kTimeoutMs);
    connect(&m_timer, &QTimer::timeout, this, [this] { emit sigTimedOut(m_strTable); });
}

bool CTableRequest::Request(const QString &table)
{
    if (table != CRecordStore::kExFactory && table != CRecordStore::kRepair)
        return false;
    m_strTable = table;
    m_timer.start();
    if (m_pull(table + QStringLiteral(".sql")))
        return true;
    m_timer.stop();
    return false;
}

void CTableRequest::OnFile(const QString &table, const QString &path)
{
    if (!IsWaiting() || table != m_strTable)
        return;
    m_timer.stop();
    // The pulled file stays in its folder: no link out of it, no FIFO, bounded.
    QByteArray text;
    QString err;
    if (!CSafeFile::ReadAll(path, QFileInfo(path).absolutePath(), text, err, kMaxTextBytes)) {
        emit sigLoadFailed(table, QStringLiteral("cannot read %1").arg(path));
        return;
    }
    if (m_store.LoadSqlText(QString::fromUtf8(text), err))
        emit sigLoaded(table);
    else
        emit sigLoadFailed(table, err);
}
