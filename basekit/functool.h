#pragma once
// Static helpers of the suite: checksums and digests, hex text, text encodings,
// versions, data folders, files and folders, processes and short delays.
#include "basekit_global.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QFileInfoList>
#include <QString>

class QComboBox;

class BASEKIT_EXPORT FuncTool
{
    Q_DECLARE_TR_FUNCTIONS(FuncTool)

public:
    // Folders. Every one ends in "/" and is created when missing.
    // QEL_DATA_DIR when set, else the program folder + "qel-data/" when writable,
    // else the per-user folder + "qel-data/".
    static QString GetQELDir();
    static QString GetAppDataDir();
    static QString GetDataDir(const QString &name);
    // Empty when the module has no name.
    static QString GetDataDir(int module);

    // Text encodings.
    static QString GBK2UTF8(const QByteArray &bytes);
    static QByteArray UTF82GBKStr(const QString &text);
    // The GBK bytes of text carried as Latin-1 characters.
    static QString UTF82GBK(const QString &text);
    static QString UTF82Unicode(const QByteArray &bytes);

    // Whole files. ReadFile is empty when the file cannot be read.
    static QByteArray ReadFile(const QString &path);
    // Creates the folder, makes the file writable for its owner, truncates.
    static bool WriteFile(const QString &path, const QByteArray &data);
    // Text goes out in the local 8-bit code page.
    static bool WriteFile(const QString &path, const QString &text);
    // Skips the copy when dst already matches src (same size; with verify, same MD5).
    static bool CopyFile(const QString &src, const QString &dst, QString &err, bool verify = false);
    // Copies src over dst through a temporary file in dst's folder; on failure dst is untouched.
    static bool ReplaceFile(const QString &src, const QString &dst);
    static bool CopyDir(const QString &src, const QString &dst, QString &err, bool verify = false);
    // Removes the content of a folder, keeping the folder.
    static bool ClearDir(const QString &path);
    // Plain files (no links), sorted by name regardless of case; subfolders' files too when recursive.
    static QFileInfoList GetFileInfoList(const QString &folder, bool recursive = false);
    // Rewrites every "*.png" of folder that loads as an image; returns how many.
    static int RepairPngs(const QString &folder);

    // CRC-32/MPEG-2 over 32-bit words (least significant byte first in memory).
    static quint32 crc32_st(const quint32 *words, quint32 count);
    // The same with the words padded by 0xFFFFFFFF up to total words.
    static quint32 crc32_st_expand(const quint32 *words, quint32 count, quint32 total);
    // Whole words only (up to three trailing bytes do not count); padSize in bytes.
    static quint32 CalcBytesCRCNum(const QByteArray &bytes, quint32 padSize = 0);
    // 0 for an empty or unreadable file.
    static quint32 CalcFileCRCNum(const QString &path, quint32 padSize = 0);
    // Eight upper-case hex digits.
    static QString CalcFileCRC(const QString &path, quint32 padSize = 0);
    // XXH32, seed 0; 0 for an unreadable file.
    static quint32 MakeXxHash32(const QString &path);
    // 32 lower-case hex digits; empty for an unreadable file.
    static QString MakeMd5(const QString &path);

    // Number and text helpers.
    static QString Byte2HexString(const QByteArray &bytes);
    static QString HexStr(quint32 value);
    // Decimal, "0x" hex or "0b" binary; 0 for anything that is not such a number.
    static quint32 String2UInt(const QString &text);
    // A version without its "v", "V" and ":" marks.
    static QString CleanVer(QString version);
    static bool GreaterOrEqualVer(const QString &a, const QString &b);
    // Sign of a - b: parts compared as numbers over the shorter list, then the
    // longer list wins ("v", "V" and ":" ignored; "1.2" and "1.02" compare equal).
    static int CompareVer(const QString &a, const QString &b);
    static void AdjustPath(QString &path);
    static bool SplitPath(const QString &path, QString &folder, QString &name);
    // Creates the folder that would hold filePath.
    static bool CheckFileDir(const QString &filePath);
    static QString CutString(const QString &text, const QString &mark, int count);
    static QString SectionData(const QString &text, const QString &mark, int count);

    // Processes and hosts. A trailing ".exe" of names written on Windows is ignored.
    static bool CheckProcess(const QString &exeName);
    // Kills every process of that name but the caller; false when none could be killed.
    static bool KillProcess(const QString &exeName);
    static bool CheckPing(const QString &host);
    // Cloud server address: the first answering fallback address, else the host name.
    // INI (per-user folder, group "CLOUD"): "HOST", "FALLBACK1", "FALLBACK2";
    // iniFile defaults to the program's "<application name>.ini".
    static QString WideServerIP(const QString &iniFile = QString());
    // Tool chains are found through the Windows registry only.
    static QString GetKeilDir();
    static QString GetIarDir();
    static QString GetSeggerDir();

    // Selects the item whose data equals value / whose text equals text; false when none does.
    static bool SetComboIndex(QComboBox *combo, int value);
    static bool SetComboIndex(QComboBox *combo, const QString &text);

    // Waits in a local event loop.
    static void DoDelay(int ms);
    // Keeps processing events until ms have passed.
    static void DoDelayUI(int ms);
};
