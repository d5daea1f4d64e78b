#pragma once
// One queued publication or one received message.
#include <QByteArray>
#include <QString>

struct TopicMessage
{
    QString topic;
    QByteArray body;
    qint64 timestamp = 0; // nanoseconds from nsqd; 0 for a publication
};
