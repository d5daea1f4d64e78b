#include "nsqclient.h"

#include "dataformat.h"
#include "nsqcommand.h"

#include "globalconfig.h"
#include "logwriter.h"

#include <mutex>

namespace nsq {

namespace {

const std::string Heartbeat = "_heartbeat_";

void installFrameReader()
{
    static std::once_flag once;
    std::call_once(once, [] {
        uv::GlobalConfig::setBufferMode(uv::GlobalConfig::CycleBufferMode);
        uv::GlobalConfig::setBufferSize(NsqClient::ReceiveBufferSize);
        uv::GlobalConfig::setFrameReader(&DataFormat::readFrame);
    });
}

} // namespace

NsqClient::NsqClient(uv::EventLoop *loop, const uv::SocketAddr &addr)
    : m_loop(loop)
    , address(std::make_shared<uv::SocketAddr>(addr))
    , tcp(loop, true)
{
    installFrameReader();
    tcp.setConnectStatusCallback([this](uv::TcpClient::ConnectStatus status) { onStatus(status); });
    tcp.setMessageCallback([this](const char *data, ssize_t size) { onData(data, size); });
}

void NsqClient::connect()
{
    tcp.connect(*address);
}

int NsqClient::send(const std::string &data)
{
    return tcp.write(data.data(), data.size());
}

void NsqClient::onData(const char *data, ssize_t size)
{
    auto *log = uv::LogWriter::Instance();
    if (log->enabled(uv::LogWriter::Debug)) {
        log->debug("receive message " + std::to_string(size) + " :" + std::string(data, static_cast<size_t>(size)));
        log->debug("hex :" + uv::LogWriter::hexDump(data, static_cast<size_t>(size)));
    }
    const std::shared_ptr<uv::PacketBuffer> buffer = tcp.currentBuffer();
    if (!buffer)
        return;
    if (buffer->append(data, static_cast<uint64_t>(size)) != 0) {
        log->error("buffer not enough :" + std::to_string(size));
        // The rest of the oversized frame is still on its way and would be read as
        // frames of its own; only a fresh connection gets back to a frame start.
        buffer->clear();
        tcp.close([this] { onStatus(uv::TcpClient::ConnectClose); });
        return;
    }
    DataFormat frame;
    while (buffer->readFrame(frame) == 0) {
        switch (frame.type) {
        case DataFormat::Response:
            if (frame.body == Heartbeat)
                send(NsqCommand::nop());
            else if (onResponse)
                onResponse(frame.body);
            break;
        case DataFormat::Error:
            if (onError)
                onError(frame.body);
            break;
        case DataFormat::Message: {
            if (!onMessage)
                break;
            NsqMessage message;
            if (!message.decode(frame.body)) {
                log->error("decode message error :" + uv::LogWriter::hexDump(frame.body.data(), frame.body.size()));
                break;
            }
            onMessage(message);
            break;
        }
        }
    }
}

void NsqClient::onStatus(uv::TcpClient::ConnectStatus status)
{
    if (status == uv::TcpClient::ConnectSuccess) {
        send(NsqCommand::magic());
    } else {
        uv::LogWriter::Instance()->warn("disconnect from sever and retry...");
        scheduleReconnect();
    }
    if (onConnectStatus)
        onConnectStatus(status);
}

void NsqClient::scheduleReconnect()
{
    m_retry = std::make_unique<uv::Timer>(m_loop, ReconnectDelayMs, 0, [this](uv::Timer *timer) {
        connect();
        timer->close([this](uv::Timer *closed) {
            if (m_retry.get() == closed)
                m_retry.reset();
        });
    });
    m_retry->start();
}

} // namespace nsq
