#pragma once
// The description file beside a BIN2 text file ("x.txt" -> "x.xml"): the
// display format, the parameter count and bytes, and per parameter its
// description, type, value text and notes.
#include "cbin2params.h"

#include <QString>

// What a description file declares; the parameters it describes are capped at 80.
struct CBin2Counts
{
    int nCount = 0;
    int nBytes = 0;
};

class CBin2Desc
{
public:
    // Larger files are not a description of at most 80 parameters.
    static constexpr qint64 kMaxFileSize = 1024 * 1024;

    static QString PathFor(const QString &bin2Path);

    enum ReadResult { NotOpened, Read, XmlError };
    // Fills params (cleared first) from the file. An XML error keeps what was
    // read before it; err then holds the reader's message.
    static ReadResult ReadFile(const QString &path, CBin2Params &params, CBin2Counts &counts, QString &err);
    static ReadResult ReadText(const QByteArray &xml, CBin2Params &params, CBin2Counts &counts, QString &err);

    static QByteArray Format(const QString &bin2Path, const QString &addr, const CBin2Params &params);
};
