#pragma once
// The one reader of JSON that comes from a peer (client or server station, a
// programmer in HID mode, the cloud service). Qt 5's reader keeps the values
// of repeated object keys alive for good, so a peer could grow our memory at
// will; this one parses with nlohmann json, where a repeated key replaces the
// value before it (the last one counts, as with Qt) and nothing is kept.
#include <QByteArray>
#include <QJsonArray>
#include <QJsonObject>

class CPeerJson
{
public:
    // Deeper nesting than any message of ours is refused.
    static constexpr int kMaxDepth = 64;

    // True when text is one JSON object; object then holds it. Integers beyond
    // 2^53 come out as the nearest double, as every reader of ours takes them.
    static bool ParseObject(const QByteArray &text, QJsonObject &object);
    // The same for text that is one JSON array.
    static bool ParseArray(const QByteArray &text, QJsonArray &array);
};
