#pragma once
// Intel HEX to binary and back. All functions are static and keep no state.
#include "basekit_global.h"
#include "convbindata.h"

#include <QCoreApplication>
#include <QString>

class BASEKIT_EXPORT HexTool
{
    Q_DECLARE_TR_FUNCTIONS(HexTool)

public:
    // Result codes of the HEX reader; each has its message (ResultMessage).
    enum Result {
        Ok = 0,
        LineTooLong = 1,   // more than MaxLine characters
        LineTooShort = 2,  // fewer than 11 characters
        NoStartMark = 3,   // no leading ":"
        BadType = 4,       // record type above 5
        BadLength = 5,     // odd digit count, or byte count not matching the record
        BadChecksum = 6,
        NoHexFile = 7,
        BadBinPath = 8,
        WriteFailed = 9,
        NoEndRecord = 10,
        BadDigit = 11,     // a character that is not a hex digit
        SpanTooLarge = 12, // blocks spread over more than MaxSpan bytes
    };

    static constexpr int MaxLine = 521;
    // Widest layout we build in memory or on disk; no MCU flash comes near it, and
    // a stray address record must not make us allocate gigabytes.
    static constexpr quint32 MaxSpan = 256u << 20;

    // Reads the file into blocks appended to list; err gets the message of the result.
    static bool FileConvHex2BinData(const QString &hexPath, ConvBinList &list, QString &err);
    // The lowest address the file holds data for (where its array starts).
    static bool LowestAddress(const QString &hexPath, quint32 &addr, QString &err);
    static quint32 Lowest(const ConvBinList &list); // 0 for an empty list
    // The blocks in one array, 0xFF in the gaps, starting at the lowest block address.
    static bool FileConvHex2BinArray(const QString &hexPath, QByteArray &bytes, QString &err);
    // The blocks in one binary file, and each block alone under binPath + ".parts/"
    // when there are several.
    static bool FileConvHex2Bin(const QString &hexPath, const QString &binPath, QString &err);
    // A binary file written as Intel HEX from address 0.
    static bool FileConvBin2Hex(const QString &binPath, const QString &hexPath, QString &err);

    // The reader itself: one pass over the text, blocks appended to list. On an
    // error, line (when given) gets the 1-based line where reading stopped.
    static int ParseHex(const char *text, qint64 size, ConvBinList &list, int *line = nullptr);
    static int ReadHexFile(const QString &hexPath, ConvBinList &list, int *line = nullptr);
    // Lays the blocks out from the lowest start address; later blocks win where they
    // overlap. Ok, or SpanTooLarge. An empty list gives an empty array. A single
    // block hands its bytes over instead of copying them (its data is then empty).
    static int LayOut(ConvBinList &list, QByteArray &bytes);
    static QString ResultMessage(int code);

private:
    // FileConvHex2BinData, and a file without data refused as empty.
    static bool ReadBlocks(const QString &hexPath, ConvBinList &list, QString &err);
};
