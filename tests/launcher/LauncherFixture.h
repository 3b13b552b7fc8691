#pragma once

// A view model over a temporary store, defaults and ranking model; never the user's.

#include "velmora/discovery/LaunchpadDatabase.h"
#include "velmora/discovery/MDSearchItem.h"
#include "velmora/launcher/GridScroller.h"
#include "velmora/launcher/LauncherViewObject.h"
#include "velmora/library/AppRecord.h"
#include "velmora/library/Category.h"
#include "velmora/library/DataModel.h"
#include "velmora/library/ModelContext.h"
#include "velmora/ranking/AccessRank.h"
#include "velmora/ranking/AccessRankClock.h"

#include "kestrelkit/DefaultsStore.h"

#include <QCoreApplication>
#include <QFutureWatcher>
#include <QSignalSpy>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <optional>

namespace velmora::test {

inline MDSearchItem item(const QString &name, const QString &bundleID, const QString &path,
                         std::optional<StoreCategory> storeCategory = std::nullopt)
{
    MDSearchItem result;
    result.displayName = name;
    result.bundleID = bundleID;
    result.path = path;
    result.storeCategory = storeCategory;
    return result;
}

// Records every scroll request of the keyboard moves.
class RecordingScroller final : public GridScroller {
public:
    void scrollTo(const ScrollId &id, Alignment alignment, bool animated) override
    {
        requests.append(id.description());
        QCOMPARE(alignment, Alignment::center);
        QVERIFY(animated);
    }
    QStringList requests;
};

// Waits on the main loop until the future is done (reports queued before it are delivered).
template <typename T>
void await(const QFuture<T> &future)
{
    QFutureWatcher<T> watcher;
    QSignalSpy finished(&watcher, &QFutureWatcherBase::finished);
    watcher.setFuture(future);
    QVERIFY(finished.count() > 0 || finished.wait(5000));
}

class LauncherFixture {
public:
    explicit LauncherFixture(std::unique_ptr<LaunchpadDatabase> launchpad = {},
                             LauncherEnvironment extra = {})
    {
        QVERIFY(dir.isValid());
        defaults = std::make_unique<kestrelkit::DefaultsStore>(dir.filePath(QStringLiteral("defaults.json")));
        DataModel::OpenError error;
        store = DataModel::open(dir.filePath(QStringLiteral("Velmora/Velmora.sqlite")), &error);
        QVERIFY2(store, qPrintable(error.message));
        rank = std::make_unique<AccessRank>(
            ListStability::medium, 1000,
            AccessRankModel::Environment{defaults.get(), std::make_shared<ManualClock>(1.7e9)});
        this->launchpad = launchpad ? std::move(launchpad) : LaunchpadDatabase::fromRows({}, {}, {});
        LauncherEnvironment environment = std::move(extra);
        environment.store = store.get();
        environment.accessRank = rank.get();
        environment.launchpad = this->launchpad.get();
        environment.defaults = defaults.get();
        environment.standardOutput = [this](const QString &line) { output.append(line); };
        model = std::make_unique<LauncherViewObject>(std::move(environment));
    }

    ModelContext &context() const { return store->mainContext(); }

    // Runs one pass now and waits until the ranking model has taken the states over.
    void synchronize()
    {
        QSignalSpy finished(model.get(), &LauncherViewObject::synchronizationFinished);
        model->synchronizeCategories();
        QVERIFY(finished.wait(5000));
    }

    // Lets queued passes, saves and ranking reports run until nothing moves.
    void settle()
    {
        for (int round = 0; round < 50; ++round) {
            await(rank->whenIdle());
            QCoreApplication::processEvents();
            if (!model->updating() && !context().hasChanges())
                return;
            if (model->updating()) {
                QSignalSpy finished(model.get(), &LauncherViewObject::synchronizationFinished);
                finished.wait(1000);
            }
        }
        QFAIL("the model did not come to rest");
    }

    Category *category(const QString &title, std::int64_t sortOrder,
                       std::optional<ReservedType> type = std::nullopt) const
    {
        return context().insertCategory({title, QStringLiteral("folder"), sortOrder, type, {}});
    }

    AppRecord *app(const QString &name, Category *category, const QString &bundleID = {}) const
    {
        const QString bundle = bundleID.isEmpty() ? QStringLiteral("org.test.") + QString(name).remove(QLatin1Char(' ')) : bundleID;
        return context().insertAppRecord(
            {name, bundle, QStringLiteral("/apps/") + name + QStringLiteral(".desktop"), category, {}});
    }

    QStringList titlesOf(const QList<Category *> &categories) const
    {
        QStringList titles;
        for (const Category *c : categories)
            titles.append(c->title());
        return titles;
    }

    QStringList namesOf(const QList<AppRecord *> &apps) const
    {
        QStringList names;
        for (const AppRecord *a : apps)
            names.append(a->displayName());
        return names;
    }

    QTemporaryDir dir;
    std::unique_ptr<kestrelkit::DefaultsStore> defaults;
    std::unique_ptr<DataModel> store;
    std::unique_ptr<AccessRank> rank;
    std::unique_ptr<LaunchpadDatabase> launchpad;
    std::unique_ptr<LauncherViewObject> model;
    QStringList output;
};

} // namespace velmora::test
