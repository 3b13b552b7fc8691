#pragma once

#include <QByteArray>
#include <QJsonValue>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

namespace kestrelkit {

// A per-user key-value store kept in one JSON file. An entry is either a data value
// (bytes, stored base64) or a plain value (a JSON value written as such), and the two
// never read as each other. Every read sees changes other processes made to the file;
// every write is atomic and locked across processes. Thread-safe.
class DefaultsStore {
public:
    explicit DefaultsStore(QString filePath);
    ~DefaultsStore();
    DefaultsStore(const DefaultsStore &) = delete;
    DefaultsStore &operator=(const DefaultsStore &) = delete;

    // The user's store: $XDG_CONFIG_HOME/velmora/defaults.json, read from the environment
    // when first used. Tests point it elsewhere with setStandardPath() before first use
    // or replace it with resetStandard().
    static DefaultsStore &standard();
    static void resetStandard(const QString &filePath);
    [[nodiscard]] static QString standardPath();

    [[nodiscard]] std::optional<QByteArray> data(const QString &key) const;
    [[nodiscard]] std::optional<QJsonValue> plainValue(const QString &key) const;
    [[nodiscard]] bool contains(const QString &key) const;
    [[nodiscard]] QStringList keys() const;

    // Return false (and log why) when the file cannot be written; nothing else changes then.
    bool setData(const QString &key, const QByteArray &bytes);
    bool setPlainValue(const QString &key, const QJsonValue &value);
    bool remove(const QString &key);

    [[nodiscard]] const QString &filePath() const;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

// JSON encoding of a single value as bytes ("true", "640", "\"grid\"", "[...]").
[[nodiscard]] QByteArray encodeJsonValue(const QJsonValue &value);
// The inverse; none when the bytes are not exactly one JSON value.
[[nodiscard]] std::optional<QJsonValue> decodeJsonValue(const QByteArray &bytes);

} // namespace kestrelkit
