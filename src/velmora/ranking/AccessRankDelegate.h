#pragma once

#include "velmora/ranking/RankState.h"
#include "velmora/ranking/ScoredItem.h"

#include <QString>

namespace velmora {

// Receiver of the ranking model's reports, called on the main thread. Implemented by a
// QObject (the launcher view model); AccessRank holds it weakly through that object.
class AccessRankDelegate {
public:
    virtual ~AccessRankDelegate() = default;
    // The state of `id` changed; store it.
    virtual void rankStateDidChange(const QString &id, const RankState &state) = 0;
    // The same report with the model's own immutable copy. The model passes the same
    // object for as long as the item's state stays the same, so a receiver that keeps
    // it can tell an unchanged state by identity instead of comparing every transition.
    virtual void sharedRankStateDidChange(const QString &id, const SharedRankState &state)
    {
        rankStateDidChange(id, *state);
    }
    // The prediction list as it stood when a recomputation ended.
    virtual void predictionListDidChange(const PredictionList &list) = 0;
};

} // namespace velmora
