// The library store at a realistic size: 5,000 applications in 60 categories.
// Run from the release build: build/release/bench/store/store_bench
#include "velmora/library/AppRecord.h"
#include "velmora/library/Category.h"
#include "velmora/library/DataModel.h"
#include "velmora/library/ModelContext.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

using namespace velmora;

namespace {

constexpr int kApps = 5000;
constexpr int kCategories = 60;
constexpr int kChanged = 2000;

QString appPath(int i) {
    return QStringLiteral("/usr/share/applications/org.example.App%1.desktop").arg(i);
}

// A used application: a few transitions, as after some weeks of launches.
RankState stateFor(int i, int salt) {
    RankState state;
    for (int k = 1; k <= 3; ++k) {
        const QString next = appPath((i + k * 17) % kApps);
        for (int v = 0; v < 4; ++v)
            state.nextVisits[next].push_back({next, (i + v + salt) % 24, (i + v) % 7 + 1});
    }
    state.visitNumber = i + salt;
    state.numberOfVisits = 12 + salt;
    state.timeOfLastVisit = 1765440000.0 + i * 0.137 + salt;
    state.crfWeight = 1.0 / (3.0 + i + salt);
    state.rank = i;
    return state;
}

QString buildStore(const QTemporaryDir &dir) {
    const QString path = dir.filePath(QStringLiteral("Velmora/Velmora.sqlite"));
    auto model = DataModel::open(path);
    ModelContext &context = model->mainContext();
    QList<Category *> categories;
    for (int c = 0; c < kCategories; ++c)
        categories << context.insertCategory(
            {QStringLiteral("Category %1").arg(c), QStringLiteral("folder"), c, {}, {}});
    for (int i = 0; i < kApps; ++i)
        context.insertAppRecord({QStringLiteral("App %1").arg(i),
                                 QStringLiteral("org.example.App%1").arg(i), appPath(i),
                                 categories[i % kCategories], stateFor(i, 0)});
    if (!context.save()) qFatal("could not build the store");
    return path;
}

const QString &storePath() {
    static QTemporaryDir dir;
    static const QString path = buildStore(dir);
    return path;
}

void BM_OpenStore(benchmark::State &state) {
    for (auto _ : state) {
        auto model = DataModel::open(storePath());
        if (!model || model->allAppRecords().size() != kApps)
            state.SkipWithError("store did not open");
        state.PauseTiming();
        model.reset();
        state.ResumeTiming();
    }
}

void BM_SaveAfterRankStatesChanged(benchmark::State &state) {
    auto model = DataModel::open(storePath());
    const QList<AppRecord *> apps = model->allAppRecords();
    int round = 1;
    for (auto _ : state) {
        state.PauseTiming();
        for (int i = 0; i < kChanged; ++i)
            apps[i]->setRankState(stateFor(i, round));
        ++round;
        state.ResumeTiming();
        if (!model->mainContext().save()) state.SkipWithError("save failed");
    }
}

void BM_SaveWithNothingChanged(benchmark::State &state) {
    auto model = DataModel::open(storePath());
    const QString wal = storePath() + QStringLiteral("-wal");
    int saves = 0;
    QObject::connect(model.get(), &DataModel::didSave, [&saves] { ++saves; });
    const QFileInfo before(wal);
    for (auto _ : state) {
        if (!model->mainContext().save()) state.SkipWithError("save failed");
    }
    QFileInfo after(wal);
    after.refresh();
    // Both stay 0: no transaction was written and no did-save was sent.
    state.counters["didSave"] = saves;
    state.counters["walBytesGrown"] = double(after.size() - before.size());
}

} // namespace

BENCHMARK(BM_OpenStore)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_SaveAfterRankStatesChanged)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_SaveWithNothingChanged)
    ->Unit(benchmark::kNanosecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    storePath();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
