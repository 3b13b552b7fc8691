// Figures for the launcher model with 10,000 applications in 50 categories: a keystroke,
// a synchronisation pass over known items, a width change; and `velmora list` over a
// generated tree of 5,000 desktop entries, whole process. Prints medians.

#include "velmora/discovery/LaunchpadDatabase.h"
#include "velmora/launcher/LauncherViewObject.h"
#include "velmora/library/AppRecord.h"
#include "velmora/library/Category.h"
#include "velmora/library/DataModel.h"
#include "velmora/library/ModelContext.h"
#include "velmora/ranking/AccessRank.h"

#include "kestrelkit/DefaultsStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFutureWatcher>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using namespace velmora;

namespace {

constexpr int kApps = 10000;
constexpr int kCategories = 50;
constexpr int kTreeEntries = 5000;

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Milliseconds per call, median over `runs`.
double measure(int runs, const std::function<void(int)> &body)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        body(i);
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    return median(times);
}

void awaitFuture(const QFuture<void> &future)
{
    QFutureWatcher<void> watcher;
    QEventLoop loop;
    QObject::connect(&watcher, &QFutureWatcherBase::finished, &loop, &QEventLoop::quit);
    watcher.setFuture(future);
    if (!watcher.isFinished())
        loop.exec();
}

void settle(LauncherViewObject &model, AccessRank &rank, DataModel &store)
{
    for (int round = 0; round < 100; ++round) {
        awaitFuture(rank.whenIdle());
        QCoreApplication::processEvents();
        if (!model.updating() && !store.mainContext().hasChanges())
            return;
        QEventLoop loop;
        QObject::connect(&model, &LauncherViewObject::synchronizationFinished, &loop, &QEventLoop::quit);
        if (model.updating())
            loop.exec();
    }
}

QString name(int i)
{
    static const char *const words[] = {"Sound", "Mix", "Photo", "Note", "Safari", "Key", "Map", "Chess",
                                        "Word", "Sheet", "Code", "Term", "Mail", "Calc", "Draw", "Tune"};
    return QStringLiteral("%1 %2 %3").arg(QString::fromLatin1(words[i % 16]),
                                          QString::fromLatin1(words[(i / 16) % 16]), QString::number(i));
}

void modelFigures(const QString &folder)
{
    kestrelkit::DefaultsStore defaults(folder + QStringLiteral("/defaults.json"));
    auto store = DataModel::open(folder + QStringLiteral("/Velmora.sqlite"));
    AccessRank rank(ListStability::medium, 1000, AccessRankModel::Environment{&defaults, {}});
    auto launchpad = LaunchpadDatabase::fromRows({}, {}, {});
    LauncherEnvironment environment;
    environment.store = store.get();
    environment.accessRank = &rank;
    environment.launchpad = launchpad.get();
    environment.defaults = &defaults;
    LauncherViewObject model(environment);

    std::vector<Category *> categories;
    for (int c = 0; c < kCategories; ++c)
        categories.push_back(store->mainContext().insertCategory(
            {QStringLiteral("Category %1").arg(c), QStringLiteral("folder"), c + 1, std::nullopt, {}}));
    MDSearchItemList items;
    for (int i = 0; i < kApps; ++i) {
        const QString path = QStringLiteral("/apps/app%1.desktop").arg(i);
        const QString bundle = QStringLiteral("org.bench.app%1").arg(i);
        store->mainContext().insertAppRecord({name(i), bundle, path, categories[size_t(i % kCategories)], {}});
        items.append(MDSearchItem{name(i), bundle, path, std::nullopt, nullptr});
    }
    (void)store->mainContext().save();
    model.setTotalWidth(1000);
    model.discoverServiceDidUpdate(items);
    settle(model, rank, *store);

    const QStringList texts{QStringLiteral("s"), QStringLiteral("so"), QStringLiteral("sou"), QStringLiteral("soun"),
                            QStringLiteral("sound"), QStringLiteral("sound m"), QStringLiteral("note"),
                            QStringLiteral("x"), QStringLiteral("chess 1"), QStringLiteral("")};
    const double keystroke = measure(400, [&](int i) { model.setSearchText(texts.at(i % texts.size())); });
    QCoreApplication::processEvents();
    model.setSearchText(QString());

    const double width = measure(200, [&](int i) { model.setTotalWidth(i % 2 ? 1000 : 1300); });
    QCoreApplication::processEvents();

    double mainThreadPart = 0;
    const double pass = measure(21, [&](int) {
        QEventLoop loop;
        QObject::connect(&model, &LauncherViewObject::synchronizationFinished, &loop, &QEventLoop::quit);
        QElapsedTimer timer;
        timer.start();
        model.synchronizeCategories();
        mainThreadPart += double(timer.nsecsElapsed()) / 1e6 / 21;
        loop.exec();
    });
    const auto records = store->allAppRecords().size();

    std::printf("launcher model: %d applications in %d categories, %d grid rows at 1000 pt\n", kApps,
                kCategories, int(model.rowCount()));
    std::printf("  keystroke (searchText -> results -> grid), median: %.3f ms   (budget 2 ms)\n", keystroke);
    std::printf("  width change (grid rebuild), median:               %.3f ms   (budget 1 ms)\n", width);
    std::printf("  synchronisation pass over %lld known items, median: %.3f ms (budget 30 ms)\n",
                static_cast<long long>(records), pass);
    std::printf("    of which on the main thread before the hand-over (mean): %.3f ms\n", mainThreadPart);
}

void listFigures(const QString &folder)
{
    const QString binary = QStringLiteral(VELMORA_BINARY);
    QDir(folder).mkpath(QStringLiteral("data/applications"));
    QDir(folder).mkpath(QStringLiteral("home"));
    QDir(folder).mkpath(QStringLiteral("config"));
    QDir(folder).mkpath(QStringLiteral("system"));
    static const char *const categories[] = {"Game;BoardGame;", "Development;", "Office;", "Utility;",
                                             "AudioVideo;Audio;", "Graphics;", "Network;WebBrowser;", ""};
    for (int i = 0; i < kTreeEntries; ++i) {
        QFile file(folder + QStringLiteral("/data/applications/org.bench.app%1.desktop").arg(i));
        if (!file.open(QIODevice::WriteOnly))
            return;
        file.write(QStringLiteral("[Desktop Entry]\nType=Application\nName=%1\nExec=/bin/true\nCategories=%2\n")
                       .arg(name(i), QString::fromLatin1(categories[i % 8]))
                       .toUtf8());
    }
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), folder + QStringLiteral("/home"));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), folder + QStringLiteral("/data"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), folder + QStringLiteral("/config"));
    environment.insert(QStringLiteral("XDG_DATA_DIRS"), folder + QStringLiteral("/system"));
    const auto run = [&] {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(binary, {QStringLiteral("list")});
        process.waitForFinished(120000);
        return process.readAllStandardOutput().count('\n');
    };
    qsizetype lines = 0;
    const double first = measure(1, [&](int) { lines = run(); });
    const double warm = measure(7, [&](int) { run(); });
    std::printf("velmora list over %d desktop entries (%lld lines of output), whole process:\n", kTreeEntries,
                static_cast<long long>(lines));
    std::printf("  first run (empty store, every record created): %.1f ms\n", first);
    std::printf("  later runs, median:                             %.1f ms   (budget 1000 ms)\n", warm);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    kestrelkit::DefaultsStore::resetStandard(dir.filePath(QStringLiteral("standard-defaults.json")));
    modelFigures(dir.path());
    listFigures(dir.filePath(QStringLiteral("tree")));
    return 0;
}
