#pragma once

#include <QString>
#include <QUuid>

#include <variant>

namespace velmora {

// An identifier a view registers its frame under: an integer, a string (an application's
// path) or a UUID (a category). Identifiers of different types never match: 3 is not "3".
class ScrollId {
public:
    ScrollId(int value) : m_value(qint64(value)) {}
    ScrollId(qint64 value) : m_value(value) {}
    ScrollId(const QString &value) : m_value(value) {}
    ScrollId(const char *value) : m_value(QString::fromUtf8(value)) {}
    ScrollId(const QUuid &value) : m_value(value) {}

    // The identifier as text, for messages.
    [[nodiscard]] QString description() const;

    bool operator==(const ScrollId &) const = default;

    friend size_t qHash(const ScrollId &id, size_t seed) noexcept;

private:
    std::variant<qint64, QString, QUuid> m_value;
};

} // namespace velmora
