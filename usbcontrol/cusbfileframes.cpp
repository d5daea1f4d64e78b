#include "cusbfileframes.h"

int CUsbFileFrames::Count(qint64 size)
{
    if (size <= 0)
        return 0;
    return int((size + UsbCmd::kFileFrame - 1) / UsbCmd::kFileFrame);
}

int CUsbFileFrames::DataLen(qint64 size, int k)
{
    const int frames = Count(size);
    if (k < 0 || k >= frames)
        return 0;
    if (k + 1 < frames)
        return UsbCmd::kFileFrame;
    const int rest = int(size % UsbCmd::kFileFrame);
    return rest == 0 ? UsbCmd::kFileFrame : rest;
}

int CUsbFileFrames::Percent(int k, int frames)
{
    if (frames <= 0)
        return 100;
    return int((qint64(k) + 1) * 100 / frames);
}

QList<QByteArray> CUsbFileFrames::Cut(const QByteArray &data)
{
    QList<QByteArray> frames;
    const int count = Count(data.size());
    frames.reserve(count);
    for (int k = 0; k < count; ++k)
        frames.append(data.mid(k * UsbCmd::kFileFrame, UsbCmd::kFileFrame));
    return frames;
}
