#include "cofflinefetch.h"

#include <cofflinecode.h>
#include <csafefile.h>
#include <imagecipher.h>

#include <QFileInfo>

namespace {
// Images larger than this are not read into memory (no programmer holds one).
const qint64 kMaxImage = qint64(64) * 1024 * 1024;
}

bool COfflineFetch::Decode(const QString &code, QString &user, QString &fileName, QString &err)
{
    switch (COfflineCode::Parse(code.trimmed(), user, fileName)) {
    case COfflineCode::Ok:
        break;
    case COfflineCode::BadLength:
        err = tr("离线镜像码长度出错");
        return false;
    case COfflineCode::BadContent:
        err = tr("离线镜像解析出错");
        return false;
    }
    if (fileName.isEmpty()) {
        err = tr("离线镜像解析出错");
        return false;
    }
    return true;
}

COfflineFetch::Check COfflineFetch::CheckImage(const QString &path, const QString &progerID)
{
    Check c;
    QByteArray image;
    QString why;
    if (QFileInfo(path).isSymLink() || !CSafeFile::ReadAll(path, QString(), image, why, kMaxImage)) {
        c.err = tr("文件不存在或者不可读");
        return c;
    }
    const bool encrypted = CImageFile::IsEncrypted(image);
    if (encrypted && !CImageCipher::IsValidID(progerID)) {
        c.err = tr("下载器ID格式有误,加密镜像必须绑定下载器!");
        return c;
    }
    c.parsed = CImageFile::Open(image, progerID, c.trailer, why);
    // Decrypted with another programmer's key the checksum does not hold: not ours.
    const QString mismatch = CImageFile::tr("请确认当前下载器是否匹配！此为加密镜像，校验码不匹配！");
    if (!c.parsed && encrypted && why == mismatch) {
        c.err = tr("请确认当前下载器是否匹配！此为加密镜像，校验码不匹配！");
        return c;
    }
    c.fetched = true;
    if (!c.parsed)
        c.err = why;
    return c;
}
