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
    // The prediction list as it stood when a recomputation ended.
    virtual void predictionListDidChange(const PredictionList &list) = 0;
};

} // namespace velmora
