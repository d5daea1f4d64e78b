#include "cbin2params.h"

const char CBin2Params::kDefaultAddr[] = "19000";
const char CBin2Params::kDecimalText[] = "10进制";
const char CBin2Params::kHexText[] = "16进制";

CBin2Params::CBin2Params() : m_rows(kMaxParams) {}

int CBin2Params::Width(int type)
{
    switch (type) {
    case 1:
        return 2;
    case 2:
        return 4;
    default:
        return 1;
    }
}

QString CBin2Params::TypeName(int type)
{
    static const char *const names[kTypeCount] = {"u8", "u16", "u32"};
    return (type >= 0 && type < kTypeCount) ? QLatin1String(names[type]) : QString();
}

int CBin2Params::ByteCount() const
{
    int bytes = 0;
    for (int i = 0; i < m_nCount; ++i)
        bytes += Width(m_rows[i].nType);
    return bytes;
}

QString CBin2Params::CountText() const
{
    return QStringLiteral("%1(%2)").arg(m_nCount).arg(ByteCount());
}

void CBin2Params::Clear()
{
    m_rows.fill(CBin2Param());
    m_nCount = 0;
    m_bHex = false;
}

bool CBin2Params::Add(CBin2Message &msg)
{
    if (m_nCount >= kMaxParams) {
        msg = {tr("错误！"), tr("限制最多参数为%1个").arg(kMaxParams)};
        return false;
    }
    m_rows[m_nCount] = CBin2Param();
    ++m_nCount;
    return true;
}

bool CBin2Params::DeleteLast()
{
    if (m_nCount <= 0)
        return false;
    --m_nCount;
    m_rows[m_nCount] = CBin2Param();
    return true;
}

void CBin2Params::SetCount(int count)
{
    m_nCount = qBound(0, count, int(kMaxParams));
}

void CBin2Params::SetType(int row, int type)
{
    if (row >= 0 && row < kMaxParams)
        m_rows[row].nType = (type >= 0 && type < kTypeCount) ? type : 0;
}

QString CBin2Params::FormatValue(quint32 value, bool hex)
{
    return hex ? QString::number(value, 16).toUpper() : QString::number(value);
}

bool CBin2Params::ParseValue(const QString &text, bool hex, quint32 &value)
{
    QString t = text.trimmed();
    if (hex && (t.startsWith(QLatin1String("0x")) || t.startsWith(QLatin1String("0X"))))
        t = t.mid(2);
    bool ok = false;
    const qulonglong v = t.toULongLong(&ok, hex ? 16 : 10);
    if (!ok || v > 0xFFFFFFFFull)
        return false;
    value = quint32(v);
    return true;
}

void CBin2Params::SetHex(bool hex)
{
    if (hex == m_bHex)
        return;
    for (int i = 0; i < m_nCount; ++i) {
        quint32 value = 0;
        // Text that is no number in the old format stays as typed.
        if (ParseValue(m_rows[i].strValue, m_bHex, value))
            m_rows[i].strValue = FormatValue(value, hex);
    }
    m_bHex = hex;
}

bool CBin2Params::FillFromData(const QByteArray &data, CBin2Message &msg)
{
    if (m_nCount > kMaxParams) {
        msg = {tr("错误！"), tr("数据过长, 当前读取参数%1个，限制%2个, 请检查！").arg(m_nCount).arg(kMaxParams)};
        Clear();
        return false;
    }
    const int bytes = ByteCount();
    if (data.size() != bytes) {
        msg = {tr("错误！"), tr("数据长度不符, 当前数据%1字节，参数%2字节, 请检查！").arg(data.size()).arg(bytes)};
        return false;
    }
    int offset = 0;
    for (int i = 0; i < m_nCount; ++i) {
        const int width = Width(m_rows[i].nType);
        quint32 value = 0;
        for (int b = width - 1; b >= 0; --b)
            value = (value << 8) | quint8(data.at(offset + b));
        offset += width;
        m_rows[i].strValue = FormatValue(value, m_bHex);
    }
    return true;
}

bool CBin2Params::FillAsBytes(const QByteArray &data, CBin2Message &msg)
{
    if (data.size() > kMaxParams) {
        msg = {tr("错误！"), tr("数据过长, 当前读取参数%1个，限制%2个, 请检查！").arg(data.size()).arg(kMaxParams)};
        Clear();
        return false;
    }
    const bool hex = m_bHex;
    Clear();
    m_bHex = hex;
    m_nCount = data.size();
    return FillFromData(data, msg);
}

bool CBin2Params::ValueOf(int row, quint32 &value) const
{
    if (row < 0 || row >= m_nCount || !ParseValue(m_rows[row].strValue, m_bHex, value))
        return false;
    const int width = Width(m_rows[row].nType);
    return width == 4 || value < (quint32(1) << (8 * width));
}

bool CBin2Params::ToData(QByteArray &data, CBin2Message &msg) const
{
    data.clear();
    for (int i = 0; i < m_nCount; ++i) {
        quint32 value = 0;
        if (!ValueOf(i, value)) {
            msg = {tr("错误"), tr("参数%1的数值无效!").arg(i + 1)};
            return false;
        }
        for (int b = 0; b < Width(m_rows[i].nType); ++b)
            data.append(char((value >> (8 * b)) & 0xFF));
    }
    return true;
}
