#pragma once
// Cuts the host's control frames out of what a transport delivers. A serial
// line is a byte stream; a HID device gets each frame as reports padded with
// zeros, so in report mode the rest of a read after a frame is padding. Bytes
// that cannot start a frame are dropped up to the next head, and a frame left
// unfinished for kGapMs is dropped, as firmware resets its receiver after a
// pause. A frame whose CRC fails gives up its head byte only; when no frame
// is found inside it, it goes on to the programmer, which reports the error.
#include <QByteArray>
#include <QObject>

class QTimer;

class CSimFrameInput : public QObject
{
    Q_OBJECT
public:
    static constexpr int kGapMs = 500;

    explicit CSimFrameInput(bool reports, QObject *parent = nullptr);

    void Feed(const QByteArray &bytes);
    void Reset();

signals:
    void sigFrame(const QByteArray &frame);
    void sigDropped(int count, const QString &why);

private:
    // The frame the head of the buffer announces, when all of it is in.
    QByteArray WholeFrameAtHead() const;

    QByteArray m_buf;
    QByteArray m_suspect; // a whole frame that failed its CRC
    int m_nSuspectLeft = 0; // its bytes not yet dropped
    QTimer *m_pGap = nullptr; // child
    bool m_bReports;
};
