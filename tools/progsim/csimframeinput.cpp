#include "csimframeinput.h"

#include <cframecutter.h>

#include <QTimer>

CSimFrameInput::CSimFrameInput(bool reports, QObject *parent) : QObject(parent), m_bReports(reports)
{
    m_pGap = new QTimer(this);
    m_pGap->setSingleShot(true);
    m_pGap->setInterval(kGapMs);
    connect(m_pGap, &QTimer::timeout, this, [this] {
        if (m_buf.isEmpty())
            return;
        const int count = m_buf.size();
        m_buf.clear();
        m_suspect.clear();
        emit sigDropped(count, QStringLiteral("unfinished frame"));
    });
}

QByteArray CSimFrameInput::WholeFrameAtHead() const
{
    if (m_buf.size() < CFrameCutter::kUsbMinFrame || quint8(m_buf[0]) != 0x68)
        return QByteArray();
    const int length = quint8(m_buf[1]) | (quint8(m_buf[2]) << 8);
    if (length < CFrameCutter::kUsbMinFrame || length > CFrameCutter::kMaxUsbFrame || length > m_buf.size())
        return QByteArray();
    return m_buf.left(length);
}

void CSimFrameInput::Reset()
{
    m_buf.clear();
    m_suspect.clear();
    m_pGap->stop();
}

void CSimFrameInput::Feed(const QByteArray &bytes)
{
    m_buf.append(bytes);
    QByteArray frame;
    QByteArray dropped;
    while (!m_buf.isEmpty()) {
        // The host's JSON messages share the HID link; they are not control frames.
        if (m_bReports && CFrameCutter::IsHidMessageHead(m_buf)) {
            const int count = m_buf.size();
            m_buf.clear();
            emit sigDropped(count, QStringLiteral("a JSON message, not a control frame"));
            break;
        }
        const QByteArray whole = WholeFrameAtHead();
        const CFrameCutter::Result r = CFrameCutter::NextUsb(m_buf, frame, dropped);
        if (r == CFrameCutter::NeedMore)
            break;
        if (r == CFrameCutter::Dropped) {
            // A whole frame at the head that failed its CRC: noise when a frame
            // starts inside it, else a frame damaged on the line, which the
            // programmer reports to the host.
            if (m_suspect.isEmpty() && !whole.isEmpty()) {
                m_suspect = whole;
                m_nSuspectLeft = whole.size();
            }
            if (!m_suspect.isEmpty())
                m_nSuspectLeft -= dropped.size();
            // No head left inside it: nothing but the damaged frame was there.
            if (!m_suspect.isEmpty() && !m_buf.left(qMax(0, m_nSuspectLeft)).contains(char(0x68))) {
                m_buf.remove(0, qMax(0, m_nSuspectLeft));
                const QByteArray damaged = m_suspect;
                m_suspect.clear();
                emit sigFrame(damaged);
            }
            // Report padding after a frame is expected, not worth a word.
            if (!(m_bReports && dropped.count('\0') == dropped.size()))
                emit sigDropped(dropped.size(), QStringLiteral("no frame head"));
            continue;
        }
        m_suspect.clear();
        if (m_bReports)
            m_buf.clear();
        emit sigFrame(frame);
    }
    if (m_buf.isEmpty())
        m_pGap->stop();
    else
        m_pGap->start();
}
