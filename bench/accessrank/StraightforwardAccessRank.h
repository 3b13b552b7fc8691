#pragma once

// The ranking rules written the plain way: every candidate walks every transition of
// every state, states live in one ordered map and are copied for each report. Kept as
// the benchmark's baseline and as the tests' reference for the scores.

#include "velmora/ranking/AccessRankClock.h"
#include "velmora/ranking/ListStability.h"
#include "velmora/ranking/RankState.h"
#include "velmora/ranking/ScoredItem.h"
#include "velmora/ranking/StableMergeSort.h"

#include <QString>

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <optional>

namespace velmora::straightforward {

using Items = std::map<QString, RankState>;

inline double timeWeight(const Items &items, const QString &candidate, const ClockReading &now)
{
    const int first = std::max(0, now.hour - 1);
    const int last = std::min(23, now.hour + 1);
    const auto inWindow = [&](const ItemVisit &v) { return v.hour >= first && v.hour <= last; };

    long hourAll = 0;
    long weekdayAll = 0;
    for (const auto &[id, state] : items)
        for (const auto &[target, visits] : state.nextVisits)
            for (const ItemVisit &v : visits) {
                hourAll += inWindow(v) ? 1 : 0;
                weekdayAll += v.weekday == now.weekday ? 1 : 0;
            }
    const auto countInto = [&](const std::function<bool(const ItemVisit &)> &pred) {
        long n = 0;
        for (const auto &[id, state] : items) {
            const auto it = state.nextVisits.find(candidate);
            if (it == state.nextVisits.end())
                continue;
            for (const ItemVisit &v : it->second)
                n += pred(v) ? 1 : 0;
        }
        return double(n);
    };
    double hourRatio = 1.0;
    if (hourAll >= 10) {
        double windows = 0.0;
        for (int start = 0; start < 24; start += 3)
            windows += countInto(
                [start](const ItemVisit &v) { return v.hour >= start && v.hour <= start + 2; });
        hourRatio = countInto(inWindow) / (0.125 * windows);
    }
    double weight = hourRatio;
    if (weekdayAll >= 10) {
        double days = 0.0;
        for (int day = 1; day <= 7; ++day)
            days += countInto([day](const ItemVisit &v) { return v.weekday == day; });
        weight = hourRatio
                 * (countInto([&](const ItemVisit &v) { return v.weekday == now.weekday; })
                    / (days / 7.0));
    }
    if (std::isnan(weight) || weight >= 1.25)
        weight = 1.25;
    else if (weight <= 0.8)
        weight = 0.8;
    return std::pow(weight, 0.25);
}

inline double score(const Items &items, const QString &mostRecent, const QString &candidate,
                    const ClockReading &now, ListStability stability, bool useTimeWeighting)
{
    double markov = 1.0;
    if (const auto m = items.find(mostRecent); m != items.end()) {
        const auto it = m->second.nextVisits.find(candidate);
        const double n = it == m->second.nextVisits.end() ? 0.0 : double(it->second.size());
        markov = (n + 1.0) / (double(m->second.numberOfVisits) + 1.0);
    }
    const auto c = items.find(candidate);
    const double crf = c == items.end() ? 0.0 : c->second.crfWeight;
    if (crf == 0.0)
        return 0.0;
    const double e = stabilityExponent(stability);
    return std::pow(markov, e) * std::pow(crf, 1.0 / e)
           * (useTimeWeighting ? timeWeight(items, candidate, now) : 1.0);
}

// The whole model, plainly: counters in members instead of the defaults.
class Model {
public:
    using Report = std::function<void(const QString &, const RankState &)>;

    Model(ListStability stability, int maxVisits, const AccessRankClock &clock)
        : m_stability(stability)
        , m_maxVisits(maxVisits)
        , m_clock(clock)
    {
    }

    void setReport(Report report) { m_report = std::move(report); }
    void setItems(Items items) { m_items = std::move(items); }
    [[nodiscard]] const Items &items() const { return m_items; }
    [[nodiscard]] const PredictionList &predictionList() const { return m_list; }

    void recordVisit(const std::optional<QString> &id)
    {
        const QString nil = QStringLiteral("<access_rank_nil>");
        if (!id) {
            m_mostRecent = nil;
            return;
        }
        m_visitNumber = std::min<long>(m_visitNumber + 1, m_maxVisits);
        const QString previous = m_mostRecent;
        m_mostRecent = *id;
        const ClockReading now = m_clock.now();
        RankState p = state(previous);
        auto &list = p.nextVisits[*id];
        list.push_back({*id, now.hour, now.weekday});
        if (list.size() > std::size_t(m_maxVisits))
            list.erase(list.begin(), list.end() - m_maxVisits);
        m_items[previous] = p;
        report(previous);
        RankState s = state(*id);
        s.numberOfVisits += 1;
        s.timeOfLastVisit = now.secondsSince1970;
        s.crfWeight = s.crfWeight * std::pow(2.0, -0.1 * double(m_visitNumber - s.visitNumber)) + 1;
        s.visitNumber = m_visitNumber;
        m_items[*id] = s;
        report(*id);
        updatePredictionList();
        report(*id);
    }

    void updatePredictionList()
    {
        const ClockReading now = m_clock.now();
        m_list.clear();
        for (const auto &[id, st] : m_items)
            if (!st.isEmpty())
                m_list.push_back({id, score(m_items, m_mostRecent, id, now, m_stability, true)});
        const double bonus = stabilityBonus(m_stability);
        stableMergeSort(m_list, [&](const ScoredItem &a, const ScoredItem &b) {
            const RankState ra = state(a.id);
            const RankState rb = state(b.id);
            double sa = a.score;
            double sb = b.score;
            if (ra.rank < rb.rank && sb > sa)
                sa += bonus;
            else if (rb.rank < ra.rank && sa > sb)
                sb += bonus;
            if (sa != sb)
                return sa > sb;
            return ra.timeOfLastVisit > rb.timeOfLastVisit;
        });
        updateRanks();
        if (m_mostRecent != QLatin1String("<access_rank_nil>")
            && state(m_mostRecent).numberOfVisits == 1) {
            m_list.push_back({m_mostRecent, 0.0});
            if (m_list.size() > std::size_t(m_maxVisits))
                m_list.erase(m_list.end() - 1 - (long(m_list.size()) - m_maxVisits),
                             m_list.end() - 1);
        }
    }

    void updateRanks()
    {
        for (std::size_t i = 0; i < m_list.size(); ++i) {
            RankState s = state(m_list[i].id);
            s.rank = long(i);
            m_items[m_list[i].id] = s;
            report(m_list[i].id);
        }
    }

private:
    [[nodiscard]] RankState state(const QString &id) const
    {
        const auto it = m_items.find(id);
        return it == m_items.end() ? RankState{} : it->second;
    }
    void report(const QString &id)
    {
        if (m_report)
            m_report(id, RankState(m_items[id]));
    }

    ListStability m_stability;
    long m_maxVisits;
    const AccessRankClock &m_clock;
    Report m_report;
    Items m_items;
    PredictionList m_list;
    long m_visitNumber = 0;
    QString m_mostRecent = QStringLiteral("<access_rank_nil>");
};

} // namespace velmora::straightforward
