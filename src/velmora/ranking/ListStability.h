#pragma once

#include <QString>

#include <optional>

namespace velmora {

// How strongly the prediction list resists reordering when scores are close.
enum class ListStability { low, medium, high };

// Added to the score of the item already ranked higher when it is behind on score.
[[nodiscard]] double stabilityBonus(ListStability stability);
// The exponent e of the score formula.
[[nodiscard]] double stabilityExponent(ListStability stability);

// Stored raw values: "low", "medium", "high".
[[nodiscard]] QString toRaw(ListStability stability);
[[nodiscard]] std::optional<ListStability> fromRaw(const QString &raw, ListStability *);

} // namespace velmora
