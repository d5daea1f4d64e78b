#pragma once
// Builds image files from a list of BIN and HEX programs: the merge at their
// addresses, the trailer, optional encryption for one programmer, and the
// history copy. Shared by the image panel, the export, the offline upload and
// the backup re-keying; it holds the rules, the panel only maps widgets to it.
#include "burnhub_global.h"
#include "imagefile.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVector>

class ProgerInfo;

// One entry of the program list: where the program goes and which file holds it.
struct BURNHUB_EXPORT CBinEntry
{
    quint32 m_nAddr = 0;
    QString m_strPath;
};

struct BURNHUB_EXPORT CMergedProgram
{
    QByteArray m_baData; // padded with 0xFF to a multiple of 16 bytes
    quint32 m_nStartAddr = 0;
    quint32 m_nFirstCRC = 0;
    quint32 m_nCRC = 0;
    QStringList m_notes; // what the log should point out, such as a HEX file placed away from its own address
};

// What the panel's fields say about the image to build.
struct BURNHUB_EXPORT CImageParams
{
    quint32 m_nLimit = 0;
    quint32 m_nVersion = 0;
    quint32 m_nChip = 0;
    bool m_bEncrypt = false;
    QString m_strGivenID;  // taken when it has exactly 24 characters (the export)
    QString m_strProgerID; // the selected programmer's ID otherwise
    QDateTime m_dtBuild;   // invalid: now
};

struct BURNHUB_EXPORT CImageResult
{
    CImageTrailer m_trailer;
    QString m_strCRC;         // as the panel shows it
    QString m_strHistoryPath;
    QStringList m_summary;    // lines for the log (the merge's notes first), last "镜像文件处理完成!"
};

class BURNHUB_EXPORT CImageBuilder
{
    Q_DECLARE_TR_FUNCTIONS(CImageBuilder)

public:
    static constexpr int MaxImageIndex = 199;
    static constexpr int MaxNameBytes = 64;
    static constexpr int ChipCount = 9;
    static const char *const MergeFileName; // "merge_data.bin"

    // workDir holds "merge_data.bin" and "history/".
    explicit CImageBuilder(const QString &workDir);
    QString WorkDir() const { return m_strWorkDir; }
    QString MergePath() const;
    QString HistoryDir() const;

    // Places every program at its offset from the first entry's address, 0xFF in
    // the gaps and up to a multiple of 16, and writes "merge_data.bin".
    bool MergeBinInfos(const QVector<CBinEntry> &entries, CMergedProgram &merged, QString &err) const;

    // Builds imagePath (its file name is the image name), then the history copy and
    // the "images.log" line. A failed build leaves no image and no history entry.
    bool SaveImageFile(const QVector<CBinEntry> &entries, const CImageParams &params,
                       const QString &imagePath, CImageResult &result, QString &err) const;

    // The 24-digit ID an encrypted image is bound to; empty when there is none.
    static QString ResolveKeyID(const QString &givenID, const QString &progerID);

    // Largest image number a programmer model takes, by encryption.
    static int MaxIndexFor(const QString &model, bool encrypt);
    static bool CheckImageIndex(const ProgerInfo *proger, int index, bool encrypt, QString &reason);
    static bool CheckIndexRange(int index, QString &err);
    // Name checks of a download; appends ".img" when the name does not end in it.
    // Lengths count the bytes of the name as the image index stores it (GBK).
    static bool CheckImageName(QString &name, QString &err);

    static QString ChipName(int chip); // "QM-01" .. "QM-09"
    static QString CRCText(quint32 crc);

private:
    QString m_strWorkDir;
};
