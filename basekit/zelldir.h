#pragma once
#include "basekit_global.h"

#include <QString>

class BASEKIT_EXPORT ZellDir
{
public:
    // Creates path with all its parents; true when the folder exists afterwards.
    static bool MKDir(const QString &path);
};
