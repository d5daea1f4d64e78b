#pragma once
// The merged image of the USB console: BIN1 (raw bytes at address 0) and the
// segments of BIN2 and BIN3 (segment text files) laid into one buffer, gaps
// filled with 0xFF, overlapping parts refused.
//
// Segment text: a line with the address and a line with the length (both hex,
// the second line of 4 or 5 characters closes the pair), then hex data lines up
// to an empty line or the end; further segments follow the same way.
#include <QByteArray>
#include <QCoreApplication>
#include <QList>
#include <QString>

struct UsbSegment
{
    quint32 addr = 0;
    quint32 len = 0;
    QByteArray data;
};

class CUsbMergeImage
{
    Q_DECLARE_TR_FUNCTIONS(CUsbMergeImage)

public:
    enum Result {
        MergeOk,
        ReadFailed, // a part could not be read (a log line)
        Overlap,    // parts overlap (a warning box)
        Empty,      // nothing to write (a warning box)
        TooLarge,   // the image could not be downloaded (a warning box)
    };

    static constexpr quint32 kMaxSegment = 0x40000;

    static bool ReadSegmentFile(const QString &path, QList<UsbSegment> &segs, QString &err);
    static bool ParseSegmentText(const QByteArray &text, QList<UsbSegment> &segs, QString &err);

    // Reads the parts whose path is not empty; false with the text to log in err.
    bool Load(const QString &bin1, const QString &bin2, const QString &bin3, QString &err);
    Result Merge(QByteArray &out, QString &err);
    // Address of the merged image's first byte.
    quint32 Base() const { return m_nBase; }

    bool m_bBin1 = false;
    QByteArray m_bin1;
    QList<UsbSegment> m_bin2;
    QList<UsbSegment> m_bin3;
    quint32 m_nBase = 0;
};
