#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <limits>
#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace velmora {

// One transition: `id` was visited next, at this hour (0-23) and weekday (1 = Sunday).
struct ItemVisit {
    QString id;
    int hour = 0;
    int weekday = 1;

    bool operator==(const ItemVisit &) const = default;
};

// The usage-ranking state of one item, stored inside its AppRecord.
struct RankState {
    static constexpr std::int64_t kNeverRanked = std::numeric_limits<std::int64_t>::max();

    std::map<QString, std::vector<ItemVisit>> nextVisits;
    std::int64_t visitNumber = 0;
    std::int64_t numberOfVisits = 0;
    double timeOfLastVisit = 0.0;
    double crfWeight = 0.0;
    std::int64_t rank = kNeverRanked;

    bool operator==(const RankState &) const = default;

    // Equal to the initial state.
    [[nodiscard]] bool isEmpty() const { return *this == RankState{}; }

    // JSON with the coding keys as member names; doubles keep every bit.
    [[nodiscard]] QByteArray toJson() const;
    // None when the text is not a complete rank state.
    [[nodiscard]] static std::optional<RankState> fromJson(const QByteArray &json);
};

// A state that no one changes any more, shared instead of copied. The ranking model
// keeps handing out the same object while an item's state stays the same.
using SharedRankState = std::shared_ptr<const RankState>;

} // namespace velmora
