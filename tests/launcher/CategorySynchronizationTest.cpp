// Category synchronisation of LauncherViewObject: discovered items into records,
// categories and the launcher content.

#include "LauncherFixture.h"

#include <limits>

using namespace velmora;
using namespace velmora::test;

namespace {

constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();

Category *reserved(DataModel &store, ReservedType type)
{
    return store.reservedCategory(type);
}

QStringList contentTitles(const LauncherViewObject &model)
{
    QStringList titles;
    for (const LauncherSection &section : model.launcherContent())
        titles.append(section.category->title());
    return titles;
}

} // namespace

class CategorySynchronizationTest : public QObject {
    Q_OBJECT

private slots:
    void gamesExampleAndItsRepeat();
    void movedBundleGetsASecondRecord();
    void missingStoreTitleIsError();
    void launchpadMode_data();
    void launchpadMode();
    void newCategoriesFollowTheLargestOrder();
    void storedApplicationNeverMoves();
    void emptyResultSetsErrorAndStillEnsuresReserved();
    void handsEveryStoredRankStateToTheRanking();
    void saveStartsOnePassAndTheChainComesToRest();
    void pendingResultsWaitForTheKeyWindow();
    void unchangedRankStateWritesNothing();
};

void CategorySynchronizationTest::gamesExampleAndItsRepeat()
{
    LauncherFixture f;
    const MDSearchItemList results{
        item(QStringLiteral("Chess"), QStringLiteral("org.chess"), QStringLiteral("/a/Chess.app"), StoreCategory::games),
        item(QStringLiteral("Go"), QStringLiteral("org.go"), QStringLiteral("/a/Go.app"), StoreCategory::games),
        item(QStringLiteral("Tool"), QStringLiteral("org.tool"), QStringLiteral("/a/Tool.app")),
    };
    f.model->discoverServiceDidUpdate(results);
    QVERIFY(f.model->updating());
    f.settle();

    const struct {
        ReservedType type;
        const char *title;
        const char *icon;
        std::int64_t order;
    } expected[] = {
        {ReservedType::pinned, "Pinned", "pin.fill", -1},
        {ReservedType::hidden, "Hidden", "eye.slash.fill", kMax},
        {ReservedType::notCategorized, "Not Categorized", "ellipsis", kMax - 1},
    };
    for (const auto &e : expected) {
        Category *c = reserved(*f.store, e.type);
        QVERIFY(c);
        QCOMPARE(c->title(), QString::fromUtf8(e.title));
        QCOMPARE(c->systemIconName(), QString::fromUtf8(e.icon));
        QCOMPARE(c->sortOrder(), e.order);
        QCOMPARE(c->categoryUUID().size(), 36);
    }
    Category *games = f.store->categoryWithTitle(QStringLiteral("Games"));
    QVERIFY(games);
    QCOMPARE(games->sortOrder(), 1);
    QCOMPARE(games->reservedType(), std::nullopt);
    QCOMPARE(contentTitles(*f.model), (QStringList{QStringLiteral("Games"), QStringLiteral("Not Categorized")}));
    QCOMPARE(f.namesOf(f.model->appsOf(games)), (QStringList{QStringLiteral("Chess"), QStringLiteral("Go")}));
    QCOMPARE(f.namesOf(f.model->appsOf(reserved(*f.store, ReservedType::notCategorized))),
             QStringList{QStringLiteral("Tool")});
    QCOMPARE(f.model->sortedCategories().size(), 2);
    QCOMPARE(f.model->sortedAndFilteredCategories(), QList<Category *>{games});
    QCOMPARE(f.model->spotlightError(), false);

    // The same results again: nothing new, the same content.
    const auto categories = f.store->allCategories().size();
    const auto records = f.store->allAppRecords().size();
    f.model->updateCategories();
    f.settle();
    QCOMPARE(f.store->allCategories().size(), categories);
    QCOMPARE(f.store->allAppRecords().size(), records);
    QCOMPARE(contentTitles(*f.model), (QStringList{QStringLiteral("Games"), QStringLiteral("Not Categorized")}));
    QCOMPARE(f.model->appsOf(games).size(), 2);
    QVERIFY(f.output.isEmpty());
}

void CategorySynchronizationTest::movedBundleGetsASecondRecord()
{
    LauncherFixture f;
    Category *work = f.category(QStringLiteral("Work"), 1);
    AppRecord *old = f.context().insertAppRecord(
        {QStringLiteral("Editor"), QStringLiteral("org.editor"), QStringLiteral("/old/Editor.app"), work, {}});
    f.model->discoverServiceDidUpdate(
        {item(QStringLiteral("Editor"), QStringLiteral("org.editor"), QStringLiteral("/new/Editor.app"))});
    f.settle();

    QCOMPARE(f.store->allAppRecords().size(), 2);
    QVERIFY(f.store->appRecord(QStringLiteral("/old/Editor.app")) == old);
    AppRecord *moved = f.store->appRecord(QStringLiteral("/new/Editor.app"));
    QVERIFY(moved && moved != old);
    QCOMPARE(moved->category()->reservedType(), ReservedType::notCategorized);
    QCOMPARE(contentTitles(*f.model), QStringList{QStringLiteral("Not Categorized")});
    QVERIFY(!f.model->appsOf(work).contains(old));
}

void CategorySynchronizationTest::missingStoreTitleIsError()
{
    LauncherEnvironment extra;
    extra.storeCategoryTitle = [](StoreCategory c) -> std::optional<QString> {
        if (c == StoreCategory::weather)
            return std::nullopt;
        return localizedTitle(c);
    };
    LauncherFixture f({}, std::move(extra));
    f.model->discoverServiceDidUpdate(
        {item(QStringLiteral("Sky"), QStringLiteral("org.sky"), QStringLiteral("/a/Sky.app"), StoreCategory::weather),
         item(QStringLiteral("Rain"), QStringLiteral("org.rain"), QStringLiteral("/a/Rain.app"), StoreCategory::weather)});
    f.settle();
    Category *error = f.store->categoryWithTitle(QStringLiteral("Error"));
    QVERIFY(error);
    QCOMPARE(error->systemIconName(), symbolName(StoreCategory::weather));
    QCOMPARE(f.model->appsOf(error).size(), 2);
}

void CategorySynchronizationTest::launchpadMode_data()
{
    QTest::addColumn<QString>("bundleID");
    QTest::addColumn<bool>("workExists");
    QTest::addColumn<QString>("expectedTitle");

    QTest::newRow("in a folder, new category") << "org.mail" << false << "Work";
    QTest::newRow("in a folder, existing category") << "org.mail" << true << "Work";
    QTest::newRow("in no folder") << "org.loose" << false << "Not Categorized";
    QTest::newRow("not in the import") << "org.unknown" << false << "Not Categorized";
}

void CategorySynchronizationTest::launchpadMode()
{
    QFETCH(QString, bundleID);
    QFETCH(bool, workExists);
    QFETCH(QString, expectedTitle);

    // Two folders, Work and Games, plus one application outside any folder.
    auto launchpad = LaunchpadDatabase::fromRows(
        {{10, QStringLiteral("org.mail")}, {11, QStringLiteral("org.chess")}, {12, QStringLiteral("org.loose")}},
        {{1, 2, std::nullopt}, {2, 2, std::nullopt}, {10, 4, 1}, {11, 4, 2}, {12, 4, std::nullopt}},
        {{1, QStringLiteral("Work")}, {2, QStringLiteral("Games")}});
    QVERIFY(launchpad->launchpadData().size() >= 2);
    LauncherFixture f(std::move(launchpad));
    Category *existing = workExists ? f.category(QStringLiteral("Work"), 4) : nullptr;

    f.model->discoverServiceDidUpdate(
        {item(QStringLiteral("App"), bundleID, QStringLiteral("/a/App.app"), StoreCategory::games)});
    f.settle();
    AppRecord *record = f.store->appRecord(QStringLiteral("/a/App.app"));
    QVERIFY(record);
    QCOMPARE(record->category()->title(), expectedTitle);
    QVERIFY(!f.store->categoryWithTitle(QStringLiteral("Games"))); // store categories are not used
    if (expectedTitle == QLatin1String("Work")) {
        QCOMPARE(record->category()->systemIconName(), QStringLiteral("folder"));
        if (existing)
            QCOMPARE(record->category(), existing);
        else
            QCOMPARE(record->category()->sortOrder(), 1);
    }
}

void CategorySynchronizationTest::newCategoriesFollowTheLargestOrder()
{
    LauncherFixture f;
    f.category(QStringLiteral("A"), 0);
    f.category(QStringLiteral("B"), 7);
    f.category(QStringLiteral("C"), 3);
    f.category(QStringLiteral("Pinned"), -1, ReservedType::pinned);
    f.category(QStringLiteral("Hidden"), kMax, ReservedType::hidden);
    f.model->discoverServiceDidUpdate({
        item(QStringLiteral("Paint"), QStringLiteral("org.paint"), QStringLiteral("/a/Paint.app"), StoreCategory::graphics_design),
        item(QStringLiteral("Chess"), QStringLiteral("org.chess"), QStringLiteral("/a/Chess.app"), StoreCategory::games),
        item(QStringLiteral("Draw"), QStringLiteral("org.draw"), QStringLiteral("/a/Draw.app"), StoreCategory::graphics_design),
    });
    f.settle();
    const Category *graphics = f.store->appRecord(QStringLiteral("/a/Paint.app"))->category();
    const Category *games = f.store->appRecord(QStringLiteral("/a/Chess.app"))->category();
    QCOMPARE(graphics->sortOrder(), 8);
    QCOMPARE(games->sortOrder(), 9);
    QCOMPARE(f.store->appRecord(QStringLiteral("/a/Draw.app"))->category(), graphics);
    // Only the missing reserved category was added.
    int pinned = 0;
    for (const Category *c : f.store->allCategories())
        pinned += c->reservedType() == ReservedType::pinned;
    QCOMPARE(pinned, 1);
    QVERIFY(reserved(*f.store, ReservedType::notCategorized));
}

void CategorySynchronizationTest::storedApplicationNeverMoves()
{
    LauncherFixture f;
    Category *hidden = f.category(QStringLiteral("Hidden"), kMax, ReservedType::hidden);
    AppRecord *record = f.context().insertAppRecord(
        {QStringLiteral("Old Name"), QStringLiteral("org.old"), QStringLiteral("/a/Chess.app"), hidden, {}});
    f.model->discoverServiceDidUpdate(
        {item(QStringLiteral("Chess"), QStringLiteral("org.chess"), QStringLiteral("/a/Chess.app"), StoreCategory::games)});
    f.settle();
    QCOMPARE(record->category(), hidden);
    QCOMPARE(record->displayName(), QStringLiteral("Old Name"));
    QCOMPARE(record->bundleID(), QStringLiteral("org.old"));
    QVERIFY(!f.store->categoryWithTitle(QStringLiteral("Games")));
    QCOMPARE(contentTitles(*f.model), QStringList{QStringLiteral("Hidden")});
}

void CategorySynchronizationTest::emptyResultSetsErrorAndStillEnsuresReserved()
{
    LauncherFixture f;
    QSignalSpy error(f.model.get(), &LauncherViewObject::spotlightErrorChanged);
    f.model->discoverServiceDidUpdate({});
    QCOMPARE(f.model->spotlightError(), true);
    QCOMPARE(error.count(), 1);
    f.settle();
    QVERIFY(reserved(*f.store, ReservedType::pinned));
    QVERIFY(reserved(*f.store, ReservedType::hidden));
    QVERIFY(reserved(*f.store, ReservedType::notCategorized));
    QVERIFY(f.model->launcherContent().isEmpty());
    QVERIFY(f.model->virtualGrid().isEmpty());

    // Nothing was applied, so the next list is applied at once too.
    f.model->discoverServiceDidUpdate({item(QStringLiteral("Tool"), QStringLiteral("org.tool"), QStringLiteral("/a/Tool.app"))});
    f.settle();
    QCOMPARE(f.model->launcherContent().size(), 1);
    QCOMPARE(f.model->spotlightError(), true); // never cleared
}

void CategorySynchronizationTest::handsEveryStoredRankStateToTheRanking()
{
    LauncherFixture f;
    Category *work = f.category(QStringLiteral("Work"), 1);
    RankState used;
    used.numberOfVisits = 4;
    used.visitNumber = 9;
    used.rank = 0;
    f.context().insertAppRecord({QStringLiteral("Gone"), QStringLiteral("org.gone"), QStringLiteral("/a/Gone.app"), work, used});
    f.model->discoverServiceDidUpdate({item(QStringLiteral("Tool"), QStringLiteral("org.tool"), QStringLiteral("/a/Tool.app"))});
    f.settle();

    auto future = f.rank->items();
    await(future);
    const std::map<QString, RankState> items = future.result();
    QCOMPARE(items.size(), size_t(2)); // undiscovered records too
    QVERIFY(items.count(QStringLiteral("/a/Tool.app")));
    QCOMPARE(items.at(QStringLiteral("/a/Gone.app")).numberOfVisits, 4);
}

void CategorySynchronizationTest::saveStartsOnePassAndTheChainComesToRest()
{
    LauncherFixture f;
    f.model->discoverServiceDidUpdate({item(QStringLiteral("Tool"), QStringLiteral("org.tool"), QStringLiteral("/a/Tool.app"))});
    f.settle();
    QSignalSpy passes(f.model.get(), &LauncherViewObject::synchronizationFinished);

    // While a pass is requested, further saves are ignored.
    f.model->dbSaved();
    QVERIFY(f.model->updating());
    f.model->dbSaved();
    f.settle();
    QCOMPARE(passes.count(), 1);

    // A store change saved from the screen leads to a pass that changes nothing.
    AppRecord *tool = f.store->appRecord(QStringLiteral("/a/Tool.app"));
    Category *pinned = reserved(*f.store, ReservedType::pinned);
    f.model->addApp(QUrl::fromLocalFile(QStringLiteral("/a/Tool.app")), pinned);
    QCOMPARE(tool->category(), pinned);
    QVERIFY(f.model->updating());
    const auto records = f.store->allAppRecords().size();
    f.settle();
    QCOMPARE(passes.count(), 2);
    QCOMPARE(f.store->allAppRecords().size(), records);
    QCOMPARE(contentTitles(*f.model), QStringList{QStringLiteral("Pinned")});

    // Not a file URL, or an unknown path: nothing happens.
    f.model->addApp(QUrl(QStringLiteral("https://example.org/a/Tool.app")), reserved(*f.store, ReservedType::hidden));
    f.model->addApp(QUrl::fromLocalFile(QStringLiteral("/a/Unknown.app")), reserved(*f.store, ReservedType::hidden));
    QCOMPARE(tool->category(), pinned);
    QVERIFY(!f.model->updating());
}

void CategorySynchronizationTest::pendingResultsWaitForTheKeyWindow()
{
    LauncherFixture f;
    const auto tool = item(QStringLiteral("Tool"), QStringLiteral("org.tool"), QStringLiteral("/a/Tool.app"));
    const auto chess = item(QStringLiteral("Chess"), QStringLiteral("org.chess"), QStringLiteral("/a/Chess.app"), StoreCategory::games);
    f.model->discoverServiceDidUpdate({tool});
    f.settle();

    f.model->discoverServiceDidUpdate({tool, chess});
    QCOMPARE(f.model->pendingSpotlightResults().size(), 2);
    QCOMPARE(f.model->spotlightResults().size(), 1);
    QVERIFY(!f.model->updating());
    QVERIFY(!f.store->appRecord(QStringLiteral("/a/Chess.app")));

    f.model->applyPendingResults();
    QVERIFY(f.model->updating());
    f.settle();
    QVERIFY(f.store->appRecord(QStringLiteral("/a/Chess.app")));
    QCOMPARE(f.model->spotlightResults().size(), 2);

    // The same list again: nothing to apply.
    f.model->applyPendingResults();
    QVERIFY(!f.model->updating());
}

void CategorySynchronizationTest::unchangedRankStateWritesNothing()
{
    LauncherFixture f;
    f.model->discoverServiceDidUpdate({item(QStringLiteral("Tool"), QStringLiteral("org.tool"), QStringLiteral("/a/Tool.app"))});
    f.settle();
    AppRecord *tool = f.store->appRecord(QStringLiteral("/a/Tool.app"));
    QSignalSpy saved(f.store.get(), &DataModel::didSave);

    f.model->rankStateDidChange(tool->path(), tool->rankState());
    f.model->rankStateDidChange(QStringLiteral("/a/Unknown.app"), RankState{});
    QCoreApplication::processEvents();
    QCOMPARE(saved.count(), 0);
    QVERIFY(!f.model->updating());

    RankState changed = tool->rankState();
    changed.numberOfVisits = 3;
    f.model->rankStateDidChange(tool->path(), changed);
    f.settle(); // the save starts a pass whose reports may save once more, then all rests
    QVERIFY(saved.count() >= 1);
    QCOMPARE(tool->rankState().numberOfVisits, 3);
}

QTEST_GUILESS_MAIN(CategorySynchronizationTest)
#include "CategorySynchronizationTest.moc"
