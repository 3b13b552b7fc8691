#pragma once

#include <QString>

#include <utility>

namespace velmora {

// Success, or a failure with a reason meant for a person.
class [[nodiscard]] OperationResult {
public:
    static OperationResult success() { return OperationResult(true, {}); }
    static OperationResult failure(QString reason) {
        return OperationResult(false, std::move(reason));
    }

    [[nodiscard]] bool ok() const { return m_ok; }
    explicit operator bool() const { return m_ok; }
    // Empty on success.
    [[nodiscard]] const QString &error() const { return m_error; }

private:
    OperationResult(bool ok, QString error)
        : m_ok(ok)
        , m_error(std::move(error)) {}
    bool m_ok;
    QString m_error;
};

} // namespace velmora
