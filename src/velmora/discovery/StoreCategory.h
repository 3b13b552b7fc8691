#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace velmora {

// An application-store category, stored by its raw value ("public.app-category.games").
// Declaration order is the iteration order.
enum class StoreCategory {
    business,
    developer_tools,
    education,
    entertainment,
    finance,
    games,
    action_games,
    adventure_games,
    arcade_games,
    board_games,
    card_games,
    casino_games,
    dice_games,
    educational_games,
    family_games,
    kids_games,
    music_games,
    puzzle_games,
    racing_games,
    role_playing_games,
    simulation_games,
    sports_games,
    strategy_games,
    trivia_games,
    word_games,
    graphics_design,
    healthcare_fitness,
    lifestyle,
    medical,
    music,
    news,
    photography,
    productivity,
    reference,
    social_networking,
    sports,
    travel,
    utilities,
    video,
    weather,
};

inline constexpr int kStoreCategoryCount = 40;

// All cases, in declaration order.
[[nodiscard]] const std::array<StoreCategory, kStoreCategoryCount> &allStoreCategories();

// Exact, case-sensitive match against the raw values; anything else is none.
[[nodiscard]] std::optional<StoreCategory> storeCategoryFromRawValue(const QString &raw);

[[nodiscard]] QString rawValue(StoreCategory category);
[[nodiscard]] QString symbolName(StoreCategory category);

// The English display name through Qt's translation ("StoreCategory" context); none only
// when no translation table entry exists (never for the forty known cases).
[[nodiscard]] std::optional<QString> localizedTitle(StoreCategory category);

// The store category of a desktop entry from its freedesktop Categories list: the first
// additional category that maps wins, then the first main category that maps.
[[nodiscard]] std::optional<StoreCategory>
storeCategoryFromDesktopCategories(const QStringList &categories);

// Adapters for ObservableUserDefault's raw storage.
[[nodiscard]] inline QString toRaw(StoreCategory c) { return rawValue(c); }
[[nodiscard]] inline std::optional<StoreCategory> fromRaw(const QString &raw, StoreCategory *)
{
    return storeCategoryFromRawValue(raw);
}

} // namespace velmora
