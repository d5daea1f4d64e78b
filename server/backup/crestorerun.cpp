#include "crestorerun.h"

bool CRestoreRun::Prepare(const CImagePackage &package, const QString &targetID, quint32 now, QString &err)
{
    Cancel();
    m_bFailed = false;
    if (!package.CheckRestorable(err))
        return false;
    QList<File> files;
    files.append({QLatin1String(CImagePackage::IndexName), package.IndexFileData(), -1});
    for (const CPackageEntry &entry : package.FileEntries()) {
        File file{entry.m_strName, entry.m_baData, int(entry.m_nIndex)};
        if (entry.m_bEncrypt) {
            QString why;
            if (!CImagePackage::UpdateEnc(file.baData, package.m_strUID, targetID, now, why)) {
                err = tr("镜像%1重新加密失败: %2").arg(entry.m_strName, why);
                return false;
            }
        }
        files.append(file);
    }
    m_files = files;
    return true;
}

bool CRestoreRun::CanSend() const
{
    return !m_bFailed && !m_bAwaitIndex && m_nSent == m_nDone && m_nSent < m_files.size();
}

CRestoreRun::File CRestoreRun::TakeNext()
{
    if (!CanSend())
        return {};
    return m_files.at(m_nSent++);
}

CRestoreRun::Outcome CRestoreRun::Finished(const QString &name, bool ok)
{
    if (m_bFailed || m_files.isEmpty())
        return Ignored;
    if (m_bAwaitIndex && name == QLatin1String(CImagePackage::IndexName)) {
        m_bAwaitIndex = false;
        if (!ok) {
            m_bFailed = true;
            return Failed;
        }
        return Ignored;
    }
    // Only the file in flight counts.
    if (m_nSent != m_nDone + 1 || m_files.at(m_nDone).strName != name)
        return Ignored;
    if (!ok) {
        m_bFailed = true;
        return Failed;
    }
    // The console follows an ".img" with the index, nothing else.
    const bool image = m_files.at(m_nDone).nIndex >= 0 && name.endsWith(QLatin1String(".img"));
    ++m_nDone;
    m_bAwaitIndex = image && m_bIndexFollows;
    return Advanced;
}

void CRestoreRun::Cancel()
{
    m_files.clear();
    m_nSent = 0;
    m_nDone = 0;
    m_bAwaitIndex = false;
}
