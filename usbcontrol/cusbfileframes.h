#pragma once
// How a file travels in USB control frames: 1024-byte frames, the last holding
// the rest, numbered from 0 in a 16-bit field.
#include "usbcmd.h"

#include <QByteArray>
#include <QList>

class CUsbFileFrames
{
public:
    // The frame count is a u16, so this is the largest file that can travel.
    static constexpr qint64 kMaxFileSize = qint64(0xFFFF) * UsbCmd::kFileFrame;

    // Size / 1024 rounded up; 0 for an empty file.
    static int Count(qint64 size);
    // Data bytes of frame k: 1024, the last frame size mod 1024 (1024 when the
    // size is a multiple of 1024); 0 for a frame the file does not have.
    static int DataLen(qint64 size, int k);
    // Progress after frame k, (k + 1) * 100 / frames as an integer.
    static int Percent(int k, int frames);
    static QList<QByteArray> Cut(const QByteArray &data);
};
