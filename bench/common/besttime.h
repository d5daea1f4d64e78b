#pragma once
// Timing for the benchmarks: the best of several runs.
#include <QElapsedTimer>
#include <QtGlobal>
#include <functional>

namespace qelbench {

// Best of runs runs of run, in ms; -1 when a run fails.
inline double Best(const std::function<bool()> &run, int runs = 3)
{
    double ms = -1;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        if (!run())
            return -1;
        const double now = timer.nsecsElapsed() / 1e6;
        ms = ms < 0 ? now : qMin(ms, now);
    }
    return ms;
}

} // namespace qelbench
