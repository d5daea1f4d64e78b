#include "nsqrunner.h"

#include "nsqhandle.h"

#include "nsqconsumer.h"
#include "nsqproducer.h"
#include "timer.h"

#include <QCoreApplication>
#include <QDebug>

#include <pthread.h>

#include <memory>

namespace NsqRunner {

void runConsumers(NsqHandle *handle, nsq::NsqNodesPtr nodes, std::vector<std::string> channels)
{
    pthread_setname_np(pthread_self(), "nsq-consumer");
    qDebug() << "runConsumers";
    const NsqHandle::Settings settings = handle->settings();
    const std::string host = settings.host.toStdString();
    std::vector<std::unique_ptr<nsq::NsqConsumer>> consumers;
    for (const std::string &channel : channels) {
        for (const nsq::NsqNode &node : *nodes) {
            for (const QString &topic : settings.topics) {
                auto consumer = std::make_unique<nsq::NsqConsumer>(&handle->consumerLoop, topic.toStdString(), channel);
                consumer->setAddress(uv::SocketAddr(host, node.tcp_port, uv::SocketAddr::Ipv4));
                consumer->setReadyCount(64);
                consumer->setMessageCallback([handle, topic](nsq::NsqMessage &message) {
                    const QByteArray body = QByteArray::fromStdString(message.body);
                    qDebug().noquote() << "Consumer recv: " + QString::fromUtf8(body);
                    QCoreApplication::postEvent(handle, new TopicEvent(TopicMessage{topic, body, message.timestamp}));
                });
                consumer->start();
                consumers.push_back(std::move(consumer));
            }
        }
    }
    handle->consumerLoop.run();
    consumers.clear();
}

void runProducer(NsqHandle *handle, nsq::NsqNodesPtr nodes)
{
    pthread_setname_np(pthread_self(), "nsq-producer");
    qDebug() << "runProducer";
    const std::string host = handle->settings().host.toStdString();
    std::vector<std::unique_ptr<nsq::NsqProducer>> producers;
    for (const nsq::NsqNode &node : *nodes)
        producers.push_back(std::make_unique<nsq::NsqProducer>(&handle->producerLoop,
                                                               uv::SocketAddr(host, node.tcp_port, uv::SocketAddr::Ipv4)));
    uv::Timer tick(&handle->producerLoop, 1, 1, [handle, &producers](uv::Timer *) {
        // With no node reachable yet (or any more) the message would only be lost; it waits.
        bool anyConnected = false;
        for (const auto &producer : producers)
            anyConnected = anyConnected || producer->isConnected();
        if (!anyConnected)
            return;
        const std::optional<TopicMessage> message = handle->takePending();
        if (!message)
            return;
        const std::string topic = message->topic.toStdString();
        const std::string body = message->body.toStdString();
        for (auto &producer : producers)
            producer->publish(topic, body);
    });
    tick.start();
    handle->producerLoop.run();
}

} // namespace NsqRunner
