// accessrank-bench: the cost of one launch with 1,000 ranked items and 100,000 recorded
// transitions, for the model, for the actor plus the main thread's share, and for the
// plain implementation of the rules, all in the same run. Build with the release preset.

#include "StraightforwardAccessRank.h"

#include "velmora/ranking/AccessRank.h"

#include "kestrelkit/DefaultsStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <random>

#include <time.h>

using namespace velmora;

namespace {

constexpr int kItems = 1000;
constexpr int kTransitions = 100000;

QString itemId(int i)
{
    return QStringLiteral("/usr/share/applications/org.example.Bench%1.desktop").arg(i, 4, 10, QLatin1Char('0'));
}

// Popular items are visited, and followed, more often.
int pickItem(std::mt19937_64 &random)
{
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    return std::min(kItems - 1, int(std::pow(unit(random), 2.5) * kItems));
}

std::map<QString, RankState> makeItems()
{
    std::mt19937_64 random(2026);
    std::map<QString, RankState> items;
    for (int i = 0; i < kItems; ++i) {
        RankState s;
        s.numberOfVisits = 1 + long(random() % 200);
        s.visitNumber = long(random() % 1000);
        s.crfWeight = 1.0 + double(random() % 2000) / 100.0;
        s.timeOfLastVisit = 1.7e9 + double(random() % 1000000);
        items.emplace(itemId(i), s);
    }
    for (int t = 0; t < kTransitions; ++t) {
        const QString target = itemId(pickItem(random));
        auto &list = items[itemId(pickItem(random))].nextVisits[target];
        if (list.size() < 1000)
            list.push_back({target, int(random() % 24), 1 + int(random() % 7)});
    }
    return items;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

QString memoryFolder()
{
    const QFileInfo shm(QStringLiteral("/dev/shm"));
    return (shm.isDir() && shm.isWritable() ? shm.filePath() : QDir::tempPath())
           + QStringLiteral("/accessrank-bench-XXXXXX");
}

// What the launcher view model does with the reports: store each state that changed in
// its record, then save the changed records once (here: their JSON, as the store keeps).
class RecordsDelegate final : public QObject, public AccessRankDelegate {
public:
    explicit RecordsDelegate(const std::map<QString, RankState> &items)
    {
        for (const auto &[id, state] : items)
            m_records.insert(id, {state, nullptr});
    }
    void rankStateDidChange(const QString &id, const RankState &state) override
    {
        sharedRankStateDidChange(id, std::make_shared<const RankState>(state));
    }
    void sharedRankStateDidChange(const QString &id, const SharedRankState &state) override
    {
        const auto it = m_records.find(id);
        if (it == m_records.end() || it->lastReported == state)
            return; // no record for this path ("<access_rank_nil>"), or the same object again
        it->lastReported = state;
        if (it->state == *state)
            return;
        it->state = *state;
        m_dirty.insert(id);
    }
    void predictionListDidChange(const PredictionList &list) override { m_list = list; }
    // The one save after a launch; returns the bytes written.
    qsizetype save()
    {
        qsizetype bytes = 0;
        for (const QString &id : std::as_const(m_dirty))
            bytes += m_records.constFind(id)->state.toJson().size();
        m_dirty.clear();
        return bytes;
    }
    [[nodiscard]] qsizetype dirtyCount() const { return m_dirty.size(); }

private:
    struct Record {
        RankState state;
        SharedRankState lastReported;
    };
    QHash<QString, Record> m_records;
    QSet<QString> m_dirty;
    PredictionList m_list;
};

double elapsedMs(const QElapsedTimer &timer) { return double(timer.nsecsElapsed()) / 1e6; }

// CPU time of the calling thread: other processes on a shared machine do not inflate it.
double threadCpuMs()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    const int iterations = argc > 1 ? std::max(5, QString::fromLocal8Bit(argv[1]).toInt()) : 200;
    // A second argument "0" skips the baseline, which takes tens of seconds per launch.
    const int baselineIterations = argc > 2 ? std::max(0, QString::fromLocal8Bit(argv[2]).toInt()) : 3;
    const auto items = makeItems();
    std::size_t transitions = 0;
    for (const auto &[id, s] : items)
        for (const auto &[t, list] : s.nextVisits)
            transitions += list.size();
    out << "items " << items.size() << ", transitions " << transitions << ", iterations "
        << iterations << " (baseline " << baselineIterations << ")\n";

    std::mt19937_64 random(7);
    auto clock = std::make_shared<ManualClock>(1.8e9, QTimeZone::utc());
    const auto tick = [&] { clock->setTime(clock->now().secondsSince1970 + 600.0 + double(random() % 3600)); };

    // 1. The model alone, defaults in memory.
    std::vector<double> model;
    std::vector<double> modelCpu;
    {
        QTemporaryDir dir(memoryFolder());
        kestrelkit::DefaultsStore store(dir.filePath(QStringLiteral("defaults.json")));
        AccessRankModel m(ListStability::medium, 1000, {&store, clock});
        m.setItems(items);
        m.updatePredictionList();
        for (int i = 0; i < iterations; ++i) {
            tick();
            const QString id = itemId(pickItem(random));
            QElapsedTimer t;
            t.start();
            const double cpu = threadCpuMs();
            m.recordVisit(id);
            modelCpu.push_back(threadCpuMs() - cpu);
            model.push_back(elapsedMs(t));
        }
    }

    // 2. The actor: executor time of recordVisit, then the main thread's share.
    std::vector<double> actor;
    std::vector<double> mainThread;
    std::vector<double> mainThreadCpu;
    std::vector<double> saveCpu;
    std::vector<double> written;
    {
        QTemporaryDir dir(memoryFolder());
        kestrelkit::DefaultsStore store(dir.filePath(QStringLiteral("defaults.json")));
        AccessRank rank(ListStability::medium, 1000, {&store, clock});
        RecordsDelegate delegate(items);
        rank.setDelegate(&delegate);
        rank.replaceItems(items).waitForFinished();
        QCoreApplication::sendPostedEvents();
        delegate.save();
        for (int i = 0; i < iterations; ++i) {
            tick();
            const QString id = itemId(pickItem(random));
            QElapsedTimer t;
            t.start();
            rank.recordVisit(id).waitForFinished();
            actor.push_back(elapsedMs(t));
            t.restart();
            const double cpu = threadCpuMs();
            QCoreApplication::sendPostedEvents();
            written.push_back(double(delegate.dirtyCount()));
            const double applied = threadCpuMs();
            delegate.save();
            saveCpu.push_back(threadCpuMs() - applied);
            mainThreadCpu.push_back(threadCpuMs() - cpu);
            mainThread.push_back(elapsedMs(t));
        }
    }

    // 3. The same model with its defaults file on disk: every counter write is synced.
    std::vector<double> onDisk;
    {
        QTemporaryDir dir;
        kestrelkit::DefaultsStore store(dir.filePath(QStringLiteral("defaults.json")));
        AccessRankModel m(ListStability::medium, 1000, {&store, clock});
        m.setItems(items);
        m.updatePredictionList();
        for (int i = 0; i < std::min(iterations, 30); ++i) {
            tick();
            const QString id = itemId(pickItem(random));
            QElapsedTimer t;
            t.start();
            m.recordVisit(id);
            onDisk.push_back(elapsedMs(t));
        }
    }

    // 4. The plain implementation: every candidate walks every transition.
    std::vector<double> baseline;
    std::vector<double> baselineCpu;
    if (baselineIterations > 0) {
        straightforward::Model m(ListStability::medium, 1000, *clock);
        m.setItems(items);
        long reports = 0;
        m.setReport([&](const QString &, const RankState &) { ++reports; });
        m.updatePredictionList();
        for (int i = 0; i < baselineIterations; ++i) {
            tick();
            const QString id = itemId(pickItem(random));
            QElapsedTimer t;
            t.start();
            const double cpu = threadCpuMs();
            m.recordVisit(id);
            baselineCpu.push_back(threadCpuMs() - cpu);
            baseline.push_back(elapsedMs(t));
        }
    }

    const auto line = [&](const char *what, const std::vector<double> &wall, const std::vector<double> &cpu) {
        out << QStringLiteral("%1 median %2 ms wall").arg(QLatin1String(what), -44).arg(median(wall), 9, 'f', 3);
        if (!cpu.empty())
            out << QStringLiteral(", %1 ms thread CPU").arg(median(cpu), 9, 'f', 3);
        out << '\n';
    };
    line("recordVisit, model, defaults in memory", model, modelCpu);
    line("recordVisit, actor round trip", actor, {});
    line("main thread: apply reports + one save", mainThread, mainThreadCpu);
    out << "  of which the save " << median(saveCpu) << " ms thread CPU; states written per launch: median "
        << median(written) << '\n';
    line("recordVisit, model, defaults on disk", onDisk, {});
    if (!baseline.empty()) {
        line("recordVisit, straightforward baseline", baseline, baselineCpu);
        out << QStringLiteral("speed-up over the baseline, same run: %1x wall, %2x thread CPU\n")
                   .arg(median(baseline) / median(model), 0, 'f', 0)
                   .arg(median(baselineCpu) / median(modelCpu), 0, 'f', 0);
    }
    return 0;
}
