// LauncherViewObject state: category lists, search, ranking order and change handlers.

#include "LauncherFixture.h"

#include <limits>

using namespace velmora;
using namespace velmora::test;

namespace {

constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();

// One category of everything the search examples need, plus Hidden.
struct SearchLibrary {
    explicit SearchLibrary(LauncherFixture &f)
    {
        tools = f.category(QStringLiteral("Tools"), 1);
        other = f.category(QStringLiteral("Other"), 2);
        hidden = f.category(QStringLiteral("Hidden"), kMax, ReservedType::hidden);
        for (const auto &[name, bundle, category] :
             std::initializer_list<std::tuple<const char *, const char *, Category *>>{
                 {"Keynote", "com.apple.Keynote", tools},
                 {"Notes", "com.apple.Notes", tools},
                 {"Sound Mixer", "org.audio.mixer", tools},
                 {"SoundMix", "org.audio.soundmix", tools},
                 {"Visa", "com.bank.visa", other},
                 {"Safari", "com.apple.Safari", other},
                 {"Zzzzz Bar", "org.z.x", other},
                 {"Cafe\u0301 Bar", "org.cafe.x", other},
                 {"Note", "org.hidden.note", hidden},
             }) {
            f.app(QString::fromUtf8(name), category, QString::fromUtf8(bundle));
        }
        LauncherContent content;
        for (Category *c : {tools, other, hidden}) {
            QList<AppRecord *> apps;
            for (AppRecord *r : f.store->allAppRecords())
                if (r->category() == c)
                    apps.append(r);
            content.append({c, apps});
        }
        f.model->setLauncherContent(content);
    }
    Category *tools;
    Category *other;
    Category *hidden;
};

} // namespace

class LauncherViewObjectTest : public QObject {
    Q_OBJECT

private slots:
    void sortedCategoryLists();
    void search_data();
    void search();
    void focusedCategoryNarrowsTheSearch();
    void searchTextChangeResetsTheHighlightLater();
    void predictionOrdersEachCategory();
    void showHiddenGroupPullsTheHighlightBack();
    void viewTypeIsAPlainStringInTheDefaults();
    void searchCards();
    void statusIsPublishedAndPrinted();
};

void LauncherViewObjectTest::sortedCategoryLists()
{
    LauncherFixture f;
    Category *hidden = f.category(QStringLiteral("Hidden"), kMax, ReservedType::hidden);
    Category *pinned = f.category(QStringLiteral("Pinned"), -1, ReservedType::pinned);
    Category *games = f.category(QStringLiteral("Games"), 1);
    Category *none = f.category(QStringLiteral("Not Categorized"), kMax - 1, ReservedType::notCategorized);
    QSignalSpy sorted(f.model.get(), &LauncherViewObject::sortedCategoriesChanged);
    f.model->setLauncherContent({{hidden, {}}, {pinned, {}}, {games, {}}, {none, {}}});
    QCOMPARE(sorted.count(), 1);
    QCOMPARE(f.model->sortedCategories(), (QList<Category *>{pinned, games, none, hidden}));
    QCOMPARE(f.model->sortedAndFilteredCategories(), QList<Category *>{games});
    const QVariantList forQml = f.model->property("sortedAndFilteredCategories").toList();
    QCOMPARE(forQml.size(), 1);
    QCOMPARE(forQml.first().toMap().value(QStringLiteral("title")).toString(), QStringLiteral("Games"));
}

void LauncherViewObjectTest::search_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("spaces only") << "  \t " << QStringList{};
    QTest::newRow("inner space is dropped") << "Sound Mix" << QStringList{"SoundMix"};
    QTest::newRow("capitals") << "SAF" << QStringList{"Safari"};
    QTest::newRow("capitals rank like lower case") << "SA" << QStringList{"Safari", "Visa"};
    QTest::newRow("match position, hidden last") << "note" << QStringList{"Notes", "Keynote", "Note"};
    QTest::newRow("bundle identifier piece") << "mixer" << QStringList{"Sound Mixer"};
    QTest::newRow("characters, not code units") << "bar" << QStringList{"Cafe\u0301 Bar", "Zzzzz Bar"};
    QTest::newRow("no match") << "qqq" << QStringList{};
}

void LauncherViewObjectTest::search()
{
    QFETCH(QString, text);
    QFETCH(QStringList, expected);
    LauncherFixture f;
    SearchLibrary library(f);
    f.model->setSearchText(text);
    QCOMPARE(f.namesOf(f.model->searchResults()), expected);
    QCOMPARE(f.model->isSearching(), !text.trimmed().isEmpty());
    // The grid follows at once: the search grid has no header rows.
    if (f.model->isSearching()) {
        QCOMPARE(f.model->gridIsSearch(), true);
        int tiles = 0;
        for (const GridRow &row : f.model->virtualGrid())
            for (const GridElement &e : row)
                tiles += e.isApp();
        QCOMPARE(tiles, expected.size());
    } else {
        QCOMPARE(f.model->virtualGrid().first().first().isCategoryHeader(), true);
    }
}

void LauncherViewObjectTest::focusedCategoryNarrowsTheSearch()
{
    LauncherFixture f;
    SearchLibrary library(f);
    f.model->setSearchText(QStringLiteral("a"));
    QCoreApplication::processEvents();
    f.model->setHighlightItemX(1);
    f.model->setHighlightItemY(2);
    f.model->setShowingCategoryHeaderIndex(3);
    f.model->setFocusedCategory(library.other);
    QCOMPARE(f.namesOf(f.model->searchResults()),
             (QStringList{"Safari", "Cafe\u0301 Bar", "Visa", "Zzzzz Bar"}));
    QCOMPARE(f.model->highlightItemX(), 0);
    QCOMPARE(f.model->highlightItemY(), 0);
    QCOMPARE(f.model->showingCategoryHeaderIndex(), std::nullopt);
    QCOMPARE(f.model->focusedCategoryUUID(), library.other->categoryUUID());

    // Without a search the grid shows only the focused category.
    f.model->setSearchText(QString());
    QCOMPARE(f.model->virtualGrid().first().first().category(), library.other);
    for (const GridRow &row : f.model->virtualGrid())
        QVERIFY(!row.first().isCategoryHeader() || row.first().category() == library.other);
}

void LauncherViewObjectTest::searchTextChangeResetsTheHighlightLater()
{
    LauncherFixture f;
    SearchLibrary library(f);
    f.model->setHighlightItemX(2);
    f.model->setHighlightItemY(3);
    f.model->setSearchText(QStringLiteral("o"));
    QCOMPARE(f.model->highlightItemY(), 3); // not yet
    QCoreApplication::processEvents();
    QCOMPARE(f.model->highlightItemX(), 0);
    QCOMPARE(f.model->highlightItemY(), 0);
}

void LauncherViewObjectTest::predictionOrdersEachCategory()
{
    LauncherFixture f;
    SearchLibrary library(f);
    const QList<AppRecord *> before = f.model->appsOf(library.tools);
    QCOMPARE(f.namesOf(before), (QStringList{"Keynote", "Notes", "Sound Mixer", "SoundMix"}));
    // Sound Mixer is listed twice: the first entry counts. Keynote is not listed at all.
    f.model->predictionListDidChange({{before[2]->path(), 0.5},
                                      {before[3]->path(), 0.9},
                                      {before[1]->path(), 0.5},
                                      {before[2]->path(), 5.0}});
    QCOMPARE(f.namesOf(f.model->appsOf(library.tools)),
             (QStringList{"SoundMix", "Notes", "Sound Mixer", "Keynote"}));
    // The grid follows the new order: the first application row starts with SoundMix.
    QCOMPARE(f.model->virtualGrid().at(1).first().appRecord()->displayName(), QStringLiteral("SoundMix"));
    QCOMPARE(f.namesOf(f.model->appsOf(library.other)).size(), 4);
}

void LauncherViewObjectTest::showHiddenGroupPullsTheHighlightBack()
{
    LauncherFixture f;
    SearchLibrary library(f);
    f.model->setTotalWidth(400); // 3 columns
    QCoreApplication::processEvents();
    const int rows = f.model->rowCount();
    f.model->setHighlightItemY(rows + 4);
    f.model->setShowHiddenGroup(true);
    QCOMPARE(f.model->highlightItemY(), rows - 2);
    QVERIFY(f.model->rowCount() > rows); // the Hidden applications are shown now
    f.model->setHighlightItemY(1);
    f.model->setShowHiddenGroup(false);
    QCOMPARE(f.model->highlightItemY(), 1);
    QCOMPARE(f.model->rowCount(), rows);
}

void LauncherViewObjectTest::viewTypeIsAPlainStringInTheDefaults()
{
    LauncherFixture f;
    QCOMPARE(f.model->viewType(), LauncherViewType::grid);
    QSignalSpy changed(f.model.get(), &LauncherViewObject::viewTypeChanged);
    f.model->setViewType(LauncherViewType::list);
    QCOMPARE(f.defaults->plainValue(QStringLiteral("Launcher.viewType")), QJsonValue(QStringLiteral("list")));
    QVERIFY(changed.wait(1000));
    // Read anew on every access: another writer's value counts, garbage reads as grid.
    f.defaults->setPlainValue(QStringLiteral("Launcher.viewType"), QStringLiteral("grid"));
    QCOMPARE(f.model->viewTypeRaw(), QStringLiteral("grid"));
    f.defaults->setPlainValue(QStringLiteral("Launcher.viewType"), QStringLiteral("tiles"));
    QCOMPARE(f.model->viewType(), LauncherViewType::grid);
}

void LauncherViewObjectTest::searchCards()
{
    LauncherFixture f;
    f.model->setSearchText(QStringLiteral(" 2+3 "));
    QCOMPARE(f.model->searchCardInputText(), QStringLiteral("2+3"));
    QCOMPARE(f.model->calculatorResult(), QStringLiteral("5"));
    f.model->setSearchText(QStringLiteral("5"));
    QCOMPARE(f.model->calculatorResult(), QString());
    f.model->setSearchText(QString());
    QCOMPARE(f.model->calculatorResult(), QString());
    QCOMPARE(f.model->dictionaryDefinition(), QString());
}

void LauncherViewObjectTest::statusIsPublishedAndPrinted()
{
    LauncherFixture f;
    QSignalSpy changed(f.model.get(), &LauncherViewObject::spotlightStatusChanged);
    f.model->discoverServiceDidUpdateStatus(SpotlightStatus::indexing);
    QCOMPARE(f.model->spotlightStatus(), SpotlightStatus::indexing);
    QCOMPARE(f.model->property("spotlightStatus").toString(), QStringLiteral("indexing"));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(f.output, QStringList{QStringLiteral("indexing")});
}

QTEST_GUILESS_MAIN(LauncherViewObjectTest)
#include "LauncherViewObjectTest.moc"
