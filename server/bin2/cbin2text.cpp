#include "cbin2text.h"

#include <QList>

#include <cctype>

namespace {
bool IsHexText(const QByteArray &text)
{
    for (char c : text)
        if (!std::isxdigit(static_cast<unsigned char>(c)))
            return false;
    return true;
}

bool HeadLine(const QByteArray &line, quint32 &value)
{
    if ((line.size() != 4 && line.size() != 5) || !IsHexText(line))
        return false;
    bool ok = false;
    value = line.toUInt(&ok, 16);
    return ok;
}
} // namespace

CBin2Message CBin2Text::FormatError()
{
    return {tr("错误"), tr("读取文件失败！数据与规定格式不符合！请检查")};
}

CBin2Message CBin2Text::LengthError()
{
    return {tr("错误"), tr("读取文件失败！实际数据长度与声明数据长度不匹配！请检查")};
}

bool CBin2Text::Parse(const QByteArray &content, CBin2File &file, CBin2Message &msg)
{
    QList<QByteArray> lines = content.split('\n');
    for (QByteArray &line : lines) {
        if (line.endsWith('\r'))
            line.chop(1);
    }
    quint32 addr = 0;
    quint32 length = 0;
    if (lines.size() < 2 || !HeadLine(lines.at(0), addr) || !HeadLine(lines.at(1), length)) {
        msg = FormatError();
        return false;
    }
    QByteArray hex;
    for (int i = 2; i < lines.size() && !lines.at(i).isEmpty(); ++i)
        hex += lines.at(i).simplified().replace(' ', QByteArray());
    if (hex.size() % 2 != 0 || !IsHexText(hex)) {
        msg = FormatError();
        return false;
    }
    file.strAddr = QString::fromLatin1(lines.at(0));
    file.nAddr = addr;
    file.nLength = int(length);
    file.data = QByteArray::fromHex(hex);
    return true;
}

QString CBin2Text::AddrLine(const QString &addr)
{
    const QString text = addr.trimmed().toUpper();
    if (text.isEmpty() || text.size() > 5 || !IsHexText(text.toLatin1()))
        return QString();
    return text.rightJustified(4, QLatin1Char('0'));
}

QByteArray CBin2Text::Format(const QString &addr, const CBin2Params &params, const QByteArray &data)
{
    QByteArray out = AddrLine(addr).toLatin1() + '\n';
    out += QByteArray::number(data.size(), 16).toUpper().rightJustified(5, '0') + '\n';
    int offset = 0;
    for (int i = 0; i < params.Count() && offset < data.size(); ++i) {
        const int width = CBin2Params::Width(params.At(i).nType);
        for (int b = 0; b < width && offset < data.size(); ++b, ++offset)
            out += data.mid(offset, 1).toHex().toUpper() + ' ';
        if ((i + 1) % 16 == 0)
            out += '\n';
    }
    if (!out.endsWith('\n'))
        out += '\n';
    return out;
}
