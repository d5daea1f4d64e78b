#include "csharelimit.h"

CShareLimit CShareLimit::Share(int days, int count, qint64 now)
{
    CShareLimit limit;
    limit.deadline = days > 0 ? now + qint64(days) * 86400 : 0;
    limit.max = qMax(0, count);
    return limit;
}

CShareLimit::Verdict CShareLimit::Check(qint64 now) const
{
    if (deadline > 0 && now > deadline)
        return Expired;
    if (max > 0 && get >= max)
        return Exhausted;
    return Granted;
}
