#include "cusbpull.h"

#include "cusbfileframes.h"
#include "usbpayload.h"

void CUsbPull::Begin(const QString &path)
{
    Clear();
    m_strPath = path;
}

void CUsbPull::SetInfo(quint32 size, quint16 frames)
{
    m_nSize = size;
    m_nFrames = frames;
    m_nNext = 0;
}

int CUsbPull::Want(int k) const
{
    const qint64 owed = qint64(m_nSize) - qint64(k) * UsbCmd::kFileFrame;
    return int(qBound<qint64>(0, owed, UsbCmd::kFileFrame));
}

CUsbPull::Take CUsbPull::Accept(const UsbFileData &answer, QByteArray &data)
{
    data.clear();
    if (!IsActive())
        return TakeIdle;
    // A repeated or stray frame would land at the wrong place in the mirror.
    if (IsDone() || answer.frame != m_nNext)
        return TakeUnexpected;
    const int want = Want(answer.frame);
    if (answer.data.size() < want)
        return TakeShort;
    data = answer.data.left(want);
    ++m_nNext;
    return TakeOk;
}

int CUsbPull::Percent(int k) const { return CUsbFileFrames::Percent(k, m_nFrames); }

void CUsbPull::Clear()
{
    m_strPath.clear();
    m_nSize = 0;
    m_nFrames = 0;
    m_nNext = 0;
}

QString CUsbPull::Label(const QString &path)
{
    if (path == QLatin1String("sys/qelprogrammer.dat"))
        return tr("设备数据");
    if (path == QLatin1String("config/image.dat"))
        return tr("镜像数据");
    if (path == QLatin1String("config/param.ini"))
        return tr("参数数据");
    if (path == QLatin1String("config/signal.ini"))
        return tr("信号数据");
    if (path == QLatin1String("config/record_mcu.dat"))
        return tr("芯片记录");
    return tr("同步数据");
}

QString CUsbPull::LocalName(const QString &path)
{
    if (path == QLatin1String("read_flash_bin"))
        return path;
    const int slash = path.lastIndexOf(QLatin1Char('/'));
    if (slash < 0)
        return QString();
    const QString name = path.mid(slash + 1);
    // The name is joined to the programmer's folder: no way out of it.
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..") || name.contains(QLatin1Char('\\')))
        return QString();
    return name;
}
