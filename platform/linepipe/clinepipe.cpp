#include "clinepipe.h"

#include <QMap>
#include <QPointer>
#include <QSerialPort>

class LinePipeCore : public QObject
{
    Q_OBJECT
public:
    explicit LinePipeCore(CLinePipe *owner) : m_pOwner(owner) {}
    ~LinePipeCore() override
    {
        for (QSerialPort *port : qAsConst(m_ports)) {
            port->disconnect(this);
            port->close();
        }
    }

    bool Open(const QString &name, int baud, CLinePipe::RecvCallback callback)
    {
        if (name.trimmed().isEmpty() || baud <= 0)
            return false;
        if (m_ports.contains(name))
            return true;
        auto *port = new QSerialPort(name, this);
        port->setBaudRate(baud);
        port->setDataBits(QSerialPort::Data8);
        port->setParity(QSerialPort::NoParity);
        port->setStopBits(QSerialPort::OneStop);
        port->setFlowControl(QSerialPort::NoFlowControl);
        if (!port->open(QIODevice::ReadWrite)) {
            delete port;
            return false;
        }
        m_ports.insert(name, port);
        m_callbacks.insert(name, callback);
        connect(port, &QSerialPort::readyRead, this, [this, name] { OnReadyRead(name); });
        connect(port, &QSerialPort::errorOccurred, this, [this, name](QSerialPort::SerialPortError error) {
            // A removed device reports a resource or read error, and keeps
            // reporting it from then on; the port is useless.
            if (error == QSerialPort::ResourceError || error == QSerialPort::PermissionError ||
                error == QSerialPort::ReadError)
                Close(name, true);
        });
        m_pOwner->HandleConnState(true, name);
        return true;
    }

    void Close(const QString &name, bool report)
    {
        QSerialPort *port = m_ports.take(name);
        m_callbacks.remove(name);
        if (!port)
            return;
        port->disconnect(this);
        port->close();
        port->deleteLater();
        if (report)
            m_pOwner->HandleConnState(false, name);
    }

    bool Send(const char *bytes, qint64 count, const QString &name)
    {
        QSerialPort *port = m_ports.value(name);
        if (!port || !port->isOpen())
            return false;
        if (port->write(bytes, count) != count)
            return false;
        // Out now rather than on the next event-loop pass: a programmer paces
        // its answers on our frames, so every pass of delay adds up per frame.
        port->flush();
        return true;
    }

    QMap<QString, QSerialPort *> m_ports;
    QMap<QString, CLinePipe::RecvCallback> m_callbacks;
    QString m_strSingle;

private:
    void OnReadyRead(const QString &name)
    {
        QSerialPort *port = m_ports.value(name);
        if (!port)
            return;
        const QByteArray bytes = port->readAll();
        if (bytes.isEmpty())
            return;
        if (CLinePipe::RecvCallback callback = m_callbacks.value(name))
            callback(bytes);
        SerialRecvData data;
        data.pData = bytes.constData();
        data.nLen = bytes.size();
        data.strPort = name;
        m_pOwner->HandleRecvData(data);
    }

    CLinePipe *m_pOwner;
};

CLinePipe::CLinePipe() : m_pCore(std::make_unique<LinePipeCore>(this)) {}

CLinePipe::~CLinePipe() = default;

bool CLinePipe::StartMultipleSerial(QString port, int baud, bool flag, RecvCallback callback)
{
    Q_UNUSED(flag)
    return m_pCore->Open(port, baud, callback);
}

void CLinePipe::CloseMutipleSerial(const QString &port, bool flag)
{
    Q_UNUSED(flag)
    m_pCore->Close(port, true);
}

bool CLinePipe::StartSerial(QString port, int baud, bool flag, RecvCallback callback)
{
    Q_UNUSED(flag)
    CloseSerial();
    if (!m_pCore->Open(port, baud, callback))
        return false;
    m_pCore->m_strSingle = port;
    return true;
}

void CLinePipe::CloseSerial()
{
    const QString port = m_pCore->m_strSingle;
    m_pCore->m_strSingle.clear();
    if (!port.isEmpty())
        m_pCore->Close(port, true);
}

bool CLinePipe::SendData(char *bytes, unsigned int count, QString port)
{
    if (!bytes || count == 0)
        return false;
    return m_pCore->Send(bytes, qint64(count), port);
}

bool CLinePipe::IsOpen(const QString &port) const
{
    return m_pCore->m_ports.contains(port);
}

QStringList CLinePipe::OpenPorts() const
{
    return m_pCore->m_ports.keys();
}

void CLinePipe::HandleRecvData(const SerialRecvData &) {}

void CLinePipe::HandleConnState(bool, QString) {}

#include "clinepipe.moc"
