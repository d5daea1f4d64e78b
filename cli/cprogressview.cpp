#include "cprogressview.h"

#include <QByteArray>

#include <cstdio>
#include <unistd.h>

namespace {
constexpr int kBarWidth = 30;

void Write(const QString &text)
{
    const QByteArray bytes = text.toLocal8Bit();
    fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    fflush(stdout);
}
} // namespace

CProgressView::CProgressView(const QStringList &labels, bool quiet) : m_bQuiet(quiet), m_bTerminal(IsTerminal())
{
    for (const QString &label : labels) {
        Row row;
        row.label = label;
        m_nWidth = qMax(m_nWidth, label.size());
        m_rows.append(row);
    }
}

bool CProgressView::IsTerminal()
{
    return isatty(fileno(stdout)) != 0 && qgetenv("TERM") != "dumb";
}

void CProgressView::Set(int row, int percent, const QString &state)
{
    if (row < 0 || row >= m_rows.size())
        return;
    m_rows[row].percent = qBound(0, percent, 100);
    m_rows[row].state = state;
}

QString CProgressView::BarLine(const Row &row) const
{
    const int filled = row.percent * kBarWidth / 100;
    return QStringLiteral("%1 [%2%3] %4% %5")
        .arg(row.label, -m_nWidth)
        .arg(QString(filled, QLatin1Char('#')), QString(kBarWidth - filled, QLatin1Char('.')))
        .arg(row.percent, 3)
        .arg(row.state);
}

void CProgressView::Show(bool force)
{
    if (m_bQuiet || m_rows.isEmpty())
        return;
    if (m_bTerminal) {
        if (!force && m_bDrawn && m_last.isValid() && m_last.elapsed() < 100)
            return;
        m_last.start();
        QString text;
        if (m_bDrawn)
            text += QStringLiteral("\033[%1A").arg(m_rows.size());
        for (const Row &row : qAsConst(m_rows))
            text += QStringLiteral("\r\033[K") + BarLine(row) + QLatin1Char('\n');
        m_bDrawn = true;
        Write(text);
        return;
    }
    QString text;
    for (Row &row : m_rows) {
        const int quarter = row.percent / 25;
        if (quarter == row.shown && row.state == row.shownState)
            continue;
        row.shown = quarter;
        row.shownState = row.state;
        text += QStringLiteral("%1 %2%%3\n")
                    .arg(row.label)
                    .arg(quarter * 25)
                    .arg(row.state.isEmpty() ? QString() : QLatin1Char(' ') + row.state);
    }
    if (!text.isEmpty())
        Write(text);
}
