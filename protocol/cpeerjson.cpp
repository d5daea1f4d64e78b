#include "cpeerjson.h"

#include <QJsonArray>

#include <nlohmann/json.hpp>

#include <limits>

namespace {

bool Convert(const nlohmann::json &in, QJsonValue &out, int depth);

bool ConvertObject(const nlohmann::json &in, QJsonObject &out, int depth)
{
    for (auto it = in.begin(); it != in.end(); ++it) {
        QJsonValue value;
        if (!Convert(it.value(), value, depth + 1))
            return false;
        out.insert(QString::fromStdString(it.key()), value);
    }
    return true;
}

bool Convert(const nlohmann::json &in, QJsonValue &out, int depth)
{
    if (depth > CPeerJson::kMaxDepth)
        return false;
    switch (in.type()) {
    case nlohmann::json::value_t::null:
        out = QJsonValue(QJsonValue::Null);
        return true;
    case nlohmann::json::value_t::boolean:
        out = in.get<bool>();
        return true;
    case nlohmann::json::value_t::number_integer:
        out = qint64(in.get<std::int64_t>());
        return true;
    case nlohmann::json::value_t::number_unsigned: {
        const std::uint64_t u = in.get<std::uint64_t>();
        out = u <= std::uint64_t(std::numeric_limits<qint64>::max()) ? QJsonValue(qint64(u)) : QJsonValue(double(u));
        return true;
    }
    case nlohmann::json::value_t::number_float:
        out = in.get<double>();
        return true;
    case nlohmann::json::value_t::string:
        out = QString::fromStdString(in.get_ref<const std::string &>());
        return true;
    case nlohmann::json::value_t::array: {
        QJsonArray array;
        for (const nlohmann::json &element : in) {
            QJsonValue value;
            if (!Convert(element, value, depth + 1))
                return false;
            array.append(value);
        }
        out = array;
        return true;
    }
    case nlohmann::json::value_t::object: {
        QJsonObject object;
        if (!ConvertObject(in, object, depth))
            return false;
        out = object;
        return true;
    }
    default:
        return false;
    }
}

} // namespace

namespace {
// The whole text as one value; false when it is no JSON at all or too deep.
bool ParseValue(const QByteArray &text, QJsonValue &value)
{
    const nlohmann::json root =
        nlohmann::json::parse(text.constData(), text.constData() + text.size(), nullptr, false);
    return !root.is_discarded() && Convert(root, value, 1);
}
} // namespace

bool CPeerJson::ParseObject(const QByteArray &text, QJsonObject &object)
{
    QJsonValue value;
    const bool ok = ParseValue(text, value) && value.isObject();
    object = ok ? value.toObject() : QJsonObject();
    return ok;
}

bool CPeerJson::ParseArray(const QByteArray &text, QJsonArray &array)
{
    QJsonValue value;
    const bool ok = ParseValue(text, value) && value.isArray();
    array = ok ? value.toArray() : QJsonArray();
    return ok;
}
