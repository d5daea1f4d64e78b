#pragma once
// The BIN2 text file: the flash address in hex (4 or 5 characters), the data
// length in hex (zero-padded to 5), then the data bytes as "XX " groups with
// a line break after every 16th parameter.
#include "cbin2params.h"

#include <QByteArray>
#include <QString>

struct CBin2File
{
    QString strAddr;   // as written, 4 or 5 hex digits
    quint32 nAddr = 0;
    int nLength = 0;   // the declared length
    QByteArray data;
};

class CBin2Text
{
    Q_DECLARE_TR_FUNCTIONS(CBin2Text)

public:
    // Larger files are not BIN2 text (80 u32 values take under 1 KB).
    static constexpr qint64 kMaxFileSize = 64 * 1024;

    // The two head lines and the data up to the first empty line. False with
    // the format message when a head line is not 4 or 5 hex digits or the
    // data is not whole hex bytes; the length is not compared here.
    static bool Parse(const QByteArray &content, CBin2File &file, CBin2Message &msg);
    // The file for these parameters: the address padded to 4 digits, the
    // byte count as the length, every parameter at its width.
    static QByteArray Format(const QString &addr, const CBin2Params &params, const QByteArray &data);
    // The address text as the first line carries it; empty when it is not
    // 1 to 5 hex digits.
    static QString AddrLine(const QString &addr);

    static CBin2Message FormatError();
    static CBin2Message LengthError();
};
