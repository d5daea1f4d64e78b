#include "ccloudupload.h"

#include <csafefile.h>

#include <QFile>
#include <QFileInfo>

CCloudUpload::Result CCloudUpload::Chunk(const QString &uid, const QString &path, qint64 offset)
{
    Result r;
    r.step = Failed;
    const QFileInfo info(path);
    if (!info.isFile()) {
        r.reason = tr("当前文件数据不存在！ %1").arg(path);
        return r;
    }
    // Only a regular file, and not through a link out of its own folder.
    QFile file;
    QString err;
    if (!CSafeFile::OpenRead(file, path, info.absolutePath(), err)) {
        r.reason = tr("当前文件数据读取失败！") + QLatin1Char(' ') + err;
        return r;
    }
    const qint64 size = file.size();
    if (offset < 0 || offset > size) {
        r.reason = tr("上传文件数据，偏移量错误！");
        return r;
    }
    const qint64 count = qMin<qint64>(kChunk, size - offset);
    QByteArray bytes;
    if (count > 0 && (!file.seek(offset) || (bytes = file.read(count)).size() != count)) {
        r.reason = tr("当前文件数据读取失败！");
        return r;
    }
    r.step = Send;
    r.request = {info.fileName(), uid, QString::fromLatin1(bytes.toBase64()), offset, size};
    r.percent = size > 0 ? int(offset * 100 / size) : 0;
    return r;
}

CCloudUpload::Result CCloudUpload::Start(const QString &uid, const QString &path)
{
    Result r = Chunk(uid, path, 0);
    if (r.step == Send)
        m_items.insert(Key(uid, r.request.name), Item{uid, path, 0, 0});
    return r;
}

CCloudUpload::Result CCloudUpload::Accept(const qelmsg::UploadFileResp &answer)
{
    Result r;
    const QString key = Key(answer.uid, answer.name);
    const auto it = m_items.find(key);
    if (it == m_items.end()) {
        r.reason = tr("未上传的文件, 已忽略:") + answer.name;
        return r;
    }
    Item &item = it.value();
    const QString path = item.path;
    if (!answer.ret) {
        r.step = Failed;
        r.reason = tr("下载器：%1， 上传文件数据失败").arg(answer.uid);
    } else {
        // The size may have changed since the last chunk; the file tells.
        const qint64 size = QFileInfo(path).size();
        if (answer.offset == size) {
            r.step = Done;
            r.percent = 100;
        } else {
            item.stalls = answer.offset > item.furthest ? 0 : item.stalls + 1;
            item.furthest = qMax(item.furthest, answer.offset);
            if (item.stalls >= kMaxStalls) {
                r.step = Failed;
                r.reason = tr("上传文件数据，偏移量错误！");
            } else {
                r = Chunk(answer.uid, path, answer.offset);
            }
        }
    }
    if (r.step != Send)
        m_items.erase(it);
    return r;
}

QList<QPair<QString, QString>> CCloudUpload::Abort()
{
    QList<QPair<QString, QString>> ended;
    for (auto it = m_items.cbegin(); it != m_items.cend(); ++it)
        ended.append({it.value().uid, QFileInfo(it.value().path).fileName()});
    m_items.clear();
    return ended;
}
