// Any bytes as the store's "record.ini": either refused with no entries, or
// entries with plain names only; as plain JSON sealed first when the first byte is odd,
// so the fuzzer reaches the JSON reader too.
#include "cfilename.h"
#include "cofflinecode.h"
#include "cofflinerecord.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    QByteArray bytes(reinterpret_cast<const char *>(data) + 1, int(size - 1));
    if (data[0] & 1)
        bytes = COfflineCode::Seal(bytes);
    QList<COfflineRecord::Entry> entries;
    const bool ok = COfflineRecord::Parse(bytes, entries);
    if (!ok && !entries.isEmpty())
        std::abort();
    QList<qelmsg::OiiItem> images;
    for (const COfflineRecord::Entry &e : entries) {
        if (!CFileName::IsPlain(e.name))
            std::abort();
        images.append(qelmsg::OiiItem{0, e.name, 0, QString(), 0, 0, 0, 0, 0});
    }
    COfflineRecord::Apply(entries, images);
    for (const qelmsg::OiiItem &image : images)
        COfflineRecord::InfoText(image);
    return 0;
}
