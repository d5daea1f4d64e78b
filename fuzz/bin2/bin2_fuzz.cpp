// Any bytes as a BIN2 text file (first byte even) or as its description file
// (first byte odd). Whatever is read must be within the editor's limits; a
// text file that reads is filled into parameters, and what is then exported
// reads back as the same bytes.
#include "cbin2desc.h"
#include "cbin2params.h"
#include "cbin2text.h"

#include <cstdlib>

namespace {
void CheckParams(const CBin2Params &params)
{
    if (params.Count() < 0 || params.Count() > CBin2Params::kMaxParams)
        std::abort();
    for (int i = 0; i < CBin2Params::kMaxParams; ++i) {
        const int type = params.At(i).nType;
        if (type < 0 || type >= CBin2Params::kTypeCount)
            std::abort();
    }
}

void RoundTrip(CBin2Params &params)
{
    QByteArray data;
    CBin2Message msg;
    if (!params.ToData(data, msg))
        return;
    if (data.size() != params.ByteCount())
        std::abort();
    CBin2File again;
    if (!CBin2Text::Parse(CBin2Text::Format(QStringLiteral("19000"), params, data), again, msg)
        || again.data != data || again.nLength != data.size())
        std::abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0 || size > 8192)
        return 0;
    const QByteArray bytes(reinterpret_cast<const char *>(data) + 1, int(size - 1));
    CBin2Params params;
    CBin2Message msg;
    if (data[0] & 1) {
        CBin2Counts counts;
        QString err;
        CBin2Desc::ReadText(bytes, params, counts, err);
        CheckParams(params);
        // The description's own rows take data of their widths.
        params.FillFromData(QByteArray(params.ByteCount(), '\x5A'), msg);
        CheckParams(params);
        RoundTrip(params);
        return 0;
    }
    CBin2File file;
    if (!CBin2Text::Parse(bytes, file, msg))
        return 0;
    if (file.strAddr.size() < 4 || file.strAddr.size() > 5 || file.nLength < 0)
        std::abort();
    if (params.FillAsBytes(file.data, msg)) {
        CheckParams(params);
        RoundTrip(params);
        params.SetHex(true);
        RoundTrip(params);
    }
    return 0;
}
