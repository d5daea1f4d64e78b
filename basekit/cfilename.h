#pragma once
// File names that come from outside (stations, programmers, the cloud service,
// packages).
// Only a plain name is accepted: no folder separator, no drive, not "." or
// "..", no control characters. The file is then looked up inside the folder
// meant for it and nowhere else.
#include "basekit_global.h"

#include <QString>

class BASEKIT_EXPORT CFileName
{
public:
    // Longer names are no file name a file system of ours can hold.
    static constexpr int kMaxLength = 255;

    static bool IsPlain(const QString &name);
    // folder + name when name is plain; false (path cleared) otherwise.
    static bool InFolder(const QString &folder, const QString &name, QString &path);
};
