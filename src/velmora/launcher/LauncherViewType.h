#pragma once

#include <QString>

#include <optional>

namespace velmora {

// How the launcher presents its applications; stored by the raw value.
enum class LauncherViewType { grid, list };

// "grid", "list".
[[nodiscard]] QString toRaw(LauncherViewType type);
// None for any other string.
[[nodiscard]] std::optional<LauncherViewType> fromRaw(const QString &raw, LauncherViewType *);

} // namespace velmora
