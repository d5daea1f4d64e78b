#pragma once
// Helpers of the client's tests: answered message boxes, programmer folders
// and image files made the way the suite makes them.
#include "answeredboxes.h"
#include "qeltest.h"

#include <functool.h>
#include <imagebuilder.h>

namespace clienttest {

using qeltest::Boxes;
using qeltest::WhenDialog;

// A programmer folder with only its identity file.
inline bool MakeProger(const QString &root, const QString &id, const QString &model = QStringLiteral("QEL720A"),
                       const QString &ver = QStringLiteral("V2.1.5"))
{
    return FuncTool::WriteFile(root + QStringLiteral("/sys/qelprogrammer.dat"),
                               QStringLiteral("ID=%1\r\nVER=%2\r\nHW=H1.0\r\nMODEL=%3\r\n").arg(id, ver, model).toUtf8());
}

// An image file of a small program, built by the suite's image builder.
inline bool MakeImage(const QString &work, const QString &imagePath, int programBytes = 64)
{
    QByteArray program(programBytes, '\0');
    for (int i = 0; i < programBytes; ++i)
        program[i] = char(i * 7 + 1);
    const QString bin = work + QStringLiteral("/program.bin");
    if (!FuncTool::WriteFile(bin, program))
        return false;
    CImageResult result;
    QString err;
    return CImageBuilder(work).SaveImageFile({{0x08000000, bin}}, CImageParams(), imagePath, result, err);
}

// CRC-16/MODBUS bit by bit, the reference for the table-driven one.
inline quint16 ModbusBitwise(const QByteArray &bytes)
{
    quint16 crc = 0xFFFF;
    for (const char c : bytes) {
        crc ^= quint8(c);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? quint16((crc >> 1) ^ 0xA001) : quint16(crc >> 1);
    }
    return crc;
}

// A chip's answer: function, length, three little-endian values and two CRC bytes.
inline QByteArray ChipAnswer(quint8 function, quint8 length, quint32 ver, quint32 crc1, quint32 crc2)
{
    QByteArray a;
    a.append(char(1)).append(char(function)).append(char(length));
    for (const quint32 v : {ver, crc1, crc2})
        for (int i = 0; i < 4; ++i)
            a.append(char((v >> (8 * i)) & 0xFF));
    a.append(char(0x12)).append(char(0x34));
    return a;
}

} // namespace clienttest
