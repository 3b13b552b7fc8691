#pragma once

#include <QString>

#include <optional>

namespace velmora {

// Marks the three special categories. Stored by its raw string.
enum class ReservedType { pinned, hidden, notCategorized };

// "pinned", "hidden", "notCategorized".
[[nodiscard]] QString rawValue(ReservedType type);
// None for any other string.
[[nodiscard]] std::optional<ReservedType> reservedTypeFromRawValue(const QString &raw);

} // namespace velmora
