#include "csimimagecheck.h"

#include "imagebuilder.h"

#include <QCryptographicHash>
#include <QFile>

CSimImageCheck::CSimImageCheck(const QString &id) : m_strID(id) {}

CSimImageCheck::Verdict CSimImageCheck::Check(const QByteArray &image) const
{
    Verdict v;
    v.nSize = image.size();
    QByteArray plain = image;
    if (!CImageFile::Open(plain, m_strID, v.trailer, v.strReason))
        return v;
    // The builder never limits a plain image: anyone could reset its count.
    if (!v.trailer.m_bEncrypt && v.trailer.m_nLimit > 0) {
        v.strReason = QStringLiteral("download limit %1 on an unencrypted image").arg(v.trailer.m_nLimit);
        return v;
    }
    v.baProgram = plain.left(CImageFile::ProgramSize(plain.size()));
    v.bAccepted = true;
    return v;
}

QString CSimImageCheck::Line(int index, const QString &name, const Verdict &v)
{
    const QString head = QStringLiteral("image %1 %2: ").arg(index).arg(name);
    if (!v.bAccepted)
        return head + QStringLiteral("rejected: ") + v.strReason;
    const CImageTrailer &t = v.trailer;
    return head
        + QStringLiteral("accepted crc=%1 size=%2 encrypted=%3 limit=%4 version=%5 chip=%6 start=%7")
              .arg(CImageBuilder::CRCText(t.m_nCRC))
              .arg(v.nSize)
              .arg(t.m_bEncrypt ? 1 : 0)
              .arg(t.m_nLimit)
              .arg(t.m_nVersion)
              .arg(CImageBuilder::ChipName(int(t.m_nChip)))
              .arg(CImageBuilder::CRCText(t.m_nStartAddr));
}

QStringList CSimImageCheck::Review(const QMap<int, ImageInfo> &index, const QString &procDir)
{
    QStringList lines;
    m_changed.clear();
    // Numbers no longer in the index are forgotten.
    for (auto it = m_seen.begin(); it != m_seen.end();) {
        if (!index.contains(it.key()))
            it = m_seen.erase(it);
        else
            ++it;
    }
    for (auto it = index.cbegin(); it != index.cend(); ++it) {
        const QString &name = it->m_strName;
        QFile file(procDir + name);
        QByteArray image;
        const bool present = file.open(QIODevice::ReadOnly);
        if (present)
            image = file.readAll();
        const QByteArray hash = present ? QCryptographicHash::hash(image, QCryptographicHash::Md5) : QByteArray();
        auto seen = m_seen.find(it.key());
        if (seen != m_seen.end() && seen->strName == name && seen->baHash == hash)
            continue;
        Seen now;
        now.strName = name;
        now.baHash = hash;
        if (present) {
            now.verdict = Check(image);
            now.verdict.baProgram.clear(); // read again when burned
            lines << Line(it.key(), name, now.verdict);
        } else {
            now.verdict.strReason = QStringLiteral("missing");
            lines << QStringLiteral("image %1 %2: missing").arg(it.key()).arg(name);
        }
        m_seen.insert(it.key(), now);
        m_changed << it.key();
    }
    return lines;
}

const CSimImageCheck::Verdict *CSimImageCheck::Find(int index) const
{
    auto it = m_seen.constFind(index);
    return it == m_seen.constEnd() ? nullptr : &it->verdict;
}
