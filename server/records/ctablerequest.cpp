#include "ctablerequest.h"

#include <QFile>
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
    const QFileInfo info(path);
    QFile file(path);
    if (!info.isFile() || info.isSymLink() || info.size() > kMaxTextBytes || !file.open(QIODevice::ReadOnly)) {
        emit sigLoadFailed(table, QStringLiteral("cannot read %1").arg(path));
        return;
    }
    QString err;
    if (m_store.LoadSqlText(QString::fromUtf8(file.readAll()), err))
        emit sigLoaded(table);
    else
        emit sigLoadFailed(table, err);
}
