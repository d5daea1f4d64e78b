#pragma once
// What a programmer or a peer may tell about a programmer before it is
// believed: short texts. The model's ID is 24 hex digits, but a station's
// programmer may carry a longer one (its NSQ UID is that ID, and NSQ accepts
// UIDs beyond 24 characters), so IDs get the same room as the other texts.
#include <QString>

namespace ProgerLimits {

constexpr int kMaxIDLength = 64;
constexpr int kMaxTextLength = 64;
constexpr int kMaxPathLength = 1024;
// An identity file is a few short lines.
constexpr qint64 kMaxSysFileSize = 4096;

// True when id, model, version and path keep those limits.
inline bool IsBelievable(const QString &id, const QString &model, const QString &ver, const QString &path)
{
    return id.size() <= kMaxIDLength && model.size() <= kMaxTextLength && ver.size() <= kMaxTextLength
           && path.size() <= kMaxPathLength;
}

} // namespace ProgerLimits
