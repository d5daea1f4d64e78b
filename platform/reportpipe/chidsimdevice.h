#pragma once
// Device end of a simulated HID programmer (tests, the programmer simulator):
// listens on its socket in the simulation folder and exchanges reports with
// the host's CReportPipe.
#include "hidsimwire.h"

#include <QObject>

class QLocalServer;
class QLocalSocket;

class CHidSimDevice : public QObject
{
    Q_OBJECT
public:
    explicit CHidSimDevice(QObject *parent = nullptr);
    ~CHidSimDevice() override;

    // Appears in dir as a device with these IDs; false when the serial is not
    // usable in a file name or the socket cannot be created.
    bool Start(const QString &dir, quint16 vid, quint16 pid, const QString &serial);
    // Disappears: the host sees the device go.
    void Stop();

    QString Path() const { return m_strPath; }
    QString Serial() const { return m_strSerial; }
    bool IsAttached() const;

    // Sends bytes as the device does: cut into zero-padded reports.
    bool SendFrame(const QByteArray &bytes);
    // Sends one report as it stands (up to HidSimWire::kMaxReport bytes).
    bool SendReport(const QByteArray &report);
    // Writes raw bytes on the connection, bypassing the report framing.
    bool SendRaw(const QByteArray &bytes);

signals:
    void sigReport(const QByteArray &report);
    void sigAttached(bool attached);

private:
    void OnNewConnection();
    void OnReadyRead();

    QLocalServer *m_pServer = nullptr;
    QLocalSocket *m_pHost = nullptr;
    HidSimWire::Decoder m_decoder;
    QString m_strPath;
    QString m_strSerial;
};
