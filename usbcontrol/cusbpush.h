#pragma once
// Host side of a file download: the programmer was told size, frame count and
// CRC-32, and now asks for the frames one by one.
#include <QByteArray>
#include <QList>
#include <QString>

class CUsbPush
{
public:
    enum FrameAnswer { FrameOk, FrameConflict, FrameMissing };

    // False when the file cannot be announced: more than 65535 frames or a
    // name longer than 255 bytes.
    bool Prepare(const QString &name, const QByteArray &data);
    void Clear();
    bool IsActive() const { return !m_strName.isEmpty(); }

    // FT_ATTR_CMD announcing the prepared file.
    QByteArray AttrFrame() const;
    // The FT_REQ_CMD answer for frame k; nothing to send on a conflict.
    FrameAnswer Answer(int k, QByteArray &frame) const;
    int Percent(int k) const;
    // The whole file as announced.
    QByteArray Data() const;

    QString m_strName;
    quint32 m_nSize = 0;
    quint32 m_nCrc = 0;
    quint16 m_nFrames = 0;
    QList<QByteArray> m_frames;
};
