#pragma once

#include "velmora/ranking/AccessRankClock.h"
#include "velmora/ranking/ListStability.h"
#include "velmora/ranking/RankState.h"
#include "velmora/ranking/ScoredItem.h"

#include <QString>

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <QHash>

namespace kestrelkit {
class DefaultsStore;
}

namespace velmora {

// Where the model keeps its two counters and reads the time from.
struct AccessRankEnvironment {
    kestrelkit::DefaultsStore *defaults = nullptr; // null: the standard store
    std::shared_ptr<const AccessRankClock> clock;  // null: the system clock
};

// Receives the model's reports synchronously, in the order the model makes them.
class AccessRankReporter {
public:
    virtual ~AccessRankReporter() = default;
    virtual void rankStateChanged(const QString &id, const SharedRankState &state) = 0;
    virtual void predictionListChanged(const PredictionList &list) = 0;
};

// The AccessRank algorithm itself, single-threaded. `AccessRank` runs one of these on
// its executor; tools may drive one directly. Not thread-safe.
class AccessRankModel {
public:
    static constexpr const char *kInitialItem = "<access_rank_nil>";
    static constexpr const char *kVisitNumberKey = "AccessRank.visitNumber";
    static constexpr const char *kMostRecentItemKey = "AccessRank.mostRecentItemID";

    using Environment = AccessRankEnvironment;

    AccessRankModel(ListStability listStability, int maxVisits, Environment environment = {});
    virtual ~AccessRankModel();
    AccessRankModel(const AccessRankModel &) = delete;
    AccessRankModel &operator=(const AccessRankModel &) = delete;

    void setReporter(AccessRankReporter *reporter) { m_reporter = reporter; }

    [[nodiscard]] ListStability listStability() const { return m_listStability; }
    [[nodiscard]] int maxVisits() const { return m_maxVisits; }
    [[nodiscard]] bool useTimeWeighting() const { return m_useTimeWeighting; }
    void setUseTimeWeighting(bool on) { m_useTimeWeighting = on; }

    // Records a launch; none means "no previous item" from now on.
    void recordVisit(const std::optional<QString> &id);
    // The stored state, or the initial state; stores nothing.
    [[nodiscard]] RankState stateForItem(const QString &id) const;
    // Replaces every state (the hand-over of the stored records); does not recompute.
    void setItems(const std::map<QString, RankState> &items);
    [[nodiscard]] std::map<QString, RankState> items() const;
    void updatePredictionList();
    void updateRanks();
    [[nodiscard]] const PredictionList &predictionList() const { return m_predictionList; }

    // Kept in the defaults, read anew at every use.
    [[nodiscard]] std::int64_t visitNumber() const;
    [[nodiscard]] QString mostRecentItemID() const;

    // Score of one candidate against the current items and clock (for tools and tests).
    [[nodiscard]] double score(const QString &candidate) const;
    [[nodiscard]] double timeWeight(const QString &candidate) const;

protected:
    // The global counter after a visit. Replay experiments override these two; the
    // product uses the definitions here.
    [[nodiscard]] virtual std::int64_t nextVisitNumber(std::int64_t current) const;
    // The recency and frequency weight a candidate is scored with.
    [[nodiscard]] virtual double recencyFrequencyWeight(const RankState &state,
                                                        std::int64_t currentVisitNumber) const;

private:
    struct Impl;
    struct ScoringContext;

    void appendNextVisit(const QString &target, RankState &state, const ClockReading &now) const;
    void store(const QString &id, RankState state);
    void reportState(const QString &id);
    [[nodiscard]] const RankState *find(const QString &id) const;
    [[nodiscard]] ScoringContext scoringContext() const;
    [[nodiscard]] double score(const QString &candidate, const ScoringContext &context) const;
    [[nodiscard]] double timeWeight(const QString &candidate, const ScoringContext &context) const;
    void trimAfterAppend();

    ListStability m_listStability;
    int m_maxVisits;
    bool m_useTimeWeighting = true;
    std::unique_ptr<Impl> d;
    QHash<QString, SharedRankState> m_items;
    PredictionList m_predictionList;
    AccessRankReporter *m_reporter = nullptr;
};

} // namespace velmora
