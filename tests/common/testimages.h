#pragma once
// A programmer image as the image builder makes it: a program of blocks*16
// bytes from seed, its trailer, optionally encrypted for the programmer id.
#include "functool.h"
#include "imagefile.h"

#include <QByteArray>
#include <QString>

namespace qeltest {

inline QByteArray MakeProgramImage(int blocks, char seed, bool encrypt, const QString &id)
{
    QByteArray program;
    for (int i = 0; i < blocks * 16; ++i)
        program.append(char(seed + i * 3));
    CImageTrailer trailer;
    trailer.m_nTime = 1700000000;
    trailer.m_nCRC = FuncTool::CalcBytesCRCNum(program);
    trailer.m_nFirstCRC = trailer.m_nCRC;
    trailer.m_bEncrypt = encrypt;
    CImageFile::Compose(program, trailer, id);
    return program;
}

} // namespace qeltest
