#include "csimflash.h"

#include <cstring>

CSimFlash::CSimFlash(quint32 base, int size) : m_nBase(base), m_data(qMax(size, 0), '\xFF') {}

bool CSimFlash::Offset(quint32 addr, quint64 count, int &offset) const
{
    if (addr < m_nBase)
        return false;
    const quint64 start = quint64(addr) - m_nBase;
    if (start + count > quint64(m_data.size()))
        return false;
    offset = int(start);
    return true;
}

bool CSimFlash::Write(quint32 addr, const QByteArray &bytes)
{
    int offset = 0;
    if (!Offset(addr, quint64(bytes.size()), offset))
        return false;
    if (!bytes.isEmpty())
        std::memcpy(m_data.data() + offset, bytes.constData(), size_t(bytes.size()));
    return true;
}

bool CSimFlash::Read(quint32 addr, quint32 count, QByteArray &bytes) const
{
    int offset = 0;
    if (!Offset(addr, count, offset))
        return false;
    bytes = m_data.mid(offset, int(count));
    return true;
}

void CSimFlash::Erase()
{
    m_data.fill('\xFF');
}

QString CSimFlash::RangeText() const
{
    const quint64 last = quint64(m_nBase) + quint64(m_data.size()) - 1;
    return QStringLiteral("0x%1..0x%2")
        .arg(m_nBase, 8, 16, QLatin1Char('0'))
        .arg(last, 8, 16, QLatin1Char('0'))
        .toUpper()
        .replace(QLatin1String("0X"), QLatin1String("0x"));
}
