#include "velmora/ranking/AccessRank.h"

#include "kestrelkit/DefaultsStore.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <memory>

using namespace velmora;

namespace {

const QString nil = QStringLiteral("<access_rank_nil>");

// Records every callback with the thread it arrived on.
class RecordingDelegate final : public QObject, public AccessRankDelegate {
public:
    struct Call {
        QString id; // "list" for the list
        RankState state;
        PredictionList list;
        QThread *thread = nullptr;
    };
    std::vector<Call> calls;

    void rankStateDidChange(const QString &id, const RankState &state) override
    {
        calls.push_back({id, state, {}, QThread::currentThread()});
    }
    void predictionListDidChange(const PredictionList &list) override
    {
        // Member by member: GCC's -O2 takes the braced empty RankState for uninitialised.
        Call call;
        call.id = QStringLiteral("list");
        call.list = list;
        call.thread = QThread::currentThread();
        calls.push_back(std::move(call));
    }
    [[nodiscard]] QStringList order() const
    {
        QStringList out;
        for (const Call &c : calls)
            out << c.id;
        return out;
    }
};

struct Fixture {
    Fixture()
        : store(dir.filePath(QStringLiteral("defaults.json")))
        , clock(std::make_shared<ManualClock>(1.8e9, QTimeZone::utc()))
        , rank(ListStability::medium, 1000, AccessRankEnvironment{&store, clock})
    {
    }
    // Waits for the executor, then lets the queued reports run.
    void settle()
    {
        QFuture<void> idle = rank.whenIdle();
        QTRY_VERIFY(idle.isFinished());
        QCoreApplication::sendPostedEvents();
    }

    QTemporaryDir dir;
    kestrelkit::DefaultsStore store;
    std::shared_ptr<ManualClock> clock;
    AccessRank rank;
};

} // namespace

class AccessRankTest : public QObject {
    Q_OBJECT
private slots:
    void reportsArriveOnTheMainThreadInOrderBeforeTheContinuation()
    {
        Fixture f;
        RecordingDelegate delegate;
        f.rank.setDelegate(&delegate);
        f.rank.recordVisit(QStringLiteral("A"));
        f.settle();
        delegate.calls.clear();

        bool continued = false;
        std::size_t callsBeforeContinuation = 0;
        f.rank.recordVisit(QStringLiteral("B")).then(&delegate, [&] {
            continued = true;
            callsBeforeContinuation = delegate.calls.size();
        });
        // Nothing is delivered while the main thread does not return to its loop.
        QVERIFY(delegate.calls.empty());
        QTRY_VERIFY(continued);
        QCOMPARE(callsBeforeContinuation, delegate.calls.size());

        for (const auto &call : delegate.calls)
            QCOMPARE(call.thread, QThread::currentThread());
        // Previous, visited, the three ranked entries (nil, A, B), the list, visited again.
        const QStringList order = delegate.order();
        QCOMPARE(order.size(), 7);
        const PredictionList list = delegate.calls[5].list;
        QCOMPARE(list.size(), std::size_t(4));
        QCOMPARE(order, QStringList({"A", "B", list[0].id, list[1].id, list[2].id, "list", "B"}));
        QCOMPARE(list.back().id, QStringLiteral("B")); // new item, listed again at the end
        // Each report carries the state as it was then, not as it ended up.
        QCOMPARE(delegate.calls[1].state.rank, RankState::kNeverRanked);
        QCOMPARE(delegate.calls.back().state, f.rank.stateForItem(QStringLiteral("B")).result());
    }

    void aDelegateThatIsGoneGetsNothing()
    {
        Fixture f;
        auto first = std::make_unique<RecordingDelegate>();
        f.rank.setDelegate(first.get());
        f.rank.recordVisit(QStringLiteral("A"));
        first.reset(); // destroyed while its reports are still queued
        f.settle();
        QCOMPARE(f.rank.delegate(), nullptr);

        RecordingDelegate second;
        RecordingDelegate third;
        f.rank.setDelegate(&second);
        f.rank.recordVisit(QStringLiteral("B"));
        f.rank.setDelegate(&third); // replaced before the reports run
        f.settle();
        QVERIFY(second.calls.empty());
        QVERIFY(!third.calls.empty());
    }

    void handOverReplacesTheStatesAndRecomputes()
    {
        Fixture f;
        RecordingDelegate delegate;
        f.rank.setDelegate(&delegate);
        f.rank.recordVisit(QStringLiteral("launched before the hand-over"));
        RankState stored;
        stored.numberOfVisits = 3;
        stored.crfWeight = 2.0;
        stored.visitNumber = 1;
        std::map<QString, RankState> items{{QStringLiteral("/apps/Mail"), stored},
                                           {QStringLiteral("/apps/Unused"), RankState{}}};
        f.rank.replaceItems(items);
        f.settle();
        QCOMPARE(delegate.calls.back().id, QStringLiteral("list"));
        const PredictionList list = delegate.calls.back().list;
        QCOMPARE(list.size(), std::size_t(1));
        QCOMPARE(list[0].id, QStringLiteral("/apps/Mail"));
        const auto now = f.rank.items().result();
        QCOMPARE(now.size(), std::size_t(2));
        QCOMPARE(now.at(QStringLiteral("/apps/Mail")).rank, 0);
        QVERIFY(now.at(QStringLiteral("/apps/Unused")).isEmpty());

        delegate.calls.clear();
        f.rank.updateRanks();
        f.settle();
        QCOMPARE(delegate.order(), QStringList{QStringLiteral("/apps/Mail")});
    }

    void visitWithoutIdentifierReportsNothing()
    {
        Fixture f;
        RecordingDelegate delegate;
        f.rank.setDelegate(&delegate);
        f.rank.recordVisit(std::nullopt);
        f.settle();
        QVERIFY(delegate.calls.empty());
    }
};

QTEST_GUILESS_MAIN(AccessRankTest)
#include "AccessRankTest.moc"
