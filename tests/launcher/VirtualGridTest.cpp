// The virtual grid of LauncherViewObject: layout, column count, highlight moves and
// Command numbers.

#include "LauncherFixture.h"



#include <limits>

using namespace velmora;
using namespace velmora::test;

namespace {

constexpr double kThreeColumns = 400;
constexpr double kFourColumns = 550;

// Category A with a1..a4 and B with b1, b2, optionally Hidden with h1.
struct TwoCategories {
    TwoCategories(LauncherFixture &f, bool withHidden = false, double width = kThreeColumns)
    {
        a = f.category(QStringLiteral("A"), 1);
        b = f.category(QStringLiteral("B"), 2);
        LauncherContent content{{a, {}}, {b, {}}};
        for (int i = 1; i <= 4; ++i)
            content[0].apps.append(f.app(QStringLiteral("a%1").arg(i), a));
        for (int i = 1; i <= 2; ++i)
            content[1].apps.append(f.app(QStringLiteral("b%1").arg(i), b));
        if (withHidden) {
            hidden = f.category(QStringLiteral("Hidden"), std::numeric_limits<std::int64_t>::max(),
                                ReservedType::hidden);
            content.append({hidden, {f.app(QStringLiteral("h1"), hidden)}});
        }
        f.model->setLauncherContent(content);
        f.model->setTotalWidth(width);
        QCoreApplication::processEvents(); // the queued reset of the new column count
    }
    Category *a = nullptr;
    Category *b = nullptr;
    Category *hidden = nullptr;
};

// "[A]" for a header, the name for a tile, "_" for a spacer.
QString describe(const VirtualGrid &grid)
{
    QStringList rows;
    for (const GridRow &row : grid) {
        QStringList cells;
        for (const GridElement &e : row) {
            if (e.isApp())
                cells.append(e.appRecord()->displayName());
            else if (e.isCategoryHeader())
                cells.append(QLatin1Char('[') + e.category()->title() + QLatin1Char(']'));
            else
                cells.append(QStringLiteral("_"));
        }
        rows.append(cells.join(QLatin1Char(' ')));
    }
    return rows.join(QStringLiteral(" / "));
}

void place(LauncherViewObject &model, int y, int x)
{
    model.setHighlightItemY(y);
    model.setHighlightItemX(x);
}

} // namespace

class VirtualGridTest : public QObject {
    Q_OBJECT

private slots:
    void categoryGridShape();
    void columnCount_data();
    void columnCount();
    void newColumnCountResetsTheHighlightLater();
    void moves_data();
    void moves();
    void downStopsAboveTheCollapsedHiddenHeader();
    void listPresentation();
    void emptyGrid();
    void headerRuleAndElementAbove();
    void commandNumbersInTheCategoryGrid();
    void commandNumbersInSearchAndFocusedGrids();
    void elementEquality();
};

void VirtualGridTest::categoryGridShape()
{
    LauncherFixture f;
    TwoCategories c(f, true);
    QCOMPARE(describe(f.model->virtualGrid()),
             QStringLiteral("[A] / a1 a2 a3 / a4 _ _ / [B] / b1 b2 _ / [Hidden]"));
    f.model->setShowHiddenGroup(true);
    QCOMPARE(describe(f.model->virtualGrid()),
             QStringLiteral("[A] / a1 a2 a3 / a4 _ _ / [B] / b1 b2 _ / [Hidden] / h1 _ _"));
    f.model->setZoomMode(true); // narrower tiles: everything fits a row
    QCOMPARE(f.model->gridSpacing(), 4.0);
    QCOMPARE(describe(f.model->virtualGrid()).section(QStringLiteral(" / "), 1, 1),
             QStringLiteral("a1 a2 a3 a4 _ _ _"));
    f.model->setZoomMode(false);
    QCOMPARE(f.model->gridSpacing(), 20.0);
}

void VirtualGridTest::columnCount_data()
{
    QTest::addColumn<double>("width");
    QTest::addColumn<bool>("zoom");
    QTest::addColumn<bool>("list");
    QTest::addColumn<int>("expected");

    QTest::newRow("1000 wide") << 1000.0 << false << false << 7;
    QTest::newRow("zero width") << 0.0 << false << false << 1;
    QTest::newRow("negative width") << -80.0 << false << false << 1;
    QTest::newRow("400 wide") << 400.0 << false << false << 3;
    QTest::newRow("wider tiles decide") << 150.0 << false << false << 2;
    QTest::newRow("zoomed 1000 wide") << 1000.0 << true << false << 16;
    QTest::newRow("list") << 1000.0 << false << true << 1;
}

void VirtualGridTest::columnCount()
{
    QFETCH(double, width);
    QFETCH(bool, zoom);
    QFETCH(bool, list);
    QFETCH(int, expected);
    LauncherFixture f;
    f.model->setViewType(list ? LauncherViewType::list : LauncherViewType::grid);
    f.model->setZoomMode(zoom);
    f.model->setTotalWidth(width);
    QCOMPARE(f.model->columnCount(), expected);
    QCOMPARE(f.model->gridSpacing(), list ? 0.0 : width * (zoom ? 0.01 : 0.05));
    if (!list)
        QCOMPARE(f.model->oldColumnCount(), expected);
}

void VirtualGridTest::newColumnCountResetsTheHighlightLater()
{
    LauncherFixture f;
    TwoCategories c(f);
    place(*f.model, 4, 1);
    f.model->setTotalWidth(350); // still 3 columns
    QCoreApplication::processEvents();
    QCOMPARE(f.model->highlightItemY(), 4);
    f.model->setTotalWidth(1000);
    QCOMPARE(f.model->oldColumnCount(), 7);
    QCOMPARE(f.model->highlightItemY(), 4); // queued, not yet
    QCoreApplication::processEvents();
    QCOMPARE(f.model->highlightItemY(), 0);
    QCOMPARE(f.model->highlightItemX(), 0);
}

void VirtualGridTest::moves_data()
{
    QTest::addColumn<int>("y");
    QTest::addColumn<int>("x");
    QTest::addColumn<QString>("move");
    QTest::addColumn<int>("expectedY");
    QTest::addColumn<int>("expectedX");
    QTest::addColumn<QString>("scrolledTo"); // a tile's name, "[A]" for a header, empty for none

    QTest::newRow("down from a3 slides off the spacer") << 1 << 2 << "down" << 2 << 0 << "a4";
    QTest::newRow("down from a4 passes header B") << 2 << 0 << "down" << 4 << 0 << "b1";
    QTest::newRow("down on the last row stays") << 4 << 1 << "down" << 4 << 1 << "b2";
    QTest::newRow("up from b1 skips the header") << 4 << 0 << "up" << 2 << 0 << "a4";
    QTest::newRow("up from b2 slides off the spacer") << 4 << 1 << "up" << 2 << 0 << "a4";
    QTest::newRow("up from a4 shows header A") << 2 << 0 << "up" << 1 << 0 << "[A]";
    QTest::newRow("up from a1 stops on the header") << 1 << 0 << "up" << 0 << 0 << "";
    QTest::newRow("up from a2 stops on the header") << 1 << 1 << "up" << 0 << 1 << "";
    QTest::newRow("right in a full row") << 1 << 0 << "right" << 1 << 1 << "";
    QTest::newRow("right at the last column") << 1 << 2 << "right" << 1 << 2 << "";
    QTest::newRow("right at the end of a short row") << 4 << 1 << "right" << 4 << 1 << "";
    QTest::newRow("left") << 1 << 2 << "left" << 1 << 1 << "";
    QTest::newRow("left at column 0") << 1 << 0 << "left" << 1 << 0 << "";
}

void VirtualGridTest::moves()
{
    QFETCH(int, y);
    QFETCH(int, x);
    QFETCH(QString, move);
    QFETCH(int, expectedY);
    QFETCH(int, expectedX);
    QFETCH(QString, scrolledTo);
    LauncherFixture f;
    TwoCategories c(f);
    place(*f.model, y, x);
    RecordingScroller scroller;
    if (move == QLatin1String("up"))
        f.model->moveHighlightUp(scroller);
    else if (move == QLatin1String("down"))
        f.model->moveHighlightDown(scroller);
    else if (move == QLatin1String("right"))
        f.model->moveHighlightRight();
    else
        f.model->moveHighlightLeft();
    QCOMPARE(f.model->highlightItemY(), expectedY);
    QCOMPARE(f.model->highlightItemX(), expectedX);

    QStringList expected;
    if (scrolledTo == QLatin1String("[A]"))
        expected.append(scrollIdOf(*c.a).description());
    else if (!scrolledTo.isEmpty())
        expected.append(QStringLiteral("/apps/") + scrolledTo + QStringLiteral(".desktop"));
    QCOMPARE(scroller.requests, expected);
}

void VirtualGridTest::downStopsAboveTheCollapsedHiddenHeader()
{
    LauncherFixture f;
    TwoCategories c(f, true);
    RecordingScroller scroller;
    place(*f.model, 4, 1);
    f.model->moveHighlightDown(scroller);
    QCOMPARE(f.model->highlightItemY(), 4);
    QCOMPARE(f.model->highlightItemX(), 1);
    QCOMPARE(scroller.requests.size(), 1); // b2 again

    f.model->setShowHiddenGroup(true);
    f.model->moveHighlightDown(scroller);
    QCOMPARE(f.model->highlightItemY(), 6);
    QCOMPARE(f.model->highlightItemX(), 0); // slid off the spacers onto h1
}

void VirtualGridTest::listPresentation()
{
    LauncherFixture f;
    TwoCategories c(f);
    f.model->setViewType(LauncherViewType::list);
    f.model->rebuildGrid();
    QCOMPARE(describe(f.model->virtualGrid()), QStringLiteral("[A] / a1 / a2 / a3 / a4 / [B] / b1 / b2"));
    place(*f.model, 1, 0);
    f.model->moveHighlightRight();
    QCOMPARE(f.model->highlightItemX(), 0);
    RecordingScroller scroller;
    place(*f.model, 4, 0);
    f.model->moveHighlightDown(scroller);
    QCOMPARE(f.model->highlightItemY(), 6);
}

void VirtualGridTest::emptyGrid()
{
    LauncherFixture f;
    f.model->setTotalWidth(kThreeColumns);
    RecordingScroller scroller;
    f.model->moveHighlightDown(scroller);
    QCOMPARE(f.model->highlightItemY(), -1);
    QCOMPARE(f.model->highlightedElement(), std::nullopt);
    f.model->moveHighlightUp(scroller);
    QCOMPARE(f.model->highlightItemY(), 0);
    QVERIFY(scroller.requests.isEmpty());
    f.model->applyHeaderRule();
    QCOMPARE(f.model->highlightItemY(), 0);
}

void VirtualGridTest::headerRuleAndElementAbove()
{
    LauncherFixture f;
    TwoCategories c(f, true);
    f.model->resetHighlight();
    QVERIFY(f.model->highlightedElement()->isCategoryHeader());
    f.model->applyHeaderRule();
    QCOMPARE(f.model->highlightItemY(), 1);
    QCOMPARE(f.model->elementAboveHighlight(), GridElement::categoryHeader(c.a));
    f.model->setHighlightItemX(1);
    QCOMPARE(f.model->elementAboveHighlight(), std::nullopt); // header rows have one element

    // A header row is highlighted whatever the column; the last row keeps it.
    place(*f.model, 5, 2);
    QCOMPARE(f.model->highlightedElement(), GridElement::categoryHeader(c.hidden));
    f.model->applyHeaderRule();
    QCOMPARE(f.model->highlightItemY(), 5);
    // An application row beyond its last column has nothing highlighted.
    place(*f.model, 1, 7);
    QCOMPARE(f.model->highlightedElement(), std::nullopt);
}

void VirtualGridTest::commandNumbersInTheCategoryGrid()
{
    LauncherFixture f;
    Category *first = f.category(QStringLiteral("First"), 1);
    Category *second = f.category(QStringLiteral("Second"), 2);
    LauncherContent content{{first, {}}, {second, {}}};
    for (int i = 0; i < 12; ++i)
        content[0].apps.append(f.app(QStringLiteral("f%1").arg(i), first));
    for (int i = 0; i < 3; ++i)
        content[1].apps.append(f.app(QStringLiteral("s%1").arg(i), second));
    f.model->setLauncherContent(content);
    f.model->setTotalWidth(kFourColumns);
    QCOMPARE(f.model->columnCount(), 4);

    QStringList numbers;
    for (int row = 0; row < f.model->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < f.model->virtualGrid().at(row).size(); ++column) {
            const auto n = f.model->shortcutNumber(row, column, false);
            cells.append(n ? QString::number(*n) : QStringLiteral("-"));
        }
        numbers.append(cells.join(QString()));
    }
    QCOMPARE(numbers.join(QLatin1Char('/')), QStringLiteral("-/1234/5678/90--/-/----"));
    QCOMPARE(f.model->shortcutNumberAt(3, 1), 0);
    QCOMPARE(f.model->shortcutNumberAt(0, 0), -1);
}

void VirtualGridTest::commandNumbersInSearchAndFocusedGrids()
{
    LauncherFixture f;
    TwoCategories c(f, false, kFourColumns);
    f.model->setFocusedCategory(c.b);
    QCOMPARE(f.model->shortcutNumber(1, 0, false), 1);
    QCOMPARE(f.model->shortcutNumber(1, 1, false), 2);
    QCOMPARE(f.model->shortcutNumber(1, 2, false), std::nullopt); // a spacer

    f.model->setFocusedCategory(nullptr);
    f.model->setSearchText(QStringLiteral("b"));
    QCOMPARE(f.model->gridIsSearch(), true);
    QCOMPARE(f.model->shortcutNumber(0, 0, true), 1);
    QCOMPARE(f.model->shortcutNumber(0, 1, true), 2);
}

void VirtualGridTest::elementEquality()
{
    LauncherFixture f;
    TwoCategories c(f);
    AppRecord *a1 = f.model->appsOf(c.a).first();
    QCOMPARE(GridElement::spacer(), GridElement::spacer());
    QCOMPARE(GridElement::app(a1), GridElement::app(a1));
    QVERIFY(!(GridElement::app(a1) == GridElement::spacer()));
    QVERIFY(!(GridElement::categoryHeader(c.a) == GridElement::categoryHeader(c.b)));
    QCOMPARE(qHash(GridElement::categoryHeader(c.a)), qHash(GridElement::categoryHeader(c.a)));
    QVERIFY(qHash(GridElement::spacer()) != qHash(GridElement::app(a1)));
}

QTEST_GUILESS_MAIN(VirtualGridTest)
#include "VirtualGridTest.moc"
