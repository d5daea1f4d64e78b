#pragma once
// The checks a programmer makes on every image it is given, before it would
// burn one: length and encryption mark, decryption with its own ID, trailer
// checksum, CRC of the merged program, and a download limit only where it can
// be enforced (encrypted images). Verdicts are logged as one line each:
//   image <n> <name>: accepted crc=0x... size=... encrypted=1 limit=5 ...
//   image <n> <name>: rejected: <reason>
#include "imagefile.h"
#include "progerinfo.h"

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>

class CSimImageCheck
{
public:
    struct Verdict
    {
        bool bAccepted = false;
        QString strReason;     // why it was rejected
        CImageTrailer trailer; // fields of an accepted image
        int nSize = 0;         // bytes of the image file
        QByteArray baProgram;  // the plain merged program of an accepted image
    };

    explicit CSimImageCheck(const QString &id);

    Verdict Check(const QByteArray &image) const;
    static QString Line(int index, const QString &name, const Verdict &verdict);

    // Looks at the images the index names (files in procDir) and checks those
    // that are new or changed since the last review. Returns one line for each
    // image checked and for each indexed image whose file is missing.
    QStringList Review(const QMap<int, ImageInfo> &index, const QString &procDir);
    // Numbers whose image changed in the last review.
    QList<int> Changed() const { return m_changed; }
    // Last verdict of an indexed image; null when none was checked.
    const Verdict *Find(int index) const;

private:
    struct Seen
    {
        QString strName;
        QByteArray baHash; // empty: the file was missing
        Verdict verdict;
    };

    QString m_strID;
    QMap<int, Seen> m_seen;
    QList<int> m_changed;
};
