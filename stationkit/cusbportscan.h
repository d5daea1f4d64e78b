#pragma once
// Which serial ports are programmers in virtual-COM mode: ports whose USB
// vendor and product ID are the programmers' (as udev reports them through
// QSerialPortInfo), and the ports of an extra list (the simulator's
// pseudo-terminals), which are watched by a slow poll since no device watch
// reports them.
//
// Extra list: the environment variable QEL_VCP_PORTS (paths separated by ":")
// and the key VCPPORTS of group [USB] in the program's INI file
// (comma-separated; "qel720A_server.ini" unless the program sets another).
#include <QObject>
#include <QSet>
#include <QStringList>
#include <QTimer>

class CUsbPortScan : public QObject
{
    Q_OBJECT
public:
    static constexpr int kPollMs = 1000;

    explicit CUsbPortScan(QObject *parent = nullptr);

    static void SetIniFile(const QString &iniFile);
    static QString IniFile();

    static QStringList ExtraPorts();
    // USB vendor/product pairs of the programmers' CDC ports.
    static bool IsProgrammerId(quint16 vid, quint16 pid);
    // A port of the extra list, or one with a programmer's IDs.
    static bool IsProgrammerPort(const QString &port);
    // The programmer ports present now: hardware ones and existing extra ones.
    static QStringList PresentPorts();

    // Reports the ports present now as arrivals, then polls the extra list.
    void Start();
    void Stop();

signals:
    void sigPortCome(const QString &port);
    void sigPortRemove(const QString &port);

private:
    void Poll();

    QTimer m_poll;
    QSet<QString> m_present;
};
