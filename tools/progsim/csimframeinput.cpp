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
        emit sigDropped(count, QStringLiteral("unfinished frame"));
    });
}

void CSimFrameInput::Reset()
{
    m_buf.clear();
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
        const CFrameCutter::Result r = CFrameCutter::NextUsb(m_buf, frame, dropped);
        if (r == CFrameCutter::NeedMore)
            break;
        if (r == CFrameCutter::Dropped) {
            // Report padding after a frame is expected, not worth a word.
            if (!(m_bReports && dropped.count('\0') == dropped.size()))
                emit sigDropped(dropped.size(), QStringLiteral("no frame head"));
            continue;
        }
        if (m_bReports)
            m_buf.clear();
        emit sigFrame(frame);
    }
    if (m_buf.isEmpty())
        m_pGap->stop();
    else
        m_pGap->start();
}
