#pragma once
// Progress of one transfer per programmer: a bar each, redrawn in place on a
// terminal; elsewhere (a pipe, a log file) a plain line at each quarter.
#include <QElapsedTimer>
#include <QString>
#include <QStringList>
#include <QVector>

class CProgressView
{
public:
    // quiet: nothing is shown (JSON output).
    CProgressView(const QStringList &labels, bool quiet);

    void Set(int row, int percent, const QString &state = QString());
    // Draws what changed; on a terminal at most every 100 ms unless force.
    void Show(bool force = false);

    static bool IsTerminal();

private:
    struct Row
    {
        QString label;
        int percent = 0;
        int shown = -1; // quarter last printed (plain lines)
        QString state;
        QString shownState;
    };
    QString BarLine(const Row &row) const;

    QVector<Row> m_rows;
    bool m_bQuiet;
    bool m_bTerminal;
    bool m_bDrawn = false;
    int m_nWidth = 0;
    QElapsedTimer m_last;
};
