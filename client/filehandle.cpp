#include "filehandle.h"

#include "clientdefs.h"

#include <cfilename.h>
#include <cmainhost.h>

#include <QDateTime>
#include <QDir>
#include <QSaveFile>

FileHandle::FileHandle()
{
    connect(&m_timer, &QTimer::timeout, this, &FileHandle::CheckTimeout);
    m_timer.start(kCheckMs);
}

FileHandle *FileHandle::Instance()
{
    static FileHandle *instance = new FileHandle;
    return instance;
}

void FileHandle::SetClock(Clock clock)
{
    m_clock = std::move(clock);
}

qint64 FileHandle::Now() const
{
    return m_clock ? m_clock() : QDateTime::currentSecsSinceEpoch();
}

bool FileHandle::addData(const QString &name, int number, const QByteArray &bytes, bool more, QString &path,
                         QString &err, const QString &folder)
{
    path.clear();
    const QString dir = folder.isEmpty() ? ClientDefs::WorkDir() : folder;
    QString target;
    if (!CFileName::InFolder(dir, name, target)) {
        err = tr("文件名不合法: %1").arg(name);
        return false;
    }
    int row = -1;
    for (int i = 0; i < m_list.size() && row < 0; ++i) {
        if (m_list.at(i).name == name && m_list.at(i).number == number)
            row = i;
    }
    if (row < 0) {
        m_list.append({name, number, QByteArray(), 0, false});
        row = m_list.size() - 1;
    }
    Reception &r = m_list[row];
    r.time = Now();
    if (!r.refused && r.bytes.size() + qint64(bytes.size()) > m_nMaxBytes) {
        r.refused = true;
        r.bytes.clear();
        err = tr("文件过大, 已放弃接收: %1").arg(name);
    } else if (r.refused) {
        err.clear();
    }
    if (r.refused) {
        // Kept until its last chunk, so the rest never starts a file of its own.
        if (!more)
            m_list.removeAt(row);
        return false;
    }
    r.bytes.append(bytes);
    if (more)
        return true;

    // Done with it either way: a later push of the same name starts afresh.
    const QByteArray data = m_list.takeAt(row).bytes;
    QDir().mkpath(dir);
    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size() || !file.commit()) {
        err = tr("文件写入失败: %1").arg(target);
        return false;
    }
    path = target;
    return true;
}

void FileHandle::CheckTimeout()
{
    const qint64 now = Now();
    for (int i = m_list.size() - 1; i >= 0; --i) {
        if (now - m_list.at(i).time > kTimeoutSecs) {
            CMainHost::Instance()->Log(tr("文件接收超时: ") + m_list.at(i).name);
            m_list.removeAt(i);
        }
    }
}
