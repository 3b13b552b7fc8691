// LauncherScreen: the screen's reactions, resets, category list, tile and header actions.

#include "LauncherFixture.h"

#include "velmora/launcher/LauncherScreen.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>

#include "kestrelkit/NotificationCenter.h"

#include <algorithm>
#include <limits>

using namespace velmora;
using namespace velmora::test;

namespace {

constexpr double kThreeColumns = 400;
const QChar kOption(0x2325);

void post(const char *name, const QVariantMap &userInfo = {})
{
    kestrelkit::NotificationCenter::defaultCenter().post(QString::fromLatin1(name), userInfo);
}

// Pinned (p1, p2), Games (g1..g3), Tools (t1), Hidden (h1), Not Categorized (n1).
struct Library {
    explicit Library(LauncherFixture &f)
    {
        // The content is set by hand: no synchronisation pass may replace it after a save.
        QObject::disconnect(f.store.get(), &DataModel::didSave, f.model.get(), nullptr);
        pinned = f.category(QStringLiteral("Pinned"), std::numeric_limits<std::int64_t>::min(),
                            ReservedType::pinned);
        games = f.category(QStringLiteral("Games"), 1);
        tools = f.category(QStringLiteral("Tools"), 4);
        hidden = f.category(QStringLiteral("Hidden"), std::numeric_limits<std::int64_t>::max() - 1,
                            ReservedType::hidden);
        notCategorized = f.category(QStringLiteral("Not Categorized"),
                                    std::numeric_limits<std::int64_t>::max(), ReservedType::notCategorized);
        LauncherContent content{{pinned, {f.app(QStringLiteral("p1"), pinned), f.app(QStringLiteral("p2"), pinned)}},
                                {games, {}},
                                {tools, {f.app(QStringLiteral("t1"), tools)}},
                                {hidden, {f.app(QStringLiteral("h1"), hidden)}},
                                {notCategorized, {f.app(QStringLiteral("n1"), notCategorized)}}};
        for (int i = 1; i <= 3; ++i)
            content[1].apps.append(f.app(QStringLiteral("g%1").arg(i), games));
        f.model->setLauncherContent(content);
        f.model->setTotalWidth(kThreeColumns);
        QVERIFY(f.context().save());
        QCoreApplication::processEvents();
    }
    Category *pinned, *games, *tools, *hidden, *notCategorized;
};

QStringList labels(const QVariantList &entries)
{
    QStringList result;
    for (const QVariant &entry : entries)
        result.append(entry.toMap().value(QStringLiteral("label")).toString());
    return result;
}

QString path(const QString &name)
{
    return QStringLiteral("/apps/") + name + QStringLiteral(".desktop");
}

} // namespace

class LauncherScreenTest : public QObject {
    Q_OBJECT

private slots:
    void categoryListOffersNonEmptyVisibleCategories();
    void categoryListDigitsStopAfterTheNinth();
    void optionDigits_data();
    void optionDigits();
    void modifierKeysDriveTheScreenState();
    void arrowsNeedTheScrollProxy();
    void presentationResetOnViewTypeChange();
    void keyWindowResetClearsEverything();
    void headerRuleStepsOffAHeader();
    void appActions_data();
    void appActions();
    void removeFromCategoryDeletesTheEmptiedCategory();
    void newCategoryTakesTheNextSortOrder_data();
    void newCategoryTakesTheNextSortOrder();
    void appMenuOffersOrdinaryCategories();
    void headerMovesSwapNeighbours();
    void pinnedHeaderFollowsTheScrollOffset();
    void layoutRegistersEveryCellForKeyboardScrolls();
    void visibleRowsFollowTheViewport();
    void visibleRowsUpdateInPlace();
    void dropClosesAtOnceAndMovesOnTheNextTurn();
    void widthIsDebounced();
    void texts_data();
    void texts();
    void warningCopiesTheCommand();
    void menuPostsItsNotifications();
};

void LauncherScreenTest::categoryListOffersNonEmptyVisibleCategories()
{
    LauncherFixture f;
    Library lib(f);
    Category *music = f.category(QStringLiteral("Music"), 2); // empty: not offered
    Q_UNUSED(music);
    f.model->rebuildCategoryLists();
    LauncherScreen screen(*f.model);
    QCOMPARE(labels(screen.categoryListEntries()),
             (QStringList{QStringLiteral("All ") + kOption + u'1', QStringLiteral("Pinned ") + kOption + u'2',
                          QStringLiteral("Games ") + kOption + u'3', QStringLiteral("Tools ") + kOption + u'4',
                          QStringLiteral("Not Categorized ") + kOption + u'5'}));
    QVERIFY(screen.categoryListEntries().first().toMap().value(QStringLiteral("chosen")).toBool());
}

void LauncherScreenTest::categoryListDigitsStopAfterTheNinth()
{
    LauncherFixture f;
    LauncherContent content;
    for (int i = 1; i <= 11; ++i) {
        Category *c = f.category(QStringLiteral("C%1").arg(i), i);
        content.append({c, {f.app(QStringLiteral("app%1").arg(i), c)}});
    }
    f.model->setLauncherContent(content);
    LauncherScreen screen(*f.model);
    const QStringList list = labels(screen.categoryListEntries());
    QCOMPARE(list.size(), 12);
    QCOMPARE(list[9], QStringLiteral("C9 ") + kOption + u'0');
    QCOMPARE(list[10], QStringLiteral("C10"));
    QCOMPARE(list[11], QStringLiteral("C11"));

    screen.setCategoryListPresented(true);
    post("keyboardPressedOptionNumberSet", {{QStringLiteral("key"), QStringLiteral("0")}});
    QCOMPARE(f.model->focusedCategory()->title(), QStringLiteral("C9"));
}

void LauncherScreenTest::optionDigits_data()
{
    QTest::addColumn<bool>("presented");
    QTest::addColumn<QVariantMap>("userInfo");
    QTest::addColumn<QString>("focused"); // title, "" for none, "-" unchanged (Tools)

    const auto key = [](const QVariant &v) { return QVariantMap{{QStringLiteral("key"), v}}; };
    QTest::newRow("3 chooses the second offered") << true << key(QStringLiteral("3")) << "Games";
    QTest::newRow("1 returns to All") << true << key(QStringLiteral("1")) << "";
    QTest::newRow("not presented: ignored") << false << key(QStringLiteral("3")) << "-";
    QTest::newRow("no button for 7") << true << key(QStringLiteral("7")) << "-";
    QTest::newRow("no user info") << true << QVariantMap() << "-";
    QTest::newRow("key not a string") << true << key(3) << "-";
}

void LauncherScreenTest::optionDigits()
{
    QFETCH(bool, presented);
    QFETCH(QVariantMap, userInfo);
    QFETCH(QString, focused);
    LauncherFixture f;
    Library lib(f);
    LauncherScreen screen(*f.model);
    f.model->setFocusedCategory(lib.tools);
    screen.setCategoryListPresented(presented);
    QSignalSpy scrolls(&screen, &LauncherScreen::categoryListScrollRequested);

    post("keyboardPressedOptionNumberSet", userInfo);
    QCoreApplication::processEvents();

    const QString expected = focused == QLatin1String("-") ? QStringLiteral("Tools") : focused;
    QCOMPARE(f.model->focusedCategory() ? f.model->focusedCategory()->title() : QString(), expected);
    QCOMPARE(scrolls.size(), focused == QLatin1String("-") ? 0 : 1);
    QCOMPARE(screen.categoryListShown(), presented || !expected.isEmpty());
}

void LauncherScreenTest::modifierKeysDriveTheScreenState()
{
    LauncherFixture f;
    Library lib(f);
    LauncherScreen screen(*f.model);
    post("keyboardPressedCommand");
    QVERIFY(screen.showCommandKeyTips());
    post("keyboardReleasedCommand");
    QVERIFY(!screen.showCommandKeyTips());
    post("keyboardPressedOption");
    QVERIFY(screen.isCategoryListPresented());
    QVERIFY(screen.categoryListShown());
    post("keyboardReleasedOption");
    QVERIFY(!screen.categoryListShown());
    post("keyboardPressedShift");
    QVERIFY(f.model->zoomMode());
    post("keyboardReleasedShift");
    QVERIFY(!f.model->zoomMode());

    // Releasing Alt after choosing a category keeps the list.
    post("keyboardPressedOption");
    screen.chooseCategory(lib.games->categoryUUID());
    post("keyboardReleasedOption");
    QVERIFY(screen.categoryListShown());
}

void LauncherScreenTest::arrowsNeedTheScrollProxy()
{
    LauncherFixture f;
    Library lib(f);
    LauncherScreen screen(*f.model);
    const int y = f.model->highlightItemY();
    post("keyboardPressedDown");
    post("keyboardPressedRight");
    QCOMPARE(f.model->highlightItemY(), y);
    QCOMPARE(f.model->highlightItemX(), 0);

    screen.saveProxy(nullptr);
    post("keyboardPressedRight");
    QCOMPARE(f.model->highlightItemX(), 1);
    post("keyboardPressedLeft");
    post("keyboardPressedLeft");
    QCOMPARE(f.model->highlightItemX(), 0);
    post("keyboardPressedDown");
    QVERIFY(f.model->highlightItemY() > y);
}

void LauncherScreenTest::presentationResetOnViewTypeChange()
{
    LauncherFixture f;
    Library lib(f);
    LauncherScreen screen(*f.model);
    f.model->setFocusedCategory(lib.games);
    f.model->setHighlightItemX(1);
    screen.setShowCommandKeyTips(true);
    screen.setCategoryListPresented(true);

    screen.chooseViewType(QStringLiteral("list"));
    QCoreApplication::processEvents(); // the defaults observer reports on the next turn

    QCOMPARE(f.model->viewTypeRaw(), QStringLiteral("list"));
    QCOMPARE(f.model->focusedCategory(), nullptr);
    QCOMPARE(f.model->highlightItemX(), 0);
    QCOMPARE(f.model->highlightItemY(), 1); // the header rule: row 0 is a header
    QVERIFY(!screen.showCommandKeyTips());
    QVERIFY(!screen.isCategoryListPresented());
    QCOMPARE(f.model->gridColumnCount(), 1);
}

void LauncherScreenTest::keyWindowResetClearsEverything()
{
    LauncherFixture f;
    Library lib(f);
    LauncherScreen screen(*f.model);
    QSignalSpy focus(&screen, &LauncherScreen::focusSearchField);
    f.model->setZoomMode(true);
    f.model->setSearchText(QStringLiteral("g"));
    f.model->setShowDropList(true);
    f.model->setShowHiddenGroup(true);
    f.model->setFocusedCategory(lib.games);
    screen.setShowCommandKeyTips(true);
    screen.setCategoryListPresented(true);

    screen.keyWindowReset();

    QCOMPARE(focus.size(), 1);
    QVERIFY(!f.model->zoomMode());
    QCOMPARE(f.model->searchText(), QString());
    QVERIFY(!f.model->showDropList());
    QVERIFY(!f.model->showHiddenGroup());
    QCOMPARE(f.model->focusedCategory(), nullptr);
    QVERIFY(!screen.showCommandKeyTips());
    QVERIFY(!screen.categoryListShown());
    QCOMPARE(f.model->showingCategoryHeaderIndex(), std::optional<int>(0));
    QCOMPARE(f.model->highlightItemX(), 0);
}

void LauncherScreenTest::headerRuleStepsOffAHeader()
{
    LauncherFixture f;
    Library lib(f);
    LauncherScreen screen(*f.model);
    // Rows: [Pinned] p1 p2 | [Games] g1 g2 g3 | [Tools] t1 | [Not Categorized] n1
    f.model->setHighlightItemY(2);
    QCOMPARE(f.model->highlightItemY(), 3);
    const int last = f.model->rowCount() - 1;
    f.model->setHighlightItemY(last);
    QCOMPARE(f.model->highlightItemY(), last);
}

void LauncherScreenTest::appActions_data()
{
    QTest::addColumn<QString>("app");
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("category");

    QTest::newRow("pin from a user category") << "t1" << "pin" << "Pinned";
    QTest::newRow("unpin goes to Not Categorized") << "p1" << "pin" << "Not Categorized";
    QTest::newRow("hide from Pinned") << "p1" << "hide" << "Hidden";
    QTest::newRow("unhide goes to Not Categorized") << "h1" << "hide" << "Not Categorized";
    QTest::newRow("picker moves") << "n1" << "Games" << "Games";
}

void LauncherScreenTest::appActions()
{
    QFETCH(QString, app);
    QFETCH(QString, action);
    QFETCH(QString, category);
    LauncherFixture f;
    Library lib(f);
    LauncherScreen screen(*f.model);
    if (action == QLatin1String("pin"))
        screen.togglePin(path(app));
    else if (action == QLatin1String("hide"))
        screen.toggleHide(path(app));
    else
        screen.setAppCategory(path(app), f.store->categoryWithTitle(action)->categoryUUID());

    QVERIFY(!f.context().hasChanges()); // saved
    // Read back from a second store on the same file: the change reached the disk.
    auto reopened = DataModel::open(f.store->path());
    QVERIFY(reopened);
    QCOMPARE(reopened->appRecord(path(app))->category()->title(), category);
}

void LauncherScreenTest::removeFromCategoryDeletesTheEmptiedCategory()
{
    LauncherFixture f;
    Library lib(f);
    LauncherScreen screen(*f.model);
    screen.removeAppFromCategory(path(QStringLiteral("t1")));
    QCOMPARE(f.store->appRecord(path(QStringLiteral("t1")))->category(), lib.notCategorized);
    QVERIFY(lib.tools->isDeleted());
    QVERIFY(!lib.games->isDeleted());
}

void LauncherScreenTest::newCategoryTakesTheNextSortOrder_data()
{
    QTest::addColumn<QList<int>>("orders");
    QTest::addColumn<int>("expected");
    QTest::newRow("1, 4, 2") << QList<int>{1, 4, 2} << 5;
    QTest::newRow("none") << QList<int>{} << 1;
    QTest::newRow("negative") << QList<int>{-3} << -2;
}

void LauncherScreenTest::newCategoryTakesTheNextSortOrder()
{
    QFETCH(QList<int>, orders);
    QFETCH(int, expected);
    LauncherFixture f;
    QObject::disconnect(f.store.get(), &DataModel::didSave, f.model.get(), nullptr);
    Category *notCategorized = f.category(QStringLiteral("Not Categorized"),
                                          std::numeric_limits<std::int64_t>::max(), ReservedType::notCategorized);
    LauncherContent content{{notCategorized, {f.app(QStringLiteral("x"), notCategorized)}}};
    for (int order : orders) {
        Category *c = f.category(QStringLiteral("C%1").arg(order), order);
        content.append({c, {f.app(QStringLiteral("a%1").arg(order + 10), c)}});
    }
    f.model->setLauncherContent(content);
    LauncherScreen screen(*f.model);
    screen.newCategoryForApp(path(QStringLiteral("x")));
    const Category *created = f.store->appRecord(path(QStringLiteral("x")))->category();
    QCOMPARE(created->title(), QStringLiteral("Untitled"));
    QCOMPARE(created->sortOrder(), std::int64_t(expected));
    QCOMPARE(created->systemIconName(), QStringLiteral("folder"));
    QVERIFY(!created->reservedType());
    QVERIFY(!f.context().hasChanges());
}

void LauncherScreenTest::appMenuOffersOrdinaryCategories()
{
    LauncherFixture f;
    Library lib(f);
    LauncherScreen screen(*f.model);
    const QVariantMap pinnedMenu = screen.appMenu(path(QStringLiteral("p1")));
    QVERIFY(!pinnedMenu.value(QStringLiteral("canRemove")).toBool());
    QCOMPARE(pinnedMenu.value(QStringLiteral("pinLabel")).toString(), QStringLiteral("Unpin"));
    QCOMPARE(pinnedMenu.value(QStringLiteral("hideLabel")).toString(), QStringLiteral("Hide"));
    QStringList titles;
    for (const QVariant &c : pinnedMenu.value(QStringLiteral("categories")).toList()) {
        titles.append(c.toMap().value(QStringLiteral("title")).toString());
        QVERIFY(!c.toMap().value(QStringLiteral("marked")).toBool());
    }
    QCOMPARE(titles, (QStringList{QStringLiteral("Games"), QStringLiteral("Tools")}));

    const QVariantMap toolMenu = screen.appMenu(path(QStringLiteral("t1")));
    QVERIFY(toolMenu.value(QStringLiteral("canRemove")).toBool());
    QCOMPARE(toolMenu.value(QStringLiteral("pinSymbol")).toString(), QStringLiteral("pin.fill"));
    QVERIFY(toolMenu.value(QStringLiteral("categories")).toList()[1].toMap().value(QStringLiteral("marked")).toBool());
    QCOMPARE(screen.appMenu(path(QStringLiteral("h1"))).value(QStringLiteral("hideLabel")).toString(),
             QStringLiteral("Unhide"));
}

void LauncherScreenTest::headerMovesSwapNeighbours()
{
    LauncherFixture f;
    Library lib(f);
    LauncherScreen screen(*f.model);
    const QVariantMap games = screen.headerPlace(lib.games->categoryUUID(), false);
    QVERIFY(games.value(QStringLiteral("isFirst")).toBool());
    QVERIFY(!games.value(QStringLiteral("isLast")).toBool());
    QVERIFY(screen.headerPlace(lib.tools->categoryUUID(), false).value(QStringLiteral("isLast")).toBool());

    screen.moveCategory(lib.games->categoryUUID(), true, false); // first: nothing
    QCOMPARE(lib.games->sortOrder(), 1);
    screen.moveCategory(lib.tools->categoryUUID(), true, false);
    QCOMPARE(lib.tools->sortOrder(), 1);
    QCOMPARE(lib.games->sortOrder(), 4);
    QVERIFY(!f.context().hasChanges());
    screen.moveCategory(lib.pinned->categoryUUID(), false, true); // not in the list: nothing
    QCOMPARE(lib.pinned->sortOrder(), std::numeric_limits<std::int64_t>::min());
}

void LauncherScreenTest::pinnedHeaderFollowsTheScrollOffset()
{
    LauncherFixture f;
    Library lib(f);
    LauncherScreen screen(*f.model);
    screen.trackScrollOffset(500); // no proxy: only cleared
    QCOMPARE(f.model->showingCategoryHeaderIndex(), std::nullopt);

    screen.saveProxy(nullptr);
    screen.registerHeader(lib.pinned->categoryUUID(), 0, 0, 300, 40);
    screen.registerHeader(lib.games->categoryUUID(), 0, 300, 300, 40);
    // Tools not laid out yet (0); Not Categorized far below.
    screen.registerHeader(lib.notCategorized->categoryUUID(), 0, 900, 300, 40);

    screen.trackScrollOffset(0);
    QCOMPARE(f.model->showingCategoryHeaderIndex(), std::nullopt);
    screen.trackScrollOffset(10);
    QCOMPARE(f.model->showingCategoryHeaderIndex(), std::optional<int>(0));
    QCOMPARE(screen.pinnedHeader().value(QStringLiteral("displayTitle")).toString(), QStringLiteral("Pinned"));
    screen.trackScrollOffset(400);
    QCOMPARE(f.model->showingCategoryHeaderIndex(), std::optional<int>(1));
    screen.trackScrollOffset(1000); // Tools and Hidden are unregistered: skipped
    QCOMPARE(f.model->showingCategoryHeaderIndex(), std::optional<int>(4));

    f.model->setSearchText(QStringLiteral("g"));
    QVERIFY(screen.pinnedHeader().isEmpty());
}

void LauncherScreenTest::layoutRegistersEveryCellForKeyboardScrolls()
{
    LauncherFixture f;
    Library lib(f);
    LauncherScreen screen(*f.model);
    screen.saveProxy(nullptr);
    screen.setHeaderHeight(30);
    screen.setLabelHeight(10);
    const auto proxy = *screen.savedProxy();
    const QList<double> tops = screen.rowTops();
    QCOMPARE(tops.size(), f.model->rowCount());
    const double header = 30 + LauncherScreen::kHeaderBottomMargin;
    const double inset = LauncherScreen::kGridTopInset;
    QCOMPARE(tops[0], inset);
    QCOMPARE(tops[1], inset + header);
    QCOMPARE(proxy.getPosition(ScrollId(path(QStringLiteral("p1")))), inset + header);
    // Tools' header is the fifth row: two headers and two application rows above it.
    const double tile = screen.cellWidth() + LauncherScreen::kTileLabelGap + 10 + f.model->gridSpacing();
    QCOMPARE(proxy.getPosition(ScrollId(QUuid::fromString(lib.tools->categoryUUID()))),
             inset + 2 * header + 2 * tile);
    QCOMPARE(screen.contentHeight(), inset + 5 * header + 4 * tile); // the folded Hidden header too
}

namespace {

QHash<QByteArray, int> rolesOf(const QAbstractItemModel &model)
{
    QHash<QByteArray, int> roles;
    const auto names = model.roleNames();
    for (auto it = names.begin(); it != names.end(); ++it)
        roles.insert(it.value(), it.key());
    return roles;
}

// The screen's rows are exactly the grid rows reaching into the viewport's band, in
// order, each with its place and its cells as the view object reads them.
void verifyWindow(const LauncherScreen &screen, const LauncherViewObject &model, double top, double height)
{
    const QAbstractItemModel &rows = *screen.visibleRows();
    const auto roles = rolesOf(rows);
    const QList<double> tops = screen.rowTops();
    const QList<double> heights = screen.rowHeights();
    QList<int> expected;
    for (int i = 0; i < tops.size(); ++i) {
        const double y = tops[i];
        if (y + heights[i] > top - LauncherScreen::kRowBuildMargin
            && y <= top + height + LauncherScreen::kRowBuildMargin)
            expected.append(i);
    }
    QList<int> shown;
    for (int i = 0; i < rows.rowCount(); ++i) {
        const QModelIndex index = rows.index(i, 0);
        const int row = rows.data(index, roles["rowIndex"]).toInt();
        shown.append(row);
        QCOMPARE(rows.data(index, roles["rowTop"]).toDouble(), tops[row]);
        QCOMPARE(rows.data(index, roles["rowHeight"]).toDouble(), heights[row]);
        const bool header = rows.data(index, roles["kind"]).toString() == QLatin1String("header");
        if (header) {
            QCOMPARE(rows.data(index, roles["categoryUUID"]).toString(),
                     model.virtualGrid().at(row).first().category()->categoryUUID());
            continue;
        }
        const QVariantList cells = rows.data(index, roles["cells"]).toList();
        QCOMPARE(cells.size(), model.virtualGrid().at(row).size());
        for (int column = 0; column < cells.size(); ++column)
            QCOMPARE(cells[column].toMap(), model.elementAt(row, column));
    }
    QCOMPARE(shown, expected);
}

// The library above on a screen with fixed header and label heights, its rows checked
// by the model tester throughout.
struct RowsFixture {
    RowsFixture()
    {
        screen.setHeaderHeight(30);
        screen.setLabelHeight(10);
    }
    LauncherFixture f;
    Library lib{f};
    LauncherScreen screen{*f.model};
    QAbstractItemModelTester tester{screen.visibleRows(), QAbstractItemModelTester::FailureReportingMode::QtTest};
};

} // namespace

void LauncherScreenTest::visibleRowsFollowTheViewport()
{
    RowsFixture rows;
    LauncherFixture &f = rows.f;
    LauncherScreen &screen = rows.screen;
    QVERIFY(f.model->rowCount() > 6);
    const double total = screen.contentHeight();
    const double rowHeight = screen.rowHeights().value(1);
    // A viewport smaller than the grid, so that scrolling adds and drops rows at both ends.
    const double viewport = std::max(1.0, total - 2 * LauncherScreen::kRowBuildMargin - 3 * rowHeight);
    for (double top : {0.0, rowHeight, 2.5 * rowHeight, total, 0.0, total + 1000, 0.0}) {
        screen.setViewport(top, viewport);
        verifyWindow(screen, *f.model, top, viewport);
        if (QTest::currentTestFailed())
            return;
    }
    screen.setViewport(total + 1000, viewport);
    QCOMPARE(screen.visibleRows()->rowCount(), 0);
}

void LauncherScreenTest::visibleRowsUpdateInPlace()
{
    RowsFixture fixture;
    LauncherFixture &f = fixture.f;
    Library &lib = fixture.lib;
    LauncherScreen &screen = fixture.screen;
    screen.setViewport(0, 10000);
    QAbstractItemModel &rows = *screen.visibleRows();
    const auto roles = rolesOf(rows);
    QSignalSpy removed(&rows, &QAbstractItemModel::rowsRemoved);
    QSignalSpy inserted(&rows, &QAbstractItemModel::rowsInserted);
    QSignalSpy reset(&rows, &QAbstractItemModel::modelReset);
    QSignalSpy changed(&rows, &QAbstractItemModel::dataChanged);
    const QPersistentModelIndex first(rows.index(0, 0));
    const int before = rows.rowCount();

    // Typing: the grid shrinks to the results; rows that stay are changed, not rebuilt.
    f.model->setSearchText(QStringLiteral("g"));
    verifyWindow(screen, *f.model, 0, 10000);
    QCOMPARE(reset.count(), 0);
    QCOMPARE(inserted.count(), 0);
    QCOMPARE(rows.rowCount(), f.model->rowCount());
    QVERIFY(rows.rowCount() < before);
    QVERIFY(first.isValid());
    QCOMPARE(first.row(), 0);
    QVERIFY(changed.count() > 0);

    // A rename reaches the header row as a change of its titles only.
    f.model->setSearchText(QString());
    changed.clear();
    removed.clear();
    inserted.clear();
    lib.games->setTitle(QStringLiteral("Play"));
    f.model->rebuildCategoryLists();
    f.model->setLauncherContent(f.model->launcherContent());
    verifyWindow(screen, *f.model, 0, 10000);
    QCOMPARE(removed.count() + inserted.count(), 0);
    bool titleChanged = false;
    for (const QList<QVariant> &arguments : std::as_const(changed)) {
        const QModelIndex index = arguments.at(0).toModelIndex();
        const auto changedRoles = arguments.at(2).value<QList<int>>();
        if (rows.data(index, roles["title"]).toString() == QLatin1String("Play")) {
            titleChanged = true;
            QVERIFY(changedRoles.contains(roles["title"]));
            QVERIFY(!changedRoles.contains(roles["cells"]));
        }
    }
    QVERIFY(titleChanged);
}

void LauncherScreenTest::dropClosesAtOnceAndMovesOnTheNextTurn()
{
    LauncherFixture f;
    Library lib(f);
    LauncherScreen screen(*f.model);
    f.model->setShowDropList(true);
    screen.dropOnCategory(QUrl::fromLocalFile(path(QStringLiteral("n1"))), lib.games->categoryUUID());
    QVERIFY(!f.model->showDropList());
    QCOMPARE(f.store->appRecord(path(QStringLiteral("n1")))->category(), lib.notCategorized);
    QCoreApplication::processEvents();
    QCOMPARE(f.store->appRecord(path(QStringLiteral("n1")))->category(), lib.games);

    screen.dropOnCategory(QUrl::fromLocalFile(QStringLiteral("/nowhere.desktop")), lib.games->categoryUUID());
    QCoreApplication::processEvents();
    QCOMPARE(lib.games->apps().size(), 4);
}

void LauncherScreenTest::widthIsDebounced()
{
    LauncherFixture f;
    Library lib(f);
    LauncherScreen screen(*f.model);
    QSignalSpy widths(f.model.get(), &LauncherViewObject::totalWidthChanged);
    QSignalSpy focus(&screen, &LauncherScreen::focusSearchField);
    screen.widthShown(1000);
    QCOMPARE(f.model->totalWidth(), 900.0);
    for (double w : {1010.0, 1020.0, 800.0})
        screen.widthChanged(w);
    QCOMPARE(f.model->totalWidth(), 900.0);
    QVERIFY(focus.wait(1000));
    QCOMPARE(f.model->totalWidth(), 720.0);
    QCOMPARE(widths.size(), 2);
    QCOMPARE(focus.size(), 1);
}

void LauncherScreenTest::texts_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("tileName");
    QTest::newRow("bundle") << "Safari.app" << "Safari";
    QTest::newRow("plain") << "Mail" << "Mail";
    QTest::newRow("inner") << "My.app Helper.app" << "My";
}

void LauncherScreenTest::texts()
{
    QFETCH(QString, input);
    QFETCH(QString, tileName);
    QCOMPARE(LauncherScreen::tileName(input), tileName);

    LauncherFixture f;
    LauncherScreen screen(*f.model);
    f.model->setSearchText(QStringLiteral("  zzqx \n"));
    QCOMPARE(screen.noResultsText(), QStringLiteral("No Results for \"zzqx\""));
}

void LauncherScreenTest::warningCopiesTheCommand()
{
    LauncherFixture f;
    QStringList copied;
    LauncherScreenHooks hooks;
    hooks.copyToClipboard = [&copied](const QString &text) { copied.append(text); };
    LauncherScreen screen(*f.model, hooks);
    screen.copyWarningCommand();
    QCOMPARE(copied, QStringList{QStringLiteral("sudo mdutil -E /")});
    const QStringList paragraphs = LauncherScreen::warningText().split(QStringLiteral("\n\n"));
    QCOMPARE(paragraphs.size(), 3);
    QCOMPARE(paragraphs[1], QStringLiteral("sudo mdutil -E /  (Click to copy.)"));
}

void LauncherScreenTest::menuPostsItsNotifications()
{
    LauncherFixture f;
    LauncherScreen screen(*f.model);
    QSignalSpy posted(&kestrelkit::NotificationCenter::defaultCenter(), &kestrelkit::NotificationCenter::posted);
    screen.showSettings();
    screen.checkForUpdates();
    screen.fullScreenChanged();
    QStringList names;
    for (const auto &args : posted)
        names.append(args.at(0).toString());
    QCOMPARE(names, (QStringList{QStringLiteral("showSettingsWindow"), QStringLiteral("checkUpdate"),
                                 QStringLiteral("updateFullScreen")}));
}

QTEST_GUILESS_MAIN(LauncherScreenTest)
#include "LauncherScreenTest.moc"
