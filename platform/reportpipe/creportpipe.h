#pragma once
// USB-HID devices of the programmers. The program builds exactly one object of
// a subclass and calls every device operation on Instance(). Devices are read
// on hidraw through hidapi, or, when a simulation folder is configured
// (QEL_HID_SIM_DIR or SetSimulationDir), through local sockets (hidsimwire.h).
// Callbacks run on the thread that owns the object.
#include <QList>
#include <QString>

#include <memory>

// One attached device: vendor and product ID, product text, path (the device
// key) and serial number. Two entries are the same device when path and serial
// are equal.
struct CHidInfo
{
    quint16 m_nVid = 0;
    quint16 m_nPid = 0;
    QString m_strProduct;
    QString m_strPath;
    QString m_strSerial;
};

// One report read from a device; the pointer is valid during the call only.
struct HidRecvData
{
    const unsigned char *pData = nullptr;
    int nLen = 0;
    QString strKey;
};

class HidBackend;

class CReportPipe
{
public:
    CReportPipe();
    virtual ~CReportPipe();
    CReportPipe(const CReportPipe &) = delete;
    CReportPipe &operator=(const CReportPipe &) = delete;

    // The object constructed last (null once it is destroyed).
    static CReportPipe *Instance();

    // Folder of the simulated devices; empty text returns to the environment
    // variable or hidraw. Takes effect for objects built afterwards.
    static void SetSimulationDir(const QString &dir);
    static QString SimulationDir();

    // Appends the attached devices with that vendor and product ID; true when
    // at least one was found.
    bool EnumDevices(QList<CHidInfo> &list, unsigned int vid, unsigned int pid);
    // Opens the devices and starts reading them; true when all opened. flag is
    // accepted for the callers.
    bool StartNewHid(const QList<CHidInfo> &devices, bool flag);
    void CloseOneHid(const QString &key);
    // Writes one frame as reports of 64 bytes (the last one zero-padded).
    bool SendData(unsigned char *bytes, unsigned short count, const QString &key);

    bool IsOpen(const QString &key) const;
    bool IsSimulated() const;

protected:
    virtual void HandleRecvData(const HidRecvData &data);
    // A device was opened (true) or lost (false, read failure or removal).
    virtual void HandleDevState(bool open, const QString &key);

private:
    static CReportPipe *m_pInstance;
    std::unique_ptr<HidBackend> m_pBackend;
    bool m_bSimulated = false;
};
