#pragma once
// The programmer's end of a virtual COM port: a pseudo-terminal in raw mode.
// The host opens the slave path (or a symbolic link to it) as a serial port;
// this end reads and writes the master. The slave stays open here as well, so
// a host closing and reopening its port does not hang the line up; closing
// the master is what a pulled cable looks like to the host.
#include <QByteArray>
#include <QObject>
#include <QString>

class QSocketNotifier;

class CPtyPort : public QObject
{
    Q_OBJECT
public:
    // Bytes waiting for a host that does not read are capped here.
    static constexpr int kMaxPending = 4 * 1024 * 1024;

    explicit CPtyPort(QObject *parent = nullptr);
    ~CPtyPort() override;

    bool Open(QString &err);
    // A symbolic link to the slave; an old link there is replaced, anything
    // else is left alone and refused.
    bool MakeLink(const QString &link, QString &err);
    // Closes both ends and removes the link.
    void Close();

    bool IsOpen() const { return m_nMaster >= 0; }
    QString SlavePath() const { return m_strSlave; }
    QString LinkPath() const { return m_strLink; }

    // Queues bytes for the host; false when the port is closed or the queue full.
    bool Write(const QByteArray &bytes);

signals:
    void sigData(const QByteArray &bytes);

private:
    void OnReadable();
    void Flush();

    int m_nMaster = -1;
    int m_nSlave = -1;
    QString m_strSlave;
    QString m_strLink;
    QSocketNotifier *m_pRead = nullptr;  // child
    QSocketNotifier *m_pWrite = nullptr; // child
    QByteArray m_pending;
};
