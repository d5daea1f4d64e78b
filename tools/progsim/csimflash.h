#pragma once
// The flash of the target MCU on the simulated programmer's socket: erased
// bytes are 0xFF; programs and serial numbers are written into it and read
// back by address.
#include <QByteArray>
#include <QString>

class CSimFlash
{
public:
    CSimFlash(quint32 base, int size);

    quint32 Base() const { return m_nBase; }
    int Size() const { return m_data.size(); }
    const QByteArray &Data() const { return m_data; }

    // False (and nothing written) when the range is not all inside the flash.
    bool Write(quint32 addr, const QByteArray &bytes);
    bool Read(quint32 addr, quint32 count, QByteArray &bytes) const;
    void Erase();
    // "0x00000000..0x0001FFFF"
    QString RangeText() const;

private:
    bool Offset(quint32 addr, quint64 count, int &offset) const;

    quint32 m_nBase;
    QByteArray m_data;
};
