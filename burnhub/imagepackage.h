#pragma once
// The image package (".pimg"): every image of one programmer in one XML file,
// written by a backup and read back for a restore. No widgets here, so the
// server's backup dialog and the command line share it.
//
//   <backup-programmer-xml>
//     <programmer uid="..." image-count="N"/>
//     <image>
//       <镜像1 index=".." name=".." lastModi=".." size=".." encrypt="true|false" data="0a 1b .."/>
//       ...
//     </image>
//   </backup-programmer-xml>
#include "burnhub_global.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDateTime>
#include <QList>
#include <QMap>
#include <QString>

class BurnHub;
class QIODevice;
struct ImageInfo;

struct BURNHUB_EXPORT CPackageEntry
{
    quint32 m_nIndex = 0;
    QString m_strName;
    QString m_strLastModi;
    quint32 m_nSize = 0;
    bool m_bHasFile = false; // false: the file was missing at backup (empty size, no data)
    bool m_bEncrypt = false;
    QByteArray m_baData;
    bool m_bDataOk = true;   // the data text was whole hexadecimal
};

class BURNHUB_EXPORT CImagePackage
{
    Q_DECLARE_TR_FUNCTIONS(CImagePackage)

public:
    static const char *const Suffix;      // ".pimg"
    static const char *const IndexName;   // "image.dat"
    // A package is a programmer's images in hexadecimal text: far below this.
    static constexpr qint64 MaxFileSize = qint64(512) << 20;

    QString m_strUID;
    int m_nImageCount = 0;
    QList<CPackageEntry> m_entries;
    QString m_strFileName; // the package last read or written

    void Clear();

    // ---- writing
    // Reads the image index and every image of the programmer in use. A file
    // that exists but cannot be read fails the whole read.
    bool ReadFromProger(BurnHub *hub, const QString &uid, QString &err);
    // The same from an index already read and the folder of its images.
    bool ReadFromFolder(const QMap<int, ImageInfo> &index, const QString &procDir, const QString &uid,
                        QString &err);
    bool Write(QIODevice &device) const;
    QByteArray ToXml() const;
    // Through a temporary file: a failed write leaves no package (and keeps an older one).
    bool SaveFile(const QString &path, QString &err) const;

    // "<uid>-yyyy-MM-dd-hh-mm.pimg"
    static QString PackageFileName(const QString &uid, const QDateTime &local);

    // ---- reading
    // Reads tokens until the end of the text or the first XML error, keeping what
    // was read (a missing end tag of the root reads the same). False only when
    // the file cannot be opened or is too large.
    bool ParseXMLFile(const QString &path, QString &err);
    void ParseXML(QIODevice &device);
    void ParseXML(const QByteArray &xml);
    // Whether the text ended early or broke off: set by ParseXML.
    bool BrokeOff() const { return m_bBrokeOff; }

    // Whether the package may be written to a programmer: every entry named by a
    // plain file name and a valid image number, names and numbers unique, data
    // whole hexadecimal of the declared size, and the text not cut off before
    // all the images it declares. err tells the first fault.
    bool CheckRestorable(QString &err) const;

    // The index file of the package: "%1=%2\n" per image in ascending number, GBK.
    QByteArray IndexFileData() const;
    // Entries that carry an image file, in ascending image number.
    QList<CPackageEntry> FileEntries() const;

    // Re-keys an image encrypted for the programmer fromID for the programmer toID,
    // with a new build time (seconds since 1970) and its check value recomputed.
    // An empty toID leaves the image decrypted. The image is unchanged on false.
    static bool UpdateEnc(QByteArray &image, const QString &fromID, const QString &toID, quint32 time,
                          QString &err);

    // Lower-case hexadecimal, bytes separated by one blank.
    static QString HexData(const QByteArray &data);
    // Hexadecimal with blanks ignored; false on any other character or an odd digit count.
    static bool DecodeHex(const QString &text, QByteArray &data);

private:
    bool m_bBrokeOff = false;
};
