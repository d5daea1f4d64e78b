#pragma once
// Wire format of the simulated HID devices, shared by CReportPipe's test
// backend and the device end (CHidSimDevice, the programmer simulator).
//
// A simulated device is a Unix local socket named "VVVV_PPPP_SERIAL.hidsock"
// (vendor and product ID as four hex digits) in the simulation folder. Over
// the connection both sides send reports of kReportSize bytes, each preceded
// by its length as a 16-bit little-endian number. A frame longer than one
// report is cut into reports, the last one padded with zeros, as a real
// device does.
#include <QByteArray>
#include <QList>
#include <QString>

class HidSimWire
{
public:
    static constexpr int kReportSize = 64;
    static constexpr int kMaxReport = 1024;

    // Environment variable naming the simulation folder; when set (or when
    // CReportPipe::SetSimulationDir was called) CReportPipe uses this backend.
    static const char *EnvName() { return "QEL_HID_SIM_DIR"; }

    static QString SocketFileName(quint16 vid, quint16 pid, const QString &serial);
    // False for names that are not simulated devices.
    static bool ParseSocketFileName(const QString &fileName, quint16 &vid, quint16 &pid, QString &serial);
    // Letters, digits and '-' only, 1 to 32 characters.
    static bool IsValidSerial(const QString &serial);

    static QByteArray Encode(const QByteArray &report);
    // The reports of one frame: kReportSize bytes each, zero-padded.
    static QList<QByteArray> SplitReports(const char *bytes, int count);

    // Cuts the length-prefixed stream into reports.
    class Decoder
    {
    public:
        void Feed(const QByteArray &bytes) { m_buf.append(bytes); }
        // Next whole report; false when none is complete or the stream is bad.
        bool Next(QByteArray &report);
        bool IsBad() const { return m_bBad; }

    private:
        QByteArray m_buf;
        bool m_bBad = false;
    };
};
