#pragma once

#include "velmora/ranking/AccessRankModel.h"

#include <algorithm>
#include <cmath>

// The product's model with the replay's two experimental switches. They exist only here,
// so that their effect can be measured before anyone proposes them for the product.
class ExperimentalAccessRankModel final : public velmora::AccessRankModel {
public:
    struct Switches {
        bool unboundedVisitCounter = false; // the global counter grows past maxVisits
        bool decayedCrf = false;            // weights decayed to the present when scored
    };

    ExperimentalAccessRankModel(velmora::ListStability stability, int maxVisits,
                                velmora::AccessRankEnvironment environment, Switches switches)
        : AccessRankModel(stability, maxVisits, std::move(environment))
        , m_switches(switches)
    {
    }

protected:
    [[nodiscard]] std::int64_t nextVisitNumber(std::int64_t current) const override
    {
        return m_switches.unboundedVisitCounter ? current + 1
                                                : AccessRankModel::nextVisitNumber(current);
    }
    [[nodiscard]] double recencyFrequencyWeight(const velmora::RankState &state,
                                                std::int64_t currentVisitNumber) const override
    {
        if (!m_switches.decayedCrf)
            return state.crfWeight;
        const auto elapsed = std::max<std::int64_t>(0, currentVisitNumber - state.visitNumber);
        return state.crfWeight * std::pow(2.0, -0.1 * double(elapsed));
    }

private:
    Switches m_switches;
};
