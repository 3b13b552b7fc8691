#include "velmora/ranking/AccessRankModel.h"

#include "StraightforwardAccessRank.h"

#include "kestrelkit/DefaultsStore.h"
#include "kestrelkit/ObservableUserDefault.h"

#include <QDateTime>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <memory>

using namespace velmora;

namespace {

const QString nil = QStringLiteral("<access_rank_nil>");

// Seconds since 1970 of a day in the week of Sunday 2026-12-06 (weekday 1), UTC.
double at(int weekday, int hour, int minute = 30)
{
    const QDateTime t(QDate(2026, 12, 5 + weekday), QTime(hour, minute), QTimeZone::utc());
    return double(t.toSecsSinceEpoch());
}

// Everything the model reports, in order, with the state as it was reported.
struct Recorder final : AccessRankReporter {
    struct Report {
        QString id;          // empty for the list
        RankState state;
        PredictionList list;
    };
    std::vector<Report> reports;

    void rankStateChanged(const QString &id, const SharedRankState &state) override
    {
        reports.push_back({id, *state, {}});
    }
    void predictionListChanged(const PredictionList &list) override
    {
        reports.push_back({QString(), {}, list});
    }
    [[nodiscard]] QStringList order() const
    {
        QStringList out;
        for (const Report &r : reports)
            out << (r.id.isEmpty() ? QStringLiteral("list") : r.id);
        return out;
    }
};

// A model with its own defaults file and a clock the test sets.
struct Fixture {
    explicit Fixture(ListStability stability = ListStability::medium, int maxVisits = 1000)
        : store(dir.filePath(QStringLiteral("defaults.json")))
        , clock(std::make_shared<ManualClock>(at(2, 12), QTimeZone::utc()))
    {
        model = makeModel(stability, maxVisits);
    }
    std::unique_ptr<AccessRankModel> makeModel(ListStability stability, int maxVisits)
    {
        auto m = std::make_unique<AccessRankModel>(stability, maxVisits,
                                                   AccessRankEnvironment{&store, clock});
        m->setReporter(&recorder);
        return m;
    }
    void visit(const QString &id, double when)
    {
        clock->setTime(when);
        model->recordVisit(id);
    }
    void setMostRecent(const QString &id)
    {
        kestrelkit::ObservableUserDefault<QString>(AccessRankModel::kMostRecentItemKey, nil, &store)
            .set(id);
    }
    QStringList listIds() const
    {
        QStringList ids;
        for (const ScoredItem &item : model->predictionList())
            ids << item.id;
        return ids;
    }

    QTemporaryDir dir;
    kestrelkit::DefaultsStore store;
    std::shared_ptr<ManualClock> clock;
    Recorder recorder;
    std::unique_ptr<AccessRankModel> model;
};

// A state that scores exactly `score` when nothing was visited before it and time
// weighting is off: the Markov weight is 1, so score = crfWeight^(1/e).
RankState scoring(double score, ListStability stability, std::int64_t rank, double time = 1.0)
{
    RankState s;
    s.numberOfVisits = 1;
    s.crfWeight = std::pow(score, stabilityExponent(stability));
    s.rank = rank;
    s.timeOfLastVisit = time;
    return s;
}

// "A@23/1*9,B@0/2" -> transitions from one source: target@hour/weekday, repeated *n times.
RankState transitions(const QString &text)
{
    RankState s;
    s.numberOfVisits = 1;
    for (const QString &part : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QString target = part.section(QLatin1Char('@'), 0, 0);
        const QString rest = part.section(QLatin1Char('@'), 1);
        const int hour = rest.section(QLatin1Char('/'), 0, 0).toInt();
        const QString wdAndCount = rest.section(QLatin1Char('/'), 1);
        const int weekday = wdAndCount.section(QLatin1Char('*'), 0, 0).toInt();
        const int count = wdAndCount.contains(QLatin1Char('*'))
                              ? wdAndCount.section(QLatin1Char('*'), 1).toInt()
                              : 1;
        for (int i = 0; i < count; ++i)
            s.nextVisits[target].push_back({target, hour, weekday});
    }
    return s;
}

} // namespace

class AccessRankModelTest : public QObject {
    Q_OBJECT
private slots:
    void firstLaunchEverListsTheItemTwice()
    {
        Fixture f;
        f.visit(QStringLiteral("/apps/Mail"), at(2, 9));

        const RankState nilState = f.model->stateForItem(nil);
        QCOMPARE(nilState.nextVisits.size(), std::size_t(1));
        QCOMPARE(nilState.nextVisits.at(QStringLiteral("/apps/Mail")),
                 (std::vector<ItemVisit>{{QStringLiteral("/apps/Mail"), 9, 2}}));
        const PredictionList &list = f.model->predictionList();
        QCOMPARE(list.size(), std::size_t(3));
        QCOMPARE(list[0].id, QStringLiteral("/apps/Mail"));
        QVERIFY(list[0].score > 0.0);
        QCOMPARE(list[1], (ScoredItem{nil, 0.0}));
        QCOMPARE(list[2], (ScoredItem{QStringLiteral("/apps/Mail"), 0.0}));
        QCOMPARE(f.model->visitNumber(), 1);
        QCOMPARE(f.model->mostRecentItemID(), QStringLiteral("/apps/Mail"));
        // The second visit ends the double listing.
        f.visit(QStringLiteral("/apps/Mail"), at(2, 10));
        QCOMPARE(f.listIds(), (QStringList{QStringLiteral("/apps/Mail"), nil}));
    }

    // previous, visited, one per list entry in list order, the list, visited again.
    void visitReportsInOrderWithCopiesTakenWhenReported()
    {
        Fixture f;
        f.visit(QStringLiteral("A"), at(2, 9));
        f.recorder.reports.clear();
        f.visit(QStringLiteral("B"), at(2, 10));

        // B is new, so the list ends with its extra entry, which updateRanks never saw.
        QStringList ranked = f.listIds();
        QCOMPARE(ranked.takeLast(), QStringLiteral("B"));
        QStringList expected{QStringLiteral("A"), QStringLiteral("B")};
        expected << ranked << QStringLiteral("list") << QStringLiteral("B");
        QCOMPARE(f.recorder.order(), expected);
        const auto &reports = f.recorder.reports;
        // The visited item's first report predates its ranking; the last one has it.
        QCOMPARE(reports[1].state.rank, RankState::kNeverRanked);
        QCOMPARE(reports.back().state.rank, std::int64_t(f.listIds().indexOf(QStringLiteral("B"))));
        QCOMPARE(reports.back().state, f.model->stateForItem(QStringLiteral("B")));
        QCOMPARE(reports[reports.size() - 2].list, f.model->predictionList());
        QCOMPARE(reports[0].state.nextVisits.at(QStringLiteral("B")).size(), std::size_t(1));
    }

    void recencyAndFrequencyDecayWithTheGlobalCounter()
    {
        Fixture f;
        f.visit(QStringLiteral("A"), at(2, 9));
        QCOMPARE(f.model->stateForItem(QStringLiteral("A")).crfWeight, 1.0);
        f.visit(QStringLiteral("B"), at(2, 10));
        f.visit(QStringLiteral("A"), at(2, 11));
        const RankState a = f.model->stateForItem(QStringLiteral("A"));
        QCOMPARE(a.crfWeight, std::pow(2.0, -0.2) + 1.0);
        QCOMPARE(a.visitNumber, 3);
        QCOMPARE(a.numberOfVisits, 2);
        QCOMPARE(a.timeOfLastVisit, at(2, 11));
    }

    void counterStopsAtMaxVisitsAndEachVisitThenAddsOne()
    {
        Fixture f(ListStability::medium, 3);
        for (int i = 0; i < 5; ++i)
            f.visit(i % 2 ? QStringLiteral("B") : QStringLiteral("A"), at(2, 9) + i);
        QCOMPARE(f.model->visitNumber(), 3);
        const double before = f.model->stateForItem(QStringLiteral("A")).crfWeight;
        f.visit(QStringLiteral("A"), at(2, 10));
        QCOMPARE(f.model->stateForItem(QStringLiteral("A")).crfWeight, before + 1.0);
    }

    // A reset defaults file with records kept: the state's counter is ahead of the
    // global one. The weight must not be multiplied by 2^(0.1 x 500).
    void stateAheadOfTheCounterIsNotInflated()
    {
        Fixture f;
        RankState ahead;
        ahead.visitNumber = 500;
        ahead.numberOfVisits = 40;
        ahead.crfWeight = 3.5;
        f.model->setItems({{QStringLiteral("A"), ahead}});
        f.visit(QStringLiteral("A"), at(2, 9));
        const RankState a = f.model->stateForItem(QStringLiteral("A"));
        QCOMPARE(a.crfWeight, 4.5);
        QCOMPARE(a.visitNumber, 1);
    }

    void visitWithoutIdentifierOnlyResetsTheLastItem()
    {
        Fixture f;
        f.visit(QStringLiteral("A"), at(2, 9));
        const auto itemsBefore = f.model->items();
        const auto listBefore = f.model->predictionList();
        f.recorder.reports.clear();
        f.model->recordVisit(std::nullopt);
        QCOMPARE(f.model->mostRecentItemID(), nil);
        QCOMPARE(f.model->visitNumber(), 1);
        QVERIFY(f.recorder.reports.empty());
        QVERIFY(f.model->items() == itemsBefore);
        QCOMPARE(f.model->predictionList(), listBefore);

        f.visit(QStringLiteral("B"), at(2, 10));
        QCOMPARE(f.model->stateForItem(nil).nextVisits.count(QStringLiteral("B")), std::size_t(1));
        QCOMPARE(f.model->stateForItem(QStringLiteral("A")).nextVisits.size(), std::size_t(0));
    }

    void countersSurviveARestartUnderTheirKeys()
    {
        Fixture f;
        f.visit(QStringLiteral("A"), at(2, 9));
        f.visit(QStringLiteral("B"), at(2, 10));
        f.model = f.makeModel(ListStability::medium, 1000);
        QCOMPARE(f.model->visitNumber(), 2);
        QCOMPARE(f.model->mostRecentItemID(), QStringLiteral("B"));
        QCOMPARE(f.store.data(QStringLiteral("AccessRank.visitNumber")), QByteArray("2"));
        QCOMPARE(f.store.data(QStringLiteral("AccessRank.mostRecentItemID")), QByteArray("\"B\""));
        // The first visit after the restart is a transition from the last item before it.
        f.visit(QStringLiteral("A"), at(2, 11));
        QCOMPARE(f.model->stateForItem(QStringLiteral("B")).nextVisits.count(QStringLiteral("A")),
                 std::size_t(1));
        QCOMPARE(f.model->stateForItem(QStringLiteral("A")).visitNumber, 3);
    }

    void stabilityBonusHelpsOnlyTheHigherRankedItem_data()
    {
        QTest::addColumn<ListStability>("stability");
        QTest::addColumn<double>("firstScore");   // ranked 0
        QTest::addColumn<double>("secondScore");  // ranked 1
        QTest::addColumn<QString>("expectedFirst");
        QTest::newRow("medium keeps a 0.15 lead out") << ListStability::medium << 1.0 << 1.15 << "A";
        QTest::newRow("medium yields to a 0.25 lead") << ListStability::medium << 1.0 << 1.25 << "B";
        QTest::newRow("low has no bonus") << ListStability::low << 1.0 << 1.15 << "B";
        QTest::newRow("high keeps a 0.45 lead out") << ListStability::high << 1.0 << 1.45 << "A";
        QTest::newRow("lower-ranked item ahead gets nothing") << ListStability::medium << 1.1 << 1.0 << "A";
    }
    void stabilityBonusHelpsOnlyTheHigherRankedItem()
    {
        QFETCH(ListStability, stability);
        QFETCH(double, firstScore);
        QFETCH(double, secondScore);
        QFETCH(QString, expectedFirst);
        Fixture f(stability);
        f.model->setUseTimeWeighting(false);
        f.model->setItems({{QStringLiteral("A"), scoring(firstScore, stability, 0)},
                           {QStringLiteral("B"), scoring(secondScore, stability, 1)}});
        f.model->updatePredictionList();
        QCOMPARE(f.listIds().first(), expectedFirst);
        QCOMPARE(f.model->stateForItem(expectedFirst).rank, 0);
    }

    void equalScoresGoByTheLaterVisit()
    {
        Fixture f(ListStability::low);
        f.model->setUseTimeWeighting(false);
        f.model->setItems({{QStringLiteral("A"), scoring(1.0, ListStability::low, 0, 100.0)},
                           {QStringLiteral("B"), scoring(1.0, ListStability::low, 1, 200.0)},
                           {QStringLiteral("C"), scoring(1.0, ListStability::low, 2, 150.0)}});
        f.model->updatePredictionList();
        QCOMPARE(f.listIds(), (QStringList{"B", "C", "A"}));
        // Empty states take no place in the list.
        QCOMPARE(f.model->predictionList().size(), std::size_t(3));
    }

    void timeWeight_data()
    {
        QTest::addColumn<QString>("given"); // transitions from one source state
        QTest::addColumn<int>("weekday");
        QTest::addColumn<int>("hour");
        QTest::addColumn<QString>("candidate");
        QTest::addColumn<double>("expected");
        const double top = std::pow(1.25, 0.25);
        QTest::newRow("fewer than 10 either way") << "A@12/2*9,B@3/3*9" << 2 << 12 << "A" << 1.0;
        QTest::newRow("at 00:xx hour 23 is outside") << "A@23/3*20" << 2 << 0 << "A" << 1.0;
        QTest::newRow("at 23:xx hour 23 is inside") << "A@23/3*20" << 2 << 23 << "A" << top;
        QTest::newRow("at 00:xx hour 1 is inside") << "A@1/3*10" << 2 << 0 << "A" << top;
        QTest::newRow("no transitions in, hour count reached") << "A@1/3*10" << 2 << 0 << "B" << top;
        QTest::newRow("no transitions in, weekday count reached") << "A@5/3*10" << 3 << 20 << "B" << top;
        QTest::newRow("clamped low") << "A@12/4,A@3/4*30,B@12/2*10" << 2 << 12 << "A"
                                     << std::pow(0.8, 0.25);
        QTest::newRow("between the clamps") << "A@12/3,A@6/3*8,B@12/1*10" << 2 << 12 << "A"
                                            << std::pow(1.0 / 1.125, 0.25);
        QTest::newRow("hour and weekday multiply")
            << "A@12/3*2,A@5/2*3,A@6/4*15,B@12/2*10" << 2 << 12 << "A"
            << std::pow((2.0 / (0.125 * 20.0)) * (3.0 / (20.0 / 7.0)), 0.25);
    }
    void timeWeight()
    {
        QFETCH(QString, given);
        QFETCH(int, weekday);
        QFETCH(int, hour);
        QFETCH(QString, candidate);
        QFETCH(double, expected);
        Fixture f;
        f.clock->setTime(at(weekday, hour));
        f.model->setItems({{QStringLiteral("S"), transitions(given)}});
        QCOMPARE(f.model->timeWeight(candidate), expected);
        const auto items = f.model->items();
        QCOMPARE(f.model->timeWeight(candidate),
                 straightforward::timeWeight(items, candidate, f.clock->now()));
    }

    void transitionListKeepsTheNewestMaxVisits()
    {
        Fixture f;
        RankState x = transitions(QStringLiteral("Y@3/2*1,Y@4/2*999"));
        f.model->setItems({{QStringLiteral("X"), x}, {QStringLiteral("Y"), RankState{}}});
        f.setMostRecent(QStringLiteral("X"));
        f.visit(QStringLiteral("Y"), at(5, 8));
        const RankState after = f.model->stateForItem(QStringLiteral("X"));
        const auto &list = after.nextVisits.at(QStringLiteral("Y"));
        QCOMPARE(list.size(), std::size_t(1000));
        QCOMPARE(list.front(), (ItemVisit{QStringLiteral("Y"), 4, 2}));
        QCOMPARE(list.back(), (ItemVisit{QStringLiteral("Y"), 8, 5}));
        // The dropped transition no longer counts for the time weight either.
        f.clock->setTime(at(2, 3));
        QCOMPARE(f.model->timeWeight(QStringLiteral("Y")),
                 straightforward::timeWeight(f.model->items(), QStringLiteral("Y"), f.clock->now()));
    }

    // With more ranked items than maxVisits, the new item's extra entry must not push
    // the best-ranked items out of the list.
    void appendingANewItemTrimsTheWorstNotTheBest()
    {
        Fixture f(ListStability::low, 3);
        f.model->setUseTimeWeighting(false);
        f.model->setItems({{QStringLiteral("A"), scoring(4.0, ListStability::low, 0)},
                           {QStringLiteral("B"), scoring(3.0, ListStability::low, 1)},
                           {QStringLiteral("C"), scoring(2.0, ListStability::low, 2)}});
        f.model->updatePredictionList();
        QCOMPARE(f.listIds(), (QStringList{"A", "B", "C"}));
        f.setMostRecent(nil);
        f.visit(QStringLiteral("N"), at(2, 9));
        // Sorted: A B C N <nil>, then N appended; three entries remain.
        QCOMPARE(f.listIds(), (QStringList{"A", "B", "N"}));
        QCOMPARE(f.model->predictionList().back().score, 0.0);
    }

    void updateRanksWritesPositionsAndReportsEveryEntry()
    {
        Fixture f(ListStability::low);
        f.model->setUseTimeWeighting(false);
        f.model->setItems({{QStringLiteral("A"), scoring(1.0, ListStability::low, 5)},
                           {QStringLiteral("B"), scoring(2.0, ListStability::low, 7)}});
        f.model->updatePredictionList();
        f.recorder.reports.clear();
        f.model->updateRanks();
        QCOMPARE(f.recorder.order(), (QStringList{"B", "A"}));
        QCOMPARE(f.recorder.reports[0].state.rank, 0);
        QCOMPARE(f.recorder.reports[1].state.rank, 1);
    }

    // The kept transition counts must give the scores the rules give when every
    // candidate walks every transition: random visits, hours and weekdays, a small
    // maxVisits so lists overflow, and a hand-over of the states half way.
    void scoresMatchTheStraightforwardRules_data()
    {
        QTest::addColumn<ListStability>("stability");
        QTest::addColumn<int>("maxVisits");
        QTest::newRow("medium, lists overflow") << ListStability::medium << 6;
        QTest::newRow("high, roomy") << ListStability::high << 1000;
    }
    void scoresMatchTheStraightforwardRules()
    {
        QFETCH(ListStability, stability);
        QFETCH(int, maxVisits);
        Fixture f(stability, maxVisits);
        QRandomGenerator random(7);
        double now = at(1, 0);
        for (int i = 0; i < 400; ++i) {
            now += random.bounded(1, 12 * 3600);
            const int pick = random.bounded(12);
            if (pick == 11) {
                f.model->recordVisit(std::nullopt);
                continue;
            }
            f.visit(QStringLiteral("app%1").arg(pick * pick % 9), now);
            if (i == 200) {
                const auto items = f.model->items();
                f.model = f.makeModel(stability, maxVisits);
                f.model->setItems(items);
                f.model->updatePredictionList();
            }
            if (i % 37 == 0) {
                const auto items = f.model->items();
                const QString recent = f.model->mostRecentItemID();
                for (const auto &[id, state] : items)
                    QCOMPARE(f.model->score(id), straightforward::score(items, recent, id,
                                                                        f.clock->now(), stability, true));
            }
        }
    }
};

QTEST_GUILESS_MAIN(AccessRankModelTest)
#include "AccessRankModelTest.moc"
