#pragma once
// What the BIN2 editor does without its widgets: loading a BIN2 text file
// with its description, exporting both, and taking the parameter bytes read
// out of the target MCU's flash.
#include "cbin2params.h"

#include <QString>

class CBin2Editor
{
    Q_DECLARE_TR_FUNCTIONS(CBin2Editor)

public:
    CBin2Params &Params() { return m_params; }
    const CBin2Params &Params() const { return m_params; }
    // The flash address field, hex without "0x".
    QString m_strAddr = QString::fromLatin1(CBin2Params::kDefaultAddr);

    // Description first (missing: the rows stay empty), then the text file,
    // then the rows from its data. False with the message on a refusal.
    bool Load(const QString &path, CBin2Message &msg);
    // Text file (path must end in ".txt") and description; msg says how it
    // went either way.
    bool Export(const QString &path, CBin2Message &msg) const;

    // The read from the target: address and byte count of the parameters.
    bool ReadRequest(int &addr, int &len) const;
    // "read_flash_bin" as pulled from the programmer: its bytes become the
    // data of the parameters in use. msg says how it went either way.
    bool TakeFlashData(const QString &localPath, CBin2Message &msg);

    static constexpr int kMaxFlashBytes = CBin2Params::kMaxParams;

private:
    CBin2Params m_params;
};
