#pragma once
// Value classes that describe one programmer and its settings.
#include "burnhub_global.h"

#include <QString>

// Which parameter set a programmer model uses.
enum enumProgerModel {
    ModelClassic = 0,  // simple, chip, speed, protect, writecrc, machinemode, functionmode, autoena, autoimage
    ModelExtended = 1, // voltage ... flmDataGear
};

// One programmer, however it is reached (USB disk, HID, VCP, TCP, MQTT, NSQ).
class BURNHUB_EXPORT ProgerInfo
{
public:
    ProgerInfo() = default;
    ProgerInfo(const QString &root, const QString &id, const QString &model, const QString &ver);
    ProgerInfo(const ProgerInfo &other) = default;
    // Takes the identity and the TCP address of another programmer; HID/VCP flags start clear.
    explicit ProgerInfo(const ProgerInfo *other);
    ProgerInfo &operator=(const ProgerInfo &other) = default;
    virtual ~ProgerInfo() = default;

    void MarkHIDProger(const QString &id);
    void MarkVCPProger(const QString &id, const QString &root);
    void MarkAsTCPRemote(const QString &host, int port);
    void MarkAsNsqRemote(const QString &id);
    void MarkAsMQTTRemote(const QString &id);

    QString GetLocation() const;
    QString GetDesc() const;

    QString m_strRoot;
    QString m_strID;
    QString m_strModel;
    QString m_strVer;
    QString m_strHW;
    QString m_strExtra;
    bool m_bExtra = false;
    bool m_bHID = false;
    bool m_bLocal = true;
    bool m_bVCP = false;
    QString m_strIP;
    qint32 m_nPort = 0;
    QString m_strNsqID;
    QString m_strMqttID;
};

// A programmer's parameters: one field per key of "param.ini". Fields marked
// "unset" get their values from whoever builds the record (the configuration form);
// they start at 0/false here so a copy never carries indeterminate values.
struct BURNHUB_EXPORT ProgerConfig
{
    bool simple = true;
    qint32 chip = 1;
    qint32 speed = 0;
    qint32 voltage = 0;
    bool continuous = false;
    qint32 contInterval = 0;
    bool protect = false;
    bool eraseall = false;
    bool iap = false;
    qint32 swdClk = 0;
    qint32 iapBaud = 0;
    qint32 halfDuplex = 0;
    bool writecrc = false;
    bool en = false;
    bool machineMode = false;
    bool reset = false;
    qint32 usbmode = 0;
    qint32 firstPage = 0;
    qint32 crcShow = 0;
    qint32 powerProtect = 0;
    qint32 flmDataGear = 0;
    qint32 functionmode = 0;
    bool autoena = false;
    QString autoimage;
};

// Handshake signals with a production machine: one field per key of "signal.ini".
struct BURNHUB_EXPORT ProgerSignal
{
    bool signalType = false; // false = level, true = pulse
    qint32 signalDuration = 80;
    bool startLevel = false; // false = low, true = high
    qint32 startTime = 80;
    bool busySignal = true;
    bool successSignal = true;
    bool failSignal = true;
};

// One entry of the image index.
struct BURNHUB_EXPORT ImageInfo
{
    qint32 m_nIndex = 0;
    QString m_strName;
    QString m_strTime = QStringLiteral("1970-01-01 00:00:00");
    qint32 m_nValue = 0;
    bool m_bFlag = false;
};
