#pragma once
// Serial ports: any number open at once (StartMultipleSerial), or the single
// port of the chip page (StartSerial). Callbacks run on the thread that owns
// the object.
#include <QString>
#include <QStringList>

#include <memory>

class QByteArray;

// Bytes read from one port; the pointer is valid during the call only.
struct SerialRecvData
{
    const char *pData = nullptr;
    int nLen = 0;
    QString strPort;
};

class LinePipeCore;

class CLinePipe
{
public:
    // Optional raw-data hook of the Start operations; the programs pass null.
    using RecvCallback = bool (*)(const QByteArray &data);

    CLinePipe();
    virtual ~CLinePipe();
    CLinePipe(const CLinePipe &) = delete;
    CLinePipe &operator=(const CLinePipe &) = delete;

    // Opens one more port (8N1, no flow control); a port already open counts as
    // opened. The port is a name ("ttyACM0", "COM3") or a device path. flag is
    // accepted for the callers.
    bool StartMultipleSerial(QString port, int baud, bool flag, RecvCallback callback);
    void CloseMutipleSerial(const QString &port, bool flag);
    // The single-port variant: opening closes the port opened this way before.
    bool StartSerial(QString port, int baud, bool flag, RecvCallback callback);
    void CloseSerial();
    // Queues the bytes on that port; false when it is not open or refuses them.
    bool SendData(char *bytes, unsigned int count, QString port);

    bool IsOpen(const QString &port) const;
    QStringList OpenPorts() const;

protected:
    virtual void HandleRecvData(const SerialRecvData &data);
    // true when a port opened, false when it closed or failed (device removed).
    virtual void HandleConnState(bool open, QString port);

private:
    friend class LinePipeCore;
    std::unique_ptr<LinePipeCore> m_pCore;
};
