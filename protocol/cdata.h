#pragma once
// One owned block of raw bytes, as the USB programmer code queues received frames.
#include <QByteArray>

#include <memory>

class CData
{
public:
    CData(const char *bytes, int length);
    explicit CData(const QByteArray &bytes) : CData(bytes.constData(), bytes.size()) {}
    virtual ~CData();
    CData(const CData &) = delete;
    CData &operator=(const CData &) = delete;

    const char *Data() const { return m_pData.get(); }
    int Length() const { return m_nLen; }
    QByteArray ToByteArray() const { return QByteArray(m_pData.get(), m_nLen); }

private:
    std::unique_ptr<char[]> m_pData;
    int m_nLen = 0;
};
