// Logging one entry from one and from two threads, and one Collect of 10,000 entries
// into the log file. Run: bench_logging --benchmark_repetitions=10 (medians printed).
#include "kestrelkit/DefaultsStore.h"
#include "kestrelkit/LogManager.h"
#include "kestrelkit/Logger.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace kestrelkit;

namespace {

LogStore &benchStore()
{
    static LogStore store;
    return store;
}

void BM_LogOneEntry(benchmark::State &state)
{
    const Logger logger(QString::fromLatin1(kBundleIdentifier), QStringLiteral("Bench"), &benchStore());
    const QString message = QStringLiteral("Start updating categories for 42 applications");
    for (auto _ : state)
        logger.info(message);
}
BENCHMARK(BM_LogOneEntry)->Threads(1)->Threads(2)->UseRealTime();

void BM_LogFormattedEntry(benchmark::State &state)
{
    const Logger logger(QString::fromLatin1(kBundleIdentifier), QStringLiteral("Bench"), &benchStore());
    int i = 0;
    for (auto _ : state)
        logger.info(QStringLiteral("Launched %1 (visit %2)").arg(QStringLiteral("/usr/share/applications/x.desktop")).arg(++i));
}
BENCHMARK(BM_LogFormattedEntry)->Threads(1)->Threads(2)->UseRealTime();

void BM_Collect10000(benchmark::State &state)
{
    QTemporaryDir dir;
    LogStore store;
    DefaultsStore defaults(dir.filePath(QStringLiteral("defaults.json")));
    LogManager::Environment env;
    env.logFolder = dir.filePath(QStringLiteral("logs"));
    env.store = &store;
    env.defaults = &defaults;
    env.locale = QLocale(QLocale::English, QLocale::UnitedStates);
    LogManager manager(env);
    const Logger logger(QString::fromLatin1(kBundleIdentifier), QStringLiteral("AppDiscoverService"), &store);
    for (auto _ : state) {
        state.PauseTiming();
        manager.clearAllLogs().waitForFinished();
        for (int i = 0; i < 10000; ++i)
            logger.info(QStringLiteral("Found application %1 in /usr/share/applications").arg(i));
        state.ResumeTiming();
        manager.collect();
        manager.waitForIdle();
    }
    state.SetItemsProcessed(state.iterations() * 10000);
}
BENCHMARK(BM_Collect10000)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
