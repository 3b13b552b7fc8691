#include "velmora/ranking/AccessRankModel.h"

#include "velmora/ranking/StableMergeSort.h"

#include "kestrelkit/Logger.h"
#include "kestrelkit/ObservableUserDefault.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace velmora {

namespace {

const kestrelkit::Logger &log()
{
    static const kestrelkit::Logger logger(QString::fromLatin1(kestrelkit::kBundleIdentifier),
                                           QStringLiteral("AccessRank"));
    return logger;
}

// Transitions counted by hour and weekday. Stored data may hold hours or weekdays out of
// range; they get a bucket of their own so they count exactly where the rules say.
struct TransitionHistogram {
    static constexpr int kHours = 25;    // 0-23, then "not an hour"
    static constexpr int kWeekdays = 8;  // 1-7 at 0-6, then "not a weekday"
    std::array<std::int64_t, kHours * kWeekdays> counts{};
    std::int64_t total = 0;

    static int hourBucket(int hour) { return hour >= 0 && hour <= 23 ? hour : 24; }
    static int weekdayBucket(int weekday) { return weekday >= 1 && weekday <= 7 ? weekday - 1 : 7; }

    void add(const ItemVisit &visit, std::int64_t delta)
    {
        counts[hourBucket(visit.hour) * kWeekdays + weekdayBucket(visit.weekday)] += delta;
        total += delta;
    }
    [[nodiscard]] std::int64_t inHours(int first, int last) const
    {
        std::int64_t sum = 0;
        for (int h = first; h <= last; ++h)
            for (int w = 0; w < kWeekdays; ++w)
                sum += counts[h * kWeekdays + w];
        return sum;
    }
    [[nodiscard]] std::int64_t onWeekdays(int first, int last) const
    {
        std::int64_t sum = 0;
        for (int h = 0; h < kHours; ++h)
            for (int w = first - 1; w <= last - 1; ++w)
                sum += counts[h * kWeekdays + w];
        return sum;
    }
};

struct HourWindow {
    int first;
    int last;
};

// No wrap-around at midnight: 0 gives 0-1, 23 gives 22-23.
HourWindow hourWindow(int hour)
{
    const int h = std::clamp(hour, 0, 23);
    return {std::max(0, h - 1), std::min(23, h + 1)};
}

} // namespace

struct AccessRankModel::Impl {
    Impl(const Environment &environment)
        : clock(environment.clock ? environment.clock : std::make_shared<SystemClock>())
        , visitNumber(QString::fromLatin1(kVisitNumberKey), 0, environment.defaults)
        , mostRecentItemID(QString::fromLatin1(kMostRecentItemKey),
                           QString::fromLatin1(kInitialItem), environment.defaults)
    {
    }

    void countTransitions(const RankState &state, std::int64_t delta)
    {
        for (const auto &[target, visits] : state.nextVisits) {
            TransitionHistogram &into = transitionsInto[target];
            for (const ItemVisit &visit : visits) {
                into.add(visit, delta);
                allTransitions.add(visit, delta);
            }
        }
    }

    std::shared_ptr<const AccessRankClock> clock;
    kestrelkit::ObservableUserDefault<std::int64_t> visitNumber;
    kestrelkit::ObservableUserDefault<QString> mostRecentItemID;
    // Kept in step with every transition list in the items, so a recomputation reads
    // counts instead of walking the lists once per candidate.
    QHash<QString, TransitionHistogram> transitionsInto;
    TransitionHistogram allTransitions;
};

// What a recomputation reads once instead of once per candidate.
struct AccessRankModel::ScoringContext {
    ClockReading now;
    std::int64_t visitNumber = 0;
    const RankState *recent = nullptr;
    double exponent = 1.65;
    HourWindow window{0, 1};
    bool hoursCount = false;    // at least 10 transitions in the hour window
    bool weekdaysCount = false; // at least 10 transitions on this weekday
};

AccessRankModel::AccessRankModel(ListStability listStability, int maxVisits,
                                 Environment environment)
    : m_listStability(listStability)
    , m_maxVisits(std::max(1, maxVisits))
    , d(std::make_unique<Impl>(environment))
{
}

AccessRankModel::~AccessRankModel() = default;

std::int64_t AccessRankModel::visitNumber() const { return d->visitNumber.get(); }

QString AccessRankModel::mostRecentItemID() const { return d->mostRecentItemID.get(); }

std::int64_t AccessRankModel::nextVisitNumber(std::int64_t current) const
{
    return std::min<std::int64_t>(current + 1, m_maxVisits);
}

double AccessRankModel::recencyFrequencyWeight(const RankState &state, std::int64_t) const
{
    return state.crfWeight;
}

const RankState *AccessRankModel::find(const QString &id) const
{
    const auto it = m_items.constFind(id);
    return it == m_items.cend() ? nullptr : it->get();
}

RankState AccessRankModel::stateForItem(const QString &id) const
{
    const RankState *state = find(id);
    return state ? *state : RankState{};
}

void AccessRankModel::store(const QString &id, RankState state)
{
    m_items.insert(id, std::make_shared<const RankState>(std::move(state)));
}

void AccessRankModel::reportState(const QString &id)
{
    if (!m_reporter)
        return;
    const auto it = m_items.constFind(id);
    m_reporter->rankStateChanged(id, it == m_items.cend() ? std::make_shared<const RankState>()
                                                          : *it);
}

void AccessRankModel::setItems(const std::map<QString, RankState> &items)
{
    m_items.clear();
    d->transitionsInto.clear();
    d->allTransitions = {};
    for (const auto &[id, state] : items) {
        store(id, state);
        d->countTransitions(state, +1);
    }
}

std::map<QString, RankState> AccessRankModel::items() const
{
    std::map<QString, RankState> out;
    for (auto it = m_items.cbegin(); it != m_items.cend(); ++it)
        out.emplace(it.key(), *it.value());
    return out;
}

void AccessRankModel::appendNextVisit(const QString &target, RankState &state,
                                      const ClockReading &now) const
{
    std::vector<ItemVisit> &visits = state.nextVisits[target];
    const ItemVisit visit{target, now.hour, now.weekday};
    visits.push_back(visit);
    d->transitionsInto[target].add(visit, +1);
    d->allTransitions.add(visit, +1);
    // Keep the newest maxVisits; the dropped ones leave the counts too.
    const auto excess = static_cast<std::ptrdiff_t>(visits.size()) - m_maxVisits;
    if (excess > 0) {
        for (auto it = visits.begin(); it != visits.begin() + excess; ++it) {
            d->transitionsInto[target].add(*it, -1);
            d->allTransitions.add(*it, -1);
        }
        visits.erase(visits.begin(), visits.begin() + excess);
    }
}

void AccessRankModel::recordVisit(const std::optional<QString> &id)
{
    const QString initial = QString::fromLatin1(kInitialItem);
    if (!id) {
        if (d->mostRecentItemID.get() != initial)
            d->mostRecentItemID.set(initial);
        return;
    }
    const ClockReading now = d->clock->now();
    // One write of the final value, so the stored counter never reads above maxVisits, and
    // none once it stays put: every defaults write is a synced file replacement.
    const std::int64_t counter = d->visitNumber.get();
    const std::int64_t visit = nextVisitNumber(counter);
    if (visit != counter)
        d->visitNumber.set(visit);

    const QString previous = d->mostRecentItemID.get();
    if (previous != *id)
        d->mostRecentItemID.set(*id);

    RankState before = stateForItem(previous);
    appendNextVisit(*id, before, now);
    store(previous, std::move(before));
    reportState(previous);

    RankState visited = stateForItem(*id);
    visited.numberOfVisits += 1;
    visited.timeOfLastVisit = now.secondsSince1970;
    // A state from a later counter (the defaults were reset while the records stayed)
    // would otherwise be multiplied by 2^(0.1 x difference); treat it as just visited.
    std::int64_t elapsed = visit - visited.visitNumber;
    if (elapsed < 0) {
        log().notice(QStringLiteral("Visit number of %1 (%2) is ahead of the counter (%3)")
                         .arg(*id)
                         .arg(visited.visitNumber)
                         .arg(visit));
        elapsed = 0;
    }
    visited.crfWeight = visited.crfWeight * std::pow(2.0, -0.1 * double(elapsed)) + 1.0;
    visited.visitNumber = visit;
    store(*id, std::move(visited));
    reportState(*id);

    updatePredictionList();
    reportState(*id);
}

AccessRankModel::ScoringContext AccessRankModel::scoringContext() const
{
    ScoringContext context;
    context.now = d->clock->now();
    context.visitNumber = d->visitNumber.get();
    context.recent = find(d->mostRecentItemID.get());
    context.exponent = stabilityExponent(m_listStability);
    context.window = hourWindow(context.now.hour);
    context.hoursCount = d->allTransitions.inHours(context.window.first, context.window.last) >= 10;
    const int weekday = std::clamp(context.now.weekday, 1, 7);
    context.weekdaysCount = d->allTransitions.onWeekdays(weekday, weekday) >= 10;
    return context;
}

double AccessRankModel::timeWeight(const QString &candidate, const ScoringContext &context) const
{
    if (!m_useTimeWeighting)
        return 1.0;
    static const TransitionHistogram none;
    const auto it = d->transitionsInto.constFind(candidate);
    const TransitionHistogram &into = it == d->transitionsInto.cend() ? none : *it;

    // Ratios of counts; 0 / 0 is "not a number" and handled by the clamp below.
    const auto ratio = [](double numerator, double denominator) {
        return denominator == 0.0 ? (numerator == 0.0 ? std::nan("") : HUGE_VAL)
                                  : numerator / denominator;
    };
    double weight = 1.0;
    if (context.hoursCount) {
        // All eight three-hour windows together: every transition with a real hour.
        const double allHours = double(into.inHours(0, 23));
        weight = ratio(double(into.inHours(context.window.first, context.window.last)),
                       0.125 * allHours);
    }
    if (context.weekdaysCount) {
        const int weekday = std::clamp(context.now.weekday, 1, 7);
        weight *= ratio(double(into.onWeekdays(weekday, weekday)),
                        double(into.onWeekdays(1, 7)) / 7.0);
    }
    if (std::isnan(weight) || weight >= 1.25)
        weight = 1.25;
    else if (weight <= 0.8)
        weight = 0.8;
    return std::pow(weight, 0.25);
}

double AccessRankModel::score(const QString &candidate, const ScoringContext &context) const
{
    double markov = 1.0;
    if (context.recent) {
        const auto it = context.recent->nextVisits.find(candidate);
        const double transitions =
            it == context.recent->nextVisits.end() ? 0.0 : double(it->second.size());
        markov = (transitions + 1.0) / (double(context.recent->numberOfVisits) + 1.0);
    }
    const RankState *state = find(candidate);
    const double crf = state ? recencyFrequencyWeight(*state, context.visitNumber) : 0.0;
    if (crf == 0.0)
        return 0.0;
    return std::pow(markov, context.exponent) * std::pow(crf, 1.0 / context.exponent)
           * timeWeight(candidate, context);
}

double AccessRankModel::score(const QString &candidate) const
{
    return score(candidate, scoringContext());
}

double AccessRankModel::timeWeight(const QString &candidate) const
{
    return timeWeight(candidate, scoringContext());
}

void AccessRankModel::updatePredictionList()
{
    struct Entry {
        QString id;
        double score = 0.0;
        std::int64_t rank = 0;
        double timeOfLastVisit = 0.0;
    };
    const ScoringContext context = scoringContext();
    std::vector<Entry> entries;
    entries.reserve(std::size_t(m_items.size()));
    for (auto it = m_items.cbegin(); it != m_items.cend(); ++it) {
        const RankState &state = *it.value();
        if (state.isEmpty())
            continue;
        entries.push_back({it.key(), score(it.key(), context), state.rank, state.timeOfLastVisit});
    }

    const double bonus = stabilityBonus(m_listStability);
    stableMergeSort(entries, [bonus](const Entry &a, const Entry &b) {
        double sa = a.score;
        double sb = b.score;
        // Only the item already ranked higher is helped, and only when it is behind.
        if (a.rank < b.rank && sb > sa)
            sa += bonus;
        else if (b.rank < a.rank && sa > sb)
            sb += bonus;
        if (sa != sb)
            return sa > sb;
        return a.timeOfLastVisit > b.timeOfLastVisit;
    });

    m_predictionList.clear();
    m_predictionList.reserve(entries.size() + 1);
    for (Entry &entry : entries)
        m_predictionList.push_back({std::move(entry.id), entry.score});

    updateRanks();

    // New item: listed once more at the end until its second visit.
    const QString recent = d->mostRecentItemID.get();
    const RankState *recentState = find(recent);
    if (recentState && recent != QLatin1String(kInitialItem) && recentState->numberOfVisits == 1) {
        m_predictionList.push_back({recent, 0.0});
        trimAfterAppend();
    }
    if (m_reporter)
        m_reporter->predictionListChanged(m_predictionList);
}

void AccessRankModel::trimAfterAppend()
{
    // The list is sorted best first with the new item appended; when it is too long the
    // worst-ranked sorted entries go, never the best ones and never the new item.
    const auto size = static_cast<std::ptrdiff_t>(m_predictionList.size());
    const std::ptrdiff_t excess = size - m_maxVisits;
    if (excess <= 0)
        return;
    m_predictionList.erase(m_predictionList.end() - 1 - excess, m_predictionList.end() - 1);
}

void AccessRankModel::updateRanks()
{
    for (std::size_t i = 0; i < m_predictionList.size(); ++i) {
        const QString &id = m_predictionList[i].id;
        const auto rank = static_cast<std::int64_t>(i);
        const RankState *current = find(id);
        if (!current) {
            RankState fresh;
            fresh.rank = rank;
            store(id, std::move(fresh));
        } else if (current->rank != rank) {
            RankState changed = *current;
            changed.rank = rank;
            store(id, std::move(changed));
        }
        reportState(id);
    }
}

} // namespace velmora
