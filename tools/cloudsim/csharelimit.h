#pragma once
// The limits of one shared offline image: a deadline (0 = none) and a most
// number of fetches (0 = any number), counted since the share was made.
#include <QtGlobal>

struct CShareLimit
{
    enum Verdict { Granted, Expired, Exhausted };

    qint64 deadline = 0;
    int get = 0;
    int max = 0;

    // A new share from now: days and count of 0 mean no limit.
    static CShareLimit Share(int days, int count, qint64 now);
    Verdict Check(qint64 now) const;
};
