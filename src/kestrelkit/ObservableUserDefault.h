#pragma once

#include "kestrelkit/DefaultsStore.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QMetaObject>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <cmath>
#include <concepts>
#include <limits>
#include <functional>
#include <optional>
#include <type_traits>

namespace kestrelkit {

// How a value type becomes JSON and back. Specialise for own types; a failed decode
// is none, a failed encode is none (the entry is then removed).
template <typename T>
struct JsonCoding;

template <>
struct JsonCoding<bool> {
    static std::optional<QJsonValue> encode(bool v) { return QJsonValue(v); }
    static std::optional<bool> decode(const QJsonValue &j)
    {
        return j.isBool() ? std::optional<bool>(j.toBool()) : std::nullopt;
    }
};

template <>
struct JsonCoding<double> {
    static std::optional<QJsonValue> encode(double v)
    {
        if (!std::isfinite(v))
            return std::nullopt; // JSON has no NaN or infinity
        return QJsonValue(v);
    }
    static std::optional<double> decode(const QJsonValue &j)
    {
        return j.isDouble() ? std::optional<double>(j.toDouble()) : std::nullopt;
    }
};

template <std::integral T>
    requires(!std::same_as<T, bool>)
struct JsonCoding<T> {
    static std::optional<QJsonValue> encode(T v) { return QJsonValue(static_cast<qint64>(v)); }
    static std::optional<T> decode(const QJsonValue &j)
    {
        if (!j.isDouble())
            return std::nullopt;
        const double d = j.toDouble();
        if (d != std::floor(d) || d < double(std::numeric_limits<T>::lowest())
            || d > double(std::numeric_limits<T>::max()))
            return std::nullopt;
        return static_cast<T>(j.toInteger());
    }
};

template <>
struct JsonCoding<QString> {
    static std::optional<QJsonValue> encode(const QString &v) { return QJsonValue(v); }
    static std::optional<QString> decode(const QJsonValue &j)
    {
        return j.isString() ? std::optional<QString>(j.toString()) : std::nullopt;
    }
};

template <>
struct JsonCoding<QStringList> {
    static std::optional<QJsonValue> encode(const QStringList &v)
    {
        return QJsonValue(QJsonArray::fromStringList(v));
    }
    static std::optional<QStringList> decode(const QJsonValue &j)
    {
        if (!j.isArray())
            return std::nullopt;
        QStringList out;
        for (const QJsonValue &item : j.toArray()) {
            if (!item.isString())
                return std::nullopt;
            out.append(item.toString());
        }
        return out;
    }
};

// Raw-representable types: a `toRaw(T)` returning the raw value and a `fromRaw(raw)`
// returning std::optional<T>, found by argument-dependent lookup.
template <typename T>
concept RawRepresentable = requires(T v) {
    { toRaw(v) };
    { fromRaw(toRaw(v), static_cast<T *>(nullptr)) } -> std::same_as<std::optional<T>>;
};

// The three ways a value is kept in the defaults.
enum class DefaultsStorage {
    Json,  // the value's JSON encoding, as data
    Raw,   // the raw value, as a plain value
    Plain, // the value itself, as a plain value
};

namespace detail {
template <typename T>
std::optional<QJsonValue> plainEncode(const T &v)
{
    return JsonCoding<T>::encode(v);
}
template <typename T>
std::optional<T> plainDecode(const QJsonValue &j)
{
    return JsonCoding<T>::decode(j);
}
} // namespace detail

// One defaults entry as a typed value. Reads go to the store every time; a write first
// queues the owner's change announcement on the owner's (main) thread, then stores at once.
template <typename T, DefaultsStorage Storage = DefaultsStorage::Json>
class ObservableUserDefault {
public:
    ObservableUserDefault(QString key, T defaultValue, DefaultsStore *store = nullptr)
        : m_key(std::move(key))
        , m_default(std::move(defaultValue))
        , m_store(store)
    {
    }

    // `announce` runs queued on `owner`'s thread after each write (e.g. emit a NOTIFY signal).
    void setObserver(QObject *owner, std::function<void()> announce)
    {
        m_owner = owner;
        m_announce = std::move(announce);
    }

    [[nodiscard]] T get() const
    {
        DefaultsStore &s = store();
        if constexpr (Storage == DefaultsStorage::Json) {
            const auto bytes = s.data(m_key);
            if (!bytes)
                return m_default;
            const auto json = decodeJsonValue(*bytes);
            if (!json)
                return m_default;
            return JsonCoding<T>::decode(*json).value_or(m_default);
        } else if constexpr (Storage == DefaultsStorage::Raw) {
            const auto plain = s.plainValue(m_key);
            if (!plain)
                return m_default;
            using RawT = std::decay_t<decltype(toRaw(std::declval<T>()))>;
            const auto raw = detail::plainDecode<RawT>(*plain);
            if (!raw)
                return m_default;
            return fromRaw(*raw, static_cast<T *>(nullptr)).value_or(m_default);
        } else {
            const auto plain = s.plainValue(m_key);
            if (!plain)
                return m_default;
            return detail::plainDecode<T>(*plain).value_or(m_default);
        }
    }

    void set(const T &value)
    {
        if (m_owner && m_announce) {
            QMetaObject::invokeMethod(
                m_owner.data(), [owner = m_owner, announce = m_announce] {
                    if (owner)
                        announce();
                },
                Qt::QueuedConnection);
        }
        DefaultsStore &s = store();
        if constexpr (Storage == DefaultsStorage::Json) {
            const auto json = JsonCoding<T>::encode(value);
            if (json)
                s.setData(m_key, encodeJsonValue(*json));
            else
                s.remove(m_key);
        } else if constexpr (Storage == DefaultsStorage::Raw) {
            using RawT = std::decay_t<decltype(toRaw(value))>;
            const auto plain = detail::plainEncode<RawT>(toRaw(value));
            if (plain)
                s.setPlainValue(m_key, *plain);
            else
                s.remove(m_key);
        } else {
            const auto plain = detail::plainEncode<T>(value);
            if (plain)
                s.setPlainValue(m_key, *plain);
            else
                s.remove(m_key);
        }
    }

    [[nodiscard]] const QString &key() const { return m_key; }
    [[nodiscard]] const T &defaultValue() const { return m_default; }

private:
    DefaultsStore &store() const { return m_store ? *m_store : DefaultsStore::standard(); }

    QString m_key;
    T m_default;
    DefaultsStore *m_store;
    QPointer<QObject> m_owner;
    std::function<void()> m_announce;
};

} // namespace kestrelkit
