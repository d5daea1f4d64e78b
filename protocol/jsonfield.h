#pragma once
// How one member of a message is written to and read from JSON. A member that
// is missing (or of another type) reads as an empty string, 0 or false; a "ret"
// flag (RetFlag) reads as true when missing.
#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QList>
#include <QString>

namespace qelmsg {

// "ret" of an answer: a missing member counts as success.
struct RetFlag
{
    bool ok = true;
    operator bool() const { return ok; }
};

template <typename T>
struct JsonField;

template <>
struct JsonField<QString>
{
    static QJsonValue To(const QString &v) { return v; }
    static QString From(const QJsonValue &v) { return v.toString(); }
};

template <>
struct JsonField<int>
{
    static QJsonValue To(int v) { return v; }
    static int From(const QJsonValue &v) { return v.toInt(); }
};

template <>
struct JsonField<qint64>
{
    static QJsonValue To(qint64 v) { return double(v); }
    // A number outside the 64-bit range reads as 0, like any other bad member.
    static qint64 From(const QJsonValue &v)
    {
        const double d = v.toDouble();
        return v.isDouble() && d >= -9223372036854775808.0 && d < 9223372036854775808.0 ? qint64(d) : 0;
    }
};

template <>
struct JsonField<bool>
{
    static QJsonValue To(bool v) { return v; }
    static bool From(const QJsonValue &v) { return v.toBool(); }
};

template <>
struct JsonField<RetFlag>
{
    static QJsonValue To(RetFlag v) { return v.ok; }
    static RetFlag From(const QJsonValue &v) { return RetFlag{v.isUndefined() ? true : v.toBool()}; }
};

// Arrays of objects; an element that is not an object reads as all defaults.
template <typename E>
struct JsonField<QList<E>>
{
    static QJsonValue To(const QList<E> &list)
    {
        QJsonArray array;
        for (const E &e : list)
            array.append(e.ToJson());
        return array;
    }
    static QList<E> From(const QJsonValue &v)
    {
        QList<E> list;
        const QJsonArray array = v.toArray();
        for (const QJsonValue &e : array)
            list.append(E::FromJson(e.toObject()));
        return list;
    }
};

} // namespace qelmsg

// A field list is a macro taking one macro F and applying it to every member:
//   #define FIELDS(F) F(QString, name, "name") F(int, imageIndex, "image-index")
#define QEL_FIELD_DECL(T, member, key) T member{};
#define QEL_FIELD_TO(T, member, key) o.insert(QStringLiteral(key), ::qelmsg::JsonField<T>::To(member));
#define QEL_FIELD_FROM(T, member, key) m.member = ::qelmsg::JsonField<T>::From(o.value(QStringLiteral(key)));

// An element of an array member.
#define QEL_ITEM(Name, FIELDS)                                                                    \
    struct Name                                                                                    \
    {                                                                                              \
        FIELDS(QEL_FIELD_DECL)                                                                     \
        QJsonObject ToJson() const                                                                 \
        {                                                                                          \
            QJsonObject o;                                                                         \
            FIELDS(QEL_FIELD_TO)                                                                   \
            return o;                                                                              \
        }                                                                                          \
        static Name FromJson(const QJsonObject &o)                                                 \
        {                                                                                          \
            Name m;                                                                                \
            FIELDS(QEL_FIELD_FROM)                                                                 \
            return m;                                                                              \
        }                                                                                          \
    };

// A message: its "cmd" and its members.
#define QEL_MESSAGE(Name, cmdText, FIELDS)                                                         \
    struct Name                                                                                    \
    {                                                                                              \
        static constexpr const char *cmd = cmdText;                                                \
        FIELDS(QEL_FIELD_DECL)                                                                     \
        QJsonObject ToJson() const                                                                 \
        {                                                                                          \
            QJsonObject o;                                                                         \
            o.insert(QStringLiteral("cmd"), QString::fromLatin1(cmd));                             \
            FIELDS(QEL_FIELD_TO)                                                                   \
            return o;                                                                              \
        }                                                                                          \
        static Name FromJson(const QJsonObject &o)                                                 \
        {                                                                                          \
            Name m;                                                                                \
            FIELDS(QEL_FIELD_FROM)                                                                 \
            return m;                                                                              \
        }                                                                                          \
    };

#define QEL_NO_FIELDS(F)
