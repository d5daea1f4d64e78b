#pragma once
// Programmer side of a download: after FT_ATTR_CMD the programmer asks for the
// frames in order (FT_REQ_CMD) and checks size and CRC-32 of the whole file.
#include <QByteArray>
#include <QString>

struct UsbFileAnnounce;
struct UsbFileData;

class CUsbFileReceiver
{
public:
    enum Take {
        TakeNext,     // ask for Next()
        TakeComplete, // every frame is in; Verify()
        TakeIgnored,  // no download, another frame than asked for, or a wrong length
    };

    // False when the frame count does not fit the announced size.
    bool Begin(const UsbFileAnnounce &announce);
    Take Accept(const UsbFileData &answer);
    void Clear();

    bool IsActive() const { return m_bActive; }
    bool IsComplete() const { return m_bActive && m_nNext >= m_nFrames; }
    int Next() const { return m_nNext; }
    // The data received match the announced size and CRC-32.
    bool Verify() const;

    QString Name() const { return m_strName; }
    QByteArray Data() const { return m_data; }

private:
    QString m_strName;
    quint32 m_nSize = 0;
    quint32 m_nCrc = 0;
    int m_nFrames = 0;
    int m_nNext = 0;
    bool m_bActive = false;
    QByteArray m_data;
};
