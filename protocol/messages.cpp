#include "messages.h"

namespace qelmsg {

QJsonObject ConfigResponse::ToJson() const
{
    QJsonObject o;
    for (auto it = entries.cbegin(); it != entries.cend(); ++it) {
        if (it.key() != QLatin1String("cmd"))
            o.insert(it.key(), it.value());
    }
    o.insert(QStringLiteral("cmd"), QString::fromLatin1(cmd));
    return o;
}

ConfigResponse ConfigResponse::FromJson(const QJsonObject &o)
{
    ConfigResponse m;
    for (auto it = o.constBegin(); it != o.constEnd(); ++it) {
        if (it.key() == QLatin1String("cmd"))
            continue;
        // Numbers and flags written by other firmware still read as text.
        m.entries.insert(it.key(), it.value().isString() ? it.value().toString() : it.value().toVariant().toString());
    }
    return m;
}

QJsonObject RecordAppend::ToJson() const
{
    QJsonObject o;
    o.insert(QStringLiteral("cmd"), QString::fromLatin1(cmd));
    o.insert(QStringLiteral("recordType"), recordType);
    QJsonObject extra;
    if (recordType == FactoryTest)
        extra = factory.ToJson();
    else if (recordType == Repair)
        extra = repair.ToJson();
    for (auto it = extra.constBegin(); it != extra.constEnd(); ++it)
        o.insert(it.key(), it.value());
    return o;
}

RecordAppend RecordAppend::FromJson(const QJsonObject &o)
{
    RecordAppend m;
    m.recordType = JsonField<int>::From(o.value(QStringLiteral("recordType")));
    if (m.recordType == FactoryTest)
        m.factory = FactoryRecord::FromJson(o);
    else if (m.recordType == Repair)
        m.repair = RepairRecord::FromJson(o);
    return m;
}

} // namespace qelmsg
