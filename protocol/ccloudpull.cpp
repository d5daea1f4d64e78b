#include "ccloudpull.h"

#include "cfilename.h"
#include "prototext.h"

#include <QFile>
#include <QFileInfo>

bool CCloudPull::Start(const QString &name, QString &reason)
{
    QString path;
    if (!CFileName::InFolder(m_strFolder, name, path)) {
        reason = ProtoText::tr("文件名不合法, 已忽略:") + name;
        return false;
    }
    const QFileInfo info(path);
    // remove() takes a link itself away, never its target.
    if ((info.exists() || info.isSymLink()) && (info.isDir() || !QFile::remove(path))) {
        reason = ProtoText::tr("无法替换本地文件:") + path;
        return false;
    }
    m_written.insert(name, 0);
    return true;
}

CCloudPull::Result CCloudPull::Fail(const QString &name, const QString &path, const QString &reason)
{
    m_written.remove(name);
    // A link goes itself, never its target.
    QFile::remove(path);
    Result r;
    r.step = Failed;
    r.path = path;
    r.reason = reason;
    return r;
}

CCloudPull::Result CCloudPull::Accept(const qelmsg::PullFileDataResp &answer)
{
    Result r;
    const auto it = m_written.constFind(answer.name);
    if (it == m_written.constEnd()) {
        r.reason = ProtoText::tr("未请求的文件数据, 已忽略:") + answer.name;
        return r;
    }
    const qint64 written = it.value();
    QString path;
    CFileName::InFolder(m_strFolder, answer.name, path);
    if (!answer.ret)
        return Fail(answer.name, path, ProtoText::tr("服务器拒绝"));
    if (answer.offset != written)
        return Fail(answer.name, path,
                    ProtoText::tr("数据偏移量%1不连续, 本地文件%2字节").arg(answer.offset).arg(written));
    const QByteArray::FromBase64Result piece =
        QByteArray::fromBase64Encoding(answer.ba.toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
    if (!piece)
        return Fail(answer.name, path, ProtoText::tr("数据不是有效的Base64"));
    if (written + piece.decoded.size() > kMaxFileSize)
        return Fail(answer.name, path, ProtoText::tr("文件超过%1字节").arg(kMaxFileSize));
    if (answer.left && piece.decoded.isEmpty())
        return Fail(answer.name, path, ProtoText::tr("数据块为空"));

    // Appended only to a regular file of our own, never through a link.
    const QFileInfo info(path);
    QFile file(path);
    if (info.isSymLink() || (info.exists() && !info.isFile()) || !file.open(QIODevice::Append)
        || file.size() != written || file.write(piece.decoded) != piece.decoded.size()) {
        file.close();
        return Fail(answer.name, path, ProtoText::tr("打开文件失败:") + path);
    }
    file.close();

    m_written[answer.name] = written + piece.decoded.size();
    r.path = path;
    if (answer.left) {
        r.step = Next;
        r.nextOffset = written + piece.decoded.size();
    } else {
        r.step = Done;
        m_written.remove(answer.name);
    }
    return r;
}

QStringList CCloudPull::Abort()
{
    const QStringList names = m_written.keys();
    for (const QString &name : names) {
        QString path;
        if (CFileName::InFolder(m_strFolder, name, path))
            QFile::remove(path);
    }
    m_written.clear();
    return names;
}
